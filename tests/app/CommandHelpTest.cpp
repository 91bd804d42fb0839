// The command line explains itself: help for the program and each sub-command, the version, and
// a clear refusal of an option that belongs to another sub-command.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace corvane {
namespace {

using Output = testing::CommandRun;
constexpr auto RunProgram = testing::RunCorvane;

TEST(CommandHelp, EveryCommandExplainsItsOptionsWithAnExample) {
  const std::pair<QStringList, QStringList> cases[] = {
      {{"info", "--help"}, {"--settings", "--set", "--json", "--node"}},
      {{"render", "-h"}, {"--settings", "--set", "-o, --output", "--size", "--view", "--seed", ".pdf", ".svg"}},
      {{"legend", "x.dat", "--set", "A=1", "--help"}, {"--settings", "--set", "-o, --output", "TLegendForm."}},
      {{"analyze", "--help"}, {"--settings", "--set", "-o, --output"}},
  };
  for (const auto& [arguments, mentions] : cases) {
    const Output r = RunProgram(arguments);
    EXPECT_EQ(r.status, 0) << arguments.join(' ').toStdString();
    EXPECT_TRUE(r.output.startsWith("使い方: corvane " + arguments[0])) << r.output.toStdString();
    EXPECT_TRUE(r.output.contains("\n例:\n  corvane " + arguments[0])) << r.output.toStdString();
    for (const QString& m : mentions) EXPECT_TRUE(r.output.contains(m)) << arguments[0].toStdString() << ": " << m.toStdString();
  }
}

TEST(CommandHelp, ProgramHelpAndVersionSucceedAndOtherCommandsOptionsAreRefused) {
  const Output help = RunProgram({"--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* command : {"info", "render", "legend", "analyze", "--version"}) EXPECT_TRUE(help.output.contains(command));
  const Output version = RunProgram({"--version"});
  EXPECT_EQ(std::pair(version.status, version.output), std::pair(0, QStringLiteral("corvane " CORVANE_VERSION "\n")));
  // An option of another command would otherwise be silently ignored; the value of --set may look
  // like an option without being one.
  for (const auto& [arguments, error] : {std::pair<QStringList, QString>{{"legend", "x.dat", "--size", "10x10", "-o", "a.png"}, "--size は legend では使えません"},
                                         {{"info", "--set", "--help"}, "--set は NAME=VALUE の形で指定してください"}}) {
    const Output refused = RunProgram(arguments);
    EXPECT_TRUE(refused.status == 1 && refused.errors.contains(error)) << refused.status << " " << refused.errors.toStdString();
  }
}

}  // namespace
}  // namespace corvane
