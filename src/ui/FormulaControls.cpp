// Formula variables on the 構造 tab, and the way to the profile window from the 解析 tab.
#include <QGridLayout>
#include <QGroupBox>

#include "data/Errors.h"
#include "data/FormulaVariables.h"
#include "data/VariableRows.h"
#include "ui/ControlFactory.h"
#include "ui/MainWindow.h"
#include "ui/ProfileWindow.h"

namespace corvane {

void MainWindow::BuildFormulaControls(QBoxLayout* into) {
  auto* group = MakeGroup(DataTab, "FormulaGroup", QStringLiteral("計算式で変数を追加"));
  auto* g = new QGridLayout(group);
  FormulaBox = MakeEdit(group, "FormulaBox", QString());
  FormulaBox->setPlaceholderText(QStringLiteral("Cp = (P - 101325) / (0.5 * 1.2 * 170^2)"));
  FormulaBox->setToolTip(QStringLiteral("名前 = 式。変数名、x、y、pi、+ - * / ^、sqrt exp log abs min max if(条件, a, b) など"));
  FormulaButton = MakeButton(group, "FormulaButton", QStringLiteral("追加"));
  // The kept formulas take one line: the tab keeps its height.
  FormulaList = Named(new QComboBox(group), "FormulaList");
  FormulaDelButton = MakeButton(group, "FormulaDelButton", QStringLiteral("削除"));
  g->addWidget(FormulaBox, 0, 0);
  g->addWidget(FormulaButton, 0, 1);
  g->addWidget(FormulaList, 1, 0);
  g->addWidget(FormulaDelButton, 1, 1);
  into->addWidget(group);
}

void MainWindow::ConnectFormulaControls() {
  connect(FormulaButton, &QPushButton::clicked, this, Guarded(&MainWindow::FormulaButtonClick));
  connect(FormulaBox, &QLineEdit::returnPressed, this, Guarded(&MainWindow::FormulaButtonClick));
  connect(FormulaDelButton, &QPushButton::clicked, this, Guarded(&MainWindow::FormulaDelButtonClick));
}

void MainWindow::FormulaButtonClick() {
  if (AddFormula(FormulaBox->text())) FormulaBox->clear();
}

bool MainWindow::AddFormula(const QString& text) {
  if (Busy()) return false;
  try {
    const FormulaDefinition formula = ParseFormulaText(text.toStdString());
    for (const std::string& kept : scene.options.load.formulas)
      if (ParseFormulaText(kept).name == formula.name)
        throw CorvaneError("計算式の名前 \"" + formula.name + "\" はすでに使われています");
    int row = -1;
    if (!data_.Empty()) row = AddFormulaVariable(data_, formula);
    scene.options.load.formulas.push_back(text.trimmed().toStdString());
    FormulaList->addItem(text.trimmed());
    FormulaList->setCurrentIndex(FormulaList->count() - 1);
    if (row >= 0) RefreshVariableItems(row);
  } catch (const CorvaneError& e) {
    notifier_->Warning(std::string(e.what()) + "。この変数は追加しません");
    return false;
  }
  return true;
}

// The formula leaves the list, and its variable leaves the data set shown now.
void MainWindow::FormulaDelButtonClick() {
  const int k = FormulaList->currentIndex();
  auto& formulas = scene.options.load.formulas;
  if (k < 0 || k >= static_cast<int>(formulas.size()) || Busy()) return;
  std::string name;
  try {
    name = ParseFormulaText(formulas[static_cast<std::size_t>(k)]).name;
  } catch (const CorvaneError&) {
  }
  formulas.erase(formulas.begin() + k);
  FormulaList->removeItem(k);
  const int row = name.empty() ? -1 : FindRow(data_, name);
  if (row < 0 || row >= data_.ColumnCount - 2) return;
  data_.Values.erase(data_.Values.begin() + row);
  data_.VariableNames.erase(data_.VariableNames.begin() + row);
  for (std::vector<double>* c : {&data_.ContourMax, &data_.ContourMin, &data_.ContourStep})
    if (static_cast<std::size_t>(row) < c->size()) c->erase(c->begin() + row);
  data_.ColumnCount -= 1;
  int selected = RGroup->ItemIndex();
  RGroup->SetItems([&] {
    QStringList items;
    for (const std::string& s : RGroupItemsOf(data_, scene.options.load.IncludeVelCheck)) items << Q(s);
    return items;
  }());
  if (selected > row) --selected;
  else if (selected == row) selected = 0;
  RGroup->SetItemIndex(std::clamp(selected, 0, std::max(RGroup->Count() - 1, 0)));
  StoreControl(RGroup);
  RGroupClick();
  if (profileWindow) profileWindow->DataChanged();
}

void MainWindow::RefreshVariableItems(int insertedRow) {
  if (insertedRow >= 0) {
    int selected = RGroup->ItemIndex();
    QStringList items;
    for (const std::string& s : RGroupItemsOf(data_, scene.options.load.IncludeVelCheck)) items << Q(s);
    RGroup->SetItems(items);
    GrowToContents();
    if (selected >= insertedRow) ++selected;
    RGroup->SetItemIndex(std::clamp(selected, 0, std::max(RGroup->Count() - 1, 0)));
    StoreControl(RGroup);
    RGroupClick();
  }
  if (profileWindow) profileWindow->DataChanged();
}

void MainWindow::ProfileButtonClick() {
  if (!profileWindow) profileWindow = new ProfileWindow(this);
  profileWindow->DataChanged();
  profileWindow->show();
  profileWindow->raise();
  profileWindow->activateWindow();
}

}  // namespace corvane
