#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "contour/ContourLabels.h"
#include "contour/ContourLines.h"
#include "support/LoggingCanvas.h"

namespace corvane {
namespace {

using Line = std::vector<QPoint>;

// A level's buffer holding `lines`, drawn on `canvas` so its polyline figures are measured.
struct Level {
  LevelPolylineBuffer buffer;
  std::vector<PolylineFigure> figures;
  Level(const std::vector<Line>& lines, Canvas& canvas) {
    std::int32_t slotCount = 0;
    for (const Line& l : lines) slotCount += static_cast<std::int32_t>(l.size());
    buffer.Reset(slotCount);
    for (const Line& l : lines)
      for (std::size_t k = 0; k < l.size(); ++k) AddPolylinePoint(l[k], buffer, k > 0);
    DrawLevelPolylines(canvas, buffer, kWhite, 1, figures);
  }
};

// Five segments whose first is so long that the walk always stops at the first interior point,
// so the label centre is (x0 + 50, y0) for even x0.
Line LongFirstSegment(int x0, int y0) {
  return {{x0, y0}, {x0 + 100, y0}, {x0 + 101, y0}, {x0 + 102, y0}, {x0 + 103, y0}, {x0 + 104, y0}};
}

struct LabelFixture : ::testing::Test {
  LoggingCanvas canvas;
  ContourOptions options;
  ContourReadout readout{10.0, 0.0, true};
  NumberFormat format;
  Random random{42};
  std::vector<ContourLabel> labels;
  QRect area;  // the plot area labels must keep inside, or none

  void Place(const std::vector<Line>& lines, double level) {
    Level l(lines, canvas);
    PlaceLevelLabel(canvas, labels, l.buffer, l.figures, level, LabelRules{options, readout, format, area}, random);
  }
};

TEST_F(LabelFixture, OnlyTheLongestPolylineWithFiveSegmentsOrMoreIsLabelled) {
  // Four segments: too short, however long.
  Place({{{0, 0}, {300, 0}, {301, 0}, {302, 0}, {303, 0}}}, 1.0);
  EXPECT_TRUE(labels.empty());
  EXPECT_EQ(random.State(), 42u);  // the generator is not even asked
  // The longer of two lines carries it; five segments suffice.
  Place({{{0, 0}, {10, 0}}, LongFirstSegment(200, 300)}, 1.0);
  ASSERT_EQ(labels.size(), 1u);
  EXPECT_EQ(std::tie(labels[0].x, labels[0].y, labels[0].text), std::make_tuple(250, 300, FormatAxisNumber(1.0, format)));
}

TEST_F(LabelFixture, TextFollowsTheLineButStaysUpright) {
  const struct {
    int dx, dy, angle;
  } cases[] = {{0, 10, -900}, {0, -10, 900}, {10, -10, 450}, {-10, 10, 450}, {-10, -10, -450}, {-10, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dx << "," << c.dy);
    // A long first segment, then short ones: the spot is the first interior point.
    Line line{{500, 500}};
    for (int k = 1; k <= 6; ++k) line.push_back(line.back() + QPoint(c.dx, c.dy) * (k == 1 ? 30 : 1));
    labels.clear();
    Place({line}, 3.0);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].angle, c.angle);  // (-10, 10) is the (10, -10) line the other way
  }
}

