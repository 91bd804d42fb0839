#include <gtest/gtest.h>

#include "base/Errors.h"
#include "scene/ProgramOptions.h"

using namespace corvane;

TEST(OptionTable, RadioButtonsSetTheirGroupOnlyWhenCheckedColoursReadInThreeFormsAndBadValuesThrow) {
  ProgramOptions o;
  const auto& t = ProgramOptionTable();
  t.Apply(o, "GrayMap2", "1");
  t.Apply(o, "ColorMap1", "0");  // an unchecked radio button leaves its group alone
  EXPECT_EQ(o.contour.colourMap, ColourMapKind::Gray2);
  EXPECT_THROW(t.Apply(o, "NoSuchControl", "1"), CorvaneError);
  EXPECT_THROW(t.Apply(o, "ZCountBox", "abc"), CorvaneError);
  // Red (kept in the low byte), blue, green as a triple, blue as #RRGGBB.
  for (auto [text, colour] : {std::pair{"16711680", 0x0000FFu}, {"255", 0xFF0000u}, {"0,255,0", 0x00FF00u}, {"#0000FF", 0xFF0000u}})
    EXPECT_EQ(ParseColourValue("c", text), colour) << text;
  EXPECT_THROW(ParseColourValue("c", "red"), CorvaneError);
}

// Every entry reads back as text that sets it to the same value again, on the defaults and on values
// a settings file would give; numbers read back the way the boxes first show them.
TEST(OptionTable, EveryEntryReadsBackWhatSetsItAgain) {
  const auto& t = ProgramOptionTable();
  ProgramOptions changed;
  for (auto [name, value] : {std::pair{"GrayMap2", "1"}, {"Shape1", "65280"}, {"VecScaleBox", "2.5e-20"},
                             {"gammaBox", "1.3"}, {"StreamList", "0,1,2,3;1,0,4,5"}, {"MaxBox", "7"},
                             {"QuickDrawSegment", "0"}, {"RealDrawSegment", "1"}, {"P1x", "word"}, {"ZCountBox", "500"}})
    t.Apply(changed, name, value);
  for (const ProgramOptions& start : {ProgramOptions{}, changed})
    for (const std::string& name : t.Names()) {
      if (name == "Formula" || name == "StreamList") continue;  // these two append
      const std::string text = t.Get(start, name);
      if (text.empty() && name.find("Box") != std::string::npos) continue;  // an unset range box
      ProgramOptions again = start;
      t.Apply(again, name, text);
      EXPECT_EQ(t.Get(again, name), text) << name;
    }
  EXPECT_EQ(t.Get(changed, "StreamList"), "0,1,2,3;1,0,4,5");
  EXPECT_EQ(t.Get(changed, "ZCountBox"), "100");
  EXPECT_EQ(t.Get(changed, "Shape1"), "65280");
  EXPECT_EQ(t.Get(ProgramOptions{}, "MaxBox"), "");
  for (auto [name, text] : {std::pair{"VecScaleBox", "0.0000001"}, {"xoffsetbox", "0.0"}, {"RBox", "288.7"}, {"StreamXb", "1.0"}})
    EXPECT_EQ(t.Get(ProgramOptions{}, name), text) << name;
  EXPECT_EQ(FormatOptionNumber(2.5e-20), "2.5e-20");
}
