// Starts the program's windows for a test, with messages recorded instead of shown.
#pragma once
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

#include "TestSupport.h"
#include "scene/PlotWindowSize.h"
#include "ui/ColourSwatchWidget.h"
#include "ui/ControlFactory.h"
#include "ui/FileTabController.h"
#include "ui/MainWindow.h"
#include "base/Notifier.h"
#include "ui/PlotWindow.h"
#include "ui/PlotWindowHost.h"
#include "ui/ProgramWindows.h"
#include "ui/RadioGroupWidget.h"
#include "ui/SeriesControl.h"
#include "ui/SettingsApplier.h"
#include "ui/ViewDrawing.h"
#include "ui/WorkFeedback.h"

namespace corvane::testing {

// Key press and release as a user's typing delivers them.
inline void KeyClick(QWidget* w, int key, const QString& text = QString(), Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, mods, text);
  QCoreApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, mods, text);
  QCoreApplication::sendEvent(w, &release);
}
inline void KeyClicks(QWidget* w, const QString& text) {
  for (QChar c : text) KeyClick(w, c.toUpper().unicode(), QString(c));
}
inline void MouseEvent(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint at,
                       Qt::MouseButtons held = Qt::NoButton) {
  QPointF local(at);
  QMouseEvent e(type, local, w->mapToGlobal(local), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}
inline void MouseClick(QWidget* w, Qt::MouseButton button, QPoint at = QPoint(2, 2)) {
  MouseEvent(w, QEvent::MouseButtonPress, button, at, button);
  MouseEvent(w, QEvent::MouseButtonRelease, button, at);
}

// `paths` dragged onto `target` and dropped, as a file manager does.
inline void SendDrop(QWidget* target, const QStringList& paths) {
  QMimeData mime;
  QList<QUrl> urls;
  for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
  mime.setUrls(urls);
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
  QCoreApplication::processEvents();
}

// A 4 x 3 zone of the text format at x = i, y = j with P = t (i + j), its solution time given
// when `withTime`; VARIABLES = X Y P goes before it.
inline std::string SeriesZone(double t, bool withTime = false) {
  std::string text = "ZONE I=4 J=3" + (withTime ? " SOLUTIONTIME=" + std::to_string(t) : std::string()) + "\n";
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 4; ++i) text += std::to_string(i) + " " + std::to_string(j) + " " + std::to_string(t * (i + j)) + "\n";
  return text;
}

// A control of `window` by its control name, as users and settings files know it; the tabs keep
// their widgets to themselves. A missing control fails the test.
template <class W>
W* Control(const QWidget& window, const char* name) {
  W* w = window.findChild<W*>(QString::fromLatin1(name));
  if (!w) throw std::runtime_error(std::string("no control named ") + name);
  return w;
}

struct StartedProgram {
  QTemporaryDir dir;
  RecordingNotifier messages;
  ProgramWindows windows;

  // Starts with `settings` as the text of crv.ini (no file when empty).
  explicit StartedProgram(const QByteArray& settings = QByteArray()) {
    QString ini = dir.filePath(QStringLiteral("crv.ini"));
    if (!settings.isEmpty()) WriteFile(ini, settings);
    windows = CreateProgramWindows(ini);
    windows.main->SetNotifier(&messages);
  }
  MainWindow& main() { return *windows.main; }
  PlotWindow& view() { return *windows.view; }
  template <class W>
  W* find(const char* name) { return windows.main->findChild<W*>(QString::fromLatin1(name)); }
};

// Runs the event loop until the drawing a zoom started on the worker is shown.
inline void WaitForViewDrawing(MainWindow& m) {
  while (m.viewDrawing().Running()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  QCoreApplication::processEvents();  // the handlers held back meanwhile
}

inline QString TestFile(const char* name) { return QStringLiteral(CORVANE_TEST_DATA "/") + QString::fromLatin1(name); }

// A program whose plot window shows a 520 x 320 picture.
struct SizedProgram : StartedProgram {
  SizedProgram() { view().SetOuterSize(520 + kPlotFrameWidth, 320 + kPlotFrameHeight + kPlotStatusBarHeight); }
};

// ... with three_zones.dat loaded through the file tab: zone 0 has 3 x 3 nodes at x = i, y = j,
// zone 1 has 2 x 3 nodes, zone 2 has 2 x 2.
struct LoadedProgram : SizedProgram {
  LoadedProgram() {
    EXPECT_TRUE(main().fileTab().SelectFile(TestFile("three_zones.dat")));
    Control<QPushButton>(main(), "Button1")->click();
  }
};

// A test with its own started program `p` of kind P and its main window `m`.
template <class P>
struct ProgramTest : ::testing::Test {
  P p;
  MainWindow& m = p.main();
};

}  // namespace corvane::testing
