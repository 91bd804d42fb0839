// The program's windows as one whole: made in their fixed order and wired together.
#pragma once
#include <QString>
#include <memory>

#include "ui/MainWindow.h"

namespace corvane {

// The program's windows, created in their fixed order; the last creation reads the settings
// file (`settingsPath`, empty: crv.ini beside the executable) into the main window. The plot
// window's size is kept between runs in `plotSizeStore` (empty: not kept, the fixed default).
struct ProgramWindows {
  std::unique_ptr<MainWindow> main;
  std::unique_ptr<PlotWindow> view;
  std::unique_ptr<LegendWindow> legend;
  std::unique_ptr<OpenGLWindow> ogl;
  std::unique_ptr<ProgressWindow> process;
  std::unique_ptr<AboutDialog> about;
  ProgramWindows();
  ProgramWindows(ProgramWindows&&) noexcept;
  ProgramWindows& operator=(ProgramWindows&&) noexcept;
  ~ProgramWindows();
};
ProgramWindows CreateProgramWindows(const QString& settingsPath = QString(), const QString& plotSizeStore = QString());

}  // namespace corvane
