// The command line explains itself: help for the program and each sub-command, the version, and
// a clear refusal of an option that belongs to another sub-command.
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <tuple>

#include "TestSupport.h"

namespace corvane {
namespace {

using Output = testing::CommandRun;
Output RunProgram(const QStringList& arguments) { return testing::RunCorvane(arguments); }

TEST(CommandHelp, EveryCommandExplainsItsOptionsWithAnExample) {
  const std::pair<QStringList, QStringList> cases[] = {
      {{"info", "--help"}, {"--settings", "--set", "--json", "--node", "--formula"}},
      {{"profile", "--help"}, {"--settings", "--line", "--formula"}},
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

// The desktop program refuses what it cannot do before any window: no display, a mistyped
// command word, an unknown name after --set. Each says why and ends with status 1.
TEST(DesktopStart, RefusalsNameTheProblemAndExitWithOne) {
  QTemporaryDir config;
  auto run = [&](const QStringList& arguments, bool display) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", config.path());
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    if (display) env.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(CORVANE_BINARY), arguments);
    process.waitForFinished(60000);
    return std::pair(process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                     QString::fromUtf8(process.readAllStandardError()));
  };
  const QString none = config.filePath("none.ini");
  const std::tuple<QStringList, bool, QStringList> cases[] = {
      {{}, false, {"ディスプレイ", "render"}},
      {{"rnder", "x.dat"}, false, {"不明なコマンドです", "rnder"}},
      {{"--settings", none, "--set", "NoSuchBox=1"}, true, {"NoSuchBox"}},
      {{"--settings", none, "--set", "ZCountBox=many"}, true, {"ZCountBox"}}};
  for (const auto& [arguments, display, mentions] : cases) {
    const auto [status, errors] = run(arguments, display);
    EXPECT_EQ(status, 1) << arguments.join(' ').toStdString();
    for (const QString& m : mentions) EXPECT_TRUE(errors.contains(m)) << errors.toStdString();
  }
}

}  // namespace
}  // namespace corvane
