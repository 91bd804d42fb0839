// The commands the menus and the plot window start: drawing, rescaling, zooming, saving, the
// batch and leaving the program.
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <cmath>

#include "analysis/SegmentSampling.h"
#include "data/DeferredRows.h"
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
#include "ui/ProfileWindow.h"

namespace corvane {

void MainWindow::RequestAbort() {
  state.AbortRequested = true;
  abortToken_.store(true);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  for (QWidget* w : {openGLWindow, static_cast<QWidget*>(plotWindow), static_cast<QWidget*>(legendWindow),
                     static_cast<QWidget*>(progressWindow), static_cast<QWidget*>(aboutDialog)})
    if (w) w->hide();
  event->accept();
  QApplication::quit();
}

// Loads, draws and saves every selected file in turn; no other command runs meanwhile.
void MainWindow::batchLoadDrawSave() {
  if (!progressWindow) return;
  std::vector<std::string> paths;
  for (const QString& path : fileTab_->SelectedPaths()) paths.push_back(path.toStdString());
  if (!TryBeginCommand()) {
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
    EndCommand();
    notifier_->Warning(e.what());
    return;
  }
  EndCommand();
}

void MainWindow::Redraw() {
  if (scene.options.display.UseOpenGL) {
    // The OpenGL view draws its own frame, then gets the focus or is shown like the plot window.
    if (auto* ogl = static_cast<OpenGLWindow*>(openGLWindow)) {
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
      RememberView();
      PlacePlotWindow();
      FitView(scene);
    } else if (openGLWindow) {
      // The OpenGL view has its own box, fitted to the data and every overlay copy.
      double xmax, ymax, xmin, ymin;
      OverlayExtents(scene.data, scene.options.display, xmax, ymax, xmin, ymin);
      static_cast<OpenGLWindow*>(openGLWindow)->FitOrthoBox(xmax, ymax, xmin, ymin);
    }
  } catch (const std::exception& e) {
    notifier_->Warning(e.what());
    return;
  }
  Redraw();
  state.events.Changed(StateChange::View);
}

void MainWindow::ZoomAt(int px, int py, double factor) {
  if (ViewChangeRefused()) return;
  RememberView();
  scene.view.ZoomAt(px, py, factor);
  DrawView();
  state.events.Changed(StateChange::View);
}

void MainWindow::ZoomToRect(int x1, int y1, int x2, int y2) {
  if (ViewChangeRefused()) return;
  RememberView();
  scene.view.ZoomToRect(x1, y1, x2, y2, scene.options.display.XYSameScale);
  DrawView();
  state.events.Changed(StateChange::View);
}

void MainWindow::WheelZoom(int px, int py, double factor) {
  if (ViewChangeRefused() || !(factor > 0.0) || !std::isfinite(factor)) return;
  const double wx = scene.view.PixelToWorldX(px), wy = scene.view.PixelToWorldY(py);
  const double sx = scene.view.ScaleX * factor, sy = scene.view.ScaleY * factor;
  // A scale that overflows or vanishes would leave no way to draw; such a turn does nothing.
  if (!std::isfinite(sx) || !std::isfinite(sy) || sx == 0.0 || sy == 0.0 || !std::isfinite(wx) || !std::isfinite(wy))
    return;
  RememberView();
  scene.view.ScaleX = sx;
  scene.view.ScaleY = sy;
  scene.view.CentreX = wx - (px - scene.view.CentrePixelX) / sx;
  scene.view.CentreY = wy - (scene.view.CentrePixelY - py) / sy;
  DrawView();
  state.events.Changed(StateChange::View);
}

void MainWindow::RememberView() { viewHistory.Remember(PlaceOf(scene.view)); }

// Back and forward walk the remembered views and draw the one reached.
void MainWindow::ZoomBack() {
  if (ViewChangeRefused()) return;
  std::optional<ViewPlace> place = viewHistory.Back(PlaceOf(scene.view));
  if (!place) {
    statusBar()->showMessage(QStringLiteral("これより前の表示はありません"));
    return;
  }
  ApplyPlace(scene.view, *place);
  DrawView();
  state.events.Changed(StateChange::View);
}

void MainWindow::ZoomForward() {
  if (ViewChangeRefused()) return;
  std::optional<ViewPlace> place = viewHistory.Forward(PlaceOf(scene.view));
  if (!place) {
    statusBar()->showMessage(QStringLiteral("これより先の表示はありません"));
    return;
  }
  ApplyPlace(scene.view, *place);
  DrawView();
  state.events.Changed(StateChange::View);
}

void MainWindow::FitToData() { RescaleAndRedraw(); }

// The GDI picture: the scene into ScenePicture, then its bitmap into the plot window. The
// previous picture stays when the drawing fails.
void MainWindow::DrawScene() {
  if (!TryBeginCommand()) {
    QApplication::beep();
    return;
  }
  try {
    DrawSceneCore();
  } catch (const std::exception& e) {
    EndCommand();
    notifier_->Warning(e.what());
    return;
  }
  EndCommand();
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
      if (!done) form->FinishWork(QStringLiteral("描画できませんでした"), false);
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
    FinishWork(QStringLiteral("中断しました"), false);
  else
    FinishWork(QStringLiteral("描画完了"), true);
}

void MainWindow::ShowDrawnState() {
  state.events.Changed(StateChange::ContourStep);
  if (plotWindow && scene.options.display.ShowContour)
    plotWindow->setWindowTitle(RGroup->Items().value(RGroup->ItemIndex()) + QStringLiteral(":等高線"));
}

// The pan preview uses the options of the drawing it replaces, with the current background.
void MainWindow::RenderGridPreview(QImage& image) { DrawGridPreview(scene, image); }

// A picked end point goes into its typed boxes as if entered, then the quick segment follows.
void MainWindow::SegmentPointPicked(bool first, const QString& xText, const QString& yText) {
  RunHandlerWhenIdle([this, first, xText, yText] {
    analysisTab_->PointPicked(first, xText, yText);
  });
}

void MainWindow::GridLineHover(int px, int py) {
  if (profileWindow && !Busy()) profileWindow->LineHover({scene.view.PixelToWorldX(px), scene.view.PixelToWorldY(py)});
}

void MainWindow::GridLinePicked(int px, int py) {
  const WorldPoint at{scene.view.PixelToWorldX(px), scene.view.PixelToWorldY(py)};
  RunHandlerWhenIdle([this, at] {
    if (profileWindow) profileWindow->LinePicked(at);
  });
}

// The analysis into `path`, as a command: refused while another runs.
bool MainWindow::AnalyzeTo(const QString& path) {
  if (!TryBeginCommand()) {
    QApplication::beep();
    return false;
  }
  AnalysisRunResult result;
  try {
    EnsureRowValues(scene.data, scene.options.RGroup);  // the row sampled
    result = RunSegmentAnalysis(scene.data, scene.options.RGroup, scene.options.load.IncludeVelCheck, scene.options.analysis, path.toStdString(), *notifier_);
  } catch (const std::exception& e) {
    EndCommand();
    FinishWork(QStringLiteral("解析できませんでした"), false);
    notifier_->Warning(e.what());
    return false;
  }
  EndCommand();
  if (result.status != AnalysisRunResult::Status::Written) {
    FinishWork(QStringLiteral("解析は行われませんでした"), false);
    return false;
  }
  FinishWork(QStringLiteral("解析完了: ") + QFileInfo(QString::fromStdString(result.path)).fileName(), true);
  if (result.openAfterwards && OpenDocument && !OpenDocument(QString::fromStdString(result.path)))
    notifier_->Message("解析結果のファイルを開くプログラムが見つかりません。ファイルは次の場所に保存されています: " +
                       result.path);
  return true;
}

}  // namespace corvane
