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

// Remembers every message; for tests and for callers that report later.
class RecordingNotifier : public Notifier {
 public:
  void Warning(const std::string& text) override { warnings.push_back(text); }
  void Message(const std::string& text) override { messages.push_back(text); }
  void RaiseMainWindow() override { ++raises; }
  std::vector<std::string> warnings;
  std::vector<std::string> messages;
  int raises = 0;
};

}  // namespace corvane
