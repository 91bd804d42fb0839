// The display controls reach their option fields by name, with spin boxes clamped as the
// controls clamp and the three format radio buttons sharing one field.
#include <gtest/gtest.h>

#include "render/ProgramOptions.h"

namespace corvane {
namespace {

TEST(DisplayOptionTable, NamesReachTheirFieldsWithSpinRangesAndRadioGroups) {
  const auto& table = ProgramOptionTable();
  ProgramOptions o;
  table.Apply(o, "ShowFixCheck", "1");
  EXPECT_EQ(o.display.numberFormat.style, NumberStyle::Fixed);
  table.Apply(o, "ShowExpCheck", "0");  // unselecting a radio button changes nothing
  EXPECT_EQ(o.display.numberFormat.style, NumberStyle::Fixed);
  table.Apply(o, "ShowExpCheck", "1");
  EXPECT_EQ(o.display.numberFormat.style, NumberStyle::Exponent);
  table.Apply(o, "DigitsBox", "25");
  table.Apply(o, "PrecisionBox", "0");
  EXPECT_EQ(o.display.numberFormat.digits, 20);
  EXPECT_EQ(o.display.numberFormat.precision, 1);
  table.Apply(o, "writetimes", "11");
  EXPECT_EQ(o.display.writetimes, 10);
  table.Apply(o, "xoffsetbox", "-2.5e-1");
  EXPECT_EQ(o.display.xoffsetbox, -0.25);
  table.Apply(o, "TViewForm.Width", "640");
  table.Apply(o, "showjmax", "0");
  table.Apply(o, "YTitleBox", "高さ [m]");
  EXPECT_EQ(o.display.PictureWindowWidth, 640);
  EXPECT_FALSE(o.display.showjmax);
  EXPECT_EQ(o.display.YTitleBox, "高さ [m]");
  EXPECT_THROW(table.Apply(o, "VecScaleBox", "1,5"), CorvaneError);
  EXPECT_THROW(table.Apply(o, "ShowGrid", "maybe"), CorvaneError);
  for (const char* name : {"WhiteBack", "GridForward", "ShowVec", "ShowXYLabel", "XTitleBox", "XYSameScale",
                           "ShowAutoCheck", "yoffsetbox", "ShowContour", "BrushCheck", "LineCheck", "BMPModeCheck",
                           "ShowSegment", "RealDrawSegment", "DrawStreamLineCheck", "UseOpenGL", "Showi0",
                           "Showimax", "Showj0", "x0box", "y0box", "xscalebox", "yscalebox", "TViewForm.Height"})
    EXPECT_TRUE(table.Has(name)) << name;
}

}  // namespace
}  // namespace corvane
