#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "field/RoundLevels.h"

using namespace corvane;

TEST(RoundLevels, StepsAreOneTwoTwoAndAHalfOrFiveTimesAPowerOfTenWithTheRangeOnMultiples) {
  const struct {
    double lo, hi;
    int divisions;
    double step, roundLo, roundHi;
  } cases[] = {
      {0.63944, 170.32, 50, 2.5, 0.0, 172.5},      // rough 3.39
      {0.0, 1.0, 10, 0.1, 0.0, 1.0},               // already round
      {0.30123, 0.84511, 20, 0.025, 0.3, 0.85},    // rough 0.0272
      {-0.63944, 0.63944, 25, 0.05, -0.65, 0.65},  // symmetric about zero
      {101325.0, 131000.0, 50, 500.0, 101000.0, 131000.0},
      {1e-7, 3.2e-7, 10, 2e-8, 1e-7, 3.2e-7},
      {-17.3, -2.1, 2, 10.0, -20.0, 0.0},          // rough 7.6: nearer 10 than 5
      {5.0, 6.0, 100, 0.01, 5.0, 6.0},
  };
  for (const auto& c : cases) {
    double lo = c.lo, hi = c.hi, step = 0.0;
    ASSERT_TRUE(RoundRange(lo, hi, step, c.divisions)) << c.lo << ".." << c.hi;
    EXPECT_DOUBLE_EQ(step, c.step) << c.lo << ".." << c.hi;
    EXPECT_DOUBLE_EQ(lo, c.roundLo) << c.lo << ".." << c.hi;
    EXPECT_DOUBLE_EQ(hi, c.roundHi) << c.lo << ".." << c.hi;
    // About as many levels as asked, and a second snap changes nothing.
    EXPECT_LE(std::abs((hi - lo) / step - c.divisions), c.divisions * 0.6 + 2);
    double lo2 = lo, hi2 = hi, step2 = 0.0;
    ASSERT_TRUE(RoundRange(lo2, hi2, step2, c.divisions));
    EXPECT_EQ(std::pair(lo2, hi2), std::pair(lo, hi));
  }
  double lo = 1.0, hi = 1.0, step = 7.0;
  EXPECT_FALSE(RoundRange(lo, hi, step, 50));  // nothing to divide
  lo = std::nan(""), hi = 1.0;
  EXPECT_FALSE(RoundRange(lo, hi, step, 50));
  EXPECT_EQ(step, 7.0);
}

TEST(RoundLevels, TextsCarryTheDecimalsOfTheStep) {
  const std::tuple<double, double, const char*> cases[] = {{0.65, 0.05, "0.65"},   {0.7, 0.05, "0.70"},
                                                          {172.5, 2.5, "172.5"}, {170.0, 10.0, "170"},
                                                          {-1e-17, 0.05, "0.00"}, {0.3, 0.025, "0.300"},
                                                          {1.2e-7, 2e-8, "1.2e-07"}};
  for (const auto& [value, step, text] : cases) EXPECT_EQ(RoundLevelText(value, step), text);
}
