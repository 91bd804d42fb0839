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
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.output, QStringLiteral("corvane " CORVANE_VERSION "\n"));
  // An option of another command would otherwise be silently ignored.
  const Output wrong = RunProgram({"legend", "x.dat", "--size", "10x10", "-o", "a.png"});
  EXPECT_EQ(wrong.status, 1);
  EXPECT_TRUE(wrong.errors.contains("--size は legend では使えません")) << wrong.errors.toStdString();
  // The value of --set may look like an option without being one.
  const Output value = RunProgram({"info", "--set", "--help"});
  EXPECT_EQ(value.status, 1);
  EXPECT_TRUE(value.errors.contains("--set は NAME=VALUE の形で指定してください")) << value.errors.toStdString();
}

}  // namespace
}  // namespace corvane
