#include "ui/FormNotifier.h"

#include <QMessageBox>
#include <algorithm>

namespace corvane {

// Warning dialog with one OK button.
void FormNotifier::Warning(const std::string& text) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("警告"), QString::fromStdString(text), QMessageBox::Ok,
                  parent_.data());
  box.exec();
}

// Plain message box titled with the program's title.
void FormNotifier::Message(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kProgramTitle), QString::fromStdString(text),
                  QMessageBox::Ok, parent_.data());
  box.exec();
}

void FormNotifier::RaiseMainWindow() {
  QWidget* main = parent_.data();
  if (!main) return;
  main = main->window();
  main->show();
  main->raise();
  main->activateWindow();
}

FormProgress::FormProgress(QProgressBar* gauge, QStatusBar* status, std::function<bool()> abortFlag)
    : gauge_(gauge), status_(status), abortFlag_(std::move(abortFlag)) {}

// The gauge works in ints; huge maxima are scaled down so the bar still moves.
void FormProgress::SetMaximum(std::int64_t maximum) {
  maximum_ = std::max<std::int64_t>(maximum, 0);
  if (gauge_) gauge_->setMaximum(static_cast<int>(std::min<std::int64_t>(maximum_, 1 << 30)));
}

void FormProgress::SetPosition(std::int64_t position) {
  if (!gauge_) return;
  std::int64_t p = std::clamp<std::int64_t>(position, 0, maximum_);
  if (maximum_ > (1 << 30)) p = p * (1 << 30) / maximum_;
  gauge_->setValue(static_cast<int>(p));
}

void FormProgress::SetStatus(const std::string& text) {
  if (status_) status_->showMessage(QString::fromStdString(text));
}

}  // namespace corvane
