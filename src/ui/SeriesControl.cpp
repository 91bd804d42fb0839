// The main window's side of a time series: which frames the selection makes, and the loading
// and drawing of the frame the plot window's time bar chooses.
#include <QApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

#include "data/DataFileLoader.h"
#include "data/Errors.h"
#include "output/AnimationWriter.h"
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
    LoadedPath = QString::fromStdString(f.path);
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

bool MainWindow::SaveSeriesAnimation(const QString& path) {
  if (series_.size() < 2 || !plotWindow) return false;
  if (!plotWindow->isEnabled() || scene.bitmap.isNull()) {
    notifier_->Warning("保存する画像がありません。先に描画してください。");
    return false;
  }
  if (Busy()) {
    QApplication::beep();
    return false;
  }
  plotWindow->seriesBar->Stop();
  // However the saving ends, the frame shown before is shown again, and a GIF left half written
  // goes (a WebP is written only once complete).
  struct Restore {
    MainWindow* form;
    int shown;
    QString path;
    bool written = false;
    ~Restore() {
      if (!written && QFileInfo(path).suffix().compare(QLatin1String("gif"), Qt::CaseInsensitive) == 0)
        QFile::remove(path);
      if (form->seriesFrame_ != shown) form->SeriesFrameChosen(shown);
    }
  } restore{this, seriesFrame_, path};
  const int fps = std::clamp(1000 / std::max(plotWindow->seriesBar->frameMs, 1), 1, 100);
  // The frames are the pictures the window shows, so the animation has the picture's size.
  AnimationWriter writer(path, fps);
  for (std::size_t k = 0; k < series_.size(); ++k) {
    statusBar()->showMessage(QStringLiteral("アニメーションを保存中: %1 / %2").arg(k + 1).arg(series_.size()));
    SeriesFrameChosen(static_cast<int>(k));
    if (seriesFrame_ != static_cast<int>(k) || scene.bitmap.isNull()) {
      statusBar()->showMessage(QStringLiteral("アニメーションは保存されませんでした"));
      return false;
    }
    writer.Add(scene.bitmap);
  }
  writer.Finish();
  restore.written = true;
  return true;
}

// A change while a frame loads is taken when the load is over.
void MainWindow::SeriesRangeChanged() {
  RunHandlerWhenIdle([this] {
    seriesRange_.reset();
    if (!series_.empty()) SeriesFrameChosen(seriesFrame_);
  });
}

}  // namespace corvane
