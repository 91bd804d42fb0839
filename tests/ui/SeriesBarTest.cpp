// A time series in the windows: the selection of several files (or one file of several solution
// times) shows the time bar; its slider and play button step through the frames with the view
// kept, and 全時刻で同じ範囲 gives every frame the range of the whole series.
#include <QElapsedTimer>

#include "MainWindowTestSupport.h"

namespace corvane {
namespace {

using namespace corvane::testing;

struct SeriesProgram : SizedProgram {
  SeriesProgram() {
    for (int k = 1; k <= 3; ++k)
      WriteFile(dir.filePath(QStringLiteral("s%1.dat").arg(k)), QByteArray::fromStdString("VARIABLES = X Y P\n" + SeriesZone(k)));
    WriteFile(dir.filePath("timed.tec"),
              QByteArray::fromStdString("VARIABLES = X Y P\n" + SeriesZone(2, true) + SeriesZone(1, true) + SeriesZone(4, true)));
    main().fileTab().SetFolder(dir.path());
  }
  SeriesBar& bar() { return *view().seriesBar; }
  double P(int i, int j) { return main().scene.data.Values[0][static_cast<std::size_t>(NodeIndex(main().scene.data, 0, i, j))]; }
  void Select(const QStringList& names) {
    QListWidget* list = Control<QListWidget>(main(), "FileListBox1");
    list->clearSelection();
    for (int row = 0; row < list->count(); ++row)
      if (names.contains(list->item(row)->text())) list->item(row)->setSelected(true);
  }
};

using SeriesWindow = ProgramTest<SeriesProgram>;

TEST_F(SeriesWindow, SelectedFilesBecomeFramesOfTheTimeBar) {
  p.Select({"s1.dat", "s2.dat", "s3.dat"});
  Control<QPushButton>(m, "Button1")->click();
  ASSERT_FALSE(p.bar().isHidden());
  EXPECT_EQ(p.bar().TimeSlider->maximum(), 2);
  EXPECT_DOUBLE_EQ(p.P(3, 2), 5.0);
  EXPECT_EQ(p.bar().TimeLabel->text(), "s1.dat (1 / 3)");
  Control<QAction>(m, "Menu_Rescale")->trigger();
  const ViewTransform fitted = m.scene.view;
  const QImage first = p.view().Picture();

  p.bar().TimeSlider->setValue(2);  // as a released slider gives it
  EXPECT_DOUBLE_EQ(p.P(3, 2), 15.0);
  EXPECT_EQ((std::vector<double>{m.scene.view.CentreX, m.scene.view.ScaleX}), (std::vector<double>{fitted.CentreX, fitted.ScaleX}));
  EXPECT_EQ(p.view().Picture().size(), first.size());
  EXPECT_EQ(m.scene.fieldView.ContourMax[0], 15.0);  // the frame's own range

  p.bar().SeriesSameRange->click();
  EXPECT_EQ(m.scene.fieldView.ContourMax[0], 15.0);
  p.bar().TimeSlider->setValue(0);
  EXPECT_DOUBLE_EQ(p.P(3, 2), 5.0);
  EXPECT_EQ(std::pair(m.scene.fieldView.ContourMin[0], m.scene.fieldView.ContourMax[0]), std::pair(0.0, 15.0));  // the range of the whole series

  // A single file without times is an ordinary load again.
  p.Select({"s2.dat"});
  Control<QPushButton>(m, "Button1")->click();
  EXPECT_TRUE(p.bar().isHidden());
  EXPECT_TRUE(p.messages.warnings.empty());
}

TEST_F(SeriesWindow, SolutionTimesOfOneFilePlayToTheEnd) {
  p.Select({"timed.tec"});
  Control<QPushButton>(m, "Button1")->click();
  ASSERT_FALSE(p.bar().isHidden());
  EXPECT_EQ(p.bar().TimeLabel->text(), "t = 1 (1 / 3)");
  Control<QAction>(m, "Menu_Redraw")->trigger();
  p.bar().frameMs = 0;
  p.bar().PlayButton->click();
  QElapsedTimer clock;
  clock.start();
  while (p.bar().Playing() && clock.elapsed() < 20000) QCoreApplication::processEvents();
  EXPECT_FALSE(p.bar().Playing());
  EXPECT_EQ(p.bar().TimeSlider->value(), 2);
  EXPECT_DOUBLE_EQ(p.P(3, 2), 20.0);
  EXPECT_EQ(p.bar().TimeLabel->text(), "t = 4 (3 / 3)");
}

}  // namespace
}  // namespace corvane
