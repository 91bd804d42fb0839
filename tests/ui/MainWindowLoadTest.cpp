// Loading a data file through the file tab and drawing it with the menu commands.
#include <QAction>

#include "ui/LegendForm.h"
#include "ui/AboutForm.h"
#include <gtest/gtest.h>

#include "MainWindowTestSupport.h"

namespace corvane {
namespace {

using namespace corvane::testing;

TEST(MainWindowLoad, ApplyFillsVariablesSelectorsZonesAndRange) {
  LoadedProgram p;
  TForm1& m = p.main();
  ASSERT_TRUE(p.messages.warnings.empty()) << p.messages.warnings[0];
  EXPECT_EQ(m.RGroup->Items(), (QStringList{"U", "V", "T", "P"}));
  EXPECT_EQ(m.RGroup->ItemIndex(), 0);
  EXPECT_EQ(m.xvecbox->currentText(), QStringLiteral("U"));
  EXPECT_EQ(m.prsBox->currentText(), QStringLiteral("P"));
  EXPECT_EQ(m.ZoneSelect->count(), 3);
  EXPECT_EQ(m.P2Zone->count(), 3);
  EXPECT_EQ(m.data_.Boundaries.size(), 3u);
  EXPECT_EQ(m.MaxBox->text(), QStringLiteral("130"));  // U = 100 + 10 x, x up to 3
  EXPECT_EQ(m.MinBox->text(), QStringLiteral("100"));
  m.RGroup->SetItemIndex(3);
  EXPECT_EQ(m.MaxBox->text(), QStringLiteral("1042"));
  EXPECT_EQ(m.view_.ScaleX, 1.0);  // loading neither rescales nor draws
  EXPECT_FALSE(m.ScenePictureValid);
}

TEST(MainWindowLoad, VelocitySwitchAddsAndRemovesTheDerivedItemsOnce) {
  LoadedProgram p;
  TForm1& m = p.main();
  m.IncludeVelCheck->setChecked(true);
  EXPECT_EQ(m.RGroup->Count(), 6);
  EXPECT_EQ(m.RGroup->Items().last(), QStringLiteral("全圧"));
  EXPECT_TRUE(m.ShowVec->isEnabled());
  m.DrawStreamLineCheck->setChecked(true);
  m.IncludeVelCheck->setChecked(false);
  EXPECT_EQ(m.RGroup->Count(), 4);
  EXPECT_FALSE(m.DrawStreamLineCheck->isChecked());
  m.IncludeVelCheck->setChecked(true);
  EXPECT_EQ(m.RGroup->Count(), 6);
}

TEST(MainWindowLoad, ZoneEdgeBoxesEditTheSelectedZoneOrAll) {
  LoadedProgram p;
  TForm1& m = p.main();
  m.ZoneSelect->setCurrentIndex(1);
  m.Showi0->setChecked(false);
  EXPECT_FALSE(m.data_.Boundaries[1].i0);
  EXPECT_TRUE(m.data_.Boundaries[0].i0);
  m.ZoneSelect->setCurrentIndex(0);
  EXPECT_TRUE(m.Showi0->isChecked());
  EXPECT_FALSE(m.data_.Boundaries[1].i0);  // selecting a zone writes no flags
  m.SyncroArea->setChecked(true);
  m.showjmax->setChecked(false);
  for (const BoundaryFlags& f : m.data_.Boundaries) EXPECT_FALSE(f.jmax);
  EXPECT_TRUE(m.data_.Boundaries[1].i0);  // all four boxes are copied, not only the clicked one
}

TEST(MainWindowLoad, RescaleDrawsAndShowsTheFittedView) {
  LoadedProgram p;
  TForm1& m = p.main();
  m.Menu_Rescale->trigger();
  ASSERT_TRUE(p.messages.warnings.empty()) << p.messages.warnings[0];
  EXPECT_DOUBLE_EQ(m.view_.ScaleX, 70.0);  // 280 pixels over 4 units, both axes alike
  EXPECT_DOUBLE_EQ(m.view_.ScaleY, 70.0);
  EXPECT_EQ(m.x0box->text(), QStringLiteral("1.5"));
  EXPECT_EQ(m.y0box->text(), QStringLiteral("2"));
  EXPECT_TRUE(p.view().isVisible());
  EXPECT_TRUE(p.view().isEnabled());
  const QImage& shown = p.view().Picture();
  ASSERT_EQ(shown.size(), QSize(520, 320));
  // The zone boundary at x = 0 is a white column on black at pixel 260 - 1.5 * 70 = 155.
  EXPECT_EQ(QColor(shown.pixel(155, 160)), QColor(Qt::white));
  EXPECT_EQ(QColor(shown.pixel(100, 160)), QColor(Qt::black));
  EXPECT_EQ(m.StatusBar1->currentMessage(), QStringLiteral("ビットマップ転送完了.描画完了."));
}

TEST(MainWindowLoad, LoadArrivingDuringAnotherCommandIsRefused) {
  StartedProgram p;
  TForm1& m = p.main();
  ASSERT_TRUE(m.SelectFile(TestFile("three_zones.dat")));
  ASSERT_TRUE(m.TryBeginCommand());
  EXPECT_FALSE(m.LoadFile(TestFile("three_zones.dat")));
  EXPECT_TRUE(m.data_.Empty());
  m.EndCommand();
  EXPECT_TRUE(m.LoadFile(TestFile("three_zones.dat")));
  EXPECT_FALSE(m.data_.Empty());
}

TEST(MainWindowOtherWindows, MenusAndButtonsReachLegendAndAbout) {
  StartedProgram p;
  TForm1& m = p.main();
  m.Button4->click();
  ASSERT_NE(m.LegendForm, nullptr);
  EXPECT_TRUE(static_cast<QWidget*>(m.LegendForm)->isVisible());
  m.Menu_Version->trigger();
  EXPECT_TRUE(static_cast<QWidget*>(m.AboutForm)->isVisible());
}

}  // namespace
}  // namespace corvane
