// The main window: every option of the program as a control over the program state, and the
// commands (load, draw, save, show the other windows). Its tabs live in files of their own
// (FileTabController.cpp, ContourTabController.cpp, ...); the menus in MainMenu.cpp, the commands in MainWindowCommands.cpp.
#pragma once
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <array>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "data/DataReader.h"
#include "data/DataSeries.h"
#include "scene/ProgramOptions.h"
#include "ui/ErrorBoundary.h"
#include "ui/FormNotifier.h"
#include "ui/OptionControls.h"
#include "ui/PlotHost.h"
#include "ui/ProgramState.h"
#include "ui/RadioGroupWidget.h"
#include "ui/RecentFiles.h"
#include "ui/ViewHistory.h"

namespace corvane {

class PlotWindow;
class LegendWindow;
class ProgressWindow;
class AboutDialog;
class ProfileWindow;
class FileTabController;
class DataTabController;
class ContourTabController;
class AxesTabController;
class ColourTabController;
class DisplayTabController;
class StreamTabController;
class AnalysisTabController;
class WorkerLoop;
class MainMenu;
class SeriesControl;
class SettingsApplier;

class MainWindow : public QMainWindow, public PlotHost {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // The program state, and its scene: what every command reads and writes.
  ProgramState state;
  SceneState& scene = state.scene;
  // The stored option values: what every command reads.
  const ProgramOptions& Options() const { return scene.options; }

  // The windows created after this one; the main window reaches them through these.
  PlotWindow* plotWindow = nullptr;
  LegendWindow* legendWindow = nullptr;
  QWidget* openGLWindow = nullptr;  // OpenGLWindow
  ProgressWindow* progressWindow = nullptr;
  AboutDialog* aboutDialog = nullptr;

  // Messages go here; tests put a recording notifier in.
  void SetNotifier(Notifier* notifier);
  Notifier& notifier() override { return *notifier_; }
  Progress& progress() { return *progress_; }

  // Runs one handler inside the error boundary: an error is shown, the program goes on.
  void RunHandler(const std::function<void()>& body) override { RunGuarded(*notifier_, body); }
  // The same, but while a load or drawing works on the worker thread the handler waits and runs
  // once the command is over: handlers write the options and the data set the work reads.
  void RunHandlerWhenIdle(std::function<void()> body) override;
  // A slot for connect(): the member handler `m` (or any callable) inside the error boundary,
  // held back while the worker runs.
  auto Guarded(void (MainWindow::*m)()) {
    return [this, m] { RunHandlerWhenIdle([this, m] { (this->*m)(); }); };
  }
  template <class F>
  auto Guarded(F f) {
    return [this, f](auto&&... args) {
      RunHandlerWhenIdle([f, ... a = std::decay_t<decltype(args)>(args)] {
        if constexpr (std::is_invocable_v<const F&, const std::decay_t<decltype(args)>&...>)
          f(a...);
        else
          f();
      });
    };
  }

  // Re-entrancy: a command that would work on the data or the picture is refused while another
  // one is running (it waits for its worker with the event loop running, so a second command
  // can arrive). Returns false if refused.
  bool TryBeginCommand() override;
  void EndCommand() override;
  bool Busy() const { return busy_ || working_; }
  // A zoom's drawing is scheduled or running on the worker (zooms meanwhile cancel it and wait
  // for the newest view); drawings of views started so far.
  bool ViewDrawingRunning() const { return viewDrawing_; }
  int viewDrawingsStarted = 0;
  // A load or drawing is running on the worker thread (the command that started it is waiting).
  bool Working() const override { return working_; }
  // Runs `work` on the worker thread with the window's progress and messages, waiting for it
  // with the event loop running; the abort command reaches it. Errors are thrown again here.
  void RunWork(const std::function<void(Progress&, Notifier&)>& work);

  // Option controls edited by the user (held back while the worker runs): the value is stored,
  // the part of the window showing it loads the state again and reacts to the change.
  void ConnectOptionControls(const OptionControls& controls, QObject* context);
  void ControlEdited(QWidget* control, const std::string& value);
  // Every part of the window shows the state again.
  void LoadControls();
  // The settings file's and --set's values, applied through the controls.
  SettingsApplier& settings() { return *settings_; }

