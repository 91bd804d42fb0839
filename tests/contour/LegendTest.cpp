// The legend picture: band colours read back from the bitmap in both orientations, backgrounds
// and the guard against unusable steps.
#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "ContourScene.h"
#include "TestImages.h"
#include "TestSupport.h"
#include "contour/Legend.h"
#include "contour/LegendOptions.h"
#include "render/PainterCanvas.h"

namespace corvane {
namespace {

using test::Rainbow;

// The colours along the bar, in order of rising level: the runs of the coloured (not grey)
// pixels of the row, or column, that has most of them.
std::vector<QRgb> BandColours(const QImage& image, LegendOrientation orientation) {
  const bool vertical = orientation == LegendOrientation::Vertical;
  const int lines = vertical ? image.width() : image.height(), length = vertical ? image.height() : image.width();
  auto at = [&](int line, int k) { return vertical ? image.pixel(line, length - 1 - k) : image.pixel(k, line); };
  auto coloured = [](QRgb c) { return qRed(c) != qGreen(c) || qGreen(c) != qBlue(c); };
  int best = 0, most = 0;
  for (int line = 0; line < lines; ++line) {
    int n = 0;
    for (int k = 0; k < length; ++k) n += coloured(at(line, k));
    if (n > most) best = line, most = n;
  }
  std::vector<QRgb> runs;
  for (int k = 0; k < length && most > 0; ++k)
    if (coloured(at(best, k)) && (runs.empty() || runs.back() != at(best, k))) runs.push_back(at(best, k));
  return runs;
}

QRgb Rgb(Colour c) { return qRgb(RedOf(c), GreenOf(c), BlueOf(c)); }

LegendOptions Options(LegendOrientation orientation, int w, int h) {
  LegendOptions o;
  o.orientation = orientation, o.LegendWidthBox = w, o.LegendHeightBox = h;
  o.font = FontSpec{"Noto Sans CJK JP", 12};
  return o;
}

// The bitmap of the legend.
QImage Legend(const LegendOptions& options, const LegendInput& input) {
  return LegendBitmap(BuildLegendPicture(options, input), options);
}

std::vector<QRgb> Levels(int from, int to, double lo, double hi) {
  std::vector<QRgb> colours;
  for (int level = from; level <= to; ++level) colours.push_back(Rgb(Rainbow(level, lo, hi)));
  return colours;
}

TEST(LegendBar, BandsTakeTheColoursOfTheirUpperLevelsInEitherOrientationAndUnusableStepsNone) {
  // Horizontal on white: the piece below the first level, then levels 1 .. 10; hi is a level,
  // so nothing lies above it.
  LegendOptions options = Options(LegendOrientation::Horizontal, 300, 60);
  QImage image = Legend(options, {0.5, 10, 1, true, ColourMapKind::Rainbow});
  ASSERT_EQ(image.size(), QSize(300, 60));
  EXPECT_EQ(BandColours(image, options.orientation), Levels(1, 10, 0.5, 10));
  EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_GT(testing::CountPixels(image, qRgb(0, 0, 0)), 100);  // the frame and the numbers
  // Vertical on black, growing upwards: lo on a level leaves no piece below it, and the last
  // band [9, 10], cut at hi, keeps its upper level's colour.
  options = Options(LegendOrientation::Vertical, 80, 200);
  image = Legend(options, {0, 9.5, 1, false, ColourMapKind::Rainbow});
  EXPECT_EQ(BandColours(image, options.orientation), Levels(1, 10, 0, 9.5));
  EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_GT(testing::CountPixels(image, qRgb(255, 255, 255)), 100);
  // Unusable steps and an empty range draw no bands but still a picture.
  options = Options(LegendOrientation::Vertical, 10, 10);
  for (double step : {0.0, -1.0, 1e-12}) {
    image = Legend(options, {0, 1, step, true, ColourMapKind::Rainbow});
    EXPECT_TRUE(BandColours(image, options.orientation).empty() && image.pixel(0, 0) == qRgb(255, 255, 255)) << step;
  }
  options = Options(LegendOrientation::Horizontal, 100, 50);
  EXPECT_TRUE(BandColours(Legend(options, {5, 5, 1, true, ColourMapKind::Rainbow}), options.orientation).empty());
}

}  // namespace
}  // namespace corvane
