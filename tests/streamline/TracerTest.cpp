// The tracer against flows whose streamlines are known: straight lines in a uniform flow, circles
// in a rigid rotation; crossings between zones, across the cut of an O-type zone and in overlay
// copies; the step limit; walls that must stop a trace; paths cut to the picture and to the plot
// area; and data that must never hang or crash it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <tuple>

#include "FlowData.h"
#include "streamline/StreamLayer.h"
#include "support/LoggingCanvas.h"

namespace corvane {
namespace {

using testing::FlowSetup;
using testing::MakeFlow;
using testing::MakeView;
using testing::Rect;
using testing::Uniform;

constexpr double kPi = 3.14159265358979323846;

testing::Flow Rotation() { return [](double x, double y) { return std::make_pair(-y, x); }; }

// An O-type zone round the origin: i outwards from radius 0.5, j round the circle in 1 degree
// steps, so j = 0 and j = 360 lie on the same ray.
testing::FlowZone Ring() {
  return {11, 361, [](int i, int j) {
            const double r = 0.5 + 0.05 * i, a = 2.0 * kPi * j / 360.0;
            return std::make_pair(r * std::cos(a), r * std::sin(a));
          }};
}

TEST(Tracer, UniformFlowFollowsTheGridLineToTheLastNodeLine) {
  const FieldDataSet data = MakeFlow({Rect(10, 5, 0, 0)}, Uniform(1, 0));
  const ViewTransform view = MakeView(640, 480, 40, 4.5, 2);
  StreamField field(data, view, FlowSetup());

  // From a point: straight along y = 1.5, through every i-line to the last one.
  const StreamPath fromPoint = TraceFromPoint(field, 2.5, 1.5);
  ASSERT_EQ(fromPoint.vertices.size(), 8u);
  for (std::size_t k = 1; k < fromPoint.vertices.size(); ++k) {
    const PathVertex& v = fromPoint.vertices[k];
    EXPECT_DOUBLE_EQ(v.x, 2.0 + k);
    EXPECT_EQ(std::tuple(v.y, v.drawn, v.px), std::tuple(1.5, true, view.WorldToPixelX(2.0 + k)));
  }

  // From node (2, 2): the node nudge puts the path 1e-5 of an edge beside the grid line.
  const StreamPath fromNode = TraceFromGridNode(field, 0, 0, 2, 2);
  ASSERT_GE(fromNode.vertices.size(), 8u);
  EXPECT_DOUBLE_EQ(fromNode.vertices.front().x, 2.0);
  EXPECT_DOUBLE_EQ(fromNode.vertices.back().x, 9.0);
  for (const PathVertex& v : fromNode.vertices) EXPECT_NEAR(v.y, 2.0, 2e-5);
  EXPECT_LT(fromNode.steps, kStreamStepLimit);

  // At i = 0 the first edge runs towards i = 1, so the path still starts at the node.
  const StreamPath fromEdge = TraceFromGridNode(field, 0, 0, 0, 3);
  EXPECT_DOUBLE_EQ(fromEdge.vertices.front().x, 0.0);
  EXPECT_DOUBLE_EQ(fromEdge.vertices.back().x, 9.0);
}

TEST(Tracer, RigidRotationRunsRoundTheCircleAndNeverInwards) {
  // Each straight piece leaves tangentially, so the radius can only grow, and only slowly.
  const FieldDataSet data = MakeFlow({Rect(201, 201, -1, -1, 0.01)}, Rotation());
  StreamField field(data, MakeView(400, 400, 150, 0, 0), FlowSetup());
  const double r0 = std::hypot(0.5, 0.003);
  const StreamPath path = TraceFromPoint(field, 0.5, 0.003);
  ASSERT_GT(path.vertices.size(), 100u);
  EXPECT_EQ(path.steps, field.StepLimit());  // a vortex still ends
  double previousR = r0, turned = 0.0, previousAngle = std::atan2(0.003, 0.5);
  for (std::size_t k = 0; k < path.vertices.size(); ++k) {
    const PathVertex& v = path.vertices[k];
    const double r = std::hypot(v.x, v.y), angle = std::atan2(v.y, v.x);
    EXPECT_GE(r, previousR - 1e-12);
    EXPECT_LT(r, r0 + 1e-4 * static_cast<double>(k + 1));
    double step = angle - previousAngle;
    if (step < -kPi) step += 2 * kPi;
    EXPECT_GE(step, 0.0);  // counter-clockwise throughout
    turned += step;
    previousR = r, previousAngle = angle;
  }
  EXPECT_GT(turned, 2.5);
}

TEST(Tracer, CrossesBetweenZonesSharingAnEdgeKeepingItsPlaceOnTheEdge) {
  // The second zone once numbered like the first, once in the opposite direction in i and j, so
  // that its shared edge runs the other way.
  const testing::FlowZone second[2] = {
      Rect(6, 5, 5, 0), {6, 5, [](int i, int j) { return std::make_pair(10.0 - i, 4.0 - j); }}};
  for (const testing::FlowZone& zone : second) {
    const FieldDataSet data = MakeFlow({Rect(6, 5, 0, 0), zone}, Uniform(1, 0));
    StreamField field(data, MakeView(640, 480, 40, 5, 2), FlowSetup());
    const StreamPath path = TraceFromPoint(field, 0.5, 1.5);
    ASSERT_EQ(path.vertices.size(), 11u);
    for (std::size_t k = 1; k < path.vertices.size(); ++k) {
      EXPECT_NEAR(path.vertices[k].x, static_cast<double>(k), 1e-12);
      EXPECT_NEAR(path.vertices[k].y, 1.5, 1e-12);
      EXPECT_EQ(path.vertices[k].zone, k <= 5 ? 0 : 1);
    }
  }
}

TEST(Tracer, ContinuesAcrossTheCutOfAnOTypeZone) {
  const FieldDataSet data = MakeFlow({Ring()}, Rotation());
  StreamField field(data, MakeView(400, 400, 150, 0, 0), FlowSetup(0, 3.0, 0.0));
  const double a0 = -5.0 * kPi / 180.0, r0 = 0.72;
  const StreamPath path = TraceFromPoint(field, r0 * std::cos(a0), r0 * std::sin(a0));
  ASSERT_GT(path.vertices.size(), 150u);
  double highest = -1.0;
  for (std::size_t k = 0; k < path.vertices.size(); ++k) {
    const PathVertex& v = path.vertices[k];
    EXPECT_EQ(v.zone, 0);
    EXPECT_GE(std::hypot(v.x, v.y), r0 - 1e-9);
    EXPECT_LT(std::hypot(v.x, v.y), r0 + 2e-4 * static_cast<double>(k + 1));
    highest = std::max(highest, v.y);
  }
  EXPECT_GT(highest, 0.7);  // past the cut at angle 0 and on round the top of the ring

  // A seed of copy 3 while only copy 0 is drawn: traced 9 units to the right, and it still
  // continues across its own cut.
  const StreamPath shifted = TraceFromGridNode(field, 3, 0, 4, 350);
  ASSERT_GT(shifted.vertices.size(), 30u);
  EXPECT_NEAR(shifted.vertices.front().x, 9.0 + 0.7 * std::cos(350.0 * kPi / 180.0), 1e-12);
  double shiftedHighest = -1.0;
  for (const PathVertex& v : shifted.vertices) {
    EXPECT_EQ(v.copy, 3);
    shiftedHighest = std::max(shiftedHighest, v.y);
  }
  EXPECT_GT(shiftedHighest, 0.6);
}

TEST(Tracer, StepLimitGrowsWithTheGridSoAFineStripIsCrossedWhole) {
  // 300 cells in a row: more than 201 crossings, well inside four times NI + NJ.
  const FieldDataSet data = MakeFlow({Rect(301, 3, 0, 0)}, Uniform(1, 0));
  StreamField field(data, MakeView(640, 480, 1, 200, 1), FlowSetup());
  EXPECT_EQ(field.StepLimit(), 4 * (301 + 3));
  const StreamPath path = TraceFromPoint(field, 0.5, 0.5);
  ASSERT_EQ(path.vertices.size(), 301u);  // the start, the seed cell's exit at x = 1, 299 crossings
  EXPECT_DOUBLE_EQ(path.vertices.back().x, 300.0);
  EXPECT_LT(path.steps, field.StepLimit());
}

TEST(Tracer, AWallSeenFromAfarIsNeitherWalkedAlongNorCrossed) {
  // A body 0.02 thick between two zones, seen at 8 pixels per unit: its two sides lie within a
  // pixel of each other, and so do neighbouring wall edges. The flow runs into the upper wall;
  // the trace ends there instead of hopping along it or jumping to the side below.
  const testing::FlowZone below{21, 11, [](int i, int j) { return std::make_pair(0.1 * i, -0.01 - 0.1 * j); }};
  const testing::FlowZone above{21, 11, [](int i, int j) { return std::make_pair(0.1 * i, 0.01 + 0.1 * j); }};
  const FieldDataSet data = MakeFlow({below, above}, Uniform(1, -1));
  StreamField field(data, MakeView(200, 200, 8, 1, 0), FlowSetup());
  const StreamPath path = TraceFromPoint(field, 0.55, 0.5);
  ASSERT_GE(path.vertices.size(), 3u);
  for (const PathVertex& v : path.vertices) EXPECT_GE(v.y, 0.01 - 1e-12) << v.x;
  EXPECT_NEAR(path.vertices.back().y, 0.01, 1e-12);
  EXPECT_NEAR(path.vertices.back().x, 1.04, 1e-9);
}

TEST(Tracer, PiecesEndingOutsideThePictureOnlyMoveThePenAndWithAxesPathsStayInsideThePlotArea) {
  const FieldDataSet data = MakeFlow({Rect(10, 3, 0, 0)}, Uniform(1, 0));
  StreamField field(data, MakeView(100, 100, 20, 2, 1), FlowSetup());  // x = 4.5 is the right edge
  const StreamPath path = TraceFromPoint(field, 0.5, 0.5);
  ASSERT_EQ(path.vertices.size(), 10u);
  LoggingCanvas canvas;
  DrawStreamPath(canvas, path);
  EXPECT_EQ(std::pair(canvas.Only({"LineTo"}).size(), canvas.Only({"MoveTo"}).size()), (std::pair<std::size_t, std::size_t>(4, 6)));
  // x = 0 .. 9 on pixels 5 .. 95, drawn with the axes: cut exactly at the area's left and right
  // columns.
  StreamField whole(data, MakeView(100, 100, 10, 4.5, 1), FlowSetup());
  LoggingCanvas cut;
  DrawStreamPath(cut, TraceFromPoint(whole, 0.5, 0.5), QRect(QPoint(30, 0), QPoint(80, 99)));
  ASSERT_FALSE(cut.Only({"LineTo"}).empty());
  int minX = 1000, maxX = -1000;
  for (const std::string& call : cut.Only({"MoveTo", "LineTo"})) {
    int x = 0, y = 0;
    ASSERT_EQ(std::sscanf(call.c_str() + call.find(' ') + 1, "%d,%d", &x, &y), 2) << call;
    minX = std::min(minX, x), maxX = std::max(maxX, x);
  }
  EXPECT_EQ(std::pair(minX, maxX), std::pair(30, 80));
}

TEST(Tracer, BadDataNeverHangsOrCrashes) {
  const double nan = std::nan("");
  const FieldDataSet still = MakeFlow({Rect(5, 5, 0, 0)}, Uniform(0, 0));
  const FieldDataSet notANumber = MakeFlow({Rect(5, 5, 0, 0)}, Uniform(nan, 1));
  const FieldDataSet collapsed = MakeFlow({{5, 5, [](int, int) { return std::make_pair(1.0, 1.0); }}}, Uniform(1, 0));
  const FieldDataSet holes = MakeFlow({{5, 5, [=](int i, int j) { return std::make_pair(i == 2 ? nan : i, 1.0 * j); }}},
                                      Uniform(1, 1));
  // A node at infinity encloses nothing (its weights would claim points anywhere).
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(PointInTriangle({5.0, 7.0}, {0, 0}, {inf, 0}, {0, 1}).inside);
  // Zero velocity, NaN velocity, a zone shrunk to one point, nodes that are not numbers.
  for (const FieldDataSet* data : {&still, &notANumber, &collapsed, &holes}) {
    StreamField field(*data, MakeView(200, 200, 20, 2, 2), FlowSetup());
    for (int i = 0; i < 5; ++i) {
      EXPECT_LE(TraceFromGridNode(field, 0, 0, i, 2).steps, kStreamStepLimit);
      EXPECT_LE(TraceFromPoint(field, i + 0.3, 1.6).steps, kStreamStepLimit);
    }
  }

  // A seed in still air draws nothing; so do seeds outside the data, missing velocity rows and
  // a zone longer than the arrays.
  FieldDataSet shortArrays = MakeFlow({Rect(5, 5, 0, 0)}, Uniform(1, 0));
  shortArrays.Zones[0].NI = 50;
  const ViewTransform view = MakeView(200, 200, 20, 2, 2);
  StreamField ok(still, view, FlowSetup()), noRows(still, view, StreamFieldSetup{}), tooLong(shortArrays, view, FlowSetup());
  EXPECT_EQ(TraceFromPoint(ok, 1.5, 1.5).vertices.size(), 1u);
  const std::pair<StreamField*, std::array<int, 4>> empty[] = {
      {&ok, {0, -1, 0, 0}}, {&ok, {0, 1, 0, 0}}, {&ok, {0, 0, 5, 0}}, {&noRows, {0, 0, 1, 1}}, {&tooLong, {0, 0, 1, 1}}};
  for (const auto& [field, s] : empty) EXPECT_TRUE(TraceFromGridNode(*field, s[0], s[1], s[2], s[3]).vertices.empty()) << s[1] << s[2];
  EXPECT_FALSE(FindSeedCell(tooLong, 1.5, 1.5).found);
}

TEST(SeedSearch, FindsTheSameCellAsAScanOfEveryCellInOrder) {
  // Two wavy zones that overlap each other, drawn three times with overlapping copies, so the
  // order of the scan decides which cell a point belongs to.
  auto wavy = [](double x0) {
    return testing::FlowZone{40, 30, [x0](int i, int j) {
                               return std::make_pair(x0 + 0.1 * i + 0.03 * std::sin(j), 0.1 * j + 0.03 * std::cos(i));
                             }};
  };
  const FieldDataSet data = MakeFlow({wavy(0.0), wavy(2.5)}, [](double x, double y) { return std::make_pair(std::sin(x), x * y); });
  StreamField field(data, MakeView(400, 400, 50, 3, 1.5), FlowSetup(2, 1.3, 0.4));
  unsigned seed = 12345;
  auto next = [&seed](double lo, double hi) {
    seed = seed * 134775813u + 1u;
    return lo + (hi - lo) * (seed >> 8) / 16777216.0;
  };
  int hits = 0;
  for (int n = 0; n < 250; ++n) {
    const WorldPoint p{next(-0.2, 9.5), next(-0.2, 3.9)};
    SeedCell expected;
    for (int c = 0; c <= 2 && !expected.found; ++c)
      for (int z = 0; z < 2 && !expected.found; ++z)
        for (int i = 0; i < 39 && !expected.found; ++i)
          for (int j = 0; j < 29 && !expected.found; ++j) {
            auto at = [&](int a, int b) { return field.Position(c, z, {a, b}); };
            if (PointInTriangle(p, at(i, j), at(i, j + 1), at(i + 1, j)).inside ||
                PointInTriangle(p, at(i + 1, j + 1), at(i + 1, j), at(i, j + 1)).inside)
              expected = SeedCell{true, c, z, i, j, 0, 0};
          }
    const SeedCell found = FindSeedCell(field, p.x, p.y);
    ASSERT_EQ(found.found, expected.found) << p.x << "," << p.y;
    if (!found.found) continue;
    ++hits;
    EXPECT_EQ(std::tie(found.copy, found.zone, found.i, found.j), std::tie(expected.copy, expected.zone, expected.i, expected.j));
  }
  EXPECT_GT(hits, 120);
}

}  // namespace
}  // namespace corvane