  // ---- commands ----
  void LoadSelectedFile();
  // The time series the plot window's time bar steps through.
  SeriesControl& series() { return *series_; }
  bool SaveSeriesAnimation(const QString& path) override;
  bool SeriesLoaded() const override;
  bool LoadFile(const QString& path);  // loads one file; true when the data set was replaced
  bool LoadFileCore(const QString& path);  // the same inside a running command; throws
  void Redraw();
  void RescaleAndRedraw();
  void PlacePlotWindow();  // a hidden plot window placed inside the screen before it is drawn for
  void DrawScene();  // the GDI picture into ScenePicture and the plot window
  void DrawSceneCore();  // the same inside a running command; throws
  // Grid lines of every zone over the background: the quick preview while panning.
  void RenderGridPreview(QImage& image) override;
  ProgramState& State() override { return state; }
  void SegmentPointPicked(bool first, const QString& xText, const QString& yText) override;
  // Line picking for the profile window: the world point under the cursor goes to it.
  void GridLineHover(int px, int py) override;
  void GridLinePicked(int px, int py) override;
  void ZoomAt(int px, int py, double factor) override;
  void ZoomToRect(int x1, int y1, int x2, int y2) override;
  // Opens a data file the way a user means it from the Open command, the recent list or a drop:
  // the file list goes to its folder, the file is loaded with the data tab's layout, the view is
  // fitted and the picture drawn. True when the data set was replaced.
  bool OpenDataFile(const QString& path);
  // Several files opened at once (the command line, the Open dialog) are the frames of one time
  // series, fitted and drawn like one opened file; a single one is OpenDataFile.
  bool OpenDataFiles(const QStringList& paths);
  void RefillRecentMenu();
  // Files dropped on the main or the plot window: one is opened, several are a series.
  void OpenDroppedFiles(const QStringList& paths) override;
  // The open dialog, several files allowed (empty: cancelled); tests answer it instead of a user.
  std::function<QStringList()> ChooseOpenFiles;
  RecentFiles recentFiles;
  // ---- views ----
  // Remembers the view about to be left, for the way back.
  void RememberView() override;
  void ZoomBack();
  void ZoomForward();
  void FitToData();  // the Fit command: the whole data set in the picture
  // The first view of an opened file, fitted and drawn: where the grid is dense when the data
  // crowds into a small part of its extents (a body in a far field), the whole otherwise; the
  // centre and scales the settings or --set gave take the place of the fitted ones, once. The
  // plot window's status bar says how to see the whole and how to zoom.
  void ShowOpenedView();
  // Scales by `factor` keeping the world point under pixel (px, py) where it is.
  void WheelZoom(int px, int py, double factor) override;
  ViewHistory viewHistory;
  // The tabs that are controllers of their own over the state.
  FileTabController& fileTab() const { return *fileTab_; }
  DataTabController& dataTab() const { return *dataTab_; }
  ContourTabController& contourTab() const { return *contourTab_; }
  AxesTabController& axesTab() const { return *axesTab_; }
  AnalysisTabController& analysisTab() const { return *analysisTab_; }
  // ---- feedback ----
  // The end of a piece of work: the status text, and the gauge full (completed) or emptied; a
  // full gauge is emptied again after `gaugeResetMs`.
  void FinishWork(const QString& status, bool completed);
  int gaugeResetMs = 700;
  void ShowTab(int index);
  QString CurrentFolder() const override;
  // After a drawing: the step box shows the step the picture used, and the plot window's caption
  // names the variable of its contours.
  void ShowDrawnState();

