// Program entry: the desktop program, or a headless sub-command (info, render, legend, analyze).
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <memory>

#include "app/CommandLine.h"

int main(int argc, char** argv) {
  if (corvane::IsSubCommand(argc, argv)) {
    // Headless: fonts and pictures need a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return corvane::RunCommandLine(argc, argv);
  }
  QApplication app(argc, argv);
  QLabel placeholder(QStringLiteral("二次元可視化"));
  placeholder.show();
  return app.exec();
}
