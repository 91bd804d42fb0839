// The OpenGL mode of the main window on a platform that has no OpenGL: the frame is still
// built, the window stays hidden and the user is told, and nothing crashes.

#include "opengl/GlData.h"
#include "MainWindowTestSupport.h"
#include "ui/OpenGLWindow.h"

namespace corvane {
namespace {

TEST(OpenGLWithoutContext, RedrawBuildsTheFrameOfAllCopiesButKeepsTheWindowHidden) {
  if (OpenGLWindow::OpenGLAvailable()) GTEST_SKIP() << "this display has OpenGL";
  testing::StartedProgram p;
  MainWindow& m = p.main();
  const testing::ShownGrid grid = testing::GridData(5, 5, [](double x, double) { return x; }, 1.0, 0.0, 4.0);
  m.scene.data = grid, m.scene.fieldView = grid.view;
  ASSERT_TRUE(m.settings().ApplyControlValue("writetimes", "1") && m.settings().ApplyControlValue("xoffsetbox", "4"));
  testing::Control<QCheckBox>(m, "UseOpenGL")->setChecked(true);
  m.RescaleAndRedraw();
  OpenGLWindow* form = m.openGLWindow;
  EXPECT_FALSE(form->isVisible() || form->Frame().vertices.empty());
  // Fitted to both copies, which are wider than the window's shape.
  EXPECT_TRUE(form->Box().left == 0.0 && form->Box().right == 8.0) << form->Box().left << " " << form->Box().right;
  EXPECT_EQ(m.scene.data.X[0], 0.0);
  EXPECT_EQ(p.messages.warnings, std::vector<std::string>{"OpenGLを使用できないため、OpenGLの画面を表示できません"});
}

}  // namespace
}  // namespace corvane