  // ---- handlers ----
  void RGroupClick();
  // The analysis after the save dialog: writes `path`, then opens it when OpenAnalyzed says so.
  // Returns true when the file was written.
  bool AnalyzeTo(const QString& path);
  // How a written analysis file is opened; false when no program took it. Tests replace the
  // desktop's program.
  std::function<bool(const QString& path)> OpenDocument;
  // The font and colour dialogs (nullopt: cancelled); tests answer them instead of a user.
  std::function<std::optional<QFont>(const QFont& initial, const QString& title)> ChooseFont;
  std::function<std::optional<QColor>(const QColor& initial, const QString& title)> ChooseColour;
  // formula variables (data tab) and the profile plot (analysis tab)
  ProfileWindow* profileWindow = nullptr;  // made with this window, shown from the analysis tab
  QString LoadedPath;                   // the data file shown now
  // Adds the formula "NAME = EXPRESSION": checked and evaluated on the data set now loaded, then
  // kept for every later load. A bad one is shown as a warning and kept nowhere.
  bool AddFormula(const QString& text);
  // Forgets kept formula `index`; its variable leaves the data set shown now.
  void RemoveFormula(int index);
  void ProfileButtonClick();
  // The abort command: the running load or drawing stops at its next check.
  void RequestAbort();
  void batchLoadDrawSave();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  friend class SeriesControl;
  friend class SettingsApplier;
  void BuildControls();
  // Grows the window to show every control again after the variable list got longer (within the screen).
  void GrowToContents();
  // RGroup and the profile window after the data set's rows changed; the selection follows its
  // row, which moves down by one when a row was inserted at or before it.
  void RefreshVariableItems(int insertedRow);
  // The derived variables and the velocity controls after the data tab's velocity check changed.
  void VelocityDataChanged();
  void ConnectHandlers();
  // The controls above and below the tabs, and the tabs that show options (Views): the part
  // showing option `name` loads the state, and reacts when it `changed`.
  void LoadMainControls();
  void MainOptionChanged(const std::string& name);
  void OptionChanged(const std::string& name, bool changed);
  QWidget* FindOptionControl(std::string_view name) const;
  std::array<OptionView*, 7> Views() const;
  void ApplyLoadResult(LoadResult& result);
  // A command body: refused while another command runs, errors shown, the program goes on.
  void RunCommand(const std::function<void()>& body);

  // Runs the handlers held back while the worker ran, once no command runs any more.
  void RunDeferredHandlers();
  bool ViewChangeRefused() const { return busy_ || (working_ && !viewDrawing_); }
  void DrawView();
  void PostViewDrawing();
  struct ViewJob;
  void ViewDrawingDone(ViewJob& job);

  FormNotifier windowNotifier_;
  Notifier* notifier_;
  std::unique_ptr<SettingsApplier> settings_;
  std::unique_ptr<SeriesControl> series_;
  std::unique_ptr<FormProgress> progress_;
  bool busy_ = false;
  bool working_ = false;
  // The abort command as the worker sees it: AbortRequested, readable from another thread.
  std::atomic<bool> abortToken_{false};
  std::unique_ptr<MainMenu> menu_;
  std::unique_ptr<WorkerLoop> worker_;  // where loads and drawings run
  bool viewDrawing_ = false;        // a zoom's drawing is scheduled or on the worker
  bool viewRedrawPending_ = false;  // the view changed since that drawing started
  std::vector<std::function<void()>> deferred_;
  bool deferredScheduled_ = false;
  bool viewPlaced_ = false;
  OptionControls mainControls_;  // RGroup, the display switches, UseOpenGL, WhiteBack
  // The controls the window itself changes (object names are the control names).
  RadioGroupWidget* RGroup;
  QCheckBox *BrushCheck, *LineCheck, *ShowVec;
  QLineEdit* VecScaleBox;
  QTabWidget* tabPages;
  QProgressBar* gauge;
  QTimer* gaugeReset_ = nullptr;
  FileTabController* fileTab_ = nullptr;
  DataTabController* dataTab_ = nullptr;
  ContourTabController* contourTab_ = nullptr;
  AxesTabController* axesTab_ = nullptr;
  ColourTabController* colourTab_ = nullptr;
  DisplayTabController* displayTab_ = nullptr;
  StreamTabController* streamTab_ = nullptr;
  AnalysisTabController* analysisTab_ = nullptr;
};

// The program's windows, created in their fixed order; the last creation reads the settings
// file (`settingsPath`, empty: crv.ini beside the executable) into the main window. The plot
// window's size is kept between runs in `plotSizeStore` (empty: not kept, the fixed default).
struct ProgramWindows {
  std::unique_ptr<MainWindow> main;
  std::unique_ptr<PlotWindow> view;
  std::unique_ptr<LegendWindow> legend;
  std::unique_ptr<QWidget> ogl;  // OpenGLWindow, once it exists
  std::unique_ptr<ProgressWindow> process;
  std::unique_ptr<AboutDialog> about;
  ProgramWindows();
  ProgramWindows(ProgramWindows&&) noexcept;
  ProgramWindows& operator=(ProgramWindows&&) noexcept;
  ~ProgramWindows();
};
ProgramWindows CreateProgramWindows(const QString& settingsPath = QString(), const QString& plotSizeStore = QString());

}  // namespace corvane
