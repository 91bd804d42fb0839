// What a first-time user meets: several files opened at once make a series (with its animation
// saved at the picture's size), --set values given before the data survive its load, a save
// name with an extension we do not write is refused with the file named, the plot window's size
// is kept between runs, and the first view of a body in a far field shows the body.
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>

#include "MainWindowTestSupport.h"
#include "output/ImageExport.h"
#include "scene/ProgramOptions.h"
#include "ui/PlotSizeStore.h"
#include "ui/SaveDialogs.h"

namespace corvane {
namespace {

using namespace corvane::testing;

struct FramesProgram : SizedProgram {
  QStringList files;
  FramesProgram() {
    for (int k = 1; k <= 3; ++k) {
      files << dir.filePath(QStringLiteral("f%1.dat").arg(k));
      WriteFile(files.back(), QByteArray::fromStdString("VARIABLES = X Y P\n" + SeriesZone(k)));
    }
  }
};

using SeveralFiles = ProgramTest<FramesProgram>;

// The logical screen size of a GIF (bytes 6..9, little-endian).
QSize GifSize(const QByteArray& gif) {
  if (gif.size() < 10 || !gif.startsWith("GIF89a")) return {};
  auto u16 = [&](int at) { return static_cast<unsigned char>(gif[at]) | static_cast<unsigned char>(gif[at + 1]) << 8; };
  return QSize(u16(6), u16(8));
}

TEST_F(SeveralFiles, OpenedTogetherTheyAreTheFramesOfASeriesSavedAsAnAnimationOfThePicture) {
  m.dialogs.ChooseOpenFiles = [&] { return p.files; };
  Control<QAction>(m, "Menu_Open")->trigger();
  ASSERT_TRUE(m.series().Loaded());
  EXPECT_FALSE(p.view().seriesBar->isHidden());
  EXPECT_EQ(p.view().seriesBar->TimeSlider->maximum(), 2);
  EXPECT_TRUE(m.state.ScenePictureValid && p.view().isVisible());
  EXPECT_EQ(m.LoadedPath, p.files[0]);

  p.view().seriesBar->TimeSlider->setValue(1);
  const QString gif = p.dir.filePath(QStringLiteral("run.gif"));
  ASSERT_TRUE(p.view().SavePictureTo(gif)) << (p.messages.warnings.empty() ? "" : p.messages.warnings[0]);
  EXPECT_EQ(GifSize(ReadFile(gif)), p.view().Picture().size());
  EXPECT_EQ(p.view().Picture().size(), QSize(520, 320 - p.view().seriesBar->sizeHint().height()));
  EXPECT_EQ(m.series().ShownFrame(), 1);  // the frame shown before is shown again
  EXPECT_TRUE(p.view().PanelText(3).contains(gif));

  // One file opened afterwards is an ordinary file again.
  ASSERT_TRUE(m.OpenDataFiles({p.files[2]}));
  EXPECT_TRUE(!m.series().Loaded() && p.view().seriesBar->isHidden());
  // A name among them that is not there is said, and nothing is loaded.
  EXPECT_THROW(m.OpenDataFiles({p.files[0], p.dir.filePath("none.dat")}), CorvaneError);
}

// On either window, the main window and the picture: one file is an ordinary load, several a
// series.
TEST_F(SeveralFiles, DroppedOneIsLoadedAndDroppedTogetherTheyAreASeries) {
  for (QWidget* target : {static_cast<QWidget*>(&m), static_cast<QWidget*>(&p.view())}) {
    SCOPED_TRACE(target->objectName().toStdString());
    m.scene.data = FieldDataSet();
    SendDrop(target, {TestFile("three_zones.dat")});
    EXPECT_TRUE(m.scene.data.NodeCount == 19 && !m.series().Loaded());
    SendDrop(target, {p.files[0], p.files[1]});
    EXPECT_TRUE(m.series().Loaded() && m.series().FrameCount() == 2u);
    EXPECT_FALSE(p.view().seriesBar->isHidden());
  }
  EXPECT_TRUE(p.messages.warnings.empty());
}

TEST_F(SeveralFiles, AnAnimationNameWithoutASeriesAndAnUnknownExtensionAreRefusedAndSaid) {
  ASSERT_TRUE(m.OpenDataFile(p.files[0]));
  for (const char* name : {"win.gif", "win.tiff"}) {
    const QString path = p.dir.filePath(QString::fromLatin1(name));
    p.messages.warnings.clear();
    EXPECT_FALSE(p.view().SavePictureTo(path));
    EXPECT_FALSE(QFile::exists(path) || QFile::exists(path + ".bmp")) << name;
    ASSERT_EQ(p.messages.warnings.size(), 1u) << name;
    EXPECT_TRUE(p.view().PanelText(3).contains(QStringLiteral("保存されませんでした")));
  }
  const QString png = PathWithChosenType(p.dir.filePath(QStringLiteral("plain")), PictureSaveFilters()[3]);
  ASSERT_TRUE(p.view().SavePictureTo(png));
  EXPECT_TRUE(ReadFile(png).startsWith("\x89PNG"));
  EXPECT_TRUE(p.view().PanelText(3).contains(QStringLiteral("plain.png")));
}

using GivenValues = ProgramTest<FramesProgram>;

TEST_F(GivenValues, TheShownVariableAndTheViewGivenBeforeTheDataSurviveItsLoad) {
  MainWindow& w = m;
  ASSERT_TRUE(w.settings().ApplyControlValue("RGroup", "3"));  // P, of U V T P
  ASSERT_TRUE(w.settings().ApplyControlValue("x0box", "1.5") && w.settings().ApplyControlValue("xscalebox", "40"));
  ASSERT_TRUE(w.OpenDataFile(TestFile("three_zones.dat")));
  EXPECT_EQ(Control<RadioGroupWidget>(w, "RGroup")->ItemIndex(), 3);
  EXPECT_EQ(w.Options().RGroup, 3);
  EXPECT_EQ(std::pair(w.scene.view.CentreX, w.scene.view.ScaleX), std::pair(1.5, 40.0));
  EXPECT_TRUE(p.messages.warnings.empty());
  // Given once: the next file opened is fitted, the variable stays as the user left it.
  ASSERT_TRUE(w.OpenDataFile(p.files[0]));
  EXPECT_NE(w.scene.view.ScaleX, 40.0);
  // A choice the data does not have is said once the data shows it.
  StartedProgram started;
  ASSERT_TRUE(started.main().settings().ApplyControlValue("RGroup", "30"));
  ASSERT_TRUE(started.main().fileTab().SelectFile(TestFile("three_zones.dat")));
  Control<QPushButton>(started.main(), "Button1")->click();
  ASSERT_EQ(started.messages.warnings.size(), 1u);
  EXPECT_NE(started.messages.warnings[0].find("RGroup=30"), std::string::npos) << started.messages.warnings[0];
}

TEST(PlotWindowSize, AUsefulShareOfTheScreenFirstThenTheSizeTheUserGaveIt) {
  const QSize useful = UsefulPlotSize(QRect(0, 0, 1600, 1000));
  EXPECT_TRUE(useful.width() >= 800 && useful.width() < 1200 && useful.height() >= 600 && useful.height() < 1000) << useful.width();

  QTemporaryDir dir;
  const QString store = dir.filePath(QStringLiteral("config/corvane/plot-window"));
  EXPECT_FALSE(ReadPlotSize(store));
  WritePlotSize(store, QSize(700, 500));
  ASSERT_EQ(ReadPlotSize(store), QSize(700, 500));
  for (const char* bad : {"700\n", "seven 500", "10 10", "700 500 3"}) {
    WriteFile(store, bad);
    EXPECT_FALSE(ReadPlotSize(store)) << bad;
  }
  WritePlotSize(store, QSize(700, 500));
  ProgramWindows kept = CreateProgramWindows(dir.filePath(QStringLiteral("none.ini")), store);
  EXPECT_EQ(kept.view->size(), QSize(700, 500));
  // Without a kept size the window takes a good part of the screen, not the old small default.
  ProgramWindows first = CreateProgramWindows(dir.filePath(QStringLiteral("none.ini")), dir.filePath(QStringLiteral("fresh")));
  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_EQ(first.view->size(), UsefulPlotSize(available));
  // A size the settings file gives wins over the kept one.
  WriteFile(dir.filePath(QStringLiteral("crv.ini")), "PICTURE WIDTH\n416\nPICTURE HEIGHT\n339\n");
  ProgramWindows set = CreateProgramWindows(dir.filePath(QStringLiteral("crv.ini")), store);
  EXPECT_EQ(set.view->size(), QSize(400, 300));
}

}  // namespace
}  // namespace corvane
