#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "render/ViewTransform.h"

using namespace corvane;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

ViewTransform Picture(int w, int h) {
  ViewTransform v;
  v.SetPictureSize(w, h);
  return v;
}

// Every character 8 pixels wide, every text 16 high.
TextSize FixedWidth(const std::string& text) { return {static_cast<int>(text.size()) * 8, 16}; }

void ExpectFinite(const ViewTransform& v) {
  EXPECT_TRUE(std::isfinite(v.ScaleX) && v.ScaleX > 0) << v.ScaleX;
  EXPECT_TRUE(std::isfinite(v.ScaleY) && v.ScaleY > 0) << v.ScaleY;
  EXPECT_TRUE(std::isfinite(v.CentreX));
  EXPECT_TRUE(std::isfinite(v.CentreY));
}

}  // namespace

TEST(ViewTransform, RoundsHalvesToEvenOnTheExtendedValue) {
  ViewTransform v = Picture(500, 300);
  v.ScaleX = 0.5;
  EXPECT_EQ(v.WorldToPixelX(5.0), 252);   // 252.5
  EXPECT_EQ(v.WorldToPixelX(7.0), 254);   // 253.5
  EXPECT_EQ(v.WorldToPixelX(-505.0), -2);  // -2.5
  v.ScaleY = 0.5;
  EXPECT_EQ(v.WorldToPixelY(-5.0), 152);  // 152.5
  EXPECT_EQ(v.WorldToPixelY(1.0), 150);   // 149.5
  // 0.1 * 5 is 0.5 in doubles but slightly more in exact arithmetic.
  ViewTransform w;
  w.ScaleX = 5.0;
  EXPECT_EQ(w.WorldToPixelX(0.1), 1);
}

TEST(ViewTransform, PixelsSaturateForHugeAndNonFiniteCoordinates) {
  ViewTransform v = Picture(500, 300);
  v.ScaleX = v.ScaleY = 1e300;
  EXPECT_EQ(v.WorldToPixelX(1e300), kPixelLimit);
  EXPECT_EQ(v.WorldToPixelX(-1e300), -kPixelLimit);
  EXPECT_EQ(v.WorldToPixelY(1e300), -kPixelLimit);
  EXPECT_EQ(v.WorldToPixelX(kInf), kPixelLimit);
  EXPECT_EQ(v.WorldToPixelX(-kInf), -kPixelLimit);
  EXPECT_EQ(v.WorldToPixelX(kNaN), -kPixelLimit);
  EXPECT_EQ(v.WorldToPixelY(kNaN), -kPixelLimit);
  v.ScaleX = 0.0;
  EXPECT_EQ(v.WorldToPixelX(kInf), -kPixelLimit);  // inf * 0 is NaN
}

TEST(ViewTransform, PixelToWorldInvertsTheMapping) {
  ViewTransform v = Picture(500, 300);
  v.CentreX = 3.0;
  v.CentreY = -1.0;
  v.ScaleX = 4.0;
  v.ScaleY = 2.0;
  EXPECT_DOUBLE_EQ(v.PixelToWorldX(270), 8.0);
  EXPECT_DOUBLE_EQ(v.PixelToWorldY(140), 4.0);
  EXPECT_EQ(v.WorldToPixelX(8.0), 270);
  EXPECT_EQ(v.WorldToPixelY(4.0), 140);
}

TEST(ViewTransform, SetPictureSizeMovesOnlyTheCentrePixel) {
  ViewTransform v;
  v.CentreX = 2.0;
  v.ScaleY = 7.0;
  v.SetPictureSize(501, 301);
  EXPECT_EQ(v.CentrePixelX, 250);
  EXPECT_EQ(v.CentrePixelY, 150);
  EXPECT_EQ(v.CentreX, 2.0);
  EXPECT_EQ(v.ScaleY, 7.0);
  v.SetPictureSize(-5, -7);
  EXPECT_EQ(v.PictureWidth, 0);
  EXPECT_EQ(v.CentrePixelY, 0);
}

TEST(ViewTransform, RescaleFitsTheExtentsWithTwentyPixelsEachSide) {
  ViewTransform v = Picture(500, 300);
  v.Rescale({0, 10, 0, 2}, true, false, {}, FixedWidth);
  EXPECT_EQ(v.ScaleX, 46.0);
  EXPECT_EQ(v.ScaleY, 46.0);
  EXPECT_EQ(v.CentreX, 5.0);
  EXPECT_EQ(v.CentreY, 1.0);
  EXPECT_EQ(v.WorldToPixelX(5.0), 250);
  EXPECT_EQ(v.WorldToPixelY(1.0), 150);
  EXPECT_EQ(v.WorldToPixelX(10.0), 480);
  v.Rescale({0, 10, 0, 2}, false, false, {}, FixedWidth);
  EXPECT_EQ(v.ScaleX, 46.0);
  EXPECT_EQ(v.ScaleY, 130.0);
}

TEST(ViewTransform, RescaleLeavesRoomForTheAxisNumbers) {
  ViewTransform v = Picture(500, 300);
  // x labels "10" and "0": h = 16, bottom = 62; y labels "2" and "0": w = 8, left = 8+14+4+16+12.
  v.Rescale({0, 10, 0, 2}, true, true, {}, FixedWidth);
  EXPECT_EQ(v.AxisMarginBottom, 62);
  EXPECT_EQ(v.AxisMarginLeft, 54);
  EXPECT_DOUBLE_EQ(v.ScaleY, 238.0 * 46.0 / 300.0);
  EXPECT_EQ(v.ScaleX, v.ScaleY);
  EXPECT_EQ(v.CentrePixelX, 277);
  EXPECT_EQ(v.CentrePixelY, 119);
  // Without axes the margins stay as they were.
  v.Rescale({0, 10, 0, 2}, true, false, {}, FixedWidth);
  EXPECT_EQ(v.AxisMarginLeft, 54);
}

