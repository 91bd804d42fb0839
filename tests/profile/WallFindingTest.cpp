// Lines found on the grid rather than typed: the body walls of a ring of two zones round a
// hole (the outer circle and the shared cuts left out), the grid line nearest a point, lines
// said in words, and a second variable read on an axis of its own.
#include <QImage>
#include <gtest/gtest.h>

#include <cmath>

#include "TestGrids.h"
#include "profile/ProfileTable.h"
#include "profile/WallFinding.h"

namespace corvane {
namespace {

using testing::MakeZones;

constexpr double kPi = 3.14159265358979323846;

// Two half rings round the unit circle out to radius 3: i round (9 nodes each half), j outwards
// (4 nodes). They meet at angles 0 and pi; the second runs the other way round.
FieldDataSet Ring() {
  auto half = [](double start, double turn) {
    return testing::ZoneSpec{9, 4, [=](int i, int j) {
                               const double a = start + turn * kPi * i / 8.0, r = 1.0 + 2.0 * j / 3.0;
                               return std::make_pair(r * std::cos(a), r * std::sin(a));
                             }};
  };
  return MakeZones({half(0.0, 1.0), half(0.0, -1.0)}, {"F"}, [](double x, double y) { return std::vector<double>{x + y}; });
}

TEST(BodyWalls, TheInnerCircleOfARingOfTwoZonesIsTheWallAndNothingElse) {
  const FieldDataSet ring = Ring();
  const std::vector<LinePiece> walls = BodyWalls(ring);
  ASSERT_EQ(walls.size(), 2u) << LinePiecesText(walls);
  for (const LinePiece& p : walls) EXPECT_TRUE(p.constantJ && p.index == 0) << LinePiecesText(walls);
  EXPECT_NE(walls[0].zone, walls[1].zone);
  // Walked as one closed line round the body: 17 nodes, the joint taken once, every point on r = 1.
  const Profile wall = ExtractGridLine(ring, walls);
  ASSERT_EQ(wall.Size(), 17u);
  for (std::size_t k = 0; k < wall.Size(); ++k) EXPECT_NEAR(std::hypot(wall.x[k], wall.y[k]), 1.0, 1e-12) << k;
  EXPECT_NEAR(wall.s.back(), 16 * 2 * std::sin(kPi / 16), 1e-9);  // once round, chord by chord

  // Zones side by side in a box have no body at all; a block in the middle of four is one.
  using testing::Rect;
  const FieldDataSet box = MakeZones({Rect(3, 3, 0, 0), Rect(3, 3, 2, 0)}, {"F"}, [](double, double) { return std::vector<double>{0}; });
  EXPECT_TRUE(BodyWalls(box).empty());
  const FieldDataSet frame = MakeZones({Rect(4, 2, 0, 0), Rect(4, 2, 0, 2), Rect(2, 2, 0, 1), Rect(2, 2, 2, 1)}, {"F"},
                                       [](double, double) { return std::vector<double>{0}; });
  // Frame: below and above span x 0..3; left and right blocks leave a hole x 1..2, y 1..2.
  const std::vector<LinePiece> hole = BodyWalls(frame);
  const Profile round = ExtractGridLine(frame, hole);
  ASSERT_GE(round.Size(), 4u) << LinePiecesText(hole);
  for (std::size_t k = 0; k < round.Size(); ++k)
    EXPECT_TRUE(round.x[k] >= 1 && round.x[k] <= 2 && round.y[k] >= 1 && round.y[k] <= 2) << LinePiecesText(hole);
  EXPECT_NEAR(round.s.back(), 4.0, 1e-12) << LinePiecesText(hole);
}

TEST(NearestGridLine, AClickNearALineChoosesThatWholeLine) {
  const FieldDataSet ring = Ring();
  struct Case {
    WorldPoint at;
    bool constantJ;
    int index;
  };
  const double between = kPi * 4.5 / 8;  // half way between two rays
  const Case cases[] = {{{1.05 * std::cos(between), 1.05 * std::sin(between)}, true, 0},  // just off the wall
                        {{2.95 * std::cos(between), 2.95 * std::sin(between)}, true, 3},  // at the outer circle
                        {{2.0 * std::cos(kPi / 8) + 0.01, 2.0 * std::sin(kPi / 8)}, false, 1}};  // on the ray i = 1
  for (const Case& c : cases) {
    const std::optional<NearestLine> line = NearestGridLine(ring, c.at);
    ASSERT_TRUE(line);
    EXPECT_EQ(std::tuple(line->piece.zone, line->piece.constantJ, line->piece.index), std::tuple(0, c.constantJ, c.index))
        << c.at.x << "," << c.at.y;
    EXPECT_LT(line->distance, 0.08);
  }
  EXPECT_FALSE(NearestGridLine(FieldDataSet{}, {0, 0}));
}

TEST(DescribeLine, LinesAreSaidInWords) {
  EXPECT_EQ(DescribeLine({{0, true, 0, 0, -1}, {1, true, 0, 0, -1}}, false), "領域 0, 1 の j = 0 の線");
  EXPECT_EQ(DescribeLine({{2, false, 5, 0, -1}}, false), "領域 2 の i = 5 の線");
  EXPECT_EQ(DescribeLine({{0, true, 0, 0, -1}, {0, false, 3, 0, -1}}, false), "領域 0 の 2 区間をつないだ線");
  EXPECT_EQ(DescribeLine({{0, true, 0, 0, -1}}, true), "物体の壁");
}

// The rows (top, bottom) the pixels of `colour` span in the plot.
std::pair<int, int> RowsOf(const QImage& image, QColor colour) {
  int top = image.height(), bottom = -1;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) + std::abs(c.blue() - colour.blue()) < 30)
        top = std::min(top, y), bottom = std::max(bottom, y);
    }
  return {top, bottom};
}

TEST(SecondAxis, ASecondVariableIsReadOnTheRightWithItsOwnRange) {
  ProfileSet set;
  set.label = "run";
  set.profile.s = set.profile.x = set.profile.y = {0, 1, 2, 3, 4};
  set.profile.rows = {{0, 70, 140, 210, 280}, {-1, -0.5, 0, 0.5, 1}};
  set.rowNames = {"speed", "Cp"};
  PlotSpec figure = MakeProfilePlot({set}, {"speed", "Cp"}, ProfileAxis::X);
  ASSERT_EQ(figure.curves.size(), 2u);
  EXPECT_TRUE(!figure.curves[0].right && figure.curves[1].right);
  EXPECT_EQ(std::pair(figure.yTitle, figure.yTitle2), std::pair(std::string("speed"), std::string("Cp")));
  // Both curves rise across most of the plot's height: Cp is not a flat line at the bottom.
  figure.legend = false;
  const QImage image = RenderProfilePlot(figure, 500, 400);
  for (const PlotCurve& c : figure.curves) {
    const auto [top, bottom] = RowsOf(image, c.colour);
    EXPECT_GT(bottom - top, 200) << c.label;
  }
  // One variable keeps one axis.
  EXPECT_FALSE(MakeProfilePlot({set}, {"Cp"}, ProfileAxis::X).curves[0].right);
}

}  // namespace
}  // namespace corvane
