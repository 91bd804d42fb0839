// The main window's menu bar: its items (object names are the names the driver of the program
// knows them by), the commands they start and the list of recently opened files.
#pragma once
#include <QAction>
#include <QMenu>

namespace corvane {

class MainWindow;

class MainMenu {
 public:
  // Builds the menus on `window`'s menu bar.
  explicit MainMenu(MainWindow& window);
  // The commands of the items; once the window's tabs exist.
  void Connect();
  // The recent menu lists the window's recent files newest first, numbered for the keyboard.
  void RefillRecent();

 private:
  // A file of the recent list; one that has gone away is said so and leaves the list.
  void RecentFileClick(const QString& path);

  MainWindow& window_;
  QAction *open_, *reload_, *save_, *exit_, *rescale_, *redraw_, *abort_, *zoomBack_, *zoomForward_, *fit_;
  QAction* tabs_[8];
  QAction *help_, *version_;
  QMenu* recent_;
};

}  // namespace corvane
