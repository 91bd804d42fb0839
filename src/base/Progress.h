// Progress of a long loop: the gauge, the status text and the abort flag. The windows run the
// loop on a worker thread and read these calls from it, so an implementation given to a worker
// must be safe to call from there.
#pragma once
#include <cstdint>
#include <string>

namespace corvane {

class Progress {
 public:
  virtual ~Progress() = default;
  virtual void SetMaximum(std::int64_t maximum) { (void)maximum; }
  virtual void SetPosition(std::int64_t position) { (void)position; }
  virtual void SetStatus(const std::string& text) { (void)text; }
  // The abort command was given while the current drawing runs.
  virtual bool AbortRequested() const { return false; }
};

// For callers with nobody to report to (tests, the command line).
class NullProgress : public Progress {};

}  // namespace corvane
