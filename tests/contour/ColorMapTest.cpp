#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "contour/ColorMap.h"
#include "contour/ColourToValue.h"

using namespace corvane;

namespace {
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr Colour kBlue = MakeColour(0, 0, 255), kRed = MakeColour(255, 0, 0);
constexpr auto kRainbow = ColorMapKind::Rainbow, kRedBlue = ColorMapKind::RedBlue;
constexpr auto kGray1 = ColorMapKind::Gray1, kGray2 = ColorMapKind::Gray2;
}  // namespace

TEST(ColorMap, EachMapFollowsItsRampAndClampsBeyondTheRange) {
  const struct {
    float v, lo, hi;
    ColorMapKind kind;
    Colour expected;
  } cases[] = {
      {0, 0, 4, kRainbow, kBlue}, {1, 0, 4, kRainbow, MakeColour(0, 255, 255)}, {2, 0, 4, kRainbow, MakeColour(0, 255, 0)},
      {3, 0, 4, kRainbow, MakeColour(255, 255, 0)}, {4, 0, 4, kRainbow, kRed},
      {0.5f, 0, 4, kRainbow, MakeColour(0, 127, 255)},  // floor(0.5 * 255.99)
      {-1, 0, 4, kRainbow, kBlue}, {9, 0, 4, kRainbow, kRed}, {kInf, 0, 1, kRainbow, kRed},
      {1, 0, 2, kRedBlue, kWhite}, {-5, 0, 2, kRedBlue, kBlue}, {7, 0, 2, kRedBlue, kRed},
      {0.5f, 0, 2, kRedBlue, MakeColour(128, 128, 255)},  // 127.5 rounds to even
      {-1, 0, 2, kGray1, kBlack}, {3, 0, 2, kGray1, kWhite},
      {1, 0, 2, kGray1, MakeColour(127, 127, 127)},  // floor(127.5)
      {1, 0, 2, kGray2, kBlack}, {-4, 0, 2, kGray2, kWhite}, {9, 0, 2, kGray2, kWhite},
      // A degenerate range or no map gives a fixed colour.
      {5, 1, 1, kRainbow, kBlue}, {5, 1, 1, kRedBlue, kBlue}, {5, 1, 1, kGray1, kBlack}, {5, 1, 1, kGray2, kBlack},
      {1, 0, 2, ColorMapKind::None, kBlack},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LevelColor(c.v, c.lo, c.hi, c.kind), c.expected)
        << c.v << " in " << c.lo << ".." << c.hi << " map " << static_cast<int>(c.kind);
  for (ColorMapKind k : {kRainbow, kRedBlue, kGray1, kGray2}) {
    // No undefined conversion (the sanitizer build checks these).
    (void)LevelColor(kNaN, 0, 1, k);
    (void)LevelColor(0.5f, kNaN, 1, k);
    (void)LevelColor(0.5f, -kInf, kInf, k);
  }
}

TEST(EdgeFraction, GivesTheCrossingOrTwoForAFlatEdge) {
  const double v[] = {1.0, 3.0, 3.0, std::numeric_limits<double>::quiet_NaN()};
  EXPECT_EQ(EdgeFraction(v, 0, 1, 2.0), 0.5);
  EXPECT_EQ(EdgeFraction(v, 1, 0, 2.5), 0.25);
  EXPECT_EQ(EdgeFraction(v, 1, 2, 3.0), 2.0);
  EXPECT_EQ(EdgeFraction(v, 0, 3, 2.0), 2.0);
}

TEST(ColourToValue, InvertsTheColourMapsWithinOneStep) {
  EXPECT_EQ(ColourToValue(MakeColour(0, 255, 0), 10, 2, kRainbow), 6.0);
  EXPECT_EQ(ColourToValue(kBlue, 10, 2, kRainbow), 2.0);
  EXPECT_EQ(ColourToValue(kRed, 10, 2, kRainbow), 10.0);
  EXPECT_EQ(ColourToValue(kWhite, 10, 2, kRedBlue), 6.0);
  EXPECT_EQ(ColourToValue(kWhite, 10, 2, kGray1), 10.0);
  EXPECT_EQ(ColourToValue(kWhite, 10, 2, kGray2), 2.0);
  EXPECT_EQ(ColourToValue(kRed, 1, 2, kRainbow), 2.0);  // empty range: the minimum
  for (double v = 2.0; v <= 10.0; v += 0.37) {
    Colour c = LevelColor(static_cast<float>(v), 2.0f, 10.0f, kRainbow);
    EXPECT_NEAR(ColourToValue(c, 10, 2, kRainbow), v, 2.0 / 255 + 1e-9) << v;
  }
}
