#include "app/CommandLine.h"

#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "app/CommandHelp.h"
#include "scene/DesktopIntegration.h"
#include "scene/SettingsFile.h"
#include "base/Errors.h"
#include "base/OptionTable.h"

namespace corvane {
namespace {

// The largest side of a picture a command draws, from --size or from the settings.
constexpr int kMaxPictureSide = 20000;

bool IsCommandName(const char* s) { return CommandBitOf(s) != 0; }

bool IsHelpFlag(const char* s) { return std::strcmp(s, "--help") == 0 || std::strcmp(s, "-h") == 0; }

// Whether `--help` stands among a sub-command's arguments (not as the value of an option).
bool AsksForHelp(int argc, char** argv) {
  for (int i = 2; i < argc; ++i) {
    if (IsHelpFlag(argv[i])) return true;
    const CommandOption* o = FindCommandOption(argv[i]);
    if (o && o->value) ++i;
  }
  return false;
}

CommandArgs Parse(int argc, char** argv) {
  CommandArgs a;
  a.command = argv[1];
  auto need = [&](int& i) -> std::string {
    if (i + 1 >= argc) throw CorvaneError(std::string(argv[i]) + " の後に値がありません");
    return argv[++i];
  };
  const unsigned bit = CommandBitOf(a.command);
  for (int i = 2; i < argc; ++i) {
    std::string s = argv[i];
    const CommandOption* option = FindCommandOption(s);
    // An option another sub-command takes would be silently ignored here; say so instead.
    if (option && !(option->commands & bit)) throw CorvaneError(s + " は " + a.command + " では使えません");
    if (s == "--settings") {
      a.settingsPath = need(i);
    } else if (s == "--set") {
      std::string v = need(i);
      auto eq = v.find('=');
      if (eq == std::string::npos || eq == 0) throw CorvaneError("--set は NAME=VALUE の形で指定してください: " + v);
      a.sets.emplace_back(v.substr(0, eq), v.substr(eq + 1));
    } else if (s == "-o" || s == "--output") {
      a.output = need(i);
    } else if (s == "--size") {
      std::string v = need(i);
      int w = 0, h = 0;
      char extra = 0;
      if (std::sscanf(v.c_str(), "%dx%d%c", &w, &h, &extra) != 2 || w < 1 || h < 1 || w > kMaxPictureSide ||
          h > kMaxPictureSide)
        throw CorvaneError("--size は 幅x高さ (1.." + std::to_string(kMaxPictureSide) + ") で指定してください: " + v);
      a.width = w;
      a.height = h;
    } else if (s == "--view") {
      a.view = need(i);
      if (a.view != "fit" && a.view != "fit-first" && a.view != "settings")
        throw CorvaneError("--view は fit, fit-first, settings のいずれかです: " + a.view);
    } else if (s == "--series") {
      a.series = true;
    } else if (s == "--same-range") {
      a.sameRange = true;
    } else if (s == "--fps") {
      const std::string v = need(i);
      const long long fps = ParseIntegerValue("--fps", v);
      if (fps < 1 || fps > 100) throw CorvaneError("--fps は 1..100 で指定してください: " + v);
      a.fps = static_cast<int>(fps);
    } else if (s == "--json") {
      a.json = true;
    } else if (s == "--node") {
      a.nodes.push_back(need(i));
    } else if (s == "--seed") {
      std::string v = need(i);
      a.seed = static_cast<unsigned>(ParseIntegerValue("--seed", v));
      a.seedGiven = true;
    } else if (s == "--formula") {
      a.sets.emplace_back("Formula", need(i));
    } else if (s == "--line" || s == "--segment") {
      a.lines.emplace_back(s == "--segment", need(i));
    } else if (s == "--var") {
      a.variables.push_back(need(i));
    } else if (s == "--against") {
      a.against = need(i);
    } else if (s == "--reverse-y") {
      a.reverseY = true;
    } else if (s.size() > 1 && s[0] == '-') {
      throw CorvaneError("不明なオプションです: " + s);
    } else {
      a.data.push_back(s);
    }
  }
  return a;
}

}  // namespace

void StderrNotifier::Warning(const std::string& text) { std::cerr << "corvane: 警告: " << text << "\n"; }
void StderrNotifier::Message(const std::string& text) { std::cerr << "corvane: " << text << "\n"; }

void ApplyContourBoxes(FieldView& view, const ProgramOptions& options) {
  const auto row = static_cast<std::size_t>(options.RGroup);
  if (options.RGroup < 0 || row >= view.ContourMax.size() || row >= view.ContourMin.size() ||
      row >= view.ContourStep.size())
    return;
  const ContourOptions& c = options.contour;
  if (c.MaxBox) view.ContourMax[row] = *c.MaxBox;
  if (c.MinBox) view.ContourMin[row] = *c.MinBox;
  if (c.StepBox) view.ContourStep[row] = *c.StepBox;
}

bool IsSubCommand(int argc, char** argv) {
  return argc > 1 && (IsCommandName(argv[1]) || IsHelpFlag(argv[1]) || std::strcmp(argv[1], "--version") == 0);
}

bool SubCommandDraws(int argc, char** argv) {
  if (argc < 2 || (std::strcmp(argv[1], "render") != 0 && std::strcmp(argv[1], "legend") != 0 &&
                    std::strcmp(argv[1], "profile") != 0))
    return false;
  return std::none_of(argv + 2, argv + argc, [](const char* a) { return IsHelpFlag(a); });
}

// The plot window's size from the settings is bounded as --size is: the window clamps it to
// its range, but a command drawing a picture of that size must not take a value far beyond
// the range as the range's edge (a 20000-pixel square is 1.6 GB).
static void CheckPictureSize(const std::string& control, const std::string& value, const std::string& where) {
  if (control != "TViewForm.Width" && control != "TViewForm.Height") return;
  const long long n = ParseIntegerValue(control, value);
  if (n < 1 || n > kMaxPictureSide)
    throw CorvaneError(where + control + " の値 " + value + " は 1.." + std::to_string(kMaxPictureSide) +
                       " の範囲にありません (--size と同じ上限です)");
}

ProgramOptions BuildOptions(const CommandArgs& args, std::vector<std::pair<std::string, std::string>>* other) {
  ProgramOptions options;
  const auto& table = ProgramOptionTable();
  std::string path = args.settingsPath.empty() ? SettingsFilePath().toStdString() : args.settingsPath;
  if (!args.settingsPath.empty() && !QFileInfo::exists(QString::fromStdString(path)))
    throw CorvaneError("設定ファイルが見つかりません: " + path);
  SettingsFileResult settings = ReadSettingsFile(path);
  // The windows stop reading quietly at a bad line; a command says where and fails instead.
  if (!settings.complete && QFileInfo::exists(QString::fromStdString(path))) throw CorvaneError(settings.stopReason);
  for (const ControlAssignment& a : settings.assignments) {
    CheckPictureSize(a.control, a.value, "設定ファイル " + path + " の " + std::to_string(a.line + 1) + " 行目: ");
    if (table.Has(a.control)) {
      table.Apply(options, a.control, a.value);
    } else if (other) {
      other->emplace_back(a.control, a.value);
    }
  }
  for (const auto& [name, value] : args.sets) {
    CheckPictureSize(name, value, "--set: ");
    if (table.Has(name)) {
      table.Apply(options, name, value);
    } else if (other && name.find('.') != std::string::npos) {
      other->emplace_back(name, value);
    } else {
      throw CorvaneError("不明な設定項目です: " + name);
    }
  }
  return options;
}

int RunCommandLine(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) {
    std::cout << VersionText();
    return 0;
  }
  if (argc < 2 || !IsCommandName(argv[1])) {
    std::cout << GeneralHelpText();
    return argc >= 2 && IsHelpFlag(argv[1]) ? 0 : 1;
  }
  if (AsksForHelp(argc, argv)) {
    std::cout << CommandHelpText(argv[1]);
    return 0;
  }
  try {
    CommandArgs args = Parse(argc, argv);
    if (args.command == "info") return RunInfoCommand(args);
    if (args.command == "render") return RunRenderCommand(args);
    if (args.command == "legend") return RunLegendCommand(args);
    if (args.command == "profile") return RunProfileCommand(args);
    return RunAnalyzeCommand(args);
  } catch (const std::exception& e) {
    std::cerr << "corvane: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace corvane
