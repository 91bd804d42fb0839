// The main window: assembles the tabs (FileTabController.cpp, ContourTabController.cpp, ...), the
// menus (MainMenu.cpp) and the commands (MainWindowCommands.cpp) over one program state; the
// settings, the time series, the command gate and the view drawing are classes of their own.
#pragma once
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "ui/CommandGate.h"
#include "ui/FormNotifier.h"
#include "ui/MainTabs.h"
#include "ui/OptionControls.h"
#include "ui/ProgramState.h"
#include "ui/RecentFiles.h"
#include "ui/UserDialogs.h"

namespace corvane {

struct LoadResult;
class PlotWindow;
class LegendWindow;
class OpenGLWindow;
class ProgressWindow;
class AboutDialog;
class ProfileWindow;
class MainMenu;
class RadioGroupWidget;
class SeriesControl;
class SettingsApplier;
class PlotWindowHost;
class ViewDrawing;
class WorkFeedback;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  ProgramState state;  // what every command reads and writes
  SceneState& scene = state.scene;
  const ProgramOptions& Options() const { return scene.options; }
  // The windows created after this one; the main window reaches them through these.
  PlotWindow* plotWindow = nullptr;
  LegendWindow* legendWindow = nullptr;
  OpenGLWindow* openGLWindow = nullptr;
  ProgressWindow* progressWindow = nullptr;
  AboutDialog* aboutDialog = nullptr;
  ProfileWindow* profileWindow = nullptr;  // made with this window, shown from the analysis tab
  // The parts of the window that are classes of their own.
  FileTabController& fileTab() const { return *tabs_.file; }
  AnalysisTabController& analysisTab() const { return *tabs_.analysis; }
  SettingsApplier& settings() { return *settings_; }  // the settings file's and --set's values
  SeriesControl& series() { return *series_; }        // the time series of the plot window's bar
  PlotWindowHost& plotHost() { return *plotHost_; }  // what the plot window asks of this window
  const ViewDrawing& viewDrawing() const { return *viewDrawing_; }
  WorkFeedback& feedback() { return *feedback_; }  // the gauge and the status bar

  void SetNotifier(Notifier* notifier);  // messages go here; tests put a recording notifier in
  Notifier& notifier() { return *notifier_; }
  void RunHandler(const std::function<void()>& body);  // its errors are shown, the program goes on
  // The same, but held back until the work on the worker thread is done.
  void RunHandlerWhenIdle(std::function<void()> body) { gate_.RunWhenIdle(std::move(body)); }
  // A slot for connect(): `f` run by RunHandlerWhenIdle, given the signal's arguments it takes.
  template <class F>
  auto Guarded(F f) { return gate_.Guarded(std::move(f)); }
  bool TryBeginCommand() { return gate_.TryBegin(); }  // false while another command runs
  void EndCommand() { gate_.End(); }
  bool Busy() const { return gate_.Busy(); }        // a command or work on the worker runs
  // Runs `work` on the worker thread with the window's progress and messages; errors come back.
  void RunWork(const std::function<void(Progress&, Notifier&)>& work);
  // Option controls edited by the user: stored, shown again, reacted to (held back meanwhile).
  void ConnectOptionControls(const OptionControls& controls, QObject* context);

  void LoadSelectedFile();
  bool LoadFile(const QString& path);  // loads one file; true when the data set was replaced
  // Opens a file as from the Open command, the recent list or a drop: loaded, fitted and drawn.
  bool OpenDataFile(const QString& path);
  // Several files opened at once are the frames of one time series; a single one is OpenDataFile.
  bool OpenDataFiles(const QStringList& paths);
  void OpenDroppedFiles(const QStringList& paths);  // one is opened, several are a series
  void RefillRecentMenu();
  void Redraw();
  void RescaleAndRedraw();  // the whole data set in the picture
  void DrawScene();         // the GDI picture into ScenePicture and the plot window
  // Writes the analysis to `path`, then opens it when OpenAnalyzed says so; true when written.
  bool AnalyzeTo(const QString& path);
  // Adds the formula "NAME = EXPRESSION" for this and every later load; a bad one is a warning.
  bool AddFormula(const QString& text);
  void RemoveFormula(int index);  // forgets kept formula `index` and its variable
  void RequestAbort();            // the running load or drawing stops at its next check
  void batchLoadDrawSave();
  QString CurrentFolder() const;
  void ShowTab(int index);
  UserDialogs dialogs;  // the open, font and colour dialogs, and the desktop's opening of a file
  RecentFiles recentFiles;
  QString LoadedPath;  // the data file shown now

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  friend class PlotWindowHost;
  friend class SeriesControl;
  friend class SettingsApplier;
  friend class ViewDrawing;
  void BuildControls();
  void ConnectHandlers();
  void GrowToContents();  // the window grows to show every control again (within the screen)
  // RGroup and the profile window after the rows changed; the selection follows its row.
  void RefreshVariableItems(int insertedRow);
  void VelocityDataChanged();  // the derived variables and the velocity controls follow the check
  void RGroupClick();
  // The window's parts show the state again; the one showing option `name` reacts when it `changed`.
  void LoadControls();
  void LoadMainControls();
  void ControlEdited(QWidget* control, const std::string& value);
  void MainOptionChanged(const std::string& name);
  void OptionChanged(const std::string& name, bool changed);
  QWidget* FindOptionControl(std::string_view name) const;
  std::array<OptionView*, 7> Views() const;
  void ApplyLoadResult(LoadResult& result);
  bool LoadFileCore(const QString& path);  // LoadFile inside a running command; throws
  void DrawSceneCore();                    // DrawScene inside a running command; throws
  void PlacePlotWindow();  // a hidden plot window placed inside the screen before it is drawn for
  void ShowOpenedView();   // the first view of an opened file (MainWindowOpenedView.cpp)
  void ShowDrawnState();   // the step the picture used, and the plot window's caption

  FormNotifier windowNotifier_;
  Notifier* notifier_;
  std::unique_ptr<SettingsApplier> settings_;
  std::unique_ptr<SeriesControl> series_;
  std::unique_ptr<ViewDrawing> viewDrawing_;
  std::unique_ptr<WorkFeedback> feedback_;
  std::unique_ptr<PlotWindowHost> plotHost_;
  std::unique_ptr<MainMenu> menu_;
  CommandGate gate_;  // its worker thread ends before the members above go
  bool viewPlaced_ = false;
  OptionControls mainControls_;  // RGroup, the display switches, UseOpenGL, WhiteBack
  RadioGroupWidget* RGroup;      // the controls' object names are their names in the settings
  MainTabs tabs_;
};

}  // namespace corvane
