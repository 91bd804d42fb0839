// Program entry: the desktop program, or a headless sub-command (info, render, legend, analyze).
#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/CommandLine.h"
#include "app/MainForm.h"
#include "render/ViewForm.h"

namespace {

// `--open FILE`: the file tab goes to the file's folder, the file is selected, loaded, fitted and drawn.
void OpenAtStart(corvane::TForm1& main, const QString& path) {
  if (!main.SelectFile(path)) {
    main.notifier().Warning("ファイルが見つかりません: " + path.toStdString());
    return;
  }
  if (main.LoadFile(QFileInfo(path).absoluteFilePath())) main.RescaleAndRedraw();
}

}  // namespace

int main(int argc, char** argv) {
  if (corvane::IsSubCommand(argc, argv)) {
    // Headless: fonts and pictures need a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return corvane::RunCommandLine(argc, argv);
  }
  // Qt's own arguments (-platform, -style, ...) are taken out by the application object first.
  QApplication app(argc, argv);
  QString openPath;
  const QStringList args = QCoreApplication::arguments();
  for (qsizetype i = 1; i < args.size(); ++i) {
    if (args[i] == QStringLiteral("--open")) {
      if (i + 1 >= args.size()) {
        std::fprintf(stderr, "--open の後にファイル名がありません\n");
        return 1;
      }
      openPath = args[++i];
    } else {
      std::fprintf(stderr, "不明なオプションです: %s\n", args[i].toLocal8Bit().constData());
      return 1;
    }
  }
  corvane::ProgramWindows windows = corvane::CreateProgramWindows();
  windows.main->show();
  if (!openPath.isEmpty()) OpenAtStart(*windows.main, openPath);
  return app.exec();
}
