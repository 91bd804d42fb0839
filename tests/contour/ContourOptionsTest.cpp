#include <gtest/gtest.h>

#include "data/Errors.h"
#include "render/ProgramOptions.h"

namespace corvane {
namespace {

TEST(ContourOptions, ControlNamesReachTheirFields) {
  ProgramOptions o;
  const auto& t = ProgramOptionTable();
  t.Apply(o, "GrayMap2", "1");
  t.Apply(o, "ColorMap1", "0");  // an unchecked radio button leaves the group alone
  EXPECT_EQ(o.contour.colorMap, ColorMapKind::Gray2);
  t.Apply(o, "ContLineWid", "25");  // clamps like the spin box
  EXPECT_EQ(o.contour.ContLineWid, 10);
  t.Apply(o, "LabelExp", "255");  // the label colour, blue
  EXPECT_EQ(o.contour.LabelExp.colour, 0xFF0000u);
  EXPECT_EQ(o.contour.LabelExp.face, "Arial");
  t.Apply(o, "LabelSukima", "-3");
  EXPECT_EQ(o.contour.LabelSukima, 0);
  EXPECT_FALSE(o.contour.StepBox.has_value());
  t.Apply(o, "StepBox", " 0.25 ");
  EXPECT_EQ(o.contour.StepBox, 0.25);
  EXPECT_THROW(t.Apply(o, "MaxBox", "abc"), CorvaneError);
  EXPECT_FALSE(o.contour.MaxBox.has_value());
}

}  // namespace
}  // namespace corvane