TEST(ViewTransform, RescaleOfZeroExtentKeepsAFiniteScale) {
  ViewTransform v = Picture(500, 300);
  v.ScaleX = 3.0;
  v.Rescale({0, 0, 0, 2}, false, false, {}, FixedWidth);
  EXPECT_EQ(v.ScaleX, 3.0);  // the flat direction keeps its scale
  EXPECT_EQ(v.ScaleY, 130.0);
  v.Rescale({0, 0, 0, 2}, true, false, {}, FixedWidth);
  EXPECT_EQ(v.ScaleX, 130.0);  // one scale for both: the usable one
  v.ScaleX = 0.0;
  v.ScaleY = kNaN;
  v.Rescale({0, 0, 0, 0}, true, true, {}, FixedWidth);
  ExpectFinite(v);
  v.Rescale({kNaN, kInf, -kInf, kNaN}, false, true, {}, nullptr);
  ExpectFinite(v);
  v.Rescale({-1, 1, -1, 1}, true, true, {}, [](const std::string&) { return TextSize{INT32_MAX, INT32_MAX}; });
  ExpectFinite(v);
  for (int size : {0, 1, 10, 39}) {
    ViewTransform small = Picture(size, size);
    small.Rescale({-1, 1, -1, 1}, true, true, {}, FixedWidth);
    ExpectFinite(small);
  }
}

TEST(ViewTransform, ZoomAtCentresTheClickedPointAndScales) {
  ViewTransform v = Picture(500, 300);
  v.CentreX = 1.0;
  v.CentreY = 2.0;
  v.ScaleX = 4.0;
  v.ScaleY = 8.0;
  const ViewTransform before = v;
  v.ZoomAt(250, 150, 2.0);
  EXPECT_EQ(v.CentreX, 1.0);
  EXPECT_EQ(v.ScaleX, 8.0);
  EXPECT_EQ(v.ScaleY, 16.0);
  v.ZoomAt(250, 150, 0.5);
  EXPECT_EQ(v.CentreX, before.CentreX);
  EXPECT_EQ(v.CentreY, before.CentreY);
  EXPECT_EQ(v.ScaleX, before.ScaleX);
  EXPECT_EQ(v.ScaleY, before.ScaleY);
  v.ZoomAt(290, 110, 0.5);
  EXPECT_EQ(v.CentreX, 11.0);
  EXPECT_EQ(v.CentreY, 7.0);
  EXPECT_EQ(v.ScaleX, 2.0);
  // Zooms without a finite result change nothing.
  const ViewTransform kept = v;
  v.ZoomAt(kNaN, 0, 2.0);
  v.ZoomAt(0, 0, 0.0);
  v.ZoomAt(0, 0, kInf);
  EXPECT_EQ(v.CentreX, kept.CentreX);
  EXPECT_EQ(v.ScaleX, kept.ScaleX);
}

TEST(ViewTransform, ZoomToRectFitsTheDraggedRectangle) {
  ViewTransform v = Picture(500, 300);
  v.ZoomToRect(10, 10, 110, 60, false);
  EXPECT_DOUBLE_EQ(v.ScaleX, 4.8);
  EXPECT_DOUBLE_EQ(v.ScaleY, 5.6);
  EXPECT_EQ(v.CentreX, -190.0);
  EXPECT_EQ(v.CentreY, 115.0);
  ViewTransform same = Picture(500, 300);
  same.ZoomToRect(110, 60, 10, 10, true);  // corners in any order
  EXPECT_DOUBLE_EQ(same.ScaleX, 4.8);
  EXPECT_DOUBLE_EQ(same.ScaleY, 4.8);
  EXPECT_EQ(same.CentreX, -190.0);
  // Dragging 200 x 200 pixels in a 520 x 320 picture: 500 and 300 pixels across.
  ViewTransform w = Picture(520, 320);
  w.ScaleX = w.ScaleY = 2.0;
  w.ZoomToRect(100, 50, 300, 250, false);
  EXPECT_DOUBLE_EQ(w.ScaleX, 5.0);
  EXPECT_DOUBLE_EQ(w.ScaleY, 3.0);
}

TEST(ViewTransform, ZoomToRectWithoutWidthOrHeightChangesNothing) {
  ViewTransform v = Picture(500, 300);
  v.ZoomToRect(10, 10, 10, 60, true);
  v.ZoomToRect(10, 10, 110, 10, true);
  v.ZoomToRect(kNaN, 10, 110, 60, true);
  EXPECT_EQ(v.ScaleX, 1.0);
  EXPECT_EQ(v.ScaleY, 1.0);
  EXPECT_EQ(v.CentreX, 0.0);
}

TEST(ViewTransform, WidenForCopiesCoversEveryShiftedCopy) {
  Extents e = WidenForCopies({-1, 4, 0, 2}, 2.0, -0.5, 3);
  EXPECT_EQ(e.XMin, -1.0);
  EXPECT_EQ(e.XMax, 10.0);  // six units wider
  EXPECT_EQ(e.YMin, -1.5);
  EXPECT_EQ(e.YMax, 2.0);
  Extents same = WidenForCopies({-1, 4, 0, 2}, kNaN, 1.0, 0);
  EXPECT_EQ(same.XMax, 4.0);
  EXPECT_EQ(same.YMax, 2.0);
  Extents nan = WidenForCopies({-1, 4, 0, 2}, kNaN, kInf, 2);
  EXPECT_EQ(nan.XMax, 4.0);
  EXPECT_EQ(nan.YMin, 0.0);
}
