// `corvane analyze`: a data file through the reader to the samples file, and its refusals.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TestSupport.h"

#include <utility>
#include <vector>

namespace {

using corvane::testing::CommandRun;

CommandRun Analyze(const QStringList& args) {
  return corvane::testing::RunCorvane(QStringList{"analyze", "--settings", "/dev/null", "--set", "ZCountBox=1", "--set",
                                                  "LabelLineBox=3", "--set", "DataStartLineBox=4"} + args);
}

TEST(AnalyzeCommand, WritesTheSamplesBetweenATypedPointAndANode) {
  QTemporaryDir dir;
  const QString data = dir.filePath("grid.dat"), out = dir.filePath("out.dat");
  // Three by two nodes, x = i, y = j; "温度" = 2x + 4y + 1, "p" = 0.
  ASSERT_TRUE(corvane::testing::WriteFile(data, "grid\n\n2 1\nx y p 温度\n0 0 0 1\n0 1 0 5\n1 0 0 3\n1 1 0 7\n2 0 0 5\n2 1 0 9\n"));
  CommandRun r = Analyze({data, "-o", out, "--set", "RGroup=1", "--set", "P1Direct=1", "--set", "P1x=0.5", "--set",
                          "P1y=0.25", "--set", "P2i=2", "--set", "P2j=1"});
  ASSERT_EQ(r.status, 0) << r.errors.toStdString();
  // The segment (0.5, 0.25)-(2, 1) crosses x = 1 at y = 0.5 and ends on the node (2, 1).
  EXPECT_EQ(corvane::testing::ReadFile(out).toStdString(),
            "x" + std::string(22, ' ') + "y" + std::string(22, ' ') + "温度\r\n"
            "1.00000000000000E+0    5.00000000000000E-1    5.00000000000000E+0\r\n"
            "2.00000000000000E+0    1.00000000000000E+0    9.00000000000000E+0\r\n");

  // Refusals name what is wrong: a node outside its zone, a variable RGroup does not offer, no
  // output file, the data file as the output.
  const std::vector<std::pair<QStringList, QString>> refused = {
      {{"-o", out, "--set", "P2i=3"}, "点2の格子点 (i=3, j=0)"},
      {{"-o", out, "--set", "RGroup=2"}, "RGroup=2"},
      {{}, "-o"},
      {{"-o", data}, "同じ"}};
  for (const auto& [extra, text] : refused) {
    CommandRun bad = Analyze(QStringList{data} + extra);
    EXPECT_TRUE(bad.status == 1 && bad.errors.contains(text)) << bad.status << " " << bad.errors.toStdString();
  }
  EXPECT_TRUE(corvane::testing::ReadFile(data).startsWith("grid\n"));  // the data file is untouched
}

}  // namespace
