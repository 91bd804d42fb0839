// Loading a data file through the file tab and drawing it with the menu commands.

#include "MainWindowTestSupport.h"

namespace corvane {
namespace {

using namespace corvane::testing;

using MainWindowLoad = ProgramTest<LoadedProgram>;

TEST_F(MainWindowLoad, ApplyFillsVariablesSelectorsZonesAndRange) {
  ASSERT_TRUE(p.messages.warnings.empty()) << p.messages.warnings[0];
  EXPECT_EQ(Control<RadioGroupWidget>(m, "RGroup")->Items(), (QStringList{"U", "V", "T", "P"}));
  EXPECT_EQ(Control<RadioGroupWidget>(m, "RGroup")->ItemIndex(), 0);
  EXPECT_EQ(Control<QComboBox>(m, "xvecbox")->currentText() + Control<QComboBox>(m, "prsBox")->currentText(), QStringLiteral("UP"));
  EXPECT_EQ((std::vector<std::size_t>{std::size_t(Control<QComboBox>(m, "ZoneSelect")->count()), std::size_t(Control<QComboBox>(m, "P2Zone")->count()), m.scene.fieldView.Boundaries.size()}),
            (std::vector<std::size_t>{3, 3, 3}));
  EXPECT_EQ(Control<QLineEdit>(m, "MinBox")->text() + ".." + Control<QLineEdit>(m, "MaxBox")->text(), QStringLiteral("100..130"));  // U = 100 + 10 x, x up to 3
  Control<RadioGroupWidget>(m, "RGroup")->SetItemIndex(3);
  EXPECT_EQ(Control<QLineEdit>(m, "MaxBox")->text(), QStringLiteral("1042"));
  EXPECT_EQ(m.scene.view.ScaleX, 1.0);  // loading neither rescales nor draws
  EXPECT_FALSE(m.state.ScenePictureValid);
}

TEST_F(MainWindowLoad, VelocitySwitchAddsAndRemovesTheDerivedItemsOnceAndTheDataTabNamesTheirColumns) {
  QLabel* named = Control<QLabel>(m, "DerivedColumnsLabel");
  EXPECT_TRUE(named->text().isEmpty());  // no velocity data, no derived rows
  Control<QCheckBox>(m, "IncludeVelCheck")->setChecked(true);
  EXPECT_EQ(named->text(), QString::fromUtf8("マッハ数・全圧の計算に使う列: x方向速度 \"U\", ｙ方向速度 \"V\", 温度 \"T\", 圧力 \"P\""));
  EXPECT_EQ(Control<RadioGroupWidget>(m, "RGroup")->Items(), (QStringList{"U", "V", "T", "P", "マッハ数", "全圧", "渦度", "速さ"}));
  EXPECT_TRUE(Control<QCheckBox>(m, "ShowVec")->isEnabled());
  Control<QCheckBox>(m, "DrawStreamLineCheck")->setChecked(true);
  Control<QCheckBox>(m, "IncludeVelCheck")->setChecked(false);
  EXPECT_EQ(Control<RadioGroupWidget>(m, "RGroup")->Count(), 4);
  EXPECT_FALSE(Control<QCheckBox>(m, "DrawStreamLineCheck")->isChecked());
  Control<QCheckBox>(m, "IncludeVelCheck")->setChecked(true);
  EXPECT_EQ(Control<RadioGroupWidget>(m, "RGroup")->Count(), 8);
  // A wrong column for the temperature is doubted.
  Control<QComboBox>(m, "tmpbox")->setCurrentIndex(3);
  EXPECT_TRUE(named->text().contains(QString::fromUtf8("注意: 温度として使う列 \"P\""))) << named->text().toStdString();
  // The window starts with the fixed line colour unchosen, so on white it is drawn black.
  EXPECT_FALSE(m.scene.options.contour.lineColourChosen);
}

TEST_F(MainWindowLoad, ZoneEdgeBoxesEditTheSelectedZoneOrAll) {
  Control<QComboBox>(m, "ZoneSelect")->setCurrentIndex(1);
  Control<QCheckBox>(m, "Showi0")->setChecked(false);
  EXPECT_EQ(std::pair(m.scene.fieldView.Boundaries[0].i0, m.scene.fieldView.Boundaries[1].i0), std::pair(true, false));
  Control<QComboBox>(m, "ZoneSelect")->setCurrentIndex(0);
  EXPECT_TRUE(Control<QCheckBox>(m, "Showi0")->isChecked());
  EXPECT_FALSE(m.scene.fieldView.Boundaries[1].i0);  // selecting a zone writes no flags
  Control<QCheckBox>(m, "SyncroArea")->setChecked(true);
  Control<QCheckBox>(m, "showjmax")->setChecked(false);
  for (const BoundaryFlags& f : m.scene.fieldView.Boundaries) EXPECT_FALSE(f.jmax);
  EXPECT_TRUE(m.scene.fieldView.Boundaries[1].i0);  // all four boxes are copied, not only the clicked one
}

TEST_F(MainWindowLoad, RescaleDrawsAndShowsTheFittedView) {
  Control<QAction>(m, "Menu_Rescale")->trigger();
  ASSERT_TRUE(p.messages.warnings.empty()) << p.messages.warnings[0];
  EXPECT_EQ(std::pair(m.scene.view.ScaleX, m.scene.view.ScaleY), std::pair(70.0, 70.0));  // 280 pixels over 4 units
  EXPECT_EQ(Control<QLineEdit>(m, "x0box")->text() + "," + Control<QLineEdit>(m, "y0box")->text(), QStringLiteral("1.5,2"));
  EXPECT_TRUE(p.view().isVisible() && p.view().isEnabled());
  const QImage& shown = p.view().Picture();
  ASSERT_EQ(shown.size(), QSize(520, 320));
  // The zone boundary at x = 0 is a white column on black at pixel 260 - 1.5 * 70 = 155.
  EXPECT_EQ(std::pair(QColor(shown.pixel(155, 160)), QColor(shown.pixel(100, 160))), std::pair(QColor(Qt::white), QColor(Qt::black)));
  EXPECT_EQ(m.statusBar()->currentMessage(), QStringLiteral("描画完了"));
}

}  // namespace
}  // namespace corvane
