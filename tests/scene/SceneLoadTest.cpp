// Taking loads into the scene: the view of a reload keeps what the user set while the zone count
// stays, a new zone list takes the four edge check boxes, and the view always fits the data.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "scene/SceneLoad.h"

namespace corvane {
namespace {

using testing::SmallLayout;

// Loads `name` as the scene's next data set, as the window and `corvane render` do: a zone
// count other than the one shown makes a new zone list.
void LoadInto(SceneState& state, const char* name, const LoadOptions& options) {
  testing::LoadedFile loaded(testing::ReaderTestFile(name), options, state.fieldView);
  ASSERT_TRUE(loaded.result);
  ApplyLoadToScene(state, *loaded.result, loaded.result->data.ZoneCount != state.data.ZoneCount);
}

TEST(SceneLoad, ReloadsKeepTheUsersViewWhileTheZoneCountStays) {
  SceneState state;
  state.options.display.edgeIMax = false;
  LoadInto(state, "ij_two_zones.dat", SmallLayout(2));
  ASSERT_EQ(state.fieldView.Boundaries.size(), 2u);
  EXPECT_FALSE(state.fieldView.Boundaries[0].imax || state.fieldView.Boundaries[1].imax);  // from the check box
  EXPECT_EQ(state.fieldView.ContourMax.size(), state.data.Values.size());
  EXPECT_EQ(state.fieldView.Masks.size(), 2u);

  // The user's edge flag and typed range survive a reload of as many zones.
  state.fieldView.Boundaries[1].j0 = false;
  state.fieldView.ContourMax[0] = 42.0;
  LoadOptions manual = SmallLayout(2);
  manual.AutoMaxMinCheck = manual.AutoStepCheck = false;
  state.options.display.edgeIMax = true;
  LoadInto(state, "ij_two_zones.dat", manual);
  EXPECT_FALSE(state.fieldView.Boundaries[1].j0 || state.fieldView.Boundaries[1].imax);
  EXPECT_EQ(state.fieldView.ContourMax[0], 42.0);

  // One zone now: the flags start again from the check boxes.
  state.options.display.edgeJ0 = false;
  LoadInto(state, "three_size_fields.dat", SmallLayout(1));
  ASSERT_EQ(state.fieldView.Boundaries.size(), 1u);
  EXPECT_TRUE(state.fieldView.Boundaries[0].imax && !state.fieldView.Boundaries[0].j0);
  EXPECT_EQ(state.fieldView.Masks.size(), 1u);
}

}  // namespace
}  // namespace corvane
