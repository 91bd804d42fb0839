// The OpenGL view's frame without GL: box navigation, contour bands and lines, the smooth fill,
// arrows, grid, boundaries and overlay copies.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "GlData.h"
#include "contour/ContourLevels.h"
#include "opengl/OpenGLGeometry.h"

namespace corvane {
namespace {

using testing::GridData;

struct Shape {
  std::vector<GlPoint> points;
  Colour colour;
};

// Keeps every polygon and line the contour routine emits.
class RecordingSink : public GeometrySink {
 public:
  void Polygon(const GlPoint* p, int n, Colour c) override { polygons.push_back({{p, p + n}, c}); }
  void Line(GlPoint a, GlPoint b, Colour c) override { lines.push_back({{a, b}, c}); }
  std::vector<Shape> polygons, lines;
};

// Area of a polygon (shoelace).
double Area(const std::vector<GlPoint>& p) {
  double a = 0.0;
  for (std::size_t k = 0; k < p.size(); ++k) {
    const GlPoint& u = p[k];
    const GlPoint& v = p[(k + 1) % p.size()];
    a += static_cast<double>(u.x) * v.y - static_cast<double>(v.x) * u.y;
  }
  return std::fabs(a) / 2;
}

// Whether a polygon has the point as a corner.
bool Contains(const std::vector<GlPoint>& p, GlPoint q) { return std::find(p.begin(), p.end(), q) != p.end(); }

// One triangle (0,0) (1,0) (0,1) with the three values given, in a box that shows it.
FieldDataSet Triangle(double a, double b, double c, double step, double min = 0.0, double max = 3.0) {
  FieldDataSet d = GridData(2, 2, [](double, double) { return 0.0; }, step, min, max);
  d.X = {0.0, 0.0, 1.0, 1.0};
  d.Y = {0.0, 1.0, 0.0, 1.0};
  d.Values[0] = {a, c, b, 0.0};  // nodes 0, 1, 2 are (0,0), (0,1), (1,0)
  return d;
}

const OrthoBox kBox{-10, 10, -10, 10, -2, 2};

// The contour style of row 0 of a data set.
ContourStyle StyleOf(const FieldDataSet& d, bool fill = true) {
  ContourStyle s;
  s.step = d.ContourStep[0];
  s.min = d.ContourMin[0];
  s.max = d.ContourMax[0];
  s.fill = fill;
  return s;
}

TEST(OrthoBoxNavigation, FitZoomAndPan) {
  // 10 wide, 2 high in a square window: x touches both sides, y is centred with height 10.
  OrthoBox box = FitOrthoBox(10.0, 3.0, 0.0, 1.0, 500, 500);
  EXPECT_DOUBLE_EQ(box.left, 0.0);
  EXPECT_DOUBLE_EQ(box.right, 10.0);
  EXPECT_DOUBLE_EQ(box.top - box.bottom, 10.0);
  EXPECT_DOUBLE_EQ((box.top + box.bottom) / 2, 2.0);
  EXPECT_EQ(box.nearZ, -2.0);
  EXPECT_EQ(box.farZ, 2.0);
  // A tall extent lets the height decide.
  OrthoBox tall = FitOrthoBox(1.0, 10.0, 0.0, 0.0, 400, 200);
  EXPECT_DOUBLE_EQ(tall.bottom, 0.0);
  EXPECT_DOUBLE_EQ(tall.top, 10.0);
  EXPECT_DOUBLE_EQ(tall.right - tall.left, 20.0);

  ZoomOrthoBox(box, 0.95);
  EXPECT_NEAR(box.right - box.left, 9.5, 1e-12);
  EXPECT_NEAR((box.left + box.right) / 2, 5.0, 1e-12);
  ZoomOrthoBox(box, 1.05);
  EXPECT_NEAR(box.right - box.left, 9.975, 1e-12);

  OrthoBox pan{0.0, 10.0, 0.0, 3.0, -2, 2};
  PanOrthoBox(pan, PanDirection::Right);
  EXPECT_DOUBLE_EQ(pan.left, static_cast<float>(0.2));  // the step is a float
  EXPECT_DOUBLE_EQ(pan.right, 10.0 + static_cast<float>(0.2));
  PanOrthoBox(pan, PanDirection::Down);
  EXPECT_DOUBLE_EQ(pan.bottom, -static_cast<double>(static_cast<float>(0.06)));
}

TEST(OrthoBoxNavigation, PointOrBrokenExtentStillGivesAUsableBox) {
  EXPECT_TRUE(OrthoBox{}.Degenerate());
  EXPECT_FALSE(FitOrthoBox(0.0, 0.0, 0.0, 0.0, 500, 400).Degenerate());
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(FitOrthoBox(nan, nan, nan, nan, 0, -5).Degenerate());
  // A flat extent (a line of nodes) is fitted along its length.
  OrthoBox line = FitOrthoBox(4.0, 0.0, 0.0, 0.0, 100, 100);
  EXPECT_DOUBLE_EQ(line.left, 0.0);
  EXPECT_DOUBLE_EQ(line.right, 4.0);
}

TEST(TriangleBands, ThreeBandsAndTheMiddleCornerInTheMiddleBandOnly) {
  FieldDataSet d = Triangle(0.5, 1.5, 2.5, 1.0);
  TriangleContourer t(d, d.Values[0].data(), 0, 0, kBox, StyleOf(d));
  RecordingSink sink;
  t.DrawTriangleBands(0, 2, 1, sink);  // values 0.5, 1.5, 2.5
  ASSERT_EQ(sink.polygons.size(), 3u);
  const GlPoint mid{1.0f, 0.0f};
  EXPECT_FALSE(Contains(sink.polygons[0].points, mid));
  EXPECT_TRUE(Contains(sink.polygons[1].points, mid));
  EXPECT_FALSE(Contains(sink.polygons[2].points, mid));
  // Each band takes the colour of its upper level; together they cover the triangle.
  double area = 0.0;
  for (int m = 0; m < 3; ++m) {
    EXPECT_EQ(sink.polygons[m].colour, LevelColor(static_cast<float>(m + 1), 0.0f, 3.0f, ColorMapKind::Rainbow));
    area += Area(sink.polygons[m].points);
  }
  EXPECT_NEAR(area, 0.5, 1e-6);
  EXPECT_NEAR(Area(sink.polygons[0].points), 0.0625, 1e-6);  // below 1.0: a quarter of lo-hi, half of lo-mid
}

TEST(TriangleBands, FlatOrLevelTouchingTrianglesLeaveNoHole) {
  // All corners on level 2: the triangle is one band in the colour of 2.0, the other empty.
  for (double v : {2.0, 2.5}) {
    FieldDataSet d = Triangle(v, v, v, 1.0);
    TriangleContourer t(d, d.Values[0].data(), 0, 0, kBox, StyleOf(d));
    RecordingSink sink;
    t.DrawTriangleBands(0, 2, 1, sink);
    double area = 0.0;
    for (const Shape& s : sink.polygons)
      if (Area(s.points) > 0) {
        area += Area(s.points);
        EXPECT_EQ(s.colour, LevelColor(static_cast<float>(std::ceil(v)), 0.0f, 3.0f, ColorMapKind::Rainbow));
      }
    EXPECT_NEAR(area, 0.5, 1e-6) << v;
  }
  // Two corners on the level at the bottom (a wall with zero velocity): still fully covered.
  FieldDataSet d = Triangle(0.0, 0.0, 1.0, 1.0);
  TriangleContourer t(d, d.Values[0].data(), 0, 0, kBox, StyleOf(d));
  RecordingSink sink;
  t.DrawTriangleBands(0, 2, 1, sink);
  double area = 0.0;
  for (const Shape& s : sink.polygons) area += Area(s.points);
  EXPECT_NEAR(area, 0.5, 1e-6);
}

TEST(TriangleBands, LinesAtEachLevelInFixedOrBandColour) {
  FieldDataSet d = Triangle(0.5, 1.5, 2.5, 1.0);
  ContourStyle style = StyleOf(d, false);
  RecordingSink sink;
  TriangleContourer(d, d.Values[0].data(), 0, 0, kBox, style).DrawTriangleBands(0, 2, 1, sink);
  // Levels 1 and 2; level 3 lies above the triangle and gives a line without length.
  ASSERT_EQ(sink.lines.size(), 3u);
  EXPECT_EQ(sink.lines[2].points[0], sink.lines[2].points[1]);
  EXPECT_TRUE(sink.polygons.empty());
  // Level 1 crosses lo-hi at a quarter and lo-mid at half way.
  EXPECT_FLOAT_EQ(sink.lines[0].points[1].y, 0.25f);
  EXPECT_FLOAT_EQ(sink.lines[0].points[0].x, 0.5f);
  EXPECT_EQ(sink.lines[1].colour, LevelColor(2.0f, 0.0f, 3.0f, ColorMapKind::Rainbow));

  style.fixLineColour = true;
  style.lineColour = MakeColour(10, 20, 30);
  RecordingSink fixed;
  TriangleContourer(d, d.Values[0].data(), 0, 0, kBox, style).DrawTriangleBands(0, 2, 1, fixed);
  ASSERT_EQ(fixed.lines.size(), 3u);
  for (const Shape& s : fixed.lines) EXPECT_EQ(s.colour, MakeColour(10, 20, 30));
}

TEST(TriangleBands, UnusableStepsNaNValuesAndHugeRangesStayBounded) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double step : {0.0, -1.0, nan, std::numeric_limits<double>::infinity()}) {
    FieldDataSet d = Triangle(0.5, 1.5, 2.5, step);
    TriangleContourer t(d, d.Values[0].data(), 0, 0, kBox, StyleOf(d));
    EXPECT_FALSE(t.valid());
    RecordingSink sink;
    t.DrawTriangleBands(0, 2, 1, sink);
    EXPECT_TRUE(sink.polygons.empty());
  }
  FieldDataSet withNaN = Triangle(0.5, nan, 2.5, 1.0);
  RecordingSink none;
  TriangleContourer(withNaN, withNaN.Values[0].data(), 0, 0, kBox, StyleOf(withNaN)).DrawTriangleBands(0, 2, 1, none);
  EXPECT_TRUE(none.polygons.empty());
  FieldDataSet nowhere = Triangle(0.5, 1.5, 2.5, 1.0);
  nowhere.X[1] = nan;
  TriangleContourer(nowhere, nowhere.Values[0].data(), 0, 0, kBox, StyleOf(nowhere)).DrawTriangleBands(0, 2, 1, none);
  EXPECT_TRUE(none.polygons.empty());

