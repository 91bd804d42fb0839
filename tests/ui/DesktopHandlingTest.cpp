// Everyday handling as a desktop user expects it: opening files by command and the recent list,
// wheel zoom and the way back, the save type, honest gauge and status, settings problems said
// once, and windows that stay on a small screen.
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QWheelEvent>

#include "MainWindowTestSupport.h"
#include "output/ImageExport.h"
#include "ui/SaveDialogs.h"
#include "ui/ScreenPlacement.h"

namespace corvane {
namespace {

using namespace corvane::testing;

// A started program whose recent list lives in its own temporary folder.
struct OpeningProgram : SizedProgram {
  OpeningProgram() {
    main().recentFiles = RecentFiles(dir.filePath(QStringLiteral("recent")));
    main().RefillRecentMenu();
    main().feedback().resetMs = 0;
  }
  QStringList RecentMenuPaths() {
    QStringList paths;
    for (QAction* a : Control<QMenu>(main(), "Menu_Recent")->actions()) paths << a->data().toString();
    return paths;
  }
};

using OpenCommands = ProgramTest<OpeningProgram>;

TEST_F(OpenCommands, OpenLoadsDrawsFollowsTheFolderAndRemembersTheFile) {
  const QString file = TestFile("three_zones.dat");
  m.dialogs.ChooseOpenFiles = [&] { return QStringList{file}; };
  Control<QAction>(m, "Menu_Open")->trigger();
  EXPECT_TRUE(m.scene.data.NodeCount == 19 && m.state.ScenePictureValid && p.view().isVisible());
  EXPECT_EQ(m.CurrentFolder(), QDir(QStringLiteral(CORVANE_TEST_DATA)).canonicalPath());
  EXPECT_EQ(p.RecentMenuPaths(), QStringList{QFileInfo(file).absoluteFilePath()});
  // Kept for the next run, newest first, at most ten, each once.
  for (int k = 0; k < 12; ++k) m.recentFiles.Add(p.dir.filePath(QStringLiteral("f%1.dat").arg(k)));
  m.recentFiles.Add(p.dir.filePath(QStringLiteral("f5.dat")));
  RecentFiles again(p.dir.filePath(QStringLiteral("recent")));
  ASSERT_EQ(again.Paths().size(), RecentFiles::kMaximum);
  EXPECT_TRUE(again.Paths().first() == p.dir.filePath("f5.dat") && again.Paths().count(p.dir.filePath("f5.dat")) == 1);
  // A cancelled dialog does nothing; a recent file that has gone is said and dropped.
  m.dialogs.ChooseOpenFiles = [] { return QStringList(); };
  Control<QAction>(m, "Menu_Open")->trigger();
  m.RefillRecentMenu();
  Control<QMenu>(m, "Menu_Recent")->actions().first()->trigger();
  ASSERT_EQ(p.messages.warnings.size(), 1u);
  EXPECT_NE(p.messages.warnings[0].find("f5.dat"), std::string::npos);
  EXPECT_FALSE(p.RecentMenuPaths().contains(p.dir.filePath(QStringLiteral("f5.dat"))));
}

TEST_F(OpenCommands, GaugeAndStatusSayHowTheLastWorkEnded) {
  std::vector<int> gauge;
  QObject::connect(Control<QProgressBar>(m, "Gauge1"), &QProgressBar::valueChanged, [&](int v) { gauge.push_back(v); });
  ASSERT_TRUE(m.LoadFile(TestFile("three_zones.dat")));
  EXPECT_EQ(m.statusBar()->currentMessage(), QStringLiteral("読み込み完了: three_zones.dat (19 点)"));
  ASSERT_FALSE(gauge.empty());
  EXPECT_EQ(gauge.back(), Control<QProgressBar>(m, "Gauge1")->maximum());  // full at the end ...
  QCoreApplication::processEvents();
  EXPECT_EQ(Control<QProgressBar>(m, "Gauge1")->value(), 0);               // ... then emptied
  m.Redraw();
  EXPECT_EQ(m.statusBar()->currentMessage(), QStringLiteral("描画完了"));
  // The abort command given while the drawing runs: never "done".
  QThread::msleep(40);  // the drawing lets events in at its first chance
  QTimer::singleShot(0, Control<QAction>(m, "A1"), &QAction::trigger);
  m.Redraw();
  EXPECT_EQ(m.statusBar()->currentMessage(), QStringLiteral("中断しました"));
  EXPECT_EQ(Control<QProgressBar>(m, "Gauge1")->value(), 0);
  EXPECT_FALSE(m.state.AbortRequested);
  // A load that fails says so, in the status and in the reader's warning; the data set stays.
  EXPECT_FALSE(m.LoadFile(TestFile("short.dat")));
  EXPECT_FALSE(p.messages.warnings.empty());
  EXPECT_TRUE(m.statusBar()->currentMessage().startsWith(QStringLiteral("読み込みできませんでした: short.dat")));
  EXPECT_EQ(m.scene.data.NodeCount, 19);
}

using ViewSteps = ProgramTest<SizedProgram>;

TEST_F(ViewSteps, WheelZoomsAboutTheCursorAndViewsGoBackAndForward) {
  m.Redraw();
  const ViewTransform& v = m.scene.view;
  const double wx = v.PixelToWorldX(100), wy = v.PixelToWorldY(80);
  auto wheel = [&](int delta, Qt::KeyboardModifiers mods) {
    QWheelEvent e(QPointF(100, 80), p.view().pictureView->mapToGlobal(QPointF(100, 80)), QPoint(), QPoint(0, delta),
                  Qt::NoButton, mods, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(p.view().pictureView, &e);
  };
  wheel(120, Qt::NoModifier);
  EXPECT_DOUBLE_EQ(v.ScaleX, 2.0);
  EXPECT_TRUE(std::abs(v.PixelToWorldX(100) - wx) < 1e-12 && std::abs(v.PixelToWorldY(80) - wy) < 1e-12);
  EXPECT_EQ(Control<QLineEdit>(m, "xscalebox")->text(), QStringLiteral("2"));
  wheel(60, Qt::ControlModifier);  // half a notch waits for the other half
  EXPECT_DOUBLE_EQ(v.ScaleX, 2.0);
  wheel(60, Qt::ControlModifier);
  EXPECT_DOUBLE_EQ(v.ScaleX, 2.0 * std::pow(2.0, 0.25));
  wheel(-120, Qt::NoModifier);
  EXPECT_DOUBLE_EQ(v.ScaleX, std::pow(2.0, 0.25));
  WaitForViewDrawing(m);
  // Back through the three steps, forward one, and a new step forgets the way forward.
  for (int k = 0; k < 3; ++k) {
    Control<QAction>(m, "Menu_ZoomBack")->trigger();
    WaitForViewDrawing(m);
  }
  EXPECT_DOUBLE_EQ(v.ScaleX, 1.0);
  EXPECT_EQ(Control<QLineEdit>(m, "xscalebox")->text(), QStringLiteral("1"));
  Control<QAction>(m, "Menu_ZoomForward")->trigger();
  EXPECT_DOUBLE_EQ(v.ScaleX, 2.0);
  WaitForViewDrawing(m);
  MouseClick(p.view().pictureView, Qt::RightButton, QPoint(260, 160));
  WaitForViewDrawing(m);
  EXPECT_FALSE(m.plotHost().viewHistory.CanGoForward());
  Control<QAction>(m, "Menu_Fit")->trigger();
  Control<QAction>(m, "Menu_ZoomBack")->trigger();
  EXPECT_DOUBLE_EQ(v.ScaleX, 1.0);
  WaitForViewDrawing(m);
  EXPECT_TRUE(Control<QAction>(m, "Menu_ZoomBack")->shortcuts().contains(QKeySequence(Qt::Key_Backspace)) &&
              Control<QAction>(m, "Menu_ZoomBack")->shortcuts().contains(QKeySequence(Qt::ALT | Qt::Key_Left)));
  EXPECT_EQ(Control<QAction>(m, "Menu_Fit")->shortcut(), QKeySequence(Qt::Key_Home));
}

TEST(ViewHistoryDepth, KeepsTheLastFiftyViews) {
  ViewHistory h;
  for (int k = 0; k < 60; ++k) h.Remember({0, 0, double(k), double(k)});
  ViewPlace at{0, 0, 60, 60};
  int steps = 0;
  while (auto back = h.Back(at)) at = *back, ++steps;
  EXPECT_EQ(steps, 50);
  EXPECT_EQ(at.ScaleX, 10.0);
}

TEST(SaveType, ANameWithoutExtensionTakesTheChosenTypeInTheDialogToo) {
  const char* const cases[][3] = {{"/t/plot", "PNGイメージ(*.png)", "/t/plot.png"},
                                  {"/t/plot.v2", "JPEGイメージ(*.jpg *.jpeg)", "/t/plot.v2"},
                                  {"/t/plot.jpeg", "PNGイメージ(*.png)", "/t/plot.jpeg"},
                                  {"/t/plot.BMP", "SVG画像(*.svg)", "/t/plot.BMP"}};
  for (const auto& c : cases) EXPECT_EQ(PathWithChosenType(c[0], c[1]), QString::fromUtf8(c[2]));
  // The dialog adds the chosen type's extension itself.
  QTemporaryDir dir;
  QFileDialog dialog(nullptr, QString(), dir.path());
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  PreparePictureSaveDialog(dialog);
  auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
  auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  ASSERT_TRUE(types && name);
  types->setCurrentIndex(3);  // PNG
  name->setText(QStringLiteral("plot"));
  EXPECT_EQ(dialog.selectedFiles(), QStringList{dir.filePath(QStringLiteral("plot.png"))});
}

TEST(StartSettings, ABadValueIsSaidOnceWithFileLineAndValueAndEarlierLinesStay) {
  StartedProgram p("SHOW GRID\nZONE COUNT\nthree\nWHITE BACKGROUND\n");
  MainWindow& m = p.main();
  EXPECT_TRUE(Control<QCheckBox>(m, "ShowGrid")->isChecked() && !Control<QCheckBox>(m, "WhiteBack")->isChecked());
  m.settings().ShowStartMessages();
  m.settings().ShowStartMessages();
  ASSERT_EQ(p.messages.warnings.size(), 1u);
  const std::string& text = p.messages.warnings[0];
  for (const std::string& part : {p.dir.filePath("crv.ini").toStdString(), std::string("3 行目"), std::string("three")})
    EXPECT_NE(text.find(part), std::string::npos) << text;
}

TEST(StartSettings, AFolderAsSettingsStartsOnTheDefaultsWithAMessage) {
  QTemporaryDir dir;
  ProgramWindows windows = CreateProgramWindows(dir.path());
  RecordingNotifier messages;
  windows.main->SetNotifier(&messages);
  windows.main->settings().ShowStartMessages();
  ASSERT_EQ(messages.warnings.size(), 1u);
  EXPECT_TRUE(messages.warnings[0].find(dir.path().toStdString()) != std::string::npos &&
              messages.warnings[0].find("フォルダ") != std::string::npos)
      << messages.warnings[0];
  EXPECT_EQ(Control<QSpinBox>(*windows.main, "ZCountBox")->value(), 3);
  // A device is no settings file either.
  ProgramWindows device = CreateProgramWindows(QStringLiteral("/dev/null"));
  EXPECT_TRUE(device.main->settings().PendingStartMessage().contains(QStringLiteral("/dev/null")));
  // No settings file at all is no message.
  ProgramWindows plain = CreateProgramWindows(dir.filePath(QStringLiteral("none.ini")));
  EXPECT_TRUE(plain.main->settings().PendingStartMessage().isEmpty());
}

TEST(SmallScreen, WindowsOpenInsideTheAvailableArea) {
  const QRect screen(0, 0, 800, 600);
  EXPECT_EQ(FitRectInto(QRect(700, 500, 300, 200), screen), QRect(500, 400, 300, 200));
  EXPECT_EQ(FitRectInto(QRect(-50, 10, 1000, 700), screen), QRect(0, 0, 800, 600));
  EXPECT_EQ(FitRectInto(QRect(10, 10, 100, 100), screen), QRect(10, 10, 100, 100));

  StartedProgram p;
  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  p.view().SetOuterSize(available.width() + 500, available.height() + 400);
  p.view().PickingPoint1 = true;  // asked for before the window first shows
  p.main().Redraw();
  ASSERT_TRUE(p.view().isVisible());
  EXPECT_TRUE(available.contains(p.view().frameGeometry())) << p.view().frameGeometry().width();
  EXPECT_EQ(p.main().scene.view.PictureWidth, p.view().width());
  EXPECT_EQ(p.view().Picture().width(), p.view().width());  // drawn at the size it is shown
  EXPECT_TRUE(p.view().PickingPoint1);
  p.main().move(available.right() - 50, available.bottom() - 50);
  p.main().show();
  EXPECT_TRUE(available.contains(p.main().frameGeometry().topLeft()));
  EXPECT_TRUE(Control<QLineEdit>(p.main(), "PCNameBox")->text().isEmpty());
}

}  // namespace
}  // namespace corvane
