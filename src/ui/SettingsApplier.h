// The option values the settings file, --set and the About dialog's reload give the main window:
// each applied through the control it names, as a user would set it; the ones that wait for data
// (list choices, the first view) are kept until a load brings it.
#pragma once
#include <QString>
#include <array>
#include <map>
#include <optional>
#include <string>

namespace corvane {

class MainWindow;

class SettingsApplier {
 public:
  explicit SettingsApplier(MainWindow& window) : window_(window) {}

  // Sets one option by its control name the way a user would ("1"/"0", a number, a colour, an
  // index): the state takes it through the option table, the part of the window that shows it
  // loads it and reacts as to an edit. Returns false for an unknown name.
  bool ApplyControlValue(const std::string& name, const std::string& value);
  // Reads crv.ini beside the executable (or `path`) into the controls. A file that cannot be
  // read, or a line that cannot be applied, leaves one message for ShowStartMessages; the lines
  // before a bad one stay applied.
  void LoadSettings(const QString& path = QString());
  // Shows what went wrong while starting (the settings file), once.
  void ShowStartMessages();
  QString PendingStartMessage() const { return startMessage_; }

  // Choices of lists the data fills (the shown variable, the zone and column lists) given before
  // there were items enough: kept, and taken by the load that brings them. A choice the loaded
  // data still does not offer is said and dropped.
  std::optional<long long> PendingChoice(const std::string& name) const;
  void TakePendingChoices();
  // x0box, y0box, xscalebox, yscalebox as the settings or --set gave them, for the next opened file.
  const std::array<std::optional<double>, 4>& GivenView() const { return givenView_; }
  void ForgetGivenView() { givenView_ = {}; }

 private:
  MainWindow& window_;
  std::map<std::string, long long> pendingChoices_;
  std::array<std::optional<double>, 4> givenView_;
  QString startMessage_;
};

}  // namespace corvane
