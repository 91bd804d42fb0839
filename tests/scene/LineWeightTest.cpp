// Lines keep their weight when drawn smooth, labels lie over every line of the plot, and a
// fixed line colour left at its default shows on a white background.
#include <gtest/gtest.h>

#include <QPainter>
#include <algorithm>
#include <set>

#include "TestGrids.h"
#include "render/GridData.h"
#include "scene/SceneRenderer.h"
#include "support/LayerScene.h"

namespace corvane {
namespace {

using testing::MakeZones;
using testing::PixelAt;

constexpr auto Draw = testing::DrawQuietly;

// A sheared grid, black on white: its i lines slant (3 across for 10 up), its j lines are level.
SceneState ShearedGrid() {
  SceneState s;
  s.data = MakeZones({{4, 4, [](int i, int j) { return std::pair{i * 10.0 + j * 3.0, j * 10.0}; }}}, {"f"},
                     [](double x, double) { return std::vector<double>{x}; });
  s.fieldView = testing::ZeroRanges();
  s.fieldView.Boundaries.assign(1, BoundaryFlags{false, false, false, false});
  s.options.display.WhiteBack = true;
  s.options.display.ShowContour = false;
  s.options.display.ShowGrid = true;
  s.view.SetPictureSize(200, 160);
  FitView(s);
  return s;
}

struct Ink {
  long long total = 0;        // the sum of 255 - grey over the picture
  int darkest = 255;
  std::set<int> greys;        // levels strictly between black and white
  std::vector<int> blackRows; // black pixels per row
};

Ink InkOf(const QImage& image) {
  Ink ink;
  ink.blackRows.assign(static_cast<std::size_t>(image.height()), 0);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const int g = qGray(image.pixel(x, y));
      ink.total += 255 - g;
      ink.darkest = std::min(ink.darkest, g);
      if (g > 0 && g < 255) ink.greys.insert(g);
      if (g == 0) ++ink.blackRows[static_cast<std::size_t>(y)];
    }
  return ink;
}

// The ink of `s` drawn plain and drawn smooth, which must be as much (within `share` of it, not
// half of it) with a core as dark.
std::pair<Ink, Ink> PlainAndSmooth(SceneState s, double share) {
  EXPECT_TRUE(Draw(s));
  const Ink plain = InkOf(s.bitmap);
  s.options.display.SmoothCheck = true;
  EXPECT_TRUE(Draw(s));
  const Ink smooth = InkOf(s.bitmap);
  EXPECT_GT(plain.total, 0);
  EXPECT_NEAR(static_cast<double>(smooth.total) / static_cast<double>(plain.total), 1.0, share);
  EXPECT_EQ(smooth.darkest, plain.darkest);
  return {plain, smooth};
}

}  // namespace

TEST(LineWeight, SmoothLinesKeepTheirWeightAndCoreWithManyGreysAtTheirEdges) {
  const auto [plain, smooth] = PlainAndSmooth(ShearedGrid(), 0.15);
  // A full range of coverage.
  EXPECT_GE(smooth.greys.size(), 12u);
  EXPECT_LE(plain.greys.size(), 1u);
  // A level line on whole pixels stays the plain line's full row of black.
  int levelRows = 0;
  for (std::size_t y = 0; y < plain.blackRows.size(); ++y)
    if (plain.blackRows[y] > 60) {
      ++levelRows;
      EXPECT_GE(smooth.blackRows[y], plain.blackRows[y] - 8) << "row " << y;
    }
  EXPECT_EQ(levelRows, 4);
}

TEST(LineWeight, WiderSmoothLinesAndArrowsKeepTheirWeightToo) {
  SceneState s = ShearedGrid();
  s.options.display.ShowGrid = false;
  s.options.display.ShowVec = true;
  s.data.VariableNames = {"u", "v"};
  s.data.Values.assign(2, NodeRow(16, 1.0));
  std::fill(s.data.Values[0].begin(), s.data.Values[0].end(), 3.0);
  s.data.ColumnCount = 4;
  s.options.load.xvecbox = 0, s.options.load.yvecbox = 1;
  s.options.display.arrowScale = 2.0;
  PlainAndSmooth(s, 0.2);
}

