#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <functional>

#include "contour/BandMerge.h"
#include "render/PainterCanvas.h"

using namespace corvane;

namespace {

QImage Rasterise(const std::function<void(QImage&)>& paint, int size) {
  QImage image(size, size, QImage::Format_RGB32);
  image.fill(Qt::white);
  paint(image);
  return image;
}

// The merged regions written into a white size x size picture.
QImage Written(const BandMergingCanvas& merging, int size, double scale = 1.0) {
  return Rasterise([&](QImage& image) {
    QPainter painter(&image);
    merging.WriteTo(painter, scale);
  }, size);
}

// Pixels painted (not white) must agree everywhere; colours may differ only along the lines
// where two bands meet (each outline paints over its neighbour's edge). Returns the pixels
// whose colour differs.
int CompareCoverage(const QImage& perTriangle, const QImage& merged) {
  int differing = 0;
  for (int y = 0; y < perTriangle.height(); ++y)
    for (int x = 0; x < perTriangle.width(); ++x) {
      EXPECT_EQ(perTriangle.pixel(x, y) == qRgb(255, 255, 255), merged.pixel(x, y) == qRgb(255, 255, 255)) << x << "," << y;
      differing += perTriangle.pixel(x, y) != merged.pixel(x, y);
    }
  return differing;
}

// One triangle filled and outlined in colour c, as the fill layer draws it.
void Triangle(Canvas& canvas, Colour c, const QPoint* t) {
  canvas.SetPen(c, 1);
  canvas.SetBrush(c, BrushStyle::Solid);
  canvas.Polygon(t, 3);
}

}  // namespace

TEST(BandMerge, OneRegionPerConnectedPartOfABandAndPerZone) {
  // Zone 1: a 5 x 5 board of 8-pixel squares split into triangles both ways round, blue with a
  // red ring and a blue island inside it. Zone 2: a blue strip right beside it, touching its edge.
  const Colour blue = MakeColour(0, 0, 255), red = MakeColour(255, 0, 0);
  auto squares = [&](auto&& zoneStart, auto&& draw) {
    zoneStart();
    for (int i = 0; i < 5; ++i)
      for (int j = 0; j < 5; ++j) {
        const bool ring = i >= 1 && i <= 3 && j >= 1 && j <= 3 && !(i == 2 && j == 2);
        const int x = 4 + 8 * i, y = 4 + 8 * j;
        const QPoint a(x, y), b(x + 8, y), d(x + 8, y + 8), e(x, y + 8);
        const QPoint t1[3] = {a, b, d}, t2[3] = {a, e, d};  // one clockwise, one counter-clockwise
        draw(ring ? red : blue, t1);
        draw(ring ? red : blue, t2);
      }
    zoneStart();
    for (int j = 0; j < 5; ++j) {
      const QPoint a(44, 4 + 8 * j), b(52, 4 + 8 * j), d(52, 12 + 8 * j), e(44, 12 + 8 * j);
      const QPoint t1[3] = {a, b, d}, t2[3] = {a, d, e};
      draw(blue, t1);
      draw(blue, t2);
    }
  };
  BandMergingCanvas merging;
  squares([&] { merging.NewGroup(); }, [&](Colour c, const QPoint* t) { Triangle(merging, c, t); });
  const std::vector<MergedRegion> regions = merging.Regions();
  std::vector<std::pair<Colour, std::size_t>> shapes;
  for (const MergedRegion& r : regions) shapes.push_back({r.colour, r.loops.size()});
  // Zone 1: blue with its hole, the blue island on its own, the red ring with its hole; zone 2:
  // the strip, not joined to the blue of zone 1 although they touch.
  const std::vector<std::pair<Colour, std::size_t>> expected = {{blue, 2}, {blue, 1}, {red, 2}, {blue, 1}};
  EXPECT_EQ(shapes, expected);
  for (const MergedRegion& region : regions)
    for (const auto& ring : region.loops) EXPECT_EQ(ring.size(), 4u) << "straight runs keep only the corners";

  const QImage merged = Written(merging, 60);
  const QImage perTriangle = Rasterise([&](QImage& image) {
    PainterCanvas canvas(&image);
    squares([] {}, [&](Colour c, const QPoint* t) { Triangle(canvas, c, t); });
    canvas.Finish();
  }, 60);
  EXPECT_LE(CompareCoverage(perTriangle, merged), 2 * (24 + 8) * 4);
  EXPECT_EQ(merged.pixel(24, 24), qRgb(0, 0, 255)) << "the island";
  EXPECT_EQ(merged.pixel(15, 24), qRgb(255, 0, 0)) << "the ring";

  // Drawn at a finer scale and written back in pixels, the regions land where they were.
  BandMergingCanvas fine;
  squares([&] { fine.NewGroup(); }, [&](Colour c, const QPoint* t) {
    const QPoint scaled[3] = {t[0] * 4, t[1] * 4, t[2] * 4};
    Triangle(fine, c, scaled);
  });
  EXPECT_EQ(Written(fine, 60, 0.25), merged);
}

TEST(BandMerge, OverlapsAndDegeneratePolygonsStillPaint) {
  BandMergingCanvas merging;
  merging.SetBrush(kBlack, BrushStyle::Solid);
  const QPoint square[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  const QPoint flat[3] = {{0, 0}, {5, 0}, {10, 0}};
  merging.Polygon(square, 4);
  merging.Polygon(square, 4);  // the same square twice: its edges add, nothing cancels
  merging.Polygon(flat, 3);    // no area
  ASSERT_FALSE(merging.Regions().empty());
  EXPECT_EQ(Written(merging, 12).pixel(5, 5), qRgb(0, 0, 0));  // painted once, whatever the winding
}
