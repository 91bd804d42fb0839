// The painter canvas: exact pixel colours without antialiasing, GDI-like extents, text boxes and
// turned text.
#include <QBuffer>
#include <QImage>
#include <QPicture>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <gtest/gtest.h>

#include <tuple>

#include "GridData.h"
#include "TestImages.h"
#include "render/PainterCanvas.h"
#include "render/SubpixelCanvas.h"

namespace corvane {
namespace {

QImage Blank(int w, int h, Colour c = kBlack) { return testing::FilledImage(w, h, ToQColor(c)); }
int CountColour(const QImage& image, Colour c) { return testing::CountPixels(image, ToQColor(c).rgb()); }
constexpr auto At = testing::PixelAt;

// A move to the first point and lines through the others.
void Path(Canvas& canvas, std::initializer_list<QPoint> points) {
  canvas.MoveTo(points.begin()->x(), points.begin()->y());
  for (const QPoint* p = points.begin() + 1; p != points.end(); ++p) canvas.LineTo(p->x(), p->y());
}

TEST(PainterCanvas, LinesLightExactPixelsWithoutBlendingLeavingOutTheEndPixelAndRectanglesExactlyTheirBox) {
  QImage image = Blank(20, 20);
  {
    PainterCanvas canvas(&image);
    canvas.SetPen(MakeColour(255, 0, 0), 1);
    Path(canvas, {{2, 3}, {12, 3}, {12, 10}});
    Path(canvas, {{1, 15}, {9, 19}});  // a slanted line: no blended edge colours
  }
  const Colour red = MakeColour(255, 0, 0);
  // (12, 3) is the corner, drawn by the second segment; the last pixel of a run stays out.
  for (auto [x, y, c] : {std::tuple{2, 3, red}, {11, 3, red}, {12, 3, red}, {12, 9, red}, {12, 10, kBlack}, {1, 3, kBlack}})
    EXPECT_EQ(At(image, x, y), c) << x << "," << y;
  EXPECT_EQ(CountColour(image, red) + CountColour(image, kBlack), 20 * 20);
  // A rectangle covers exactly its box, and a hollow brush keeps the inside.
  image = Blank(30, 20);
  {
    PainterCanvas canvas(&image);
    canvas.SetBrush(kWhite, BrushStyle::Solid);
    canvas.SetPen(kWhite, 1);
    canvas.Rectangle(0, 0, 30, 20);
    canvas.SetPen(MakeColour(0, 0, 255), 1);
    canvas.SetBrushStyle(BrushStyle::Hollow);
    canvas.Rectangle(5, 5, 15, 10);
  }
  EXPECT_EQ(CountColour(image, kWhite) + CountColour(image, MakeColour(0, 0, 255)), 600);
  const Colour blue = MakeColour(0, 0, 255);
  for (auto [x, y, c] : {std::tuple{5, 5, blue}, {14, 9, blue}, {15, 9, kWhite}, {10, 7, kWhite}})
    EXPECT_EQ(At(image, x, y), c) << x << "," << y;
}

TEST(PainterCanvas, TextOutFillsItsBoxWithASolidBrushOnlyTurnsCounterClockwiseAndFindsJapaneseGlyphs) {
  QImage image = Blank(200, 200);
  int w = 0, h = 0;
  {
    PainterCanvas canvas(&image);
    FontSpec font;
    font.colour = kWhite;
    canvas.SetFont(font);
    w = canvas.TextWidth("x [m]"), h = canvas.TextHeight("x [m]");
    canvas.SetBrush(MakeColour(0, 255, 0), BrushStyle::Solid);
    canvas.TextOut(10, 10, "x [m]");
    canvas.SetBrushStyle(BrushStyle::Hollow);
    font.angleTenths = 900;
    canvas.SetFont(font);
    canvas.TextOut(100, 150, "y [m]");  // reads upwards from (100, 150)
  }
  ASSERT_TRUE(w > 10 && h >= 16);
  const Colour green = MakeColour(0, 255, 0);
  EXPECT_EQ((std::vector<Colour>{At(image, 10, 10), At(image, 9 + w, 9 + h), At(image, 10 + w, 10 + h)}),
            (std::vector<Colour>{green, green, kBlack}));
  // The turned text lies above and right of its origin, within one line height.
  int lit = 0, stray = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 60; x < 200; ++x) {
      if (At(image, x, y) == kBlack) continue;
      if (x >= 100 && x < 100 + h && y < 150 && y > 150 - 2 * w) ++lit; else ++stray;
    }
  EXPECT_GT(lit, 20);
  EXPECT_EQ(stray, 0);

