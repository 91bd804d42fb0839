// The OpenGL window drawn by a real GL context (Mesa on a virtual display): a frame shows the
// colours of its levels, and a closed window shows a correct frame again.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QOpenGLContext>

#include "opengl/GlData.h"
#include "ui/OpenGLWindow.h"

namespace corvane {
namespace {

// Lets the window system deliver exposes and paints.
void Settle() { for (int k = 0; k < 5; ++k) QCoreApplication::processEvents(); }

int GreyOf(double value) { return RedOf(LevelColour(static_cast<float>(value), 0.0f, 10.0f, ColourMapKind::Gray1)); }

// A window over a 10 x 10 grid whose value is x, drawn in flat grey bands with step 1: each band
// has the colour of its upper level, and world x lands on pixel 30 x of a 300-pixel window.
TEST(GlWindow, FrameShowsTheLevelColoursAndAClosedWindowDrawsAgainAtItsNewSize) {
  if (!OpenGLWindow::OpenGLAvailable()) GTEST_SKIP() << "no OpenGL on this display";
  FieldDataSet data = testing::GridData(11, 11, [](double x, double) { return x; }, 1.0, 0.0, 10.0);
  ProgramOptions options;
  options.load.AutoStepCheck = false, options.contour.colourMap = ColourMapKind::Gray1;
  options.display.ShowContour = options.display.BrushCheck = true, options.contour.QuickFill = false;
  RecordingNotifier notifier;
  OpenGLWindowHost host;
  host.data = &data;
  host.notifier = [&] { return &notifier; };
  host.options = [&] { return options; };
  host.writeViewBoxes = [] {};
  OpenGLWindow form(std::move(host));
  form.resize(300, 300);
  form.show();
  Settle();
  if (!form.context() || !form.context()->isValid()) GTEST_SKIP() << "no OpenGL context on this display";
  form.FitOrthoBox(10.0, 10.0, 0.0, 0.0);
  form.DrawOpenGLScene(true, false, false);
  Settle();
  const QImage first = form.grabFramebuffer();
  ASSERT_EQ(first.width(), 300);
  for (auto [x, grey] : {std::pair{75, 3.0}, {225, 8.0}, {231, 8.0}}) EXPECT_EQ(qRed(first.pixel(x, 150)), GreyOf(grey)) << x;

  form.close();
  Settle();
  EXPECT_FALSE(form.isVisible());
  form.resize(600, 300);
  form.DrawOpenGLScene(true, false, false);
  form.show();
  Settle();
  // Same box, wider window: world x lands on pixel 60 x.
  const QImage again = form.grabFramebuffer();
  ASSERT_EQ(again.width(), 600);
  for (auto [x, grey] : {std::pair{150, 3.0}, {75, 2.0}, {570, 10.0}}) EXPECT_EQ(qRed(again.pixel(x, 150)), GreyOf(grey)) << x;
}

}  // namespace
}  // namespace corvane
