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
}  // namespace

TEST(ColorMap, RainbowPassesThroughItsQuarterPoints) {
  const auto c = [](float v) { return LevelColor(v, 0.0f, 4.0f, ColorMapKind::Rainbow); };
  EXPECT_EQ(c(0), kBlue);
  EXPECT_EQ(c(1), MakeColour(0, 255, 255));
  EXPECT_EQ(c(2), MakeColour(0, 255, 0));
  EXPECT_EQ(c(3), MakeColour(255, 255, 0));
  EXPECT_EQ(c(4), kRed);
  EXPECT_EQ(c(0.5f), MakeColour(0, 127, 255));  // floor(0.5 * 255.99)
  EXPECT_EQ(c(1.5f), MakeColour(0, 255, 127));
  EXPECT_EQ(c(-1), kBlue);
  EXPECT_EQ(c(9), kRed);
}

TEST(ColorMap, RedBlueAndGreyMapsFollowTheirRamps) {
  EXPECT_EQ(LevelColor(1, 0, 2, ColorMapKind::RedBlue), kWhite);
  EXPECT_EQ(LevelColor(-5, 0, 2, ColorMapKind::RedBlue), kBlue);
  EXPECT_EQ(LevelColor(7, 0, 2, ColorMapKind::RedBlue), kRed);
  EXPECT_EQ(LevelColor(0.5f, 0, 2, ColorMapKind::RedBlue), MakeColour(128, 128, 255));  // 127.5 rounds to even
  EXPECT_EQ(LevelColor(1.5f, 0, 2, ColorMapKind::RedBlue), MakeColour(255, 128, 128));
  EXPECT_EQ(LevelColor(-1, 0, 2, ColorMapKind::Gray1), kBlack);
  EXPECT_EQ(LevelColor(3, 0, 2, ColorMapKind::Gray1), kWhite);
  EXPECT_EQ(LevelColor(1, 0, 2, ColorMapKind::Gray1), MakeColour(127, 127, 127));  // floor(127.5)
  EXPECT_EQ(LevelColor(1, 0, 2, ColorMapKind::Gray2), kBlack);
  EXPECT_EQ(LevelColor(-4, 0, 2, ColorMapKind::Gray2), kWhite);
  EXPECT_EQ(LevelColor(9, 0, 2, ColorMapKind::Gray2), kWhite);
  EXPECT_EQ(LevelColor(1.5f, 0, 2, ColorMapKind::Gray2), MakeColour(128, 128, 128));
}

TEST(ColorMap, DegenerateRangeNoMapAndNonFiniteValuesGiveFixedColours) {
  EXPECT_EQ(LevelColor(5, 1, 1, ColorMapKind::Rainbow), kBlue);
  EXPECT_EQ(LevelColor(5, 1, 1, ColorMapKind::RedBlue), kBlue);
  EXPECT_EQ(LevelColor(5, 1, 1, ColorMapKind::Gray1), kBlack);
  EXPECT_EQ(LevelColor(5, 1, 1, ColorMapKind::Gray2), kBlack);
  EXPECT_EQ(LevelColor(1, 0, 2, ColorMapKind::None), kBlack);
  for (ColorMapKind k : {ColorMapKind::Rainbow, ColorMapKind::RedBlue, ColorMapKind::Gray1, ColorMapKind::Gray2}) {
    // Only "no undefined conversion" is promised here; the sanitizer build checks it.
    (void)LevelColor(kNaN, 0, 1, k);
    (void)LevelColor(0.5f, kNaN, 1, k);
    (void)LevelColor(0.5f, -kInf, kInf, k);
  }
  EXPECT_EQ(LevelColor(kInf, 0, 1, ColorMapKind::Rainbow), kRed);
  EXPECT_EQ(LevelColor(-kInf, 0, 1, ColorMapKind::Rainbow), kBlue);
}

TEST(ColorMap, ArgumentsAreRoundedToSinglePrecision) {
  // 1 + 1e-9 is 1 as a float, so the range is degenerate.
  EXPECT_EQ(LevelColor(1.0f, 1.0f, static_cast<float>(1.0 + 1e-9), ColorMapKind::Gray1), kBlack);
}

TEST(EdgeFraction, GivesTheCrossingOrTwoForAFlatEdge) {
  const double v[] = {1.0, 3.0, 3.0, std::numeric_limits<double>::quiet_NaN()};
  EXPECT_EQ(EdgeFraction(v, 0, 1, 2.0), 0.5);
  EXPECT_EQ(EdgeFraction(v, 1, 0, 2.5), 0.25);
  EXPECT_EQ(EdgeFraction(v, 1, 2, 3.0), 2.0);
  EXPECT_EQ(EdgeFraction(v, 0, 3, 2.0), 2.0);
}

TEST(ColourToValue, InvertsTheColourMaps) {
  EXPECT_EQ(ColourToValue(MakeColour(0, 255, 0), 10, 2, ColorMapKind::Rainbow), 6.0);
  EXPECT_EQ(ColourToValue(kBlue, 10, 2, ColorMapKind::Rainbow), 2.0);
  EXPECT_EQ(ColourToValue(kRed, 10, 2, ColorMapKind::Rainbow), 10.0);
  EXPECT_EQ(ColourToValue(MakeColour(0, 255, 255), 10, 2, ColorMapKind::Rainbow), 4.0);
  EXPECT_EQ(ColourToValue(MakeColour(255, 255, 0), 10, 2, ColorMapKind::Rainbow), 8.0);
  EXPECT_EQ(ColourToValue(kWhite, 10, 2, ColorMapKind::RedBlue), 6.0);
  EXPECT_EQ(ColourToValue(kRed, 10, 2, ColorMapKind::RedBlue), 10.0);
  EXPECT_EQ(ColourToValue(kBlue, 10, 2, ColorMapKind::RedBlue), 2.0);
  EXPECT_EQ(ColourToValue(kWhite, 10, 2, ColorMapKind::Gray1), 10.0);
  EXPECT_EQ(ColourToValue(kWhite, 10, 2, ColorMapKind::Gray2), 2.0);
  // Round trip through the rainbow within one colour step.
  for (double v = 2.0; v <= 10.0; v += 0.37) {
    Colour c = LevelColor(static_cast<float>(v), 2.0f, 10.0f, ColorMapKind::Rainbow);
    EXPECT_NEAR(ColourToValue(c, 10, 2, ColorMapKind::Rainbow), v, 2.0 / 255 + 1e-9) << v;
  }
}

TEST(ColourToValue, EmptyRangeGivesTheMinimum) {
  EXPECT_EQ(ColourToValue(kRed, 2, 2, ColorMapKind::Rainbow), 2.0);
  EXPECT_EQ(ColourToValue(kRed, 1, 2, ColorMapKind::Rainbow), 2.0);
  EXPECT_TRUE(std::isnan(ColourToValue(kRed, std::nan(""), std::nan(""), ColorMapKind::Rainbow)));
}
