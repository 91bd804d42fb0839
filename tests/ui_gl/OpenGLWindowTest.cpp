// The OpenGL window drawn by a real GL context (Mesa on a virtual display): a frame shows the
// colours of its levels, a closed window shows a correct frame again, and the colour bar takes a
// strip at the right.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QOpenGLContext>
#include <set>

#include "opengl/GlData.h"
#include "support/RecordingNotifier.h"
#include "ui/OpenGLWindow.h"
#include "ui_gl/SameThreadOpenGLHost.h"

namespace corvane {
namespace {

// Lets the window system deliver exposes and paints.
void Settle() { for (int k = 0; k < 5; ++k) QCoreApplication::processEvents(); }

int GreyOf(double value) { return RedOf(LevelColour(static_cast<float>(value), 0.0f, 10.0f, ColourMapKind::Gray1)); }

// A shown 300 x 300 window over a 10 x 10 grid whose value is x, filled in bands of step 1 in
// `map`: world x lands on pixel 30 x.
struct BandWindow {
  testing::ShownGrid data = testing::GridData(11, 11, [](double x, double) { return x; }, 1.0, 0.0, 10.0);
  ProgramOptions options;
  RecordingNotifier notifier;
  OpenGLWindow form{std::make_unique<testing::SameThreadOpenGLHost>(data, data.view, options, notifier)};
  explicit BandWindow(ColourMapKind map) {
    options.load.AutoStepCheck = false, options.contour.colourMap = map;
    options.display.ShowContour = options.display.BrushCheck = true, options.contour.QuickFill = false;
    form.resize(300, 300);
    form.show();
    Settle();
  }
  bool HasContext() const { return form.context() && form.context()->isValid(); }
};

// Flat grey bands: each band has the colour of its upper level; a closed window, reopened wider,
// draws its frame again at the new size.
TEST(GlWindow, FrameShowsTheLevelColoursAndAClosedWindowDrawsAgainAtItsNewSize) {
  if (!OpenGLWindow::OpenGLAvailable()) GTEST_SKIP() << "no OpenGL on this display";
  BandWindow w(ColourMapKind::Gray1);
  if (!w.HasContext()) GTEST_SKIP() << "no OpenGL context on this display";
  OpenGLWindow& form = w.form;
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

// The colour bar: its strip at the right holds the ten band colours (rainbow, so the bar's
// anti-aliased white numbers cannot pass for a band), and the bands left of it are fitted into
// the narrower data area. With the bar off the same strip shows only the last bands of the field.
TEST(GlWindow, ColourBarShowsTheBandColoursInAStripTheDataMakesRoomFor) {
  if (!OpenGLWindow::OpenGLAvailable()) GTEST_SKIP() << "no OpenGL on this display";
  BandWindow w(ColourMapKind::Rainbow);
  if (!w.HasContext()) GTEST_SKIP() << "no OpenGL context on this display";
  OpenGLWindow& form = w.form;
  auto bandAt = [](const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    for (int level = 1; level <= 10; ++level) {
      const Colour c = LevelColour(static_cast<float>(level), 0.0f, 10.0f, ColourMapKind::Rainbow);
      if (qRed(p) == RedOf(c) && qGreen(p) == GreenOf(c) && qBlue(p) == BlueOf(c)) return level;
    }
    return 0;
  };
  int barStrip = 0;
  for (bool on : {true, false}) {
    w.options.display.ColourBarCheck = on;
    form.FitOrthoBox(10.0, 10.0, 0.0, 0.0);
    form.DrawOpenGLScene(true, false, false);
    Settle();
    const QImage image = form.grabFramebuffer();
    if (on) barStrip = form.ColourBarStrip();
    ASSERT_GT(barStrip, 40);
    ASSERT_LT(barStrip, 100);
    EXPECT_EQ(form.ColourBarStrip() > 0, on);
    std::set<int> levels;
    for (int x = 300 - barStrip; x < 300; ++x)
      for (int y = 0; y < 300; ++y)
        if (const int level = bandAt(image, x, y)) levels.insert(level);
    if (on) {
      EXPECT_EQ(levels.size(), 10u);
      // World x lands on pixel (300 - strip) * x / 10.
      const int dataWidth = 300 - barStrip;
      EXPECT_EQ(bandAt(image, dataWidth / 4, 150), 3);
      EXPECT_EQ(bandAt(image, dataWidth * 19 / 20, 150), 10);
      // One scale for x and y: the field is as high as the data area is wide, centred.
      EXPECT_EQ(bandAt(image, dataWidth / 4, 5), 0);
    } else {
      EXPECT_LE(levels.size(), 3u);
      EXPECT_EQ(bandAt(image, 75, 150), 3);
    }
  }
  EXPECT_TRUE(w.notifier.warnings.empty());
}

}  // namespace
}  // namespace corvane
