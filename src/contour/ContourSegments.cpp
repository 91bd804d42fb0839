#include "contour/ContourSegments.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <cmath>

#include "contour/ColourMap.h"

namespace corvane {

// Starts a new drawing: no segments, one (empty) group per level.
void ContourSegmentStore::Reset(const ContourLevelRange& range) {
  levelCount_ = range.valid ? range.levelCount : 0;
  pending_.clear();
  segments_.clear();
  starts_.assign(static_cast<std::size_t>(levelCount_) + 1, 0);
}

// Counting sort by level: stable, so each level keeps the walk order of its segments.
void ContourSegmentStore::Finish() {
  starts_.assign(static_cast<std::size_t>(levelCount_) + 1, 0);
  // Pass 1: segments per level.
  for (const Tagged& t : pending_) ++starts_[static_cast<std::size_t>(t.level) + 1];
  // Pass 2: first position of each level.
  for (std::size_t l = 1; l < starts_.size(); ++l) starts_[l] += starts_[l - 1];
  // Pass 3: place them.
  segments_.resize(pending_.size());
  std::vector<std::int64_t> next(starts_.begin(), starts_.end() - 1);
  for (const Tagged& t : pending_) segments_[static_cast<std::size_t>(next[static_cast<std::size_t>(t.level)]++)] = t.segment;
}

// One byte per node saying on which sides of the picture its pixel lies.
std::vector<std::uint8_t> NodeOutsideBits(const NodeRow& X, const NodeRow& Y,
                                          double offsetX, double offsetY, const ViewTransform& view) {
  const std::size_t n = std::min(X.size(), Y.size());
  std::vector<std::uint8_t> bits(n);
  for (std::size_t i = 0; i < n; ++i) {
    const std::int32_t px = view.WorldToPixelX(X[i] + offsetX);
    const std::int32_t py = view.WorldToPixelY(Y[i] + offsetY);
    bits[i] = static_cast<std::uint8_t>((px > view.PictureWidth ? 1 : 0) | (px < 0 ? 2 : 0) |
                                        (py > view.PictureHeight ? 4 : 0) | (py < 0 ? 8 : 0));
  }
  return bits;
}

namespace {

// Doubles as integers in the same order (-inf lowest, +inf highest), so a search can halve the
// range of doubles between two of them.
std::int64_t OrderKey(double d) {
  const std::int64_t i = std::bit_cast<std::int64_t>(d);
  return i ^ ((i >> 63) & 0x7FFFFFFFFFFFFFFF);
}
double FromOrderKey(std::int64_t k) { return std::bit_cast<double>(k ^ ((k >> 63) & 0x7FFFFFFFFFFFFFFF)); }

// First double at which `holds` becomes true, given it is false at -inf and true at +inf and
// never turns back; false when those ends do not hold.
template <class Predicate>
bool FirstTrue(Predicate holds, double& first) {
  const double inf = std::numeric_limits<double>::infinity();
  if (holds(-inf) || !holds(inf)) return false;
  std::int64_t lo = OrderKey(-inf), hi = OrderKey(inf);
  while (static_cast<std::uint64_t>(hi) - static_cast<std::uint64_t>(lo) > 1) {
    const std::int64_t mid = lo + static_cast<std::int64_t>((static_cast<std::uint64_t>(hi) - static_cast<std::uint64_t>(lo)) / 2);
    if (holds(FromOrderKey(mid)))
      hi = mid;
    else
      lo = mid;
  }
  first = FromOrderKey(hi);
  return true;
}

double ClampUnit(double f) { return f < 0.0 ? 0.0 : (f > 1.0 ? 1.0 : f); }

}  // namespace

bool MakePictureCull(const ViewTransform& view, PictureCull& cull) {
  if (!(view.ScaleX > 0.0 && std::isfinite(view.ScaleX) && view.ScaleY > 0.0 && std::isfinite(view.ScaleY)))
    return false;
  return FirstTrue([&](double x) { return view.WorldToPixelX(x) > view.PictureWidth; }, cull.rightFrom) &&
         FirstTrue([&](double x) { return view.WorldToPixelX(x) >= 0; }, cull.leftBelow) &&
         FirstTrue([&](double y) { return view.WorldToPixelY(y) <= view.PictureHeight; }, cull.bottomBelow) &&
         FirstTrue([&](double y) { return view.WorldToPixelY(y) < 0; }, cull.topFrom);
}

// Segments of one triangle: the culls, the lowest/middle/highest vertices, then one segment per
// level inside both the triangle's values and the contour range.
void CollectTriangleSegments(const TriangleGeometry& g, ContourSegmentStore& store, std::int32_t p,
                             std::int32_t q, std::int32_t r) {
  const std::int32_t node[3] = {p, q, r};
  double x[3], y[3];
  for (int s = 0; s < 3; ++s) {
    x[s] = g.X[node[s]] + g.offsetX;
    y[s] = g.Y[node[s]] + g.offsetY;
  }
  // Off-picture cull: all three vertices beyond the same side of the picture.
  if (g.outside != nullptr) {
    if (g.outside[p] & g.outside[q] & g.outside[r]) return;
  } else {
    const PictureCull& c = g.cull;
    if ((x[0] >= c.rightFrom && x[1] >= c.rightFrom && x[2] >= c.rightFrom) ||
        (x[0] < c.leftBelow && x[1] < c.leftBelow && x[2] < c.leftBelow) ||
        (y[0] < c.bottomBelow && y[1] < c.bottomBelow && y[2] < c.bottomBelow) ||
        (y[0] >= c.topFrom && y[1] >= c.topFrom && y[2] >= c.topFrom))
      return;
  }

  // Triangles without area (repeated nodes) or without a finite one (broken coordinates) carry
  // no line. However small the others are, they are kept: a line crossing rows of sub-pixel
  // cells at a wall would otherwise break there. Most of their segments end on one pixel and
  // are dropped below, and the rest are what joins the line across.
  const double area =
      std::fabs((x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0])) / 2.0 * g.view->ScaleX * g.view->ScaleY;
  if (!(area > 0.0) || !std::isfinite(area)) return;

