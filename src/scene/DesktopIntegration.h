// How the program finds its place on a Linux desktop: the settings file and the manual, both
// where a build leaves them (beside the executable) and where an install puts them, and Qt's own
// Japanese texts for the standard dialogs.
#pragma once
#include <QString>

class QCoreApplication;

namespace corvane {

// Qt wants a private runtime folder and complains on stderr when the session has none (headless
// runs, CI, scripts); give it one of the user's own so only the program's messages are printed.
void EnsureRuntimeDir();

// crv.ini beside the executable when it is there, otherwise the user's one in
// $XDG_CONFIG_HOME/corvane (~/.config/corvane when the variable is unset or not absolute). When
// neither exists, the path beside the executable (reading it then finds nothing).
QString SettingsFilePath();
// The same search with the executable's folder and the configuration folder given.
QString SettingsFilePath(const QString& programDir, const QString& configHome);
// The user's configuration folder by the XDG rules.
QString ConfigHome();

// manual/index.html beside the executable (a build), otherwise ../share/corvane/manual/index.html
// (an install); the first when neither exists.
QString ManualFilePath();
QString ManualFilePath(const QString& programDir);

// Loads Qt's Japanese translation (qtbase_ja) into the application, so the file, font and colour
// dialogs and the message-box buttons speak the program's language whatever the locale. Returns
// whether the translation was found.
bool InstallQtJapanese(QCoreApplication& app);

}  // namespace corvane
