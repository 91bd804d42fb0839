// The time bar of the plot window, shown while a time series is loaded: the slider "時刻" over the
// frames, the frame's time, a play button that steps through the frames, and the choice of one
// contour range over the whole series ("全時刻で同じ範囲").
#pragma once
#include <QCheckBox>
#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QWidget>

namespace corvane {

class SeriesBar : public QWidget {
  Q_OBJECT

 public:
  explicit SeriesBar(QWidget* parent);

  // Offers `count` frames with frame 0 chosen; playing stops.
  void SetFrameCount(int count);
  // What the label says about the frame shown: its time or its file, and which of how many.
  void ShowFrame(int frame, const QString& text);
  // Called once the chosen frame is drawn: while playing, the next one follows after a pause.
  void FrameDone();
  void Stop();
  bool Playing() const { return playing_; }
  int Frame() const { return TimeSlider->value(); }

  QLabel* TimeCaption;
  QSlider* TimeSlider;   // `TimeSlider`: releases its value only when let go
  QLabel* TimeLabel;
  QToolButton* PlayButton;
  QCheckBox* SeriesSameRange;
  int frameMs = 200;  // pause between frames while playing

 signals:
  void FrameChosen(int frame);
  void SameRangeChanged(bool same);

 private:
  void PlayClick();
  void Advance();
  bool playing_ = false;
  QTimer timer_;
};

}  // namespace corvane