  // A value that is not a finite number has no level crossings.
  const double v[3] = {g.values[p], g.values[q], g.values[r]};
  if (!std::isfinite(v[0]) || !std::isfinite(v[1]) || !std::isfinite(v[2])) return;
  const double vmin = std::min(std::min(v[0], v[1]), v[2]);
  const double vmax = std::max(std::max(v[0], v[1]), v[2]);
  // A flat triangle's crossings all fall on one vertex: never a segment.
  if (vmax == vmin) return;

  int L = 0, M = 0, H = 0;
  OrderTriangleVertices(v, vmin, vmax, L, M, H);

  // Levels inside the triangle's values, limited to the drawing's levels before any conversion.
  const double lowest = static_cast<double>(g.range.firstLevelIndex);
  const double highest = lowest + static_cast<double>(g.range.levelCount) - 1.0;
  const double kFirst = std::max(std::ceil(vmin / g.step), lowest);
  const double kLast = std::min(std::floor(vmax / g.step), highest);
  if (!(kLast >= kFirst)) return;

  const std::int32_t nL = node[L], nM = node[M], nH = node[H];
  const std::int64_t first = static_cast<std::int64_t>(kFirst), last = static_cast<std::int64_t>(kLast);
  for (std::int64_t k = first; k <= last; ++k) {
    const double level = static_cast<double>(k) * g.step;
    if (!(g.min <= level && level <= g.max)) continue;
    // Every crossing runs from the lower-valued end of its edge, so neighbours agree on it.
    const double t = ClampUnit(EdgeFraction(g.values, nL, nH, level));
    const float p1x = static_cast<float>(x[L] + t * (x[H] - x[L]));
    const float p1y = static_cast<float>(y[L] + t * (y[H] - y[L]));
    const double u = v[L] == v[M] ? 2.0 : EdgeFraction(g.values, nL, nM, level);
    float p2x, p2y;
    if (u <= 1.0) {
      p2x = static_cast<float>(x[L] + u * (x[M] - x[L]));
      p2y = static_cast<float>(y[L] + u * (y[M] - y[L]));
    } else {
      const double w = ClampUnit(EdgeFraction(g.values, nM, nH, level));
      p2x = static_cast<float>(x[M] + w * (x[H] - x[M]));
      p2y = static_cast<float>(y[M] + w * (y[H] - y[M]));
    }
    const ContourSegment s{g.view->WorldToPixelX(p2x), g.view->WorldToPixelY(p2y), g.view->WorldToPixelX(p1x),
                           g.view->WorldToPixelY(p1y)};
    if (s.x1 == s.x2 && s.y1 == s.y2) continue;
    store.Add(static_cast<std::int32_t>(k - g.range.firstLevelIndex), s);
  }
}

}  // namespace corvane
