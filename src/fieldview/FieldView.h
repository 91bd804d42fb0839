// How the program shows a data set, kept apart from the data itself: the contour range of every
// value row, the zone edges the boundary layer draws and the lines the contour walk keeps. The
// user and the drawing change these; the data set stays as its reader made it, so a drawing can
// read it while nothing writes it.
#pragma once
#include <array>
#include <vector>

#include "field/FieldDataSet.h"

namespace corvane {

// Which zone edges the boundary layer draws: i = 0, i = imax, j = 0, j = jmax.
struct BoundaryFlags {
  bool i0 = true;
  bool imax = true;
  bool j0 = true;
  bool jmax = true;
};

// Data-compression flags of one zone's constant-i and constant-j lines (UpdateLineMasks); a line
// past the end of a mask counts as shown.
struct ZoneLineMasks {
  std::vector<bool> ILineMask;
  std::vector<bool> JLineMask;
};

struct FieldView {
  // One entry per value row of the data set.
  std::vector<double> ContourMax, ContourMin, ContourStep;
  // Per-zone boundary flags; kept across loads while the zone count stays the same.
  std::vector<BoundaryFlags> Boundaries;
  // Per-zone line masks.
  std::vector<ZoneLineMasks> Masks;
  // Derived rows (by DerivedRowKind) computed after the load (DeferredRows.h) whose automatic
  // ranges are not yet taken into this view.
  std::array<bool, kDerivedRowKinds> derivedRangePending{};
};

}  // namespace corvane
