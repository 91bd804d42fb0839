#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "contour/ContourChaining.h"

namespace corvane {
namespace {

// The chaining as plain linear scans: the definition the indexed chaining must reproduce.
LevelPolylineBuffer ChainByScan(const std::vector<ContourSegment>& segments) {
  const std::int32_t n = static_cast<std::int32_t>(segments.size());
  LevelPolylineBuffer buffer;
  buffer.Reset(2 * n);
  std::vector<bool> used(segments.size(), false);
  for (;;) {
    std::int32_t s = 0;
    while (s < n && used[static_cast<std::size_t>(s)]) ++s;
    if (s == n) break;
    used[static_cast<std::size_t>(s)] = true;
    const ContourSegment& first = segments[static_cast<std::size_t>(s)];
    AddPolylinePoint(QPoint(first.x1, first.y1), buffer, false);
    AddPolylinePoint(QPoint(first.x2, first.y2), buffer, true);
    QPoint end(first.x2, first.y2);
    for (std::int32_t repeat = 0; repeat < n - 1; ++repeat) {
      bool found = false;
      for (std::int32_t t = 0; t < n && !found; ++t) {
        const ContourSegment& c = segments[static_cast<std::size_t>(t)];
        if (used[static_cast<std::size_t>(t)]) continue;
        if (QPoint(c.x1, c.y1) == end) {
          end = QPoint(c.x2, c.y2);
          found = true;
        } else if (QPoint(c.x2, c.y2) == end) {
          end = QPoint(c.x1, c.y1);
          found = true;
        }
        if (found) {
          used[static_cast<std::size_t>(t)] = true;
          AddPolylinePoint(end, buffer, true);
        }
      }
      if (!found) break;
    }
  }
  return buffer;
}

void ExpectSameBuffers(const std::vector<ContourSegment>& segments, ChainWorkspace& work) {
  const LevelPolylineBuffer expected = ChainByScan(segments);
  LevelPolylineBuffer actual;
  ChainLevelSegments(segments.data(), static_cast<std::int32_t>(segments.size()), actual, work);
  ASSERT_EQ(actual.filled, expected.filled);
  for (std::int32_t i = 0; i < expected.filled; ++i) {
    ASSERT_EQ(actual.points[static_cast<std::size_t>(i)], expected.points[static_cast<std::size_t>(i)]) << "slot " << i;
    ASSERT_EQ(actual.penDown[static_cast<std::size_t>(i)], expected.penDown[static_cast<std::size_t>(i)]) << "slot " << i;
  }
}

TEST(ContourChaining, OpenLineWhoseFirstSegmentIsInTheMiddleBecomesTwoTouchingPolylines) {
  // A line 0-1-2-3 stored middle first: 1-2, then 2-3, then 0-1 reversed.
  const std::vector<ContourSegment> segments = {{10, 0, 20, 0}, {20, 0, 30, 0}, {10, 0, 0, 0}};
  LevelPolylineBuffer buffer;
  ChainWorkspace work;
  ChainLevelSegments(segments.data(), 3, buffer, work);
  ASSERT_EQ(buffer.filled, 5);
  const std::vector<QPoint> points(buffer.points.begin(), buffer.points.begin() + 5);
  EXPECT_EQ(points, (std::vector<QPoint>{{10, 0}, {20, 0}, {30, 0}, {10, 0}, {0, 0}}));
  EXPECT_EQ(std::vector<std::uint8_t>(buffer.penDown.begin(), buffer.penDown.begin() + 5),
            (std::vector<std::uint8_t>{0, 1, 1, 0, 1}));
}

TEST(ContourChaining, EveryPixelIsAValidPointIncludingMinusHundred) {
  // (-100, -100) once marked free slots; it is an ordinary pixel here.
  const std::vector<ContourSegment> segments = {{-99, -100, -100, -100}, {-101, -100, -100, -100}};
  LevelPolylineBuffer buffer;
  ChainWorkspace work;
  ChainLevelSegments(segments.data(), 2, buffer, work);
  ASSERT_EQ(buffer.filled, 3);
  EXPECT_EQ(buffer.points[2], QPoint(-101, -100));
  // The first slot always starts a polyline; a full buffer drops further points.
  LevelPolylineBuffer small;
  small.Reset(1);
  AddPolylinePoint({-100, -100}, small, true);
  AddPolylinePoint({5, 5}, small, true);
  EXPECT_EQ(small.filled, 1);
  EXPECT_EQ(small.penDown[0], 0);
}

TEST(ContourChaining, IndexedChainingMatchesTheLinearScansOnRandomAndCrowdedSets) {
  std::mt19937 rng(20261206);
  ChainWorkspace work;  // reused on purpose: no state may leak from one level to the next
  for (int round = 0; round < 3000; ++round) {
    // Small coordinate ranges force many coincident end points, duplicates and reversals.
    const int span = 1 + round % 6;
    const int count = static_cast<int>(rng() % 40);
    std::uniform_int_distribution<int> coord(-span, span);
    std::vector<ContourSegment> segments;
    for (int s = 0; s < count; ++s) {
      const int kind = static_cast<int>(rng() % 8);
      if (kind == 0 && !segments.empty()) {
        segments.push_back(segments[rng() % segments.size()]);  // duplicate
      } else if (kind == 1 && !segments.empty()) {
        const ContourSegment& o = segments[rng() % segments.size()];
        segments.push_back({o.x2, o.y2, o.x1, o.y1});  // reversed
      } else if (kind == 2) {
        const int x = coord(rng), y = coord(rng);
        segments.push_back({x, y, x, y});  // zero length (the collection never stores one)
      } else {
        segments.push_back({coord(rng), coord(rng), coord(rng), coord(rng)});
      }
    }
    ExpectSameBuffers(segments, work);
    if (HasFatalFailure()) return;
  }
}

TEST(ContourChaining, IndexedChainingMatchesTheLinearScansOnLargeLevels) {
  std::mt19937 rng(7);
  ChainWorkspace work;
  // A long zig-zag line stored in shuffled order, plus a star of segments on one point.
  std::vector<ContourSegment> line;
  for (int k = 0; k < 3000; ++k) line.push_back({k, k % 2, k + 1, (k + 1) % 2});
  std::shuffle(line.begin(), line.end(), rng);
  for (ContourSegment& s : line)
    if (rng() % 2) s = {s.x2, s.y2, s.x1, s.y1};
  for (int k = 0; k < 500; ++k) line.push_back({1500, 0, static_cast<int>(rng() % 50), 7 + static_cast<int>(rng() % 3)});
  ExpectSameBuffers(line, work);
  // Large extreme coordinates (the pixel limits) hash like any other.
  std::vector<ContourSegment> extreme;
  for (int k = 0; k < 2000; ++k) {
    const int a = (rng() % 2) ? (1 << 30) : -(1 << 30), b = static_cast<int>(rng() % 5);
    extreme.push_back({a, b, static_cast<int>(rng() % 5), a});
  }
  ExpectSameBuffers(extreme, work);
}

}  // namespace
}  // namespace corvane
