// Zooms draw on the worker: the moved old picture at once, then the exact one; zooms that come
// while a drawing is scheduled or running end in one drawing of the newest view.

#include <QApplication>
#include <cmath>
#include <tuple>

#include "MainWindowTestSupport.h"
#include "render/PainterCanvas.h"
#include "scene/SceneRenderer.h"
#include "scene/ViewPreview.h"
#include "support/RecordingNotifier.h"

namespace corvane {
namespace {

using namespace corvane::testing;

struct DrawnProgram : LoadedProgram {
  DrawnProgram() {
    Control<QCheckBox>(main(), "BrushCheck")->setChecked(true);
    // Without labels a drawing uses no random numbers: a second drawing of a view is the same.
    Control<QCheckBox>(main(), "ShowLabel")->setChecked(false);
    main().RescaleAndRedraw();
  }
};
using ViewDrawing = ProgramTest<DrawnProgram>;

// The picture the window shows is what a drawing of the scene's view gives.
void ExpectExactPicture(MainWindow& m) {
  const QImage shown = m.plotWindow->Picture();
  NullProgress progress;
  RecordingNotifier notifier;
  ASSERT_TRUE(DrawScene(m.scene, progress, notifier));
  EXPECT_TRUE(shown == m.scene.bitmap);
}

TEST_F(ViewDrawing, TenQueuedZoomsCostOneDrawingOfTheLastView) {
  ASSERT_TRUE(m.state.ScenePictureValid);
  const int before = m.viewDrawing().Started();
  const ViewTransform start = m.scene.view;
  for (int k = 0; k < 10; ++k) m.plotHost().WheelZoom(100, 80, std::pow(2.0, 0.25));
  const ViewTransform last = m.scene.view;
  EXPECT_DOUBLE_EQ(last.ScaleX, start.ScaleX * std::pow(2.0, 2.5));
  EXPECT_TRUE(m.viewDrawing().Running());
  WaitForViewDrawing(m);
  EXPECT_EQ(m.viewDrawing().Started() - before, 1);
  EXPECT_EQ(std::tuple(m.scene.drawnView.CentreX, m.scene.drawnView.CentreY, m.scene.drawnView.ScaleX),
            std::tuple(last.CentreX, last.CentreY, last.ScaleX));
  EXPECT_EQ(m.statusBar()->currentMessage(), QStringLiteral("描画完了"));
  ExpectExactPicture(m);
}

TEST_F(ViewDrawing, AZoomDuringADrawingCancelsItAndTheNewestViewIsDrawn) {
  const int before = m.viewDrawing().Started();
  m.plotHost().ZoomAt(100, 80, 2.0);
  // Once the first drawing is on the worker, more zooms come.
  while (m.viewDrawing().Started() == before) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  for (int k = 0; k < 9; ++k) m.plotHost().WheelZoom(120, 90, 0.5);
  const ViewTransform last = m.scene.view;
  WaitForViewDrawing(m);
  EXPECT_EQ(m.viewDrawing().Started() - before, 2);
  EXPECT_EQ(m.scene.drawnView.ScaleX, last.ScaleX);
  EXPECT_FALSE(m.Busy());
  ExpectExactPicture(m);
}

// The preview is the old picture moved as the view moved: every world point keeps its colour.
TEST_F(ViewDrawing, ThePreviewIsTheOldPictureTransformed) {
  const QImage old = m.scene.bitmap;
  const ViewTransform from = m.scene.drawnView;
  m.plotHost().ZoomAt(200, 120, 2.0);
  const ViewTransform to = m.scene.view;
  const QImage preview = m.plotWindow->Picture();
  const QRgb background = ToQColor(BackgroundColour(m.scene.options.display)).rgb();
  EXPECT_TRUE(preview == TransformedPicture(old, from, to, background));
  for (QPoint at : {QPoint(10, 10), QPoint(250, 150), QPoint(400, 300), QPoint(133, 77)}) {
    const double wx = to.PixelToWorldX(at.x() + 0.5), wy = to.PixelToWorldY(at.y() + 0.5);
    const int px = static_cast<int>(std::floor((wx - from.CentreX) * from.ScaleX + from.CentrePixelX));
    const int py = static_cast<int>(std::floor(from.CentrePixelY - (wy - from.CentreY) * from.ScaleY));
    EXPECT_EQ(preview.pixel(at), old.valid(px, py) ? old.pixel(px, py) : background) << at.x() << "," << at.y();
  }
  WaitForViewDrawing(m);
  ExpectExactPicture(m);
}

}  // namespace
}  // namespace corvane
