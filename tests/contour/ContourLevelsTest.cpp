#include "contour/ContourLevels.h"

#include <gtest/gtest.h>

#include <limits>

namespace corvane {
namespace {

TEST(ContourLevelRange, CountsTheMultiplesOfTheStepAndRefusesUnusableSteps) {
  const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
  // {max, min, step, level count or -1 for refused}: Ceil(-0.5) is 0, so 0.0, 0.5 and 1.0;
  // max below min is no error; a denormal step or 1e30 levels are far too many.
  const double cases[][4] = {{1.0, -0.25, 0.5, 3},  {-10, 10, 1, 0},      {99999, 0, 1, 100000}, {100000, 0, 1, -1},
                             {1, 0, 0, -1},         {1, 0, -0.1, -1},     {1, 0, nan, -1},       {1, 0, inf, -1},
                             {nan, 0, 0.1, -1},     {1, -inf, 0.1, -1},   {1, 0, 1e-300, -1},    {1e30, 0, 1e-30, -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c[0] << " " << c[1] << " " << c[2]);
    const ContourLevelRange r = MakeContourLevelRange(c[0], c[1], c[2]);
    EXPECT_EQ(r.valid, c[3] >= 0);
    EXPECT_EQ(r.valid ? r.levelCount : -1, c[3]);
  }
  const ContourLevelRange r = MakeContourLevelRange(1.0, -0.25, 0.5);
  EXPECT_EQ(r.firstLevelIndex, 0);
  EXPECT_DOUBLE_EQ(ContourLevelValue(r, 2, 0.5), 1.0);
}

}  // namespace
}  // namespace corvane
