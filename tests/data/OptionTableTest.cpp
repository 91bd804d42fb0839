#include <gtest/gtest.h>

#include "data/Errors.h"
#include "scene/ProgramOptions.h"

using namespace corvane;

TEST(OptionTable, RadioButtonsSetTheirGroupOnlyWhenCheckedAndBadNamesOrValuesThrow) {
  ProgramOptions o;
  const auto& t = ProgramOptionTable();
  t.Apply(o, "GrayMap2", "1");
  t.Apply(o, "ColorMap1", "0");  // an unchecked radio button leaves its group alone
  EXPECT_EQ(o.contour.colourMap, ColourMapKind::Gray2);
  EXPECT_THROW(t.Apply(o, "NoSuchControl", "1"), CorvaneError);
  EXPECT_THROW(t.Apply(o, "ZCountBox", "abc"), CorvaneError);
}

TEST(OptionTable, ColoursReadAsDecimalRrggbbOrTriples) {
  // Red (kept in the low byte), blue, green as a triple, blue as #RRGGBB.
  for (auto [text, colour] : {std::pair{"16711680", 0x0000FFu}, {"255", 0xFF0000u}, {"0,255,0", 0x00FF00u}, {"#0000FF", 0xFF0000u}})
    EXPECT_EQ(ParseColourValue("c", text), colour) << text;
  EXPECT_THROW(ParseColourValue("c", "red"), CorvaneError);
}
