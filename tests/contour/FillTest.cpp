// Filled contours: band polygons of small grids point by point, flat triangles, end colours,
// the level guard, and the direct pixel fill against QPainter's own aliased polygons.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "contour/ColorMap.h"
#include "contour/ContourFill.h"
#include "render/LoggingCanvas.h"
#include "render/PainterCanvas.h"

namespace corvane {
namespace {

// An NI x NJ single-zone grid with x = i, y = j and the given values (j fastest).
FieldDataSet Grid(int ni, int nj, const std::vector<double>& values, double min, double max, double step) {
  FieldDataSet d;
  d.ZoneCount = 1;
  ZoneGrid z;
  z.NI = ni;
  z.NJ = nj;
  z.ILineMask.assign(static_cast<std::size_t>(ni), true);
  z.JLineMask.assign(static_cast<std::size_t>(nj), true);
  d.Zones.push_back(z);
  d.NodeCount = ni * nj;
  for (int i = 0; i < ni; ++i)
    for (int j = 0; j < nj; ++j) {
      d.X.push_back(i);
      d.Y.push_back(j);
    }
  d.Values.push_back(values);
  d.ColumnCount = 3;
  d.ContourMin = {min};
  d.ContourMax = {max};
  d.ContourStep = {step};
  return d;
}

// World (0, 0) at pixel (0, scale), `scale` pixels per unit, y upwards.
ViewTransform View(double scale, int width = 200, int height = 200) {
  ViewTransform v;
  v.PictureWidth = width;
  v.PictureHeight = height;
  v.ScaleX = v.ScaleY = scale;
  v.CentrePixelX = 0;
  v.CentrePixelY = static_cast<std::int32_t>(scale);
  return v;
}

struct Scene {
  FieldDataSet data;
  ViewTransform view;
  ProgramOptions options;
  NullProgress progress;
  Random random;
  ContourReadout readout;
  LayerContext context{data, view, options, progress, random, readout};
  Scene(FieldDataSet d, ViewTransform v) : data(std::move(d)), view(v) { options.display.BrushCheck = true; }
};

std::string Hex(Colour c) {
  char text[16];
  std::snprintf(text, sizeof text, "%06X", c);
  return text;
}

// The polygons drawn, each prefixed by the brush colour it was filled with.
std::vector<std::string> Bands(Scene& scene) {
  LoggingCanvas canvas;
  DrawContourFill(scene.context, canvas, nullptr);
  std::vector<std::string> bands;
  std::string brush;
  for (const std::string& call : canvas.calls) {
    if (call.rfind("SetBrush ", 0) == 0) brush = call.substr(9, call.find(' ', 9) - 9);
    if (call.rfind("Polygon ", 0) == 0) bands.push_back(brush + " " + call.substr(8));
  }
  return bands;
}

Colour Rainbow(double v, double lo, double hi) {
  return LevelColor(static_cast<float>(v), static_cast<float>(lo), static_cast<float>(hi), ColorMapKind::Rainbow);
}

TEST(FillBands, OneCellGivesExactBandPolygonsInUpperLevelColours) {
  // Value = x on the unit square; the planar cell splits along A-C (a tie).
  Scene scene(Grid(2, 2, {0, 0, 1, 1}, 0, 1, 0.5), View(100));
  const std::string green = Hex(Rainbow(0.5, 0, 1)), red = Hex(Rainbow(1, 0, 1));
  const std::vector<std::string> expected = {
      green + " 0,0 50,0 50,50 0,100 0,0",        // (A, D, C): pentagon through M = A
      red + " 50,0 100,0 100,0 50,50",            // quadrilateral up to H = C
      green + " 0,100 50,50 50,100 0,100",        // (A, B, C): first band from L = A
      red + " 50,50 100,0 100,100 100,100 50,100"  // M = B lies on the upper level
  };
  EXPECT_EQ(Bands(scene), expected);
  EXPECT_TRUE(scene.readout.valid);
  EXPECT_EQ(scene.readout.ReadoutMax, 1.0);
}

TEST(FillBands, CrossingsRoundHalfToEvenAndFollowTheCopyOffset) {
  // At 5 pixels per unit the crossings at x = 0.5 and 1.5 fall on 2.5 and 7.5 pixels; shifted
  // by (2, -1) the crossing at y = 0.5 falls on 7.5 pixels too.
  Scene scene(Grid(3, 2, {0, 0, 1, 1, 2, 2}, 0, 2, 0.5), View(5, 50, 50));
  std::vector<std::string> bands = Bands(scene);
  ASSERT_FALSE(bands.empty());
  EXPECT_EQ(bands[0].substr(7), "0,0 2,0 2,2 0,5 0,0");  // 2.5 -> 2
  bool sawSeven = false;
  for (const std::string& b : bands) sawSeven = sawSeven || b.find(" 8,0 ") != std::string::npos;
  EXPECT_TRUE(sawSeven);  // 7.5 -> 8

  scene.context.offsetX = 2.0;
  scene.context.offsetY = -1.0;
  bands = Bands(scene);
  EXPECT_EQ(bands[0].substr(7), "10,5 12,5 12,8 10,10 10,5");
}

TEST(FillBands, ThreeByThreeGridSharesCrossingsAndIncludesMiddleVertexOnALevel) {
  // Value = i + j: the middle node (1, 1) has the value 2, exactly a level.
  std::vector<double> v;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) v.push_back(i + j);
  Scene scene(Grid(3, 3, v, 0, 4, 1), View(10, 40, 40));
  const std::vector<std::string> bands = Bands(scene);
  // Every triangle spans two bands (values differ by 2 across each, 1 along the split).
  EXPECT_EQ(bands.size(), 16u);
  // The cell from (1, 0) to (2, 1), first triangle (A, D, C) with values 1, 2, 3: the middle
  // vertex D = (1, 1) at pixel (10, 0) lies on the level 2 and belongs to both bands.
  EXPECT_EQ(bands[8], Hex(Rainbow(2, 0, 4)) + " 10,10 15,5 10,0 10,0 10,10");
  EXPECT_EQ(bands[9], Hex(Rainbow(3, 0, 4)) + " 15,5 20,0 20,0 10,0 10,0");
}

TEST(FillBands, FlatTriangles) {
  // On a level: the whole triangle in both bands beside it, the upper one last.
  Scene onLevel(Grid(2, 2, {0.5, 0.5, 0.5, 0.5}, 0, 1, 0.5), View(100));
  std::vector<std::string> bands = Bands(onLevel);
  ASSERT_EQ(bands.size(), 4u);
  EXPECT_EQ(bands[0].substr(0, 6), Hex(Rainbow(0.5, 0, 1)));
  EXPECT_EQ(bands[1].substr(0, 6), Hex(Rainbow(1.0, 0, 1)));
  EXPECT_EQ(bands[0].substr(7), "0,100 100,0 100,0 0,0 0,100");  // L = p, M = q, H = r
  EXPECT_EQ(bands[1].substr(7), bands[0].substr(7));

  // Strictly inside a band: once, in the band's upper colour.
  Scene inside(Grid(2, 2, {0.3, 0.3, 0.3, 0.3}, 0, 1, 0.5), View(100));
  bands = Bands(inside);
  ASSERT_EQ(bands.size(), 2u);
  EXPECT_EQ(bands[0].substr(0, 6), Hex(Rainbow(0.5, 0, 1)));
}

TEST(FillBands, ValuesBeyondTheRangeTakeTheEndColours) {
  // Values from -100 to 100 over a range of 0..1: far more bands than levels, merged at the ends.
  Scene scene(Grid(2, 2, {-100, -100, 100, 100}, 0, 1, 0.25), View(100));
  const std::vector<std::string> bands = Bands(scene);
  ASSERT_FALSE(bands.empty());
  EXPECT_LE(bands.size(), 16u);
  EXPECT_EQ(bands.front().substr(0, 6), Hex(MakeColour(0, 0, 255)));
  EXPECT_EQ(bands.back().substr(0, 6), Hex(MakeColour(255, 0, 0)));

  QImage image(200, 200, QImage::Format_RGB32);
  image.fill(Qt::white);
  PainterCanvas canvas(&image);
  DrawContourFill(scene.context, canvas, &image);
  canvas.Finish();
  EXPECT_EQ(image.pixel(2, 50), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(97, 50), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(150, 50), qRgb(255, 255, 255));  // outside the grid
}

TEST(FillBands, CellsWhollyBeyondTheRangeAreFilledWithTheEndColours) {
  // The first cell lies wholly below the range; the second climbs far above it.
  Scene scene(Grid(3, 2, {-50, -40, -30, -20, 70, 80}, 0, 1, 0.25), View(50));
  QImage image(200, 200, QImage::Format_RGB32);
  image.fill(Qt::white);
  PainterCanvas canvas(&image);
  DrawContourFill(scene.context, canvas, &image);
  canvas.Finish();
  EXPECT_EQ(image.pixel(10, 25), qRgb(0, 0, 255));   // first cell: all below the minimum
  EXPECT_EQ(image.pixel(90, 25), qRgb(255, 0, 0));   // second cell, where it is above the maximum
}

TEST(FillGuard, UnusableLevelsDrawNothingAndReturnAtOnce) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  struct Case {
    double min, max, step;
  } cases[] = {{0, 1, 0}, {0, 1, -0.5}, {nan, 1, 0.1}, {0, inf, 0.1}, {0, 1, nan}, {0, 1, 1e-9}, {0, 1e300, 1e-300}};
  for (const Case& c : cases) {
    Scene scene(Grid(2, 2, {0, 0, 1, 1}, c.min, c.max, c.step), View(100));
    EXPECT_TRUE(Bands(scene).empty()) << c.min << " " << c.max << " " << c.step;
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    LoggingCanvas canvas;
    DrawContourFill(scene.context, canvas, &image);
    EXPECT_EQ(image.pixel(50, 50), qRgb(255, 255, 255));
  }
  // NaN and infinite node values leave their triangles out, never hang.
  const double nanv = std::numeric_limits<double>::quiet_NaN();
  Scene bad(Grid(2, 2, {nanv, inf, -inf, 1e300}, 0, 1, 0.1), View(100));
  LoggingCanvas canvas;
  DrawContourFill(bad.context, canvas, nullptr);
  SUCCEED();
}

