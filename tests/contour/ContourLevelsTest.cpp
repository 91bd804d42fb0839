#include "contour/ContourLevels.h"

#include <gtest/gtest.h>

#include <limits>

namespace corvane {
namespace {

TEST(ContourLevelRange, CountsTheMultiplesOfTheStepFromTheCeilingOfMin) {
  const ContourLevelRange r = MakeContourLevelRange(1.0, -0.25, 0.5);
  ASSERT_TRUE(r.valid);
  EXPECT_EQ(r.firstLevelIndex, 0);  // Ceil(-0.5) is 0: the first level is 0.0
  EXPECT_EQ(r.levelCount, 3);       // 0.0, 0.5, 1.0
  EXPECT_DOUBLE_EQ(ContourLevelValue(r, 2, 0.5), 1.0);
}

TEST(ContourLevelRange, MaxBelowMinHasNoLevelsButIsNoError) {
  const ContourLevelRange r = MakeContourLevelRange(-10.0, 10.0, 1.0);
  EXPECT_TRUE(r.valid);
  EXPECT_EQ(r.levelCount, 0);
}

TEST(ContourLevelRange, RefusesUnusableSteps) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(MakeContourLevelRange(1.0, 0.0, 0.0).valid);
  EXPECT_FALSE(MakeContourLevelRange(1.0, 0.0, -0.1).valid);
  EXPECT_FALSE(MakeContourLevelRange(1.0, 0.0, nan).valid);
  EXPECT_FALSE(MakeContourLevelRange(1.0, 0.0, inf).valid);
  EXPECT_FALSE(MakeContourLevelRange(nan, 0.0, 0.1).valid);
  EXPECT_FALSE(MakeContourLevelRange(1.0, -inf, 0.1).valid);
  EXPECT_FALSE(MakeContourLevelRange(1.0, 0.0, 1e-300).valid);  // denormal-sized step: too many levels
  EXPECT_FALSE(MakeContourLevelRange(1e30, 0.0, 1e-30).valid);  // quotient overflows nothing but is far too many
  EXPECT_TRUE(MakeContourLevelRange(99999.0, 0.0, 1.0).valid);  // exactly 100,000 levels
  EXPECT_FALSE(MakeContourLevelRange(100000.0, 0.0, 1.0).valid);
}

}  // namespace
}  // namespace corvane
