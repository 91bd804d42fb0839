// The commands the menus and the plot window start: drawing, rescaling, zooming, saving, the
// batch and leaving the program.
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <cmath>

#include "analysis/SegmentSampling.h"
#include "field/DeferredRows.h"
#include "output/ImageWriters.h"
#include "scene/SceneLoad.h"
#include "scene/SceneRenderer.h"
#include "scene/ViewPreview.h"
#include "ui/AboutDialog.h"
#include "ui/AnalysisTabController.h"
#include "ui/AxesTabController.h"
#include "ui/StreamTabController.h"
#include "ui/ControlFactory.h"
#include "ui/FileTabController.h"
#include "ui/LegendWindow.h"
#include "ui/MainWindow.h"
#include "ui/OpenGLWindow.h"
#include "ui/ProgressWindow.h"
#include "ui/ScreenPlacement.h"
#include "ui/PlotWindow.h"
#include "ui/PlotWindowHost.h"
#include "ui/ProfileWindow.h"
#include "ui/RadioGroupWidget.h"
#include "ui/ViewDrawing.h"
#include "ui/WorkFeedback.h"

namespace corvane {

void MainWindow::RequestAbort() {
  state.AbortRequested = true;
  gate_.abortToken().store(true);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  for (QWidget* w : {static_cast<QWidget*>(openGLWindow), static_cast<QWidget*>(plotWindow),
                     static_cast<QWidget*>(legendWindow), static_cast<QWidget*>(progressWindow),
                     static_cast<QWidget*>(aboutDialog)})
    if (w) w->hide();
  event->accept();
  QApplication::quit();
}

// Loads, draws and saves every selected file in turn; no other command runs meanwhile.
void MainWindow::batchLoadDrawSave() {
  if (!progressWindow) return;
  std::vector<std::string> paths;
  for (const QString& path : tabs_.file->SelectedPaths()) paths.push_back(path.toStdString());
  if (!gate_.TryBegin()) {
    QApplication::beep();
    return;
  }
  BatchCallbacks callbacks;
  callbacks.load = [this](const std::string& path) { return LoadFileCore(QString::fromStdString(path)); };
  callbacks.draw = [this] {
    DrawSceneCore();
    // The picture being saved is shown while the batch runs.
    if (plotWindow) {
      if (!plotWindow->isVisible()) plotWindow->show();
      plotWindow->raise();
    }
  };
  callbacks.save = [this](const std::string& path) { WriteBmp(scene.bitmap, QString::fromStdString(path)); };
  try {
    progressWindow->RunBatch(paths, callbacks, scene.options.display.UseOpenGL, *notifier_);
  } catch (const std::exception& e) {
    gate_.End();
    notifier_->Warning(e.what());
    return;
  }
  gate_.End();
}

void MainWindow::Redraw() {
  if (scene.options.display.UseOpenGL) {
    // The OpenGL view draws its own frame, then gets the focus or is shown like the plot window.
    if (OpenGLWindow* ogl = openGLWindow) {
      PrepareShownRow(scene);  // the OpenGL view colours by the chosen row
      const DisplayOptions& d = scene.options.display;
      ogl->DrawOpenGLScene(d.ShowContour, d.ShowGrid, d.ShowVec);
      state.events.Changed(StateChange::ContourStep);
      if (ogl->isVisible())
        ogl->setFocus();
      else
        ogl->show();
    }
    return;
  }
  PlacePlotWindow();
  DrawScene();
  if (!plotWindow) return;
  if (plotWindow->isVisible()) {
    plotWindow->setFocus();
    return;
  }
  plotWindow->show();
}

// A hidden plot window takes its place and its size on the screen before the picture is fitted
// and drawn for it, so the first picture is drawn at the size it is shown.
void MainWindow::PlacePlotWindow() {
  if (!plotWindow || plotWindow->isVisible()) return;
  if (!viewPlaced_) {
    // First showing: beside the main window rather than over it.
    plotWindow->move(frameGeometry().topRight() + QPoint(8, 0));
    viewPlaced_ = true;
  }
  KeepOnScreen(plotWindow);
  plotWindow->FormResize();  // a hidden window hears of its new size only when shown
}

// Fits the view to the data (all overlay copies included), draws, and shows the new view values.
void MainWindow::RescaleAndRedraw() {
  if (Busy()) {
    QApplication::beep();
    return;
  }
  try {
    if (!scene.options.display.UseOpenGL) {
      plotHost_->RememberView();
      PlacePlotWindow();
      FitView(scene);
    } else if (openGLWindow) {
      // The OpenGL view has its own box, fitted to the data and every overlay copy.
      double xmax, ymax, xmin, ymin;
      OverlayExtents(scene.data, scene.options.display, xmax, ymax, xmin, ymin);
      openGLWindow->FitOrthoBox(xmax, ymax, xmin, ymin);
    }
  } catch (const std::exception& e) {
    notifier_->Warning(e.what());
    return;
  }
  Redraw();
  state.events.Changed(StateChange::View);
}

// The GDI picture: the scene into ScenePicture, then its bitmap into the plot window. The
// previous picture stays when the drawing fails.
void MainWindow::DrawScene() {
  if (!gate_.TryBegin()) {
    QApplication::beep();
    return;
  }
  try {
    DrawSceneCore();
  } catch (const std::exception& e) {
    gate_.End();
    notifier_->Warning(e.what());
    return;
  }
  gate_.End();
}

void MainWindow::DrawSceneCore() {
  // The cursor and the abort flag are reset however the drawing ends.
  struct Reset {
    MainWindow* form;
    ~Reset() {
      if (form->plotWindow) form->plotWindow->unsetCursor();
      form->state.AbortRequested = false;
    }
  } reset{this};
  if (plotWindow) plotWindow->setCursor(Qt::WaitCursor);
  state.AbortRequested = false;
  RequireDrawingNumbers(state);
  // A drawing that fails leaves the gauge empty and says so; the error itself goes on to its box.
  struct Unfinished {
    MainWindow* form;
    bool done = false;
    ~Unfinished() {
      if (!done) form->feedback_->Finish(QStringLiteral("描画できませんでした"), false);
    }
  } unfinished{this};
  // The scene is drawn on the worker from a snapshot of its inputs; the scene takes the result
  // here, after it, so nothing the window reads meanwhile is written on the worker.
  if (scene.drawing) return;
  std::optional<DrawingResult> drawn;
  {
    const SceneSnapshot snapshot = SnapshotOf(scene);
    struct Drawing {
      SceneState& scene;
      ~Drawing() { scene.drawing = false; }
    } drawing{scene};
    scene.drawing = true;
    RunWork([&](Progress& progress, Notifier& notifier) { drawn = DrawSnapshot(snapshot, progress, notifier); });
  }
  if (drawn) {
    ApplyDrawing(scene, std::move(*drawn));
    state.ScenePictureValid = true;
    if (plotWindow) {
      plotWindow->SetPicture(scene.bitmap);
      plotWindow->setEnabled(true);
    }
    ShowDrawnState();
  }
  unfinished.done = true;
  // The layers stop early on the abort command; the picture shown is then not the whole scene.
  if (state.AbortRequested)
    feedback_->Finish(QStringLiteral("中断しました"), false);
  else
    feedback_->Finish(QStringLiteral("描画完了"), true);
}

void MainWindow::ShowDrawnState() {
  state.events.Changed(StateChange::ContourStep);
  if (plotWindow && scene.options.display.ShowContour)
    plotWindow->setWindowTitle(RGroup->Items().value(RGroup->ItemIndex()) + QStringLiteral(":等高線"));
}

// The analysis into `path`, as a command: refused while another runs.
bool MainWindow::AnalyzeTo(const QString& path) {
  if (!gate_.TryBegin()) {
    QApplication::beep();
    return false;
  }
  AnalysisRunResult result;
  try {
    EnsureRowValues(scene.data, scene.options.RGroup);  // the row sampled
    result = RunSegmentAnalysis(scene.data, scene.options.RGroup, scene.options.load.IncludeVelCheck, scene.options.analysis, path.toStdString(), *notifier_);
  } catch (const std::exception& e) {
    gate_.End();
    feedback_->Finish(QStringLiteral("解析できませんでした"), false);
    notifier_->Warning(e.what());
    return false;
  }
  gate_.End();
  if (result.status != AnalysisRunResult::Status::Written) {
    feedback_->Finish(QStringLiteral("解析は行われませんでした"), false);
    return false;
  }
  feedback_->Finish(QStringLiteral("解析完了: ") + QFileInfo(QString::fromStdString(result.path)).fileName(), true);
  if (result.openAfterwards && dialogs.OpenDocument && !dialogs.OpenDocument(QString::fromStdString(result.path)))
    notifier_->Message("解析結果のファイルを開くプログラムが見つかりません。ファイルは次の場所に保存されています: " +
                       result.path);
  return true;
}

}  // namespace corvane
