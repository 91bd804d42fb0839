// Vorticity and speed of the velocity field, from the grid metrics of each zone.
#pragma once
#include "field/FieldDataSet.h"

namespace corvane {

// dv/dx - du/dy at every node of rows iu, iv. Derivatives along i and j are central inside a
// zone and one-sided at its edges; the chain rule through the zone's metrics turns them into x
// and y derivatives, so a linear field comes out exact on any grid. A zone one node wide in
// either direction, or a cell of zero area, gives NaN there.
NodeRow ComputeVorticity(const FieldDataSet& data, int iu, int iv);

// sqrt(u² + v²) at every node of rows iu, iv (file variables).
NodeRow ComputeSpeed(const FieldDataSet& data, int iu, int iv);

}  // namespace corvane
