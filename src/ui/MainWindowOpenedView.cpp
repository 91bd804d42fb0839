// The main window's first view of an opened file: where the grid is dense, or the view the
// settings file or --set gave before there was data for it.
#include <QApplication>

#include "base/Errors.h"
#include "scene/DenseExtents.h"
#include "scene/SceneRenderer.h"
#include "ui/MainWindow.h"
#include "ui/OpenGLWindow.h"
#include "ui/PlotWindow.h"
#include "ui/PlotWindowHost.h"
#include "ui/SettingsApplier.h"

namespace corvane {

void MainWindow::ShowOpenedView() {
  const auto& givenView = settings_->GivenView();
  const bool given = givenView[0] || givenView[1] || givenView[2] || givenView[3];
  const std::optional<Extents> dense =
      scene.options.display.overlayCopies == 0 ? DenseExtents(scene.data) : std::optional<Extents>();
  if (scene.options.display.UseOpenGL || Busy() || (!dense && !given)) {
    RescaleAndRedraw();
  } else {
    plotHost_->RememberView();
    PlacePlotWindow();
    if (dense) FitViewTo(scene, *dense);
    else FitView(scene);
    double* fields[4] = {&scene.view.CentreX, &scene.view.CentreY, &scene.view.ScaleX, &scene.view.ScaleY};
    for (int k = 0; k < 4; ++k)
      if (givenView[k]) *fields[k] = *givenView[k];
    Redraw();
    state.events.Changed(StateChange::View);
  }
  settings_->ForgetGivenView();
  if (!plotWindow) return;
  plotWindow->ShowNote(dense && !given ? QStringLiteral("格子の密な所を表示中。全体は Home キー、拡大はクリックかドラッグ、"
                                                        "縮小は右クリック、移動は方向キー")
                                       : QStringLiteral("拡大はクリックかドラッグ、縮小は右クリック、移動は方向キー、"
                                                        "全体は Home キー"));
}

}  // namespace corvane
