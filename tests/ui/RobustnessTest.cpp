// A careless user: words left in any edit box, then every command. The program must live, keep
// its data, and draw exactly as before wherever the box is not read.
#include <QDir>
#include <cmath>
#include <set>
#include <QFileInfo>
#include <unistd.h>

#include <tuple>

#include "MainWindowTestSupport.h"
#include "TestImages.h"
#include "TestSupport.h"
#include "ui/LegendWindow.h"

namespace corvane {
namespace {

using namespace corvane::testing;

struct LoadedWindow : StartedProgram {
  QDir folder{dir.path()};
  LoadedWindow() {
    view().SetOuterSize(320 + kPlotFrameWidth, 200 + kPlotFrameHeight + kPlotStatusBarHeight);
    for (const char* name : {"a.dat", "b.dat"})
      QFile::copy(QStringLiteral(CORVANE_TEST_DATA "/three_zones.dat"), folder.filePath(name));
    main().fileTab().SetFolder(dir.path());
    EXPECT_TRUE(main().LoadFile(folder.filePath("a.dat")));
    Control<QCheckBox>(main(), "BrushCheck")->setChecked(true);
    Control<QCheckBox>(main(), "ShowGrid")->setChecked(true);
    main().dialogs.OpenDocument = [](const QString&) { return true; };
    Control<QCheckBox>(main(), "ShowLabel")->setChecked(false);  // label places are drawn at random
  }
  QImage Picture() { return main().scene.bitmap.copy(); }
  void TypeWord(QLineEdit* box) {
    box->setFocus();
    box->selectAll();
    KeyClicks(box, QStringLiteral("12x"));
  }
};

using WordsInBoxes = ProgramTest<LoadedWindow>;

TEST_F(WordsInBoxes, EveryCommandLivesAndDrawingsThatDoNotReadTheBoxAreUnchanged) {
  Control<QAction>(m, "Menu_Rescale")->trigger();
  const QImage rescaled = p.Picture();
  m.plotHost().ZoomAt(100, 80, 2.0);
  WaitForViewDrawing(m);
  const QImage zoomed = p.Picture();
  ASSERT_TRUE(p.messages.warnings.empty()) << p.messages.warnings.front();

  for (QLineEdit* box : m.findChildren<QLineEdit*>()) {
    if (box->objectName().isEmpty() || box->objectName().startsWith(QStringLiteral("qt_"))) continue;
    SCOPED_TRACE(box->objectName().toStdString());
    const bool wasEnabled = box->isEnabled();
    box->setEnabled(true);
    const QString before = box->text();
    p.TypeWord(box);
    const std::size_t nodes = m.scene.data.X.size();
    // The legend reads the three range boxes as they stand; it refuses only those.
    const bool rangeBox = box == Control<QLineEdit>(m, "MinBox") || box == Control<QLineEdit>(m, "MaxBox") || box == Control<QLineEdit>(m, "StepBox");
    bool saved = false;
    m.RunHandler([&] { saved = m.legendWindow->SaveLegend(p.folder.filePath("legend.png")); });
    EXPECT_EQ(saved, !rangeBox);
    EXPECT_EQ(p.messages.warnings.size(), rangeBox ? 1u : 0u);
    p.messages.warnings.clear();

    Control<QAction>(m, "Menu_Rescale")->trigger();
    EXPECT_EQ(p.Picture(), rescaled);
    m.plotHost().ZoomAt(100, 80, 2.0);
    WaitForViewDrawing(m);
    EXPECT_EQ(p.Picture(), zoomed);
    Control<QAction>(m, "Menu_Redraw")->trigger();
    Control<QRadioButton>(m, "ShowExpCheck")->click();
    Control<QRadioButton>(m, "ShowAutoCheck")->click();
    EXPECT_TRUE(m.AnalyzeTo(p.folder.filePath("cut.dat")));
    QListWidget* fileList = Control<QListWidget>(m, "FileListBox1");
    fileList->clearSelection();
    fileList->item(1)->setSelected(true);
    Control<QAction>(m, "Menu_Reload")->trigger();
    fileList->selectAll();
    m.findChild<QAction*>(QStringLiteral("BMP1"))->trigger();
    Control<QCheckBox>(m, "UseOpenGL")->setChecked(true);
    Control<QAction>(m, "Menu_Redraw")->trigger();
    Control<QCheckBox>(m, "UseOpenGL")->setChecked(false);

    EXPECT_EQ(m.scene.data.X.size(), nodes);
    EXPECT_FALSE(m.Busy());
    EXPECT_TRUE(QFileInfo(p.folder.filePath("b.bmp")).size() > 0);
    for (const std::string& w : p.messages.warnings) EXPECT_NE(w.find("OpenGL"), std::string::npos) << w;
    p.messages.warnings.clear();
    p.messages.messages.clear();
    box->setText(before);
    box->setEnabled(wasEnabled);
  }
}

// Each box that a piece of work reads stops only that work, naming the box as the user sees it.
TEST_F(WordsInBoxes, AWordStopsOnlyTheWorkThatReadsItWithTheBoxCaption) {
  Control<QCheckBox>(m, "IncludeVelCheck")->setChecked(true);
  ASSERT_TRUE(m.LoadFile(p.folder.filePath("a.dat")));
  Control<QAction>(m, "Menu_Rescale")->trigger();
  const QImage plain = p.Picture();
  // Each box, the switch of the work that reads it, and the box's caption.
  const std::tuple<QLineEdit*, std::function<void(bool)>, const char*> cases[] = {
      {Control<QLineEdit>(m, "VecScaleBox"), [&](bool on) { Control<QCheckBox>(m, "ShowVec")->setChecked(on); }, "速度ベクトルの scale"},
      {Control<QLineEdit>(m, "xoffsetbox"), [&](bool on) { Control<QSpinBox>(m, "writetimes")->setValue(on); }, "オフセット x"},
      {Control<QLineEdit>(m, "StreamXa"), [&](bool on) { Control<QCheckBox>(m, "DrawStreamLineCheck")->setChecked(on); }, "点A の x"}};
  for (const auto& [box, turn, caption] : cases) {
    SCOPED_TRACE(caption);
    p.TypeWord(box);
    turn(true);
    Control<QAction>(m, "Menu_Redraw")->trigger();
    ASSERT_EQ(p.messages.warnings.size(), 1u);
    EXPECT_NE(p.messages.warnings[0].find(caption), std::string::npos) << p.messages.warnings[0];
    EXPECT_EQ(p.Picture(), plain);  // the previous picture stays
    turn(false);
    p.messages.warnings.clear();
    Control<QAction>(m, "Menu_Redraw")->trigger();
    EXPECT_TRUE(p.messages.warnings.empty());
    EXPECT_EQ(p.Picture(), plain);
  }

  // γ is read by the load, and only with velocity data; the shown data set stays.
  p.TypeWord(Control<QLineEdit>(m, "gammaBox"));
  EXPECT_FALSE(m.LoadFile(p.folder.filePath("b.dat")));
  ASSERT_EQ(p.messages.warnings.size(), 1u);
  EXPECT_NE(p.messages.warnings[0].find("比熱比γ"), std::string::npos);
  EXPECT_EQ(Control<RadioGroupWidget>(m, "RGroup")->Count(), 8);
  Control<QCheckBox>(m, "IncludeVelCheck")->setChecked(false);
  EXPECT_TRUE(m.LoadFile(p.folder.filePath("b.dat")));
}

using DrawnState = ProgramTest<LoadedWindow>;

TEST_F(DrawnState, StepBoxCaptionAndLegendFollowTheDrawing) {
  Control<QSlider>(m, "StepBar")->setValue(80);
  Control<QAction>(m, "Menu_Rescale")->trigger();
  EXPECT_EQ(Control<QLineEdit>(m, "StepBox")->text().toDouble(), m.scene.fieldView.ContourStep[0]);
  EXPECT_EQ(p.view().windowTitle(), QStringLiteral("U:等高線"));
  Control<RadioGroupWidget>(m, "RGroup")->SetItemIndex(3);
  Control<QAction>(m, "Menu_Redraw")->trigger();
  EXPECT_EQ(p.view().windowTitle(), QStringLiteral("P:等高線"));
  EXPECT_EQ(Control<QLineEdit>(m, "StepBox")->text().toDouble(), m.scene.fieldView.ContourStep[3]);
}

TEST_F(DrawnState, LabelFontAndColourChosenInTheWindowReachThePicture) {
  Control<QCheckBox>(m, "WhiteBack")->setChecked(true);
  Control<QCheckBox>(m, "ShowLabel")->setChecked(true);
  QFont chosen(QStringLiteral("DejaVu Sans"));
  chosen.setPixelSize(20);
  chosen.setBold(true);
  QFont axisInitial;
  m.dialogs.ChooseFont = [&](const QFont& initial, const QString&) -> std::optional<QFont> {
    axisInitial = initial;
    return chosen;
  };
  m.dialogs.ChooseColour = [](const QColor&, const QString&) -> std::optional<QColor> { return QColor(200, 0, 100); };
  Control<QPushButton>(m, "Button5")->click();
  const FontSpec& label = m.Options().contour.LabelExp;
  EXPECT_EQ(std::tie(label.face, label.pixelHeight, label.bold, label.colour),
            std::make_tuple(std::string("DejaVu Sans"), 20, true, MakeColour(200, 0, 100)));
  Control<QCheckBox>(m, "BrushCheck")->setChecked(false);
  Control<QCheckBox>(m, "ShowGrid")->setChecked(false);
  Control<QAction>(m, "Menu_Rescale")->trigger();
  EXPECT_GT(CountPixels(p.Picture(), qRgb(200, 0, 100)), 20);

  Control<QPushButton>(m, "Button2")->click();  // the axis font dialog always starts from Arial, 11 px
  EXPECT_EQ(std::pair(axisInitial.family(), axisInitial.pixelSize()), std::pair(QStringLiteral("Arial"), 11));
  EXPECT_EQ(m.Options().display.axisFont.pixelHeight, 20);
  EXPECT_EQ(Control<QLabel>(m, "LabelExp")->font().family(), QStringLiteral("DejaVu Sans"));  // the sample shows it
}

TEST(WindowFaults, LoadSetsNodeMaximaBatchShowsPicturesMenuLoadsAndVectorsRaiseTheMainWindow) {
  LoadedWindow p;
  MainWindow& m = p.main();
  EXPECT_EQ(std::pair(Control<QSpinBox>(m, "P1i")->maximum(), Control<QSpinBox>(m, "P2j")->maximum()), std::pair(2, 2));  // zone 0 has i and j up to 2

  QListWidget* fileList = Control<QListWidget>(m, "FileListBox1");
  fileList->clearSelection();
  fileList->item(1)->setSelected(true);
  fileList->setCurrentRow(1);
  m.findChild<QAction*>(QStringLiteral("N1"))->trigger();  // 「読み込む」
  EXPECT_TRUE(p.messages.warnings.empty());

  fileList->selectAll();
  p.view().hide();
  m.findChild<QAction*>(QStringLiteral("BMP1"))->trigger();
  EXPECT_TRUE(p.view().isVisible());

  Control<QCheckBox>(m, "IncludeVelCheck")->setChecked(true);
  Control<QCheckBox>(m, "ShowVec")->setChecked(true);
  Control<QComboBox>(m, "xvecbox")->setCurrentIndex(-1);
  Control<QAction>(m, "Menu_Redraw")->trigger();
  EXPECT_EQ(p.messages.warnings, std::vector<std::string>{"ベクトルに使用する量を選択してください"});
  EXPECT_EQ(p.messages.raises, 1);
}

// One settings file gives one picture size, in the window and from the command line.
TEST(WindowFaults, SettingsGiveTheSamePictureSizeInTheWindowAndInRender) {
  StartedProgram p("PICTURE WIDTH\n500\nPICTURE HEIGHT\n400\n");
  const QString out = p.dir.filePath("out.png");
  const testing::CommandRun run = testing::RunCorvane(
      {"render", QStringLiteral(CORVANE_TEST_DATA "/three_zones.dat"), "--settings", p.dir.filePath("crv.ini"), "-o", out});
  ASSERT_EQ(run.status, 0) << run.errors.toStdString();
  EXPECT_EQ(QImage(out).size(), QSize(p.main().scene.view.PictureWidth, p.main().scene.view.PictureHeight));
  EXPECT_EQ(QImage(out).size(), QSize(500 - kPlotFrameWidth, 400 - kPlotFrameHeight - kPlotStatusBarHeight));
}

TEST(WindowFaults, StartsInTheHomeFolderWhenTheWorkingFolderWasDeleted) {
  const QString home = QDir::currentPath();
  QTemporaryDir gone;
  ASSERT_EQ(chdir(gone.path().toLocal8Bit().constData()), 0);
  gone.remove();
  {
    StartedProgram p;
    EXPECT_EQ(p.main().CurrentFolder(), QDir(QDir::homePath()).canonicalPath());
  }
  ASSERT_EQ(chdir(home.toLocal8Bit().constData()), 0);
}

TEST_F(DrawnState, FigureControlsChangeThePictureAndGiveItBackWhenCleared) {
  Control<QAction>(m, "Menu_Rescale")->trigger();
  const QImage plain = m.scene.bitmap.copy();
  const double rawStep = m.scene.fieldView.ContourStep[0];
  Control<QCheckBox>(m, "RoundLevelsCheck")->setChecked(true);
  const double step = Control<QLineEdit>(m, "StepBox")->text().toDouble();
  const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
  EXPECT_TRUE((std::set<double>{1, 2, 2.5, 5}.count(std::round(mantissa * 1e6) / 1e6))) << step;
  const double lo = Control<QLineEdit>(m, "MinBox")->text().toDouble();
  EXPECT_NEAR(lo / step, std::round(lo / step), 1e-9);
  Control<QCheckBox>(m, "RoundLevelsCheck")->setChecked(false);
  EXPECT_EQ(m.scene.fieldView.ContourStep[0], rawStep);
  MouseClick(Control<QLabel>(m, "Image4"), Qt::LeftButton);  // the viridis picture
  EXPECT_TRUE(Control<QRadioButton>(m, "ViridisMap")->isChecked());
  EXPECT_EQ(m.Options().contour.colourMap, ColourMapKind::Viridis);
  Control<QRadioButton>(m, "ColorMap1")->setChecked(true);
  for (QCheckBox* box : {Control<QCheckBox>(m, "SmoothCheck"), Control<QCheckBox>(m, "ColourBarCheck")}) {
    box->setChecked(true);
    Control<QAction>(m, "Menu_Rescale")->trigger();
    EXPECT_NE(m.scene.bitmap, plain) << box->objectName().toStdString();
    box->setChecked(false);
    Control<QAction>(m, "Menu_Rescale")->trigger();
    EXPECT_EQ(m.scene.bitmap, plain) << box->objectName().toStdString();
  }
}

}  // namespace
}  // namespace corvane
