#include "ui/ViewDrawing.h"

#include <QApplication>
#include <QTimer>

#include "render/PainterCanvas.h"
#include "scene/SceneRenderer.h"
#include "scene/ViewPreview.h"
#include "ui/CommandGate.h"
#include "ui/MainWindow.h"
#include "ui/PlotWindow.h"
#include "ui/WorkFeedback.h"
#include "ui/WorkerThread.h"

namespace corvane {

// What one view drawing holds until its end reaches the window thread.
struct ViewDrawing::Job {
  Job(MainWindow* form, Progress& target, Notifier& messages, const std::atomic<bool>& cancel)
      : progress(form, target, cancel), notifier(form, messages) {}
  QueuedProgress progress;
  QueuedNotifier notifier;
  SceneSnapshot snapshot;
  std::optional<DrawingResult> result;
  std::exception_ptr error;
};

void ViewDrawing::Draw() {
  SceneState& scene = window_.scene;
  PlotWindow* plot = window_.plotWindow;
  if (plot && window_.state.ScenePictureValid && !scene.bitmap.isNull()) {
    const QRgb background = ToQColor(BackgroundColour(scene.options.display)).rgb();
    plot->SetPicture(TransformedPicture(scene.bitmap, scene.drawnView, scene.view, background));
  }
  if (running_) {
    // The drawing under way is of an older view: it stops at its next check.
    redrawPending_ = true;
    window_.gate_.abortToken().store(true);
    return;
  }
  // Other commands wait for the drawing as for any work on the worker.
  running_ = true;
  window_.gate_.SetWorking(true);
  if (plot) plot->setCursor(Qt::WaitCursor);
  // Started from the event loop: the zooms already queued there come first and only the last
  // of them is drawn.
  QTimer::singleShot(0, &window_, [this] { Post(); });
}

void ViewDrawing::Post() {
  CommandGate& gate = window_.gate_;
  redrawPending_ = false;
  gate.abortToken().store(window_.state.AbortRequested);
  auto job = std::make_shared<Job>(&window_, window_.feedback_->progress(), window_.notifier(), gate.abortToken());
  try {
    RequireDrawingNumbers(window_.state);
  } catch (...) {
    job->error = std::current_exception();
    Done(*job);
    return;
  }
  job->snapshot = SnapshotOf(window_.scene);
  window_.scene.drawing = true;
  ++started_;
  gate.worker().Post(
      [job] {
        try {
          job->result = DrawSnapshot(job->snapshot, job->progress, job->notifier);
        } catch (...) {
          job->error = std::current_exception();
        }
        job->progress.Flush();
      },
      &window_, [this, job] { Done(*job); });
}

void ViewDrawing::Done(Job& job) {
  ProgramState& state = window_.state;
  PlotWindow* plot = window_.plotWindow;
  state.scene.drawing = false;
  if (redrawPending_ && !state.AbortRequested) {
    Post();  // this picture is of an older view; the newest one is drawn instead
    return;
  }
  running_ = false;
  window_.gate_.SetWorking(false);
  redrawPending_ = false;
  if (plot) plot->unsetCursor();
  const bool aborted = state.AbortRequested;
  state.AbortRequested = false;
  window_.gate_.abortToken().store(false);
  if (job.error) {
    window_.feedback_->Finish(QStringLiteral("描画できませんでした"), false);
    window_.RunHandler([&] { std::rethrow_exception(job.error); });  // the error box, as for any command
  } else if (job.result) {
    ApplyDrawing(state.scene, std::move(*job.result));
    state.ScenePictureValid = true;
    if (plot) {
      plot->SetPicture(state.scene.bitmap);
      plot->setEnabled(true);
    }
    window_.ShowDrawnState();
    // The layers stop early on the abort command; the picture shown is then not the whole scene.
    window_.feedback_->Finish(aborted ? QStringLiteral("中断しました") : QStringLiteral("描画完了"), !aborted);
  }
  window_.gate_.RunDeferred();
}

}  // namespace corvane
