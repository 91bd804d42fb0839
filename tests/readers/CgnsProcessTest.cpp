// The CGNS reading process: its crash is a refusal naming the file, damaged files one after
// another leave the program alive, absurd sizes are refused, compressed arrays are read (a file
// through a pipe is read with the other formats in HostileFileTest).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <fstream>
#include <iterator>

#include "readers/CgnsProcess.h"
#include "base/Random.h"
#include "CgnsFiles.h"
#include "TestSupport.h"

using namespace corvane;

namespace {

// One zone of ni × nj nodes with Density and Pressure at the nodes, in HDF5 or ADF form.
void WriteZone(const std::string& path, int ni, int nj, int fileType = CG_FILE_HDF5) {
  corvane::testing::WriteCgns(path, {{"Wing", ni, nj, false, {"Density", "Pressure"}}}, fileType);
}

using namespace corvane::testing;

std::string Load(const std::string& path) {
  return ErrorText([&] { LoadedFile loaded(path); });
}

}  // namespace

TEST(CgnsProcess, AReadingProcessThatAbortsIsRefusedNamingTheFile) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("flow.cgns").toStdString();
  WriteZone(path, 4, 3);
  ::setenv(kCgnsReaderAbortVariable, "1", 1);
  const std::string refusal = Load(path);
  ::unsetenv(kCgnsReaderAbortVariable);
  EXPECT_TRUE(refusal.find("CGNS ライブラリがこのファイルで異常終了しました") != std::string::npos &&
              refusal.find(path) != std::string::npos)
      << refusal;
  const LoadedFile after(path);  // the program goes on
  ASSERT_TRUE(after.result);
  EXPECT_EQ(after.d().NodeCount, 12);
}

TEST(CgnsProcess, DamagedAdfFilesOneAfterAnotherAreRefusedOrRead) {
  QTemporaryDir dir;
  const std::string good = dir.filePath("good.cgns").toStdString();
  WriteZone(good, 5, 4, CG_FILE_ADF);
  std::ifstream in(good, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(bytes.size(), 1000u);
  Random random(19);
  const std::string damaged = dir.filePath("damaged.cgns").toStdString();
  for (int round = 0; round < 40; ++round) {
    std::string copy = bytes;
    // A few bytes of the node tables changed, or the file cut short.
    for (int k = 0; k < 1 + round % 4; ++k)
      copy[static_cast<std::size_t>(random.Next(static_cast<std::int32_t>(copy.size())))] =
          static_cast<char>(random.Next(256));
    if (round % 5 == 4) copy.resize(static_cast<std::size_t>(random.Next(static_cast<std::int32_t>(copy.size()))));
    std::ofstream(damaged, std::ios::binary | std::ios::trunc) << copy;
    const std::string outcome = Load(damaged);
    EXPECT_TRUE(outcome == "(no error)" || outcome.find(damaged) != std::string::npos) << outcome;
  }
  const LoadedFile after(good);
  ASSERT_TRUE(after.result);
  EXPECT_EQ(after.d().NodeCount, 20);
}

TEST(CgnsProcess, AZoneOfAbsurdSizeIsRefusedInBoundedMemory) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("huge.cgns").toStdString();
  int fn = 0, B = 0, Z = 0;
  ASSERT_EQ(cg_open(path.c_str(), CG_MODE_WRITE, &fn), CG_OK);
  cg_base_write(fn, "Flow", 2, 2, &B);
  cgsize_t size[6] = {2147483647, 1073741824, 2147483646, 1073741823, 0, 0};
  cg_zone_write(fn, B, "Huge", size, CGNS_ENUMV(Structured), &Z);
  cg_close(fn);
  const CommandRun run = RunCorvane({"info", QString::fromStdString(path), "--settings", "/dev/null"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.errors.contains("2147483647") && run.errors.contains(QString::fromStdString(path)))
      << run.errors.toStdString();
}

TEST(CgnsProcess, GzipCompressedArraysAreReadAsWritten) {
  const QString repack = QStandardPaths::findExecutable(QStringLiteral("h5repack"));
  if (repack.isEmpty()) GTEST_SKIP() << "h5repack (hdf5-tools) is not installed";
  QTemporaryDir dir;
  const std::string plain = dir.filePath("plain.cgns").toStdString();
  const std::string packed = dir.filePath("packed.cgns").toStdString();
  WriteZone(plain, 200, 150);
  ASSERT_EQ(QProcess::execute(repack, {"-f", "GZIP=9", QString::fromStdString(plain), QString::fromStdString(packed)}), 0);
  EXPECT_LT(QFileInfo(QString::fromStdString(packed)).size(), QFileInfo(QString::fromStdString(plain)).size() / 2);
  const LoadedFile a(plain), b(packed);
  ASSERT_TRUE(a.result);
  ASSERT_TRUE(b.result) << Load(packed);
  EXPECT_TRUE(a.d().X == b.d().X && a.d().Y == b.d().Y && a.d().Values == b.d().Values);
}
