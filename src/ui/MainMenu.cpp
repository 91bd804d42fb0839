// The main window's menu bar: the items, their commands and the recent files list.
#include "ui/MainMenu.h"

#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <type_traits>

#include "ui/AboutDialog.h"
#include "ui/ControlFactory.h"
#include "ui/LegendWindow.h"
#include "ui/MainWindow.h"
#include "ui/OpenGLWindow.h"
#include "ui/PlotWindow.h"
#include "ui/PlotWindowHost.h"
#include "ui/ProgressWindow.h"

namespace corvane {

MainMenu::MainMenu(MainWindow& window) : window_(window) {
  QMenuBar* bar = window.menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));
  auto item = [](QMenu* menu, const char* name, const QString& text, const QKeySequence& key = {}) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty()) {
      a->setShortcut(key);
      // Drawing and saving are asked for from the plot window as often as from here.
      a->setShortcutContext(Qt::ApplicationShortcut);
    }
    return a;
  };
  QMenu* file = Named(bar->addMenu(QStringLiteral("ファイル(&F)")), "Menu_File");
  open_ = item(file, "Menu_Open", QStringLiteral("開く(&O)…"), QKeySequence(Qt::CTRL | Qt::Key_O));
  recent_ = Named(file->addMenu(QStringLiteral("最近使ったファイル")), "Menu_Recent");
  // The driver of the program finds the list as a menu or as the item that opens it.
  recent_->menuAction()->setObjectName(QStringLiteral("Menu_Recent"));
  file->addSeparator();
  reload_ = item(file, "Menu_Reload", QStringLiteral("再読み込み(&R)"));
  save_ = item(file, "Menu_Save", QStringLiteral("画像の保存(&S)"), QKeySequence(Qt::CTRL | Qt::Key_S));
  file->addSeparator()->setObjectName(QStringLiteral("N2"));
  exit_ = item(file, "Menu_Exit", QStringLiteral("終了(&X)"));
  QMenu* action = Named(bar->addMenu(QStringLiteral("描画処理(&D)")), "Menu_Action");
  rescale_ = item(action, "Menu_Rescale", QStringLiteral("リスケール＆再描画(&R)"), QKeySequence(Qt::CTRL | Qt::Key_R));
  redraw_ = item(action, "Menu_Redraw", QStringLiteral("再描画(&D)"), QKeySequence(Qt::CTRL | Qt::Key_D));
  abort_ = item(action, "A1", QStringLiteral("処理の中断(&A)"));
  action->addSeparator();
  zoomBack_ = item(action, "Menu_ZoomBack", QStringLiteral("前の表示に戻る"), QKeySequence(Qt::Key_Backspace));
  zoomBack_->setShortcuts({QKeySequence(Qt::Key_Backspace), QKeySequence(Qt::ALT | Qt::Key_Left)});
  zoomForward_ = item(action, "Menu_ZoomForward", QStringLiteral("次の表示に進む"), QKeySequence(Qt::ALT | Qt::Key_Right));
  zoomForward_->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_Right), QKeySequence(Qt::SHIFT | Qt::Key_Backspace)});
  fit_ = item(action, "Menu_Fit", QStringLiteral("全体を表示"), QKeySequence(Qt::Key_Home));
  QMenu* other = Named(bar->addMenu(QStringLiteral("詳細設定・オプション(&S)")), "Menu_Sonota");
  tabs_[0] = item(other, "Menu_FileSel", QStringLiteral("ファイル選択(&F)"));
  tabs_[1] = item(other, "Menu_ContourSet", QStringLiteral("等高線設定(&C)"));
  tabs_[2] = item(other, "Menu_DataSet", QStringLiteral("データ構造設定(&S)"));
  tabs_[3] = item(other, "Menu_ColorSet", QStringLiteral("カラープロファイル設定(&P)"));
  tabs_[4] = item(other, "Menu_AxisSet", QStringLiteral("XY軸設定(&A)"));
  tabs_[5] = item(other, "Menu_VOption", QStringLiteral("表示オプション(&V)"));
  tabs_[6] = item(other, "Menu_Analyze", QStringLiteral("データ解析(&D)"));
  tabs_[7] = item(other, "Menu_Streamline", QStringLiteral("流線の設定(&S)"));
  QMenu* help = Named(bar->addMenu(QStringLiteral("ヘルプ(&H)")), "Menu_Help");
  help_ = item(help, "Help1", QStringLiteral("ヘルプ(&H)"));
  version_ = item(help, "Menu_Version", QStringLiteral("バージョン情報(&V)"));
}

