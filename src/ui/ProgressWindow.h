// The batch progress window: a progress bar and an abort button around the batch loop of
// Batch.h. The main window creates it once and calls RunBatch from the file list's menu item.
#pragma once
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "base/Notifier.h"
#include "output/Batch.h"

namespace Ui { class ProgressWindow; }

namespace corvane {

class ProgressWindow : public QWidget {
  Q_OBJECT

 public:
  explicit ProgressWindow(QWidget* parent = nullptr);
  ~ProgressWindow() override;

  // The batch command over the selected files (full paths, in list order). In OpenGL mode only
  // the message "OpenGLモードではできません" is shown. Otherwise this window is shown while
  // the files are loaded, drawn and saved through `callbacks`, hidden afterwards, and the
  // completion text (with the files that failed) goes to `notifier`. A call that arrives while
  // a batch is running (while a file waits for its worker) is refused and returns an empty result.
  BatchResult RunBatch(const std::vector<std::string>& paths, const BatchCallbacks& callbacks, bool useOpenGL,
                       Notifier& notifier);
  bool Running() const { return running_; }

  // Set by the abort button, polled between files; reset at the start of every batch.
  bool BatchAbortRequested = false;

 public slots:
  void AbortButtonClick();

 private:
  std::unique_ptr<Ui::ProgressWindow> ui;
  bool running_ = false;
  friend class ProcessBarProgress;
};

}  // namespace corvane
