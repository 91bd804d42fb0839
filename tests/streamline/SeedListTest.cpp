// Editing the seed list and the streamline tab's controls, from the window and from --set.
#include <gtest/gtest.h>

#include "FlowData.h"
#include "TestSupport.h"
#include "base/Errors.h"
#include "scene/ProgramOptions.h"
#include "streamline/SeedList.h"

namespace corvane {
namespace {

TEST(SeedList, AddFillsNinetyNineRowsThenSaysTheListIsFullStrayDeletesAreIgnoredAndAZoneLimitsTheBoxes) {
  StreamOptions o;
  RecordingNotifier notifier;
  o.StreamZoneSelect = 1, o.StreamIBox = 4, o.StreamJBox = 7, o.StreamOverbox = -2;
  for (int k = 0; k < 99; ++k) EXPECT_TRUE(AddNodeSeed(o, notifier));
  EXPECT_TRUE(notifier.messages.empty());
  EXPECT_EQ(SeedListCellText(o.StreamList, 99, 0) + SeedListCellText(o.StreamList, 99, 3), "-27");
  o.StreamLineGridSelect = false;
  EXPECT_FALSE(AddNodeSeed(o, notifier));
  EXPECT_EQ(notifier.messages, std::vector<std::string>{"系列が多すぎます"});
  EXPECT_TRUE(notifier.warnings.empty() && o.StreamLineGridSelect);
  EXPECT_EQ(o.StreamList.seeds.size(), 99u);
  // Deleting the header or a row beyond the list changes nothing (the window test moves rows up).
  DeleteSeedRow(o.StreamList, 0);
  DeleteSeedRow(o.StreamList, 150);
  EXPECT_EQ(o.StreamList.seeds.size(), 99u);

  // Choosing a zone limits the node boxes.
  const FieldDataSet data = testing::MakeFlow({testing::Rect(4, 4, 0, 0), testing::Rect(10, 30, 0, 0)}, testing::Uniform(1, 0));
  o.StreamIBox = 50, o.StreamJBox = 20, o.StreamZoneSelect = 1;
  const SeedBoxLimits limits = SelectSeedZone(o, data);
  EXPECT_EQ((std::vector<int>{limits.iMax, limits.jMax, o.StreamIBox, o.StreamJBox}), (std::vector<int>{9, 29, 9, 20}));
  o.StreamZoneSelect = -1;
  EXPECT_EQ(SelectSeedZone(o, data).iMax, 100);
}

TEST(StreamControls, SetAppendsSeedRowsAndTypingIntoTheSegmentTurnsItOn) {
  const auto& table = ProgramOptionTable();
  ProgramOptions o;
  table.Apply(o, "StreamList", "0,0,3,4");
  table.Apply(o, "StreamList", "2, 1, 5, 6; -1,0,0,0");
  EXPECT_EQ(o.stream.StreamList.seeds, (std::vector<StreamSeed>{{0, 0, 3, 4}, {2, 1, 5, 6}, {-1, 0, 0, 0}}));
  EXPECT_TRUE(o.stream.StreamLineGridSelect && !o.stream.StreamLineSegment);
  table.Apply(o, "StreamXb", "2.5");
  EXPECT_TRUE(o.stream.StreamLineSegment);

  // Bad rows name the control and leave the list as it was; an empty value clears it.
  for (const char* bad : {"1,2,3", "1,2,3,4,5", "a,0,0,0", "0,0,0,99999999999", "0,0,0,0;"})
    EXPECT_THROW(table.Apply(o, "StreamList", bad), CorvaneError) << bad;
  EXPECT_NE(testing::ErrorText([&] { table.Apply(o, "StreamList", "1,x,2,3"); }).find("StreamList"), std::string::npos);
  EXPECT_EQ(o.stream.StreamList.seeds.size(), 3u);
  table.Apply(o, "StreamList", "");
  EXPECT_TRUE(o.stream.StreamList.seeds.empty());
  for (int k = 0; k < 99; ++k) table.Apply(o, "StreamList", "0,0,0,0");
  EXPECT_THROW(table.Apply(o, "StreamList", "0,0,0,0"), CorvaneError);
}

}  // namespace
}  // namespace corvane
