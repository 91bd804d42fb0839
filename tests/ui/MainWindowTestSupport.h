// Starts the program's windows for a test, with messages recorded instead of shown.
#pragma once
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "scene/PlotWindowSize.h"
#include "ui/ControlFactory.h"
#include "ui/MainForm.h"
#include "data/Notifier.h"
#include "ui/ViewForm.h"

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

struct StartedProgram {
  QTemporaryDir dir;
  RecordingNotifier messages;
  ProgramWindows windows;

  // Starts with `settings` as the text of crv.ini (no file when empty).
  explicit StartedProgram(const QByteArray& settings = QByteArray()) {
    QString ini = dir.filePath(QStringLiteral("crv.ini"));
    if (!settings.isEmpty()) {
      QFile f(ini);
      f.open(QIODevice::WriteOnly);
      f.write(settings);
    }
    windows = CreateProgramWindows(ini);
    windows.main->SetNotifier(&messages);
  }
  TForm1& main() { return *windows.main; }
  TViewForm& view() { return *windows.view; }
  template <class W>
  W* find(const char* name) {
    return windows.main->findChild<W*>(QString::fromLatin1(name));
  }
};

}  // namespace corvane::testing
