// What the plot window asks of the main window: the view commands a click, a drag, the wheel or a
// key starts there, the points picked for the analysis and the profile, and the rest passed on.
#pragma once
#include "ui/PlotHost.h"
#include "ui/ViewHistory.h"

namespace corvane {

class MainWindow;

class PlotWindowHost : public PlotHost {
 public:
  explicit PlotWindowHost(MainWindow& window) : window_(window) {}

  ProgramState& State() override;
  Notifier& notifier() override;
  void RunHandler(const std::function<void()>& body) override;
  bool TryBeginCommand() override;
  void EndCommand() override;
  bool Working() const override;
  void RunHandlerWhenIdle(std::function<void()> body) override;
  void ZoomAt(int px, int py, double factor) override;
  void ZoomToRect(int x1, int y1, int x2, int y2) override;
  void RenderGridPreview(QImage& image) override;
  void SegmentPointPicked(bool first, const QString& xText, const QString& yText) override;
  QString CurrentFolder() const override;
  void WheelZoom(int px, int py, double factor) override;
  void RememberView() override;
  void OpenDroppedFiles(const QStringList& paths) override;
  void GridLineHover(int px, int py) override;
  void GridLinePicked(int px, int py) override;
  bool SeriesLoaded() const override;
  bool SaveSeriesAnimation(const QString& path) override;
  // Back and forward walk the remembered views and draw the one reached.
  void ZoomBack();
  void ZoomForward();
  ViewHistory viewHistory;

 private:
  // Goes to a remembered view and draws it; without one the status bar says `none`.
  void ShowPlace(const std::optional<ViewPlace>& place, const QString& none);
  // A view changes while its drawing runs (the drawing starts again), not while another command does.
  bool ViewChangeRefused() const;
  MainWindow& window_;
};

}  // namespace corvane
