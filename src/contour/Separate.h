// The cell walk shared by contour lines and filled contours: every shown cell of every zone is
// split into two triangles along the diagonal that folds the value surface least.
#pragma once
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>
#include <thread>
#include <utility>
#include <vector>

#include "field/FieldDataSet.h"
#include "fieldview/FieldView.h"
#include "base/Progress.h"

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

// The choices ChooseDiagonal makes for `count` cells, given as four node indices each (A, B, C,
// D) into the coordinates and values; several cells at a time where the processor allows.
void ChooseDiagonals(const double* X, const double* Y, const double* values, const std::int32_t* cells,
                     std::size_t count, std::uint8_t* choices);

// Calls handler(p, q, r) (node indices) for both triangles of every shown cell, zone by zone,
// cells spanning from one shown grid line to the next. Returns false when the abort was requested;
// the walk then stops within a few dozen cells. The diagonals of a row of cells are chosen
// together, before its triangles go out.
// A zone whose nodes do not fit the coordinate arrays is skipped; `masks` (one per zone, from the
// view) say which lines are shown, and a line beyond its mask, or a zone without one, counts as
// shown. `values` holds at least one value per coordinate. `wanted`(A, B, C, D) may turn
// down a cell before its diagonal is chosen, when the caller knows neither triangle matters.
//
// `strips` limits the walk to part of it: the rows of cells between lines i - 1 and i of every
// zone are numbered in walk order (zone by zone, i = 1 .. NI - 1), and only those numbered in
// [first, end) are walked, so two threads can share one walk.
struct CellStrips {
  std::int64_t first = 0;
  std::int64_t end = std::numeric_limits<std::int64_t>::max();
};

// Whether zone lines fit the coordinate arrays; the walk passes over a zone that does not.
inline bool ZoneWalkable(const ZoneGrid& zone, std::int64_t nodes) {
  return zone.NI >= 0 && zone.NJ >= 0 && zone.FirstNode >= 0 &&
         zone.FirstNode + static_cast<std::int64_t>(zone.NI) * zone.NJ <= nodes;
}

// Whether the four corners of a cell all have finite coordinates. A cell with a node at NaN or
// infinity is a hole in every contour layer, as a cell with a NaN value is: its triangles would
// reach a saturated pixel at the picture's edge. (x - x is 0 for a finite x, NaN otherwise.)
inline bool FiniteCell(const double* X, const double* Y, std::int32_t A, std::int32_t B, std::int32_t C, std::int32_t D) {
  return (X[A] - X[A]) + (X[B] - X[B]) + (X[C] - X[C]) + (X[D] - X[D]) + (Y[A] - Y[A]) + (Y[B] - Y[B]) +
             (Y[C] - Y[C]) + (Y[D] - Y[D]) ==
         0.0;
}

// The strip number that splits the walk's cells into two halves.
inline std::int64_t HalfWayStrip(const FieldDataSet& data) {
  const std::int64_t nodes = static_cast<std::int64_t>(std::min(data.X.size(), data.Y.size()));
  std::int64_t cells = 0;
  for (const ZoneGrid& zone : data.Zones)
    if (ZoneWalkable(zone, nodes) && zone.NI > 1 && zone.NJ > 1) cells += std::int64_t{zone.NI - 1} * (zone.NJ - 1);
  std::int64_t strip = 0, seen = 0;
  for (const ZoneGrid& zone : data.Zones) {
    if (zone.NI < 1) continue;
    const std::int64_t perStrip = ZoneWalkable(zone, nodes) && zone.NJ > 1 ? zone.NJ - 1 : 0;
    for (std::int32_t i = 1; i < zone.NI; ++i, ++strip) {
      if (2 * seen >= cells) return strip;
      seen += perStrip;
    }
  }
  return strip;
}

