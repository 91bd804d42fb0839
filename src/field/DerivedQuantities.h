// Mach number and total pressure of every node, the automatic contour ranges, and the line masks.
#pragma once
#include "field/FieldDataSet.h"
#include "field/FieldView.h"
#include "base/Notifier.h"

namespace corvane {

// The Mach number (`mach`) or the total pressure of every node from the rows of u, v, T, p
// (-1: not selected; an unselected p counts as 101325 Pa); zero at every node when u, v or T is
// not a file variable.
NodeRow ComputeGasRow(const FieldDataSet& data, int iu, int iv, int iT, int ip, double gamma, double R, bool mach);
// ContourMax and ContourMin in `view` of every value row of `data`. NaN values are passed over (a
// row of NaN only gives NaN); infinities count.
void AutoMaxMin(const FieldDataSet& data, FieldView& view);
// The same for one row alone (the same figures AutoMaxMin gives it).
void AutoMaxMinOfRow(const FieldDataSet& data, FieldView& view, int row);
// ContourStep of every row with a range: (max - min) / divisions, 1.0 for a flat row.
void AutoStep(FieldView& view, int divisions);
// Recomputes the line masks of every zone of `data` for the compression steps (1..10).
void UpdateLineMasks(const FieldDataSet& data, FieldView& view, int iStep, int jStep);

}  // namespace corvane
