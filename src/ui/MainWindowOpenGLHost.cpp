#include "ui/MainWindowOpenGLHost.h"

#include "ui/MainWindow.h"
#include "ui/PlotWindow.h"
#include "ui/RadioGroupWidget.h"
#include "ui/WorkFeedback.h"

namespace corvane {

const FieldDataSet& MainWindowOpenGLHost::Data() const { return window_.scene.data; }
FieldView& MainWindowOpenGLHost::View() { return window_.scene.fieldView; }
ContourReadout* MainWindowOpenGLHost::Readout() { return &window_.scene.readout; }
Progress& MainWindowOpenGLHost::progress() { return window_.feedback().progress(); }
Notifier& MainWindowOpenGLHost::notifier() { return window_.notifier(); }
void MainWindowOpenGLHost::ClearAbort() { window_.state.AbortRequested = false; }
void MainWindowOpenGLHost::WriteViewBoxes() { window_.state.events.Changed(StateChange::View); }
void MainWindowOpenGLHost::RunWork(const std::function<void(Progress&, Notifier&)>& work) { window_.RunWork(work); }
bool MainWindowOpenGLHost::TryBeginCommand() { return window_.TryBeginCommand(); }
void MainWindowOpenGLHost::EndCommand() { window_.EndCommand(); }

// The options as the drawing would read them: a box that does not hold a number is an error.
ProgramOptions MainWindowOpenGLHost::Options() const {
  RequireDrawingNumbers(window_.state);
  return window_.Options();
}

// The caption names the variable as the main window's list shows it.
void MainWindowOpenGLHost::SetPlotCaption(int row) {
  if (!window_.plotWindow) return;
  const auto* rgroup = window_.findChild<RadioGroupWidget*>(QStringLiteral("RGroup"));
  window_.plotWindow->setWindowTitle(rgroup->Items().value(row) + QStringLiteral(":等高線"));
}

void MainWindowOpenGLHost::RaiseMainWindow() {
  window_.show();
  window_.raise();
  window_.activateWindow();
}

void MainWindowOpenGLHost::FrameFinished(bool completed, bool aborted) {
  window_.feedback().Finish(completed   ? QStringLiteral("描画完了")
                            : aborted ? QStringLiteral("中断しました")
                                      : QStringLiteral("描画できませんでした"),
                            completed);
}

}  // namespace corvane
