// Pictures that tell the truth on awkward data: legend and fill agree band for band, nodes on an
// exact half pixel leave no pinhole, nodes at NaN or infinity make holes instead of bars to the
// picture's edge, levels single precision cannot tell apart keep their own colours, and labels
// stay readable and whole.
#include <gtest/gtest.h>

#include <QImage>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ContourScene.h"
#include "TestImages.h"
#include "contour/ContourFill.h"
#include "contour/ContourLabels.h"
#include "contour/ContourLines.h"
#include "contour/Legend.h"
#include "render/LoggingCanvas.h"
#include "render/GridData.h"
#include "render/PainterCanvas.h"

namespace corvane {
namespace {

using test::ContourScene;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

QImage Filled(ContourScene& scene, int width, int height) {
  QImage image = testing::FilledImage(width, height);
  PainterCanvas canvas(&image);
  DrawContourFill(scene.Context(), scene.options.contour.colourMap, canvas, &image);
  canvas.Finish();
  return image;
}

// Brush colours of the legend's bar pieces, in drawing order.
std::vector<Colour> LegendBands(const LegendInput& input) {
  LoggingCanvas canvas;
  LegendOptions options;
  options.orientation = LegendOrientation::Horizontal;
  options.LegendWidthBox = 400, options.LegendHeightBox = 60;
  DrawHorizontalLegend(canvas, options, input);
  std::vector<Colour> colours;
  Colour brush = kBlack;
  for (const std::string& call : canvas.calls) {
    if (call.rfind("SetBrush ", 0) == 0) brush = static_cast<Colour>(std::stoul(call.substr(9, 6), nullptr, 16));
    if (call.rfind("Rectangle ", 0) == 0) colours.push_back(brush);
  }
  colours.erase(colours.begin());  // the background
  return colours;
}

TEST(TruePicture, LegendBandsHaveTheColoursThePictureFillsThemWith) {
  // Value = i on 11 x 2 nodes, levels 0 .. 10 by 1: the middle of band [n, n + 1] lies at x = n + 0.5.
  ContourScene scene(11, 2, [](int i, int) { return double(i); }, 0, 10, 1);
  scene.options.display.BrushCheck = true;
  const QImage picture = Filled(scene, 200, 200);
  const std::vector<Colour> legend = LegendBands(LegendInput{0, 10, 1, true, ColourMapKind::Rainbow});
  ASSERT_EQ(legend.size(), 12u);  // the empty piece below 0, bands [0, 1] .. [10, 11]
  for (int n = 0; n < 10; ++n)
    EXPECT_EQ(legend[static_cast<std::size_t>(n + 1)], testing::PixelAt(picture, 10 * n + 5, 95)) << n;
}

TEST(TruePicture, NodesOnAnExactHalfPixelLeaveNoPinholes) {
  // Nodes every 0.3 at 5 pixels per unit: odd nodes lie on half pixels, where the single- and
  // the double-precision coordinate round to different pixels. One band covers everything.
  const int n = 9;
  ContourScene scene(n, n, [](int i, int j) { return 0.01 * (i * i + 3 * j); }, 0, 10, 5);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      scene.data.X[static_cast<std::size_t>(i * n + j)] = 0.3 * i;
      scene.data.Y[static_cast<std::size_t>(i * n + j)] = 0.3 * j;
    }
  scene.Zoom(5, 40, 40);
  scene.view.CentrePixelY = 20;
  scene.options.display.BrushCheck = true;
  // Every node is one pixel for all the triangles that share it, so the polygons tile.
  LoggingCanvas log;
  DrawContourFill(scene.Context(), ColourMapKind::Rainbow, log, nullptr);
  std::set<std::pair<int, int>> corners;
  for (const std::string& call : log.calls)
    if (call.rfind("Polygon ", 0) == 0) {
      std::istringstream points(call.substr(8));
      int x = 0, y = 0;
      char comma = 0;
      while (points >> x >> comma >> y) corners.insert({x, y});
    }
  EXPECT_EQ(corners.size(), static_cast<std::size_t>(n * n));
  const QImage image = Filled(scene, 40, 40);
  EXPECT_EQ(testing::CountPixels(image.copy(1, 9, 10, 10), qRgb(255, 255, 255)), 0);
}

TEST(TruePicture, NodesAtNaNOrInfinityAreHolesInTheBandsAndLines) {
  // 4 x 4 nodes at 10 pixels per unit; node (1, 1) has x = NaN, node (2, 2) y = infinity.
  for (double bad : {kNaN, kInf, -kInf}) {
    ContourScene scene(4, 4, [](int i, int j) { return i + 0.5 * j; }, 0, 5, 0.5);
    scene.Zoom(10, 100, 100);
    scene.view.CentrePixelX = 20, scene.view.CentrePixelY = 70;
    scene.data.X[1 * 4 + 1] = kNaN;
    scene.data.Y[2 * 4 + 2] = bad;
    scene.options.display.BrushCheck = true;
    const QImage image = Filled(scene, 100, 100);
    // Nothing outside the grid's box (20..50 x 40..70): no bar to the edge.
    int outside = 0;
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 100; ++x)
        if ((x < 20 || x > 50 || y < 40 || y > 70) && image.pixel(x, y) != qRgb(255, 255, 255)) ++outside;
    EXPECT_EQ(outside, 0) << bad;
    // The cell between nodes (2, 0) and (3, 1) is far from both and filled; the middle of cell
    // (1, 1)-(2, 2) uses both bad nodes and is a hole.
    EXPECT_NE(image.pixel(45, 65), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(35, 55), qRgb(255, 255, 255));
    // Contour lines, their labels and the grid lines stay inside the picture as well.
    LoggingCanvas lines;
    DrawContourLines(scene.Context(), scene.options.contour, lines);
    for (const std::string& call : lines.calls) EXPECT_EQ(call.find("1073741824"), std::string::npos) << call;
  }
}