  // A triangle spanning 1e12 steps of a range of 100 levels: a bounded number of bands that
  // still cover it, the part above the range in the end colour.
  FieldDataSet huge = Triangle(0.0, 5e11, 1e12, 0.01, 0.0, 1.0);
  RecordingSink sink;
  TriangleContourer(huge, huge.Values[0].data(), 0, 0, kBox, StyleOf(huge)).DrawTriangleBands(0, 2, 1, sink);
  EXPECT_LE(sink.polygons.size(), 110u);
  double area = 0.0;
  for (const Shape& s : sink.polygons) area += Area(s.points);
  EXPECT_NEAR(area, 0.5, 1e-6);
  EXPECT_EQ(sink.polygons.back().colour, LevelColor(1.0f, 0.0f, 1.0f, ColorMapKind::Rainbow));
  // Wholly above or below the range: one band of the end colour.
  for (double v : {1e15, -1e15}) {
    FieldDataSet out = Triangle(v, v * 1.5, v * 2, 0.01, 0.0, 1.0);
    RecordingSink s;
    TriangleContourer(out, out.Values[0].data(), 0, 0, kBox, StyleOf(out)).DrawTriangleBands(0, 2, 1, s);
    ASSERT_EQ(s.polygons.size(), 1u);
    EXPECT_NEAR(Area(s.polygons[0].points), 0.5, 1e-6);
  }
}