TEST_F(LabelFixture, KeptLabelsNeverOverlapWhateverTheirAnglesAndTheGap) {
  // Crowds of labels at random spots and angles (a long first segment puts the label between
  // its ends). Each kept box (the text's size in the label font, turned, widened by half the
  // gap) is sampled point by point; no point may fall inside another kept box.
  std::mt19937 rng(7);
  for (int gap : {0, 4, 10, 30}) {
    options.labelGap = gap;
    labels.clear();
    for (int n = 0; n < 80; ++n) {
      const QPoint c(100 + static_cast<int>(rng() % 160), 100 + static_cast<int>(rng() % 160));
      const double turn = static_cast<double>(rng() % 360) * std::numbers::pi / 180.0;
      const QPoint d(static_cast<int>(std::lround(40 * std::cos(turn))), static_cast<int>(std::lround(-40 * std::sin(turn))));
      const QPoint e = c + d, s(d.x() > 0 ? 1 : (d.x() < 0 ? -1 : 0), d.y() > 0 ? 1 : (d.y() < 0 ? -1 : 0));
      Place({{c - d, e - s, e, e + s, e + 2 * s, e + 3 * s}}, 0.25 * static_cast<double>(rng() % 400) - 50.0);
    }
    ASSERT_GT(labels.size(), 4u);
    canvas.SetFont(options.LabelExp);
    const double widen = gap / 2.0 - 0.25;  // a hair less, for points on a shared side
    for (const ContourLabel& a : labels)
      for (const ContourLabel& b : labels) {
        const double ta = a.angle * std::numbers::pi / 1800.0, tb = b.angle * std::numbers::pi / 1800.0;
        const double wa = canvas.TextWidth(a.text) / 2.0 + widen, ha = canvas.TextHeight(a.text) / 2.0 + widen;
        const double wb = canvas.TextWidth(b.text) / 2.0 + widen, hb = canvas.TextHeight(b.text) / 2.0 + widen;
        int inside = 0;
        for (double u = -wa; u <= wa && &a != &b; u += 0.5)
          for (double v = -ha; v <= ha; v += 0.5) {
            const double x = a.x + u * std::cos(ta) + v * std::sin(ta) - b.x, y = a.y - u * std::sin(ta) + v * std::cos(ta) - b.y;
            inside += std::fabs(x * std::cos(tb) - y * std::sin(tb)) < wb && std::fabs(x * std::sin(tb) + y * std::cos(tb)) < hb;
          }
        EXPECT_EQ(inside, 0) << "gap " << gap << ": " << a.text << " at " << a.x << "," << a.y << " and " << b.text;
      }
  }
}

TEST_F(LabelFixture, RegulationKeepsLabelsInsideThePercentRange) {
  options.LabelRegulate = true, options.LabelMin = options.LabelMax = 50;
  Place({LongFirstSegment(0, 100)}, 4.0);
  Place({LongFirstSegment(0, 300)}, 6.0);
  EXPECT_TRUE(labels.empty());
  Place({LongFirstSegment(0, 500)}, 5.0);  // exactly the middle of 0 .. 10
  options.ShowLabel = false;
  Place({LongFirstSegment(0, 700)}, 5.0);
  EXPECT_EQ(labels.size(), 1u);
}

TEST_F(LabelFixture, LabelsAreKeptOnlyWhereTheirWholeTurnedBoxFits) {
  auto kept = [&](const Line& line, QRect plot) {
    labels.clear(), area = plot;
    Place({line}, 1.0);
    return labels.size();
  };
  // The label centre lands at (50, y); the box is 11 pixels high.
  const QRect picture(0, 0, 200, 100);
  EXPECT_EQ(kept(LongFirstSegment(0, 50), picture), 1u);
  EXPECT_EQ(kept(LongFirstSegment(0, 3), picture), 0u);   // cut at the top edge
  EXPECT_EQ(kept(LongFirstSegment(0, 97), picture), 0u);  // cut at the bottom edge
  EXPECT_EQ(kept(LongFirstSegment(0, 50), QRect(QPoint(48, 0), QPoint(199, 99))), 0u);  // over the left axis margin
  // A vertical line turns the box: it fits only where its height (the text width) fits.
  const Line vertical = {{50, 0}, {50, 40}, {50, 41}, {50, 42}, {50, 43}, {50, 44}};
  EXPECT_EQ(kept(vertical, picture), 1u);
  EXPECT_EQ(kept(vertical, QRect(0, 0, 200, 22)), 0u);
}

TEST(ContourLabelDrawing, RotatedTextIsCentredOnItsSpotAndTheAxisFontComesBack) {
  LoggingCanvas canvas;
  const FontSpec labelFont{"Arial", 11, 0x00FF00, 0, false, false};  // "150": 15 x 11 pixels
  const FontSpec axisFont{"Arial", 14, kWhite, 0, false, false};
  DrawContourLabels(canvas, {{"150", 100, 200, 0}, {"150", 300, 400, 900}}, labelFont, false, kBlack, axisFont);
  EXPECT_EQ(canvas.Only({"SetBrush", "SetFont", "TextOut"}),
            (std::vector<std::string>{"SetFont Arial 11 00FF00 0", "SetBrush 000000 Solid", "TextOut 92,194 150",
                                      "SetFont Arial 11 00FF00 900", "TextOut 294,408 150",
                                      "SetFont Arial 14 FFFFFF 0"}));
  LoggingCanvas clear;
  DrawContourLabels(clear, {{"150", 100, 200, -900}}, labelFont, true, kWhite, axisFont);
  EXPECT_EQ(clear.Only({"SetBrush", "TextOut"}), (std::vector<std::string>{"SetBrush FFFFFF Hollow", "TextOut 106,192 150"}));
}

}  // namespace
}  // namespace corvane
