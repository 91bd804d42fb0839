// The contour ranges, steps and line masks made from a data set, and round levels over them.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "fieldview/ContourRanges.h"

namespace corvane {
namespace {

TEST(ContourRanges, RangesStepsAndLineMasks) {
  testing::LoadedFile l(testing::ReaderTestFile("ij_two_zones.dat"), testing::SmallLayout(2));
  ASSERT_TRUE(l.result);
  FieldDataSet d = l.d();
  FieldView v = l.result->view;
  EXPECT_EQ((std::pair{v.ContourMin[0], v.ContourMax[0]}), (std::pair{0.0, 111.0}));  // max in the last zone
  v.ContourMin = {0.0, 3.0, 4.0}, v.ContourMax = {10.0, 3.0, 0.0};
  AutoStep(v, 50);
  EXPECT_DOUBLE_EQ(v.ContourStep[0], 0.2);
  EXPECT_EQ(v.ContourStep[1], 1.0);
  EXPECT_DOUBLE_EQ(v.ContourStep[2], -0.08);
  AutoStep(v, 2);
  EXPECT_EQ(v.ContourStep[0], 5.0);

  // A NaN at the first node does not make the whole range NaN.
  d.Values[0][0] = NAN;
  AutoMaxMin(d, v);
  EXPECT_EQ((std::pair{v.ContourMin[0], v.ContourMax[0]}), (std::pair{1.0, 111.0}));

  d.Zones[0].NI = 10;
  UpdateLineMasks(d, v, 4, 1);
  EXPECT_EQ(v.Masks[0].ILineMask, (std::vector<bool>{true, false, false, false, true, false, false, false, true, true}));
  EXPECT_EQ(v.Masks[0].JLineMask, (std::vector<bool>{true, true}));
  UpdateLineMasks(d, v, 0, 0);  // a step of 0 acts as 1
  EXPECT_EQ(v.Masks[1].ILineMask, (std::vector<bool>{true, true}));
}

TEST(ContourRanges, RoundLevelsChangeOnlyTheAutomaticValuesAndOnlyWhenAsked) {
  FieldView data;
  data.ContourMax = {170.32, 1.0};
  data.ContourMin = {0.63944, 1.0};
  data.ContourStep = {3.39, 1.0};
  LoadOptions options;
  ApplyRoundLevels(data, options);  // off: untouched
  EXPECT_EQ(data.ContourMax[0], 170.32);
  options.RoundLevelsCheck = true;
  options.AutoMaxMinCheck = false;  // a typed range stays; the step still becomes round
  ApplyRoundLevels(data, options);
  EXPECT_EQ(std::pair(data.ContourMax[0], data.ContourStep[0]), std::pair(170.32, 2.5));
  options.AutoMaxMinCheck = true;
  ApplyRoundLevels(data, options);
  EXPECT_EQ(std::pair(data.ContourMin[0], data.ContourMax[0]), std::pair(0.0, 172.5));
  EXPECT_EQ(std::pair(data.ContourMax[1], data.ContourStep[1]), std::pair(1.0, 1.0));  // a flat row keeps its values
}

}  // namespace
}  // namespace corvane
