#include "app/SettingsFile.h"

namespace corvane {

SettingsFileResult ParseSettingsText(const std::string& text) {
  (void)text;
  return {};
}

SettingsFileResult ReadSettingsFile(const std::string& path) {
  (void)path;
  return {};
}

}  // namespace corvane
