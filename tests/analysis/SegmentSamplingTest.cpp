// The analysis segment: its end points and layer calls, then the samples along it: exact values
// of linear fields, order, merging of points hit by several edges, the cap, the file's bytes and
// inputs that must fail cleanly.
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

#include "TestGrids.h"
#include "TestSupport.h"
#include "analysis/SegmentEndpoints.h"
#include "analysis/SegmentSampling.h"
#include "base/Errors.h"
#include "scene/SceneRenderer.h"
#include "support/LayerScene.h"
#include "support/LoggingCanvas.h"

namespace corvane {
namespace {

const std::string kHeader = "x" + std::string(22, ' ') + "y" + std::string(22, ' ') + "f\r\n";

// Nodes at x = i + x0, y = j with f = 2x + 4y + 1 (exact in binary at the tests' points).
testing::ZoneSpec UnitZone(int ni, int nj, double x0 = 0.0) {
  testing::ZoneSpec z = testing::Rect(ni, nj, x0, 0.0);
  z.rows = [](double x, double y) { return std::vector<double>{2 * x + 4 * y + 1}; };
  return z;
}

// The zones with one value row "f", then the two derived rows.
FieldDataSet MakeField(const std::vector<testing::ZoneSpec>& zones) { return testing::MakeZones(zones, {"f"}, nullptr, 2); }

// The crossings of the segment a-b with row 0, sorted and merged.
std::vector<SegmentSample> Samples(const FieldDataSet& data, WorldPoint a, WorldPoint b) {
  std::vector<SegmentSample> s;
  CollectCrossings(data, 0, a, b, s);
  SortAndMergeSamples(s);
  return s;
}

// Options with both end points typed.
ProgramOptions Typed(WorldPoint a, WorldPoint b) {
  ProgramOptions o;
  o.analysis.P1Direct = o.analysis.P2Direct = true;
  o.analysis.P1x = std::to_string(a.x), o.analysis.P1y = std::to_string(a.y);
  o.analysis.P2x = std::to_string(b.x), o.analysis.P2y = std::to_string(b.y);
  return o;
}

struct AnalysisRun {
  AnalysisRunResult result;
  RecordingNotifier notifier;
  QByteArray file;
};

// Runs the analysis into `path` (a fresh temporary file when empty) and reads the file back.
AnalysisRun Analyze(const FieldDataSet& data, const ProgramOptions& options, std::string path = "") {
  QTemporaryDir dir;
  if (path.empty()) path = dir.filePath("out.dat").toStdString();
  AnalysisRun r;
  r.result = RunSegmentAnalysis(data, options.RGroup, options.load.IncludeVelCheck, options.analysis, path, r.notifier);
  r.file = testing::ReadFile(QString::fromStdString(path));
  return r;
}

TEST(SegmentLayer, DrawsCircleLineCircleFromNodeAndTypedPointsOrNothingForABadNode) {
  testing::LayerScene scene;
  scene.data = MakeField({UnitZone(2, 2), UnitZone(3, 4)});
  const LayerContext context = scene.Context();
  ProgramOptions& o = scene.options;
  AnalysisOptions& a = o.analysis;
  a.P1Zone = 1, a.P1i = 1, a.P1j = 2;  // node (1, 2)
  a.P2Direct = true, a.P2x = "30", a.P2y = " 60.5 ";  // pixel row 39.5 rounds to even
  LoggingCanvas canvas;
  DrawAnalysisSegment(context, o.analysis, canvas);
  EXPECT_EQ(canvas.Text(), "SetPen 0000FF 2\nEllipse -3,94 5,102\nMoveTo 1,98\nLineTo 30,40\nEllipse 26,36 34,44\n");
  canvas.Clear();
  a.P1j = 4;  // outside zone 1
  DrawAnalysisSegment(context, o.analysis, canvas);
  EXPECT_TRUE(canvas.calls.empty());
  a.P2x = "3O";
  EXPECT_THROW(DrawAnalysisSegment(context, o.analysis, canvas), CorvaneError);
}

TEST(SegmentLayer, KeepsToThePlotAreaAndLeavesOutAnEndWithoutAPlace) {
  testing::LayerScene scene;
  scene.data = MakeField({UnitZone(3, 4)});
  AnalysisOptions& a = scene.options.analysis;
  a.P1Zone = 0, a.P1i = 2, a.P1j = 3;  // node (2, 3): pixel (2, 97)
  a.P2Direct = true, a.P2x = "60", a.P2y = "50";
  LayerContext context = scene.Context();
  context.plotArea = QRect(QPoint(4, 0), QPoint(99, 99));  // the first end's circle reaches into the margin
  LoggingCanvas canvas;
  DrawAnalysisSegment(context, a, canvas);
  EXPECT_TRUE(canvas.Only({"Ellipse"}).size() == 1 && canvas.Only({"Polygon"}).size() == 1);  // the cut circle
  EXPECT_EQ(canvas.Only({"MoveTo", "LineTo"}), (std::vector<std::string>{"MoveTo 4,95", "LineTo 60,50"}));
  canvas.Clear();
  scene.data.Y[NodeIndex(scene.data, 0, 2, 3)] = std::nan("");
  DrawAnalysisSegment(context, a, canvas);
  EXPECT_TRUE(canvas.Only({"LineTo", "Ellipse"}).empty());
}

TEST(SegmentPoints, PickedPointIsTypedAsShortestTextAndAnUnchosenZoneIsNamed) {
  ViewTransform v = testing::UnitView();
  v.ScaleX = v.ScaleY = 4.0;
  const PickedPoint p = PickSegmentPoint(v, 53, 45);
  EXPECT_TRUE(p.xText == "50.75" && p.yText == "51.25") << p.xText << " " << p.yText;
  AnalysisOptions a;
  a.P1Zone = -1, a.P1x = "1.";  // half typed: converted only when the point is used
  EXPECT_EQ(ResolveEndpoint(FieldDataSet{}, a, SegmentPoint::First).problem, "点1の領域が選択されていません");
}

TEST(SegmentSampling, LinearFieldIsWrittenExactlyInXOrderWithCrLfLines) {
  AnalysisRun r = Analyze(MakeField({UnitZone(5, 5)}), Typed({3.5, 1.625}, {0.5, 0.125}));
  EXPECT_EQ(r.file.toStdString(), kHeader +
                                      "1.00000000000000E+0    3.75000000000000E-1    4.50000000000000E+0\r\n"
                                      "2.00000000000000E+0    8.75000000000000E-1    8.50000000000000E+0\r\n"
                                      "2.25000000000000E+0    1.00000000000000E+0    9.50000000000000E+0\r\n"
                                      "3.00000000000000E+0    1.37500000000000E+0    1.25000000000000E+1\r\n");
  for (auto [v, text] : {std::pair{-0.00123, "-1.23000000000000E-3"}, {2.0 / 3.0, "6.66666666666667E-1"},
                         {1e300, "1.00000000000000E+300"}, {-0.0, "0.00000000000000E+0"}})
    EXPECT_EQ(FormatSampleNumber(v), text);
}

TEST(SegmentSampling, PointsHitBySeveralEdgesAreKeptOnceWithTheFirstScannedValue) {
  const FieldDataSet data = MakeField({UnitZone(5, 5)});
  // Diagonal through four nodes: 2 + 4 + 4 + 4 edge hits, four points.
  std::vector<SegmentSample> raw;
  EXPECT_FALSE(CollectCrossings(data, 0, {0, 0}, {3, 3}, raw));
  EXPECT_EQ(raw.size(), 14u);
  ASSERT_EQ(SortAndMergeSamples(raw), 4u);
  EXPECT_TRUE(raw[2].x == 2 && raw[2].y == 2 && raw[2].value == 13);
  // Along the grid line j = 1 the edges on the line are parallel; the crossing ones meet at nodes.
  std::vector<SegmentSample> along = Samples(data, {0.5, 1}, {3.5, 1});
  ASSERT_EQ(along.size(), 3u);
  EXPECT_TRUE(along[0].x == 1 && along[1].x == 2 && along[2].x == 3);
  // A vertical segment drawn downwards is listed upwards; a zero-length one hits nothing.
  std::vector<SegmentSample> down = Samples(data, {1.5, 3.5}, {1.5, 0.5});
  ASSERT_EQ(down.size(), 3u);
  EXPECT_TRUE(down[0].y == 1 && down[1].y == 2 && down[2].y == 3);
  EXPECT_EQ(Analyze(data, Typed({1, 1}, {1, 1})).file.toStdString(), kHeader);
  // Two zones sharing the line x = 2: one point there, valued by the zone scanned first.
  testing::ZoneSpec right = UnitZone(3, 3, 2.0);
  right.rows = [](double x, double) { return std::vector<double>{100 * x}; };
  std::vector<SegmentSample> shared = Samples(MakeField({UnitZone(3, 3), right}), {0.5, 0.5}, {3.5, 0.5});
  ASSERT_EQ(shared.size(), 3u);
  EXPECT_TRUE(shared[1].x == 2 && shared[1].value == 7 && shared[2].value == 300);
}

TEST(SegmentSampling, ASegmentEndingOnANodeWritesThatNodeOnce) {
  // A sheared grid with coordinates not exact in binary; segments from scattered points to every
  // node. The edges meeting at the end node each compute the hit a little differently, but no
  // two lines of a file show one point.
  const FieldDataSet data = MakeField({{6, 6, [](int i, int j) { return std::pair{0.1 * i + 0.037 * j, 0.13 * j - 0.01 * i}; },
                                        [](double x, double y) { return std::vector<double>{x * x + y}; }}});
  auto point = [](const SegmentSample& s) { return FormatSampleNumber(s.x) + " " + FormatSampleNumber(s.y); };
  for (std::size_t n = 0; n < 36; ++n)
    for (const WorldPoint from : {WorldPoint{-0.213, 0.0917}, WorldPoint{0.7311, -0.1}, WorldPoint{0.33, 0.771}}) {
      const std::vector<SegmentSample> samples = Samples(data, from, {data.X[n], data.Y[n]});
      for (std::size_t k = 1; k < samples.size(); ++k) EXPECT_NE(point(samples[k]), point(samples[k - 1])) << n;
    }
}

TEST(SegmentSampling, CapKeepsTheFirstThousandInScanOrderAndSaysSoOnlyWhenSomethingIsLeftOut) {
  // Nodes placed right to left, so the scan meets the largest x first.
  auto row = [](int ni) {
    return MakeField({{ni, 2, [ni](int i, int j) { return std::pair{double(ni - 1 - i), double(j)}; },
                       [](double x, double) { return std::vector<double>{x}; }}});
  };
  AnalysisRun over = Analyze(row(1101), Typed({-0.5, 0.5}, {1100.5, 0.5}));
  EXPECT_TRUE(over.result.truncated && over.result.sampleCount == 1000u);
  EXPECT_EQ(over.notifier.messages, std::vector<std::string>{kTooManySamplesMessage});
  EXPECT_TRUE(over.file.contains("\r\n1.01000000000000E+2    5.00000000000000E-1    1.01000000000000E+2\r\n"));
  AnalysisRun exact = Analyze(row(1000), Typed({-0.5, 0.5}, {1100.5, 0.5}));
  EXPECT_TRUE(exact.result.sampleCount == 1000 && !exact.result.truncated && exact.notifier.messages.empty());
}

TEST(SegmentSampling, BadEndPointsVariablesAndFilesFailWithoutWritingAFile) {
  const FieldDataSet data = MakeField({UnitZone(5, 5)});
  ProgramOptions o;
  o.analysis.P1i = 5;  // the i box keeps its value when the zone changes
  AnalysisRun outside = Analyze(data, o);
  EXPECT_EQ(outside.result.status, AnalysisRunResult::Status::BadEndpoint);
  EXPECT_EQ(outside.notifier.warnings, std::vector<std::string>{"点1の格子点 (i=5, j=0) は領域 0 の範囲 (i 0..4, j 0..4) の外です"});
  EXPECT_TRUE(outside.file.isEmpty());
  o.analysis.P1i = 0, o.analysis.P2Zone = 1;
  EXPECT_EQ(Analyze(data, o).result.status, AnalysisRunResult::Status::BadEndpoint);
  for (const char* text : {"abc", "nan", "-inf", ""}) {
    ProgramOptions t = Typed({0, 0}, {1, 1});
    t.analysis.P2y = text;
    EXPECT_THROW(Analyze(data, t), CorvaneError) << text;
  }
  EXPECT_THROW(Analyze(data, Typed({0, 0}, {1, 1}), "/nonexistent-dir/out.dat"), CorvaneError);
  // Rows RGroup cannot select: nothing happens, nothing is said.
  ProgramOptions rows = Typed({0.5, 0.5}, {3.5, 3.5});
  for (int row : {-1, 1, 3}) {
    rows.RGroup = row;
    AnalysisRun n = Analyze(data, rows);
    EXPECT_TRUE(n.result.status == AnalysisRunResult::Status::NoVariable && n.file.isEmpty() &&
                n.notifier.messages.empty() && n.notifier.warnings.empty());
  }
}

TEST(SegmentSampling, BrokenDataSetsGiveOnlyFiniteSamples) {
  FieldDataSet data = MakeField({UnitZone(4, 4)});
  data.X[5] = std::nan(""), data.Y[6] = INFINITY;
  data.Zones.push_back({1000, 1000, 16});  // claims nodes the arrays do not have
  std::vector<SegmentSample> s = Samples(data, {0.5, 0.25}, {2.5, 2.75});
  EXPECT_FALSE(s.empty());
  for (const SegmentSample& p : s) EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y)) << p.x << " " << p.y;
  data.Values.resize(1);
  EXPECT_FALSE(CollectCrossings(data, 2, {0, 0}, {3, 3}, s));
  EXPECT_TRUE(s.empty());
}

}  // namespace
}  // namespace corvane
