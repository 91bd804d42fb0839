// The legend picture: band colours read back from the bitmap in both orientations, the band
// layout, backgrounds, the guard against unusable steps and saving by extension.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstdio>
#include <string>
#include <vector>

#include "ContourScene.h"
#include "TestSupport.h"
#include "contour/Legend.h"
#include "output/LegendExport.h"
#include "contour/LegendOptions.h"
#include "render/LoggingCanvas.h"
#include "render/PainterCanvas.h"

namespace corvane {
namespace {

using test::Rainbow;

struct Rect {
  int x1, y1, x2, y2;
  Colour colour;
};

// Logs the calls but measures texts as the picture's painter does, so the logged layout is the
// layout of the picture.
class MeasuredLog : public LoggingCanvas {
 public:
  int TextWidth(const std::string& text) override { return Real().TextWidth(text); }
  int TextHeight(const std::string& text) override { return Real().TextHeight(text); }

 private:
  PainterCanvas& Real() {
    real_.SetFont(Font());
    return real_;
  }
  QImage image_{1, 1, QImage::Format_RGB32};
  PainterCanvas real_{&image_};
};

// The band rectangles drawn after the background, with the brush colour of each.
std::vector<Rect> BandRects(const LegendOptions& options, const LegendInput& input) {
  MeasuredLog canvas;
  if (options.orientation == LegendOrientation::Horizontal)
    DrawHorizontalLegend(canvas, options, input);
  else
    DrawVerticalLegend(canvas, options, input);
  std::vector<Rect> rects;
  Colour brush = 0;
  for (const std::string& call : canvas.calls) {
    unsigned c = 0;
    Rect r{};
    if (std::sscanf(call.c_str(), "SetBrush %x", &c) == 1) brush = c;
    if (std::sscanf(call.c_str(), "Rectangle %d,%d %d,%d", &r.x1, &r.y1, &r.x2, &r.y2) == 4) {
      r.colour = brush;
      rects.push_back(r);
    }
  }
  if (!rects.empty()) rects.erase(rects.begin());  // the background
  return rects;
}

QRgb Rgb(Colour c) { return qRgb(RedOf(c), GreenOf(c), BlueOf(c)); }

LegendOptions Options(LegendOrientation orientation, int w, int h) {
  LegendOptions o;
  o.orientation = orientation, o.LegendWidthBox = w, o.LegendHeightBox = h;
  o.font = FontSpec{"Noto Sans CJK JP", 12};
  return o;
}

TEST(LegendBar, HorizontalBandsTakeTheColoursOfTheirUpperLevelsAsThePictureDoes) {
  const LegendOptions options = Options(LegendOrientation::Horizontal, 300, 60);
  const LegendInput input{0.5, 10, 1, true, ColourMapKind::Rainbow};
  const std::vector<Rect> rects = BandRects(options, input);
  // The piece below the first level, then levels 1 .. 10, the last cut at the bar's end.
  ASSERT_EQ(rects.size(), 11u);
  for (int n = 0; n <= 10; ++n) EXPECT_EQ(rects[static_cast<std::size_t>(n)].colour, Rainbow(n + 1, 0.5, 10)) << n;
  for (std::size_t i = 1; i < rects.size(); ++i) EXPECT_EQ(rects[i].x1, rects[i - 1].x2);  // no gaps
  EXPECT_EQ(rects.back().x1, rects.back().x2);  // hi is a level: the last band is cut to nothing

  const QImage image = LegendBitmap(BuildLegendPicture(options, input), options);
  ASSERT_EQ(image.size(), QSize(300, 60));
  EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
  for (std::size_t i = 0; i + 1 < rects.size(); ++i) {
    const Rect& r = rects[i];
    if (r.x2 - r.x1 < 3) continue;
    EXPECT_EQ(image.pixel((r.x1 + r.x2) / 2, (r.y1 + r.y2) / 2), Rgb(r.colour)) << i;
  }
  // The frame in black on the white background.
  EXPECT_EQ(image.pixel(rects[0].x1, (rects[0].y1 + rects[0].y2) / 2), qRgb(0, 0, 0));
}

TEST(LegendBar, VerticalBarGrowsUpwardsOnBlack) {
  const LegendOptions options = Options(LegendOrientation::Vertical, 80, 200);
  const LegendInput input{0, 9.5, 1, false, ColourMapKind::Rainbow};
  const std::vector<Rect> rects = BandRects(options, input);
  // lo on a level: the first piece has no height and the first visible band, [0, 1], has the
  // colour of 1.
  ASSERT_EQ(rects.size(), 11u);
  EXPECT_EQ(std::pair(rects[0].y1, rects[1].colour), std::pair(rects[0].y2, Rainbow(1, 0, 9.5)));
  EXPECT_TRUE(rects[1].y1 > rects[1].y2 && rects.back().y1 > rects.back().y2);  // from the bottom up
  // hi not on a level: the last band [9, 10] is cut at the top and keeps its upper level's colour.
  EXPECT_EQ(rects.back().colour, Rainbow(10, 0, 9.5));

  const QImage image = LegendBitmap(BuildLegendPicture(options, input), options);
  EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
  // The frame is white on black.
  EXPECT_EQ(image.pixel(rects[1].x1, (rects[1].y1 + rects[1].y2) / 2), qRgb(255, 255, 255));
}

TEST(LegendBar, UnusableStepsAndRangesDrawNoBandsButStillAPicture) {
  for (double step : {0.0, -1.0, 1e-12}) {
    const LegendOptions options = Options(LegendOrientation::Vertical, 10, 10);
    const LegendInput input{0, 1, step, true, ColourMapKind::Rainbow};
    EXPECT_TRUE(BandRects(options, input).empty()) << step;
    EXPECT_EQ(LegendBitmap(BuildLegendPicture(options, input), options).pixel(0, 0), qRgb(255, 255, 255));
  }
  const LegendInput flat{5, 5, 1, true, ColourMapKind::Rainbow};
  EXPECT_TRUE(BandRects(Options(LegendOrientation::Horizontal, 100, 50), flat).empty());
}

TEST(LegendSave, WritesTheVectorPictureAsEmf) {
  // Which extensions write which format is the picture export's, and the bitmap is the command's
  // test; here the vector picture the legend hands it.
  QTemporaryDir dir;
  const LegendOptions options = Options(LegendOrientation::Vertical, 80, 100);
  const LegendInput input{0, 10, 1, true, ColourMapKind::Rainbow};
  RecordingNotifier notifier;
  // EMF: an EMF header record first, with the picture's size in pixels.
  const QString emf = dir.filePath("g.Emf");
  ASSERT_TRUE(SaveLegendPicture(emf.toStdString(), options, input, notifier));
  const QByteArray bytes = testing::ReadFile(emf);
  ASSERT_GT(bytes.size(), 100);
  EXPECT_EQ(bytes.left(1) + bytes.mid(40, 4), QByteArray("\x01 EMF"));  // EMR_HEADER
  EXPECT_EQ(std::pair(qFromLittleEndian<qint32>(bytes.constData() + 16), qFromLittleEndian<qint32>(bytes.constData() + 20)),
            std::pair(79, 99));  // right and bottom bounds
  EXPECT_TRUE(notifier.warnings.empty());
}

}  // namespace
}  // namespace corvane
