// The named controls of one part of a window as views of the program options: each shows the
// value its option table entry reads back, and writes the entry when the user changes it. Check
// boxes, radio buttons, spin boxes, sliders, lists, radio groups, swatches and edit boxes.
#pragma once
#include <QObject>
#include <functional>
#include <optional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/ProgramState.h"

class QWidget;

namespace corvane {

class OptionControls {
 public:
  // Takes every control under `root` whose object name the option table knows, but those named
  // in `elsewhere` (boxes that show other parts of the state).
  void Collect(QWidget* root, std::initializer_list<std::string_view> elsewhere = {});
  void Add(QWidget* control);
  // The control of option `name` in this part, or null.
  QWidget* Find(std::string_view name) const;

  // Shows the state in every control with its signals blocked: the option's value, or the word
  // a number box holds. An edit box that already means the same number keeps its text as typed;
  // a list choice the list does not offer (yet) leaves the list as it is.
  void Load(const ProgramState& state) const;
  // The value `control` shows as option text; nothing for an unchecked radio button (its group's
  // checked one holds the choice).
  static std::optional<std::string> ValueOf(const QWidget* control);
  // Writes `value` into option `name`; a number box (`numberBox`) given a word keeps its last
  // number and the word is remembered (the work that reads the box says so).
  static void StoreValue(ProgramState& state, const std::string& name, const std::string& value, bool numberBox);
  // Writes the value `control` shows into the options, as StoreValue.
  static void Store(QWidget* control, ProgramState& state);
  // After the user changes a control: `edited` gets it with the value it took then.
  void Connect(QObject* context, const std::function<void(QWidget*, const std::string&)>& edited) const;

 private:
  std::vector<std::pair<std::string, QWidget*>> controls_;
};

// A part of a window that shows options: it loads the state into its controls, and reacts once
// one of its options changed (the state already holds the new value, the controls show it).
class OptionView {
 public:
  virtual ~OptionView() = default;
  virtual void Load(const ProgramOptions& options) = 0;
  virtual void OptionChanged(const std::string& name) { (void)name; }
  virtual const OptionControls& controls() const = 0;
};

// Sets a control as a user would, its handlers running: for the controls that are not options
// (the zone choice of the edge flags, 全領域同時設定) which a settings line may still name. False
// when it is no such control.
bool SetControlAsUser(QWidget* control, std::string_view value);

// Shows option text `value` in `control`, with its signals blocked unless `notify`.
void ShowOptionText(QWidget* control, std::string_view value, bool notify = false);

// The number of items of a list or radio group control; -1 for other controls.
int ChoiceCount(const QWidget* control);

}  // namespace corvane