TEST(TriangleBands, CulledOnlyWhenWhollyBeyondOneSide) {
  FieldDataSet d = Triangle(0.5, 1.5, 2.5, 1.0);
  RecordingSink outside, straddling;
  TriangleContourer(d, d.Values[0].data(), 0, 0, OrthoBox{2, 5, -5, 5, -2, 2}, StyleOf(d))
      .DrawTriangleBands(0, 2, 1, outside);
  EXPECT_TRUE(outside.polygons.empty());
  TriangleContourer(d, d.Values[0].data(), 0, 0, OrthoBox{0.5, 5, 0.5, 5, -2, 2}, StyleOf(d))
      .DrawTriangleBands(0, 2, 1, straddling);
  EXPECT_EQ(straddling.polygons.size(), 3u);
  // The copy shift counts: shifted by 3 the triangle lies inside [2, 5].
  RecordingSink shifted;
  TriangleContourer(d, d.Values[0].data(), 3.0, 0, OrthoBox{2, 5, -5, 5, -2, 2}, StyleOf(d))
      .DrawTriangleBands(0, 2, 1, shifted);
  EXPECT_EQ(shifted.polygons.size(), 3u);
  EXPECT_FLOAT_EQ(shifted.polygons[0].points[0].x, 3.0f);
}

