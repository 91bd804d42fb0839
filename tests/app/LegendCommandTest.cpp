// `corvane legend`: the sample data's legend saved by the output's extension, legend window
// options by qualified name, and its refusals.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include "TestSupport.h"

namespace {

using corvane::testing::CommandRun;

CommandRun Legend(const QStringList& extra) {
  const QString source = QStringLiteral(CORVANE_SOURCE_DIR);
  return corvane::testing::RunCorvane(
      QStringList{"legend", source + "/samples/cylinder.dat", "--settings", source + "/samples/crv.ini"} + extra);
}

TEST(LegendCommand, WritesTheLegendOfTheSelectedVariable) {
  QTemporaryDir dir;
  const QString out = dir.filePath("legend.png");
  const CommandRun run = Legend({"--set", "TLegendForm.LegendYoko=1", "--set", "TLegendForm.LegendWidthBox=240", "--set",
                          "TLegendForm.LegendHeightBox=50", "--set", "RGroup=3", "-o", out});
  ASSERT_EQ(run.status, 0) << run.errors.toStdString();
  const QImage image(out);
  ASSERT_EQ(image.size(), QSize(240, 50));
  EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));  // WHITE BACKGROUND in the settings
  // Along the bar's middle row the rainbow runs from blue on the left to red on the right.
  int blue = -1, red = -1;
  for (int x = 0; x < 240; ++x) {
    if (qBlue(image.pixel(x, 12)) == 255 && qRed(image.pixel(x, 12)) == 0 && blue < 0) blue = x;
    if (qRed(image.pixel(x, 12)) == 255 && qGreen(image.pixel(x, 12)) < 128 && qBlue(image.pixel(x, 12)) == 0) red = x;
  }
  EXPECT_GE(blue, 0);
  EXPECT_GT(red, blue);
}

TEST(LegendCommand, AnUnusableRangeUnknownOptionOrExtensionFailsNamingTheCause) {
  QTemporaryDir dir;
  const std::pair<QStringList, const char*> cases[] = {
      {{"-o", dir.filePath("legend.png"), "--set", "AutoMaxMinCheck=0", "--set", "MinBox=5", "--set", "MaxBox=5"}, "最小値が最大値以上"},
      {{"-o", dir.filePath("a.bmp"), "--set", "TLegendForm.NoSuchBox=1"}, "TLegendForm.NoSuchBox"},
      {{"-o", dir.filePath("a.gif")}, ".gif"}};
  for (const auto& [arguments, cause] : cases) {
    const CommandRun run = Legend(arguments);
    EXPECT_TRUE(run.status == 1 && run.errors.contains(QString::fromUtf8(cause))) << cause << ": " << run.errors.toStdString();
  }
}

}  // namespace
