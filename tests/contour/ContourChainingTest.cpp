#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "contour/ContourChaining.h"

namespace corvane {
namespace {

using Segments = std::vector<ContourSegment>;

// The chaining as plain linear scans: the definition the indexed chaining must reproduce.
LevelPolylineBuffer ChainByScan(const Segments& segments) {
  const std::size_t n = segments.size();
  LevelPolylineBuffer buffer;
  buffer.Reset(static_cast<std::int32_t>(2 * n));
  std::vector<bool> used(n, false);
  for (std::size_t s = 0; s < n; ++s) {
    if (used[s]) continue;
    used[s] = true;
    AddPolylinePoint(QPoint(segments[s].x1, segments[s].y1), buffer, false);
    QPoint end(segments[s].x2, segments[s].y2);
    AddPolylinePoint(end, buffer, true);
    for (bool found = true; found;) {
      found = false;
      for (std::size_t t = 0; t < n && !found; ++t) {
        const ContourSegment& c = segments[t];
        if (used[t]) continue;
        if (QPoint(c.x1, c.y1) == end) end = QPoint(c.x2, c.y2), found = true;
        else if (QPoint(c.x2, c.y2) == end) end = QPoint(c.x1, c.y1), found = true;
        if (found) used[t] = true, AddPolylinePoint(end, buffer, true);
      }
    }
  }
  return buffer;
}

// Both chainings, slot by slot.
void ExpectSameBuffers(const Segments& segments, ChainWorkspace& work) {
  const LevelPolylineBuffer expected = ChainByScan(segments);
  LevelPolylineBuffer actual;
  ChainLevelSegments(segments.data(), static_cast<std::int32_t>(segments.size()), actual, work);
  ASSERT_EQ(actual.filled, expected.filled);
  const auto n = expected.filled;
  ASSERT_EQ(std::vector(actual.points.begin(), actual.points.begin() + n), std::vector(expected.points.begin(), expected.points.begin() + n));
  ASSERT_EQ(std::vector(actual.penDown.begin(), actual.penDown.begin() + n), std::vector(expected.penDown.begin(), expected.penDown.begin() + n));
}

TEST(ContourChaining, IndexedChainingMatchesTheLinearScans) {
  std::mt19937 rng(20261206);
  ChainWorkspace work;  // reused on purpose: nothing may leak from one level to the next
  // A line stored middle first; (-100, -100) once marked free slots and is an ordinary pixel.
  ExpectSameBuffers({{-100, -100, 20, 0}, {20, 0, 30, 0}, {-100, -100, 0, 0}}, work);
  // Small coordinate ranges force many coincident end points; duplicates, reversals and
  // zero-length segments (which the collection never stores) are mixed in.
  for (int round = 0; round < 3000; ++round) {
    std::uniform_int_distribution<int> coord(-(1 + round % 6), 1 + round % 6);
    Segments segments;
    for (int s = 0, count = static_cast<int>(rng() % 40); s < count; ++s) {
      const int kind = static_cast<int>(rng() % 8), x = coord(rng), y = coord(rng);
      const ContourSegment o = segments.empty() ? ContourSegment{} : segments[rng() % segments.size()];
      if (kind == 0) segments.push_back(o);
      else if (kind == 1) segments.push_back({o.x2, o.y2, o.x1, o.y1});
      else if (kind == 2) segments.push_back({x, y, x, y});
      else segments.push_back({x, y, coord(rng), coord(rng)});
    }
    ExpectSameBuffers(segments, work);
    if (HasFatalFailure()) return;
  }
  // A long zig-zag in shuffled order with a star of segments on one of its points, and the
  // pixel limits as coordinates.
  Segments line, extreme;
  for (int k = 0; k < 3000; ++k) line.push_back({k, k % 2, k + 1, (k + 1) % 2});
  std::shuffle(line.begin(), line.end(), rng);
  for (ContourSegment& s : line)
    if (rng() % 2) s = {s.x2, s.y2, s.x1, s.y1};
  for (int k = 0; k < 500; ++k) line.push_back({1500, 0, static_cast<int>(rng() % 50), 7});
  ExpectSameBuffers(line, work);
  for (int k = 0; k < 2000; ++k) {
    const int a = (rng() % 2) ? (1 << 30) : -(1 << 30);
    extreme.push_back({a, static_cast<int>(rng() % 5), static_cast<int>(rng() % 5), a});
  }
  ExpectSameBuffers(extreme, work);
}

}  // namespace
}  // namespace corvane
