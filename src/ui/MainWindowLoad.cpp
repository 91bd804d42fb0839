// The main window's load command: the chosen file (or the series of them) read on the worker, and
// the completed load taken into the state and the controls.
#include <QFileInfo>

#include "fieldview/LoadedView.h"
#include "field/DeferredRows.h"
#include "base/Errors.h"
#include "field/VariableRows.h"
#include "scene/SceneLoad.h"
#include "ui/AnalysisTabController.h"
#include "ui/ControlFactory.h"
#include "ui/DataTabController.h"
#include "ui/DisplayTabController.h"
#include "ui/FileTabController.h"
#include "ui/MainWindow.h"
#include "ui/RadioGroupWidget.h"
#include "ui/WorkFeedback.h"
#include "ui/SeriesControl.h"
#include "ui/SettingsApplier.h"
#include "ui/StreamTabController.h"

namespace corvane {

QString MainWindow::CurrentFolder() const { return tabs_.file->CurrentFolder(); }

// Loads the list's current file, or asks for one.
void MainWindow::LoadSelectedFile() {
  const QString chosen = tabs_.file->ChosenPath();
  if (chosen.isEmpty()) {
    notifier_->Warning("ファイルが選択されていません");
    tabs_.file->AskForFile();
    return;
  }
  // Several selected files, or one file of several solution times, make a time series.
  std::vector<std::string> selected;
  for (const QString& path : tabs_.file->SelectedPaths()) selected.push_back(path.toStdString());
  if (selected.size() == 1) selected = {chosen.toStdString()};
  std::vector<SeriesFrame> frames;
  bool refused = false;
  RunHandler([&] {
    try {
      frames = SeriesFrames(selected);
    } catch (const CorvaneError&) {
      refused = selected.size() > 1;
      if (refused) throw;  // one file's own load below says what is wrong with it
    }
  });
  if (refused) return;
  if (frames.size() > 1) {
    series_->Load(std::move(frames));
    return;
  }
  series_->Load({});
  LoadFile(chosen);
}

// Reads `path` into a new data set and replaces the shown one only when the load completes.
bool MainWindow::LoadFile(const QString& path) {
  bool replaced = false;
  gate_.Run([&] { replaced = LoadFileCore(path); });
  // Files the user opened are remembered; the batch's many loads are not.
  if (replaced) {
    recentFiles.Add(path);
    RefillRecentMenu();
  }
  return replaced;
}

bool MainWindow::LoadFileCore(const QString& path) {
  RequireLoadNumbers(state);
  ProgramOptions options = scene.options;
  // Every load preselects the velocity, temperature and pressure columns afresh.
  options.load.xvecbox = options.load.yvecbox = options.load.tmpbox = options.load.prsBox = -1;
  // ... unless the settings or --set chose them before there was a file (as the command line
  // takes them); the lists show the choice once the load fills them.
  for (auto [name, field] : {std::pair{"xvecbox", &LoadOptions::xvecbox}, {"yvecbox", &LoadOptions::yvecbox},
                             {"tmpbox", &LoadOptions::tmpbox}, {"prsBox", &LoadOptions::prsBox}})
    if (auto choice = settings_->PendingChoice(name)) options.load.*field = static_cast<int>(*choice);
  feedback_->progress().SetPosition(0);
  // The abort command stops this load only: a flag left from earlier is cleared before, and the
  // flag is cleared again however the load ends.
  struct ClearAbort {
    bool& flag;
    ~ClearAbort() { flag = false; }
  } clearAbort{state.AbortRequested};
  state.AbortRequested = false;
  const QString name = QFileInfo(path).fileName();
  // However the load ends, the status bar says how, and the gauge is not left half way.
  struct Unfinished {
    MainWindow* form;
    QString name;
    bool done = false;
    ~Unfinished() {
      if (!done) form->feedback_->Finish(QStringLiteral("読み込みできませんでした: ") + name, false);
    }
  } unfinished{this, name};
  // The new data set is built on the worker beside the shown one, which it only reads; it
  // replaces the shown one here, on this thread, once complete.
  std::optional<LoadResult> result;
  const FieldView previousView = scene.fieldView;
  RunWork([&](Progress& progress, Notifier& notifier) {
    result = LoadAnyDataFile(path.toStdString(), options.load, previousView, notifier, progress);
    // The row shown after the load is computed here rather than on the window thread.
    if (result) EnsureRowValues(result->data, options.RGroup);
  });
  if (!result) {
    unfinished.done = true;
    feedback_->Finish(state.AbortRequested ? QStringLiteral("中断しました") : QStringLiteral("読み込みできませんでした: ") + name, false);
    return false;
  }
  LoadedPath = path;
  ApplyLoadResult(*result);
  unfinished.done = true;
  feedback_->Finish(QStringLiteral("読み込み完了: %1 (%2 点)").arg(name).arg(scene.data.NodeCount), true);
  return true;
}

// Takes a completed load: the data set, the variable list, the selectors and the zone lists.
void MainWindow::ApplyLoadResult(LoadResult& result) {
  int remembered = RGroup->ItemIndex();
  // New zone count: every zone's edge flags start from the four check boxes.
  const bool newZoneList = tabs_.display->ZoneListCount() != result.data.ZoneCount;
  ApplyLoadToScene(scene, result, newZoneList);
  QStringList items;
  for (const std::string& s : RGroupItemsOf(scene.data, scene.options.load.IncludeVelCheck)) items << Q(s);
  RGroup->SetItems(items);
  GrowToContents();
  tabs_.data->ShowColumnChoices(result.choices.names, result.choices.Rows());
  if (newZoneList) {
    tabs_.display->RefillZoneList(scene.data.ZoneCount);
    tabs_.stream->RefillZoneList(scene.data.ZoneCount);
  }
  tabs_.analysis->ZonesLoaded(scene.data.ZoneCount, newZoneList);
  if (RGroup->Count() > remembered && remembered >= 0) RGroup->SetItemIndex(remembered);
  if (RGroup->ItemIndex() < 0) RGroup->SetItemIndex(0);
  // Lists refilled with their signals blocked store their new choice here.
  OptionControls::Store(RGroup, state);
  settings_->TakePendingChoices();
  RefreshVariableItems(-1);
  activateWindow();
}

}  // namespace corvane
