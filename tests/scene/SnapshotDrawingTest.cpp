// A drawing from a snapshot on another thread: the scene is read and its derived rows asked for
// meanwhile, and the result applied afterwards is the picture a drawing on this thread makes.
#include <gtest/gtest.h>

#include <QPainter>
#include <cmath>
#include <thread>

#include "TestGrids.h"
#include "TestSupport.h"
#include "field/DeferredRows.h"
#include "fieldview/ContourRanges.h"
#include "field/DerivedQuantities.h"
#include "field/VariableRows.h"
#include "render/PainterCanvas.h"
#include "scene/SceneRenderer.h"
#include "scene/ViewPreview.h"

namespace corvane {
namespace {

// A swirl on a 60 x 40 grid with vorticity and speed left for later, bands and lines of the
// vorticity (which the drawing must compute first).
SceneState SwirlScene() {
  SceneState s;
  s.data = testing::MakeZones({testing::Rect(60, 40, 0.0, 0.0, 0.25)}, {"u", "v"}, [](double x, double y) {
    return std::vector<double>{-(y - 5) * (1 + 0.05 * x), (x - 7) * (1 + 0.1 * y)};
  }, 2);
  s.data.XMax = 59 * 0.25, s.data.YMax = 39 * 0.25;
  AddShownFlowRows(s.data, s.fieldView, 0, 1);
  AutoMaxMin(s.data, s.fieldView);
  UpdateLineMasks(s.data, s.fieldView, 1, 1);
  s.fieldView.Boundaries.assign(1, BoundaryFlags{});
  s.options.RGroup = VorticityRow(s.data);
  s.options.display.BrushCheck = s.options.display.LineCheck = true;
  s.view.SetPictureSize(300, 200);
  s.view.ScaleX = s.view.ScaleY = 0.0;  // fitted by the drawing
  return s;
}

TEST(SnapshotDrawing, OnAWorkerWhileTheSceneIsReadGivesThePictureOfThisThread) {
  SceneState s = SwirlScene();
  NullProgress progress;
  RecordingNotifier notifier;
  const SceneSnapshot snapshot = SnapshotOf(s);
  DrawingResult result;
  std::thread worker([&] { result = DrawSnapshot(snapshot, progress, notifier); });
  // What the plot window reads meanwhile, and another user of the derived rows.
  int reads = 0;
  for (int k = 0; k < 200; ++k) reads += s.view.PictureWidth + s.plotArea.width() + (RowPending(s.data, SpeedRow(s.data)) ? 1 : 0);
  EnsureRowValues(s.data, SpeedRow(s.data));
  worker.join();
  EXPECT_GT(reads, 0);
  EXPECT_EQ(s.view.ScaleX, 0.0);  // the scene is untouched until the result is applied
  EXPECT_TRUE(s.bitmap.isNull());
  EXPECT_FALSE(RowPending(s.data, VorticityRow(s.data)));
  ApplyDrawing(s, std::move(result));
  EXPECT_GT(s.view.ScaleX, 0.0);
  EXPECT_TRUE(std::isfinite(s.fieldView.ContourMax[static_cast<std::size_t>(VorticityRow(s.data))]));
  ASSERT_TRUE(notifier.warnings.empty()) << notifier.warnings.front();

  SceneState again = SwirlScene();
  ASSERT_TRUE(DrawScene(again, progress, notifier));
  EXPECT_TRUE(again.bitmap == s.bitmap);
  const std::size_t w = static_cast<std::size_t>(VorticityRow(s.data));
  EXPECT_EQ(again.fieldView.ContourStep[w], s.fieldView.ContourStep[w]);  // speed's depends on who came first
}

// The preview's mapping takes each world point to where the new view shows it.
TEST(SnapshotDrawing, PixelTransformFollowsTheViews) {
  ViewTransform from;
  from.SetPictureSize(200, 100);
  from.ScaleX = 4.0, from.ScaleY = 2.0, from.CentreX = 1.0, from.CentreY = -3.0;
  ViewTransform to = from;
  to.ZoomAt(37, 81, 2.0);
  to.CentreX += 0.75;
  const QTransform t = PixelTransform(from, to);
  for (auto [wx, wy] : {std::pair{1.0, -3.0}, {-7.5, 10.25}, {30.0, 2.0}}) {
    const QPointF mapped = t.map(QPointF(from.WorldToPixelX(wx), from.WorldToPixelY(wy)));
    EXPECT_NEAR(mapped.x(), to.WorldToPixelX(wx), 1.0) << wx;
    EXPECT_NEAR(mapped.y(), to.WorldToPixelY(wy), 1.0) << wy;
  }
}

}  // namespace
}  // namespace corvane
