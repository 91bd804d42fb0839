// Data sets for the analysis tests: zones placed by (i, j) -> (x, y) with one value row "f" as a
// function of the node, then the two derived rows (zero).
#pragma once
#include <functional>
#include <utility>

#include "data/FieldDataSet.h"

namespace corvane::testing {

struct FieldZone {
  int ni, nj;
  std::function<std::pair<double, double>(int i, int j)> place;
  std::function<double(double x, double y)> value;
};

inline FieldDataSet MakeField(const std::vector<FieldZone>& zones) {
  FieldDataSet d;
  d.ColumnCount = 3;
  d.VariableNames = {"f"};
  d.Values.resize(3);
  for (const FieldZone& z : zones) {
    d.Zones.push_back({z.ni, z.nj, d.NodeCount, {}, {}});
    for (int i = 0; i < z.ni; ++i)
      for (int j = 0; j < z.nj; ++j) {
        auto [x, y] = z.place(i, j);
        d.X.push_back(x), d.Y.push_back(y), d.Values[0].push_back(z.value(x, y));
      }
    d.NodeCount += z.ni * z.nj;
  }
  d.Values[1] = d.Values[2] = std::vector<double>(d.X.size(), 0.0);
  d.ZoneCount = static_cast<int>(d.Zones.size());
  return d;
}

// Nodes at x = i + x0, y = j with f = 2x + 4y + 1 (exact in binary at the tests' points).
inline FieldZone UnitZone(int ni, int nj, double x0 = 0.0) {
  return {ni, nj, [x0](int i, int j) { return std::pair{i + x0, double(j)}; },
          [](double x, double y) { return 2 * x + 4 * y + 1; }};
}

}  // namespace corvane::testing
