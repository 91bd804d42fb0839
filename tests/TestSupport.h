// Fakes and runners shared by the tests of every folder: a progress that records what it is
// told, a run of the built program, and whole files read and written.
#pragma once
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "field/DeferredRows.h"
#include "fieldview/LoadedView.h"
#include "base/Errors.h"
#include "base/Progress.h"
#include "support/RecordingNotifier.h"

namespace corvane::testing {

// Records statuses and gauge calls; `abort` answers the abort question, and `onAbortCheck` runs
// each time the loop asks it (before the answer is read), counted in `abortChecks`.
class RecordingProgress : public Progress {
 public:
  void SetMaximum(std::int64_t m) override {
    maximum = m;
    log.push_back("max " + std::to_string(m));
  }
  void SetPosition(std::int64_t p) override { positions.push_back(p); }
  void SetStatus(const std::string& text) override {
    statuses.push_back(text);
    log.push_back(text);
  }
  bool AbortRequested() const override {
    ++abortChecks;
    if (onAbortCheck) onAbortCheck();
    return abort;
  }

  std::vector<std::string> statuses;
  std::vector<std::string> log;  // statuses and "max N", in order
  std::vector<std::int64_t> positions;
  std::int64_t maximum = -1;
  mutable int abortChecks = 0;
  bool abort = false;
  std::function<void()> onAbortCheck;
};

struct CommandRun {
  int status = -1;  // the exit code, or -1 for a crash
  QString errors;
  QString output;
};

// Runs the built program with `arguments`, `input` on its standard input, and waits for it.
inline CommandRun RunCorvane(const QStringList& arguments, const QByteArray& input = {}) {
  QProcess process;
  process.start(QStringLiteral(CORVANE_BINARY), arguments);
  if (!input.isEmpty() && process.waitForStarted()) {
    process.write(input);
    process.closeWriteChannel();
  }
  process.waitForFinished(60000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromUtf8(process.readAllStandardError()), QString::fromUtf8(process.readAllStandardOutput())};
}

// A data file loaded as the program loads it, with what it said; At reads row `row` at node
// (i, j) of `zone`.
struct LoadedFile {
  RecordingNotifier notifier;
  std::optional<LoadResult> result;
  LoadedFile(const std::string& path, const LoadOptions& o = LoadOptions(), const FieldView& previous = FieldView()) {
    NullProgress progress;
    result = LoadAnyDataFile(path, o, previous, notifier, progress);
  }
  const FieldDataSet& d() const { return result->data; }
  // A derived row is computed here when nothing asked for it yet (which changes no value).
  double At(int row, int zone, int i, int j) const {
    EnsureRowValues(const_cast<FieldDataSet&>(result->data), row);
    return d().Values[static_cast<std::size_t>(row)][static_cast<std::size_t>(NodeIndex(d(), zone, i, j))];
  }
};

// The message of the program's error `work` throws, or "(no error)".
inline std::string ErrorText(const std::function<void()>& work) {
  try {
    work();
  } catch (const CorvaneError& e) {
    return e.what();
  }
  return "(no error)";
}

// The whole file, or nothing when it cannot be read.
inline QByteArray ReadFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The numbers of each line of a CSV text after its header, which goes to `header`.
inline std::vector<std::vector<double>> CsvRows(const std::string& text, std::string& header) {
  std::istringstream in(text);
  std::getline(in, header);
  std::vector<std::vector<double>> rows;
  for (std::string line; std::getline(in, line);) {
    std::stringstream fields(line);
    rows.emplace_back();
    for (std::string f; std::getline(fields, f, ',');) rows.back().push_back(std::strtod(f.c_str(), nullptr));
  }
  return rows;
}

// Writes `bytes` as the whole file; false when that fails.
inline bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The small text files of tests/readers/data: title, blank line, `zones` size lines from line 2,
// then labels and data.
inline std::string ReaderTestFile(const char* name) { return std::string(CORVANE_SOURCE_DIR) + "/tests/readers/data/" + name; }
inline LoadOptions SmallLayout(int zones = 1) {
  LoadOptions o;
  o.ZCountBox = zones, o.XYNumLineBox = 2, o.LabelLineBox = 2 + zones, o.DataStartLineBox = 3 + zones;
  return o;
}

// Files a test writes into a folder of its own, removed with it.
struct TempFiles {
  QTemporaryDir dir;
  // Writes `bytes` as `name` (which may hold a folder that exists) and returns its path.
  std::string Write(const std::string& bytes, const std::string& name) {
    const QString path = dir.filePath(QString::fromStdString(name));
    EXPECT_TRUE(WriteFile(path, QByteArray::fromStdString(bytes))) << name;
    return path.toStdString();
  }
};

// The field the reader tests write in every format: 3 × 2 nodes of zone `zone` at x = i,
// y = 10 j, with P = 100 i + j in row `pRow`.
inline void ExpectSmallField(const LoadedFile& f, int zone = 0, int pRow = 0) {
  ASSERT_TRUE(f.result);
  const FieldDataSet& d = f.d();
  ASSERT_EQ(d.Zones[static_cast<std::size_t>(zone)].NI, 3);
  ASSERT_EQ(d.Zones[static_cast<std::size_t>(zone)].NJ, 2);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 2; ++j) {
      const std::size_t n = static_cast<std::size_t>(NodeIndex(d, zone, i, j));
      EXPECT_DOUBLE_EQ(d.X[n], i);
      EXPECT_DOUBLE_EQ(d.Y[n], 10 * j);
      EXPECT_DOUBLE_EQ(f.At(pRow, zone, i, j), 100 * i + j);
    }
}

}  // namespace corvane::testing
