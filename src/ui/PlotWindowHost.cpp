#include "ui/PlotWindowHost.h"

#include <QStatusBar>
#include <cmath>

#include "scene/ViewPreview.h"
#include "ui/AnalysisTabController.h"
#include "ui/MainWindow.h"
#include "ui/ProfileWindow.h"
#include "ui/SeriesControl.h"
#include "ui/ViewDrawing.h"

namespace corvane {

ProgramState& PlotWindowHost::State() { return window_.state; }
Notifier& PlotWindowHost::notifier() { return window_.notifier(); }
void PlotWindowHost::RunHandler(const std::function<void()>& body) { window_.RunHandler(body); }
bool PlotWindowHost::TryBeginCommand() { return window_.TryBeginCommand(); }
void PlotWindowHost::EndCommand() { window_.EndCommand(); }
bool PlotWindowHost::Working() const { return window_.gate_.Working(); }
void PlotWindowHost::RunHandlerWhenIdle(std::function<void()> body) { window_.RunHandlerWhenIdle(std::move(body)); }
QString PlotWindowHost::CurrentFolder() const { return window_.CurrentFolder(); }
void PlotWindowHost::OpenDroppedFiles(const QStringList& paths) { window_.OpenDroppedFiles(paths); }
bool PlotWindowHost::SeriesLoaded() const { return window_.series_->Loaded(); }
bool PlotWindowHost::SaveSeriesAnimation(const QString& path) { return window_.series_->SaveAnimation(path); }

void PlotWindowHost::ZoomAt(int px, int py, double factor) {
  if (ViewChangeRefused()) return;
  RememberView();
  window_.scene.view.ZoomAt(px, py, factor);
  window_.viewDrawing_->Draw();
  window_.state.events.Changed(StateChange::View);
}

void PlotWindowHost::ZoomToRect(int x1, int y1, int x2, int y2) {
  if (ViewChangeRefused()) return;
  RememberView();
  window_.scene.view.ZoomToRect(x1, y1, x2, y2, window_.scene.options.display.XYSameScale);
  window_.viewDrawing_->Draw();
  window_.state.events.Changed(StateChange::View);
}

void PlotWindowHost::WheelZoom(int px, int py, double factor) {
  if (ViewChangeRefused() || !(factor > 0.0) || !std::isfinite(factor)) return;
  ViewTransform& view = window_.scene.view;
  const double wx = view.PixelToWorldX(px), wy = view.PixelToWorldY(py);
  const double sx = view.ScaleX * factor, sy = view.ScaleY * factor;
  // A scale that overflows or vanishes would leave no way to draw; such a turn does nothing.
  if (!std::isfinite(sx) || !std::isfinite(sy) || sx == 0.0 || sy == 0.0 || !std::isfinite(wx) || !std::isfinite(wy))
    return;
  RememberView();
  view.ScaleX = sx;
  view.ScaleY = sy;
  view.CentreX = wx - (px - view.CentrePixelX) / sx;
  view.CentreY = wy - (view.CentrePixelY - py) / sy;
  window_.viewDrawing_->Draw();
  window_.state.events.Changed(StateChange::View);
}

void PlotWindowHost::RememberView() { viewHistory.Remember(PlaceOf(window_.scene.view)); }

void PlotWindowHost::ZoomBack() {
  if (ViewChangeRefused()) return;
  ShowPlace(viewHistory.Back(PlaceOf(window_.scene.view)), QStringLiteral("これより前の表示はありません"));
}

void PlotWindowHost::ZoomForward() {
  if (ViewChangeRefused()) return;
  ShowPlace(viewHistory.Forward(PlaceOf(window_.scene.view)), QStringLiteral("これより先の表示はありません"));
}

void PlotWindowHost::ShowPlace(const std::optional<ViewPlace>& place, const QString& none) {
  if (!place) {
    window_.statusBar()->showMessage(none);
    return;
  }
  ApplyPlace(window_.scene.view, *place);
  window_.viewDrawing_->Draw();
  window_.state.events.Changed(StateChange::View);
}

bool PlotWindowHost::ViewChangeRefused() const {
  return window_.gate_.InCommand() || (window_.gate_.Working() && !window_.viewDrawing_->Running());
}

// The pan preview uses the options of the drawing it replaces, with the current background.
void PlotWindowHost::RenderGridPreview(QImage& image) { DrawGridPreview(window_.scene, image); }

// A picked end point goes into its typed boxes as if entered, then the quick segment follows.
void PlotWindowHost::SegmentPointPicked(bool first, const QString& xText, const QString& yText) {
  window_.RunHandlerWhenIdle([this, first, xText, yText] {
    window_.tabs_.analysis->PointPicked(first, xText, yText);
  });
}

void PlotWindowHost::GridLineHover(int px, int py) {
  const ViewTransform& view = window_.scene.view;
  if (window_.profileWindow && !window_.Busy()) window_.profileWindow->LineHover({view.PixelToWorldX(px), view.PixelToWorldY(py)});
}

void PlotWindowHost::GridLinePicked(int px, int py) {
  const WorldPoint at{window_.scene.view.PixelToWorldX(px), window_.scene.view.PixelToWorldY(py)};
  window_.RunHandlerWhenIdle([this, at] {
    if (window_.profileWindow) window_.profileWindow->LinePicked(at);
  });
}

}  // namespace corvane
