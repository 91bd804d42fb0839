// The program's windows, created in their fixed order and wired to the main window.
#include "ui/ProgramWindows.h"

#include "base/Errors.h"
#include "ui/AboutDialog.h"
#include "ui/LegendWindow.h"
#include "ui/MainWindow.h"
#include "ui/MainWindowOpenGLHost.h"
#include "ui/OpenGLWindow.h"
#include "ui/PlotWindow.h"
#include "ui/PlotWindowHost.h"
#include "ui/ProgressWindow.h"
#include "ui/ScreenPlacement.h"
#include "ui/SeriesControl.h"
#include "ui/SettingsApplier.h"

namespace corvane {

ProgramWindows::ProgramWindows() = default;
ProgramWindows::ProgramWindows(ProgramWindows&&) noexcept = default;
ProgramWindows& ProgramWindows::operator=(ProgramWindows&&) noexcept = default;
// The others go before the main window, which they reach through its pointers.
ProgramWindows::~ProgramWindows() {
  about.reset();
  process.reset();
  view.reset();
  ogl.reset();
  legend.reset();
  if (main) {
    main->openGLWindow = nullptr;
    main->plotWindow = nullptr;
    main->legendWindow = nullptr;
    main->progressWindow = nullptr;
    main->aboutDialog = nullptr;
  }
}

// Creates the windows in order: main, legend, OpenGL, plot, batch progress, About. Creating the
// About window last reads the settings, so every window a setting touches exists by then.
ProgramWindows CreateProgramWindows(const QString& settingsPath, const QString& plotSizeStore) {
  ProgramWindows w;
  w.main = std::make_unique<MainWindow>();
  MainWindow* m = w.main.get();
  w.legend = std::make_unique<LegendWindow>();
  w.legend->SetNotifier(&m->notifier());
  w.legend->SetSource([m] {
    LegendSource s;
    // The legend reads the contour range as the boxes show it, and the stored choices.
    s.MinBox = RangeBoxText(m->state, "MinBox");
    s.MaxBox = RangeBoxText(m->state, "MaxBox");
    s.StepBox = RangeBoxText(m->state, "StepBox");
    s.WhiteBack = m->Options().display.WhiteBack;
    s.colourMap = m->Options().contour.colourMap;
    s.RoundLevels = m->Options().load.RoundLevelsCheck;
    return s;
  });
  m->legendWindow = w.legend.get();
  // The OpenGL window reads the main window's data, options and progress and writes the plot
  // view's boxes back after its keys.
  w.ogl = std::make_unique<OpenGLWindow>(std::make_unique<MainWindowOpenGLHost>(*m));
  m->openGLWindow = w.ogl.get();
  w.view = std::make_unique<PlotWindow>(&m->plotHost());
  m->plotWindow = w.view.get();
  // The kept size comes before the settings, whose plot window size wins.
  if (!plotSizeStore.isEmpty()) w.view->KeepSizeIn(plotSizeStore);
  QObject::connect(w.view->seriesBar, &SeriesBar::FrameChosen, m, [m](int frame) { m->series().FrameChosen(frame); });
  QObject::connect(w.view->seriesBar, &SeriesBar::SameRangeChanged, m, [m](bool) { m->series().RangeChanged(); });
  w.process = std::make_unique<ProgressWindow>();
  m->progressWindow = w.process.get();
  w.about = std::make_unique<AboutDialog>(nullptr, [m, settingsPath] { m->settings().LoadSettings(settingsPath); });
  m->aboutDialog = w.about.get();
  // Every window opens inside the screen (the plot window sees to it itself, since its size is
  // the picture's).
  auto* placement = new ScreenPlacement(m);
  for (QWidget* window : {static_cast<QWidget*>(m), static_cast<QWidget*>(w.legend.get()),
                          static_cast<QWidget*>(w.ogl.get()), static_cast<QWidget*>(w.process.get()),
                          static_cast<QWidget*>(w.about.get())})
    window->installEventFilter(placement);
  return w;
}

}  // namespace corvane