TEST(Arrows, HeadBehindTheTipAndNothingForAStillNode) {
  GlFrame frame;
  DrawOpenGLArrow(frame, 2.0f, 1.0f, 0.0f, 1.0f, 1.0f, kWhite);
  ASSERT_EQ(frame.batches.size(), 2u);
  ASSERT_EQ(frame.vertices.size(), 5u);
  EXPECT_EQ(frame.batches[0].mode, GlMode::Lines);
  EXPECT_EQ(frame.vertices[0], (GlPoint{1.0f, 1.0f}));
  EXPECT_EQ(frame.vertices[1], (GlPoint{3.0f, 1.0f}));
  // Head length 2/5 at 20 degrees to each side of the shaft, behind the tip.
  const double h = 0.4, a = 20.0 * 3.14159265358979 / 180.0;
  EXPECT_NEAR(frame.vertices[3].x, 3.0 - h * std::cos(a), 1e-6);
  EXPECT_NEAR(frame.vertices[3].y, 1.0 + h * std::sin(a), 1e-6);
  EXPECT_NEAR(frame.vertices[4].x, 3.0 - h * std::cos(a), 1e-6);
  EXPECT_NEAR(frame.vertices[4].y, 1.0 - h * std::sin(a), 1e-6);

  GlFrame still;
  DrawOpenGLArrow(still, 2.0f, 0.0f, 0.0f, 1.0f, 1.0f, kWhite);
  DrawOpenGLArrow(still, 0.0f, 5.0f, 5.0f, 1.0f, 1.0f, kWhite);
  DrawOpenGLArrow(still, 1.0f, std::numeric_limits<float>::quiet_NaN(), 1.0f, 1.0f, 1.0f, kWhite);
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
  FieldDataSet d = GridData(3, 2, [](double x, double) { return x; }, 1.0, 0.0, 2.0);
  const std::vector<double> x = d.X, y = d.Y;
  ProgramOptions o;
  o.display.writetimes = 2;
  o.display.xoffsetbox = 1.0;
  o.display.ShowGrid = true;
  o.load.AutoStepCheck = false;
  NullProgress progress;
  OpenGLSceneHost host{&d, nullptr, &progress, nullptr, {}, {}};
  GlFrame frame;
  BuildOpenGLScene(frame, OrthoBox{-1, 6, -1, 3, -2, 2}, host, o, false, true, false);
  EXPECT_EQ(d.X, x);
  EXPECT_EQ(d.Y, y);
  // Per copy: 3 i-lines, 2 j-lines, then 4 boundary edges.
  const auto strips = Strips(frame);
  ASSERT_EQ(strips.size(), 3u * 9u);
  for (int c = 0; c < 3; ++c) {
    const auto& iLine = strips[static_cast<std::size_t>(c * 9)];
    ASSERT_EQ(iLine.size(), 2u);
    EXPECT_EQ(iLine[0], (GlPoint{static_cast<float>(c), 0.0f}));
    EXPECT_EQ(iLine[1], (GlPoint{static_cast<float>(c), 1.0f}));
    // The boundary walk: j = 0 forwards, i = imax up, j = jmax back, i = 0 down.
    const auto& j0 = strips[static_cast<std::size_t>(c * 9 + 5)];
    const auto& i0 = strips[static_cast<std::size_t>(c * 9 + 8)];
    EXPECT_EQ(j0.front(), (GlPoint{static_cast<float>(c), 0.0f}));
    EXPECT_EQ(j0.back(), (GlPoint{static_cast<float>(c + 2), 0.0f}));
    EXPECT_EQ(i0.front(), (GlPoint{static_cast<float>(c), 1.0f}));
    EXPECT_EQ(i0.back(), (GlPoint{static_cast<float>(c), 0.0f}));
  }
  EXPECT_EQ(frame.colours[0], kWhite);
  EXPECT_EQ(frame.background, kBlack);

  // Boundary switches leave their edges out.
  d.Boundaries[0].i0 = d.Boundaries[0].jmax = false;
  o.display.writetimes = 0;
  BuildOpenGLScene(frame, OrthoBox{-1, 6, -1, 3, -2, 2}, host, o, false, false, false);
  EXPECT_EQ(Strips(frame).size(), 2u);

  // Zoomed in on x = 0: the i-lines at x = 1 and 2 go, the j-lines keep their first segment.
  d.Boundaries[0] = BoundaryFlags{false, false, false, false};
  BuildOpenGLScene(frame, OrthoBox{-0.5, 0.5, -1, 3, -2, 2}, host, o, false, true, false);
  const auto zoomed = Strips(frame);
  ASSERT_EQ(zoomed.size(), 3u);
  EXPECT_EQ(zoomed[0].size(), 2u);
  EXPECT_EQ(zoomed[1], (std::vector<GlPoint>{{0.0f, 0.0f}, {1.0f, 0.0f}}));
  EXPECT_EQ(zoomed[2], (std::vector<GlPoint>{{0.0f, 1.0f}, {1.0f, 1.0f}}));

  // A node without a finite position breaks the lines through it.
  d.X[3] = std::numeric_limits<double>::quiet_NaN();  // node (1, 1)
  BuildOpenGLScene(frame, OrthoBox{-1, 6, -1, 3, -2, 2}, host, o, false, true, false);
  for (const auto& strip : Strips(frame))
    for (const GlPoint& p : strip) EXPECT_TRUE(std::isfinite(p.x));
}

