// Mach number and total pressure of every node.
#pragma once
#include "field/FieldDataSet.h"

namespace corvane {

// The Mach number (`mach`) or the total pressure of every node from the rows of u, v, T, p
// (-1: not selected; an unselected p counts as 101325 Pa); zero at every node when u, v or T is
// not a file variable.
NodeRow ComputeGasRow(const FieldDataSet& data, int iu, int iv, int iT, int ip, double gamma, double R, bool mach);
}  // namespace corvane
