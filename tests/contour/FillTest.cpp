// Filled contours: band polygons of small grids point by point, flat triangles, end colours,
// the level guard, and the direct pixel fill against QPainter's own aliased polygons (the band
// polygons of a whole field carry repeated points, slivers and clipped edges).
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "ContourScene.h"
#include "support/LoggingCanvas.h"
#include "support/RecordingNotifier.h"

namespace corvane {
namespace {

using test::ContourScene;
using test::FilledBitmap;
using test::Listed;
using test::Rainbow;

// A grid of ni x nj nodes at `scale` pixels per unit (see ContourScene::Zoom), filling on.
ContourScene Scene(int ni, int nj, const std::vector<double>& values, double min, double max, double step,
                   double scale, int width = 200, int height = 200) {
  ContourScene scene(ni, nj, Listed(values, nj), min, max, step);
  scene.Zoom(scale, width, height);
  scene.options.display.BrushCheck = true;
  return scene;
}

// Node values f(i, j), listed j fastest.
std::vector<double> Values(int ni, int nj, const std::function<double(int, int)>& f) {
  std::vector<double> v;
  for (int i = 0; i < ni; ++i)
    for (int j = 0; j < nj; ++j) v.push_back(f(i, j));
  return v;
}

using testing::CountPixels;
using testing::StrayPixels;
constexpr auto White = [](int width, int height) { return testing::FilledImage(width, height); };

std::string Hex(Colour c) { return QString::asprintf("%06X", c).toStdString(); }

// The polygons drawn, each prefixed by the brush colour it was filled with.
std::vector<std::string> Bands(ContourScene& scene, double dx = 0.0, double dy = 0.0) {
  LayerContext context = scene.Context();
  context.offsetX = dx, context.offsetY = dy;
  LoggingCanvas canvas;
  DrawContourFill(context, scene.options.contour.colourMap, canvas, nullptr);
  std::vector<std::string> bands;
  std::string brush;
  for (const std::string& call : canvas.calls) {
    if (call.rfind("SetBrush ", 0) == 0) brush = call.substr(9, call.find(' ', 9) - 9);
    if (call.rfind("Polygon ", 0) == 0) bands.push_back(brush + " " + call.substr(8));
  }
  return bands;
}

TEST(FillBands, SmallGridsGiveExactBandPolygonsInUpperLevelColoursAndRoundHalfToEven) {
  // Value = x on the unit square; the planar cell splits along A-C (a tie).
  ContourScene scene = Scene(2, 2, {0, 0, 1, 1}, 0, 1, 0.5, 100);
  const std::string green = Hex(Rainbow(0.5, 0, 1)), red = Hex(Rainbow(1, 0, 1));
  const std::vector<std::string> expected = {
      green + " 0,0 50,0 50,50 0,100 0,0",        // (A, D, C): pentagon through M = A
      red + " 50,0 100,0 100,0 50,50",            // quadrilateral up to H = C
      green + " 0,100 50,50 50,100 0,100",        // (A, B, C): first band from L = A
      red + " 50,50 100,0 100,100 100,100 50,100"  // M = B lies on the upper level
  };
  EXPECT_EQ(Bands(scene), expected);

  // At 5 pixels per unit the crossings at x = 0.5 and 1.5 fall on 2.5 and 7.5 pixels; shifted
  // by (2, -1) the crossing at y = 0.5 falls on 7.5 pixels too.
  ContourScene wider = Scene(3, 2, {0, 0, 1, 1, 2, 2}, 0, 2, 0.5, 5, 50, 50);
  std::vector<std::string> bands = Bands(wider);
  ASSERT_FALSE(bands.empty());
  EXPECT_EQ(bands[0].substr(7), "0,0 2,0 2,2 0,5 0,0");  // 2.5 -> 2
  EXPECT_TRUE(std::any_of(bands.begin(), bands.end(), [](const std::string& b) { return b.find(" 8,0 ") != std::string::npos; }));  // 7.5 -> 8
  EXPECT_EQ(Bands(wider, 2.0, -1.0)[0].substr(7), "10,5 12,5 12,8 10,10 10,5");

  // Value = i + j on 3 x 3 nodes: the middle node (1, 1) has the value 2, exactly a level.
  ContourScene nine = Scene(3, 3, Values(3, 3, [](int i, int j) { return i + j; }), 0, 4, 1, 10, 40, 40);
  bands = Bands(nine);
  // Every triangle spans two bands (values differ by 2 across each, 1 along the split).
  EXPECT_EQ(bands.size(), 16u);
  // The cell from (1, 0) to (2, 1), first triangle (A, D, C) with values 1, 2, 3: the middle
  // vertex D = (1, 1) at pixel (10, 0) lies on the level 2 and belongs to both bands.
  EXPECT_EQ(bands[8], Hex(Rainbow(2, 0, 4)) + " 10,10 15,5 10,0 10,0 10,10");
  EXPECT_EQ(bands[9], Hex(Rainbow(3, 0, 4)) + " 15,5 20,0 20,0 10,0 10,0");
}

TEST(FillBands, FlatTrianglesFillTheirBandsAndValuesBeyondTheRangeTakeTheEndColours) {
  // On a level: the whole triangle in both bands beside it, the upper one last.
  ContourScene onLevel = Scene(2, 2, {0.5, 0.5, 0.5, 0.5}, 0, 1, 0.5, 100);
  std::vector<std::string> bands = Bands(onLevel);
  ASSERT_EQ(bands.size(), 4u);
  const std::string first = "0,100 100,0 100,0 0,0 0,100";  // L = p, M = q, H = r
  EXPECT_EQ((std::vector<std::string>{bands[0], bands[1]}),
            (std::vector<std::string>{Hex(Rainbow(0.5, 0, 1)) + " " + first, Hex(Rainbow(1.0, 0, 1)) + " " + first}));

  // Strictly inside a band: once, in the band's upper colour.
  ContourScene inside = Scene(2, 2, {0.3, 0.3, 0.3, 0.3}, 0, 1, 0.5, 100);
  bands = Bands(inside);
  ASSERT_EQ(bands.size(), 2u);
  EXPECT_EQ(bands[0].substr(0, 6), Hex(Rainbow(0.5, 0, 1)));

  // Values from -100 to 100 over a range of 0..1: far more bands than levels, merged at the ends.
  ContourScene scene = Scene(2, 2, {-100, -100, 100, 100}, 0, 1, 0.25, 100);
  EXPECT_LE(Bands(scene).size(), 16u);
  QImage image = FilledBitmap(scene);  // x = 150 lies outside the grid
  EXPECT_EQ((std::vector<QRgb>{image.pixel(2, 50), image.pixel(97, 50), image.pixel(150, 50)}),
            (std::vector<QRgb>{qRgb(0, 0, 255), qRgb(255, 0, 0), qRgb(255, 255, 255)}));
  // The first cell lies wholly below the range; the second climbs far above it.
  ContourScene cells = Scene(3, 2, {-50, -40, -30, -20, 70, 80}, 0, 1, 0.25, 50);
  image = FilledBitmap(cells);
  EXPECT_EQ(std::pair(image.pixel(10, 25), image.pixel(90, 25)), std::pair(qRgb(0, 0, 255), qRgb(255, 0, 0)));
}

TEST(FillGuard, UnusableLevelsAndNonFiniteValuesDrawNothing) {
  // The level range itself is checked case by case with the contour levels; here the fill's
  // own early return, in both drawing modes.
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  for (double step : {0.0, nan}) {
    ContourScene scene = Scene(2, 2, {0, 0, 1, 1}, 0, 1, step, 100);
    EXPECT_TRUE(Bands(scene).empty()) << step;
    EXPECT_EQ(FilledBitmap(scene).pixel(50, 50), qRgb(255, 255, 255)) << step;
  }
  // NaN and infinite node values leave their triangles out, never hang.
  ContourScene bad = Scene(2, 2, {nan, inf, -inf, 1e300}, 0, 1, 0.1, 100);
  EXPECT_TRUE(Bands(bad).empty());
  ContourScene oneInfinite = Scene(2, 2, {0, 0, 1, inf}, 0, 1, 0.5, 100);
  const std::vector<std::string> bands = Bands(oneInfinite);
  EXPECT_FALSE(bands.empty());  // the triangle away from it is filled, with no far-off points
  for (const std::string& b : bands) EXPECT_EQ(b.find("1073741824"), std::string::npos) << b;
}

TEST(FillPixels, DegeneratePolygonsStayOnTheirLine) {
  // A polygon folded onto a line lights only pixels next to that line; a point lights nothing,
  // as QPainter draws nothing for it.
  QImage image = White(40, 40);
  const QPoint line[4] = {{3, 30}, {36, 12}, {36, 12}, {3, 30}};
  FillPolygonPixels(image, line, 4, kBlack);
  int lit = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      if (image.pixel(x, y) != qRgb(0, 0, 0)) continue;
      ++lit;
      const double distance = std::fabs(18.0 * (x + 0.5 - 3) + 33.0 * (y + 0.5 - 30)) / std::hypot(18.0, 33.0);
      EXPECT_LT(distance, 1.2) << x << "," << y;
    }
  EXPECT_GE(lit, 34);
  image.fill(Qt::white);
  const QPoint point[3] = {{20, 20}, {20, 20}, {20, 20}};
  FillPolygonPixels(image, point, 3, kBlack);
  EXPECT_EQ(image.pixel(20, 20), qRgb(255, 255, 255));
}

TEST(FillPixels, BitmapModeMatchesPolygonsDrawnByQPainter) {
  // A smooth field on a 40 x 30 grid drawn both ways at about 3 pixels per cell, reaching past
  // the top and right edges of the picture.
  const std::vector<double> v = Values(40, 30, [](int i, int j) { return std::sin(i * 0.15) * std::cos(j * 0.2) + 0.01 * i; });
  ContourScene scene = Scene(40, 30, v, -1, 1.4, 0.1, 3.1, 130, 100);
  scene.view.CentrePixelX = 15, scene.view.CentrePixelY = 85;
  const QImage direct = FilledBitmap(scene, 130, 100);
  QImage byPainter = White(130, 100);
  {
    PainterCanvas canvas(&byPainter);
    DrawContourFill(scene.Context(), scene.options.contour.colourMap, canvas, nullptr);
  }
  // Where neighbouring polygons of two colours share an edge pixel, which one wins may differ.
  EXPECT_LT(StrayPixels(direct, byPainter), 130 * 100 / 20);
  EXPECT_LT(StrayPixels(byPainter, direct), 130 * 100 / 20);
  EXPECT_EQ(direct.pixel(60, 50), byPainter.pixel(60, 50));
}

TEST(FillPixels, TwoThreadsPaintExactlyWhatOneThreadPaints) {
  // Enough nodes for the split; cells small, and cells larger than a stripe boundary's slack,
  // with most of the grid beyond the picture at the larger scale.
  const std::vector<double> v = Values(80, 70, [](int i, int j) { return std::sin(i * 0.21) * std::cos(j * 0.17) + 0.02 * j; });
  for (double scale : {3.7, 23.0}) {
    SCOPED_TRACE(scale);
    ContourScene scene = Scene(80, 70, v, -1, 2.4, 0.1, scale, 300, 290);
    scene.view.CentrePixelY = 280;
    QImage images[2];
    for (int threads : {1, 2}) {
      scene.readout = ContourReadout{};
      QImage& image = images[threads - 1];
      image = White(300, 290);
      PainterCanvas canvas(&image);
      DrawContourFill(scene.Context(), scene.options.contour.colourMap, canvas, &image, threads);
      canvas.Finish();
      EXPECT_TRUE(scene.readout.valid && scene.readout.ReadoutMax == 2.4);
    }
    EXPECT_EQ(images[0], images[1]);
    EXPECT_GT(CountPixels(images[1], qRgb(255, 255, 255)), 0);  // the grid does not cover it all
  }
}

TEST(FillPixels, TrianglesBelowAHundredthOfAPixelStillPaintTheirPixels) {
  // Two pixels of sub-pixel rows between ordinary ones leave no hole: filled by one thread or
  // by two (pixel for pixel the same), and in vector mode through the bitmap laid under the
  // polygons of the scene.
  ContourScene scene = test::ThinRowScene();
  auto holes = [](const QImage& image) { return CountPixels(image.copy(4, 34, 14, 58), qRgb(255, 255, 255)); };
  QImage images[2];
  for (int threads : {1, 2}) {
    QImage& image = images[threads - 1];
    image = White(24, 140);
    PainterCanvas canvas(&image);
    DrawContourFill(scene.Context(), scene.options.contour.colourMap, canvas, &image, threads);
  }
  EXPECT_EQ(holes(images[0]), 0);
  EXPECT_EQ(images[0], images[1]);

  SceneState state;
  std::tie(state.data, state.fieldView, state.view, state.options) =
      std::tie(scene.data, scene.fieldView, scene.view, scene.options);
  state.options.display.WhiteBack = true, state.options.display.BMPModeCheck = state.options.display.LineCheck = false;
  NullProgress progress;
  RecordingNotifier notifier;
  ASSERT_TRUE(DrawScene(state, progress, notifier));
  EXPECT_EQ(holes(state.bitmap), 0);
}

}  // namespace
}  // namespace corvane
