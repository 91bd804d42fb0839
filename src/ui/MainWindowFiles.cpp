// The main window's ways of opening a data file besides the file list: the Open command, the
// recent list and a drop; and the settings file read at start, with what went wrong kept for one
// message once the window is up.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "base/Errors.h"
#include "scene/DesktopIntegration.h"
#include "scene/SettingsFile.h"
#include "ui/FileTabController.h"
#include "ui/MainMenu.h"
#include "ui/MainWindow.h"

namespace corvane {
namespace {

constexpr const char* kStartsOnDefaults = "既定の設定で起動します。";

}  // namespace

bool MainWindow::OpenDataFile(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) throw CorvaneError("ファイルが見つかりません: " + path.toStdString());
  if (!info.isFile()) throw CorvaneError("データファイルではありません (フォルダなど): " + path.toStdString());
  const QString absolute = info.absoluteFilePath();
  // The file list follows the file's folder; a file its mask does not show is opened all the same.
  fileTab_->SelectFile(absolute);
  LoadSeries({});  // a series shown before is left
  if (!LoadFile(absolute)) return false;
  ShowOpenedView();
  return true;
}

bool MainWindow::OpenDataFiles(const QStringList& paths) {
  if (paths.isEmpty()) return false;
  if (paths.size() == 1) return OpenDataFile(paths.front());
  std::vector<std::string> files;
  for (const QString& path : paths) {
    const QFileInfo info(path);
    if (!info.isFile())
      throw CorvaneError((info.exists() ? "データファイルではありません (フォルダなど): " : "ファイルが見つかりません: ") +
                         path.toStdString());
    files.push_back(info.absoluteFilePath().toStdString());
  }
  fileTab_->SelectFile(QString::fromStdString(files.front()));
  LoadedPath.clear();
  LoadSeries(SeriesFrames(files));
  if (LoadedPath.isEmpty()) return false;  // the first frame did not load; its load said why
  ShowOpenedView();
  return true;
}

void MainWindow::RefillRecentMenu() { menu_->RefillRecent(); }

void MainWindow::OpenDroppedFiles(const QStringList& paths) {
  // The drop returns to the program it came from first; the load runs after.
  if (paths.size() == 1)
    QTimer::singleShot(0, this, Guarded([this, path = paths.front()] { OpenDataFile(path); }));
  else if (paths.size() > 1)
    QTimer::singleShot(0, this, Guarded([this, paths] { OpenDataFiles(paths); }));
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!FirstLocalFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

// Several files dropped together are a series, as when they are opened together.
void MainWindow::dropEvent(QDropEvent* event) {
  const QStringList paths = LocalFiles(event->mimeData());
  if (paths.isEmpty()) return;
  event->acceptProposedAction();
  OpenDroppedFiles(paths);
}

// The settings file, applied line by line through the controls so every handler runs. A file
// that is there but cannot be read starts the program on the defaults; a line that cannot be
// applied stops the reading there, what came before it staying applied. Either is kept for one
// message (ShowStartMessages), since the windows are not shown yet.
void MainWindow::LoadSettings(const QString& path) {
  startMessage_.clear();
  const QString file = path.isEmpty() ? SettingsFilePath() : path;
  const QFileInfo info(file);
  if (!info.exists()) return;  // no settings file: the defaults, without a word
  const QString prefix = QStringLiteral("設定ファイル ") + file;
  if (info.isDir()) {
    startMessage_ = prefix + QStringLiteral(" はフォルダです。") + kStartsOnDefaults;
    return;
  }
  if (!info.isFile()) {
    startMessage_ = prefix + QStringLiteral(" は通常のファイルではありません。") + kStartsOnDefaults;
    return;
  }
  if (!info.isReadable()) {
    startMessage_ = prefix + QStringLiteral(" を読めません (読み取りの権限がありません)。") + kStartsOnDefaults;
    return;
  }
  SettingsFileResult r;
  try {
    r = ReadSettingsFile(file.toStdString());
  } catch (const std::exception& e) {
    QString text = QString::fromStdString(e.what());
    if (!text.contains(file)) text = prefix + QStringLiteral(": ") + text;
    startMessage_ = text + QStringLiteral("\n") + kStartsOnDefaults;
    return;
  }
  const QString rest = QStringLiteral("\nこの行から後の設定は読み込まれていません。");
  for (const ControlAssignment& a : r.assignments) {
    try {
      ApplyControlValue(a.control, a.value);
    } catch (const std::exception& e) {
      startMessage_ = QStringLiteral("%1 の %2 行目: 値 \"%3\" を設定できません (%4)")
                          .arg(file)
                          .arg(a.line + 1)
                          .arg(QString::fromStdString(a.value), QString::fromStdString(e.what())) +
                      rest;
      return;
    }
  }
  if (!r.complete) startMessage_ = QString::fromStdString(r.stopReason) + rest;
}

void MainWindow::ShowStartMessages() {
  if (startMessage_.isEmpty()) return;
  const std::string text = startMessage_.toStdString();
  startMessage_.clear();
  notifier_->Warning(text);
}

}  // namespace corvane
