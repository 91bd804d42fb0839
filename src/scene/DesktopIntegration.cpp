#include "scene/DesktopIntegration.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

void EnsureRuntimeDir() {
  if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
  const std::string dir = "/tmp/corvane-runtime-" + std::to_string(getuid());
  mkdir(dir.c_str(), 0700);
  struct stat info {};
  if (stat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() && (info.st_mode & 077) == 0)
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir));
}

QString ConfigHome() {
  // The XDG rules ignore a relative value.
  const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg)) return xdg;
  return QDir(QDir::homePath()).filePath(QStringLiteral(".config"));
}

QString SettingsFilePath(const QString& programDir, const QString& configHome) {
  const QString beside = QDir(programDir).filePath(QStringLiteral("crv.ini"));
  if (QFileInfo::exists(beside)) return beside;
  const QString user = QDir(configHome).filePath(QStringLiteral("corvane/crv.ini"));
  return QFileInfo::exists(user) ? user : beside;
}

QString SettingsFilePath() { return SettingsFilePath(QCoreApplication::applicationDirPath(), ConfigHome()); }

QString ManualFilePath(const QString& programDir) {
  const QString beside = QDir(programDir).filePath(QStringLiteral("manual/index.html"));
  if (QFileInfo::exists(beside)) return beside;
  const QString installed =
      QDir::cleanPath(QDir(programDir).filePath(QStringLiteral("../share/corvane/manual/index.html")));
  return QFileInfo::exists(installed) ? installed : beside;
}

QString ManualFilePath() { return ManualFilePath(QCoreApplication::applicationDirPath()); }

bool InstallQtJapanese(QCoreApplication& app) {
  // Owned by the application object, so it lives exactly as long as the texts are needed.
  auto* translator = new QTranslator(&app);
  if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace corvane
