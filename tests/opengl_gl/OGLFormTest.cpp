// The OpenGL window drawn by a real GL context (Mesa on a virtual display): pixels of each fill
// mode, key navigation, resizing, closing and showing again, and the main window's commands.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QOpenGLContext>

#include "app/MainForm.h"
#include "app/MainWindowTestSupport.h"
#include "opengl/GlData.h"
#include "opengl/OGLForm.h"
#include "render/ViewForm.h"

namespace corvane {
namespace {

using testing::GridData;

// Lets the window system deliver exposes and paints.
void Settle() {
  for (int k = 0; k < 5; ++k) QCoreApplication::processEvents();
}

// Grey level of a pixel (the grey maps give equal channels).
int Grey(const QImage& image, int x, int y) { return qRed(image.pixel(x, y)); }

int GreyOf(double value) { return RedOf(LevelColor(static_cast<float>(value), 0.0f, 10.0f, ColorMapKind::Gray1)); }

// A window over a 10 x 10 grid whose value is x, drawn in the grey map with step 1.
class GlWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!TOGLForm::OpenGLAvailable()) GTEST_SKIP() << "no OpenGL on this display";
    data = GridData(11, 11, [](double x, double) { return x; }, 1.0, 0.0, 10.0);
    options.load.AutoStepCheck = false;
    options.contour.colorMap = ColorMapKind::Gray1;
    options.display.ShowContour = true;
    options.display.BrushCheck = true;
    OGLFormHost host;
    host.data = &data;
    host.notifier = [this] { return &notifier; };
    host.options = [this] { return options; };
    host.writeViewBoxes = [this] { ++boxWrites; };
    form = std::make_unique<TOGLForm>(std::move(host));
    form->resize(300, 300);
    form->show();
    Settle();
    if (!form->context() || !form->context()->isValid()) GTEST_SKIP() << "no OpenGL context on this display";
    form->FitOrthoBox(10.0, 10.0, 0.0, 0.0);
  }

  // Builds a frame and reads it back.
  QImage Draw(bool contour = true, bool grid = false) {
    form->DrawOpenGLScene(contour, grid, false);
    Settle();
    return form->grabFramebuffer();
  }

  // Pixel of world (x, y) for the box fitted to [0, 10] in a 300-pixel window.
  static int Px(double x) { return static_cast<int>(x * 30.0); }
  static int Py(double y) { return static_cast<int>((10.0 - y) * 30.0); }

  FieldDataSet data;
  ProgramOptions options;
  RecordingNotifier notifier;
  int boxWrites = 0;
  std::unique_ptr<TOGLForm> form;
};

TEST_F(GlWindow, EachFillModeShowsTheColoursOfItsLevels) {
  options.contour.QuickFill = false;
  QImage exact = Draw();
  ASSERT_EQ(exact.width(), 300);
  // Flat bands in the colour of their upper level.
  EXPECT_EQ(Grey(exact, Px(2.5), Py(5.0)), GreyOf(3.0));
  EXPECT_EQ(Grey(exact, Px(7.5), Py(2.0)), GreyOf(8.0));
  EXPECT_EQ(Grey(exact, Px(7.7), Py(8.0)), GreyOf(8.0));

  // The smooth fill blends the node colours across each cell.
  options.contour.QuickFill = true;
  QImage smooth = Draw();
  EXPECT_NEAR(Grey(smooth, Px(2.5), Py(5.0)), (GreyOf(2.0) + GreyOf(3.0)) / 2.0, 3.0);
  EXPECT_NEAR(Grey(smooth, Px(7.5), Py(5.0)), (GreyOf(7.0) + GreyOf(8.0)) / 2.0, 3.0);

  // Lines only: background between the levels, a line near x = 3 in its level's colour.
  options.display.BrushCheck = false;
  QImage lines = Draw();
  EXPECT_EQ(Grey(lines, Px(2.5), Py(5.0)), 0);
  bool found = false;
  for (int x = Px(3.0) - 2; x <= Px(3.0) + 2; ++x) found = found || Grey(lines, x, Py(5.0)) == GreyOf(3.0);
  EXPECT_TRUE(found);

  // White background and the grid in black over it.
  options.display.WhiteBack = true;
  QImage grid = Draw(false, true);
  EXPECT_EQ(grid.pixel(Px(2.5), Py(5.5)), qRgb(255, 255, 255));
  found = false;
  for (int x = Px(3.0) - 2; x <= Px(3.0) + 2; ++x) found = found || grid.pixel(x, Py(5.5)) == qRgb(0, 0, 0);
  EXPECT_TRUE(found);
}