// Pixels set to `colour` in an image.
std::vector<bool> Covered(const QImage& image, QRgb colour) {
  std::vector<bool> set(static_cast<std::size_t>(image.width() * image.height()));
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) set[static_cast<std::size_t>(y * image.width() + x)] = image.pixel(x, y) == colour;
  return set;
}

TEST(FillPixels, CoverageMatchesQPainterWithinItsOutline) {
  const std::vector<std::vector<QPoint>> polygons = {
      {{5, 5}, {30, 8}, {12, 33}},                      // triangle with shallow and steep edges
      {{2, 2}, {40, 2}, {40, 3}, {2, 3}},               // two-row strip
      {{10, 10}, {20, 10}, {20, 10}, {25, 30}, {10, 10}},  // pentagon with a repeated point
      {{7, 7}, {8, 8}, {7, 8}},                         // tiny triangle
      {{-20, -5}, {60, 10}, {15, 70}},                  // clipped at the image border
  };
  for (const auto& poly : polygons) {
    QImage byPainter(40, 40, QImage::Format_RGB32), direct(40, 40, QImage::Format_RGB32);
    byPainter.fill(Qt::white);
    direct.fill(Qt::white);
    {
      PainterCanvas canvas(&byPainter);
      canvas.SetPen(MakeColour(255, 0, 0), 1);
      canvas.SetBrush(MakeColour(255, 0, 0), BrushStyle::Solid);
      canvas.Polygon(poly.data(), static_cast<int>(poly.size()));
      canvas.Finish();
    }
    FillPolygonPixels(direct, poly.data(), static_cast<int>(poly.size()), MakeColour(255, 0, 0));
    const std::vector<bool> a = Covered(byPainter, qRgb(255, 0, 0)), b = Covered(direct, qRgb(255, 0, 0));
    // Every difference lies next to a pixel both agree on or on the outline of the other:
    // the fills may differ only in which pixel of an edge's row they light.
    int differences = 0, total = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x) {
        const std::size_t i = static_cast<std::size_t>(y * 40 + x);
        total += a[i];
        if (a[i] == b[i]) continue;
        ++differences;
        const std::vector<bool>& other = a[i] ? b : a;
        bool near = false;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if (nx >= 0 && ny >= 0 && nx < 40 && ny < 40) near = near || other[static_cast<std::size_t>(ny * 40 + nx)];
          }
        EXPECT_TRUE(near) << "pixel " << x << "," << y << " of polygon starting " << poly[0].x() << "," << poly[0].y();
      }
    EXPECT_LE(differences, std::max(2, total / 12)) << "polygon starting " << poly[0].x() << "," << poly[0].y();
  }
}

