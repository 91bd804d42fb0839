// The main window's side of a time series: which frames the selection makes, and the loading
// and drawing of the frame the plot window's time bar chooses.
#include <QApplication>
#include <QFileInfo>

#include <cmath>

#include "data/DataFileLoader.h"
#include "data/Errors.h"
#include "ui/DisplayTabController.h"
#include "ui/MainWindow.h"
#include "ui/PlotWindow.h"

namespace corvane {
namespace {

// The time of a frame, or its file's name when it has none.
QString FrameText(const SeriesFrame& frame) {
  if (frame.time) return QStringLiteral("t = %1").arg(*frame.time, 0, 'g', 6);
  return QFileInfo(QString::fromStdString(frame.path)).fileName();
}

}  // namespace

void MainWindow::LoadSeries(std::vector<SeriesFrame> frames) {
  if (frames.size() <= 1) {
    series_.clear();
    seriesRange_.reset();
    if (plotWindow) plotWindow->ShowSeriesBar(false);
    if (!frames.empty()) LoadFile(QString::fromStdString(frames.front().path));
    return;
  }
  series_ = std::move(frames);
  seriesRange_.reset();
  if (plotWindow) {
    plotWindow->seriesBar->SetFrameCount(static_cast<int>(series_.size()));
    plotWindow->ShowSeriesBar(true);
  }
  SeriesFrameChosen(0);
}

void MainWindow::SeriesFrameChosen(int frame) {
  if (frame < 0 || static_cast<std::size_t>(frame) >= series_.size()) return;
  bool loaded = false;
  RunCommand([&] {
    const SeriesFrame f = series_[static_cast<std::size_t>(frame)];
    ProgramOptions options = scene.options;
    options.load.xvecbox = options.load.yvecbox = options.load.tmpbox = options.load.prsBox = -1;
    const bool needRange = plotWindow && plotWindow->seriesBar->SeriesSameRange->isChecked() && !seriesRange_;
    const std::vector<SeriesFrame> frames = series_;
    const int zoneListCount = displayTab_->ZoneListCount();
    // The range and the frame are read on the worker; the data set is replaced here.
    if (needRange) {
      std::optional<SeriesRange> range;
      RunWork([&](Progress& progress, Notifier& notifier) {
        range = RangeOverSeries(frames, options.load, notifier, progress);
      });
      seriesRange_ = range;
    }
    AbortRequested = false;
    const FieldView previousView = scene.fieldView;
    std::optional<LoadResult> result;
    RunWork([&](Progress& progress, Notifier& notifier) {
      result = LoadSeriesFrame(f, options.load, previousView, zoneListCount, notifier, progress);
    });
    AbortRequested = false;
    if (!result) return;
    ApplyLoadResult(*result);
    if (seriesRange_ && plotWindow && plotWindow->seriesBar->SeriesSameRange->isChecked()) {
      ApplySeriesRange(scene.fieldView, *seriesRange_, scene.options.load.AutoStepCheck, scene.options.load.StepBar);
      state.events.Changed(StateChange::ContourRange);
    }
    seriesFrame_ = frame;
    if (plotWindow) plotWindow->seriesBar->ShowFrame(frame, FrameText(f));
    loaded = true;
  });
  if (!plotWindow) return;
  if (!loaded) {
    plotWindow->seriesBar->Stop();
    plotWindow->seriesBar->ShowFrame(seriesFrame_, FrameText(series_[static_cast<std::size_t>(seriesFrame_)]));
    return;
  }
  // The view stays: a frame that follows a drawing is drawn in the same place.
  if (plotWindow->isEnabled()) Redraw();
  plotWindow->seriesBar->FrameDone();
}

// A change while a frame loads is taken when the load is over.
void MainWindow::SeriesRangeChanged() {
  RunHandlerWhenIdle([this] {
    seriesRange_.reset();
    if (!series_.empty()) SeriesFrameChosen(seriesFrame_);
  });
}

}  // namespace corvane
