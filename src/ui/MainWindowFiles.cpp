// The main window's ways of opening a data file besides the file list: the Open command, the
// recent list and a drop.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "base/Errors.h"
#include "scene/DesktopIntegration.h"
#include "ui/FileTabController.h"
#include "ui/MainMenu.h"
#include "ui/MainWindow.h"
#include "ui/SeriesControl.h"

namespace corvane {
bool MainWindow::OpenDataFile(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) throw CorvaneError("ファイルが見つかりません: " + path.toStdString());
  if (!info.isFile()) throw CorvaneError("データファイルではありません (フォルダなど): " + path.toStdString());
  const QString absolute = info.absoluteFilePath();
  // The file list follows the file's folder; a file its mask does not show is opened all the same.
  tabs_.file->SelectFile(absolute);
  series_->Load({});  // a series shown before is left
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
  tabs_.file->SelectFile(QString::fromStdString(files.front()));
  LoadedPath.clear();
  series_->Load(SeriesFrames(files));
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

}  // namespace corvane
