// Data sets for the analysis tests: one value row "f" as a function of the position, then the
// two derived rows (zero).
#pragma once
#include "TestGrids.h"

namespace corvane::testing {

using FieldZone = ZoneSpec;

inline FieldDataSet MakeField(const std::vector<FieldZone>& zones) {
  return MakeZones(zones, {"f"}, nullptr, 2);
}

// Nodes at x = i + x0, y = j with f = 2x + 4y + 1 (exact in binary at the tests' points).
inline FieldZone UnitZone(int ni, int nj, double x0 = 0.0) {
  FieldZone z = Rect(ni, nj, x0, 0.0);
  z.rows = [](double x, double y) { return std::vector<double>{2 * x + 4 * y + 1}; };
  return z;
}

}  // namespace corvane::testing
