#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "contour/BandMerge.h"
#include "render/PainterCanvas.h"

using namespace corvane;

namespace {

// A 4 x 4 board of 10-pixel squares split into triangles both ways round; the four middle
// squares are red, the rest blue, so the blue band is a ring with a hole.
template <class Draw>
void Board(Draw&& draw) {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      const Colour c = (i == 1 || i == 2) && (j == 1 || j == 2) ? MakeColour(255, 0, 0) : MakeColour(0, 0, 255);
      const int x = 5 + 10 * i, y = 5 + 10 * j;
      const QPoint a(x, y), b(x + 10, y), d(x + 10, y + 10), e(x, y + 10);
      const QPoint t1[3] = {a, b, d}, t2[3] = {a, e, d};  // one clockwise, one counter-clockwise
      draw(c, t1);
      draw(c, t2);
    }
}

QImage Rasterise(const std::function<void(QImage&)>& paint, int size = 50) {
  QImage image(size, size, QImage::Format_RGB32);
  image.fill(Qt::white);
  paint(image);
  return image;
}

}  // namespace

TEST(BandMerge, ARingBandKeepsItsHoleAndCoversThePixelsOfItsTriangles) {
  BandMergingCanvas merging;
  Board([&](Colour c, const QPoint* t) {
    merging.SetPen(c, 1);
    merging.SetBrush(c, BrushStyle::Solid);
    merging.Polygon(t, 3);
  });
  const auto loops = merging.Loops();
  ASSERT_EQ(loops.size(), 2u);
  EXPECT_EQ(loops[0].second.size(), 2u);  // blue: the outer edge and the hole
  EXPECT_EQ(loops[1].second.size(), 1u);  // red: one square
  for (const auto& [colour, rings] : loops)
    for (const auto& ring : rings) EXPECT_EQ(ring.size(), 4u) << "straight runs keep only the corners";

  const QImage perTriangle = Rasterise([](QImage& image) {
    PainterCanvas canvas(&image);
    Board([&](Colour c, const QPoint* t) {
      canvas.SetPen(c, 1);
      canvas.SetBrush(c, BrushStyle::Solid);
      canvas.Polygon(t, 3);
    });
    canvas.Finish();
  });
  const QImage merged = Rasterise([&](QImage& image) {
    QPainter painter(&image);
    merging.WriteTo(painter);
  });
  int differing = 0;
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 50; ++x) {
      ASSERT_EQ(perTriangle.pixel(x, y) == qRgb(255, 255, 255), merged.pixel(x, y) == qRgb(255, 255, 255)) << x << "," << y;
      differing += perTriangle.pixel(x, y) != merged.pixel(x, y);
    }
  // Colours may differ only where two bands meet: the outline of the hole.
  EXPECT_LE(differing, 2 * 4 * 20);
  EXPECT_EQ(std::pair(merged.pixel(25, 25), merged.pixel(8, 8)), std::pair(qRgb(255, 0, 0), qRgb(0, 0, 255)));
}

TEST(BandMerge, OverlapsAndDegeneratePolygonsStillPaint) {
  BandMergingCanvas merging;
  merging.SetBrush(kBlack, BrushStyle::Solid);
  const QPoint square[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  const QPoint flat[3] = {{0, 0}, {5, 0}, {10, 0}};
  merging.Polygon(square, 4);
  merging.Polygon(square, 4);  // the same square twice: its edges add, nothing cancels
  merging.Polygon(flat, 3);    // no area
  ASSERT_EQ(merging.Loops().size(), 1u);
  ASSERT_FALSE(merging.Loops()[0].second.empty());
  const QImage image = Rasterise([&](QImage& target) {
    QPainter painter(&target);
    merging.WriteTo(painter);
  }, 12);
  EXPECT_EQ(image.pixel(5, 5), qRgb(0, 0, 0));  // painted once, whatever the winding
}
