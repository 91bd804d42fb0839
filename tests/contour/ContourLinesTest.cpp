#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "ContourScene.h"
#include "TestImages.h"
#include "TestSupport.h"
#include "render/PainterCanvas.h"
#include "support/LoggingCanvas.h"

namespace corvane {
namespace {

using test::ContourScene;

// Circles around (20, 20) on 41 x 41 nodes, seen at 10 pixels per unit from pixel (0, 500).
ContourScene Circles(double step) {
  ContourScene scene(41, 41, [](int i, int j) { return (i - 20.0) * (i - 20.0) + (j - 20.0) * (j - 20.0); }, 0.0, 800.0, step);
  scene.view.CentrePixelY = 500;
  return scene;
}

// The calls of the scene's contour lines.
LoggingCanvas Drawn(ContourScene& scene) {
  LoggingCanvas canvas;
  DrawContourLines(scene.Context(), scene.options.contour, canvas);
  return canvas;
}

// The colours the scene's contour lines put into a white picture, white left out.
std::set<QRgb> LineColours(ContourScene& scene) {
  QImage image = testing::FilledImage(1000, 1000);
  PainterCanvas canvas(&image);
  DrawContourLines(scene.Context(), scene.options.contour, canvas);
  canvas.Finish();
  std::set<QRgb> colours = testing::ColoursIn(image);
  colours.erase(qRgb(255, 255, 255));
  return colours;
}

TEST(ContourLines, DrawsEveryLevelInItsColourOrOneFixedColourAndReportsTheRange) {
  ContourScene scene = Circles(100.0);
  scene.options.contour.ContLineWid = 3;
  scene.options.contour.ShowLabel = false;
  // Levels 0 and 800 touch single nodes only (the centre, the corners): no line of theirs.
  std::set<QRgb> levels;
  for (int level = 100; level <= 700; level += 100) levels.insert(ToQColor(test::Rainbow(level, 0, 800)).rgb());
  EXPECT_EQ(LineColours(scene), levels);
  EXPECT_TRUE(scene.readout.valid && scene.readout.ReadoutMax == 800.0);
  // The brush is hollow while the lines are drawn and solid again afterwards.
  EXPECT_EQ(Drawn(scene).CurrentBrushStyle(), BrushStyle::Solid);

  ContourOptions& o = scene.options.contour = ContourOptions{};
  o.FixLineColor = true, o.fixedLineColour = MakeColour(1, 2, 3), o.ShowLabel = false;
  EXPECT_EQ(LineColours(scene), std::set<QRgb>{qRgb(1, 2, 3)});
}

TEST(ContourLines, LabelsSitOnTheCirclesOfTheirLevels) {
  ContourScene scene = Circles(50.0);
  scene.options.contour.labelGap = 4;
  LoggingCanvas canvas;
  const auto& d = scene.data;
  const ContourLevelRange range = MakeContourLevelRange(800.0, 0.0, 50.0);
  ContourSegmentStore store;
  ASSERT_TRUE(CollectContourSegments(scene.Context(), d.Values[0], 50.0, 0.0, 800.0, range, store));
  const std::vector<ContourLabel> labels = AssembleContourLines(scene.Context(), scene.options.contour, canvas, store, range, 50.0, 0.0, 800.0);
  ASSERT_GE(labels.size(), 4u);
  EXPECT_EQ(canvas.Only({"TextOut"}).size(), labels.size());
  for (const ContourLabel& label : labels) {
    // On the circle of its own level (the midpoint of the spot's neighbours, rounded).
    const double r = std::hypot(label.x / 10.0 - 20.0, (500 - label.y) / 10.0 - 20.0);
    EXPECT_NEAR(r, std::sqrt(std::stod(label.text)), 0.25) << label.text;
  }
}

TEST(ContourLines, UnusableStepsOrRangesAndAbortDrawNothingAndNonFiniteValuesOnlyTheirOwnLines) {
  const double inf = std::numeric_limits<double>::infinity();
  // Which ranges are unusable is settled with the contour levels; here the lines' reaction. An
  // abort leaves the status as it is.
  const std::string started = "等高線のメタファイルを作成中…";
  const struct {
    double min, max, step;
    bool abort;
    std::string status;
  } cases[] = {{0, 800, 0, false, kContourStepInvalidText}, {0, inf, 50, false, kContourStepInvalidText},
               {0, 800, 100, true, started}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.min << " " << c.max << " " << c.step << " " << c.abort);
    ContourScene scene = Circles(c.step);
    scene.fieldView.ContourMin = {c.min}, scene.fieldView.ContourMax = {c.max};
    testing::RecordingProgress status;
    status.abort = c.abort;
    LoggingCanvas canvas;
    DrawContourLines(scene.Context(status), scene.options.contour, canvas);
    EXPECT_EQ(status.statuses, std::vector<std::string>{c.status});
    EXPECT_TRUE(canvas.calls.empty() && (c.abort || !scene.readout.valid));
  }
  // Non-finite values leave only the lines away from them.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  ContourScene scene = Circles(100.0);
  for (double& v : scene.data.Values[0]) v = nan;
  EXPECT_TRUE(Drawn(scene).Only({"Polyline"}).empty());
  ContourScene infinite = Circles(100.0);
  infinite.data.Values[0][20 * 41 + 20] = std::numeric_limits<double>::infinity();  // the centre
  EXPECT_FALSE(Drawn(infinite).Only({"Polyline"}).empty());
}

}  // namespace
}  // namespace corvane
