// The main window's side of a time series: which frames the selection makes, and the loading
// and drawing of the frame the plot window's time bar chooses.
#include "ui/SeriesControl.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

#include "fieldview/LoadedView.h"
#include "base/Errors.h"
#include "output/AnimationWriter.h"
#include "ui/DisplayTabController.h"
#include "ui/MainWindow.h"
#include "ui/PlotWindow.h"
#include "ui/SeriesBar.h"

namespace corvane {
namespace {

// The time of a frame, or its file's name when it has none.
QString FrameText(const SeriesFrame& frame) {
  if (frame.time) return QStringLiteral("t = %1").arg(*frame.time, 0, 'g', 6);
  return QFileInfo(QString::fromStdString(frame.path)).fileName();
}

}  // namespace

void SeriesControl::Load(std::vector<SeriesFrame> frames) {
  if (frames.size() <= 1) {
    frames_.clear();
    range_.reset();
    if (window_.plotWindow) window_.plotWindow->ShowSeriesBar(false);
    if (!frames.empty()) window_.LoadFile(QString::fromStdString(frames.front().path));
    return;
  }
  frames_ = std::move(frames);
  range_.reset();
  if (window_.plotWindow) {
    window_.plotWindow->seriesBar->SetFrameCount(static_cast<int>(frames_.size()));
    window_.plotWindow->ShowSeriesBar(true);
  }
  FrameChosen(0);
}

void SeriesControl::FrameChosen(int frame) {
  if (frame < 0 || static_cast<std::size_t>(frame) >= frames_.size()) return;
  bool loaded = false;
  window_.gate_.Run([&] {
    const SeriesFrame f = frames_[static_cast<std::size_t>(frame)];
    ProgramOptions options = window_.scene.options;
    options.load.xvecbox = options.load.yvecbox = options.load.tmpbox = options.load.prsBox = -1;
    const bool needRange = window_.plotWindow && window_.plotWindow->seriesBar->SeriesSameRange->isChecked() && !range_;
    const std::vector<SeriesFrame> frames = frames_;
    // The range and the frame are read on the worker; the data set is replaced here.
    if (needRange) {
      std::optional<SeriesRange> range;
      window_.RunWork([&](Progress& progress, Notifier& notifier) {
        range = RangeOverSeries(frames, options.load, notifier, progress);
      });
      range_ = range;
    }
    window_.state.AbortRequested = false;
    const FieldView previousView = window_.scene.fieldView;
    std::optional<LoadResult> result;
    window_.RunWork([&](Progress& progress, Notifier& notifier) {
      result = LoadSeriesFrame(f, options.load, previousView, notifier, progress);
    });
    window_.state.AbortRequested = false;
    if (!result) return;
    window_.ApplyLoadResult(*result);
    if (range_ && window_.plotWindow && window_.plotWindow->seriesBar->SeriesSameRange->isChecked()) {
      ApplySeriesRange(window_.scene.fieldView, *range_, window_.scene.options.load.AutoStepCheck,
                       window_.scene.options.load.StepBar);
      window_.state.events.Changed(StateChange::ContourRange);
    }
    shownFrame_ = frame;
    window_.LoadedPath = QString::fromStdString(f.path);
    if (window_.plotWindow) window_.plotWindow->seriesBar->ShowFrame(frame, FrameText(f));
    loaded = true;
  });
  if (!window_.plotWindow) return;
  if (!loaded) {
    window_.plotWindow->seriesBar->Stop();
    window_.plotWindow->seriesBar->ShowFrame(shownFrame_, FrameText(frames_[static_cast<std::size_t>(shownFrame_)]));
    return;
  }
  // The view stays: a frame that follows a drawing is drawn in the same place.
  if (window_.plotWindow->isEnabled()) window_.Redraw();
  window_.plotWindow->seriesBar->FrameDone();
}

bool SeriesControl::SaveAnimation(const QString& path) {
  if (frames_.size() < 2 || !window_.plotWindow) return false;
  if (!window_.plotWindow->isEnabled() || window_.scene.bitmap.isNull()) {
    window_.notifier().Warning("保存する画像がありません。先に描画してください。");
    return false;
  }
  if (window_.Busy()) {
    QApplication::beep();
    return false;
  }
  window_.plotWindow->seriesBar->Stop();
  // However the saving ends, the frame shown before is shown again, and a GIF left half written
  // goes (a WebP is written only once complete).
  struct Restore {
    SeriesControl* form;
    int shown;
    QString path;
    bool written = false;
    ~Restore() {
      if (!written && QFileInfo(path).suffix().compare(QLatin1String("gif"), Qt::CaseInsensitive) == 0)
        QFile::remove(path);
      if (form->shownFrame_ != shown) form->FrameChosen(shown);
    }
  } restore{this, shownFrame_, path};
  const int fps = std::clamp(1000 / std::max(window_.plotWindow->seriesBar->frameMs, 1), 1, 100);
  // The frames are the pictures the window shows, so the animation has the picture's size.
  AnimationWriter writer(path, fps);
  for (std::size_t k = 0; k < frames_.size(); ++k) {
    window_.statusBar()->showMessage(QStringLiteral("アニメーションを保存中: %1 / %2").arg(k + 1).arg(frames_.size()));
    FrameChosen(static_cast<int>(k));
    if (shownFrame_ != static_cast<int>(k) || window_.scene.bitmap.isNull()) {
      window_.statusBar()->showMessage(QStringLiteral("アニメーションは保存されませんでした"));
      return false;
    }
    writer.Add(window_.scene.bitmap);
  }
  writer.Finish();
  restore.written = true;
  return true;
}

// A change while a frame loads is taken when the load is over.
void SeriesControl::RangeChanged() {
  window_.RunHandlerWhenIdle([this] {
    range_.reset();
    if (!frames_.empty()) FrameChosen(shownFrame_);
  });
}

}  // namespace corvane
