#include <gtest/gtest.h>

#include <limits>

#include "contour/ColourMap.h"
#include "contour/ColourToValue.h"

using namespace corvane;

namespace {
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr Colour kBlue = MakeColour(0, 0, 255), kRed = MakeColour(255, 0, 0);
constexpr auto kRainbow = ColourMapKind::Rainbow, kRedBlue = ColourMapKind::RedBlue;
constexpr auto kGray1 = ColourMapKind::Gray1, kGray2 = ColourMapKind::Gray2;
}  // namespace

TEST(ColorMap, EachMapFollowsItsRampAndClampsBeyondTheRange) {
  const struct {
    float v, lo, hi;
    ColourMapKind kind;
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
      {1, 0, 2, ColourMapKind::None, kBlack},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LevelColour(c.v, c.lo, c.hi, c.kind), c.expected)
        << c.v << " in " << c.lo << ".." << c.hi << " map " << static_cast<int>(c.kind);
  for (ColourMapKind k : {kRainbow, kRedBlue, kGray1, kGray2}) {
    // No undefined conversion (the sanitizer build checks these).
    (void)LevelColour(kNaN, 0, 1, k);
    (void)LevelColour(0.5f, kNaN, 1, k);
    (void)LevelColour(0.5f, -kInf, kInf, k);
  }
}

TEST(EdgeFraction, GivesTheCrossingOrTwoForAFlatEdge) {
  const double v[] = {1.0, 3.0, 3.0, std::numeric_limits<double>::quiet_NaN()};
  EXPECT_EQ((std::vector<double>{EdgeFraction(v, 0, 1, 2.0), EdgeFraction(v, 1, 0, 2.5), EdgeFraction(v, 1, 2, 3.0), EdgeFraction(v, 0, 3, 2.0)}),
            (std::vector<double>{0.5, 0.25, 2.0, 2.0}));
}

TEST(ColourToValue, InvertsTheColourMapsWithinOneColourStep) {
  EXPECT_EQ(ColourToValue(kRed, 1, 2, kRainbow), 2.0);  // empty range: the minimum
  EXPECT_EQ(ColourToValue(kWhite, 10, 2, kGray2), 2.0);  // white at both ends: the minimum
  // A range of 8 spread over 4, 2 or 1 ramps of 255 steps, or over one tabulated map.
  for (const auto& [k, ramps] : {std::pair{kRainbow, 4}, {kRedBlue, 2}, {kGray1, 1}, {ColourMapKind::Viridis, 1},
                                 {ColourMapKind::Cividis, 1}, {ColourMapKind::CoolWarm, 1}})
    for (double v = 2.0; v <= 10.0; v += 0.37)
      EXPECT_NEAR(ColourToValue(LevelColour(static_cast<float>(v), 2.0f, 10.0f, k), 10, 2, k), v, 8.0 / 255 / ramps + 1e-9)
          << v << " map " << static_cast<int>(k);
}
