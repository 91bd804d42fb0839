// The plot window driven like a user: resize, zoom by click and drag, panning with the arrow
// keys, the coordinate and value readout, and saving the picture.
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <gtest/gtest.h>

#include "MainWindowTestSupport.h"

namespace corvane {
namespace {

using namespace corvane::testing;

// A program whose plot window has a 520 x 320 picture and one drawing behind it.
struct DrawnProgram : SizedProgram {
  DrawnProgram() { main().Redraw(); }
  QWidget* image() { return view().Image1; }
};

TEST(ViewWindowResize, PictureFollowsClientAreaAndPickingStops) {
  StartedProgram p;
  p.view().show();
  p.view().PickingPoint1 = true;
  p.view().resize(400, 300);
  EXPECT_EQ(p.main().view_.PictureWidth, 400);
  EXPECT_EQ(p.main().view_.PictureHeight, 281);
  EXPECT_EQ(p.main().view_.CentrePixelX, 200);
  EXPECT_EQ(p.main().view_.CentrePixelY, 140);
  EXPECT_FALSE(p.view().PickingPoint1);
}

TEST(ViewWindowZoom, ClickZoomsInLeftAndOutRightAboutThePoint) {
  DrawnProgram p;
  TForm1& m = p.main();
  ASSERT_TRUE(p.view().isEnabled());
  MouseClick(p.image(), Qt::LeftButton, QPoint(260, 160));
  EXPECT_EQ(m.view_.ScaleX, 2.0);
  EXPECT_EQ(m.view_.ScaleY, 2.0);
  EXPECT_EQ(m.view_.CentreX, 0.0);
  EXPECT_EQ(m.xscalebox->text(), QStringLiteral("2"));
  MouseClick(p.image(), Qt::RightButton, QPoint(280, 160));
  EXPECT_EQ(m.view_.ScaleX, 1.0);
  EXPECT_EQ(m.view_.CentreX, 10.0);  // 20 pixels right at scale 2
  EXPECT_EQ(m.x0box->text(), QStringLiteral("10"));
  EXPECT_FALSE(p.view().Shape1->isVisible());
}

TEST(ViewWindowZoom, DragInAnyDirectionFitsTheRectangle) {
  for (bool reversed : {false, true}) {
    DrawnProgram p;
    TForm1& m = p.main();
    m.XYSameScale->setChecked(false);
    QPoint a(100, 50), b(300, 250);
    if (reversed) std::swap(a, b);
    MouseEvent(p.image(), QEvent::MouseButtonPress, Qt::LeftButton, a, Qt::LeftButton);
    MouseEvent(p.image(), QEvent::MouseMove, Qt::NoButton, b, Qt::LeftButton);
    EXPECT_EQ(p.view().Shape1->geometry(), QRect(100, 50, 200, 200));
    MouseEvent(p.image(), QEvent::MouseButtonRelease, Qt::LeftButton, b);
    EXPECT_DOUBLE_EQ(m.view_.ScaleX, 500.0 / 200.0);
    EXPECT_DOUBLE_EQ(m.view_.ScaleY, 300.0 / 200.0);
    EXPECT_DOUBLE_EQ(m.view_.CentreX, 200.0 - 260.0);
    EXPECT_DOUBLE_EQ(m.view_.CentreY, 160.0 - 150.0);
    EXPECT_EQ(m.xscalebox->text(), QStringLiteral("2.5"));
    EXPECT_EQ(m.yscalebox->text(), QStringLiteral("1.5"));
  }
}

TEST(ViewWindowPan, ShiftArrowMovesTheCentreUntilReleasedAndLeavesTheBoxes) {
  DrawnProgram p;
  TForm1& m = p.main();
  m.view_.ScaleX = 2.0;
  p.view().panFrameMs = 5;
  QTimer::singleShot(60, [&] {
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::ShiftModifier);
    QCoreApplication::sendEvent(&p.view(), &release);
  });
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::ShiftModifier);
  QCoreApplication::sendEvent(&p.view(), &press);
  EXPECT_FALSE(p.view().PanKeyHeld);
  EXPECT_GT(m.view_.CentreX, 0.0);
  double frames = m.view_.CentreX / (20.0 / 2.0);
  EXPECT_DOUBLE_EQ(frames, std::round(frames));
  EXPECT_EQ(m.view_.CentreY, 0.0);
  EXPECT_EQ(m.x0box->text(), QStringLiteral("0.0"));
  EXPECT_FALSE(m.Busy());
}

TEST(ViewWindowReadout, WorldPointAndValueUnderTheCursor) {
  DrawnProgram p;
  TForm1& m = p.main();
  MouseEvent(p.image(), QEvent::MouseMove, Qt::NoButton, QPoint(383, 155));
  EXPECT_EQ(p.view().PanelText(0), QStringLiteral("x = 1.2300E+2"));
  EXPECT_EQ(p.view().PanelText(1), QStringLiteral("y = 5.0000E+0"));
  EXPECT_EQ(p.view().PanelText(2), QStringLiteral("-----"));
  m.BrushCheck->setChecked(true);
  m.readout_.ReadoutMax = 10.0;
  m.readout_.ReadoutMin = 0.0;
  QImage green(520, 320, QImage::Format_RGB32);
  green.fill(QColor(0, 255, 0));
  p.view().SetPicture(green);
  MouseEvent(p.image(), QEvent::MouseMove, Qt::NoButton, QPoint(10, 10));
  EXPECT_EQ(p.view().PanelText(2), QStringLiteral("5.0000E+0"));
  m.GrayMap2->setChecked(true);
  MouseEvent(p.image(), QEvent::MouseMove, Qt::NoButton, QPoint(10, 10));
  EXPECT_EQ(p.view().PanelText(2), QStringLiteral("-----"));
  EXPECT_EQ(FormatReadoutNumber(0.005), QStringLiteral("5.0000E-3"));
  EXPECT_EQ(FormatReadoutNumber(-123456.0), QStringLiteral("-1.2346E+5"));
}

TEST(ViewWindowPicking, ReleaseWritesThePointInsteadOfZooming) {
  DrawnProgram p;
  TForm1& m = p.main();
  p.view().PickingPoint2 = true;
  MouseClick(p.image(), Qt::LeftButton, QPoint(270, 150));
  EXPECT_EQ(m.P2y->text(), QStringLiteral("10"));
  MouseClick(p.image(), Qt::LeftButton, QPoint(270, 160));
  EXPECT_EQ(m.P2x->text(), QStringLiteral("10"));
  EXPECT_EQ(m.P2y->text(), QStringLiteral("0"));
  EXPECT_EQ(m.view_.ScaleX, 1.0);
}

TEST(ViewWindowSave, ShownPictureIsSavedByExtension) {
  DrawnProgram p;
  QDir d(p.dir.path());
  EXPECT_TRUE(p.view().SavePictureTo(d.filePath("b.Bmp")));
  EXPECT_EQ(QImage(d.filePath("b.Bmp")).size(), QSize(520, 320));
  EXPECT_FALSE(p.view().SavePictureTo(d.filePath("d.jpeg")));
  EXPECT_FALSE(QFileInfo::exists(d.filePath("d.jpeg")));
}

}  // namespace
}  // namespace corvane
