// Program entry: the desktop program, or a headless sub-command (info, render, legend, analyze).
#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <memory>

#include "app/CommandLine.h"
#include "data/CgnsProcess.h"
#include "scene/DesktopIntegration.h"
#include "ui/GuardedApplication.h"
#include "ui/MainForm.h"
#include "ui/ViewForm.h"

namespace {

// `--open FILE`: the file tab goes to the file's folder, the file is selected, loaded, fitted and drawn.
void OpenAtStart(corvane::TForm1& main, const QString& path) {
  if (!main.SelectFile(path)) {
    main.notifier().Warning("ファイルが見つかりません: " + path.toStdString());
    return;
  }
  if (main.LoadFile(QFileInfo(path).absoluteFilePath())) main.RescaleAndRedraw();
}

// Qt wants a private runtime folder and complains on stderr when the session has none (headless
// runs, CI); give it one so the command line prints only its own messages.
void EnsureRuntimeDir() {
  if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
  const std::string dir = "/tmp/corvane-runtime-" + std::to_string(getuid());
  mkdir(dir.c_str(), 0700);
  struct stat info {};
  if (stat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() && (info.st_mode & 077) == 0)
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir));
}

}  // namespace

int main(int argc, char** argv) {
  if (corvane::IsCgnsReaderProcess(argc, argv)) corvane::RunCgnsReaderProcess(argc, argv);
  EnsureRuntimeDir();
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
  // Qt's own arguments (-platform, -style, ...) are taken out by the application object first.
  corvane::GuardedApplication app(argc, argv);
  corvane::InstallQtJapanese(app);
  QGuiApplication::setDesktopFileName(QStringLiteral("corvane"));  // matches the installed desktop entry
  QString openPath, settingsPath = corvane::SettingsFilePath();
  const QStringList args = QCoreApplication::arguments();
  for (qsizetype i = 1; i < args.size(); ++i) {
    if (args[i] == QStringLiteral("--open")) {
      if (i + 1 >= args.size()) {
        std::fprintf(stderr, "--open の後にファイル名がありません\n");
        return 1;
      }
      openPath = args[++i];
    } else if (args[i] == QStringLiteral("--settings") && i + 1 < args.size()) {
      settingsPath = args[++i];
    } else if (openPath.isEmpty() && !args[i].startsWith(QLatin1Char('-'))) {
      openPath = args[i];  // `corvane FILE`, as a file manager or the desktop entry starts it
    } else {
      std::fprintf(stderr, "不明なオプションです: %s\n", args[i].toLocal8Bit().constData());
      return 1;
    }
  }
  corvane::ProgramWindows windows = corvane::CreateProgramWindows(settingsPath);
  windows.main->show();
  if (!openPath.isEmpty()) OpenAtStart(*windows.main, openPath);
  return app.exec();
}
