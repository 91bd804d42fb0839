#include <gtest/gtest.h>

#include <QImage>

#include "contour/ColourBar.h"
#include "render/PainterCanvas.h"

using namespace corvane;

namespace {

// Seven pixels a character, twelve rows a line: a stand-in font for the layout.
std::pair<int, int> FixedMeasure(const std::string& s) { return {7 * static_cast<int>(s.size()), 12}; }

ColourBarInput Input(double lo, double hi, double step) {
  ColourBarInput in;
  in.lo = lo, in.hi = hi, in.step = step;
  in.title = "Mach";
  in.foreground = kBlack, in.background = kWhite;
  return in;
}

}  // namespace

TEST(ColourBar, NumbersNeverOverlapAndTicksStayOnTheBar) {
  const struct {
    double lo, hi, step;
    int height;
  } cases[] = {{0, 1, 0.1, 400}, {0, 1, 0.02, 400}, {0.3, 0.85, 0.025, 300}, {-5, 5, 0.01, 600},
               {261.85, 298.77, 0.7384, 480}, {0, 100, 1, 60}, {0, 1e-6, 2e-8, 200}};
  for (const auto& c : cases) {
    const ColourBarInput in = Input(c.lo, c.hi, c.step);
    const ColourBarLayout l = LayoutColourBar(in, 800, c.height, 40, FixedMeasure);
    ASSERT_GT(l.stripWidth, 0);
    EXPECT_EQ(l.stripLeft + l.stripWidth, 800);
    int labelled = 0, previousTop = 1 << 30;
    for (const ColourBarTick& t : l.ticks) {
      EXPECT_GE(t.y, l.barTop - 1);
      EXPECT_LE(t.y, l.barBottom + 1);
      if (t.text.empty()) continue;
      ++labelled;
      const int top = t.y - 6;
      EXPECT_LT(top + 12, previousTop) << c.lo << ".." << c.hi << " at " << t.level;  // below stays clear
      previousTop = top;
    }
    EXPECT_TRUE(l.barBottom - l.barTop <= 40 || labelled >= 2) << c.lo << ".." << c.hi << ": " << labelled;
  }
  EXPECT_EQ(ColourBarStripWidth(Input(1, 1, 0.1), 800, FixedMeasure), 0);   // no range
  EXPECT_EQ(ColourBarStripWidth(Input(0, 1, 0.0), 800, FixedMeasure), 0);   // no step
  EXPECT_EQ(ColourBarStripWidth(Input(0, 1, 1e-9), 800, FixedMeasure), 0);  // a billion levels
  EXPECT_LE(ColourBarStripWidth(Input(0, 1, 0.1), 90, FixedMeasure), 30);   // a third at most
}

TEST(ColourBar, BandsCarryTheColoursOfThePictureBands) {
  for (ColourMapKind kind : {ColourMapKind::Rainbow, ColourMapKind::Viridis, ColourMapKind::CoolWarm}) {
    ColourBarInput in = Input(0.3, 0.85, 0.05);
    in.kind = kind;
    QImage image(600, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      PainterCanvas canvas(&image);
      DrawColourBar(canvas, in, 600, 400, 30);
      canvas.Finish();
    }
    const ColourBarLayout l = LayoutColourBar(in, 600, 400, 30, [&](const std::string& s) {
      QImage scratch(1, 1, QImage::Format_RGB32);
      PainterCanvas c(&scratch);
      c.SetFont(in.font);
      return std::pair<int, int>{c.TextWidth(s), c.TextHeight(s)};
    });
    const int x = (l.barLeft + l.barRight) / 2;
    const double scale = (l.barBottom - l.barTop) / (in.hi - in.lo);
    for (int n = 6; n < 17; ++n) {  // band [n, n + 1] x step, fully or partly inside the range
      const double mid = (std::max(n * in.step, in.lo) + std::min((n + 1) * in.step, in.hi)) / 2;
      const int y = l.barBottom - static_cast<int>((mid - in.lo) * scale);
      const Colour expected = LevelColour(static_cast<float>((n + 1) * in.step), 0.3f, 0.85f, kind);
      const QRgb got = image.pixel(x, y);
      EXPECT_EQ(MakeColour(qRed(got), qGreen(got), qBlue(got)), expected) << "band " << n;
    }
  }
}

// With round levels the numbers carry the decimals of their own spacing where that is a round
// step, never fewer than they need: what a label of that step would read.
TEST(ColourBar, RoundLevelNumbersCarryTheDigitsTheirSpacingNeeds) {
  const struct {
    double lo, hi, step;
    int height;
    std::vector<std::string> expected;  // the numbers from the bottom up
  } cases[] = {
      // every level: the step's decimals
      {0.3, 0.85, 0.05, 400, {"0.30", "0.35", "0.40", "0.45", "0.50", "0.55", "0.60", "0.65", "0.70", "0.75", "0.80", "0.85"}},
      // every other level of 0.025 is 0.05 apart
      {0.3, 0.85, 0.025, 300, {"0.30", "0.35", "0.40", "0.45", "0.50", "0.55", "0.60", "0.65", "0.70", "0.75", "0.80", "0.85"}},
      // every fifth level of 0.025 is 0.125 apart, which needs all three decimals
      {0.0, 1.0, 0.025, 250, {"0.000", "0.125", "0.250", "0.375", "0.500", "0.625", "0.750", "0.875", "1.000"}},
      // every other level of 2.5 is a whole 5
      {0.0, 50.0, 2.5, 300, {"0", "5", "10", "15", "20", "25", "30", "35", "40", "45", "50"}},
  };
  for (const auto& c : cases) {
    ColourBarInput in = Input(c.lo, c.hi, c.step);
    in.format.roundStep = c.step;
    std::vector<std::string> numbers;
    for (const ColourBarTick& t : LayoutColourBar(in, 800, c.height, 40, FixedMeasure).ticks)
      if (!t.text.empty()) numbers.push_back(t.text);
    EXPECT_EQ(numbers, c.expected) << c.step << " in " << c.height;
  }
}
