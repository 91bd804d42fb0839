// Options for figures: smooth drawing by supersampling, and the colour bar's strip.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "TestGrids.h"
#include "TestImages.h"
#include "render/GridData.h"
#include "render/Supersample.h"
#include "scene/SceneRenderer.h"
#include "support/LayerScene.h"

namespace corvane {
namespace {

using testing::MakeZones;
using testing::PixelAt;

// Two zones of a warped 12 x 9 grid side by side, valued by `value`, fitted into 200 x 160.
SceneState WarpedScene(const std::function<double(double, double)>& value) {
  auto warped = [](double x0) {
    return testing::ZoneSpec{12, 9, [x0](int i, int j) {
                               return std::pair{x0 + i + 0.3 * std::sin(j * 0.9), j + 0.25 * std::cos((x0 + i) * 1.3)};
                             }};
  };
  SceneState s;
  s.data = MakeZones({warped(0.0), warped(11.0)}, {"f"}, [&](double x, double y) { return std::vector<double>{value(x, y)}; });
  s.fieldView.ContourMin = {0.0}, s.fieldView.ContourMax = {10.0}, s.fieldView.ContourStep = {1.0};
  s.options.load.AutoStepCheck = false;
  s.options.display.WhiteBack = true;
  s.options.display.BrushCheck = true;
  s.options.display.LineCheck = false;
  s.view.SetPictureSize(200, 160);
  FitView(s);
  return s;
}

constexpr auto Draw = testing::DrawQuietly;

}  // namespace

TEST(SmoothDrawing, AFlatFieldIsOneColourWithoutSeamsInEitherFillModeAndEdgesGetInBetweenColours) {
  for (bool bitmapMode : {true, false}) {
    SceneState s = WarpedScene([](double, double) { return 4.5; });
    s.options.display.BMPModeCheck = bitmapMode;
    s.options.display.SmoothCheck = true;
    s.fieldView.Boundaries.assign(2, BoundaryFlags{false, false, false, false});  // the zones meet unmarked
    ASSERT_TRUE(Draw(s));
    ASSERT_EQ(s.bitmap.size(), QSize(200, 160));
    const Colour band = LevelColour(5.0f, 0.0f, 10.0f, ColourMapKind::Rainbow);
    // Inside the data, away from the outer edge: every pixel is the band's colour.
    int inside = 0;
    for (int y = 0; y < 160; ++y)
      for (int x = 0; x < 200; ++x) {
        const double wx = s.view.PixelToWorldX(x + 0.5), wy = s.view.PixelToWorldY(y + 0.5);
        if (wx < 1.0 || wx > 21.0 || wy < 1.0 || wy > 7.0) continue;
        ++inside;
        ASSERT_EQ(PixelAt(s.bitmap, x, y), band) << x << "," << y << (bitmapMode ? " bitmap" : " vector");
      }
    EXPECT_GT(inside, 1000);
  }
  // Edges get in-between colours that the plain picture lacks.
  SceneState s = WarpedScene([](double x, double y) { return 0.4 * x + 0.3 * y; });
  s.options.display.LineCheck = true;
  ASSERT_TRUE(Draw(s));
  const QImage plain = s.bitmap;
  s.options.display.SmoothCheck = true;
  ASSERT_TRUE(Draw(s));
  EXPECT_GT(testing::ColoursIn(s.bitmap).size(), testing::ColoursIn(plain).size() + 20);
  // Far from every edge the two pictures agree.
  int same = 0;
  for (int y = 0; y < 160; ++y)
    for (int x = 0; x < 200; ++x) same += plain.pixel(x, y) == s.bitmap.pixel(x, y);
  EXPECT_GT(same, 200 * 160 / 2);
}

TEST(SmoothDrawing, AveragingDownRoundsEachBlockToItsMean) {
  QImage large(4, 2, QImage::Format_RGB32);
  large.setPixel(0, 0, qRgb(0, 0, 0)), large.setPixel(1, 0, qRgb(255, 255, 255));
  large.setPixel(0, 1, qRgb(255, 0, 0)), large.setPixel(1, 1, qRgb(0, 0, 1));
  for (int x = 2; x < 4; ++x)
    for (int y = 0; y < 2; ++y) large.setPixel(x, y, qRgb(10, 20, 30));
  const QImage small = AverageDown(large, 2);
  ASSERT_EQ(small.size(), QSize(2, 1));
  // (510 + 2) / 4, (255 + 2) / 4, (256 + 2) / 4, and a block of one colour keeps it
  EXPECT_EQ(std::pair(small.pixel(0, 0), small.pixel(1, 0)), std::pair(qRgb(128, 64, 64), qRgb(10, 20, 30)));
  const ViewTransform v = testing::MakeView(100, 80, 3.0, 1.0, 2.0);
  EXPECT_EQ(SupersampledView(v, 2).WorldToPixelX(5.0), 2 * v.WorldToPixelX(5.0));
}

TEST(ColourBarStrip, ThePlotAreaMakesRoomAndTheStripShowsTheBands) {
  SceneState s = WarpedScene([](double x, double) { return x / 2.2; });
  ASSERT_TRUE(Draw(s));
  const double rightWithout = s.view.WorldToPixelX(s.data.XMax);
  s.options.display.ColourBarCheck = true;
  FitView(s);
  ASSERT_TRUE(Draw(s));
  const double rightWith = s.view.WorldToPixelX(s.data.XMax);
  EXPECT_LT(rightWith, rightWithout - 20);
  // The top and bottom bands of the bar: the end colours of the map.
  std::set<Colour> strip;
  for (int y = 0; y < 160; ++y)
    for (int x = static_cast<int>(rightWith) + 4; x < 200; ++x) strip.insert(PixelAt(s.bitmap, x, y));
  EXPECT_TRUE(strip.count(LevelColour(10.0f, 0.0f, 10.0f, ColourMapKind::Rainbow)) &&
              strip.count(LevelColour(1.0f, 0.0f, 10.0f, ColourMapKind::Rainbow)));
  // A zoom rectangle dragged into the strip stops at the plot's right edge; one inside is kept.
  const auto [from, to] = ZoomCornersInPlot(s, QPoint(10, 20), QPoint(199, 100));
  EXPECT_GE(to.x(), static_cast<int>(rightWith) - 1);
  EXPECT_LT(to.x(), 199 - 20);
  EXPECT_EQ(std::pair(from, to.y()), std::pair(QPoint(10, 20), 100));
  EXPECT_EQ(ZoomCornersInPlot(s, QPoint(30, 20), QPoint(10, 5)), std::pair(QPoint(30, 20), QPoint(10, 5)));
}

TEST(MergedBands, ThePictureKeepsItsPixelsWithFarFewerShapes) {
  SceneState s = WarpedScene([](double x, double y) { return 0.4 * x + 0.3 * y + 0.5 * std::sin(x); });
  s.options.display.BMPModeCheck = false;
  ASSERT_TRUE(Draw(s));
  const QImage perTriangle = s.bitmap;
  s.options.display.MergeBandsCheck = true;
  ASSERT_TRUE(Draw(s));
  int differing = 0, painted = 0, coverage = 0;
  const QRgb white = qRgb(255, 255, 255);
  for (int y = 0; y < 160; ++y)
    for (int x = 0; x < 200; ++x) {
      // A long straight outline may step a pixel apart from the same line drawn in pieces.
      coverage += (perTriangle.pixel(x, y) == white) != (s.bitmap.pixel(x, y) == white);
      painted += perTriangle.pixel(x, y) != white;
      differing += perTriangle.pixel(x, y) != s.bitmap.pixel(x, y);
    }
  EXPECT_LT(coverage, painted / 500 + 2);
  // Only pixels on a border between two bands may take the other band's colour.
  EXPECT_LT(differing, painted / 20);
}

}  // namespace corvane
