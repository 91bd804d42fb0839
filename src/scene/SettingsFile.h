// Reads crv.ini: keyword lines, some followed by a value line, into an ordered list of
// assignments to control names. Reading stops at the first failure; what came before is kept.
#pragma once
#include <string>
#include <vector>

namespace corvane {

struct ControlAssignment {
  std::string control;  // e.g. "ShowGrid", "ZCountBox", "Shape1", "x0box", "TViewForm.Width"
  std::string value;    // what a user would set: "1"/"0", a number, a decimal RRGGBB colour
  int line = 0;         // 0-based line of the file it came from
};

struct SettingsFileResult {
  std::vector<ControlAssignment> assignments;
  bool complete = true;  // false when reading stopped at a failure (or the file is missing)
  std::string stopReason;
};

// `fileName` names the file in the reason for stopping (with the line and the value found).
SettingsFileResult ParseSettingsText(const std::string& text, const std::string& fileName = "crv.ini");
// A missing file gives an incomplete result; a folder, a device, a FIFO nobody writes to, an
// unreadable file or one above 1 MB throws CorvaneError naming it.
SettingsFileResult ReadSettingsFile(const std::string& path);

}  // namespace corvane
