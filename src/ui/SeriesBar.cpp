#include "ui/SeriesBar.h"

#include <QHBoxLayout>

#include <algorithm>

namespace corvane {

SeriesBar::SeriesBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("SeriesBar"));
  setAutoFillBackground(true);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(4, 2, 4, 2);
  TimeCaption = new QLabel(QStringLiteral("時刻"), this);
  TimeSlider = new QSlider(Qt::Horizontal, this);
  TimeSlider->setObjectName(QStringLiteral("TimeSlider"));
  TimeSlider->setTracking(false);
  TimeSlider->setPageStep(1);
  TimeLabel = new QLabel(this);
  TimeLabel->setObjectName(QStringLiteral("TimeLabel"));
  TimeLabel->setMinimumWidth(80);
  PlayButton = new QToolButton(this);
  PlayButton->setObjectName(QStringLiteral("PlayButton"));
  PlayButton->setText(QStringLiteral("再生"));
  SeriesSameRange = new QCheckBox(QStringLiteral("全時刻で同じ範囲"), this);
  SeriesSameRange->setObjectName(QStringLiteral("SeriesSameRange"));
  row->addWidget(TimeCaption);
  row->addWidget(TimeSlider, 1);
  row->addWidget(TimeLabel);
  row->addWidget(PlayButton);
  row->addWidget(SeriesSameRange);
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, [this] { Advance(); });
  connect(TimeSlider, &QSlider::valueChanged, this, [this](int v) { emit FrameChosen(v); });
  connect(PlayButton, &QToolButton::clicked, this, [this] { PlayClick(); });
  connect(SeriesSameRange, &QCheckBox::toggled, this, [this](bool on) { emit SameRangeChanged(on); });
}

void SeriesBar::SetFrameCount(int count) {
  Stop();
  TimeSlider->blockSignals(true);
  TimeSlider->setRange(0, std::max(count - 1, 0));
  TimeSlider->setValue(0);
  TimeSlider->blockSignals(false);
}

void SeriesBar::ShowFrame(int frame, const QString& text) {
  TimeSlider->blockSignals(true);
  TimeSlider->setValue(frame);
  TimeSlider->blockSignals(false);
  TimeLabel->setText(QStringLiteral("%1 (%2 / %3)").arg(text).arg(frame + 1).arg(TimeSlider->maximum() + 1));
}

// Playing from the last frame starts again at the first.
void SeriesBar::PlayClick() {
  if (playing_) {
    Stop();
    return;
  }
  playing_ = true;
  PlayButton->setText(QStringLiteral("停止"));
  if (TimeSlider->value() == TimeSlider->maximum()) TimeSlider->setValue(0);
  else Advance();
}

void SeriesBar::Advance() {
  if (!playing_) return;
  if (TimeSlider->value() >= TimeSlider->maximum()) {
    Stop();
    return;
  }
  TimeSlider->setValue(TimeSlider->value() + 1);
}

void SeriesBar::FrameDone() {
  if (playing_) timer_.start(frameMs);
}

void SeriesBar::Stop() {
  playing_ = false;
  timer_.stop();
  PlayButton->setText(QStringLiteral("再生"));
}

}  // namespace corvane
