#include <gtest/gtest.h>

#include <cmath>

#include "contour/ColourMap.h"

using namespace corvane;

namespace {

// CIE L* of a 24-bit colour (sRGB, D65).
double Lightness(Colour c) {
  auto linear = [](int v) {
    const double x = v / 255.0;
    return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
  };
  const double y = 0.2126 * linear(RedOf(c)) + 0.7152 * linear(GreenOf(c)) + 0.0722 * linear(BlueOf(c));
  return y > 0.008856 ? 116.0 * std::cbrt(y) - 16.0 : 903.3 * y;
}

Colour At(ColourMapKind kind, int index) { return LevelColour(static_cast<float>(index), 0.0f, 255.0f, kind); }

}  // namespace

TEST(ColourTables, EndColoursAreThePublishedOnesOutsideValuesClampAndLightnessRunsAsPublished) {
  const struct {
    ColourMapKind kind;
    Colour low, high;
  } maps[] = {
      {ColourMapKind::Viridis, MakeColour(68, 1, 84), MakeColour(253, 231, 37)},
      {ColourMapKind::Cividis, MakeColour(0, 34, 78), MakeColour(254, 232, 56)},
      {ColourMapKind::CoolWarm, MakeColour(59, 76, 192), MakeColour(180, 4, 38)},
  };
  for (const auto& m : maps) {
    for (auto [v, end] : {std::pair{2.0f, m.low}, {7.0f, m.high}, {-1e30f, m.low}, {1e30f, m.high}})
      EXPECT_EQ(LevelColour(v, 2.0f, 7.0f, m.kind), end) << v;
    EXPECT_EQ(LevelColour(3.0f, 3.0f, 3.0f, m.kind), m.low);  // a degenerate range
    (void)LevelColour(std::nanf(""), 0.0f, 1.0f, m.kind);  // no undefined conversion
  }
  // The diverging map's middle is a light neutral grey.
  const Colour mid = LevelColour(0.0f, -1.0f, 1.0f, ColourMapKind::CoolWarm);
  for (int channel : {RedOf(mid), GreenOf(mid), BlueOf(mid)}) EXPECT_NEAR(channel, 221, 2);

  // Lightness rises evenly along the sequential maps and peaks in the middle of the diverging one.
  for (ColourMapKind kind : {ColourMapKind::Viridis, ColourMapKind::Cividis}) {
    double previous = Lightness(At(kind, 0));
    for (int i = 1; i < 256; ++i) {
      const double l = Lightness(At(kind, i));
      // Each step adds about a 256th of the lightness range; bytes round by less than a third.
      EXPECT_GT(l, previous - 0.3) << i;
      EXPECT_LT(l - previous, 1.0) << i;
      previous = l;
    }
    EXPECT_GT(Lightness(At(kind, 255)) - Lightness(At(kind, 0)), 60.0);
  }
  for (int i = 1; i < 128; ++i) {
    EXPECT_GT(Lightness(At(ColourMapKind::CoolWarm, i)), Lightness(At(ColourMapKind::CoolWarm, i - 1)) - 0.3) << i;
    EXPECT_LT(Lightness(At(ColourMapKind::CoolWarm, 255 - i)), Lightness(At(ColourMapKind::CoolWarm, 254 - i)) + 0.3) << i;
  }
}
