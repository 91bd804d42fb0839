// How computing code shows a message: the windows show a box, the command line prints to
// stderr, tests record. Texts are UTF-8.
#pragma once
#include <string>
#include <vector>

namespace corvane {

class Notifier {
 public:
  virtual ~Notifier() = default;
  // A warning dialog with one OK button.
  virtual void Warning(const std::string& text) = 0;
  // A plain message box with an OK button and the program's title.
  virtual void Message(const std::string& text) = 0;
  // Brings the program's main window forward, after a message that asks the user to act there.
  virtual void RaiseMainWindow() {}
};

// Drops every message; for callers with nobody to tell (a frame without a window to report to,
// a look at a file's time steps whose load is reported later).
class SilentNotifier : public Notifier {
 public:
  void Warning(const std::string&) override {}
  void Message(const std::string&) override {}
};

}  // namespace corvane
