#include "ui/WorkFeedback.h"

#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

namespace corvane {

WorkFeedback::WorkFeedback(QWidget* window, QProgressBar* gauge, QStatusBar* status,
                           std::function<bool()> abortRequested)
    : gauge_(gauge), status_(status), reset_(new QTimer(window)), progress_(gauge, status, std::move(abortRequested)) {
  reset_->setSingleShot(true);
  QObject::connect(reset_, &QTimer::timeout, window, [this] { gauge_->setValue(gauge_->minimum()); });
  // New work takes the gauge over; an emptying still pending from the last one must not cut in.
  QObject::connect(gauge_, &QProgressBar::valueChanged, window, [this](int value) {
    if (value < gauge_->maximum()) reset_->stop();
  });
}

// The end of a load or a drawing: what happened in the status bar; the gauge full for a moment
// when the work completed, empty at once when it did not.
void WorkFeedback::Finish(const QString& status, bool completed) {
  status_->showMessage(status);
  if (!completed) {
    reset_->stop();
    gauge_->setValue(gauge_->minimum());
    return;
  }
  if (gauge_->maximum() <= gauge_->minimum()) gauge_->setMaximum(gauge_->minimum() + 1);
  gauge_->setValue(gauge_->maximum());
  reset_->start(std::max(resetMs, 0));
}

}  // namespace corvane
