// The main window's feedback of its work: the progress gauge and the status bar the loads and
// drawings report to, and the end of a piece of work shown in them.
#pragma once
#include <QString>
#include <functional>

#include "ui/FormNotifier.h"

class QTimer;
class QWidget;

namespace corvane {

class WorkFeedback {
 public:
  // `gauge` and `status` are the window's; `abortRequested` reads the abort command's flag.
  WorkFeedback(QWidget* window, QProgressBar* gauge, QStatusBar* status, std::function<bool()> abortRequested);

  Progress& progress() { return progress_; }
  // The status text, and the gauge full (emptied again after `resetMs`) or emptied at once.
  void Finish(const QString& status, bool completed);
  int resetMs = 700;

 private:
  QProgressBar* gauge_;
  QStatusBar* status_;
  QTimer* reset_;
  FormProgress progress_;
};

}  // namespace corvane
