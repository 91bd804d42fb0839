// The windows' message boxes and progress display: the Notifier shows modal boxes, the Progress
// drives the main window's gauge and status bar. Both are used on the window thread; work on
// the worker reaches them through QueuedProgress and QueuedNotifier.
#pragma once
#include <QPointer>
#include <QProgressBar>
#include <QStatusBar>
#include <functional>

#include "base/Notifier.h"
#include "base/Progress.h"

class QWidget;

namespace corvane {

// The title of plain message boxes.
inline constexpr const char* kProgramTitle = "二次元可視化";

class FormNotifier : public Notifier {
 public:
  explicit FormNotifier(QWidget* parent) : parent_(parent) {}
  void Warning(const std::string& text) override;
  void Message(const std::string& text) override;
  void RaiseMainWindow() override;

 private:
  QPointer<QWidget> parent_;
};

class FormProgress : public Progress {
 public:
  FormProgress(QProgressBar* gauge, QStatusBar* status, std::function<bool()> abortFlag);
  void SetMaximum(std::int64_t maximum) override;
  void SetPosition(std::int64_t position) override;
  void SetStatus(const std::string& text) override;
  bool AbortRequested() const override { return abortFlag_ ? abortFlag_() : false; }

 private:
  QPointer<QProgressBar> gauge_;
  QPointer<QStatusBar> status_;
  std::function<bool()> abortFlag_;
  std::int64_t maximum_ = 100;
};

}  // namespace corvane
