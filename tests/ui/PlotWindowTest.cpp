// The plot window driven like a user: resize, zoom by click and drag, panning with the arrow
// keys and the coordinate and value readout.

#include "MainWindowTestSupport.h"
#include "TestImages.h"

namespace corvane {
namespace {

using namespace corvane::testing;

// A program whose plot window has a 520 x 320 picture and one drawing behind it.
struct DrawnProgram : SizedProgram {
  DrawnProgram() { main().Redraw(); }
  QWidget* image() { return view().pictureView; }
};

// Scale x and y and centre x and y of the main window's view.
std::vector<double> ScaleAndCentre(const MainWindow& m) {
  return {m.scene.view.ScaleX, m.scene.view.ScaleY, m.scene.view.CentreX, m.scene.view.CentreY};
}

using ViewWindowResize = ProgramTest<StartedProgram>;

TEST_F(ViewWindowResize, PictureFollowsClientAreaAndPickingStops) {
  p.view().show();
  p.view().PickingPoint1 = true;
  p.view().resize(400, 300);
  const ViewTransform& v = p.main().scene.view;
  EXPECT_EQ((std::vector<int>{v.PictureWidth, v.PictureHeight, v.CentrePixelX, v.CentrePixelY}), (std::vector<int>{400, 281, 200, 140}));
  EXPECT_FALSE(p.view().PickingPoint1);
}

using PlotWindowTest = ProgramTest<DrawnProgram>;

TEST_F(PlotWindowTest, ClickZoomsInLeftAndOutRightAboutThePoint) {
  ASSERT_TRUE(p.view().isEnabled());
  MouseClick(p.image(), Qt::LeftButton, QPoint(260, 160));
  EXPECT_EQ(ScaleAndCentre(m), (std::vector<double>{2.0, 2.0, 0.0, 0.0}));
  EXPECT_EQ(Control<QLineEdit>(m, "xscalebox")->text(), QStringLiteral("2"));
  MouseClick(p.image(), Qt::RightButton, QPoint(280, 160));
  EXPECT_EQ(ScaleAndCentre(m), (std::vector<double>{1.0, 1.0, 10.0, 0.0}));  // 20 pixels right at scale 2
  EXPECT_EQ(Control<QLineEdit>(m, "x0box")->text(), QStringLiteral("10"));
  EXPECT_FALSE(p.view().zoomRectangle->isVisible());
}

TEST(ViewWindowZoom, DragInAnyDirectionFitsTheRectangle) {
  for (bool reversed : {false, true}) {
    DrawnProgram p;
    MainWindow& m = p.main();
    Control<QCheckBox>(m, "XYSameScale")->setChecked(false);
    QPoint a(100, 50), b(300, 250);
    if (reversed) std::swap(a, b);
    MouseEvent(p.image(), QEvent::MouseButtonPress, Qt::LeftButton, a, Qt::LeftButton);
    MouseEvent(p.image(), QEvent::MouseMove, Qt::NoButton, b, Qt::LeftButton);
    EXPECT_EQ(p.view().zoomRectangle->geometry(), QRect(100, 50, 200, 200));
    MouseEvent(p.image(), QEvent::MouseButtonRelease, Qt::LeftButton, b);
    EXPECT_EQ(ScaleAndCentre(m), (std::vector<double>{500.0 / 200.0, 300.0 / 200.0, 200.0 - 260.0, 160.0 - 150.0}));
    EXPECT_EQ(Control<QLineEdit>(m, "xscalebox")->text() + Control<QLineEdit>(m, "yscalebox")->text(), QStringLiteral("2.51.5"));
  }
}

TEST_F(PlotWindowTest, ShiftArrowMovesTheCentreUntilReleasedAndLeavesTheBoxes) {
  m.scene.view.ScaleX = 2.0;
  p.view().panFrameMs = 5;
  QTimer::singleShot(60, [&] {
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::ShiftModifier);
    QCoreApplication::sendEvent(&p.view(), &release);
  });
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::ShiftModifier);
  QCoreApplication::sendEvent(&p.view(), &press);
  EXPECT_FALSE(p.view().PanKeyHeld);
  EXPECT_GT(m.scene.view.CentreX, 0.0);
  double frames = m.scene.view.CentreX / (20.0 / 2.0);
  EXPECT_DOUBLE_EQ(frames, std::round(frames));
  EXPECT_EQ(m.scene.view.CentreY, 0.0);
  EXPECT_EQ(Control<QLineEdit>(m, "x0box")->text(), QStringLiteral("0.0"));
  EXPECT_FALSE(m.Busy());
}

TEST_F(PlotWindowTest, ReadoutShowsWorldPointAndValueUnderTheCursor) {
  MouseEvent(p.image(), QEvent::MouseMove, Qt::NoButton, QPoint(383, 155));
  EXPECT_EQ((QStringList{p.view().PanelText(0), p.view().PanelText(1), p.view().PanelText(2)}),
            (QStringList{"x = 1.2300E+2", "y = 5.0000E+0", "-----"}));
  Control<QCheckBox>(m, "BrushCheck")->setChecked(true);
  m.scene.readout.ReadoutMax = 10.0, m.scene.readout.ReadoutMin = 0.0;
  p.view().SetPicture(FilledImage(520, 320, QColor(0, 255, 0)));
  // A band under the cursor reads back; the background (no band drawn there) is blank.
  m.scene.bandCoverage = QImage(520, 320, QImage::Format_Grayscale8);
  m.scene.bandCoverage.fill(255);
  m.scene.bandCoverage.scanLine(10)[20] = 0;
  MouseEvent(p.image(), QEvent::MouseMove, Qt::NoButton, QPoint(10, 10));
  EXPECT_EQ(p.view().PanelText(2), QStringLiteral("5.0000E+0"));
  MouseEvent(p.image(), QEvent::MouseMove, Qt::NoButton, QPoint(20, 10));
  EXPECT_EQ(p.view().PanelText(2), QString());
  Control<QRadioButton>(m, "GrayMap2")->setChecked(true);
  MouseEvent(p.image(), QEvent::MouseMove, Qt::NoButton, QPoint(10, 10));
  EXPECT_EQ(p.view().PanelText(2), QStringLiteral("-----"));
  EXPECT_EQ(FormatReadoutNumber(0.005), QStringLiteral("5.0000E-3"));
  EXPECT_EQ(FormatReadoutNumber(-123456.0), QStringLiteral("-1.2346E+5"));
}

TEST_F(PlotWindowTest, PickingReleaseWritesThePointInsteadOfZooming) {
  p.view().PickingPoint2 = true;
  MouseClick(p.image(), Qt::LeftButton, QPoint(270, 150));
  EXPECT_EQ(Control<QLineEdit>(m, "P2y")->text(), QStringLiteral("10"));
  MouseClick(p.image(), Qt::LeftButton, QPoint(270, 160));
  EXPECT_EQ(Control<QLineEdit>(m, "P2x")->text() + "," + Control<QLineEdit>(m, "P2y")->text(), QStringLiteral("10,0"));
  EXPECT_EQ(m.scene.view.ScaleX, 1.0);
}

}  // namespace
}  // namespace corvane
