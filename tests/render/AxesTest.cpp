#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

#include "TestGrids.h"
#include "TestImages.h"
#include "render/PainterCanvas.h"
#include "render/Axes.h"
#include "scene/SceneRenderer.h"
#include "support/LayerScene.h"
#include "support/LoggingCanvas.h"
#include "support/RecordingNotifier.h"

using namespace corvane;

namespace {

// A white-background picture fitted to x in [0, 10], y in [0, 2] with room for the axes; the
// logging canvas measures 8 x 16 pixels per character in the default 16-pixel axis font.
struct AxesScene : corvane::testing::LayerScene {
  LoggingCanvas canvas;
  RecordingNotifier notifier;
  Extents extents{0, 10, 0, 2};

  AxesScene() {
    view = {};
    view.SetPictureSize(500, 300);
    view.Rescale(extents, true, true, {}, [](const std::string& t) { return TextSize{static_cast<int>(t.size()) * 8, 16}; });
    options.display.XTitleBox = "x [m]", options.display.YTitleBox = "y [m]";
  }

  std::vector<std::string> Draw() {
    LayerContext context = Context();
    context.foreground = kBlack, context.background = kWhite;
    DrawAxes(canvas, context, extents, &notifier);
    return canvas.calls;
  }

  // The axes drawn over a grey picture, so the blanked margins show.
  QImage Picture() {
    QImage image = corvane::testing::FilledImage(view.PictureWidth, view.PictureHeight, Qt::gray);
    PainterCanvas painter(&image);
    LayerContext context = Context();
    context.foreground = kBlack, context.background = kWhite;
    DrawAxes(painter, context, extents, &notifier);
    painter.Finish();
    return image;
  }
};

const QRgb kBlackPixel = qRgb(0, 0, 0), kWhitePixel = qRgb(255, 255, 255), kGreyPixel = QColor(Qt::gray).rgb();

}  // namespace

TEST(AxisTickStep, PicksOneTwoOrFiveTimesAPowerOfTen) {
  for (auto [lo, hi, step] : {std::tuple{0.0, 1.0, 0.2}, {0.0, 47.0, 10.0}, {0.0, 12.0, 2.0}, {0.0, 5.0, 1.0},
                               {1e-6, 3e-6, 5e-7}})
    EXPECT_DOUBLE_EQ(AxisTickStep(lo, hi), step) << lo << ".." << hi;
  RecordingNotifier n;
  EXPECT_EQ(std::pair(AxisTickStep(3, 2, &n), AxisTickStep(std::nan(""), 2, &n)), std::pair(1.0, 1.0));
  EXPECT_EQ(n.warnings, (std::vector<std::string>(2, "軸の大小が不正です")));
  // Extreme but valid ranges still give a finite step no wider than the range.
  for (auto [lo, hi] : {std::pair{-1e308, 1e308}, {0.0, 1e-300}, {0.0, 1e-320}}) {
    double s = AxisTickStep(lo, hi, &n);
    EXPECT_TRUE(std::isfinite(s) && s > 0 && s <= hi - lo) << hi;
  }
}

