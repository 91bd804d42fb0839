// The formula controls and the 分布図 window, driven by their control names as a user would.

#include "MainWindowTestSupport.h"
#include "ui/ProfileWindow.h"

namespace corvane {
namespace {

using testing::Control;
using testing::KeyClick;
using testing::LoadedProgram;
using testing::ProgramTest;
using ProfileWindowTest = ProgramTest<LoadedProgram>;

TEST_F(ProfileWindowTest, AFormulaBecomesAVariableThatAReloadKeepsAndTheListFollowsTheKeptOnes) {
  RadioGroupWidget* rgroup = Control<RadioGroupWidget>(m, "RGroup");
  const int before = rgroup->Count();
  QLineEdit* box = Control<QLineEdit>(m, "FormulaBox");
  QComboBox* kept = Control<QComboBox>(m, "FormulaList");
  box->setText(QStringLiteral("W = U + 2 * P"));
  Control<QPushButton>(m, "FormulaButton")->click();
  ASSERT_TRUE(p.messages.warnings.empty()) << p.messages.warnings[0];
  EXPECT_TRUE(rgroup->Count() == before + 1 && rgroup->Items().value(4) == QStringLiteral("W"));
  EXPECT_TRUE(kept->count() == 1 && box->text().isEmpty());
  // A bad one is named with its place and adds nothing.
  box->setText(QStringLiteral("Z = U + nope"));
  Control<QPushButton>(m, "FormulaButton")->click();
  ASSERT_EQ(p.messages.warnings.size(), 1u);
  EXPECT_TRUE(p.messages.warnings[0].find("\"nope\"") != std::string::npos &&
              p.messages.warnings[0].find("5 文字目") != std::string::npos)
      << p.messages.warnings[0];
  EXPECT_TRUE(rgroup->Count() == before + 1 && kept->count() == 1);
  // The same layout loaded again has W, computed afresh.
  rgroup->SetItemIndex(4);
  Control<QPushButton>(m, "Button1")->click();
  EXPECT_TRUE(rgroup->Items().value(4) == QStringLiteral("W") && rgroup->Count() == before + 1);
  EXPECT_EQ(rgroup->ItemIndex(), 4);
  const std::int32_t n = NodeIndex(m.scene.data, 1, 1, 2);  // x = 3, y = 2
  EXPECT_DOUBLE_EQ(m.scene.data.Values[4][static_cast<std::size_t>(n)], 130 + 2 * 1023.0);
  // Deleted, it leaves the list and the data set.
  kept->setCurrentIndex(0);
  Control<QPushButton>(m, "FormulaDelButton")->click();
  EXPECT_TRUE(rgroup->Count() == before && m.scene.data.ColumnCount == 6 && m.Options().load.formulas.empty());

  // The list shows the kept formulas: a new one is chosen, and after a deletion the line that
  // took its place (or the one before, at the end) is.
  for (const char* f : {"A = U", "B = P", "C = U + P"}) {
    box->setText(QString::fromLatin1(f));
    KeyClick(box, Qt::Key_Return);
  }
  ASSERT_EQ(std::pair(kept->count(), kept->currentIndex()), std::pair(3, 2));
  kept->setCurrentIndex(1);
  Control<QPushButton>(m, "FormulaDelButton")->click();
  EXPECT_EQ(std::pair(kept->count(), kept->currentText()), std::pair(2, QStringLiteral("C = U + P")));
  Control<QPushButton>(m, "FormulaDelButton")->click();
  EXPECT_EQ(std::pair(kept->count(), kept->currentText()), std::pair(1, QStringLiteral("A = U")));
  EXPECT_EQ(m.Options().load.formulas, std::vector<std::string>{"A = U"});
  EXPECT_EQ(m.scene.data.VariableNames.back(), "A");
}

TEST_F(ProfileWindowTest, CurvesAlongAWallAndTheSegmentArePlottedAndSaved) {
  ProfileWindow* f = m.profileWindow;
  ASSERT_TRUE(f && !f->isVisible());
  Control<QPushButton>(m, "ProfileButton")->click();
  ASSERT_TRUE(f && f->isVisible());
  EXPECT_EQ(std::pair(f->objectName(), f->windowTitle()), std::pair(QStringLiteral("ProfileForm"), QStringLiteral("分布図")));
  auto* line = f->findChild<QLineEdit*>(QStringLiteral("ProfileLineText"));
  auto* variable = f->findChild<QComboBox*>(QStringLiteral("ProfileVariable"));
  auto* add = f->findChild<QPushButton*>(QStringLiteral("ProfileAddCurve"));
  ASSERT_TRUE(line && variable && add);
  // The boxes build the text of the pieces: zone 0, j = 0, then zone 1, j = 0.
  f->ProfileAddPiece->click();
  f->ProfileZone->setCurrentIndex(1);
  f->ProfileAddPiece->click();
  EXPECT_EQ(line->text(), QStringLiteral("0:j=0,1:j=0"));
  variable->setCurrentIndex(variable->findText(QStringLiteral("U")));
  add->click();
  ASSERT_EQ(f->Curves().size(), 1u);
  const ProfileSet& wall = f->Curves()[0].set;
  EXPECT_EQ(wall.profile.x, (std::vector<double>{0, 1, 2, 3}));
  EXPECT_EQ(ProfileColumn(wall, "U"), (std::vector<double>{100, 110, 120, 130}));

  // The segment of the analysis tab, typed there.
  for (auto [name, value] : {std::pair{"P1Direct", "1"}, {"P1x", "0.5"}, {"P1y", "1.5"}, {"P2Direct", "1"}, {"P2x", "2.5"}, {"P2y", "1.5"}})
    ASSERT_TRUE(m.settings().ApplyControlValue(name, value)) << name;
  f->ProfileSegmentLine->setChecked(true);
  EXPECT_FALSE(line->isEnabled());
  variable->setCurrentIndex(variable->findText(QStringLiteral("P")));
  add->click();
  ASSERT_EQ(f->Curves().size(), 2u) << (p.messages.warnings.empty() ? "" : p.messages.warnings[0]);
  EXPECT_EQ(ProfileColumn(f->Curves()[1].set, "P"), (std::vector<double>{1016, 1017}));
  f->ProfilePickP2->click();  // the next clicks in the plot window move point 2
  EXPECT_TRUE(Control<QCheckBox>(m, "P2ByClick")->isChecked() && m.plotWindow->PickingPoint2);
  f->ProfileReverseY->setChecked(true);
  const PlotSpec figure = f->CurrentSpec();
  EXPECT_TRUE(figure.reverseY);
  // U and P differ a thousandfold: P is read on the right-hand axis.
  EXPECT_EQ(std::pair(figure.yTitle, figure.yTitle2), std::pair(std::string("U"), std::string("P")));
  EXPECT_TRUE(!figure.curves[0].right && figure.curves[1].right);
  EXPECT_EQ(figure.curves[0].x, (std::vector<double>{0, 1, 2, 3}));  // against x

  QTemporaryDir dir;
  for (const char* name : {"c.csv", "c.png", "c.svg", "c.pdf"}) {
    f->AskSavePath = [&] { return dir.filePath(name); };
    f->ProfileSaveButton->click();
    EXPECT_GT(testing::ReadFile(dir.filePath(name)).size(), 20) << name;
  }
  EXPECT_TRUE(testing::ReadFile(dir.filePath("c.csv")).startsWith("curve,s,x,y,U,P\n1,0,0,0,100,"));
  f->ProfileRemoveCurve->click();
  EXPECT_EQ(f->Curves().size(), 1u);
  f->ProfileClearCurves->click();
  EXPECT_TRUE(f->Curves().empty() && p.messages.warnings.empty());
}

// The wall picked by clicks on the picture: the line under the cursor is drawn over it, each
// click adds the nearest grid line, and the legend names file, line and variable in words.
TEST_F(ProfileWindowTest, AClickNearAZoneEdgeAddsThatLineAndTheLegendSaysItInWords) {
  ProfileWindow* f = m.profileWindow;
  Control<QAction>(m, "Menu_Rescale")->trigger();
  Control<QPushButton>(m, "ProfileButton")->click();
  f->ProfilePickLine->click();
  PlotWindow& plot = *m.plotWindow;
  ASSERT_TRUE(plot.PickingLine && plot.isVisible());
  const ViewTransform& v = m.scene.view;
  auto at = [&](double x, double y) { return QPoint(v.WorldToPixelX(x), v.WorldToPixelY(y)); };
  const double scale = m.scene.view.ScaleX;
  testing::MouseEvent(plot.pictureView, QEvent::MouseMove, Qt::NoButton, at(0.5, 0.1));
  ASSERT_EQ(plot.pictureView->highlights.size(), 1u);  // the line under the cursor
  EXPECT_EQ(plot.pictureView->highlights[0].points.size(), 3u);
  testing::MouseClick(plot.pictureView, Qt::LeftButton, at(0.5, 0.1));   // zone 0, j = 0
  testing::MouseClick(plot.pictureView, Qt::LeftButton, at(2.5, -0.05)); // zone 1, j = 0
  EXPECT_EQ(f->ProfileLineText->text(), QStringLiteral("0:j=0,1:j=0"));
  EXPECT_EQ(m.scene.view.ScaleX, scale);  // picking clicks do not zoom
  EXPECT_EQ(plot.pictureView->highlights.size(), 2u);  // the line so far and the one under the cursor
  f->ProfileVariable->setCurrentIndex(f->ProfileVariable->findText(QStringLiteral("U")));
  f->ProfileAddCurve->click();
  ASSERT_EQ(f->Curves().size(), 1u);
  EXPECT_EQ(ProfileColumn(f->Curves()[0].set, "U"), (std::vector<double>{100, 110, 120, 130}));
  EXPECT_EQ(f->CurrentSpec().curves[0].label, "three_zones 領域 0, 1 の j = 0 の線 U");
  // Done: clicks zoom again and nothing is drawn over the picture.
  f->ProfilePickLine->click();
  EXPECT_TRUE(!plot.PickingLine && plot.pictureView->highlights.empty());
  // These zones enclose no body: said, and the line stays.
  f->ProfileBodyWalls->click();
  ASSERT_EQ(p.messages.warnings.size(), 1u);
  EXPECT_EQ(f->ProfileLineText->text(), QStringLiteral("0:j=0,1:j=0"));
}

TEST(ProfileSettings, AFormulaLineOfTheSettingsFileIsKeptForTheLoads) {
  testing::StartedProgram p("FORMULA\nD = U - 100\n");
  EXPECT_EQ(Control<QComboBox>(p.main(), "FormulaList")->count(), 1);
  ASSERT_TRUE(p.main().fileTab().SelectFile(testing::TestFile("three_zones.dat")));
  Control<QPushButton>(p.main(), "Button1")->click();
  EXPECT_EQ(Control<RadioGroupWidget>(p.main(), "RGroup")->Items().value(4), QStringLiteral("D"));
}

}  // namespace
}  // namespace corvane
