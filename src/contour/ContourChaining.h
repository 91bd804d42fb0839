// Chaining one level's segments into polylines by exact equality of pixel end points.
#pragma once
#include <QPoint>
#include <cstdint>
#include <vector>

#include "contour/ContourSegments.h"

namespace corvane {

// The polylines of one level as point slots: a slot with penDown false starts a polyline, a
// slot with penDown true continues it. `filled` slots are in use; every pixel is a valid point.
struct LevelPolylineBuffer {
  std::vector<QPoint> points;
  std::vector<std::uint8_t> penDown;
  std::int32_t filled = 0;

  // Empties the buffer and gives it `slotCount` free slots.
  void Reset(std::int32_t slotCount);
  std::int32_t Slots() const { return static_cast<std::int32_t>(points.size()); }
};

// Stores `point` in the next free slot (dropped when the buffer is full). The first slot always
// starts a polyline, whatever `penDown` says.
inline void AddPolylinePoint(QPoint point, LevelPolylineBuffer& buffer, bool penDown) {
  if (buffer.filled >= buffer.Slots()) return;
  const std::size_t slot = static_cast<std::size_t>(buffer.filled++);
  buffer.points[slot] = point;
  buffer.penDown[slot] = slot == 0 ? 0 : static_cast<std::uint8_t>(penDown);
}

// Reusable working memory of the chaining, so a drawing allocates once, not once per level.
struct ChainWorkspace {
  std::vector<std::uint64_t> keys;   // open-addressing table of end points
  std::vector<std::int32_t> ids;     // point id per table slot, -1 free
  std::vector<std::int32_t> end1, end2;  // point id of each segment's first and second end
  std::vector<std::int32_t> start;   // per point id: first entry in `touching`
  std::vector<std::int32_t> head;    // per point id: first entry not yet known to be used
  std::vector<std::int32_t> touching;  // segment indices touching each point, ascending
  std::vector<std::uint8_t> used;
};

// Chains `count` segments into `buffer` (2 * count slots). Each polyline starts with the lowest
// unused segment, first end then second end, and is extended forward only: each time by the
// lowest-index unused segment that has an end at the current end point, appending its other end
// (its second end when its first end matches). Near-linear time through an index of end points.
void ChainLevelSegments(const ContourSegment* segments, std::int32_t count, LevelPolylineBuffer& buffer,
                        ChainWorkspace& work);

}  // namespace corvane
