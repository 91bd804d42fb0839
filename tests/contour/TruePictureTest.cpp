// Pictures that tell the truth on awkward data: nodes on an exact half pixel leave no pinhole,
// nodes at NaN or infinity make holes instead of bars to the picture's edge, levels single
// precision cannot tell apart keep their own colours, and default label colours stay readable.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ContourScene.h"
#include "contour/ContourLabels.h"
#include "render/GridData.h"
#include "support/LoggingCanvas.h"

namespace corvane {
namespace {

using test::ContourScene;
using test::FilledBitmap;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

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
  const QImage image = FilledBitmap(scene, 40, 40);
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
    const QImage image = FilledBitmap(scene, 100, 100);
    // Nothing outside the grid's box (20..50 x 40..70): no bar to the edge.
    QImage outside = image.copy();
    QPainter(&outside).fillRect(20, 40, 31, 31, Qt::white);
    EXPECT_EQ(testing::CountPixels(outside, qRgb(255, 255, 255)), 100 * 100) << bad;
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
  const QImage image = FilledBitmap(field, 150, 100);
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

}  // namespace
}  // namespace corvane
