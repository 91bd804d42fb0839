// The command line's own description of itself: which options each sub-command takes, what
// they mean, and the help and version texts printed from that one table, so the parser and the
// help can never disagree.
#pragma once
#include <string>
#include <string_view>

namespace corvane {

// Sub-commands as bits, so one option can belong to several.
enum CommandBit : unsigned { kInfoCommand = 1, kRenderCommand = 2, kLegendCommand = 4, kAnalyzeCommand = 8, kProfileCommand = 16 };

struct CommandOption {
  const char* name;      // "--settings"
  const char* shortName; // "-o", or nullptr
  const char* value;     // what follows it ("FILE"), or nullptr for a switch
  unsigned commands;     // CommandBit mask of the sub-commands that take it
  const char* meaning;   // one line, Japanese
};

// The option named `arg` (long or short form), or nullptr when there is none.
const CommandOption* FindCommandOption(std::string_view arg);
// The bit of a sub-command name; 0 when it is none.
unsigned CommandBitOf(std::string_view command);

// `corvane --help`: every way to start the program.
std::string GeneralHelpText();
// `corvane COMMAND --help`: usage, what it does, every option with its meaning, an example.
std::string CommandHelpText(std::string_view command);
// `corvane --version`.
std::string VersionText();

}  // namespace corvane
