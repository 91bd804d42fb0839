// The ファイル tab: the folder and file lists, loading the chosen file and taking the result.
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include "data/DataFileLoader.h"
#include "data/Errors.h"
#include "scene/SceneLoad.h"
#include "ui/AnalysisTabController.h"
#include "ui/ControlFactory.h"
#include "ui/DisplayTabController.h"
#include "ui/MainWindow.h"
#include "ui/StreamTabController.h"

namespace corvane {

void MainWindow::BuildFileTab() {
  FileTab = Named(new QWidget, "FileTab");
  {
    auto* v = new QVBoxLayout(FileTab);
    auto* h = new QHBoxLayout;
    h->addWidget(MakeLabel(FileTab, "Label9", QStringLiteral("ディレクトリの直接指定")));
    h->addWidget(MakeLabel(FileTab, "Label7", QStringLiteral("(ネットワーク可能)")));
    h->addStretch();
    v->addLayout(h);
    PCNameBox = MakeEdit(FileTab, "PCNameBox", QString());
    PCNameBox->setPlaceholderText(QStringLiteral("例: /mnt/サーバー名/共有名"));
    SetBlue(PCNameBox, true);
    v->addWidget(PCNameBox);
    auto* lists = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    driveBox = MakeCombo(FileTab, "DriveComboBox1");
    folderList = Named(new QListWidget(FileTab), "DirectoryListBox1");
    left->addWidget(driveBox);
    left->addWidget(folderList, 1);
    lists->addLayout(left, 1);
    fileList = Named(new QListWidget(FileTab), "FileListBox1");
    fileList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    fileList->setContextMenuPolicy(Qt::CustomContextMenu);
    fileList->setProperty("mask", QString::fromLatin1(kDataFileMask));
    lists->addWidget(fileList, 1);
    v->addLayout(lists, 1);
  }
  tabPages->addTab(FileTab, QStringLiteral("ファイル"));
}

void MainWindow::ConnectFileTab() {
  connect(PCNameBox, &QLineEdit::textEdited, this, Guarded(&MainWindow::PCNameBoxChange));
  connect(PCNameBox, &QLineEdit::returnPressed, this, Guarded([this] { PCNameBoxKeyDown(Qt::Key_Return); }));
  connect(driveBox, &QComboBox::activated, this, Guarded(&MainWindow::driveChanged));
  connect(folderList, &QListWidget::itemActivated, this, Guarded(&MainWindow::folderChosen));
  connect(fileList, &QListWidget::itemDoubleClicked, this, Guarded(&MainWindow::fileDoubleClicked));
  connect(fileList, &QWidget::customContextMenuRequested, this,
          Guarded([this](const QPoint& p) { fileListMenu->popup(fileList->viewport()->mapToGlobal(p)); }));
  connect(applyLayoutButton, &QPushButton::clicked, this, Guarded(&MainWindow::applyLayoutAndLoad));
}

// Moves the drive, folder and file lists to `folder`; a folder that does not exist is an error.
void MainWindow::SetFolder(const QString& folder) {
  QFileInfo info(folder);
  if (!info.exists() || !info.isDir()) throw CorvaneError("フォルダが見つかりません: " + folder.toStdString());
  currentFolder_ = QDir(info.absoluteFilePath()).canonicalPath();
  // Drive list: the mounted file systems; the one holding the folder is current.
  driveBox->blockSignals(true);
  driveBox->clear();
  int best = -1, bestLength = -1;
  for (const QStorageInfo& s : QStorageInfo::mountedVolumes()) {
    if (!s.isValid()) continue;
    QString root = s.rootPath();
    driveBox->addItem(root, root);
    bool holds = currentFolder_ == root || currentFolder_.startsWith(root.endsWith('/') ? root : root + '/');
    if (holds && root.length() > bestLength) {
      best = driveBox->count() - 1;
      bestLength = static_cast<int>(root.length());
    }
  }
  driveBox->setCurrentIndex(best);
  driveBox->blockSignals(false);
  RefillFolderList();
  RefillFileList();
}

// The folder list: the path from the root down to the current folder, then its sub-folders.
void MainWindow::RefillFolderList() {
  folderList->clear();
  QDir dir(currentFolder_);
  QStringList chain;
  for (QDir d = dir;; ) {
    chain.prepend(d.absolutePath());
    if (d.isRoot() || !d.cdUp()) break;
  }
  int depth = 0;
  for (const QString& p : chain) {
    QString shown = depth == 0 ? p : QFileInfo(p).fileName();
    auto* item = new QListWidgetItem(QString(depth, ' ') + shown, folderList);
    item->setData(Qt::UserRole, p);
    ++depth;
  }
  folderList->setCurrentRow(static_cast<int>(chain.size()) - 1);
  for (const QFileInfo& sub : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
    auto* item = new QListWidgetItem(QString(depth, ' ') + sub.fileName(), folderList);
    item->setData(Qt::UserRole, sub.absoluteFilePath());
  }
}

void MainWindow::RefillFileList() {
  fileList->clear();
  QDir dir(currentFolder_);
  const QStringList masks = fileList->property("mask").toString().split(';');
  for (const QFileInfo& f : dir.entryInfoList(masks, QDir::Files, QDir::Name | QDir::IgnoreCase)) {
    auto* item = new QListWidgetItem(f.fileName(), fileList);
    item->setData(Qt::UserRole, f.absoluteFilePath());
  }
}

// Selects `path` in the file list after moving the lists to its folder.
bool MainWindow::SelectFile(const QString& path) {
  QFileInfo info(path);
  if (!info.exists()) return false;
  SetFolder(info.absolutePath());
  QString name = info.fileName();
  for (int k = 0; k < fileList->count(); ++k) {
    if (fileList->item(k)->text() == name) {
      fileList->clearSelection();
      fileList->setCurrentRow(k);
      fileList->item(k)->setSelected(true);
      return true;
    }
  }
  return false;
}

void MainWindow::PCNameBoxChange() { SetBlue(PCNameBox, true); }

void MainWindow::PCNameBoxKeyDown(int key) {
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return;
  try {
    SetFolder(PCNameBox->text().trimmed());
  } catch (const CorvaneError& e) {
    notifier_->Warning(e.what());
    return;
  }
  SetBlue(PCNameBox, false);
}

void MainWindow::driveChanged() {
  QString root = driveBox->currentData().toString();
  if (root.isEmpty()) return;
  try {
    SetFolder(root);
  } catch (const CorvaneError& e) {
    notifier_->Warning(e.what());
  }
}

void MainWindow::folderChosen() {
  QListWidgetItem* item = folderList->currentItem();
  if (!item) return;
  try {
    SetFolder(item->data(Qt::UserRole).toString());
  } catch (const CorvaneError& e) {
    notifier_->Warning(e.what());
  }
}

void MainWindow::fileDoubleClicked() { LoadSelectedFile(); }

void MainWindow::applyLayoutAndLoad() { LoadSelectedFile(); }

void MainWindow::reloadSelectedFile() { LoadSelectedFile(); }

// Loads the list's current file, or asks for one.
void MainWindow::LoadSelectedFile() {
  if (fileList->selectedItems().isEmpty()) {
    notifier_->Warning("ファイルが選択されていません");
    if (!isVisible()) show();
    tabPages->setCurrentWidget(FileTab);
    fileList->setFocus();
    return;
  }
  QListWidgetItem* item = fileList->currentItem();
  if (!item || !item->isSelected()) item = fileList->selectedItems().first();
  // Several selected files, or one file of several solution times, make a time series.
  std::vector<std::string> selected;
  for (int row = 0; row < fileList->count(); ++row)
    if (fileList->item(row)->isSelected()) selected.push_back(fileList->item(row)->data(Qt::UserRole).toString().toStdString());
  if (selected.size() == 1) selected = {item->data(Qt::UserRole).toString().toStdString()};
  std::vector<SeriesFrame> frames;
  bool refused = false;
  RunHandler([&] {
    try {
      frames = SeriesFrames(selected);
    } catch (const CorvaneError&) {
      refused = selected.size() > 1;
      if (refused) throw;  // one file's own load below says what is wrong with it
    }
  });
  if (refused) return;
  if (frames.size() > 1) {
    LoadSeries(std::move(frames));
    return;
  }
  LoadSeries({});
  LoadFile(item->data(Qt::UserRole).toString());
}

// Reads `path` into a new data set and replaces the shown one only when the load completes.
bool MainWindow::LoadFile(const QString& path) {
  bool replaced = false;
  RunCommand([&] { replaced = LoadFileCore(path); });
  // Files the user opened are remembered; the batch's many loads are not.
  if (replaced) {
    recentFiles.Add(path);
    RefillRecentMenu();
  }
  return replaced;
}

bool MainWindow::LoadFileCore(const QString& path) {
  RequireLoadNumbers(state);
  ProgramOptions options = scene.options;
  // Every load preselects the velocity, temperature and pressure columns afresh.
  options.load.xvecbox = options.load.yvecbox = options.load.tmpbox = options.load.prsBox = -1;
  progress_->SetPosition(0);
  // The abort command stops this load only: a flag left from earlier is cleared before, and the
  // flag is cleared again however the load ends.
  struct ClearAbort {
    bool& flag;
    ~ClearAbort() { flag = false; }
  } clearAbort{AbortRequested};
  AbortRequested = false;
  const QString name = QFileInfo(path).fileName();
  // However the load ends, the status bar says how, and the gauge is not left half way.
  struct Unfinished {
    MainWindow* form;
    QString name;
    bool done = false;
    ~Unfinished() {
      if (!done) form->FinishWork(QStringLiteral("読み込みできませんでした: ") + name, false);
    }
  } unfinished{this, name};
  // The new data set is built on the worker beside the shown one, which it only reads; it
  // replaces the shown one here, on this thread, once complete.
  std::optional<LoadResult> result;
  const int zoneListCount = displayTab_->ZoneListCount();
  const FieldView previousView = scene.fieldView;
  RunWork([&](Progress& progress, Notifier& notifier) {
    result = LoadAnyDataFile(path.toStdString(), options.load, previousView, zoneListCount, notifier, progress);
  });
  if (!result) {
    unfinished.done = true;
    FinishWork(AbortRequested ? QStringLiteral("中断しました") : QStringLiteral("読み込みできませんでした: ") + name, false);
    return false;
  }
  LoadedPath = path;
  ApplyLoadResult(*result);
  unfinished.done = true;
  FinishWork(QStringLiteral("読み込み完了: %1 (%2 点)").arg(name).arg(data_.NodeCount), true);
  return true;
}

// Takes a completed load: the data set, the variable list, the selectors and the zone lists.
void MainWindow::ApplyLoadResult(LoadResult& result) {
  int remembered = RGroup->ItemIndex();
  // New zone count: every zone's edge flags start from the four check boxes.
  const bool newZoneList = result.zoneListsRebuilt || displayTab_->ZoneListCount() != result.data.ZoneCount;
  ApplyLoadToScene(scene, result, newZoneList);
  QStringList items;
  for (const std::string& s : result.rgroupItems) items << Q(s);
  RGroup->SetItems(items);
  GrowToContents();
  QComboBox* selectors[4] = {xvecbox, yvecbox, tmpbox, prsBox};
  const int preselected[4] = {result.xvecIndex, result.yvecIndex, result.tmpIndex, result.prsIndex};
  for (int k = 0; k < 4; ++k) {
    selectors[k]->clear();
    for (const std::string& s : result.selectorItems) selectors[k]->addItem(Q(s));
    selectors[k]->setCurrentIndex(std::min(preselected[k], selectors[k]->count() - 1));
  }
  if (newZoneList) {
    displayTab_->RefillZoneList(data_.ZoneCount);
    streamTab_->RefillZoneList(data_.ZoneCount);
  }
  analysisTab_->ZonesLoaded(data_.ZoneCount, newZoneList);
  if (RGroup->Count() > remembered && remembered >= 0) RGroup->SetItemIndex(remembered);
  if (RGroup->ItemIndex() < 0) RGroup->SetItemIndex(0);
  // Lists refilled with their signals blocked store their new choice here.
  for (QWidget* w : std::initializer_list<QWidget*>{RGroup, xvecbox, yvecbox, tmpbox, prsBox})
    StoreControl(w);
  RefreshVariableItems(-1);
  activateWindow();
}

}  // namespace corvane
