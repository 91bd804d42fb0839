// The main window's part for an OpenGL window in a test or a benchmark: the window shows `data`
// through `view`, reads `options` (held by the caller, who may change them between frames) and
// reports to `notifier`; frames are built on the calling thread and no other command ever runs.
#pragma once
#include "ui/OpenGLWindow.h"

namespace corvane::testing {

class SameThreadOpenGLHost : public OpenGLWindowHost {
 public:
  SameThreadOpenGLHost(const FieldDataSet& data, FieldView& view, const ProgramOptions& options, Notifier& notifier)
      : data_(data), view_(view), options_(options), notifier_(notifier) {}
  const FieldDataSet& Data() const override { return data_; }
  FieldView& View() override { return view_; }
  ContourReadout* Readout() override { return nullptr; }
  Progress& progress() override { return progress_; }
  Notifier& notifier() override { return notifier_; }
  ProgramOptions Options() const override { return options_; }
  void SetPlotCaption(int) override {}
  void RaiseMainWindow() override {}
  void ClearAbort() override {}
  void WriteViewBoxes() override {}
  void RunWork(const std::function<void(Progress&, Notifier&)>& work) override { work(progress_, notifier_); }
  bool TryBeginCommand() override { return true; }
  void EndCommand() override {}
  void FrameFinished(bool, bool) override {}

 private:
  const FieldDataSet& data_;
  FieldView& view_;
  const ProgramOptions& options_;
  Notifier& notifier_;
  NullProgress progress_;
};

}  // namespace corvane::testing
