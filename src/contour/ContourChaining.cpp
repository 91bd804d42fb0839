#include "contour/ContourChaining.h"

namespace corvane {

void LevelPolylineBuffer::Reset(std::int32_t slotCount) {
  points.assign(static_cast<std::size_t>(slotCount), QPoint());
  penDown.assign(static_cast<std::size_t>(slotCount), 0);
  filled = 0;
}

namespace {

std::uint64_t PointKey(std::int32_t x, std::int32_t y) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(x)) << 32) | static_cast<std::uint32_t>(y);
}

// Id of the point `key` in the table, given the next id when it is new.
// `shift` keeps the top bits of the product, the best mixed ones.
std::int32_t PointId(ChainWorkspace& w, std::uint64_t key, int shift, std::int32_t& nextId) {
  const std::size_t mask = w.keys.size() - 1;
  std::size_t slot = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> shift);
  for (;;) {
    const std::int32_t id = w.ids[slot];
    if (id < 0) {
      w.keys[slot] = key;
      w.ids[slot] = nextId;
      return nextId++;
    }
    if (w.keys[slot] == key) return id;
    slot = (slot + 1) & mask;
  }
}

}  // namespace

// Pass 1 gives every distinct end point an id; pass 2 lists, per point, the segments touching it
// in ascending index order; pass 3 chains, taking at each end point the first list entry that is
// still unused (used entries are skipped once and for all by moving the list's head).
void ChainLevelSegments(const ContourSegment* segments, std::int32_t count, LevelPolylineBuffer& buffer,
                        ChainWorkspace& w) {
  buffer.Reset(2 * count);
  if (count <= 0) return;
  const std::size_t n = static_cast<std::size_t>(count);

  // Pass 1: point ids in a table at most half full.
  std::size_t tableSize = 16;
  int shift = 60;
  while (tableSize < 4 * n) {
    tableSize *= 2;
    --shift;
  }
  w.keys.resize(tableSize);
  w.ids.assign(tableSize, -1);
  w.end1.resize(n);
  w.end2.resize(n);
  std::int32_t points = 0;
  for (std::size_t i = 0; i < n; ++i) {
    w.end1[i] = PointId(w, PointKey(segments[i].x1, segments[i].y1), shift, points);
    w.end2[i] = PointId(w, PointKey(segments[i].x2, segments[i].y2), shift, points);
  }

  // Pass 2: segments per point, ascending (a segment with both ends on one point is listed once).
  const std::size_t pointCount = static_cast<std::size_t>(points);
  w.start.assign(pointCount + 1, 0);
  for (std::size_t i = 0; i < n; ++i) {
    ++w.start[static_cast<std::size_t>(w.end1[i]) + 1];
    if (w.end2[i] != w.end1[i]) ++w.start[static_cast<std::size_t>(w.end2[i]) + 1];
  }
  for (std::size_t p = 1; p <= pointCount; ++p) w.start[p] += w.start[p - 1];
  w.head.assign(w.start.begin(), w.start.end() - 1);
  w.touching.resize(static_cast<std::size_t>(w.start[pointCount]));
  for (std::size_t i = 0; i < n; ++i) {
    w.touching[static_cast<std::size_t>(w.head[static_cast<std::size_t>(w.end1[i])]++)] = static_cast<std::int32_t>(i);
    if (w.end2[i] != w.end1[i])
      w.touching[static_cast<std::size_t>(w.head[static_cast<std::size_t>(w.end2[i])]++)] = static_cast<std::int32_t>(i);
  }
  w.head.assign(w.start.begin(), w.start.end() - 1);

  // Pass 3: the chains.
  w.used.assign(n, 0);
  std::size_t lowestUnused = 0;
  for (;;) {
    while (lowestUnused < n && w.used[lowestUnused]) ++lowestUnused;
    if (lowestUnused == n) break;
    const ContourSegment& s = segments[lowestUnused];
    w.used[lowestUnused] = 1;
    AddPolylinePoint(QPoint(s.x1, s.y1), buffer, false);
    AddPolylinePoint(QPoint(s.x2, s.y2), buffer, true);
    std::int32_t end = w.end2[lowestUnused];
    for (std::int32_t step = 0; step < count - 1; ++step) {
      const std::size_t e = static_cast<std::size_t>(end);
      std::int32_t h = w.head[e];
      const std::int32_t stop = w.start[e + 1];
      while (h < stop && w.used[static_cast<std::size_t>(w.touching[static_cast<std::size_t>(h)])]) ++h;
      w.head[e] = h;
      if (h == stop) break;
      const std::size_t t = static_cast<std::size_t>(w.touching[static_cast<std::size_t>(h)]);
      w.used[t] = 1;
      if (w.end1[t] == end) {
        AddPolylinePoint(QPoint(segments[t].x2, segments[t].y2), buffer, true);
        end = w.end2[t];
      } else {
        AddPolylinePoint(QPoint(segments[t].x1, segments[t].y1), buffer, true);
        end = w.end1[t];
      }
    }
  }
}

}  // namespace corvane
