// What the OpenGL window asks of the main window: its data, options and progress, the command
// lock and worker thread a frame is built under, and the plot view's boxes written back after
// its keys.
#pragma once
#include "ui/OpenGLWindow.h"

namespace corvane {

class MainWindow;

class MainWindowOpenGLHost : public OpenGLWindowHost {
 public:
  explicit MainWindowOpenGLHost(MainWindow& window) : window_(window) {}

  const FieldDataSet& Data() const override;
  FieldView& View() override;
  ContourReadout* Readout() override;
  Progress& progress() override;
  Notifier& notifier() override;
  ProgramOptions Options() const override;
  void SetPlotCaption(int row) override;
  void RaiseMainWindow() override;
  void ClearAbort() override;
  void WriteViewBoxes() override;
  void RunWork(const std::function<void(Progress&, Notifier&)>& work) override;
  bool TryBeginCommand() override;
  void EndCommand() override;
  void FrameFinished(bool completed, bool aborted) override;

 private:
  MainWindow& window_;
};

}  // namespace corvane
