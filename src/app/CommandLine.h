// The headless sub-commands: info, render, legend, analyze. Shared argument parsing and the
// building of the program options from the settings file and `--set`.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "field/DerivedColumns.h"
#include "field/FieldDataSet.h"
#include "fieldview/FieldView.h"
#include "base/Notifier.h"
#include "scene/ProgramOptions.h"

namespace corvane {

struct LoadResult;

struct CommandArgs {
  std::string command;                 // "info", "render", "legend", "analyze"
  std::vector<std::string> data;       // DATA files
  std::string settingsPath;            // --settings (empty: crv.ini beside the executable)
  std::vector<std::pair<std::string, std::string>> sets;  // --set NAME=VALUE, in order
  std::string output;                  // -o
  int width = 0, height = 0;           // --size WxH (0: from the settings)
  std::string view = "fit";            // --view fit|fit-first|settings
  bool json = false;                   // --json
  std::vector<std::string> nodes;      // --node Z,I,J
  bool seedGiven = false;
  unsigned seed = 0;                   // --seed N
  // profile: the lines (--line text or --segment numbers, in the order given), the variables,
  // the horizontal axis and whether the vertical one is reversed.
  std::vector<std::pair<bool, std::string>> lines;  // (is a segment, its text)
  std::vector<std::string> variables;  // --var
  std::string against = "s";           // --against
  bool reverseY = false;               // --reverse-y
  bool series = false;                 // --series: the DATA make one time series, drawn as an animation
  int fps = 10;                        // --fps N
  bool sameRange = false;              // --same-range: one contour range over the whole series
};

// True when argv names a sub-command (so no window is opened).
bool IsSubCommand(int argc, char** argv);
// True when the sub-command draws a picture (fonts, images), the only work that needs a GUI
// application; the others start faster on a core one.
bool SubCommandDraws(int argc, char** argv);
// Parses and runs a sub-command; returns the exit status (0 success, 1 any error).
int RunCommandLine(int argc, char** argv);

// The options as the windows would hold them after start: defaults, then the settings file,
// then every --set in order. Names unknown to the settings file are skipped; unknown --set
// names and bad values throw CorvaneError naming them. Assignments that are not options
// (qualified names of other windows) are handed back for the command to interpret.
ProgramOptions BuildOptions(const CommandArgs& args, std::vector<std::pair<std::string, std::string>>* other = nullptr);

// Warnings and messages go to stderr; the command goes on as the windows would.
class StderrNotifier : public Notifier {
 public:
  void Warning(const std::string& text) override;
  void Message(const std::string& text) override;
};

// Stores MaxBox, MinBox and StepBox, where given, into the contour range of the selected row, as
// Enter in those boxes does after a load.
void ApplyContourBoxes(FieldView& view, const ProgramOptions& options);

// The object `info --json` prints for a loaded file up to its value rows, without the closing
// brace: the command adds the nodes and the series asked for first. `includeVelocity` is the
// load's IncludeVelCheck, which decides the variables RGroup offers.
std::string InfoJsonHead(const std::string& path, const LoadResult& loaded, bool includeVelocity,
                         const std::optional<std::array<DerivedColumn, 4>>& derived = std::nullopt);

// Each sub-command; they print messages to stderr and return the exit status.
int RunInfoCommand(const CommandArgs& args);
int RunRenderCommand(const CommandArgs& args);
int RunSeriesRender(const CommandArgs& args);  // render --series
int RunLegendCommand(const CommandArgs& args);
int RunAnalyzeCommand(const CommandArgs& args);
int RunProfileCommand(const CommandArgs& args);

}  // namespace corvane
