// Messages of the core gathered while the interpreter is released, then given to Python: as the
// text of a corvane.Error when the work failed, as warnings when it went on.
#pragma once
#include <pybind11/pybind11.h>

#include <string>
#include <vector>

#include "base/Notifier.h"

namespace corvane {

class CollectingNotifier : public Notifier {
 public:
  void Warning(const std::string& text) override { texts.push_back(text); }
  void Message(const std::string& text) override { texts.push_back(text); }

  // Every text, one per line; `otherwise` when nothing was said.
  std::string Joined(const std::string& otherwise) const {
    if (texts.empty()) return otherwise;
    std::string all;
    for (const std::string& t : texts) all += (all.empty() ? "" : "\n") + t;
    return all;
  }
  // Each text as a Python UserWarning (the interpreter must be held).
  void WarnInPython() {
    for (const std::string& t : texts)
      if (PyErr_WarnEx(PyExc_UserWarning, t.c_str(), 1) != 0) throw pybind11::error_already_set();
    texts.clear();
  }

  std::vector<std::string> texts;
};

}  // namespace corvane
