// The drawing after a zoom: the last picture moved to the new view at once, then the exact
// picture from the worker. The window keeps answering meanwhile; a zoom arriving while the
// drawing runs cancels it, and the newest view is drawn once it has stopped, so a burst of
// wheel notches costs one drawing.
#include <QApplication>
#include <QTimer>

#include "render/PainterCanvas.h"
#include "scene/SceneRenderer.h"
#include "scene/ViewPreview.h"
#include "ui/MainWindow.h"
#include "ui/PlotWindow.h"
#include "ui/WorkerThread.h"

namespace corvane {

// What one view drawing holds until its end reaches the window thread.
struct MainWindow::ViewJob {
  ViewJob(MainWindow* form, Progress& target, Notifier& messages, const std::atomic<bool>& cancel)
      : progress(form, target, cancel), notifier(form, messages) {}
  QueuedProgress progress;
  QueuedNotifier notifier;
  SceneSnapshot snapshot;
  std::optional<DrawingResult> result;
  std::exception_ptr error;
};

void MainWindow::DrawView() {
  if (plotWindow && state.ScenePictureValid && !scene.bitmap.isNull()) {
    const QRgb background = ToQColor(BackgroundColour(scene.options.display)).rgb();
    plotWindow->SetPicture(TransformedPicture(scene.bitmap, scene.drawnView, scene.view, background));
  }
  if (viewDrawing_) {
    // The drawing under way is of an older view: it stops at its next check.
    viewRedrawPending_ = true;
    abortToken_.store(true);
    return;
  }
  // Other commands wait for the drawing as for any work on the worker.
  viewDrawing_ = working_ = true;
  if (plotWindow) plotWindow->setCursor(Qt::WaitCursor);
  // Started from the event loop: the zooms already queued there come first and only the last
  // of them is drawn.
  QTimer::singleShot(0, this, [this] { PostViewDrawing(); });
}

void MainWindow::PostViewDrawing() {
  viewRedrawPending_ = false;
  abortToken_.store(state.AbortRequested);
  auto job = std::make_shared<ViewJob>(this, *progress_, *notifier_, abortToken_);
  try {
    RequireDrawingNumbers(state);
  } catch (...) {
    job->error = std::current_exception();
    ViewDrawingDone(*job);
    return;
  }
  job->snapshot = SnapshotOf(scene);
  scene.drawing = true;
  ++viewDrawingsStarted;
  if (!worker_) worker_ = std::make_unique<WorkerLoop>();
  worker_->Post(
      [job] {
        try {
          job->result = DrawSnapshot(job->snapshot, job->progress, job->notifier);
        } catch (...) {
          job->error = std::current_exception();
        }
        job->progress.Flush();
      },
      this, [this, job] { ViewDrawingDone(*job); });
}

void MainWindow::ViewDrawingDone(ViewJob& job) {
  scene.drawing = false;
  if (viewRedrawPending_ && !state.AbortRequested) {
    PostViewDrawing();  // this picture is of an older view; the newest one is drawn instead
    return;
  }
  viewDrawing_ = working_ = false;
  viewRedrawPending_ = false;
  if (plotWindow) plotWindow->unsetCursor();
  const bool aborted = state.AbortRequested;
  state.AbortRequested = false;
  abortToken_.store(false);
  if (job.error) {
    FinishWork(QStringLiteral("描画できませんでした"), false);
    RunHandler([&] { std::rethrow_exception(job.error); });  // the error box, as for any command
  } else if (job.result) {
    ApplyDrawing(scene, std::move(*job.result));
    state.ScenePictureValid = true;
    if (plotWindow) {
      plotWindow->SetPicture(scene.bitmap);
      plotWindow->setEnabled(true);
    }
    ShowDrawnState();
    // The layers stop early on the abort command; the picture shown is then not the whole scene.
    FinishWork(aborted ? QStringLiteral("中断しました") : QStringLiteral("描画完了"), !aborted);
  }
  RunDeferredHandlers();
}

}  // namespace corvane
