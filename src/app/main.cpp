// Program entry: the desktop program, or a headless sub-command (info, render, legend, analyze).
#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <memory>
#include <utility>
#include <vector>

#include "app/CommandLine.h"
#include "readers/CgnsProcess.h"
#include "base/Errors.h"
#include "scene/DesktopIntegration.h"
#include "ui/GuardedApplication.h"
#include "ui/MainWindow.h"
#include "ui/ProgramWindows.h"
#include "ui/SettingsApplier.h"
#include "ui/PlotSizeStore.h"
#include "ui/PlotWindow.h"

namespace {

// `--open FILE` or the files named: as the Open command does it, the file tab goes to the
// file's folder, and the file (or the series of several) is loaded, fitted and drawn.
void OpenAtStart(corvane::MainWindow& main, const QStringList& paths) {
  main.RunHandler([&] { main.OpenDataFiles(paths); });
}

constexpr const char* kHeadlessCommands =
    "画面なしで使えるコマンド: corvane info / render / legend / analyze (詳しくは corvane --help)";

// Whether a window can be opened at all: an X or Wayland display for the usual platforms. Other
// platforms named by the user (offscreen, vnc, ...) are trusted.
bool DisplayAvailable() {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland")) return true;
  return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

void ReportNoDisplay() {
  std::fprintf(stderr, "corvane: 画面 (ディスプレイ) が見つからないため、ウィンドウを開けません。\n%s\n", kHeadlessCommands);
}

// Qt ends the program with a fatal message when the display named cannot be reached (a stale
// DISPLAY over ssh); that becomes the same plain report and exit status 1 instead of an abort.
QtMessageHandler previousHandler = nullptr;
void MessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg && (text.contains(QStringLiteral("could not connect to display")) ||
                             text.contains(QStringLiteral("no Qt platform plugin could be initialized")))) {
    ReportNoDisplay();
    std::fflush(stderr);
    _exit(1);
  }
  if (previousHandler) previousHandler(type, context, text);
}

}  // namespace

int main(int argc, char** argv) {
  if (corvane::IsCgnsReaderProcess(argc, argv)) corvane::RunCgnsReaderProcess(argc, argv);
  corvane::EnsureRuntimeDir();
  if (corvane::IsSubCommand(argc, argv)) {
    // Headless: fonts and pictures need a GUI application, but never a display.
    if (corvane::SubCommandDraws(argc, argv)) {
      if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
      QGuiApplication app(argc, argv);
      return corvane::RunCommandLine(argc, argv);
    }
    QCoreApplication app(argc, argv);
    return corvane::RunCommandLine(argc, argv);
  }
  // A first word that is neither a command nor a file is a mistyped command, not a file to open.
  if (argc > 1 && argv[1][0] != '-' && !QFileInfo::exists(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "corvane: 不明なコマンドです (同じ名前のファイルもありません): %s\n%s\n", argv[1],
                 kHeadlessCommands);
    return 1;
  }
  bool platformArgument = false;
  for (int i = 1; i < argc; ++i) platformArgument = platformArgument || std::strcmp(argv[i], "-platform") == 0;
  if (!platformArgument && !DisplayAvailable()) {
    ReportNoDisplay();
    return 1;
  }
  previousHandler = qInstallMessageHandler(MessageHandler);
  // Qt's own arguments (-platform, -style, ...) are taken out by the application object first.
  corvane::GuardedApplication app(argc, argv);
  corvane::InstallQtJapanese(app);
  QGuiApplication::setDesktopFileName(QStringLiteral("corvane"));  // matches the installed desktop entry
  QStringList openPaths;
  QString settingsPath = corvane::SettingsFilePath();
  std::vector<std::pair<std::string, std::string>> sets;
  const QStringList args = QCoreApplication::arguments();
  for (qsizetype i = 1; i < args.size(); ++i) {
    if (args[i] == QStringLiteral("--open")) {
      if (i + 1 >= args.size()) {
        std::fprintf(stderr, "--open の後にファイル名がありません\n");
        return 1;
      }
      openPaths << args[++i];
    } else if (args[i] == QStringLiteral("--settings") && i + 1 < args.size()) {
      settingsPath = args[++i];
    } else if (args[i] == QStringLiteral("--set")) {
      const std::string assignment = i + 1 < args.size() ? args[++i].toStdString() : std::string();
      const auto eq = assignment.find('=');
      if (eq == std::string::npos || eq == 0) {
        std::fprintf(stderr, "corvane: --set は NAME=VALUE の形で指定してください: %s\n", assignment.c_str());
        return 1;
      }
      sets.emplace_back(assignment.substr(0, eq), assignment.substr(eq + 1));
    } else if (!args[i].startsWith(QLatin1Char('-'))) {
      openPaths << args[i];  // `corvane FILE...`, as a file manager or the desktop entry starts it
    } else {
      std::fprintf(stderr, "不明なオプションです: %s\n", args[i].toLocal8Bit().constData());
      return 1;
    }
  }
  // The plot window's size is kept between runs in the user's configuration folder.
  corvane::ProgramWindows windows = corvane::CreateProgramWindows(settingsPath, corvane::DefaultPlotSizeStore());
  // `--set` comes after the settings file, through the controls, as the commands take it.
  for (const auto& [name, value] : sets) {
    try {
      if (!windows.main->settings().ApplyControlValue(name, value)) throw corvane::CorvaneError("不明な設定項目です: " + name);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "corvane: --set %s=%s: %s\n", name.c_str(), value.c_str(), e.what());
      return 1;
    }
  }
  windows.main->show();
  // A settings file that could not be read is said once the window stands.
  QTimer::singleShot(0, windows.main.get(), [&windows] {
    windows.main->RunHandler([&windows] { windows.main->settings().ShowStartMessages(); });
  });
  if (!openPaths.isEmpty()) OpenAtStart(*windows.main, openPaths);
  return app.exec();
}