  // Japanese text finds glyphs.
  image = Blank(200, 40, kWhite);
  {
    PainterCanvas canvas(&image);
    FontSpec font;
    font.colour = kBlack;
    canvas.SetFont(font);
    canvas.SetBrushStyle(BrushStyle::Hollow);
    EXPECT_GT(canvas.TextWidth("等高線表示"), 5 * 10);
    canvas.TextOut(2, 2, "等高線表示");
  }
  // Missing glyphs would be empty boxes: a handful of outline pixels, not full strokes.
  EXPECT_GT(200 * 40 - CountColour(image, kWhite), 250);
}

TEST(PainterCanvas, DirectLinesLightTheStartButNotTheEndAndClipLinesFromFarAway) {
  QImage image = Blank(50, 40);
  {
    PainterCanvas canvas(&image);
    canvas.SetDirectLines(true);
    canvas.SetPen(kWhite, 1);
    Path(canvas, {{5, 5}, {15, 5}, {15, 12}, {9, 6}});  // the last piece at 45 degrees
    Path(canvas, {{-1000000000, 30}, {1000000000, 30}});
    Path(canvas, {{40, -500000000}, {40, 1000}});
    Path(canvas, {{0, 39}, {10, 34}});
  }
  // (9, 6) ends the 45-degree run; on the last line half a pixel rounds up: 2 * 5 / 10 = 1.
  for (auto [x, y, c] : {std::tuple{5, 5, kWhite}, {14, 5, kWhite}, {15, 5, kWhite}, {15, 11, kWhite}, {12, 9, kWhite},
                         {10, 7, kWhite}, {9, 6, kBlack}, {4, 5, kBlack}, {0, 39, kWhite}, {2, 38, kWhite}, {10, 34, kBlack}})
    EXPECT_EQ(At(image, x, y), c) << x << "," << y;
  for (int x = 0; x < 50; ++x) EXPECT_EQ(At(image, x, 30), kWhite) << x;
  for (int y = 0; y < 40; ++y) EXPECT_EQ(At(image, 40, y), kWhite) << y;
  EXPECT_EQ(CountColour(image, kWhite), 10 + 7 + 6 + 50 + 40 - 1 + 10);
}

TEST(SubpixelCanvas, ChainsMeetingSegmentsAndWritesFractionsOfAPixel) {
  QPicture picture;
  {
    PainterCanvas target(&picture);
    SubpixelCanvas fine(target, 32);
    // Three pieces meeting end to start (move/line pairs and a polyline) make one polyline.
    fine.MoveTo(0, 0);
    fine.LineTo(16, 8);
    fine.MoveTo(16, 8);
    fine.LineTo(33, 8);
    const QPoint tail[2] = {{33, 8}, {40, 40}};
    fine.Polyline(tail, 2);
    fine.MoveTo(320, 320);  // a gap starts another
    fine.LineTo(352, 320);
    EXPECT_EQ(fine.TextWidth("abc"), 32 * target.TextWidth("abc"));
    fine.Flush();
    target.Finish();
  }
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(QSize(20, 20));
  QPainter painter(&svg);
  painter.drawPicture(0, 0, picture);
  painter.end();
  QStringList lines;
  const QRegularExpression polyline("<polyline[^>]*points=\"([^\"]*)\"");
  for (auto it = polyline.globalMatch(QString::fromUtf8(buffer.data())); it.hasNext();) lines << it.next().captured(1).trimmed();
  EXPECT_EQ(lines, QStringList({"0,0 0.5,0.25 1.03125,0.25 1.25,1.25", "10,10 11,10"}));
}

}  // namespace
}  // namespace corvane