TEST(TruePicture, LevelsSinglePrecisionMergesTakeTheirColoursFromTheDoubles) {
  // 20 bands of 0.005 above 1e5: in single precision (steps of 0.0078) neighbours would merge.
  const LevelPalette narrow(1e5, 1e5 + 0.1, 0.005, ColourMapKind::Rainbow);
  EXPECT_TRUE(narrow.Exact());
  for (int n = 0; n < 20; ++n) EXPECT_NE(narrow(1e5 + 0.005 * n), narrow(1e5 + 0.005 * (n + 1))) << n;
  // A field of about 1e-300 underflows to zero in single precision: the whole map still shows.
  const LevelPalette tiny(0.0, 1e-300, 1e-301, ColourMapKind::Rainbow);
  EXPECT_TRUE(tiny.Exact());
  EXPECT_EQ(std::pair(tiny(0.0), tiny(1e-300)), std::pair(MakeColour(0, 0, 255), MakeColour(255, 0, 0)));
  // Wherever single precision keeps the levels apart, the colours are today's, bit for bit.
  const LevelPalette usual(0.3, 0.85, 0.025, ColourMapKind::Rainbow);
  EXPECT_FALSE(usual.Exact());
  for (int n = 12; n <= 34; ++n)
    EXPECT_EQ(usual(n * 0.025), LevelColour(static_cast<float>(n * 0.025), 0.3f, 0.85f, ColourMapKind::Rainbow));
  // The fill of a 1e5 + 0.05 field: the bands [1e5, 1e5 + 0.005] and [1e5 + 0.005, 1e5 + 0.01],
  // one colour in single precision, differ.
  ContourScene field(3, 2, [](int i, int) { return 1e5 + 0.05 * i; }, 1e5, 1e5 + 0.1, 0.005);
  field.options.display.BrushCheck = true;
  field.Zoom(50, 150, 100);
  const QImage image = Filled(field, 150, 100);
  EXPECT_NE(image.pixel(2, 25), image.pixel(7, 25));
}

TEST(TruePicture, DefaultWhiteLabelsTurnBlackOnWhiteButAChosenColourStays) {
  ContourOptions o;
  EXPECT_EQ(std::pair(LabelFontFor(o, true).colour, LabelFontFor(o, false).colour), std::pair(kBlack, kWhite));
  ContourOptionTable().Apply(o, "LabelExp", "16777215");  // white, chosen in the settings
  EXPECT_EQ(LabelFontFor(o, true).colour, kWhite);
  ContourOptionTable().Apply(o, "LabelExp", "255");
  EXPECT_EQ(LabelFontFor(o, true).colour, ParseColourValue("LabelExp", "255"));
}

TEST(TruePicture, LabelsAreKeptOnlyWhereTheirWholeTurnedBoxFits) {
  LoggingCanvas canvas;
  ContourOptions options;
  ContourReadout readout{10.0, 0.0, true};
  NumberFormat format;
  auto place = [&](std::vector<QPoint> line, QRect area) {
    LevelPolylineBuffer buffer;
    buffer.Reset(static_cast<std::int32_t>(line.size()));
    for (std::size_t k = 0; k < line.size(); ++k) AddPolylinePoint(line[k], buffer, k > 0);
    std::vector<PolylineFigure> figures;
    DrawLevelPolylines(canvas, buffer, kWhite, 1, figures);
    std::vector<ContourLabel> labels;
    Random random(1);
    PlaceLevelLabel(canvas, labels, buffer, figures, 1.0, LabelRules{options, readout, format, area}, random);
    return labels.size();
  };
  // The label centre lands at (50, y) with the long first segment; the box is 11 pixels high.
  auto line = [](int y) { return std::vector<QPoint>{{0, y}, {100, y}, {101, y}, {102, y}, {103, y}, {104, y}}; };
  const QRect picture(0, 0, 200, 100);
  EXPECT_EQ(place(line(50), picture), 1u);
  EXPECT_EQ(place(line(3), picture), 0u);   // cut at the top edge
  EXPECT_EQ(place(line(97), picture), 0u);  // cut at the bottom edge
  EXPECT_EQ(place(line(50), QRect(QPoint(48, 0), QPoint(199, 99))), 0u);  // over the left axis margin
  // A vertical line turns the box: it fits only where its height (the text width) fits.
  const std::vector<QPoint> vertical = {{50, 0}, {50, 40}, {50, 41}, {50, 42}, {50, 43}, {50, 44}};
  EXPECT_EQ(place(vertical, picture), 1u);
  EXPECT_EQ(place(vertical, QRect(0, 0, 200, 22)), 0u);
}

}  // namespace
}  // namespace corvane
