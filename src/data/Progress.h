// Progress of a long loop: the gauge, the status text, event processing and the abort flag.
// The windows implement Pump() by processing pending events at most every ~30 ms, so callers
// may call it as often as they like.
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
  // Lets the user interface breathe: repaint, see key releases and the abort command.
  virtual void Pump() {}
  // The abort command was given while the current drawing runs.
  virtual bool AbortRequested() const { return false; }
};

// For callers with nobody to report to (tests, the command line).
class NullProgress : public Progress {};

}  // namespace corvane
