// The variables a formula adds to the data set, the variable list after the rows changed, and
// the velocity data switched on or off.
#include "base/Errors.h"
#include "field/FormulaVariables.h"
#include "fieldview/ContourRanges.h"
#include "field/VariableRows.h"
#include "ui/ControlFactory.h"
#include "ui/MainWindow.h"
#include "ui/RadioGroupWidget.h"
#include "ui/ProfileWindow.h"
#include "ui/StreamTabController.h"

namespace corvane {

bool MainWindow::AddFormula(const QString& text) {
  if (Busy()) return false;
  try {
    const FormulaDefinition formula = ParseFormulaText(text.toStdString());
    for (const std::string& kept : scene.options.load.formulas)
      if (ParseFormulaText(kept).name == formula.name)
        throw CorvaneError("計算式の名前 \"" + formula.name + "\" はすでに使われています");
    int row = -1;
    if (!scene.data.Empty()) row = AddShownFormula(scene.data, scene.fieldView, formula);
    scene.options.load.formulas.push_back(text.trimmed().toStdString());
    state.events.Changed(StateChange::Formulas);
    if (row >= 0) RefreshVariableItems(row);
  } catch (const CorvaneError& e) {
    notifier_->Warning(std::string(e.what()) + "。この変数は追加しません");
    return false;
  }
  return true;
}

void MainWindow::RemoveFormula(int k) {
  auto& formulas = scene.options.load.formulas;
  if (k < 0 || k >= static_cast<int>(formulas.size()) || Busy()) return;
  std::string name;
  try {
    name = ParseFormulaText(formulas[static_cast<std::size_t>(k)]).name;
  } catch (const CorvaneError&) {
  }
  formulas.erase(formulas.begin() + k);
  state.events.Changed(StateChange::Formulas);
  const int row = name.empty() ? -1 : FindRow(scene.data, name);
  if (row < 0 || row >= scene.data.ColumnCount - 2) return;
  scene.data.Values.erase(scene.data.Values.begin() + row);
  scene.data.VariableNames.erase(scene.data.VariableNames.begin() + row);
  for (std::vector<double>* c : {&scene.fieldView.ContourMax, &scene.fieldView.ContourMin, &scene.fieldView.ContourStep})
    if (static_cast<std::size_t>(row) < c->size()) c->erase(c->begin() + row);
  scene.data.ColumnCount -= 1;
  int selected = RGroup->ItemIndex();
  RGroup->SetItems([&] {
    QStringList items;
    for (const std::string& s : RGroupItemsOf(scene.data, scene.options.load.IncludeVelCheck)) items << Q(s);
    return items;
  }());
  if (selected > row) --selected;
  else if (selected == row) selected = 0;
  RGroup->SetItemIndex(std::clamp(selected, 0, std::max(RGroup->Count() - 1, 0)));
  OptionControls::Store(RGroup, state);
  RGroupClick();
  if (profileWindow) profileWindow->DataChanged();
}

void MainWindow::RefreshVariableItems(int insertedRow) {
  if (insertedRow >= 0) {
    int selected = RGroup->ItemIndex();
    QStringList items;
    for (const std::string& s : RGroupItemsOf(scene.data, scene.options.load.IncludeVelCheck)) items << Q(s);
    RGroup->SetItems(items);
    GrowToContents();
    if (selected >= insertedRow) ++selected;
    RGroup->SetItemIndex(std::clamp(selected, 0, std::max(RGroup->Count() - 1, 0)));
    OptionControls::Store(RGroup, state);
    RGroupClick();
  }
  if (profileWindow) profileWindow->DataChanged();
}

// Adds or removes the derived variables and the controls that need velocity data.
void MainWindow::VelocityDataChanged() {
  if (scene.options.load.IncludeVelCheck) {
    if (!scene.data.Empty() && RGroup->Count() == scene.data.ColumnCount - 2) {
      const std::vector<std::string> items = RGroupItemsOf(scene.data, true);
      for (std::size_t k = static_cast<std::size_t>(RGroup->Count()); k < items.size(); ++k) RGroup->AddItem(Q(items[k]));
    }
    mainControls_.Find("ShowVec")->setEnabled(true);
    mainControls_.Find("VecScaleBox")->setEnabled(true);
    tabs_.stream->EnableStreamLines(true);
  } else {
    if (!scene.data.Empty() && RGroup->Count() == static_cast<int>(RGroupItemsOf(scene.data, true).size())) {
      while (RGroup->Count() > scene.data.ColumnCount - 2) RGroup->DeleteLastItem();
    }
    mainControls_.Find("ShowVec")->setEnabled(false);
    mainControls_.Find("VecScaleBox")->setEnabled(false);
    tabs_.stream->EnableStreamLines(false);
  }
  RefreshVariableItems(-1);
}

}  // namespace corvane
