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
  // Where the settings file and the manual are looked for, as paths under the root.
  auto found = [&] { return QStringList{d.relativeFilePath(SettingsFilePath(bin, config)), d.relativeFilePath(ManualFilePath(bin))}; };
  // Neither there: the place beside the program, where reading or opening then finds nothing.
  EXPECT_EQ(found(), (QStringList{"bin/crv.ini", "bin/manual/index.html"}));
  for (const char* name : {"config/corvane/crv.ini", "share/corvane/manual/index.html"}) touch(name);
  EXPECT_EQ(found(), (QStringList{"config/corvane/crv.ini", "share/corvane/manual/index.html"}));
  for (const char* name : {"bin/crv.ini", "bin/manual/index.html"}) touch(name);
  EXPECT_EQ(found(), (QStringList{"bin/crv.ini", "bin/manual/index.html"}));

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
