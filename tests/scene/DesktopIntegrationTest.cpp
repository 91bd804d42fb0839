// Where the program looks for its settings and manual, in a build and in an install, and Qt's
// Japanese texts for the standard dialogs.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTranslator>
#include <gtest/gtest.h>

#include "scene/DesktopIntegration.h"

namespace corvane {
namespace {

TEST(DesktopIntegration, SettingsAndManualAreFoundBesideABuildThenWhereAnInstallPutsThem) {
  QTemporaryDir root;
  const QDir d(root.path());
  const QString bin = d.filePath("bin"), config = d.filePath("config");
  QDir().mkpath(bin);
  auto touch = [&](const char* name) {
    QDir().mkpath(QFileInfo(d.filePath(name)).path());
    QFile(d.filePath(name)).open(QIODevice::WriteOnly);
  };
  // Neither there: the place beside the program, where reading or opening then finds nothing.
  EXPECT_EQ(SettingsFilePath(bin, config), d.filePath("bin/crv.ini"));
  EXPECT_EQ(ManualFilePath(bin), d.filePath("bin/manual/index.html"));
  touch("config/corvane/crv.ini");
  touch("share/corvane/manual/index.html");
  EXPECT_EQ(SettingsFilePath(bin, config), d.filePath("config/corvane/crv.ini"));
  EXPECT_EQ(ManualFilePath(bin), d.filePath("share/corvane/manual/index.html"));
  touch("bin/crv.ini");
  touch("bin/manual/index.html");
  EXPECT_EQ(SettingsFilePath(bin, config), d.filePath("bin/crv.ini"));
  EXPECT_EQ(ManualFilePath(bin), d.filePath("bin/manual/index.html"));

  // The configuration folder follows XDG, which ignores a relative value.
  const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
  for (const auto& [value, expected] : {std::pair<const char*, QString>{"/srv/conf", "/srv/conf"},
                                        {"relative/conf", QDir::homePath() + "/.config"},
                                        {"", QDir::homePath() + "/.config"}}) {
    qputenv("XDG_CONFIG_HOME", value);
    EXPECT_EQ(ConfigHome(), expected) << value;
  }
  qputenv("XDG_CONFIG_HOME", saved);
}

TEST(DesktopIntegration, StandardDialogsSpeakJapanese) {
  QCoreApplication* app = QCoreApplication::instance();
  ASSERT_TRUE(InstallQtJapanese(*app)) << "qtbase_ja not found (qt6-translations-l10n)";
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Save"), QStringLiteral("保存"));
  EXPECT_EQ(QCoreApplication::translate("QFontDialog", "Select Font"), QStringLiteral("フォントの選択"));
  // The other tests of this program expect Qt's own English texts.
  for (QTranslator* t : app->findChildren<QTranslator*>()) {
    QCoreApplication::removeTranslator(t);
    delete t;
  }
}

}  // namespace
}  // namespace corvane