namespace {

constexpr Colour kStreamColour = MakeColour(12, 34, 56);

// Level contour lines of f = x at 5, 10, 15 with their labels, and a uniform flow to the right
// whose streamlines, seeded every tenth of a unit up a line, cross every label.
SceneState LabelsAndStreamlines() {
  SceneState s;
  s.data = MakeZones({testing::Rect(21, 11, 0.0, 0.0)}, {"f", "u", "v"},
                     [](double x, double) { return std::vector<double>{x, 1.0, 0.0}; });
  s.fieldView.ContourMin = {0.0, 0.0, 0.0}, s.fieldView.ContourMax = {20.0, 1.0, 1.0};
  s.fieldView.ContourStep = {5.0, 1.0, 1.0};
  s.fieldView.Boundaries.assign(1, BoundaryFlags{false, false, false, false});
  s.options.load.AutoStepCheck = false;
  s.options.load.xvecbox = 1, s.options.load.yvecbox = 2;
  DisplayOptions& d = s.options.display;
  d.WhiteBack = true;
  d.ShowContour = d.LineCheck = true;
  d.BrushCheck = false;
  StreamOptions& st = s.options.stream;
  st.StreamLineSegment = true;
  st.StreamXa = 0.2, st.StreamYa = 0.05, st.StreamXb = 0.2, st.StreamYb = 9.95, st.StreamDevide = 100;
  st.streamLineColour = kStreamColour;
  s.view.SetPictureSize(300, 200);
  FitView(s);
  return s;
}

// The picture of a copy of `start` with labels and streamlines as asked: the bitmap, or with
// `vector` the complete picture played into an image.
QImage PictureOf(const SceneState& start, bool labels, bool streamlines, bool vector) {
  SceneState s = start;
  s.options.contour.ShowLabel = labels;
  s.options.display.DrawStreamLineCheck = streamlines;
  EXPECT_TRUE(Draw(s));
  if (!vector) return s.bitmap;
  QImage image(s.bitmap.size(), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.drawPicture(0, 0, CompletePicture(s));
  return image;
}

}  // namespace

TEST(LabelOrder, LabelsLieOverTheStreamlinesThatCrossThemInEveryForm) {
  for (bool smooth : {false, true})
    for (bool vector : {false, true}) {
      if (vector && !smooth) continue;  // the plain picture's vector file is its bitmap's picture
      SceneState start = LabelsAndStreamlines();
      start.options.display.SmoothCheck = smooth;
      const QImage withLabels = PictureOf(start, true, false, vector);
      const QImage without = PictureOf(start, false, false, vector);
      const QImage streamsOnly = PictureOf(start, false, true, vector);
      const QImage both = PictureOf(start, true, true, vector);
      int labelPixels = 0, crossed = 0, over = 0;
      for (int y = 0; y < withLabels.height(); ++y)
        for (int x = 0; x < withLabels.width(); ++x) {
          if (withLabels.pixel(x, y) == without.pixel(x, y)) continue;
          ++labelPixels;
          crossed += PixelAt(streamsOnly, x, y) == kStreamColour;
          over += PixelAt(both, x, y) == kStreamColour;
        }
      const std::string form = std::string(smooth ? "smooth" : "plain") + (vector ? " vector" : " bitmap");
      EXPECT_GT(labelPixels, 50) << form;
      EXPECT_GT(crossed, 20) << form;  // the streamlines do run where the labels are
      EXPECT_EQ(over, 0) << form;
    }
}

TEST(FixedLineColour, TheDefaultWhiteIsDrawnBlackOnWhiteButAChosenWhiteStays) {
  const struct {
    bool whiteBack;
    const char* shape1;  // "" leaves the default
    Colour expected;
  } cases[] = {{true, "", kBlack}, {false, "", kWhite}, {true, "16777215", kWhite}, {true, "255", MakeColour(0, 0, 255)}};
  for (const auto& c : cases) {
    SceneState s = LabelsAndStreamlines();
    s.options.display.WhiteBack = c.whiteBack;
    s.options.contour.ShowLabel = false;
    s.options.contour.FixLineColor = true;
    if (*c.shape1 != '\0') ContourOptionTable().Apply(s.options.contour, "Shape1", c.shape1);
    ASSERT_TRUE(Draw(s));
    // The line of level 10 crosses the middle row of the picture.
    const int y = s.bitmap.height() / 2, x = static_cast<int>(std::lround(s.view.WorldToPixelX(10.0)));
    int found = 0;
    for (int dx = -1; dx <= 1; ++dx) found += PixelAt(s.bitmap, x + dx, y) == c.expected;
    EXPECT_GE(found, 1) << c.whiteBack << " " << c.shape1;
  }
}

}  // namespace corvane
