// Small data sets for the OpenGL view tests: a rectangular zone with node (i, j) at world (i, j),
// one value row and its contour range.
#pragma once
#include <functional>

#include "TestGrids.h"

namespace corvane::testing {

inline FieldDataSet GridData(int ni, int nj, const std::function<double(double, double)>& value, double step,
                             double min, double max) {
  FieldDataSet d = MakeZones({Rect(ni, nj, 0, 0)}, {"p"}, [&](double x, double y) { return std::vector<double>{value(x, y)}; }, 2);
  d.ContourMax = {max, 0.0, 0.0};
  d.ContourMin = {min, 0.0, 0.0};
  d.ContourStep = {step, 1.0, 1.0};
  return d;
}

}  // namespace corvane::testing