TEST(Scene, ContourLayerReportsStopsOnAbortAndRefusesBadSteps) {
  FieldDataSet d = GridData(4, 4, [](double x, double y) { return x + y; }, 1.0, 0.0, 6.0);
  ProgramOptions o;
  o.load.AutoStepCheck = false;
  o.display.BrushCheck = true;
  o.contour.QuickFill = false;

  struct CountingProgress : NullProgress {
    void SetStatus(const std::string& t) override { status.push_back(t); }
    void Pump() override { ++pumps; }
    bool AbortRequested() const override { return abortAfter >= 0 && pumps > abortAfter; }
    std::vector<std::string> status;
    int pumps = 0;
    int abortAfter = -1;
  } progress;
  ContourReadout readout;
  int captionRow = -1;
  OpenGLSceneHost host{&d, &readout, &progress, nullptr, [&](int row) { captionRow = row; }, {}};
  GlFrame full;
  BuildOpenGLScene(full, OrthoBox{-1, 4, -1, 4, -2, 2}, host, o, true, false, false);
  ASSERT_EQ(progress.status.size(), 2u);
  EXPECT_EQ(progress.status[0], "等高線のメタファイルを作成中…");
  EXPECT_EQ(progress.status[1], "メタファイル作成完了");
  EXPECT_EQ(captionRow, 0);
  EXPECT_EQ(readout.ReadoutMax, 6.0);
  EXPECT_GT(full.vertices.size(), 18u * 3u);

  // An abort after a few cells stops the contours; the boundaries still follow.
  progress.pumps = 0;
  progress.abortAfter = 3;
  GlFrame aborted;
  BuildOpenGLScene(aborted, OrthoBox{-1, 4, -1, 4, -2, 2}, host, o, true, false, false);
  EXPECT_LT(aborted.vertices.size(), full.vertices.size());
  EXPECT_EQ(aborted.batches.back().mode, GlMode::LineStrip);

  // A step of zero draws no contour layer and says why.
  progress.abortAfter = -1;
  progress.status.clear();
  d.ContourStep[0] = 0.0;
  GlFrame none;
  BuildOpenGLScene(none, OrthoBox{-1, 4, -1, 4, -2, 2}, host, o, true, false, false);
  EXPECT_EQ(progress.status.front(), kContourStepInvalidText);
  for (const GlBatch& b : none.batches) EXPECT_EQ(b.mode, GlMode::LineStrip);
}

