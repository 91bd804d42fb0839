#include "ui/FileTabController.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QStorageInfo>
#include <QTabWidget>
#include <QVBoxLayout>

#include "readers/DataFileLoader.h"
#include "readers/DataFormats.h"
#include "base/Errors.h"
#include "ui/ControlFactory.h"
#include "ui/MainWindow.h"

namespace corvane {

FileTabController::FileTabController(MainWindow& window, QTabWidget& tabs) : QObject(&window), window_(window) {
  Build(tabs);
  BuildMenu();
}

// The page and its controls, each with its control name.
void FileTabController::Build(QTabWidget& tabs) {
  page_ = Named(new QWidget, "FileTab");
  auto* v = new QVBoxLayout(page_);
  auto* h = new QHBoxLayout;
  h->addWidget(MakeLabel(page_, "Label9", QStringLiteral("ディレクトリの直接指定")));
  h->addWidget(MakeLabel(page_, "Label7", QStringLiteral("(ネットワーク可能)")));
  h->addStretch();
  v->addLayout(h);
  typedFolderBox_ = MakeEdit(page_, "PCNameBox", QString());
  typedFolderBox_->setPlaceholderText(QStringLiteral("例: /mnt/サーバー名/共有名"));
  SetPendingEdit(typedFolderBox_, true);
  v->addWidget(typedFolderBox_);
  auto* lists = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  driveBox_ = MakeCombo(page_, "DriveComboBox1");
  folderList_ = Named(new QListWidget(page_), "DirectoryListBox1");
  left->addWidget(driveBox_);
  left->addWidget(folderList_, 1);
  lists->addLayout(left, 1);
  fileList_ = Named(new QListWidget(page_), "FileListBox1");
  fileList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  fileList_->setContextMenuPolicy(Qt::CustomContextMenu);
  fileList_->setProperty("mask", QString::fromStdString(DataFileMask()));
  lists->addWidget(fileList_, 1);
  v->addLayout(lists, 1);
  tabs.addTab(page_, QStringLiteral("ファイル"));
}

// The file list's right-click menu; the window owns it as it owns its other menus.
void FileTabController::BuildMenu() {
  fileListMenu_ = Named(new QMenu(&window_), "PopupMenu1");
  fileListMenu_->addAction(QStringLiteral("読み込む"))->setObjectName(QStringLiteral("N1"));
  fileListMenu_->addAction(QStringLiteral("選択した全てを読み込み→描画→保存(BMP)"))->setObjectName(QStringLiteral("BMP1"));
}

void FileTabController::ConnectHandlers() {
  connect(typedFolderBox_, &QLineEdit::textEdited, this,
          window_.Guarded([this] { SetPendingEdit(typedFolderBox_, true); }));
  connect(typedFolderBox_, &QLineEdit::returnPressed, this, window_.Guarded([this] { TypedFolderEntered(); }));
  connect(driveBox_, &QComboBox::activated, this, window_.Guarded([this] { DriveChosen(); }));
  connect(folderList_, &QListWidget::itemActivated, this, window_.Guarded([this] { FolderChosen(); }));
  connect(fileList_, &QListWidget::itemDoubleClicked, this, window_.Guarded([this] { window_.LoadSelectedFile(); }));
  connect(fileList_, &QWidget::customContextMenuRequested, this, window_.Guarded([this](const QPoint& p) {
    fileListMenu_->popup(fileList_->viewport()->mapToGlobal(p));
  }));
  const QList<QAction*> items = fileListMenu_->actions();
  connect(items[0], &QAction::triggered, this, window_.Guarded([this] { window_.LoadSelectedFile(); }));
  connect(items[1], &QAction::triggered, this, window_.Guarded([this] { window_.batchLoadDrawSave(); }));
}

void FileTabController::SetFolder(const QString& folder) {
  QFileInfo info(folder);
  if (!info.exists() || !info.isDir()) throw CorvaneError("フォルダが見つかりません: " + folder.toStdString());
  currentFolder_ = QDir(info.absoluteFilePath()).canonicalPath();
  // Drive list: the mounted file systems; the one holding the folder is current.
  driveBox_->blockSignals(true);
  driveBox_->clear();
  int best = -1, bestLength = -1;
  for (const QStorageInfo& s : QStorageInfo::mountedVolumes()) {
    if (!s.isValid()) continue;
    QString root = s.rootPath();
    driveBox_->addItem(root, root);
    bool holds = currentFolder_ == root || currentFolder_.startsWith(root.endsWith('/') ? root : root + '/');
    if (holds && root.length() > bestLength) {
      best = driveBox_->count() - 1;
      bestLength = static_cast<int>(root.length());
    }
  }
  driveBox_->setCurrentIndex(best);
  driveBox_->blockSignals(false);
  RefillFolderList();
  RefillFileList();
}

// The folder list: the path from the root down to the current folder, then its sub-folders.
void FileTabController::RefillFolderList() {
  folderList_->clear();
  QDir dir(currentFolder_);
  QStringList chain;
  for (QDir d = dir;;) {
    chain.prepend(d.absolutePath());
    if (d.isRoot() || !d.cdUp()) break;
  }
  int depth = 0;
  for (const QString& p : chain) {
    QString shown = depth == 0 ? p : QFileInfo(p).fileName();
    auto* item = new QListWidgetItem(QString(depth, ' ') + shown, folderList_);
    item->setData(Qt::UserRole, p);
    ++depth;
  }
  folderList_->setCurrentRow(static_cast<int>(chain.size()) - 1);
  for (const QFileInfo& sub : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
    auto* item = new QListWidgetItem(QString(depth, ' ') + sub.fileName(), folderList_);
    item->setData(Qt::UserRole, sub.absoluteFilePath());
  }
}

void FileTabController::RefillFileList() {
  fileList_->clear();
  QDir dir(currentFolder_);
  const QStringList masks = fileList_->property("mask").toString().split(';');
  for (const QFileInfo& f : dir.entryInfoList(masks, QDir::Files, QDir::Name | QDir::IgnoreCase)) {
    auto* item = new QListWidgetItem(f.fileName(), fileList_);
    item->setData(Qt::UserRole, f.absoluteFilePath());
  }
}

bool FileTabController::SelectFile(const QString& path) {
  QFileInfo info(path);
  if (!info.exists()) return false;
  SetFolder(info.absolutePath());
  QString name = info.fileName();
  for (int k = 0; k < fileList_->count(); ++k) {
    if (fileList_->item(k)->text() == name) {
      fileList_->clearSelection();
      fileList_->setCurrentRow(k);
      fileList_->item(k)->setSelected(true);
      return true;
    }
  }
  return false;
}

QStringList FileTabController::SelectedPaths() const {
  QStringList paths;
  for (int row = 0; row < fileList_->count(); ++row)
    if (fileList_->item(row)->isSelected()) paths << fileList_->item(row)->data(Qt::UserRole).toString();
  return paths;
}

QString FileTabController::ChosenPath() const {
  if (fileList_->selectedItems().isEmpty()) return QString();
  QListWidgetItem* item = fileList_->currentItem();
  if (!item || !item->isSelected()) item = fileList_->selectedItems().first();
  return item->data(Qt::UserRole).toString();
}

void FileTabController::AskForFile() {
  if (!window_.isVisible()) window_.show();
  window_.findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentWidget(page_);
  fileList_->setFocus();
}

// Enter in the typed folder box goes there; a folder that is not there keeps the box blue.
void FileTabController::TypedFolderEntered() {
  try {
    SetFolder(typedFolderBox_->text().trimmed());
  } catch (const CorvaneError& e) {
    window_.notifier().Warning(e.what());
    return;
  }
  SetPendingEdit(typedFolderBox_, false);
}

void FileTabController::DriveChosen() {
  QString root = driveBox_->currentData().toString();
  if (root.isEmpty()) return;
  try {
    SetFolder(root);
  } catch (const CorvaneError& e) {
    window_.notifier().Warning(e.what());
  }
}

void FileTabController::FolderChosen() {
  QListWidgetItem* item = folderList_->currentItem();
  if (!item) return;
  try {
    SetFolder(item->data(Qt::UserRole).toString());
  } catch (const CorvaneError& e) {
    window_.notifier().Warning(e.what());
  }
}

}  // namespace corvane
