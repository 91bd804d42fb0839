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

// Scale x and y, centre x and y.
std::vector<double> State(const ViewTransform& v) { return {v.ScaleX, v.ScaleY, v.CentreX, v.CentreY}; }

bool Finite(const ViewTransform& v) {
  return std::isfinite(v.ScaleX) && v.ScaleX > 0 && std::isfinite(v.ScaleY) && v.ScaleY > 0 &&
         std::isfinite(v.CentreX) && std::isfinite(v.CentreY);
}

}  // namespace

TEST(ViewTransform, RoundsHalvesToEvenAndSaturates) {
  ViewTransform v = Picture(500, 300);
  v.ScaleX = v.ScaleY = 0.5;
  for (auto [x, pixel] : {std::pair{5.0, 252}, {7.0, 254}, {-505.0, -2}})  // 252.5, 253.5, -2.5
    EXPECT_EQ(v.WorldToPixelX(x), pixel) << x;
  EXPECT_EQ(v.WorldToPixelY(1.0), 150);  // 149.5
  ViewTransform w;
  w.ScaleX = 5.0;
  EXPECT_EQ(w.WorldToPixelX(0.1), 1);  // 0.1 * 5 is 0.5 in doubles, a little more exactly
  v.ScaleX = v.ScaleY = 1e300;
  EXPECT_EQ((std::vector<int>{v.WorldToPixelX(1e300), v.WorldToPixelY(1e300), v.WorldToPixelX(-kInf), v.WorldToPixelX(kNaN)}),
            (std::vector<int>{kPixelLimit, -kPixelLimit, -kPixelLimit, -kPixelLimit}));
}

TEST(ViewTransform, RescaleFitsTheExtentsWithTwentyPixelsEachSideAndKeepsAFiniteScale) {
  ViewTransform v = Picture(500, 300);
  v.Rescale({0, 10, 0, 2}, true, false, {}, FixedWidth);
  EXPECT_EQ(std::pair(v.ScaleX, v.ScaleY), std::pair(46.0, 46.0));
  EXPECT_EQ((std::vector<int>{v.WorldToPixelX(5.0), v.WorldToPixelY(1.0), v.WorldToPixelX(10.0)}), (std::vector<int>{250, 150, 480}));
  v.Rescale({0, 10, 0, 2}, false, false, {}, FixedWidth);
  EXPECT_EQ(v.ScaleY, 130.0);
  // A zero extent keeps a finite scale.
  v = Picture(500, 300);
  v.ScaleX = 3.0;
  v.Rescale({0, 0, 0, 2}, false, false, {}, FixedWidth);
  EXPECT_EQ(std::pair(v.ScaleX, v.ScaleY), std::pair(3.0, 130.0));  // the flat direction keeps its scale
  v.Rescale({0, 0, 0, 2}, true, false, {}, FixedWidth);
  EXPECT_EQ(v.ScaleX, 130.0);  // one scale for both: the usable one
  v.ScaleX = 0.0, v.ScaleY = kNaN;
  v.Rescale({0, 0, 0, 0}, true, true, {}, FixedWidth);
  EXPECT_TRUE(Finite(v));
  v.Rescale({kNaN, kInf, -kInf, kNaN}, false, true, {}, nullptr);
  EXPECT_TRUE(Finite(v));
  v.Rescale({-1, 1, -1, 1}, true, true, {}, [](const std::string&) { return TextSize{INT32_MAX, INT32_MAX}; });
  EXPECT_TRUE(Finite(v));
  for (int size : {-5, 0, 1, 39}) {
    ViewTransform small = Picture(size, size);
    small.Rescale({-1, 1, -1, 1}, true, true, {}, FixedWidth);
    EXPECT_TRUE(Finite(small)) << size;
  }
}

TEST(ViewTransform, ZoomAtCentresTheClickedPointAndZoomToRectFitsTheDraggedRectangleOnly) {
  ViewTransform v = Picture(500, 300);
  v.ScaleX = 4.0, v.ScaleY = 8.0, v.CentreX = 1.0, v.CentreY = 2.0;
  v.ZoomAt(250, 150, 2.0);
  v.ZoomAt(250, 150, 0.5);  // in and out at the centre pixel restores the view
  EXPECT_EQ(State(v), (std::vector<double>{4.0, 8.0, 1.0, 2.0}));
  v.ZoomAt(290, 110, 0.5);
  EXPECT_EQ(State(v), (std::vector<double>{2.0, 4.0, 11.0, 7.0}));
  for (double factor : {0.0, kInf, kNaN}) v.ZoomAt(0, 0, factor);  // no finite result: refused
  v.ZoomAt(kNaN, 0, 2.0);
  EXPECT_EQ(State(v), (std::vector<double>{2.0, 4.0, 11.0, 7.0}));

  // A dragged rectangle is fitted, its corners in any order.
  v = Picture(500, 300);
  v.ZoomToRect(110, 60, 10, 10, false);
  EXPECT_DOUBLE_EQ(v.ScaleX, 4.8);
  EXPECT_DOUBLE_EQ(v.ScaleY, 5.6);
  EXPECT_EQ(std::pair(v.CentreX, v.CentreY), std::pair(-190.0, 115.0));
  ViewTransform w = Picture(520, 320);
  w.ScaleX = w.ScaleY = 2.0;
  w.ZoomToRect(100, 50, 300, 250, true);  // 500 and 300 pixels across: the smaller wins
  EXPECT_DOUBLE_EQ(w.ScaleX, 3.0);
  EXPECT_DOUBLE_EQ(w.ScaleY, 3.0);
  // A drag without width or height, or from nowhere, changes nothing.
  w.ZoomToRect(10, 10, 10, 60, true);
  w.ZoomToRect(10, 10, 110, 10, true);
  w.ZoomToRect(kNaN, 10, 110, 60, true);
  EXPECT_DOUBLE_EQ(w.ScaleX, 3.0);
  EXPECT_EQ(w.CentreX, -30.0);
}

TEST(ViewTransform, WidenForCopiesCoversEveryShiftedCopy) {
  Extents e = WidenForCopies({-1, 4, 0, 2}, 2.0, -0.5, 3);
  EXPECT_EQ((std::vector<double>{e.XMin, e.XMax, e.YMin, e.YMax}), (std::vector<double>{-1.0, 10.0, -1.5, 2.0}));  // six units wider
  EXPECT_EQ(WidenForCopies({-1, 4, 0, 2}, kNaN, kInf, 2).XMax, 4.0);
}
