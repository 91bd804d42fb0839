// The scene renderer: backgrounds and line colours, overlay copies and every layer drawn without
// touching the data, the drawing flag lowered after a failing layer, refused nested drawings, the
// rescale on a zero scale, and the pan preview.
#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>
#include <tuple>

#include "render/GridData.h"
#include "TestImages.h"
#include "TestSupport.h"
#include "scene/SceneRenderer.h"

namespace corvane {
namespace {

using testing::MakeGrid;
using testing::PixelAt;
using testing::StrayPixels;

// A 3 x 3 node square 0..10 drawn 8 pixels per unit: nodes at pixel columns/rows 10, 50, 90.
SceneState SquareScene() {
  SceneState s;
  s.data = MakeGrid({{3, 3, [](int i, int j) { return std::pair{5.0 * i, 5.0 * j}; }}});
  s.fieldView = testing::ZeroRanges();
  s.view.SetPictureSize(120, 100);
  s.view.ScaleX = s.view.ScaleY = 8.0, s.view.CentrePixelX = 10, s.view.CentrePixelY = 90;
  s.options.display.ShowContour = false;
  return s;
}

// The square scene and what drawing it is given.
struct Scene : ::testing::Test {
  SceneState s = SquareScene();
  NullProgress progress;
  RecordingNotifier notifier;
  bool Draw() { return DrawScene(s, progress, notifier); }
};

class ThrowingNotifier : public Notifier {
 public:
  void Warning(const std::string& text) override { throw CorvaneError(text); }
  void Message(const std::string& text) override { throw CorvaneError(text); }
};

TEST_F(Scene, LinesAreWhiteOnBlackOrBlackOnWhiteAndOverlayCopiesAreShifted) {
  for (bool white : {false, true}) {
    s = SquareScene();
    s.options.display.WhiteBack = white, s.options.display.ShowGrid = true;
    ASSERT_TRUE(Draw());
    ASSERT_TRUE(s.bitmap.size() == QSize(120, 100) && s.bitmap.format() == QImage::Format_RGB32);
    const Colour line = white ? kBlack : kWhite, back = white ? kWhite : kBlack;
    // Zone edges i = 0 and imax, inner grid lines i = 1 and j = 1, then two empty spots.
    for (auto [x, y, c] : {std::tuple{10, 30, line}, {90, 30, line}, {50, 30, line}, {30, 50, line}, {30, 30, back},
                           {110, 95, back}})
      EXPECT_EQ(PixelAt(s.bitmap, x, y), c) << x << "," << y;
    // Without the grid only the outline remains.
    s.options.display.ShowGrid = false;
    ASSERT_TRUE(Draw());
    EXPECT_EQ(std::pair(PixelAt(s.bitmap, 10, 30), PixelAt(s.bitmap, 50, 30)), std::pair(line, back));
  }
  // Overlay copies are shifted. (That the data stay as they were is the test of every layer
  // below, copies included.)
  s = SquareScene();
  s.options.display.overlayCopies = 2;
  s.options.display.copyOffsetX = 1.0;  // 8 pixels per copy
  ASSERT_TRUE(Draw());
  for (int column : {10, 18, 26}) EXPECT_EQ(PixelAt(s.bitmap, column, 30), kWhite) << column;
  for (int column : {14, 22, 30, 34}) EXPECT_EQ(PixelAt(s.bitmap, column, 30), kBlack) << column;
}

// Everything a data set holds, for comparing one before and after a drawing.
bool SameData(const FieldDataSet& a, const FieldDataSet& b) {
  auto bits = [](const NodeRow& r) { return std::vector<char>(reinterpret_cast<const char*>(r.data()), reinterpret_cast<const char*>(r.data() + r.size())); };
  if (a.ZoneCount != b.ZoneCount || a.NodeCount != b.NodeCount || a.ColumnCount != b.ColumnCount ||
      a.VariableNames != b.VariableNames || a.Zones.size() != b.Zones.size() || a.Values.size() != b.Values.size())
    return false;
  for (std::size_t z = 0; z < a.Zones.size(); ++z)
    if (a.Zones[z].NI != b.Zones[z].NI || a.Zones[z].NJ != b.Zones[z].NJ || a.Zones[z].FirstNode != b.Zones[z].FirstNode)
      return false;
  for (std::size_t k = 0; k < a.Values.size(); ++k)
    if (bits(a.Values[k]) != bits(b.Values[k])) return false;
  return bits(a.X) == bits(b.X) && bits(a.Y) == bits(b.Y) &&
         std::vector<double>{a.XMin, a.XMax, a.YMin, a.YMax} == std::vector<double>{b.XMin, b.XMax, b.YMin, b.YMax};
}

TEST_F(Scene, EveryLayerDrawsFromTheDataSetWithoutWritingIt) {
  s = SceneState();
  s.data = MakeGrid({{30, 20, [](int i, int j) { return std::pair{i + 0.2 * j, 0.5 * j + 0.01 * i * i}; }},
                     {12, 10, [](int i, int j) { return std::pair{-15.0 + i, j - 3.0}; }}});
  s.fieldView = testing::ZeroRanges();
  s.fieldView.ContourMax[0] = 30.0, s.fieldView.ContourMin[0] = -15.0;
  s.view.SetPictureSize(300, 200);
  DisplayOptions& d = s.options.display;
  d.ShowContour = d.BrushCheck = d.LineCheck = d.ShowGrid = d.ShowVec = d.ShowXYLabel = true;
  d.ColourBarCheck = d.DrawStreamLineCheck = d.ShowSegment = true;
  d.overlayCopies = 2, d.copyOffsetX = 3.0, d.copyOffsetY = -1.0;
  s.options.load.xvecbox = 0, s.options.load.yvecbox = 1;
  s.options.load.AutoStepCheck = s.options.load.RoundLevelsCheck = true;
  s.options.load.ICompress2 = 2;
  s.options.stream.StreamXa = -10.0, s.options.stream.StreamYa = 0.5, s.options.stream.StreamXb = 20.0;
  s.options.stream.StreamYb = 5.0, s.options.stream.StreamDevide = 4, s.options.stream.StreamLineSegment = true;
  FitView(s);
  const FieldDataSet before = s.data;
  for (bool pixels : {true, false})
    for (bool smooth : {false, true}) {
      d.BMPModeCheck = pixels, d.SmoothCheck = smooth;
      ASSERT_TRUE(Draw());
      EXPECT_TRUE(s.contourProblem.empty()) << s.contourProblem;
      EXPECT_TRUE(SameData(s.data, before)) << pixels << smooth;
    }
  // The drawing derived the step and the line masks into the view instead.
  EXPECT_GT(s.fieldView.ContourStep[0], 0.0);
  ASSERT_EQ(s.fieldView.Masks.size(), 2u);
  EXPECT_FALSE(s.fieldView.Masks[0].ILineMask[1]);
}

TEST_F(Scene, AFailingLayerLeavesExtentsThePreviousPictureAndNoDrawingFlag) {
  s.options.display.overlayCopies = 3, s.options.display.copyOffsetX = 2.0, s.options.display.copyOffsetY = -1.0;
  ASSERT_TRUE(Draw());
  const QImage previous = s.bitmap;
  // No velocity rows chosen: the layer warns, the warning throws.
  s.options.display.ShowVec = s.options.display.WhiteBack = true;
  ThrowingNotifier throwing;
  EXPECT_THROW(DrawScene(s, progress, throwing), CorvaneError);
  EXPECT_EQ((std::vector<double>{s.data.XMin, s.data.XMax, s.data.YMin}), (std::vector<double>{0.0, 10.0, 0.0}));
  EXPECT_FALSE(s.drawing);
  EXPECT_EQ(s.bitmap, previous);
  EXPECT_TRUE(Draw());  // the warning itself is no failure
  EXPECT_EQ(notifier.warnings.size(), 4u);  // once per copy
}

TEST_F(Scene, ReportsTheTransferAndRefusesADrawingStartedWhileItRuns) {
  // The contour layer asks for the abort as it goes: each time, a second drawing is tried.
  s.options.display.ShowContour = s.options.display.BrushCheck = true;
  s.fieldView.ContourMax[0] = 10.0, s.fieldView.ContourMin[0] = 0.0, s.fieldView.ContourStep[0] = 1.0;
  testing::RecordingProgress running;
  int refused = 0;
  running.onAbortCheck = [&] { refused += !DrawScene(s, running, notifier); };
  ASSERT_TRUE(DrawScene(s, running, notifier));
  EXPECT_GT(running.abortChecks, 0);
  EXPECT_EQ(refused, running.abortChecks);
  ASSERT_GE(running.statuses.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(running.statuses.end() - 2, running.statuses.end()),
            (std::vector<std::string>{"ビットマップに転送中…", "ビットマップ転送完了.描画完了."}));
  EXPECT_TRUE(Draw());  // and the flag is down again afterwards
}

TEST_F(Scene, AScaleOfZeroFitsTheViewFirstAndRescaleFitsEveryCopy) {
  s.view.ScaleX = 0.0;
  ASSERT_TRUE(Draw());
  EXPECT_EQ(std::pair(s.view.ScaleX, s.view.ScaleY), std::pair(6.0, 6.0));  // (100 - 40) / 10, the same in x and y

  s.options.display.overlayCopies = 3, s.options.display.copyOffsetX = 2.0;
  FitView(s);
  ASSERT_TRUE(Draw());
  // (120 - 40) / 16: the copies reach x = 16.
  EXPECT_EQ((std::vector<double>{s.view.ScaleX, s.view.CentreX, s.data.XMax}), (std::vector<double>{5.0, 8.0, 10.0}));
  EXPECT_EQ(PixelAt(s.bitmap, s.view.WorldToPixelX(16.0), 50), kWhite);  // last copy's right edge
  // A zero scale met while drawing fits the copies the same way, widened once, not twice.
  s.view.ScaleX = 0.0;
  ASSERT_TRUE(Draw());
  EXPECT_EQ(std::pair(s.view.ScaleX, s.data.XMax), std::pair(5.0, 10.0));
}

TEST_F(Scene, PanPreviewShowsTheSameGridAsTheFullPictureAndThePictureReplaysToTheBitmap) {
  s = SceneState();
  s.data = MakeGrid({{40, 30, [](int i, int j) { return std::pair{i + 0.3 * j, 0.7 * j + 0.01 * i * i}; }}});
  s.fieldView = testing::ZeroRanges();
  s.view.SetPictureSize(300, 200);
  s.options.display.ShowContour = false, s.options.display.ShowGrid = true, s.options.display.WhiteBack = true;
  FitView(s);
  s.view.ZoomAt(200, 80, 2.0);  // part of the grid now lies outside
  ASSERT_TRUE(Draw());
  QImage preview;
  DrawGridPreview(s, preview);
  ASSERT_EQ(preview.size(), s.bitmap.size());
  // The preview sets its own pixels: slanted lines may step a pixel differently, nothing more.
  const QRgb black = qRgb(0, 0, 0);
  StrayPixels(preview, s.bitmap, black);
  StrayPixels(s.bitmap, preview, black);
  EXPECT_GT(testing::CountPixels(preview, black), 3000);
  QImage replayed = testing::FilledImage(300, 200, Qt::red);
  {
    QPainter painter(&replayed);
    painter.drawPicture(0, 0, CompletePicture(s));
  }
  EXPECT_EQ(replayed, s.bitmap);
}

TEST_F(Scene, ValueReadoutIsBlankOverTheBackgroundAHoleAndTheAxisMargins) {
  for (bool pixels : {true, false}) {
    s = SquareScene();
    s.options.display.ShowContour = s.options.display.BrushCheck = true, s.options.display.LineCheck = false;
    s.options.display.BMPModeCheck = pixels;
    s.fieldView.ContourMax[0] = 10.0, s.fieldView.ContourMin[0] = 0.0, s.fieldView.ContourStep[0] = 1.0;
    s.data.Values[0][8] = std::nan("");  // node (2, 2): the cell at pixels 50..90 x 10..50 is a hole
    ASSERT_TRUE(Draw());
    // A band, the hole and the background beside the grid.
    EXPECT_EQ(std::tuple(ReadoutCovers(s, 30, 70), ReadoutCovers(s, 80, 20), ReadoutCovers(s, 110, 95)),
              std::tuple(true, false, false)) << pixels;
    EXPECT_EQ(PixelAt(s.bitmap, 80, 20), kBlack) << pixels;
    // With the axes, the margins they blank read nothing either.
    s.view.AxisMarginLeft = 30, s.view.AxisMarginBottom = 20;
    s.options.display.ShowXYLabel = true;
    ASSERT_TRUE(Draw());
    EXPECT_EQ(std::pair(ReadoutCovers(s, 20, 60), ReadoutCovers(s, 40, 60)), std::pair(false, true)) << pixels;
  }
}

TEST_F(Scene, AnUnusableRangeLeavesTheContoursOutAndSaysWhy) {
  s.options.display.ShowContour = s.options.display.BrushCheck = true;
  s.options.load.AutoStepCheck = false;  // the steps below are meant
  const double nan = std::nan("");
  const struct {
    double max, min, step;
    const char* cause;
  } cases[] = {{5, 5, 1, "最小値が最大値以上"}, {1, 2, 1, "最小値が最大値以上"}, {nan, 0, 1, "有限の数ではありません"},
               {10, 0, 1e-9, "100000 本を超えます"}, {10, 0, 0, "正の数ではありません"}};
  for (const auto& c : cases) {
    s.fieldView.ContourMax[0] = c.max, s.fieldView.ContourMin[0] = c.min, s.fieldView.ContourStep[0] = c.step;
    notifier.warnings.clear();
    ASSERT_TRUE(Draw());
    ASSERT_EQ(notifier.warnings.size(), 1u) << c.cause;
    EXPECT_NE(notifier.warnings[0].find(c.cause), std::string::npos) << notifier.warnings[0];
    EXPECT_EQ(s.contourProblem, notifier.warnings[0]);
    EXPECT_TRUE(s.bandCoverage.isNull());
    // A redraw or zoom with the same range does not put up the same box again.
    ASSERT_TRUE(Draw());
    EXPECT_EQ(notifier.warnings.size(), 1u) << c.cause;
  }
  s.fieldView.ContourMax[0] = 10, s.fieldView.ContourMin[0] = 0, s.fieldView.ContourStep[0] = 1;
  notifier.warnings.clear();
  ASSERT_TRUE(Draw());
  EXPECT_TRUE(s.contourProblem.empty() && notifier.warnings.empty());
}

}  // namespace
}  // namespace corvane
