#include "ui/ProgressWindow.h"

#include <limits>

#include "ui_ProgressWindow.h"

namespace corvane {

// The progress bar of the window as the batch loop's Progress; its abort flag is the window's.
class ProcessBarProgress : public Progress {
 public:
  explicit ProcessBarProgress(ProgressWindow& form) : form_(form) {}
  void SetMaximum(std::int64_t maximum) override { form_.ui->ProgressBar1->setMaximum(ToInt(maximum)); }
  // Set once per file, which also brings the window forward: the abort click comes through
  // while the file's load and drawing wait for their worker.
  void SetPosition(std::int64_t position) override {
    form_.ui->ProgressBar1->setValue(ToInt(position));
    form_.raise();
  }
  bool AbortRequested() const override { return form_.BatchAbortRequested; }

 private:
  static int ToInt(std::int64_t v) {
    if (v < 0) return 0;
    return v > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : static_cast<int>(v);
  }
  ProgressWindow& form_;
};

ProgressWindow::ProgressWindow(QWidget* parent) : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::ProgressWindow>()) {
  ui->setupUi(this);
  connect(ui->AbortButton, &QPushButton::clicked, this, &ProgressWindow::AbortButtonClick);
}

ProgressWindow::~ProgressWindow() = default;

void ProgressWindow::AbortButtonClick() { BatchAbortRequested = true; }

BatchResult ProgressWindow::RunBatch(const std::vector<std::string>& paths, const BatchCallbacks& callbacks,
                                   bool useOpenGL, Notifier& notifier) {
  if (running_) return {};
  if (useOpenGL) {
    notifier.Message("OpenGLモードではできません");
    return {};
  }
  running_ = true;
  ui->ProgressBar1->setValue(0);
  ui->ProgressBar1->setMaximum(static_cast<int>(std::min<std::size_t>(paths.size(), std::numeric_limits<int>::max())));
  BatchAbortRequested = false;
  show();
  raise();
  // Hidden again however the loop ends, so an error never leaves the window standing.
  struct Finish {
    ProgressWindow& form;
    ~Finish() {
      form.hide();
      form.running_ = false;
    }
  } finish{*this};
  ProcessBarProgress progress(*this);
  BatchResult result = RunBatchFiles(paths, callbacks, progress);
  hide();
  notifier.Message(BatchCompletionText(result));
  return result;
}

}  // namespace corvane
