// The main window's first view of an opened file, and the values the settings file or --set gave
// before there was data for them (the shown variable, list choices, the view), taken once the
// data comes.
#include <QApplication>
#include <QComboBox>

#include "base/Errors.h"
#include "scene/DenseExtents.h"
#include "scene/SceneRenderer.h"
#include "ui/MainWindow.h"
#include "ui/OpenGLWindow.h"
#include "ui/PlotWindow.h"

namespace corvane {

void MainWindow::ShowOpenedView() {
  const bool given = givenView_[0] || givenView_[1] || givenView_[2] || givenView_[3];
  const std::optional<Extents> dense =
      scene.options.display.overlayCopies == 0 ? DenseExtents(data_) : std::optional<Extents>();
  if (scene.options.display.UseOpenGL || Busy() || (!dense && !given)) {
    RescaleAndRedraw();
  } else {
    RememberView();
    PlacePlotWindow();
    if (dense) FitViewTo(scene, *dense);
    else FitView(scene);
    double* fields[4] = {&view_.CentreX, &view_.CentreY, &view_.ScaleX, &view_.ScaleY};
    for (int k = 0; k < 4; ++k)
      if (givenView_[k]) *fields[k] = *givenView_[k];
    Redraw();
    state.events.Changed(StateChange::View);
  }
  for (auto& v : givenView_) v.reset();
  if (!plotWindow) return;
  plotWindow->ShowNote(dense && !given ? QStringLiteral("格子の密な所を表示中。全体は Home キー、拡大はクリックかドラッグ、"
                                                        "縮小は右クリック、移動は方向キー")
                                       : QStringLiteral("拡大はクリックかドラッグ、縮小は右クリック、移動は方向キー、"
                                                        "全体は Home キー"));
}

void MainWindow::KeepPendingChoice(const std::string& name, long long index) { pendingChoices_[name] = index; }

void MainWindow::TakePendingChoices() {
  std::map<std::string, long long> pending;
  pending.swap(pendingChoices_);
  for (const auto& [name, index] : pending) {
    QWidget* w = findChild<QWidget*>(QString::fromStdString(name));
    int count = 0;
    if (auto* g = qobject_cast<RadioGroupWidget*>(w)) count = g->Count();
    else if (auto* cb = qobject_cast<QComboBox*>(w)) count = cb->count();
    if (index < count) {
      ApplyControlValue(name, std::to_string(index));
      continue;
    }
    notifier_->Warning(name + "=" + std::to_string(index) + ": 読み込んだデータには " + std::to_string(index) +
                       " 番の項目がありません (0.." + std::to_string(std::max(count - 1, 0)) + ")。この設定は使われませんでした。");
  }
}

}  // namespace corvane