TEST(Scene, SmoothFillColoursEveryCornerAndVectorsNeedTheirRows) {
  FieldDataSet d = GridData(2, 2, [](double x, double y) { return x + y; }, 1.0, 0.0, 2.0);
  ProgramOptions o;
  o.load.AutoStepCheck = false;
  o.display.BrushCheck = true;
  o.contour.QuickFill = true;
  o.contour.colorMap = ColorMapKind::Gray1;
  NullProgress progress;
  RecordingNotifier notifier;
  bool raised = false;
  OpenGLSceneHost host{&d, nullptr, &progress, &notifier, {}, [&] { raised = true; }};
  GlFrame frame;
  BuildOpenGLScene(frame, OrthoBox{-1, 2, -1, 2, -2, 2}, host, o, true, false, true);
  ASSERT_EQ(frame.batches[0].mode, GlMode::IndexedTriangles);
  EXPECT_EQ(frame.indices, (std::vector<std::uint32_t>{0, 1, 2, 1, 2, 3}));
  // Node (1, 1) has value 2.0: white in the grey map; node (0, 0) black.
  EXPECT_EQ(frame.vertices[3], (GlPoint{1.0f, 1.0f}));
  EXPECT_EQ(frame.colours[0], kBlack);
  EXPECT_EQ(frame.colours[3], kWhite);
  ASSERT_EQ(notifier.warnings.size(), 1u);
  EXPECT_EQ(notifier.warnings[0], "ベクトルに使用する量を選択してください");
  EXPECT_TRUE(raised);

  o.load.xvecbox = 0;
  o.load.yvecbox = 1;
  o.display.VecScaleBox = 0.1;
  o.display.WhiteBack = true;
  BuildOpenGLScene(frame, OrthoBox{-1, 2, -1, 2, -2, 2}, host, o, false, false, true);
  // Node (0,0) has u = 0 and v = 0: three arrows of a shaft and a head each.
  std::size_t shafts = 0;
  for (const GlBatch& b : frame.batches)
    if (b.mode == GlMode::Lines) shafts += static_cast<std::size_t>(b.count) / 2;
  EXPECT_EQ(shafts, 3u);
  EXPECT_EQ(frame.colours[0], kBlack);
  EXPECT_EQ(frame.background, kWhite);
}

}  // namespace
}  // namespace corvane
