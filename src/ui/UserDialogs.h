// The dialogs the main window asks the user through, which tests answer instead of a user.
#pragma once
#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace corvane {

struct UserDialogs {
  // The open dialog, several files allowed (empty: cancelled).
  std::function<QStringList()> ChooseOpenFiles;
  // The font and colour dialogs (nullopt: cancelled).
  std::function<std::optional<QFont>(const QFont& initial, const QString& title)> ChooseFont;
  std::function<std::optional<QColor>(const QColor& initial, const QString& title)> ChooseColour;
  // How a written analysis file is opened; false when no program took it.
  std::function<bool(const QString& path)> OpenDocument;
};

}  // namespace corvane
