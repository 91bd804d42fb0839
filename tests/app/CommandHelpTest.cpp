// The command line explains itself: help for the program and each sub-command, the version, and
// a clear refusal of an option that belongs to another sub-command.
#include <QProcess>
#include <gtest/gtest.h>

namespace corvane {
namespace {

struct Output {
  int status = -1;
  QString out, err;
};

Output RunProgram(const QStringList& arguments) {
  QProcess p;
  p.start(QStringLiteral(CORVANE_BINARY), arguments);
  p.waitForFinished(60000);
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
          QString::fromUtf8(p.readAllStandardError())};
}

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
    EXPECT_TRUE(r.out.startsWith("使い方: corvane " + arguments[0])) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("\n例:\n  corvane " + arguments[0])) << r.out.toStdString();
    for (const QString& m : mentions) EXPECT_TRUE(r.out.contains(m)) << arguments[0].toStdString() << ": " << m.toStdString();
  }
}

TEST(CommandHelp, ProgramHelpAndVersionSucceedAndOtherCommandsOptionsAreRefused) {
  const Output help = RunProgram({"--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* command : {"info", "render", "legend", "analyze", "--version"}) EXPECT_TRUE(help.out.contains(command));
  const Output version = RunProgram({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, QStringLiteral("corvane " CORVANE_VERSION "\n"));
  // An option of another command would otherwise be silently ignored.
  const Output wrong = RunProgram({"legend", "x.dat", "--size", "10x10", "-o", "a.png"});
  EXPECT_EQ(wrong.status, 1);
  EXPECT_TRUE(wrong.err.contains("--size は legend では使えません")) << wrong.err.toStdString();
  // The value of --set may look like an option without being one.
  const Output value = RunProgram({"info", "--set", "--help"});
  EXPECT_EQ(value.status, 1);
  EXPECT_TRUE(value.err.contains("--set は NAME=VALUE の形で指定してください")) << value.err.toStdString();
}

}  // namespace
}  // namespace corvane
