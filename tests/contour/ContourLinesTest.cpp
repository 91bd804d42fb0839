#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

#include "ContourScene.h"
#include "TestSupport.h"
#include "contour/ColorMap.h"
#include "render/LoggingCanvas.h"

namespace corvane {
namespace {

using test::ContourScene;

// Circles around (20, 20) on 41 x 41 nodes, seen at 10 pixels per unit from pixel (0, 500).
ContourScene Circles(double step) {
  ContourScene scene(41, 41, [](int i, int j) { return (i - 20.0) * (i - 20.0) + (j - 20.0) * (j - 20.0); }, 0.0,
                     800.0, step);
  scene.view.CentrePixelY = 500;
  return scene;
}

std::vector<std::vector<QPoint>> Polylines(const LoggingCanvas& canvas) {
  std::vector<std::vector<QPoint>> lines;
  for (const std::string& call : canvas.Only({"Polyline"})) {
    std::istringstream in(call.substr(9));
    std::vector<QPoint> line;
    int x, y;
    char comma;
    while (in >> x >> comma >> y) line.emplace_back(x, y);
    lines.push_back(line);
  }
  return lines;
}

double DistanceToSegment(QPointF p, QPointF a, QPointF b) {
  const QPointF ab = b - a;
  const double len2 = QPointF::dotProduct(ab, ab);
  const double t = len2 == 0 ? 0 : std::clamp(QPointF::dotProduct(p - a, ab) / len2, 0.0, 1.0);
  const QPointF d = p - (a + t * ab);
  return std::hypot(d.x(), d.y());
}

TEST(ContourLines, DrawsEveryLevelInItsColourAndReportsTheRange) {
  ContourScene scene = Circles(100.0);
  testing::RecordingProgress status;
  LoggingCanvas canvas;
  scene.options.contour.ContLineWid = 3;
  DrawContourLines(scene.Context(status), canvas);
  EXPECT_EQ(status.statuses, (std::vector<std::string>{"等高線のメタファイルを作成中…", "メタファイル作成完了"}));
  EXPECT_TRUE(scene.readout.valid);
  EXPECT_EQ(scene.readout.ReadoutMax, 800.0);
  EXPECT_EQ(scene.readout.ReadoutMin, 0.0);
  // Levels 0 and 800 touch single nodes only (the centre, the corners): no line.
  std::vector<std::string> pens;
  for (int level = 100; level <= 700; level += 100) {
    char line[32];
    std::snprintf(line, sizeof line, "SetPen %06X 3", LevelColor(level, 0.0f, 800.0f, ColorMapKind::Rainbow));
    pens.push_back(line);
  }
  EXPECT_EQ(canvas.Only({"SetPen"}), pens);
  // The brush is hollow while the lines are drawn and solid again afterwards.
  EXPECT_EQ(canvas.CurrentBrushStyle(), BrushStyle::Solid);
}

TEST(ContourLines, FixedColourAndClosedCirclesChainIntoClosedPolylines) {
  ContourScene scene = Circles(100.0);
  scene.options.contour.FixLineColor = true;
  scene.options.contour.Shape1 = MakeColour(1, 2, 3);
  scene.options.contour.ShowLabel = false;
  LoggingCanvas canvas;
  DrawContourLines(scene.Context(), canvas);
  EXPECT_EQ(canvas.Only({"SetPen"}), (std::vector<std::string>{"SetPen 030201 1"}));
  const auto lines = Polylines(canvas);
  EXPECT_EQ(lines.front().front(), lines.front().back());  // the innermost circle, closed
  EXPECT_TRUE(canvas.Only({"TextOut"}).empty());
}

TEST(ContourLines, LabelsSitOnTheirLinesAndKeepTheirDistance) {
  ContourScene scene = Circles(50.0);
  scene.options.contour.LabelSukima = 4;
  scene.options.display.axisFont = FontSpec{"Arial", 12, kWhite, 0, false, false};
  LoggingCanvas canvas;
  canvas.SetFont(scene.options.display.axisFont);  // the renderer leaves the axis font selected
  const auto& d = scene.data;
  const ContourLevelRange range = MakeContourLevelRange(800.0, 0.0, 50.0);
  ContourSegmentStore store;
  ASSERT_TRUE(CollectContourSegments(scene.Context(), d.Values[0], 50.0, 0.0, 800.0, range, store));
  const std::vector<ContourLabel> labels = AssembleContourLines(scene.Context(), canvas, store, range, 50.0, 0.0, 800.0);
  ASSERT_GE(labels.size(), 4u);
  EXPECT_EQ(canvas.Only({"TextOut"}).size(), labels.size());
  const auto lines = Polylines(canvas);
  for (std::size_t a = 0; a < labels.size(); ++a) {
    // On a drawn line (the midpoint of the spot's neighbours, rounded) and on its own level.
    const double level = std::stod(labels[a].text);
    double nearest = 1e9;
    for (const auto& line : lines)
      for (std::size_t k = 1; k < line.size(); ++k)
        nearest = std::min(nearest, DistanceToSegment(QPointF(labels[a].x, labels[a].y), line[k - 1], line[k]));
    EXPECT_LE(nearest, 2.0) << labels[a].text;
    const double r = std::hypot(labels[a].x / 10.0 - 20.0, (500 - labels[a].y) / 10.0 - 20.0);
    EXPECT_NEAR(r, std::sqrt(level), 0.25) << labels[a].text;
    // Apart from every earlier label by the axis-font text size plus the gap.
    for (std::size_t b = 0; b < a; ++b) {
      const int w = canvas.Font().pixelHeight / 2 * static_cast<int>(labels[a].text.size());
      EXPECT_TRUE(std::abs(labels[a].x - labels[b].x) >= w + 4 || std::abs(labels[a].y - labels[b].y) >= 12 + 4);
    }
  }
  // The axis font is selected again for the layers that follow.
  EXPECT_EQ(canvas.Font(), scene.options.display.axisFont);
}

TEST(ContourLines, UnusableStepsOrRangesDrawNothingAndSaySo) {
  const double inf = std::numeric_limits<double>::infinity();
  // Which ranges are unusable is settled with the contour levels; here the lines' reaction.
  for (const auto& [min, max, step] : std::vector<std::tuple<double, double, double>>{{0, 800, 0}, {0, inf, 50}}) {
    ContourScene scene = Circles(step);
    scene.data.ContourMin = {min};
    scene.data.ContourMax = {max};
    testing::RecordingProgress status;
    LoggingCanvas canvas;
    DrawContourLines(scene.Context(status), canvas);
    EXPECT_EQ(status.statuses, std::vector<std::string>{kContourStepInvalidText}) << min << " " << max << " " << step;
    EXPECT_TRUE(canvas.calls.empty());
    EXPECT_FALSE(scene.readout.valid);
  }
}

TEST(ContourLines, NonFiniteValuesLeaveOnlyTheLinesAwayFromThem) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  ContourScene scene = Circles(100.0);
  for (double& v : scene.data.Values[0]) v = nan;
  LoggingCanvas canvas;
  DrawContourLines(scene.Context(), canvas);
  EXPECT_TRUE(canvas.Only({"Polyline"}).empty());
  ContourScene infinite = Circles(100.0);
  infinite.data.Values[0][20 * 41 + 20] = std::numeric_limits<double>::infinity();  // the centre
  LoggingCanvas some;
  DrawContourLines(infinite.Context(), some);
  EXPECT_FALSE(some.Only({"Polyline"}).empty());
}

TEST(ContourLines, AbortLeavesThePictureAndTheStatusAsTheyAre) {
  ContourScene scene = Circles(100.0);
  testing::RecordingProgress status;
  status.abort = true;
  LoggingCanvas canvas;
  DrawContourLines(scene.Context(status), canvas);
  EXPECT_EQ(status.statuses, std::vector<std::string>{"等高線のメタファイルを作成中…"});
  EXPECT_TRUE(canvas.calls.empty());
}

}  // namespace
}  // namespace corvane
