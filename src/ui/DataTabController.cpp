#include "ui/DataTabController.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "field/DerivedColumns.h"
#include "ui/ControlFactory.h"
#include "ui/MainWindow.h"

namespace corvane {

DataTabController::DataTabController(MainWindow& window, QTabWidget& tabs) : QObject(&window), window_(window) {
  Build(tabs);
  controls_.Collect(page_);
}

// The page and its controls, each with its control name.
void DataTabController::Build(QTabWidget& tabs) {
  page_ = Named(new QWidget, "DataTab");
  auto* v = new QVBoxLayout(page_);
  auto* h = new QHBoxLayout;
  h->addWidget(MakeLabel(page_, "Label25", QStringLiteral("領域数")));
  h->addWidget(MakeSpin(page_, "ZCountBox", 0, 100));
  h->addStretch();
  v->addLayout(h);
  auto* row = new QHBoxLayout;
  auto* g1 = MakeGroup(page_, "GroupBox1", QStringLiteral("行番号"));
  auto* f1 = new QGridLayout(g1);
  QSpinBox* lineBoxes[3] = {MakeSpin(g1, "XYNumLineBox", 0, 999), MakeSpin(g1, "LabelLineBox", 0, 999),
                            MakeSpin(g1, "DataStartLineBox", 0, 999)};
  f1->addWidget(MakeLabel(g1, "Label2", QStringLiteral("格子点数")), 0, 0);
  f1->addWidget(lineBoxes[0], 0, 1);
  f1->addWidget(MakeLabel(g1, "Label6", QStringLiteral("ラベル行")), 1, 0);
  f1->addWidget(lineBoxes[1], 1, 1);
  f1->addWidget(MakeLabel(g1, "Label1", QStringLiteral("データ開始")), 2, 0);
  f1->addWidget(lineBoxes[2], 2, 1);
  for (QSpinBox* s : lineBoxes) s->setToolTip(QStringLiteral("ゼロインデックスで指定"));
  row->addWidget(g1);
  auto* g19 = MakeGroup(page_, "GroupBox19", QStringLiteral("データの区切方式"));
  auto* v19 = new QVBoxLayout(g19);
  v19->addWidget(MakeRadio(g19, "DataSSV", QStringLiteral("スペース揃え")));
  v19->addWidget(MakeRadio(g19, "DataCSV", QStringLiteral("カンマ(CSV形式)")));
  v19->addWidget(MakeRadio(g19, "DataTSV", QStringLiteral("タブ(TSV形式)")));
  row->addWidget(g19);
  auto* g20 = MakeGroup(page_, "GroupBox20", QStringLiteral("データの並び方"));
  auto* v20 = new QVBoxLayout(g20);
  v20->addWidget(MakeRadio(g20, "DataIJ", QStringLiteral(" I ループ -> J ループ")));
  v20->addWidget(MakeRadio(g20, "DataJI", QStringLiteral(" J ループ -> I ループ")));
  row->addWidget(g20);
  v->addLayout(row);
  velocityCheck_ = MakeCheck(page_, "IncludeVelCheck", QStringLiteral("速度データを持つ"));
  v->addWidget(velocityCheck_);
  auto* g3 = MakeGroup(page_, "GroupBox3", QStringLiteral("速度データについて"));
  auto* f3 = new QGridLayout(g3);
  columnSelectors_ = {MakeCombo(g3, "xvecbox"), MakeCombo(g3, "yvecbox"), MakeCombo(g3, "tmpbox"), MakeCombo(g3, "prsBox")};
  columnSelectors_[2]->setToolTip(QStringLiteral("マッハ数の計算に必要"));
  columnSelectors_[3]->setToolTip(QStringLiteral("マッハ数、全圧の計算に必要"));
  for (QComboBox* c : columnSelectors_) {
    c->addItem(QStringLiteral("読み込み後選択"));
    c->setCurrentIndex(0);
  }
  QLineEdit* gammaBox = MakeEdit(g3, "gammaBox");
  QLineEdit* gasConstantBox = MakeEdit(g3, "RBox");
  f3->addWidget(MakeLabel(g3, "Label8", QStringLiteral("x方向速度")), 0, 0);
  f3->addWidget(columnSelectors_[0], 0, 1);
  f3->addWidget(MakeLabel(g3, "Label10", QStringLiteral("ｙ方向速度")), 0, 2);
  f3->addWidget(columnSelectors_[1], 0, 3);
  f3->addWidget(MakeLabel(g3, "Label11", QStringLiteral("温度")), 1, 0);
  f3->addWidget(columnSelectors_[2], 1, 1);
  f3->addWidget(MakeLabel(g3, "Label14", QStringLiteral("圧力")), 1, 2);
  f3->addWidget(columnSelectors_[3], 1, 3);
  f3->addWidget(MakeLabel(g3, "Label23", QStringLiteral("比熱比γ")), 2, 0);
  f3->addWidget(gammaBox, 2, 1);
  f3->addWidget(MakeLabel(g3, "Label24", QStringLiteral("気体定数")), 2, 2);
  f3->addWidget(gasConstantBox, 2, 3);
  derivedColumnsLabel_ = MakeLabel(g3, "DerivedColumnsLabel", QString());
  derivedColumnsLabel_->setWordWrap(true);
  f3->addWidget(derivedColumnsLabel_, 3, 0, 1, 4);
  v->addWidget(g3);
  applyLayoutButton_ = MakeButton(page_, "Button1", QStringLiteral("適用"));
  v->addWidget(applyLayoutButton_, 0, Qt::AlignRight);
  BuildFormulaControls(v);
  v->addStretch();
  tabs.addTab(page_, QStringLiteral("構造"));
}

void DataTabController::BuildFormulaControls(QVBoxLayout* into) {
  auto* group = MakeGroup(page_, "FormulaGroup", QStringLiteral("計算式で変数を追加"));
  auto* g = new QGridLayout(group);
  formulaBox_ = MakeEdit(group, "FormulaBox", QString());
  formulaBox_->setPlaceholderText(QStringLiteral("Cp = (P - 101325) / (0.5 * 1.2 * 170^2)"));
  formulaBox_->setToolTip(QStringLiteral("名前 = 式。変数名、x、y、pi、+ - * / ^、sqrt exp log abs min max if(条件, a, b) など"));
  addFormulaButton_ = MakeButton(group, "FormulaButton", QStringLiteral("追加"));
  // The kept formulas take one line: the tab keeps its height.
  formulaList_ = Named(new QComboBox(group), "FormulaList");
  removeFormulaButton_ = MakeButton(group, "FormulaDelButton", QStringLiteral("削除"));
  g->addWidget(formulaBox_, 0, 0);
  g->addWidget(addFormulaButton_, 0, 1);
  g->addWidget(formulaList_, 1, 0);
  g->addWidget(removeFormulaButton_, 1, 1);
  into->addWidget(group);
}

// The tab's own handlers; an edited option control is stored, then OptionChanged runs.
void DataTabController::ConnectHandlers() {
  window_.ConnectOptionControls(controls_, this);
  connect(applyLayoutButton_, &QPushButton::clicked, this, window_.Guarded([this] { window_.LoadSelectedFile(); }));
  connect(addFormulaButton_, &QPushButton::clicked, this, window_.Guarded([this] { AddFormulaClicked(); }));
  connect(formulaBox_, &QLineEdit::returnPressed, this, window_.Guarded([this] { AddFormulaClicked(); }));
  connect(removeFormulaButton_, &QPushButton::clicked, this, window_.Guarded([this] { RemoveFormulaClicked(); }));
  connect(&window_.state.events, &StateEvents::changed, this, &DataTabController::StateChanged);
}

void DataTabController::Load(const ProgramOptions&) {
  controls_.Load(window_.state);
  ShowFormulas();
}

void DataTabController::OptionChanged(const std::string& name) {
  if (name == "IncludeVelCheck") VelocityDataToggled();
  else if (name == "xvecbox" || name == "yvecbox" || name == "tmpbox" || name == "prsBox") ShowDerivedColumns(false);
}

void DataTabController::ShowColumnChoices(const std::vector<std::string>& items, const std::array<int, 4>& preselected) {
  for (std::size_t k = 0; k < columnSelectors_.size(); ++k) {
    QComboBox* selector = columnSelectors_[k];
    const QSignalBlocker block(selector);
    selector->clear();
    for (const std::string& s : items) selector->addItem(Q(s));
    selector->setCurrentIndex(std::min(preselected[k], selector->count() - 1));
  }
  // The lists' new choices are the state's.
  for (QComboBox* selector : columnSelectors_) OptionControls::Store(selector, window_.state);
  columnsLoaded_ = true;
  ShowDerivedColumns(true);
}

void DataTabController::ShowDerivedColumns(bool warn) {
  if (!columnsLoaded_ || !velocityCheck_->isChecked()) {
    derivedColumnsLabel_->clear();
    return;
  }
  std::vector<std::string> names;
  for (int k = 0; k < columnSelectors_[0]->count(); ++k) names.push_back(columnSelectors_[0]->itemText(k).toStdString());
  std::array<int, 4> chosen{};
  for (std::size_t k = 0; k < chosen.size(); ++k) chosen[k] = columnSelectors_[k]->currentIndex();
  const auto columns = DerivedColumnsOf(names, chosen);
  std::string text = DerivedColumnsText(columns), doubts;
  for (const std::string& d : DerivedColumnDoubts(columns)) doubts += (doubts.empty() ? "" : "\n") + d;
  if (!doubts.empty()) text += "\n注意: " + doubts;
  derivedColumnsLabel_->setText(Q(text));
  if (warn && !doubts.empty() && doubts != toldDoubts_) window_.notifier().Warning(doubts);
  if (warn) toldDoubts_ = doubts;
}

void DataTabController::StateChanged(StateChange what) {
  if (what == StateChange::Formulas) ShowFormulas();
}

// The list shows the kept formulas; the chosen line stays where it was, or the nearest one left.
void DataTabController::ShowFormulas() {
  const auto& formulas = window_.state.scene.options.load.formulas;
  const int chosen = formulaList_->currentIndex();
  formulaList_->clear();
  for (const std::string& f : formulas) formulaList_->addItem(Q(f));
  formulaList_->setCurrentIndex(formulas.empty() ? -1 : std::clamp(chosen, 0, formulaList_->count() - 1));
}

// The derived variables and the velocity controls follow the check; the check waits meanwhile.
void DataTabController::VelocityDataToggled() {
  velocityCheck_->setEnabled(false);
  window_.state.events.Changed(StateChange::VelocityData);
  velocityCheck_->setEnabled(true);
  ShowDerivedColumns(false);
}

// A formula taken is shown last in the list and leaves the box.
void DataTabController::AddFormulaClicked() {
  if (!window_.AddFormula(formulaBox_->text())) return;
  formulaList_->setCurrentIndex(formulaList_->count() - 1);
  formulaBox_->clear();
}

void DataTabController::RemoveFormulaClicked() { window_.RemoveFormula(formulaList_->currentIndex()); }

}  // namespace corvane
