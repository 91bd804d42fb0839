// `corvane profile`: the values along a joined wall and a segment of a data file, as CSV with
// full precision and as pictures, formulas from the command line, and the refusals.
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace {

using corvane::testing::CommandRun;
using corvane::testing::CsvRows;
using corvane::testing::ReadFile;

// three_zones.dat: U = 100 + 10x, V = 5y, P = 1000 + x + 10y at every node; zone 0 holds x, y
// in 0..2, zone 1 x in 2..3, y in 0..2.
const QString kData = QStringLiteral(CORVANE_SOURCE_DIR "/tests/ui/data/three_zones.dat");

CommandRun Profile(const QStringList& args) {
  return corvane::testing::RunCorvane(QStringList{"profile", "--settings", "/dev/null"} + args);
}

TEST(ProfileCommand, WritesTheJoinedWallAndSegmentsOfEachFileAsCsv) {
  QTemporaryDir dir;
  const QString out = dir.filePath("wall.csv");
  CommandRun r = Profile({kData, kData, "--line", "0:j=0,1:j=0", "--formula", "W = U + 2*P - x", "--var", "U", "--var",
                          "W", "-o", out});
  ASSERT_EQ(r.status, 0) << r.errors.toStdString();
  std::string header;
  const auto rows = CsvRows(ReadFile(out).toStdString(), header);
  EXPECT_EQ(header, "curve,s,x,y,U,W");
  ASSERT_EQ(rows.size(), 8u);  // 4 points (the joint at x = 2 once) for each file
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const double x = static_cast<double>(k % 4);
    EXPECT_EQ(rows[k], (std::vector<double>{k < 4 ? 1.0 : 2.0, x, x, 0.0, 100 + 10 * x, 100 + 10 * x + 2 * (1000 + x) - x}));
  }

  // A segment across both zones: crossings at x = 1 and x = 2 (once), interpolated exactly.
  const QString cut = dir.filePath("cut.csv");
  r = Profile({kData, "--segment", "0.5,0.5,2.5,0.5", "--var", "P", "-o", cut});
  ASSERT_EQ(r.status, 0) << r.errors.toStdString();
  const auto samples = CsvRows(ReadFile(cut).toStdString(), header);
  ASSERT_EQ(samples.size(), 2u);
  for (const auto& v : samples) {
    EXPECT_DOUBLE_EQ(v[1], v[2] - 0.5);
    EXPECT_DOUBLE_EQ(v[4], 1000 + v[2] + 10 * 0.5);
  }
}

TEST(ProfileCommand, DrawsPicturesAndRefusesWhatItCannotDo) {
  QTemporaryDir dir;
  // Each picture type is the plot's own (checked with the plot); the command passes size and options.
  CommandRun r = Profile({kData, "--line", "0:j=0,1:j=0", "--line", "0:i=1", "--var", "P", "--against", "x",
                          "--reverse-y", "--size", "500x400", "-o", dir.filePath("p.png")});
  ASSERT_EQ(r.status, 0) << r.errors.toStdString();
  EXPECT_EQ(QImage(dir.filePath("p.png")).size(), QSize(500, 400));

  const QString out = dir.filePath("x.csv");
  // A bad formula names where and what, adds nothing, and then its variable is not there.
  CommandRun bad = Profile({kData, "--line", "0:j=0", "--formula", "Cp = (P - 1000) / Qx", "--var", "Cp", "-o", out});
  EXPECT_EQ(bad.status, 1);
  EXPECT_TRUE(bad.errors.contains("14 文字目") && bad.errors.contains("\"Qx\"")) << bad.errors.toStdString();
  const std::vector<std::pair<QStringList, QString>> refused = {
      {{kData, "--var", "P", "-o", out}, "--line"},
      {{kData, "--line", "0:j=0", "--var", "Z", "-o", out}, "\"Z\""},
      {{kData, "--line", "5:j=0", "-o", out}, "領域 5"},
      {{kData, "--line", "0:j=0", "-o", dir.filePath("p.gif")}, ".csv"},
      {{kData, "--line", "0:j=0", "-o", dir.filePath("p.png")}, "--var"},
      {{kData, "--segment", "1,2,3", "-o", out}, "--segment"},
      {{kData, "--line", "0:j=0", "--against", "z", "-o", out}, "x, y, s"}};
  for (const auto& [args, text] : refused) {
    CommandRun run = Profile(args);
    EXPECT_TRUE(run.status == 1 && run.errors.contains(text)) << text.toStdString() << ": " << run.errors.toStdString();
  }
}

}  // namespace
