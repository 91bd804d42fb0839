// Where the program looks for its settings and manual, in a build and in an install, and Qt's
// Japanese texts for the standard dialogs.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTranslator>
#include <gtest/gtest.h>

#include "app/DesktopIntegration.h"

namespace corvane {
namespace {

void Touch(const QString& path) {
  QDir().mkpath(QFileInfo(path).path());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

TEST(DesktopIntegration, SettingsBesideTheProgramComeFirstThenTheUsersConfigFolder) {
  struct Case {
    bool beside, user;
    const char* expected;
  };
  for (const Case c : {Case{true, true, "bin/crv.ini"}, Case{false, true, "config/corvane/crv.ini"},
                       Case{true, false, "bin/crv.ini"}, Case{false, false, "bin/crv.ini"}}) {
    QTemporaryDir root;
    const QDir d(root.path());
    QDir().mkpath(d.filePath("bin"));
    if (c.beside) Touch(d.filePath("bin/crv.ini"));
    if (c.user) Touch(d.filePath("config/corvane/crv.ini"));
    EXPECT_EQ(SettingsFilePath(d.filePath("bin"), d.filePath("config")), d.filePath(c.expected))
        << c.beside << c.user;
  }
}

TEST(DesktopIntegration, ConfigFolderFollowsXdgAndIgnoresARelativeValue) {
  const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
  const QString fallback = QDir::homePath() + "/.config";
  for (const auto& [value, expected] : {std::pair<const char*, QString>{"/srv/conf", "/srv/conf"},
                                        {"relative/conf", fallback},
                                        {"", fallback}}) {
    qputenv("XDG_CONFIG_HOME", value);
    EXPECT_EQ(ConfigHome(), expected) << value;
  }
  qputenv("XDG_CONFIG_HOME", saved);
}

TEST(DesktopIntegration, ManualIsFoundBesideABuildOrInAnInstallTree) {
  QTemporaryDir root;
  const QDir d(root.path());
  QDir().mkpath(d.filePath("bin"));
  // Neither: the place beside the program, where opening it then does nothing.
  EXPECT_EQ(ManualFilePath(d.filePath("bin")), d.filePath("bin/manual/index.html"));
  Touch(d.filePath("share/corvane/manual/index.html"));
  EXPECT_EQ(ManualFilePath(d.filePath("bin")), d.filePath("share/corvane/manual/index.html"));
  Touch(d.filePath("bin/manual/index.html"));
  EXPECT_EQ(ManualFilePath(d.filePath("bin")), d.filePath("bin/manual/index.html"));
}

TEST(DesktopIntegration, StandardDialogsSpeakJapanese) {
  QCoreApplication* app = QCoreApplication::instance();
  ASSERT_TRUE(InstallQtJapanese(*app)) << "qtbase_ja not found (qt6-translations-l10n)";
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Save"), QStringLiteral("保存"));
  EXPECT_EQ(QCoreApplication::translate("QFontDialog", "Select Font"), QStringLiteral("フォントの選択"));
  // Other tests of this program expect Qt's own English texts.
  for (QTranslator* t : app->findChildren<QTranslator*>()) {
    QCoreApplication::removeTranslator(t);
    delete t;
  }
}

}  // namespace
}  // namespace corvane
