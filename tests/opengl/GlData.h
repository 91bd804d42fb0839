// Small data sets for the OpenGL view tests: a rectangular zone with node (i, j) at world (i, j),
// one value row, and how it is shown: its contour range, every zone edge.
#pragma once
#include <functional>

#include "TestGrids.h"
#include "fieldview/FieldView.h"

namespace corvane::testing {

struct ShownGrid : FieldDataSet {
  FieldView view;
};

inline ShownGrid GridData(int ni, int nj, const std::function<double(double, double)>& value, double step, double min,
                          double max) {
  ShownGrid d{MakeZones({Rect(ni, nj, 0, 0)}, {"p"}, [&](double x, double y) { return std::vector<double>{value(x, y)}; }, 2), {}};
  d.view.ContourMax = {max, 0.0, 0.0};
  d.view.ContourMin = {min, 0.0, 0.0};
  d.view.ContourStep = {step, 1.0, 1.0};
  d.view.Boundaries.assign(1, BoundaryFlags{});
  return d;
}

}  // namespace corvane::testing
