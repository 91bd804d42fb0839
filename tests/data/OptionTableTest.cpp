#include <gtest/gtest.h>

#include "data/Errors.h"
#include "scene/ProgramOptions.h"

using namespace corvane;

TEST(OptionTable, RadioButtonsSetTheirGroupOnlyWhenCheckedAndBadNamesOrValuesThrow) {
  ProgramOptions o;
  const auto& t = ProgramOptionTable();
  t.Apply(o, "GrayMap2", "1");
  t.Apply(o, "ColorMap1", "0");  // an unchecked radio button leaves its group alone
  EXPECT_EQ(o.contour.colorMap, ColorMapKind::Gray2);
  EXPECT_THROW(t.Apply(o, "NoSuchControl", "1"), CorvaneError);
  EXPECT_THROW(t.Apply(o, "ZCountBox", "abc"), CorvaneError);
}

TEST(OptionTable, ColoursReadAsDecimalRrggbbOrTriples) {
  EXPECT_EQ(ParseColourValue("c", "16711680"), 0x0000FFu);  // red, red in the low byte
  EXPECT_EQ(ParseColourValue("c", "255"), 0xFF0000u);       // blue
  EXPECT_EQ(ParseColourValue("c", "0,255,0"), 0x00FF00u);
  EXPECT_EQ(ParseColourValue("c", "#0000FF"), 0xFF0000u);
  EXPECT_THROW(ParseColourValue("c", "red"), CorvaneError);
}
