// The OpenGL view's frame without GL: box navigation, contour bands and lines, the smooth fill,
// arrows, grid, boundaries and overlay copies.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <tuple>
#include <utility>

#include "GlData.h"
#include "TestSupport.h"
#include "contour/ContourLevels.h"
#include "opengl/OpenGLGeometry.h"

namespace corvane {
namespace {

using testing::GridData;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const OrthoBox kBox{-10, 10, -10, 10, -2, 2};

struct Shape {
  std::vector<GlPoint> points;
  Colour colour;
};
struct Emitted {
  std::vector<Shape> polygons, lines;
};

// Area of a polygon (shoelace).
double Area(const std::vector<GlPoint>& p) {
  double a = 0.0;
  for (std::size_t k = 0; k < p.size(); ++k)
    a += static_cast<double>(p[k].x) * p[(k + 1) % p.size()].y - static_cast<double>(p[(k + 1) % p.size()].x) * p[k].y;
  return std::fabs(a) / 2;
}

// Summed area of all shapes.
double TotalArea(const std::vector<Shape>& shapes) {
  return std::accumulate(shapes.begin(), shapes.end(), 0.0, [](double a, const Shape& s) { return a + Area(s.points); });
}

// Rainbow colour of a level in the range [0, max].
Colour Level(double v, double max = 3.0) { return LevelColour(static_cast<float>(v), 0.0f, static_cast<float>(max), ColourMapKind::Rainbow); }

// One triangle (0,0) (1,0) (0,1) with the three values given, in a box that shows it.
testing::ShownGrid Triangle(double a, double b, double c, double step, double min = 0.0, double max = 3.0) {
  testing::ShownGrid d = GridData(2, 2, [](double, double) { return 0.0; }, step, min, max);
  d.Values[0] = {a, c, b, 0.0};  // nodes 0, 1, 2 are (0,0), (0,1), (1,0)
  return d;
}

// The contour style of row 0 of a data set.
ContourStyle StyleOf(const testing::ShownGrid& d, bool fill = true) {
  ContourStyle s;
  s.step = d.view.ContourStep[0], s.min = d.view.ContourMin[0], s.max = d.view.ContourMax[0], s.fill = fill;
  return s;
}

// Every polygon and line the contour routine emits for the triangle of `d`.
Emitted Bands(const testing::ShownGrid& d, bool fill = true, OrthoBox box = kBox, double shift = 0.0) {
  struct Sink : GeometrySink {
    void Polygon(const GlPoint* p, int n, Colour c) override { e.polygons.push_back({{p, p + n}, c}); }
    void Line(GlPoint a, GlPoint b, Colour c) override { e.lines.push_back({{a, b}, c}); }
    Emitted e;
  } sink;
  TriangleContourer(d, d.Values[0].data(), shift, 0, box, StyleOf(d, fill)).DrawTriangleBands(0, 2, 1, sink);
  return sink.e;
}

TEST(OrthoBoxNavigation, FitCentresTheExtentInTheWindowShapeEvenWhenBroken) {
  const std::pair<OrthoBox, OrthoBox> cases[] = {
      {FitOrthoBox(10, 3, 0, 1, 500, 500), {0, 10, -3, 7, -2, 2}},     // wide: x touches both sides
      {FitOrthoBox(1, 10, 0, 0, 400, 200), {-9.5, 10.5, 0, 10, -2, 2}},  // tall: the height decides
      {FitOrthoBox(4, 0, 0, 0, 100, 100), {0, 4, -2, 2, -2, 2}}};       // a line of nodes
  for (const auto& [box, expected] : cases) {
    const double got[] = {box.left, box.right, box.bottom, box.top}, want[] = {expected.left, expected.right, expected.bottom, expected.top};
    for (int k = 0; k < 4; ++k) EXPECT_DOUBLE_EQ(got[k], want[k]) << "side " << k << " of the box up to " << expected.right;
  }
  EXPECT_TRUE(OrthoBox{}.Degenerate());
  EXPECT_FALSE(FitOrthoBox(0.0, 0.0, 0.0, 0.0, 500, 400).Degenerate() || FitOrthoBox(kNaN, kNaN, kNaN, kNaN, 0, -5).Degenerate());
}

TEST(TriangleBands, ThreeBandsCoverTheTriangleAndLinesLieAtEachLevelInItsColour) {
  const Emitted e = Bands(Triangle(0.5, 1.5, 2.5, 1.0));
  ASSERT_EQ(e.polygons.size(), 3u);
  for (int m = 0; m < 3; ++m) {
    // Only the middle band holds the middle corner.
    EXPECT_EQ(std::find(e.polygons[m].points.begin(), e.polygons[m].points.end(), GlPoint{1.0f, 0.0f}) !=
                  e.polygons[m].points.end(),
              m == 1);
    EXPECT_EQ(e.polygons[m].colour, Level(m + 1));  // the colour of the band's upper level
  }
  EXPECT_NEAR(TotalArea(e.polygons), 0.5, 1e-6);
  EXPECT_NEAR(Area(e.polygons[0].points), 0.0625, 1e-6);  // below 1.0: a quarter of lo-hi, half of lo-mid

  const Emitted lines = Bands(Triangle(0.5, 1.5, 2.5, 1.0), false);
  // Levels 1 and 2; level 3 lies above the triangle and gives a line without length.
  ASSERT_EQ(lines.lines.size(), 3u);
  EXPECT_EQ(lines.lines[2].points[0], lines.lines[2].points[1]);
  EXPECT_TRUE(lines.polygons.empty());
  // Level 1 crosses lo-hi at a quarter and lo-mid at half way.
  EXPECT_FLOAT_EQ(lines.lines[0].points[1].y, 0.25f);
  EXPECT_FLOAT_EQ(lines.lines[0].points[0].x, 0.5f);
  EXPECT_EQ(lines.lines[1].colour, Level(2));
  // Levels far above the range of 0 .. 3 are still drawn, in the end colour.
  const Emitted above = Bands(Triangle(0.5, 1.5, 8.5, 1.0), false);
  ASSERT_EQ(above.lines.size(), 9u);
  for (int level = 4; level <= 8; ++level) {
    EXPECT_NE(above.lines[level - 1].points[0], above.lines[level - 1].points[1]) << level;
    EXPECT_EQ(above.lines[level - 1].colour, Level(3)) << level;
  }
}

TEST(TriangleBands, FlatOrLevelTouchingTrianglesLeaveNoHole) {
  // All corners on level 2 or between levels: one band in the colour of the level at or above.
  for (double v : {2.0, 2.5}) {
    const Emitted e = Bands(Triangle(v, v, v, 1.0));
    for (const Shape& s : e.polygons) EXPECT_TRUE(Area(s.points) == 0 || s.colour == Level(std::ceil(v))) << v;
    EXPECT_NEAR(TotalArea(e.polygons), 0.5, 1e-6) << v;
  }
  // Two corners on the lowest level (a wall with zero velocity).
  EXPECT_NEAR(TotalArea(Bands(Triangle(0.0, 0.0, 1.0, 1.0)).polygons), 0.5, 1e-6);
}

TEST(TriangleBands, UnusableStepsNaNValuesAndHugeRangesStayBounded) {
  for (double step : {0.0, -1.0, kNaN, std::numeric_limits<double>::infinity()}) {
    const testing::ShownGrid d = Triangle(0.5, 1.5, 2.5, step);
    EXPECT_FALSE(TriangleContourer(d, d.Values[0].data(), 0, 0, kBox, StyleOf(d)).valid()) << step;
    EXPECT_TRUE(Bands(d).polygons.empty()) << step;
  }
  // A NaN or infinite value makes a hole: no bands, no lines.
  for (double bad : {kNaN, std::numeric_limits<double>::infinity()}) {
    const Emitted hole = Bands(Triangle(0.5, bad, 2.5, 1.0));
    EXPECT_TRUE(hole.polygons.empty() && Bands(Triangle(0.5, bad, 2.5, 1.0), false).lines.empty()) << bad;
  }
  testing::ShownGrid nowhere = Triangle(0.5, 1.5, 2.5, 1.0);
  nowhere.X[1] = kNaN;
  EXPECT_TRUE(Bands(nowhere).polygons.empty());
  // 1e12 steps across a range of 100 levels: a bounded number of bands that still cover the
  // triangle, the part above the range in the end colour.
  const Emitted huge = Bands(Triangle(0.0, 5e11, 1e12, 0.01, 0.0, 1.0));
  EXPECT_LE(huge.polygons.size(), 110u);
  EXPECT_NEAR(TotalArea(huge.polygons), 0.5, 1e-6);
  EXPECT_EQ(huge.polygons.back().colour, Level(1.0, 1.0));
  EXPECT_LE(Bands(Triangle(0.0, 5e11, 1e12, 0.01, 0.0, 1.0), false).lines.size(), 2200u);
  // Wholly above or below the range: one band of the end colour.
  for (double v : {1e15, -1e15}) {
    const Emitted out = Bands(Triangle(v, v * 1.5, v * 2, 0.01, 0.0, 1.0));
    ASSERT_EQ(out.polygons.size(), 1u);
    EXPECT_NEAR(Area(out.polygons[0].points), 0.5, 1e-6);
  }
}

TEST(TriangleBands, CulledOnlyWhenWhollyBeyondOneSide) {
  const testing::ShownGrid d = Triangle(0.5, 1.5, 2.5, 1.0);
  EXPECT_TRUE(Bands(d, true, OrthoBox{2, 5, -5, 5, -2, 2}).polygons.empty());
  EXPECT_EQ(Bands(d, true, OrthoBox{0.5, 5, 0.5, 5, -2, 2}).polygons.size(), 3u);
  // The copy shift counts: shifted by 3 the triangle lies inside [2, 5].
  const Emitted shifted = Bands(d, true, OrthoBox{2, 5, -5, 5, -2, 2}, 3.0);
  ASSERT_EQ(shifted.polygons.size(), 3u);
  EXPECT_FLOAT_EQ(shifted.polygons[0].points[0].x, 3.0f);
}

TEST(Arrows, HeadBehindTheTipAndNothingForAStillNode) {
  GlFrame frame;
  DrawOpenGLArrow(frame, 2.0f, 1.0f, 0.0f, 1.0f, 1.0f, kWhite);
  ASSERT_EQ(std::pair(frame.batches.size(), frame.vertices.size()), (std::pair<std::size_t, std::size_t>(2, 5)));
  EXPECT_EQ(frame.batches[0].mode, GlMode::Lines);
  EXPECT_EQ(std::pair(frame.vertices[0], frame.vertices[1]), std::pair(GlPoint{1.0f, 1.0f}, GlPoint{3.0f, 1.0f}));
  // The head's two barbs reach back from the tip, one to each side of the shaft.
  EXPECT_TRUE(frame.vertices[3].x < 3 && frame.vertices[4].x < 3 && frame.vertices[3].y > 1 && frame.vertices[4].y < 1);
  GlFrame still;  // no speed, no scale, no number
  for (auto [scale, u, v] : {std::tuple{2.0f, 0.0f, 0.0f}, {0.0f, 5.0f, 5.0f}, {1.0f, std::numeric_limits<float>::quiet_NaN(), 1.0f}})
    DrawOpenGLArrow(still, scale, u, v, 1.0f, 1.0f, kWhite);
  EXPECT_TRUE(still.vertices.empty());
}

// Strips of one frame, as lists of points.
std::vector<std::vector<GlPoint>> Strips(const GlFrame& f) {
  std::vector<std::vector<GlPoint>> out;
  for (const GlBatch& b : f.batches)
    if (b.mode == GlMode::LineStrip) out.emplace_back(f.vertices.begin() + b.first, f.vertices.begin() + b.first + b.count);
  return out;
}

TEST(Scene, OverlayCopiesAreDrawnShiftedWithoutMovingTheData) {
  testing::ShownGrid d = GridData(3, 2, [](double x, double) { return x; }, 1.0, 0.0, 2.0);
  const NodeRow x = d.X, y = d.Y;
  ProgramOptions o;
  o.display.overlayCopies = 2, o.display.copyOffsetX = 1.0, o.display.ShowGrid = true, o.load.AutoStepCheck = false;
  NullProgress progress;
  OpenGLSceneHost host{&d, nullptr, &progress, nullptr, {}, {}, &d.view};
  GlFrame frame;
  BuildOpenGLScene(frame, OrthoBox{-1, 6, -1, 3, -2, 2}, host, o, false, true, false);
  EXPECT_TRUE(d.X == x && d.Y == y);
  // Per copy, shifted by its offset: 3 i-lines, 2 j-lines and the four edges of the boundary.
  const auto strips = Strips(frame);
  ASSERT_EQ(strips.size(), 3u * 9u);
  auto has = [&](const std::vector<GlPoint>& s) { return std::find(strips.begin(), strips.end(), s) != strips.end(); };
  for (int c = 0; c < 3; ++c) {
    const float cx = static_cast<float>(c);
    EXPECT_TRUE(has({{cx, 0.0f}, {cx, 1.0f}}) && has({{cx, 0.0f}, {cx + 1, 0.0f}, {cx + 2, 0.0f}}) && has({{cx, 1.0f}, {cx, 0.0f}})) << c;
  }
  // Boundary switches leave their edges out.
  d.view.Boundaries[0].i0 = d.view.Boundaries[0].jmax = false, o.display.overlayCopies = 0;
  BuildOpenGLScene(frame, OrthoBox{-1, 6, -1, 3, -2, 2}, host, o, false, false, false);
  EXPECT_EQ(Strips(frame).size(), 2u);
  // Zoomed in on x = 0: the i-lines at x = 1 and 2 go, the j-lines keep their first segment.
  d.view.Boundaries[0] = BoundaryFlags{false, false, false, false};
  BuildOpenGLScene(frame, OrthoBox{-0.5, 0.5, -1, 3, -2, 2}, host, o, false, true, false);
  EXPECT_EQ(Strips(frame), (std::vector<std::vector<GlPoint>>{
                               {{0, 0}, {0, 1}}, {{0.0f, 0.0f}, {1.0f, 0.0f}}, {{0.0f, 1.0f}, {1.0f, 1.0f}}}));
  // A node without a finite position (NaN, or at infinity) on the edge j = jmax breaks the grid
  // lines and the outline through it: 7 points of each, where a whole grid has 9 and 10.
  d.view.Boundaries[0] = BoundaryFlags{};
  for (auto [node, coordinate] : {std::pair{&d.X[3], kNaN}, {&d.Y[3], std::numeric_limits<double>::infinity()}}) {
    d.X = x, d.Y = y, *node = coordinate;
    BuildOpenGLScene(frame, OrthoBox{-1, 6, -1, 3, -2, 2}, host, o, false, true, false);
    std::size_t points = 0;
    for (const auto& strip : Strips(frame))
      for (const GlPoint& p : strip) points += std::isfinite(p.x) && std::isfinite(p.y) ? 1 : 100;
    EXPECT_EQ(points, 14u) << coordinate;
  }
}

TEST(Scene, ContourLayerReportsStopsOnAbortAndRefusesBadSteps) {
  testing::ShownGrid d = GridData(4, 4, [](double x, double y) { return x + y; }, 1.0, 0.0, 6.0);
  ProgramOptions o;
  o.load.AutoStepCheck = false, o.display.BrushCheck = true, o.contour.QuickFill = false;
  testing::RecordingProgress progress;
  ContourReadout readout;
  int captionRow = -1;
  OpenGLSceneHost host{&d, &readout, &progress, nullptr, [&](int row) { captionRow = row; }, {}, &d.view};
  GlFrame full;
  BuildOpenGLScene(full, OrthoBox{-1, 4, -1, 4, -2, 2}, host, o, true, false, false);
  EXPECT_EQ(progress.statuses, (std::vector<std::string>{"等高線のメタファイルを作成中…", "メタファイル作成完了"}));
  EXPECT_EQ(std::pair(captionRow, readout.ReadoutMax), std::pair(0, 6.0));
  EXPECT_GT(full.vertices.size(), 18u * 3u);
  // An abort after a few cells stops the contours; the boundaries still follow.
  progress.abortChecks = 0;
  progress.onAbortCheck = [&] { progress.abort = progress.abortChecks > 3; };
  GlFrame aborted;
  BuildOpenGLScene(aborted, OrthoBox{-1, 4, -1, 4, -2, 2}, host, o, true, false, false);
  EXPECT_LT(aborted.vertices.size(), full.vertices.size());
  EXPECT_EQ(aborted.batches.back().mode, GlMode::LineStrip);
  // A step of zero draws no contour layer and says why.
  progress.onAbortCheck = nullptr, progress.abort = false;
  progress.statuses.clear();
  d.view.ContourStep[0] = 0.0;
  GlFrame none;
  BuildOpenGLScene(none, OrthoBox{-1, 4, -1, 4, -2, 2}, host, o, true, false, false);
  EXPECT_EQ(progress.statuses.front(), kContourStepInvalidText);
  for (const GlBatch& b : none.batches) EXPECT_EQ(b.mode, GlMode::LineStrip);
}

TEST(Scene, SmoothFillColoursEveryCornerAndVectorsNeedTheirRows) {
  testing::ShownGrid d = GridData(2, 2, [](double x, double y) { return x + y; }, 1.0, 0.0, 2.0);
  ProgramOptions o;
  o.load.AutoStepCheck = false, o.display.BrushCheck = true, o.contour.QuickFill = true;
  o.contour.colourMap = ColourMapKind::Gray1;
  NullProgress progress;
  RecordingNotifier notifier;
  bool raised = false;
  OpenGLSceneHost host{&d, nullptr, &progress, &notifier, {}, [&] { raised = true; }, &d.view};
  GlFrame frame;
  BuildOpenGLScene(frame, OrthoBox{-1, 2, -1, 2, -2, 2}, host, o, true, false, true);
  ASSERT_EQ(frame.batches[0].mode, GlMode::IndexedTriangles);
  EXPECT_EQ(frame.indices, (std::vector<std::uint32_t>{0, 1, 2, 1, 2, 3}));
  // Node (1, 1) has value 2.0: white in the grey map; node (0, 0) black.
  EXPECT_EQ(frame.vertices[3], (GlPoint{1.0f, 1.0f}));
  EXPECT_TRUE(frame.colours[0] == kBlack && frame.colours[3] == kWhite);
  EXPECT_EQ(notifier.warnings, std::vector<std::string>{"ベクトルに使用する量を選択してください"});
  EXPECT_TRUE(raised);
  // Node (0,0) has u = 0 and v = 0: three arrows of a shaft and a head each.
  o.load.xvecbox = 0, o.load.yvecbox = 1, o.display.arrowScale = 0.1, o.display.WhiteBack = true;
  BuildOpenGLScene(frame, OrthoBox{-1, 2, -1, 2, -2, 2}, host, o, false, false, true);
  std::size_t shafts = 0;
  for (const GlBatch& b : frame.batches)
    if (b.mode == GlMode::Lines) shafts += static_cast<std::size_t>(b.count) / 2;
  EXPECT_EQ(shafts, 3u);
  EXPECT_TRUE(frame.colours[0] == kBlack && frame.background == kWhite);
}

}  // namespace
}  // namespace corvane