TEST(FillPixels, DegeneratePolygonsStayOnTheirLine) {
  // A polygon folded onto a line lights only pixels next to that line; a point lights nothing,
  // as QPainter draws nothing for it.
  QImage image(40, 40, QImage::Format_RGB32);
  image.fill(Qt::white);
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
  // A smooth field on a 40 x 30 grid drawn both ways at about 3 pixels per cell.
  const int ni = 40, nj = 30;
  std::vector<double> v;
  for (int i = 0; i < ni; ++i)
    for (int j = 0; j < nj; ++j) v.push_back(std::sin(i * 0.15) * std::cos(j * 0.2) + 0.01 * i);
  Scene scene(Grid(ni, nj, v, -1, 1.4, 0.1), View(3.1, 130, 100));
  scene.view.CentrePixelY = 95;
  QImage direct(130, 100, QImage::Format_RGB32), byPainter(130, 100, QImage::Format_RGB32);
  direct.fill(Qt::white);
  byPainter.fill(Qt::white);
  {
    PainterCanvas canvas(&direct);
    DrawContourFill(scene.context, canvas, &direct);
  }
  {
    PainterCanvas canvas(&byPainter);
    DrawContourFill(scene.context, canvas, nullptr);
  }
  // Where neighbouring polygons of two colours share an edge pixel, which one wins may differ;
  // a differing pixel must still have its colour right beside it in QPainter's picture.
  int differences = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 130; ++x) {
      if (direct.pixel(x, y) == byPainter.pixel(x, y)) continue;
      ++differences;
      bool beside = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          beside = beside || (byPainter.valid(x + dx, y + dy) && byPainter.pixel(x + dx, y + dy) == direct.pixel(x, y));
      EXPECT_TRUE(beside) << x << "," << y;
    }
  EXPECT_LT(differences, 130 * 100 / 20);
  EXPECT_EQ(direct.pixel(60, 50), byPainter.pixel(60, 50));
}

}  // namespace
}  // namespace corvane
