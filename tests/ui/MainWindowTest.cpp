// The main window driven by control name: the settings file through the handlers, pending
// edits, tab warnings, loading and the refusal of nested commands.
#include <QDir>

#include "MainWindowTestSupport.h"

namespace corvane {
namespace {

using namespace corvane::testing;

using Texts = std::vector<std::string>;
bool IsBlue(QLineEdit* box) { return IsPendingEdit(box); }

TEST(MainWindowSettings, KeywordsRunTheControlsHandlers) {
  StartedProgram p(
      "comment line\n"
      "with opengl\n"
      "  no contour\t\n"
      "ZONE COUNT\n150\n"
      "NOT FIX LINE COLOR\n"
      "FIX LINE COLOR\n16711680\n"
      "INCLUDE VELOCITY\n"
      "PICTURE WIDTH\n400\n"
      "X SCALE\n120.5\n"
      "GRAY COLOR2\n");
  MainWindow& m = p.main();
  auto check = [&](const char* name) { return Control<QCheckBox>(m, name); };
  EXPECT_EQ((std::vector<bool>{check("UseOpenGL")->isChecked(), check("ShowContour")->isChecked(), check("BrushCheck")->isEnabled(),
                               check("LineCheck")->isEnabled(), check("ShowVec")->isEnabled(), Control<QRadioButton>(m, "GrayMap2")->isChecked()}),
            (std::vector<bool>{true, false, false, false, true, true}));
  EXPECT_EQ(std::pair(Control<QSpinBox>(m, "ZCountBox")->value(), Control<ColourSwatchWidget>(m, "Shape1")->BrushColour()), std::pair(100, MakeColour(255, 0, 0)));
  EXPECT_EQ(m.scene.view.ScaleX, 120.5);
  EXPECT_EQ(Control<QLineEdit>(m, "xscalebox")->text(), QStringLiteral("120.5"));
  EXPECT_EQ(p.view().width(), 400 - kPlotFrameWidth);  // the settings give the outer size
  EXPECT_TRUE(p.messages.warnings.empty() && p.messages.messages.empty());
}

using MainWindowTest = ProgramTest<StartedProgram>;

TEST_F(MainWindowTest, ContourBoxesTurnBlueAndEnterAppliesOrWarns) {
  QLineEdit* maxBox = Control<QLineEdit>(m, "MaxBox");
  Control<QCheckBox>(m, "AutoMaxMinCheck")->setChecked(false);
  ASSERT_TRUE(maxBox->isEnabled());
  maxBox->selectAll();
  KeyClicks(maxBox, "abc");
  EXPECT_TRUE(IsBlue(maxBox));
  KeyClick(maxBox, Qt::Key_Return);
  EXPECT_EQ(p.messages.warnings, Texts{"数字を記入してください"});
  EXPECT_TRUE(IsBlue(maxBox));
  maxBox->clear();
  KeyClicks(maxBox, "42");
  KeyClick(maxBox, Qt::Key_Return);
  EXPECT_FALSE(IsBlue(maxBox));
  EXPECT_EQ(p.messages.warnings.size(), 1u);
}

TEST_F(MainWindowTest, ViewBoxesApplyInOrderUpToTheFirstWord) {
  Control<QLineEdit>(m, "x0box")->clear();
  KeyClicks(Control<QLineEdit>(m, "x0box"), "2.5");
  EXPECT_TRUE(IsBlue(Control<QLineEdit>(m, "x0box")));
  Control<QLineEdit>(m, "y0box")->clear();
  KeyClicks(Control<QLineEdit>(m, "y0box"), "north");
  Control<QLineEdit>(m, "xscalebox")->clear();
  KeyClicks(Control<QLineEdit>(m, "xscalebox"), "7");
  KeyClick(Control<QLineEdit>(m, "y0box"), Qt::Key_Return);
  EXPECT_EQ(m.scene.view.CentreX, 2.5);
  EXPECT_FALSE(IsBlue(Control<QLineEdit>(m, "x0box")));
  EXPECT_TRUE(IsBlue(Control<QLineEdit>(m, "y0box")));
  EXPECT_EQ(m.scene.view.ScaleX, 1.0);  // after the failing box: not applied
  EXPECT_EQ(p.messages.messages, Texts{"数字を代入して下さい"});
  // A settings value takes its one box into the view; the word in another box stays.
  QLineEdit* y0box = Control<QLineEdit>(m, "y0box");
  ASSERT_TRUE(m.settings().ApplyControlValue("xscalebox", "3"));
  EXPECT_EQ(std::pair(m.scene.view.ScaleX, Control<QLineEdit>(m, "xscalebox")->text()), std::pair(3.0, QStringLiteral("3")));
  EXPECT_TRUE(IsBlue(y0box));
  // A changed view is shown in every box.
  m.state.events.Changed(StateChange::View);
  EXPECT_EQ(y0box->text(), QStringLiteral("0"));
  EXPECT_FALSE(IsBlue(y0box));
}

TEST_F(MainWindowTest, OpenGLModeWarnsOnAxesAnalysisAndStreamlineTabs) {
  Control<QCheckBox>(m, "UseOpenGL")->setChecked(true);
  Control<QAction>(m, "Menu_ContourSet")->trigger();
  EXPECT_TRUE(p.messages.warnings.empty() && p.messages.messages.empty());
  Control<QAction>(m, "Menu_AxisSet")->trigger();
  EXPECT_EQ(Control<QTabWidget>(m, "PageControl1")->currentWidget(), Control<QWidget>(m, "XYTab"));
  EXPECT_EQ(p.messages.warnings, Texts{"XY軸設定はOpenGL描画時は無効です"});
  Control<QAction>(m, "Menu_Analyze")->trigger();
  Control<QAction>(m, "Menu_Streamline")->trigger();
  EXPECT_EQ(p.messages.messages, (Texts{"OpenGL時には解析は実行できません", "OpenGL時には流線を描くことはできません"}));
  Control<QCheckBox>(m, "UseOpenGL")->setChecked(false);
  EXPECT_FALSE(Control<QCheckBox>(m, "QuickFill")->isEnabled());
  Control<QAction>(m, "Menu_AxisSet")->trigger();  // already shown: no new warning
  Control<QAction>(m, "Menu_FileSel")->trigger();
  Control<QAction>(m, "Menu_AxisSet")->trigger();
  EXPECT_EQ(p.messages.warnings.size(), 1u);
}

TEST_F(MainWindowTest, NestedCommandsAndLoadsAreRefusedButAbortGetsThrough) {
  ASSERT_TRUE(m.fileTab().SelectFile(TestFile("three_zones.dat")));
  ASSERT_TRUE(m.TryBeginCommand());
  Control<QAction>(m, "Menu_Redraw")->trigger();
  Control<QAction>(m, "Menu_Rescale")->trigger();
  EXPECT_FALSE(m.LoadFile(TestFile("three_zones.dat")));
  EXPECT_FALSE(m.state.ScenePictureValid || !m.scene.data.Empty());
  Control<QAction>(m, "A1")->trigger();
  EXPECT_TRUE(m.state.AbortRequested);
  m.EndCommand();
  Control<QAction>(m, "Menu_Redraw")->trigger();
  EXPECT_TRUE(m.state.ScenePictureValid);
  EXPECT_FALSE(m.state.AbortRequested);  // a drawing clears it
  EXPECT_TRUE(p.view().isEnabled());
  EXPECT_TRUE(m.LoadFile(TestFile("three_zones.dat")) && !m.scene.data.Empty());
}

TEST_F(MainWindowTest, LoadWithoutSelectionAsksForAFileAndTheFolderBoxMovesTheListsOfDataFiles) {
  Control<QTabWidget>(m, "PageControl1")->setCurrentIndex(2);
  Control<QListWidget>(m, "FileListBox1")->clearSelection();
  Control<QPushButton>(m, "Button1")->click();
  EXPECT_EQ(p.messages.warnings, Texts{"ファイルが選択されていません"});
  EXPECT_EQ(Control<QTabWidget>(m, "PageControl1")->currentWidget(), Control<QWidget>(m, "FileTab"));
  p.messages.warnings.clear();
  QDir d(p.dir.path());
  d.mkdir(QStringLiteral("sub"));
  for (const char* name : {"a.dat", "b.txt", "c.csv"}) QFile(d.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
  QLineEdit* folderBox = Control<QLineEdit>(m, "PCNameBox");
  folderBox->setText(p.dir.path());
  KeyClick(folderBox, Qt::Key_Return);
  EXPECT_FALSE(IsPendingEdit(folderBox));
  QStringList files;
  const QListWidget* fileList = Control<QListWidget>(m, "FileListBox1");
  for (int k = 0; k < fileList->count(); ++k) files << fileList->item(k)->text();
  EXPECT_EQ(files, (QStringList{"a.dat", "b.txt"}));
  bool hasSub = false;
  const QListWidget* folderList = Control<QListWidget>(m, "DirectoryListBox1");
  for (int k = 0; k < folderList->count(); ++k) hasSub |= folderList->item(k)->text().trimmed() == "sub";
  EXPECT_TRUE(hasSub);
  KeyClicks(folderBox, "/no/such/folder");
  KeyClick(folderBox, Qt::Key_Return);
  EXPECT_EQ(p.messages.warnings.size(), 1u);
  EXPECT_TRUE(IsPendingEdit(folderBox));
  EXPECT_EQ(m.CurrentFolder(), QDir(p.dir.path()).canonicalPath());
}

}  // namespace
}  // namespace corvane
