// The ファイル tab: a folder typed in, the drive, folder and file lists, and the file list's
// right-click menu. Its controls are its own; the main window's load commands ask it which files
// are chosen and tell it where to go.
#pragma once
#include <QObject>
#include <QString>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QListWidget;
class QMenu;
class QTabWidget;
class QWidget;

namespace corvane {

class MainWindow;

class FileTabController : public QObject {
  Q_OBJECT

 public:
  // Builds the tab's page into `tabs`; `window` owns the program state and the error boundary.
  FileTabController(MainWindow& window, QTabWidget& tabs);
  // Connects the tab's handlers.
  void ConnectHandlers();
  QWidget* page() const { return page_; }

  // Moves the drive, folder and file lists to `folder`; a folder that does not exist is an error.
  void SetFolder(const QString& folder);
  // The folder of `path`, then the file selected in the list; false when the list does not show it.
  bool SelectFile(const QString& path);
  QString CurrentFolder() const { return currentFolder_; }
  // The selected files in list order.
  QStringList SelectedPaths() const;
  // The file the user means: the current one when it is selected, else the first selected one;
  // empty when none is selected.
  QString ChosenPath() const;
  // Brings the tab to the front with the file list focused, to have a file chosen.
  void AskForFile();

 private:
  void Build(QTabWidget& tabs);
  void BuildMenu();
  void RefillFolderList();
  void RefillFileList();
  void TypedFolderEntered();
  void DriveChosen();
  void FolderChosen();

  MainWindow& window_;
  QWidget* page_ = nullptr;
  QLineEdit* typedFolderBox_ = nullptr;
  QComboBox* driveBox_ = nullptr;
  QListWidget *folderList_ = nullptr, *fileList_ = nullptr;
  QMenu* fileListMenu_ = nullptr;
  QString currentFolder_;
};

}  // namespace corvane
