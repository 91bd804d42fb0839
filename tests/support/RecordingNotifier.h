// A notifier that remembers every message, so tests can check what the user would have been told.
#pragma once
#include <string>
#include <vector>

#include "base/Notifier.h"

namespace corvane {

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