TEST(DrawAxes, DrawsFrameTicksNumbersAndTitlesWhereExpectedAndMovesInsideTheMarginWhenDataReachIntoIt) {
  AxesScene scene;
  // The fit leaves room for the numbers: y labels "2" and "0" are 8 wide, so the left margin is
  // 8 + 14 + 4 + 16 + 12; x labels are 16 high, so the bottom one is 62.
  ASSERT_EQ(std::pair(scene.view.AxisMarginLeft, scene.view.AxisMarginBottom), std::pair(54, 62));
  scene.Draw();
  EXPECT_EQ(scene.canvas.Only({"TextOut"}), (std::vector<std::string>{
                                                "TextOut 91,169 0", "TextOut 164,169 2", "TextOut 237,169 4",
                                                "TextOut 309,169 6", "TextOut 382,169 8", "TextOut 451,169 10",
                                                "TextOut 73,147 0", "TextOut 57,129 0.5", "TextOut 73,111 1",
                                                "TextOut 57,93 1.5", "TextOut 73,75 2", "TextOut 257,189 x [m]",
                                                "TextOut 33,139 y [m]"}));
  // The y title is written turned by 90 degrees, then the axis font comes back.
  EXPECT_EQ(std::count(scene.canvas.calls.begin(), scene.canvas.calls.end(), "SetFont Arial 16 000000 900"), 1);
  EXPECT_EQ(scene.canvas.Font().angleTenths, 0);
  EXPECT_TRUE(scene.notifier.warnings.empty());
  // In the picture: margins and the area beyond the visible range blanked white, the data box
  // (x from 54 to 459, y from 83 to 237) left alone; the y axis 10 pixels left of x = 0
  // (column 95) up to y = 2 (row 83), the x axis 10 pixels below y = 0 (row 155) up to x = 10.
  const QImage image = scene.Picture();
  const std::pair<QPoint, QRgb> pixels[] = {
      {{20, 150}, kWhitePixel}, {{250, 280}, kWhitePixel}, {{480, 150}, kWhitePixel}, {{250, 40}, kWhitePixel},
      {{250, 120}, kGreyPixel}, {{85, 120}, kBlackPixel},  {{85, 84}, kBlackPixel},   {{85, 80}, kWhitePixel},
      {{300, 165}, kBlackPixel}, {{458, 165}, kBlackPixel}, {{470, 165}, kWhitePixel}};
  for (const auto& [at, colour] : pixels) EXPECT_EQ(image.pixel(at), colour) << at.x() << "," << at.y();
  // Zoomed in, the column of x = 0 is far left of the margin: the axes move inside it, the y
  // axis to 54 - 10, the x axis to 300 - 62 + 10, from the margin edge on.
  scene.view.ZoomAt(scene.view.CentrePixelX, scene.view.CentrePixelY, 4.0);
  const QImage zoomed = scene.Picture();
  EXPECT_EQ((std::vector<QRgb>{zoomed.pixel(44, 150), zoomed.pixel(55, 248), zoomed.pixel(300, 248), zoomed.pixel(50, 248)}),
            (std::vector<QRgb>{kBlackPixel, kBlackPixel, kBlackPixel, kWhitePixel}));
}

TEST(DrawAxes, SkipsNumbersThatOverlapButKeepsEveryTick) {
  AxesScene scene;
  scene.view = {};
  scene.view.SetPictureSize(200, 100);
  scene.view.CentrePixelX = 4;  // x = 0 at column 4, one pixel per unit, no margins
  scene.extents = {0, 100, 0, 10};
  scene.options.display.XTitleBox = scene.options.display.YTitleBox = "";
  scene.options.display.numberFormat.style = NumberStyle::Exponent;  // "4.0000E+1": 72 pixels
  std::vector<std::string> xNumbers, xTicks;
  for (const std::string& c : scene.Draw()) {
    if (c.rfind("TextOut", 0) == 0 && c.find(",64 ") != std::string::npos) xNumbers.push_back(c);
    if (c.rfind("LineTo", 0) == 0 && c.find(",55") != std::string::npos) xTicks.push_back(c);
  }
  EXPECT_EQ(xTicks.size(), 6u);  // 0, 20, ... 100
  EXPECT_EQ(xNumbers, (std::vector<std::string>{"TextOut 8,64 4.0000E+1"}));

  // The first number needs its left edge at column 1 or more.
  scene.options.display.numberFormat.style = NumberStyle::General;
  for (int centre : {4, 5}) {
    scene.canvas.Clear();
    scene.view.CentrePixelX = centre;
    const std::vector<std::string> calls = scene.Draw();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "TextOut 1,64 0"), centre == 5 ? 1 : 0);
  }
}


TEST(DrawAxes, UnusableViewsAndExtentsDrawABoundedFrame) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  for (Extents e : {Extents{nan, nan, nan, nan}, Extents{-inf, inf, -inf, inf}, Extents{0, 0, 0, 0},
                    Extents{-1e308, 1e308, 5, 5}}) {
    AxesScene scene;
    scene.extents = e;
    EXPECT_LT(scene.Draw().size(), 100u);
  }
  AxesScene far;
  far.view.CentreX = 1e6;  // the view shows none of the data
  far.Draw();
  EXPECT_FALSE(far.notifier.warnings.empty());
  AxesScene empty;
  empty.view = {};
  empty.extents = {-1, 1, -1, 1};
  EXPECT_LT(empty.Draw().size(), 100u);
}
