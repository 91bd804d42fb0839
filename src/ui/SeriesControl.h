// A time series in the main window: several selected files, or a Tecplot file's solution times,
// which the plot window's time bar steps through.
#pragma once
#include <QString>
#include <optional>
#include <vector>

#include "readers/DataSeries.h"
#include "fieldview/LoadedView.h"

namespace corvane {

class MainWindow;

class SeriesControl {
 public:
  explicit SeriesControl(MainWindow& window) : window_(window) {}

  // Takes `frames` as the series the plot window's time bar steps through and loads frame 0;
  // a single frame is an ordinary load and hides the bar.
  void Load(std::vector<SeriesFrame> frames);
  // Loads frame `frame` (keeping the view and the options, and the range over the series when
  // 全時刻で同じ範囲 is checked) and draws it when a picture is shown.
  void FrameChosen(int frame);
  // The same-range check changed: the range is found again and the frame shown loaded again.
  void RangeChanged();
  // Draws every frame of the series in turn at the plot window's picture size and writes them as
  // one animation (.webp, .gif); the frame shown before is shown again. False when nothing was
  // written (no series, no picture yet, a frame that failed).
  bool SaveAnimation(const QString& path);
  bool Loaded() const { return frames_.size() > 1; }
  std::size_t FrameCount() const { return frames_.size(); }
  int ShownFrame() const { return shownFrame_; }

 private:
  MainWindow& window_;
  std::vector<SeriesFrame> frames_;
  int shownFrame_ = 0;
  std::optional<SeriesRange> range_;
};

}  // namespace corvane
