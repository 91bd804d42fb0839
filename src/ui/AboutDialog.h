// The About window and the help command: program name, version, the maker's line and contact
// links; the manual page beside the executable opened in the system's browser.
#pragma once
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "base/Notifier.h"

namespace Ui { class AboutDialog; }

namespace corvane {

// Contact addresses shown in the About window and opened by its links.
inline constexpr const char* kMakerMailAddress = "corvane@example.org";
inline constexpr const char* kMakerWebAddress = "https://example.org/corvane/";

class AboutDialog : public QWidget {
  Q_OBJECT

 public:
  // Created hidden, last of all windows. `formCreate` runs once at the end of construction:
  // the main window passes its LoadSettings, so the settings file is read when every window
  // it touches exists.
  explicit AboutDialog(QWidget* parent = nullptr, const std::function<void()>& formCreate = {});
  ~AboutDialog() override;

  // Menu_VersionClick of the main window: shows the window, or brings it forward if visible.
  void ShowOrRaise();

 public slots:
  void closeClicked();  // hides the window; it is shown again by the menu
  void writeToMaker();   // opens a mailto: link to the maker's address
  void openMakerPage();   // opens the maker's web page

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::unique_ptr<Ui::AboutDialog> ui;
};

// The manual page: manual/index.html in the folder of the running executable.
QString ManualPath();
// showHelp of the main window: opens the manual in the system's browser. A missing page, or
// no program to show it, is said in a message that gives the page's path.
void OpenManual(Notifier& notifier);
// Opens a local file with the program the desktop has for it; false when none took it.
bool OpenWithDesktop(const QString& path);

}  // namespace corvane
