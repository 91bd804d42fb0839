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
  QString openPath;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--open") == 0) {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "--open の後にファイル名がありません\n");
        return 1;
      }
      openPath = QString::fromLocal8Bit(argv[++i]);
    } else {
      std::fprintf(stderr, "不明なオプションです: %s\n", argv[i]);
      return 1;
    }
  }
  QApplication app(argc, argv);
  corvane::ProgramWindows windows = corvane::CreateProgramWindows();
  windows.main->show();
  if (!openPath.isEmpty()) OpenAtStart(*windows.main, openPath);
  return app.exec();
}
