// `corvane render --series`: a time series drawn frame by frame into an animated WebP, a GIF or a
// folder of numbered pictures; the files are read back and their frames counted.
#include <gif_lib.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>

#include "readers/DataSeries.h"
#include "fieldview/LoadedView.h"
#include "TestSupport.h"

namespace corvane {
namespace {

// A 5 × 4 zone whose P grows with `t`.
std::string Step(double t, bool withTime) {
  std::string text = "ZONE T=\"flow\" I=5 J=4" + (withTime ? " SOLUTIONTIME=" + std::to_string(t) : std::string()) + "\n";
  for (int j = 0; j < 4; ++j)
    for (int i = 0; i < 5; ++i)
      text += std::to_string(i) + " " + std::to_string(j) + " " + std::to_string(t * (i + j)) + "\n";
  return text;
}

// The canvas size and the frame count of an animated WebP, from its chunks.
struct WebpFacts {
  int width = 0, height = 0, frames = 0;
};
WebpFacts ReadWebp(const QByteArray& bytes) {
  WebpFacts facts;
  auto u24 = [&](qsizetype at) {
    return int(quint8(bytes[at])) | int(quint8(bytes[at + 1])) << 8 | int(quint8(bytes[at + 2])) << 16;
  };
  if (bytes.size() < 12 || bytes.left(4) != "RIFF" || bytes.mid(8, 4) != "WEBP") return facts;
  for (qsizetype at = 12; at + 8 <= bytes.size();) {
    const QByteArray id = bytes.mid(at, 4);
    const qsizetype size = u24(at + 4) | qsizetype(quint8(bytes[at + 7])) << 24;
    if (id == "VP8X") {
      facts.width = u24(at + 12) + 1;
      facts.height = u24(at + 15) + 1;
    }
    facts.frames += id == "ANMF";
    at += 8 + size + (size & 1);
  }
  return facts;
}

class SeriesRender : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int k = 0; k < 3; ++k) {
      const QString path = dir.filePath(QStringLiteral("step_%1.dat").arg(k));
      ASSERT_TRUE(testing::WriteFile(path, QByteArray::fromStdString("VARIABLES = X Y P\n" + Step(k + 1, false))));
      files << path;
    }
    timed = dir.filePath("timed.tec");
    ASSERT_TRUE(testing::WriteFile(timed, QByteArray::fromStdString("VARIABLES = X Y P\n" + Step(2, true) + Step(1, true) +
                                                                      Step(3, true))));
  }
  testing::CommandRun Render(const QStringList& data, const QString& out, const QStringList& extra = {}) {
    return testing::RunCorvane(QStringList{"render", "--series", "--settings", "/dev/null", "--size", "64x48", "-o", out} + data +
                               extra);
  }
  QTemporaryDir dir;
  QStringList files;
  QString timed;
};

TEST_F(SeriesRender, FilesAndSolutionTimesAreFrames) {
  const auto frames = SeriesFrames({files[0].toStdString(), timed.toStdString(), files[2].toStdString()});
  ASSERT_EQ(frames.size(), 5u);
  EXPECT_EQ(frames[1].path, timed.toStdString());
  EXPECT_EQ(*frames[1].time, 1.0);  // ascending times
  EXPECT_EQ(frames[3].step, 2);
  EXPECT_FALSE(frames[4].time);  // (one range over the series: SeriesWindow in tests/ui)
  // info tells the same frames with their times.
  const testing::CommandRun info =
      testing::RunCorvane({"info", "--json", "--settings", "/dev/null", files[0], timed, files[2]});
  ASSERT_EQ(info.status, 0) << info.errors.toStdString();
  EXPECT_EQ(info.output.count(QStringLiteral("\"time\":")), 5) << info.output.toStdString();
  EXPECT_TRUE(info.output.contains(QStringLiteral("\"step\":2,\"time\":3}"))) << info.output.toStdString();
}

TEST_F(SeriesRender, AnimatedWebpGifAndNumberedPictures) {
  const QString webp = dir.filePath("out.webp");
  testing::CommandRun run = Render(files, webp, {"--fps", "5", "--same-range"});
  ASSERT_EQ(run.status, 0) << run.errors.toStdString();
  const WebpFacts facts = ReadWebp(testing::ReadFile(webp));
  EXPECT_EQ((std::vector<int>{facts.width, facts.height, facts.frames}), (std::vector<int>{64, 48, 3}));

  const QString gif = dir.filePath("out.gif");
  run = Render({timed}, gif);
  ASSERT_EQ(run.status, 0) << run.errors.toStdString();
  int error = 0;
  GifFileType* file = DGifOpenFileName(gif.toLocal8Bit().constData(), &error);
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(DGifSlurp(file), GIF_OK);
  EXPECT_EQ((std::vector<int>{file->SWidth, file->SHeight, file->ImageCount}), (std::vector<int>{64, 48, 3}));
  GraphicsControlBlock control;
  DGifSavedExtensionToGCB(file, 0, &control);
  EXPECT_EQ(control.DelayTime, 10);  // ten frames a second by default
  DGifCloseFile(file, &error);

  run = Render(files + QStringList{timed}, dir.filePath("frames/"));
  ASSERT_EQ(run.status, 0) << run.errors.toStdString();
  EXPECT_EQ(QDir(dir.filePath("frames")).entryList({"frame_*.png"}).size(), 6);
  EXPECT_EQ(QImage(dir.filePath("frames/frame_0006.png")).size(), QSize(64, 48));
}

TEST_F(SeriesRender, BadOutputsAndFramesAreRefused) {
  testing::CommandRun run = Render(files, dir.filePath("out.bmp"));
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.errors.contains(".webp")) << run.errors.toStdString();
  ASSERT_TRUE(testing::WriteFile(files[1], "VARIABLES = X Y P\nZONE I=5 J=4\n0 0\n"));
  run = Render(files, dir.filePath("out.gif"));
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.errors.contains("step_1.dat")) << run.errors.toStdString();
  EXPECT_EQ(Render(files, dir.filePath("x.gif"), {"--fps", "0"}).status, 1);
}

}  // namespace
}  // namespace corvane
