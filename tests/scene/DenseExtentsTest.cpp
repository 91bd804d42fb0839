// The first view's box: a body's crowded nodes in a far field give a box round the body; evenly
// spread nodes, or too few, give none (the whole extents are fitted).
#include <gtest/gtest.h>

#include <cmath>

#include "TestGrids.h"
#include "scene/DenseExtents.h"

namespace corvane {
namespace {

using testing::MakeZones;

TEST(DenseExtents, ABodyInAFarFieldGivesABoxRoundTheBodyAndEvenDataNone) {
  const auto zero = [](double, double) { return std::vector<double>{0}; };
  // An O-grid round a unit circle out to radius 50, radii growing geometrically.
  const FieldDataSet far = MakeZones({{64, 40, [](int i, int j) {
                                         const double a = 2 * 3.14159265358979 * i / 64.0, r = std::pow(50.0, j / 39.0);
                                         return std::make_pair(r * std::cos(a), r * std::sin(a));
                                       }}},
                                     {"F"}, zero);
  const std::optional<Extents> box = DenseExtents(far);
  ASSERT_TRUE(box);
  EXPECT_TRUE(box->XMin < -1 && box->XMax > 1 && box->YMin < -1 && box->YMax > 1);  // the body is inside
  EXPECT_LT(box->XMax - box->XMin, 40.0);                                          // the far field is not
  EXPECT_TRUE(box->XMin >= -50 && box->YMax <= 50);

  EXPECT_FALSE(DenseExtents(MakeZones({testing::Rect(30, 30, 0, 0)}, {"F"}, zero)));
  EXPECT_FALSE(DenseExtents(MakeZones({testing::Rect(3, 3, 0, 0)}, {"F"}, zero)));
}

}  // namespace
}  // namespace corvane