template <class Handler, class CellFilter>
bool ForEachContourTriangle(const FieldDataSet& data, const std::vector<ZoneLineMasks>& masks, const double* values,
                            Progress& progress, Handler&& handler, CellFilter&& wanted, CellStrips strips = {}) {
  auto shown = [](const std::vector<bool>& mask, std::int32_t line) {
    return static_cast<std::size_t>(line) >= mask.size() || mask[static_cast<std::size_t>(line)];
  };
  const std::int64_t nodes = static_cast<std::int64_t>(std::min(data.X.size(), data.Y.size()));
  const double* X = data.X.data();
  const double* Y = data.Y.data();
  std::vector<std::int32_t> cells;  // A, B, C, D of the wanted cells of one row
  std::vector<std::uint8_t> choices;
  std::int64_t zoneStrip = 0;  // number of the zone's first strip
  const std::vector<bool> noMask;
  for (std::size_t z = 0; z < data.Zones.size(); ++z) {
    const ZoneGrid& zone = data.Zones[z];
    const std::vector<bool>& iMask = z < masks.size() ? masks[z].ILineMask : noMask;
    const std::vector<bool>& jMask = z < masks.size() ? masks[z].JLineMask : noMask;
    const std::int64_t firstStrip = zoneStrip;
    zoneStrip += std::max(zone.NI - 1, 0);
    if (!ZoneWalkable(zone, nodes) || zoneStrip <= strips.first || firstStrip >= strips.end) continue;
    progress.SetPosition(0);
    progress.SetMaximum(zone.NI - 2);
    std::int32_t prevLine = zone.FirstNode;
    for (std::int32_t i = 1; i < zone.NI; ++i) {
      if (!shown(iMask, i)) continue;
      const std::int64_t strip = firstStrip + i - 1;
      if (strip < strips.first || strip >= strips.end) {
        prevLine = zone.FirstNode + zone.NJ * i;  // cells after it span from this line
        continue;
      }
      if (progress.AbortRequested()) return false;
      const std::int32_t curLine = zone.FirstNode + zone.NJ * i;
      std::int32_t A = prevLine, B = curLine;
      cells.clear();
      for (std::int32_t j = 1; j < zone.NJ; ++j) {
        if (!shown(jMask, j)) continue;
        const std::int32_t D = prevLine + j, C = curLine + j;
        if (FiniteCell(X, Y, A, B, C, D) && wanted(A, B, C, D)) cells.insert(cells.end(), {A, B, C, D});
        A = D;
        B = C;
      }
      const std::size_t count = cells.size() / 4;
      choices.resize(count);
      ChooseDiagonals(data.X.data(), data.Y.data(), values, cells.data(), count, choices.data());
      for (std::size_t k = 0; k < count; ++k) {
        if (k % 64 == 63 && progress.AbortRequested()) return false;
        const std::int32_t* c = cells.data() + 4 * k;
        if (choices[k] == 1) {
          handler(c[0], c[3], c[1]);
          handler(c[3], c[1], c[2]);
        } else {
          handler(c[0], c[3], c[2]);
          handler(c[0], c[1], c[2]);
        }
      }
      prevLine = curLine;
      progress.SetPosition(i);
    }
  }
  return true;
}

// The walk's abort flag and nothing else, for a helper thread: the calling thread reports progress.
class StopOnlyProgress : public Progress {
 public:
  explicit StopOnlyProgress(const std::atomic<bool>& stop) : stop_(stop) {}
  bool AbortRequested() const override { return stop_.load(std::memory_order_relaxed); }

 private:
  const std::atomic<bool>& stop_;
};

// Runs own(progress) here and helper(progress) on a helper thread, which gets only the abort
// flag and stops when this side ends unfinished. After both have ended, the first error of
// either is rethrown; true when both finished.
template <class Own, class Helper>
bool WalkOnBothCores(Progress& progress, Own&& own, Helper&& helper) {
  std::atomic<bool> stop{false};
  bool helperFinished = false;
  std::exception_ptr helperError;
  std::thread thread([&] {
    try {
      StopOnlyProgress stopOnly(stop);
      helperFinished = helper(static_cast<Progress&>(stopOnly));
    } catch (...) {
      helperError = std::current_exception();
    }
  });
  bool finished = false;
  std::exception_ptr ownError;
  try {
    finished = own(progress);
  } catch (...) {
    ownError = std::current_exception();
  }
  if (!finished) stop = true;
  thread.join();
  if (ownError) std::rethrow_exception(ownError);
  if (helperError) std::rethrow_exception(helperError);
  return finished && helperFinished;
}

// The walk over every cell.
template <class Handler>
bool ForEachContourTriangle(const FieldDataSet& data, const std::vector<ZoneLineMasks>& masks, const double* values,
                            Progress& progress, Handler&& handler) {
  return ForEachContourTriangle(data, masks, values, progress, std::forward<Handler>(handler),
                                [](std::int32_t, std::int32_t, std::int32_t, std::int32_t) { return true; });
}

}  // namespace corvane
