// Fakes and runners shared by the tests of every folder: a progress that records what it is
// told, and a run of the built program.
#pragma once
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/Progress.h"

namespace corvane::testing {

// Records statuses and gauge calls; `abort` answers the abort question, `onPump` runs on each pump.
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
  void Pump() override {
    ++pumps;
    if (onPump) onPump();
  }
  bool AbortRequested() const override { return abort; }

  std::vector<std::string> statuses;
  std::vector<std::string> log;  // statuses and "max N", in order
  std::vector<std::int64_t> positions;
  std::int64_t maximum = -1;
  int pumps = 0;
  bool abort = false;
  std::function<void()> onPump;
};

struct CommandRun {
  int status = -1;  // the exit code, or -1 for a crash
  QString errors;
  QString output;
};

// Runs the built program with `arguments` and waits for it.
inline CommandRun RunCorvane(const QStringList& arguments) {
  QProcess process;
  process.start(QStringLiteral(CORVANE_BINARY), arguments);
  process.waitForFinished(60000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromUtf8(process.readAllStandardError()), QString::fromUtf8(process.readAllStandardOutput())};
}

}  // namespace corvane::testing
