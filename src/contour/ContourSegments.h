// Contour segments of one drawing: one straight piece per level and triangle, in pixels, kept
// per level in one flat array so millions of them cost no allocation each.
#pragma once
#include <cstdint>
#include <vector>

#include "contour/ContourLevels.h"
#include "field/FieldDataSet.h"
#include "render/ViewTransform.h"

namespace corvane {

// Pixel end points. The first end lies on the edge L-M or M-H of its triangle, the second on L-H.
struct ContourSegment {
  std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool operator==(const ContourSegment&) const = default;
};

// Segments of every level of one drawing, appended in walk order and then grouped by level
// with their order kept (the chaining depends on it).
class ContourSegmentStore {
 public:
  void Reset(const ContourLevelRange& range);
  void Add(std::int32_t level, const ContourSegment& segment) { pending_.push_back({level, segment}); }
  // Appends the segments another store gathered from a later part of the walk.
  void Append(const ContourSegmentStore& later) {
    pending_.insert(pending_.end(), later.pending_.begin(), later.pending_.end());
  }
  // Groups the appended segments by level; call once after the walk.
  void Finish();

  std::int32_t LevelCount() const { return levelCount_; }
  std::int64_t Count(std::int32_t level) const { return starts_[level + 1] - starts_[level]; }
  const ContourSegment* Level(std::int32_t level) const { return segments_.data() + starts_[level]; }
  std::int64_t Total() const { return static_cast<std::int64_t>(pending_.size()); }

 private:
  struct Tagged {
    std::int32_t level;
    ContourSegment segment;
  };
  std::int32_t levelCount_ = 0;
  std::vector<Tagged> pending_;
  std::vector<ContourSegment> segments_;
  std::vector<std::int64_t> starts_;
};

// The off-picture cull in world units: the four pixel comparisons turned into comparisons of the
// shifted coordinate with thresholds found once per drawing. Exact, because the mapping of a
// positive scale never decreases; a vertex is beyond the right edge when x >= rightFrom, left of
// it when x < leftBelow, below the picture when y < bottomBelow, above it when y >= topFrom.
struct PictureCull {
  double rightFrom = 0.0, leftBelow = 0.0, bottomBelow = 0.0, topFrom = 0.0;
};

// Thresholds of `view`; false when its scales are not positive and finite (then the pixels of
// the vertices must be compared one by one).
bool MakePictureCull(const ViewTransform& view, PictureCull& cull);

// Everything the triangle handler reads, prepared once per drawing and overlay copy.
struct TriangleGeometry {
  const double* X = nullptr;
  const double* Y = nullptr;
  const double* values = nullptr;
  double offsetX = 0.0, offsetY = 0.0;  // shift of the overlay copy, world units
  const ViewTransform* view = nullptr;
  // Either thresholds (`outside` null) or, per node: bit 0 pixel x > picture width, bit 1 x < 0,
  // bit 2 y > height, bit 3 y < 0.
  PictureCull cull;
  const std::uint8_t* outside = nullptr;
  double step = 1.0, min = 0.0, max = 0.0;
  ContourLevelRange range;
};

// Off-picture bits of every node of `X`/`Y` shifted by the copy offset, for TriangleGeometry.
std::vector<std::uint8_t> NodeOutsideBits(const NodeRow& X, const NodeRow& Y,
                                          double offsetX, double offsetY, const ViewTransform& view);

// The lowest, middle and highest vertex of a triangle with values `v`; on ties the later vertex
// is lowest or highest. Every walk that must meet the picture's segments exactly orders so.
inline void OrderTriangleVertices(const double v[3], double vmin, double vmax, int& L, int& M, int& H) {
  L = 0, H = 0, M = 0;
  if (v[1] == vmin) L = 1;
  if (v[2] == vmin) L = 2;
  if (v[1] == vmax) H = 1;
  if (v[2] == vmax) H = 2;
  if (1 != L && 1 != H) M = 1;
  if (2 != L && 2 != H) M = 2;
}

// Appends the segment of every level that crosses triangle (p, q, r) to `store`.
void CollectTriangleSegments(const TriangleGeometry& g, ContourSegmentStore& store, std::int32_t p,
                             std::int32_t q, std::int32_t r);

}  // namespace corvane
