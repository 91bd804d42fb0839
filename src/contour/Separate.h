// The cell walk shared by contour lines and filled contours: every shown cell of every zone is
// split into two triangles along the diagonal that folds the value surface least.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "data/FieldDataSet.h"
#include "data/Progress.h"

namespace corvane {

struct Vec3 {
  double x = 0.0, y = 0.0, z = 0.0;
};

inline Vec3 Subtract(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 CrossProduct(const Vec3& u, const Vec3& v) {
  return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
}
inline double VectorLength(const Vec3& u) { return std::sqrt(u.x * u.x + u.y * u.y + u.z * u.z); }
inline void NormalizeVector(Vec3& u) {
  const double length = VectorLength(u);
  u.x /= length;
  u.y /= length;
  u.z /= length;
}

// 1: split along B-D (triangles A,B,D and C,D,B); 2: split along A-C. A NaN fold (a triangle
// with a zero normal) compares unordered and gives 1; a tie gives 2.
inline int ChooseDiagonal(const Vec3& A, const Vec3& B, const Vec3& C, const Vec3& D) {
  const Vec3 a = Subtract(B, A), b = Subtract(D, A), c = Subtract(D, C), d = Subtract(B, C);
  Vec3 n1 = CrossProduct(a, b), n2 = CrossProduct(c, d);
  NormalizeVector(n1);
  NormalizeVector(n2);
  const double f1 = VectorLength(CrossProduct(n1, n2));
  Vec3 n3 = CrossProduct(d, a), n4 = CrossProduct(c, b);
  NormalizeVector(n3);
  NormalizeVector(n4);
  const double f2 = VectorLength(CrossProduct(n3, n4));
  if (std::isnan(f1) || std::isnan(f2)) return 1;
  return f1 < f2 ? 1 : 2;
}

// Calls handler(p, q, r) (node indices) for both triangles of every shown cell, zone by zone,
// cells spanning from one shown grid line to the next. Returns false when the abort was requested;
// the walk then stops at once. Progress::Pump is called at every cell; the windows throttle it.
// A zone whose nodes do not fit the coordinate arrays is skipped; a line beyond its mask counts
// as shown. `values` holds at least one value per coordinate. `wanted`(A, B, C, D) may turn
// down a cell before its diagonal is chosen, when the caller knows neither triangle matters.
template <class Handler, class CellFilter>
bool ForEachContourTriangle(const FieldDataSet& data, const double* values, Progress& progress, Handler&& handler,
                            CellFilter&& wanted) {
  auto node = [&](std::int32_t n) {
    return Vec3{data.X[static_cast<std::size_t>(n)], data.Y[static_cast<std::size_t>(n)], values[n]};
  };
  auto shown = [](const std::vector<bool>& mask, std::int32_t line) {
    return static_cast<std::size_t>(line) >= mask.size() || mask[static_cast<std::size_t>(line)];
  };
  const std::int64_t nodes = static_cast<std::int64_t>(std::min(data.X.size(), data.Y.size()));
  for (const ZoneGrid& zone : data.Zones) {
    if (zone.NI < 0 || zone.NJ < 0 || zone.FirstNode < 0 ||
        zone.FirstNode + static_cast<std::int64_t>(zone.NI) * zone.NJ > nodes)
      continue;
    progress.SetPosition(0);
    progress.Pump();
    progress.SetMaximum(zone.NI - 2);
    std::int32_t prevLine = zone.FirstNode;
    for (std::int32_t i = 1; i < zone.NI; ++i) {
      if (!shown(zone.ILineMask, i)) continue;
      const std::int32_t curLine = zone.FirstNode + zone.NJ * i;
      std::int32_t A = prevLine, B = curLine;
      for (std::int32_t j = 1; j < zone.NJ; ++j) {
        progress.Pump();
        if (progress.AbortRequested()) return false;
        if (!shown(zone.JLineMask, j)) continue;
        const std::int32_t D = prevLine + j, C = curLine + j;
        if (wanted(A, B, C, D)) {
          if (ChooseDiagonal(node(A), node(B), node(C), node(D)) == 1) {
            handler(A, D, B);
            handler(D, B, C);
          } else {
            handler(A, D, C);
            handler(A, B, C);
          }
        }
        A = D;
        B = C;
      }
      prevLine = curLine;
      progress.SetPosition(i);
      progress.Pump();
    }
  }
  return true;
}

// The walk over every cell.
template <class Handler>
bool ForEachContourTriangle(const FieldDataSet& data, const double* values, Progress& progress, Handler&& handler) {
  return ForEachContourTriangle(data, values, progress, std::forward<Handler>(handler),
                                [](std::int32_t, std::int32_t, std::int32_t, std::int32_t) { return true; });
}

}  // namespace corvane