void MainMenu::Connect() {
  MainWindow& w = window_;
  auto on = [&w](QAction* a, auto handler) {
    if constexpr (std::is_member_function_pointer_v<decltype(handler)>)
      QObject::connect(a, &QAction::triggered, &w, w.Guarded([&w, handler] { (w.*handler)(); }));
    else
      QObject::connect(a, &QAction::triggered, &w, w.Guarded(handler));
  };
  // The open dialog, in the folder the file list shows; several files chosen make a series.
  on(open_, [&w] {
    const QStringList paths = w.dialogs.ChooseOpenFiles ? w.dialogs.ChooseOpenFiles() : QStringList();
    if (!paths.isEmpty()) w.OpenDataFiles(paths);
  });
  on(zoomBack_, [&w] { w.plotHost().ZoomBack(); });
  on(zoomForward_, [&w] { w.plotHost().ZoomForward(); });
  on(fit_, &MainWindow::RescaleAndRedraw);  // the whole data set in the picture
  on(reload_, &MainWindow::LoadSelectedFile);
  on(save_, [&w] {
    if (w.plotWindow) w.plotWindow->SaveViewPicture();
  });
  on(exit_, [&w] {
    for (QWidget* other : {static_cast<QWidget*>(w.openGLWindow), static_cast<QWidget*>(w.plotWindow),
                           static_cast<QWidget*>(w.legendWindow), static_cast<QWidget*>(w.progressWindow)})
      if (other) other->close();
    w.close();
  });
  on(rescale_, &MainWindow::RescaleAndRedraw);
  on(redraw_, &MainWindow::Redraw);
  // The abort command is the one handler that must reach a load or drawing while it works.
  QObject::connect(abort_, &QAction::triggered, &w, [&w] { w.RunHandler([&w] { w.RequestAbort(); }); });
  for (int k = 0; k < 8; ++k) on(tabs_[k], [&w, k] { w.ShowTab(k); });
  on(help_, [&w] { OpenManual(w.notifier()); });
  on(version_, [&w] {
    if (w.aboutDialog) w.aboutDialog->ShowOrRaise();
  });
}

void MainMenu::RecentFileClick(const QString& path) {
  if (!QFileInfo(path).isFile()) {
    window_.recentFiles.Remove(path);
    RefillRecent();
    window_.notifier().Warning("ファイルが見つかりません。最近使ったファイルの一覧から外しました: " + path.toStdString());
    return;
  }
  window_.OpenDataFile(path);
}

void MainMenu::RefillRecent() {
  recent_->clear();
  const QStringList& paths = window_.recentFiles.Paths();
  for (int k = 0; k < paths.size(); ++k) {
    const QString path = paths[k];
    QString text = QFileInfo(path).fileName() + QStringLiteral("  (") + QFileInfo(path).absolutePath() + QLatin1Char(')');
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    if (k < 9) text = QStringLiteral("&%1 ").arg(k + 1) + text;
    QAction* a = recent_->addAction(text);
    a->setObjectName(QStringLiteral("Menu_Recent%1").arg(k));
    a->setData(path);
    a->setToolTip(path);
    QObject::connect(a, &QAction::triggered, &window_, window_.Guarded([this, path] { RecentFileClick(path); }));
  }
  recent_->setEnabled(!paths.isEmpty());
}

}  // namespace corvane
