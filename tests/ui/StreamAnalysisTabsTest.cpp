// The tabs "流線" and "解析" driven through their controls: the seed list, the segment end
// points, the quick segment on the plot window and the analysis run.

#include "MainWindowTestSupport.h"

namespace corvane {
namespace {

using namespace corvane::testing;

// The loaded program with the opened documents recorded and the seed list read by cell.
struct TabsProgram : LoadedProgram {
  TabsProgram() { main().dialogs.OpenDocument = [this](const QString& path) {
      opened.push_back(path);
      return true;
    }; }
  QStringList opened;

  QString Cell(int row, int column) {
    QTableWidgetItem* item = Control<QTableWidget>(main(), "StreamList")->item(row, column);
    return item ? item->text() : QString();
  }
  QStringList Row(int row) { return {Cell(row, 0), Cell(row, 1), Cell(row, 2), Cell(row, 3)}; }
  void AddSeed(int copy, int zone, int i, int j) {
    MainWindow& m = main();
    Control<QSpinBox>(m, "StreamOverbox")->setValue(copy);
    Control<QComboBox>(m, "StreamZoneSelect")->setCurrentIndex(zone);
    Control<QSpinBox>(m, "StreamIBox")->setValue(i);
    Control<QSpinBox>(m, "StreamJBox")->setValue(j);
    Control<QPushButton>(m, "StreamAddButton")->click();
  }
  QColor QuickPixel(QPoint at) { return view().pictureView->grab().toImage().pixelColor(at); }
};

using StreamTab = ProgramTest<TabsProgram>;

TEST_F(StreamTab, AddDeleteAndClearKeepTheListPacked) {
  Control<QCheckBox>(m, "StreamLineGridSelect")->setChecked(false);
  p.AddSeed(0, 0, 1, 2);
  p.AddSeed(-3, 1, 1, 0);
  p.AddSeed(7, 2, 0, 1);
  EXPECT_TRUE(Control<QCheckBox>(m, "StreamLineGridSelect")->isChecked());
  EXPECT_EQ(p.Row(2), (QStringList{"-3", "1", "1", "0"}));

  Control<QTableWidget>(m, "StreamList")->selectRow(1);
  Control<QPushButton>(m, "StreamDelButton")->click();
  EXPECT_EQ(p.Row(1), (QStringList{"-3", "1", "1", "0"}));
  EXPECT_EQ(p.Row(2), (QStringList{"7", "2", "0", "1"}));
  EXPECT_EQ(p.Row(3), (QStringList{"", "", "", ""}));

  Control<QTableWidget>(m, "StreamList")->selectRow(2);
  KeyClick(Control<QTableWidget>(m, "StreamList"), Qt::Key_Delete);
  EXPECT_EQ(m.Options().stream.StreamList.seeds, std::vector<StreamSeed>{(StreamSeed{-3, 1, 1, 0})});

  Control<QTableWidget>(m, "StreamList")->selectRow(0);  // the header row cannot be deleted
  Control<QPushButton>(m, "StreamDelButton")->click();
  EXPECT_EQ(p.Row(0)[0], QStringLiteral("重"));
  Control<QPushButton>(m, "StreamDelAllButton")->click();
  EXPECT_TRUE(m.Options().stream.StreamList.seeds.empty());
  EXPECT_EQ(p.Row(1)[0], QString());
}

using AnalysisTab = ProgramTest<TabsProgram>;

TEST_F(AnalysisTab, DirectSwitchSwapsEnabledControlsAndPickBoxesExcludeEachOther) {
  Control<QSpinBox>(m, "P1i")->setValue(2);
  Control<QCheckBox>(m, "P1Direct")->setChecked(true);
  EXPECT_EQ((std::vector<bool>{Control<QLineEdit>(m, "P1x")->isEnabled(), Control<QCheckBox>(m, "P1ByClick")->isEnabled(), Control<QComboBox>(m, "P1Zone")->isEnabled(), Control<QSpinBox>(m, "P1i")->isEnabled()}),
            (std::vector<bool>{true, true, false, false}));
  Control<QCheckBox>(m, "P2Direct")->setChecked(true);
  Control<QCheckBox>(m, "P1ByClick")->setChecked(true);
  EXPECT_TRUE(p.view().PickingPoint1);
  Control<QCheckBox>(m, "P2ByClick")->setChecked(true);
  EXPECT_EQ((std::vector<bool>{Control<QCheckBox>(m, "P1ByClick")->isChecked(), p.view().PickingPoint1, p.view().PickingPoint2}),
            (std::vector<bool>{false, false, true}));
  // Leaving typed coordinates also stops picking: the disabled box could not be unchecked.
  Control<QCheckBox>(m, "P2Direct")->setChecked(false);
  EXPECT_FALSE(p.view().PickingPoint2);
  Control<QCheckBox>(m, "P1Direct")->setChecked(false);
  EXPECT_TRUE(Control<QSpinBox>(m, "P1i")->isEnabled());
  EXPECT_EQ(Control<QSpinBox>(m, "P1i")->value(), 2);
  EXPECT_EQ(Control<QLineEdit>(m, "P1x")->text(), QStringLiteral("0.0"));

  Control<QComboBox>(m, "P1Zone")->setCurrentIndex(2);
  EXPECT_EQ(std::pair(Control<QSpinBox>(m, "P1i")->maximum(), Control<QSpinBox>(m, "P1j")->maximum()), std::pair(1, 1));
}

TEST_F(AnalysisTab, QuickSegmentLivesOnThePlotWindowOnlyAndRealOneInThePicture) {
  Control<QCheckBox>(m, "ShowContour")->setChecked(false);
  m.RescaleAndRedraw();
  ASSERT_TRUE(m.state.ScenePictureValid);
  Control<QCheckBox>(m, "P1Direct")->setChecked(true);
  Control<QCheckBox>(m, "P2Direct")->setChecked(true);
  for (auto [box, text] : {std::pair{Control<QLineEdit>(m, "P1x"), "0.2"}, {Control<QLineEdit>(m, "P1y"), "1.7"}, {Control<QLineEdit>(m, "P2x"), "2.6"}, {Control<QLineEdit>(m, "P2y"), "1.7"}}) box->setText(text);
  EXPECT_TRUE(IsPendingEdit(Control<QLineEdit>(m, "P2y")));
  KeyClick(Control<QLineEdit>(m, "P2y"), Qt::Key_Return);
  EXPECT_FALSE(IsPendingEdit(Control<QLineEdit>(m, "P2y")));
  EXPECT_FALSE(p.view().HasQuickSegment());  // ShowSegment is off

  Control<QCheckBox>(m, "ShowSegment")->setChecked(true);
  EXPECT_TRUE(Control<QPushButton>(m, "Button6")->isEnabled() && Control<QRadioButton>(m, "RealDrawSegment")->isEnabled());
  ASSERT_TRUE(p.view().HasQuickSegment());
  QPoint mid(m.scene.view.WorldToPixelX(1.4), m.scene.view.WorldToPixelY(1.7));
  EXPECT_EQ(p.QuickPixel(mid), QColor(255, 0, 0));
  EXPECT_NE(QColor(p.view().Picture().pixel(mid)), QColor(255, 0, 0));

  // A pick moves the point and draws the segment again at once.
  Control<QCheckBox>(m, "P1ByClick")->setChecked(true);
  MouseClick(p.view().pictureView, Qt::LeftButton, QPoint(mid.x(), mid.y() + 30));
  EXPECT_NE(Control<QLineEdit>(m, "P1y")->text(), QStringLiteral("1.7"));
  EXPECT_TRUE(p.view().HasQuickSegment());
  Control<QCheckBox>(m, "P1ByClick")->setChecked(false);
  Control<QLineEdit>(m, "P1y")->setText(QStringLiteral("1.7"));

  Control<QRadioButton>(m, "RealDrawSegment")->setChecked(true);
  m.Redraw();
  EXPECT_FALSE(p.view().HasQuickSegment());
  QPoint right(m.scene.view.WorldToPixelX(2.4), m.scene.view.WorldToPixelY(1.7));
  EXPECT_EQ(QColor(p.view().Picture().pixel(right)), QColor(255, 0, 0));

  Control<QRadioButton>(m, "QuickDrawSegment")->setChecked(true);
  Control<QLineEdit>(m, "P1x")->setText(QStringLiteral("abc"));
  KeyClick(Control<QLineEdit>(m, "P1x"), Qt::Key_Return);
  ASSERT_EQ(p.messages.warnings.size(), 1u);
  EXPECT_FALSE(p.view().HasQuickSegment());
}

TEST_F(AnalysisTab, RunWritesTheFileAndOpensItOnlyWhenAsked) {
  Control<QComboBox>(m, "P2Zone")->setCurrentIndex(0);
  Control<QSpinBox>(m, "P2i")->setValue(2);
  Control<QSpinBox>(m, "P2j")->setValue(1);  // node (0, 0) to (2, 1) of zone 0
  QString path = p.dir.filePath(QStringLiteral("line.dat"));
  ASSERT_TRUE(m.AnalyzeTo(path));
  EXPECT_EQ(p.opened, QStringList{path});
  EXPECT_GE(ReadFile(path).count('\n'), 3);  // a heading and samples

  Control<QCheckBox>(m, "OpenAnalyzed")->setChecked(false);
  ASSERT_TRUE(m.AnalyzeTo(path));
  EXPECT_EQ(p.opened.size(), 1);

  Control<QCheckBox>(m, "OpenAnalyzed")->setChecked(true);
  EXPECT_FALSE(m.AnalyzeTo(p.dir.filePath(QStringLiteral("no/such/folder/line.dat"))));
  EXPECT_EQ(p.messages.warnings.size(), 1u);
  EXPECT_EQ(p.opened.size(), 1);
}

}  // namespace
}  // namespace corvane
