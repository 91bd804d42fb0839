// The OpenGL window drawn by a real GL context (Mesa on a virtual display): pixels of each fill
// mode, key navigation, and closing and showing again.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QOpenGLContext>

#include "opengl/GlData.h"
#include "ui/OGLForm.h"

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

// Whether a pixel of row y within two of column x has the colour.
bool LineNear(const QImage& image, int x, int y, QRgb colour) {
  for (int k = x - 2; k <= x + 2; ++k)
    if (image.pixel(k, y) == colour) return true;
  return false;
}

// A window over a 10 x 10 grid whose value is x, drawn in the grey map with step 1.
class GlWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!TOGLForm::OpenGLAvailable()) GTEST_SKIP() << "no OpenGL on this display";
    data = GridData(11, 11, [](double x, double) { return x; }, 1.0, 0.0, 10.0);
    options.load.AutoStepCheck = false, options.contour.colorMap = ColorMapKind::Gray1;
    options.display.ShowContour = options.display.BrushCheck = true, options.contour.QuickFill = false;
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

  // Presses a key with `queued` already waiting behind it.
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers, QEvent* queued) {
    QCoreApplication::postEvent(form.get(), queued);
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(form.get(), &press);
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
  EXPECT_TRUE(LineNear(lines, Px(3.0), Py(5.0), qRgb(GreyOf(3.0), GreyOf(3.0), GreyOf(3.0))));
  // White background and the grid in black over it.
  options.display.WhiteBack = true;
  QImage grid = Draw(false, true);
  EXPECT_EQ(grid.pixel(Px(2.5), Py(5.5)), qRgb(255, 255, 255));
  EXPECT_TRUE(LineNear(grid, Px(3.0), Py(5.5), qRgb(0, 0, 0)));
}

TEST_F(GlWindow, HeldKeysPanAndZoomUntilReleasedThenDrawTheFullFrame) {
  Draw();
  // The release is waiting in the queue: the loop runs one step and ends.
  Press(Qt::Key_Right, Qt::NoModifier, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier));
  EXPECT_FALSE(form->PanKeyHeld);
  EXPECT_DOUBLE_EQ(form->Box().left, static_cast<float>(0.2));
  EXPECT_EQ(boxWrites, 1);
  bool triangles = false;
  for (const GlBatch& b : form->Frame().batches) triangles = triangles || b.mode == GlMode::Triangles;
  EXPECT_TRUE(triangles);  // the full frame came back after the grid-only previews
  Press(Qt::Key_Up, Qt::ShiftModifier, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Up, Qt::ShiftModifier));
  EXPECT_NEAR(form->Box().right - form->Box().left, 9.5, 1e-9);
  EXPECT_NEAR(form->Box().top - form->Box().bottom, 9.5, 1e-9);
  // Losing the focus ends the loop too (the release goes elsewhere); no boxes are written.
  Press(Qt::Key_Left, Qt::NoModifier, new QFocusEvent(QEvent::FocusOut));
  EXPECT_FALSE(form->PanKeyHeld);
  EXPECT_EQ(boxWrites, 2);
}

TEST_F(GlWindow, AClosedWindowShowsACorrectFrameAgainAtItsNewSize) {
  Draw();
  form->close();
  Settle();
  EXPECT_FALSE(form->isVisible());
  form->resize(600, 300);
  form->DrawOpenGLScene(true, false, false);
  form->show();
  Settle();
  // Same box, wider window: x = 2.5 now lies at a quarter of 600 pixels.
  const QImage again = form->grabFramebuffer();
  ASSERT_EQ(again.width(), 600);
  EXPECT_EQ(Grey(again, 150, Py(5.0)), GreyOf(3.0));
  EXPECT_EQ(Grey(again, 75, Py(5.0)), GreyOf(2.0));
  EXPECT_EQ(Grey(again, 2 * Px(9.5), Py(5.0)), GreyOf(10.0));
}

}  // namespace
}  // namespace corvane