TEST_F(GlWindow, HeldKeysPanAndZoomUntilReleasedThenDrawTheFullFrame) {
  options.contour.QuickFill = false;
  Draw();
  // The release is waiting in the queue: the loop runs one step and ends.
  QCoreApplication::postEvent(form.get(), new QKeyEvent(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier));
  QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
  QCoreApplication::sendEvent(form.get(), &right);
  EXPECT_FALSE(form->PanKeyHeld);
  EXPECT_DOUBLE_EQ(form->Box().left, static_cast<float>(0.2));
  EXPECT_EQ(boxWrites, 1);
  bool triangles = false;
  for (const GlBatch& b : form->Frame().batches) triangles = triangles || b.mode == GlMode::Triangles;
  EXPECT_TRUE(triangles);  // the full frame came back after the grid-only previews

  QCoreApplication::postEvent(form.get(), new QKeyEvent(QEvent::KeyRelease, Qt::Key_Up, Qt::ShiftModifier));
  QKeyEvent zoomIn(QEvent::KeyPress, Qt::Key_Up, Qt::ShiftModifier);
  QCoreApplication::sendEvent(form.get(), &zoomIn);
  EXPECT_NEAR(form->Box().right - form->Box().left, 9.5, 1e-9);
  EXPECT_NEAR(form->Box().top - form->Box().bottom, 9.5, 1e-9);
  // Losing the focus ends the loop too (the release goes elsewhere); no boxes are written.
  const int writes = boxWrites;
  QCoreApplication::postEvent(form.get(), new QFocusEvent(QEvent::FocusOut));
  QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
  QCoreApplication::sendEvent(form.get(), &left);
  EXPECT_FALSE(form->PanKeyHeld);
  EXPECT_EQ(boxWrites, writes);
  // Other keys do nothing.
  QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
  QCoreApplication::sendEvent(form.get(), &other);
  EXPECT_FALSE(form->PanKeyHeld);
}

TEST_F(GlWindow, ResizeStretchesAndAClosedWindowShowsACorrectFrameAgain) {
  options.contour.QuickFill = false;
  Draw();
  // Wider window, same box: x = 2.5 now lies at a quarter of 600 pixels.
  form->resize(600, 300);
  Settle();
  QImage wide = form->grabFramebuffer();
  ASSERT_EQ(wide.width(), 600);
  EXPECT_EQ(Grey(wide, 150, Py(5.0)), GreyOf(3.0));
  EXPECT_EQ(Grey(wide, 75, Py(5.0)), GreyOf(2.0));

  form->resize(300, 300);
  form->close();
  Settle();
  EXPECT_FALSE(form->isVisible());
  form->DrawOpenGLScene(true, false, false);
  form->show();
  Settle();
  QImage again = form->grabFramebuffer();
  EXPECT_EQ(Grey(again, Px(2.5), Py(5.0)), GreyOf(3.0));
  EXPECT_EQ(Grey(again, Px(9.5), Py(5.0)), GreyOf(10.0));
}

TEST(OpenGLCommands, RescaleAndRedrawFitTheBoxAndShowTheWindow) {
  if (!TOGLForm::OpenGLAvailable()) GTEST_SKIP() << "no OpenGL on this display";
  testing::StartedProgram p;
  TForm1& m = p.main();
  m.scene.data = GridData(11, 3, [](double x, double) { return x; }, 1.0, 0.0, 10.0);
  for (const char* s : {"AutoStepCheck=0", "GrayMap1=1", "BrushCheck=1", "QuickFill=0", "writetimes=1",
                        "xoffsetbox=10"}) {
    const std::string a(s);
    ASSERT_TRUE(m.ApplyControlValue(a.substr(0, a.find('=')), a.substr(a.find('=') + 1))) << s;
  }
  m.UseOpenGL->setChecked(true);
  m.RescaleAndRedraw();
  Settle();
  auto* form = static_cast<TOGLForm*>(m.OGLForm);
  ASSERT_TRUE(form->isVisible());
  if (!form->context() || !form->context()->isValid()) GTEST_SKIP() << "no OpenGL context on this display";
  // The box spans both copies: x from 0 to 20.
  EXPECT_DOUBLE_EQ(form->Box().left, 0.0);
  EXPECT_DOUBLE_EQ(form->Box().right, 20.0);
  EXPECT_EQ(p.view().windowTitle(), m.RGroup->Items().value(0) + QStringLiteral(":等高線"));
  EXPECT_TRUE(p.messages.warnings.empty());
  // World x = 12.5 is the second copy's x = 2.5.
  const QImage image = form->grabFramebuffer();
  const double scale = image.width() / 20.0;
  const int y = image.height() / 2 - static_cast<int>(1.0 * scale);
  EXPECT_EQ(Grey(image, static_cast<int>(12.5 * scale), y), GreyOf(3.0));
  EXPECT_EQ(Grey(image, static_cast<int>(2.5 * scale), y), GreyOf(3.0));
  EXPECT_EQ(m.scene.data.X[0], 0.0);
}

}  // namespace
}  // namespace corvane
