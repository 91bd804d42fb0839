// `corvane render` end to end: pictures written where asked, in the asked size, and clear
// failures with exit status 1 for bad options, settings and contour ranges, bad output paths (an
// input among them) and unreadable data.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "render/GridData.h"
#include "TestSupport.h"

namespace corvane {
namespace {

using Outcome = testing::CommandRun;

Outcome Render(const QStringList& arguments) {
  return testing::RunCorvane(QStringList{"render", "--settings", CORVANE_SOURCE_DIR "/samples/crv.ini"} + arguments);
}

const QString kSample = QStringLiteral(CORVANE_SOURCE_DIR "/samples/cylinder.dat");

TEST(RenderCommand, WritesThePictureInTheAskedSizeAndFormat) {
  QTemporaryDir dir;
  const QString out = dir.filePath("cylinder.png");
  Outcome run = Render({kSample, "-o", out, "--size", "300x200", "--set", "WhiteBack=1", "--set", "ShowGrid=1",
                    "--set", "ShowContour=0", "--seed", "5"});
  ASSERT_EQ(run.status, 0) << run.errors.toStdString();
  QImage image(out);
  ASSERT_EQ(image.size(), QSize(300, 200));
  // A corner and the hole of the cylinder at the origin.
  EXPECT_EQ(std::pair(testing::PixelAt(image, 2, 2), testing::PixelAt(image, 150, 100)), std::pair(kWhite, kWhite));
  int dark = 0;
  for (int x = 100; x < 200; ++x) dark += testing::PixelAt(image, x, 100) == kBlack;
  EXPECT_GT(dark, 20);  // grid lines crowd round the body
}

TEST(RenderCommand, SeveralFilesGoIntoTheFolderAndAFailedOneFailsTheRunAlone) {
  QTemporaryDir dir;
  const QString copy = dir.filePath("second.dat");
  ASSERT_TRUE(QFile::copy(kSample, copy));
  QDir(dir.path()).mkdir("out");
  Outcome run = Render({kSample, dir.filePath("missing.dat"), copy, "-o", dir.filePath("out"), "--size", "120x90"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.errors.contains("missing.dat")) << run.errors.toStdString();
  for (const char* name : {"out/cylinder.bmp", "out/second.bmp"}) EXPECT_EQ(QImage(dir.filePath(name)).size(), QSize(120, 90));
  // Without -o each picture lands beside its data file.
  run = Render({copy, "--size", "64x48"});
  EXPECT_EQ(run.status, 0) << run.errors.toStdString();
  EXPECT_EQ(QImage(dir.filePath("second.bmp")).size(), QSize(64, 48));
}

TEST(RenderCommand, BadOptionsAndOutputPathsEndWithAClearMessage) {
  QTemporaryDir dir;
  // A data file named like its picture, a link to it, and a settings file with a bad value.
  const QString dataBmp = dir.filePath("run.bmp"), link = dir.filePath("link.png"), ini = dir.filePath("bad.ini");
  ASSERT_TRUE(QFile::copy(kSample, dataBmp));
  ASSERT_TRUE(QFile::link(dataBmp, link));
  ASSERT_TRUE(testing::WriteFile(ini, "SHOW GRID\nZONE COUNT\nabc\n"));
  struct Case {
    QStringList arguments;
    const char* mentioned;
  };
  const Case cases[] = {
      {{kSample, "--set", "NoSuchControl=1", "-o", dir.filePath("a.png")}, "NoSuchControl"},
      {{kSample, "--view", "sideways", "-o", dir.filePath("a.png")}, "--view"},
      {{kSample, "--size", "0x10", "-o", dir.filePath("a.png")}, "--size"},
      {{kSample, "-o", dir.filePath("no/such/folder/a.png"), "--size", "40x30"}, "a.png"},
      {{kSample, "-o", dir.filePath("a.gif"), "--size", "40x30"}, "a.gif"},
      {{kSample, kSample, "-o", dir.filePath("nowhere")}, "nowhere"},
      {{dataBmp, "--size", "40x30"}, "run.bmp"},
      {{dataBmp, "-o", link, "--size", "40x30"}, "link.png"},
      {{kSample, "--settings", ini, "-o", dir.filePath("a.png")}, "3 行目: ZONE COUNT の値 \"abc\""},
      // an unusable contour range: the picture is drawn without contours
      {{kSample, "-o", dir.filePath("flat.png"), "--set", "BrushCheck=1", "--set", "AutoMaxMinCheck=0", "--set", "MinBox=5", "--set", "MaxBox=5"},
       "最小値が最大値以上"},
      {{kSample, "-o", dir.filePath("flat.png"), "--set", "BrushCheck=1", "--set", "AutoStepCheck=0", "--set", "StepBox=1e-9"}, "本を超えます"},
      {{}, ""},
  };
  for (const Case& c : cases) {
    Outcome run = Render(c.arguments);
    EXPECT_EQ(run.status, 1) << c.arguments.join(' ').toStdString();
    EXPECT_TRUE(run.errors.contains(QString::fromUtf8(c.mentioned))) << run.errors.toStdString();
  }
  EXPECT_FALSE(QFile::exists(dir.filePath("a.png")));
  EXPECT_EQ(testing::ReadFile(dataBmp), testing::ReadFile(kSample));  // the data are still there
}

}  // namespace
}  // namespace corvane
