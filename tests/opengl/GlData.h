// Small data sets for the OpenGL view tests: a rectangular zone with node (i, j) at world
// (x0 + i, y0 + j) and one value row.
#pragma once
#include <functional>

#include "data/FieldDataSet.h"

namespace corvane::testing {

inline FieldDataSet GridData(int ni, int nj, const std::function<double(double, double)>& value, double step = 1.0,
                             double min = 0.0, double max = 1.0, double x0 = 0.0, double y0 = 0.0) {
  FieldDataSet d;
  d.ZoneCount = 1;
  ZoneGrid z;
  z.NI = ni;
  z.NJ = nj;
  z.FirstNode = 0;
  d.Zones.push_back(z);
  d.Boundaries.resize(1);
  d.NodeCount = ni * nj;
  d.ColumnCount = 3;
  d.VariableNames = {"p"};
  d.Values.assign(3, std::vector<double>(static_cast<std::size_t>(ni * nj), 0.0));
  for (int i = 0; i < ni; ++i)
    for (int j = 0; j < nj; ++j) {
      const double x = x0 + i, y = y0 + j;
      d.X.push_back(x);
      d.Y.push_back(y);
      d.Values[0][static_cast<std::size_t>(i * nj + j)] = value(x, y);
    }
  d.XMin = std::min(0.0, x0);
  d.XMax = std::max(0.0, x0 + ni - 1);
  d.YMin = std::min(0.0, y0);
  d.YMax = std::max(0.0, y0 + nj - 1);
  d.ContourMax = {max, 0.0, 0.0};
  d.ContourMin = {min, 0.0, 0.0};
  d.ContourStep = {step, 1.0, 1.0};
  return d;
}

}  // namespace corvane::testing
