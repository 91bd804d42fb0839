#include "ui/ContourTabController.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QTabWidget>
#include <QVBoxLayout>

#include "fieldview/ContourRanges.h"
#include "base/Errors.h"
#include "render/NumberFormat.h"
#include "ui/ControlFactory.h"
#include "ui/MainWindow.h"

namespace corvane {

ContourTabController::ContourTabController(MainWindow& window, QTabWidget& tabs) : QObject(&window), window_(window) {
  Build(tabs);
  controls_.Collect(page_, {"MinBox", "MaxBox", "StepBox"});
}

// The page and its controls, each with its control name.
void ContourTabController::Build(QTabWidget& tabs) {
  page_ = Named(new QWidget, "ContourTab");
  auto* v = new QVBoxLayout(page_);
  auto* g7 = MakeGroup(page_, "GroupBox7", QStringLiteral("最大値・最小値・間隔"));
  auto* g = new QGridLayout(g7);
  autoRangeCheck_ = MakeCheck(g7, "AutoMaxMinCheck", QStringLiteral("MAX/MIN 自動設定"));
  minBox_ = MakeEdit(g7, "MinBox");
  maxBox_ = MakeEdit(g7, "MaxBox");
  autoStepCheck_ = MakeCheck(g7, "AutoStepCheck", QStringLiteral("間隔の自動設定"));
  stepBox_ = MakeEdit(g7, "StepBox");
  divisionsSlider_ = MakeTrack(g7, "StepBar", 2, 100);
  divisionsSlider_->setToolTip(QStringLiteral("2分割"));
  g->addWidget(autoRangeCheck_, 0, 0, 1, 4);
  g->addWidget(MakeLabel(g7, "Label4", QStringLiteral("MIN")), 1, 0);
  g->addWidget(minBox_, 1, 1);
  g->addWidget(MakeLabel(g7, "Label3", QStringLiteral("MAX")), 1, 2);
  g->addWidget(maxBox_, 1, 3);
  g->addWidget(autoStepCheck_, 2, 0, 1, 2);
  g->addWidget(MakeLabel(g7, "Label5", QStringLiteral("間隔")), 2, 2);
  g->addWidget(stepBox_, 2, 3);
  g->addWidget(MakeLabel(g7, "Label12", QStringLiteral("2分割")), 3, 0);
  g->addWidget(divisionsSlider_, 3, 1, 1, 2);
  g->addWidget(MakeLabel(g7, "Label13", QStringLiteral("100分割")), 3, 3);
  roundLevelsCheck_ = MakeCheck(g7, "RoundLevelsCheck", QStringLiteral("きりのよい値にする"));
  roundLevelsCheck_->setToolTip(QStringLiteral("自動設定の間隔を 1, 2, 2.5, 5 × 10ⁿ に、MAX/MIN を間隔の倍数にします"));
  g->addWidget(roundLevelsCheck_, 4, 0, 1, 4);
  v->addWidget(g7);

  auto* g13 = MakeGroup(page_, "GroupBox13", QStringLiteral("等高線ラベルの設定"));
  auto* gl = new QGridLayout(g13);
  gl->addWidget(MakeLabel(g13, "Label39", QStringLiteral("例：")), 0, 0);
  labelSample_ = MakeLabel(g13, "LabelExp", QStringLiteral("150.0"));
  labelSample_->setAutoFillBackground(true);
  gl->addWidget(labelSample_, 0, 1);
  labelFontButton_ = MakeButton(g13, "Button5", QStringLiteral("フォント"));
  gl->addWidget(labelFontButton_, 0, 2);
  gl->addWidget(MakeLabel(g13, "Label40", QStringLiteral("ラベル間の隙間")), 1, 0);
  labelGapSlider_ = MakeTrack(g13, "LabelSukima", 0, 200);
  gl->addWidget(labelGapSlider_, 1, 1, 1, 2);
  showLabelCheck_ = MakeCheck(g13, "ShowLabel", QStringLiteral("ラベルを入れる"));
  gl->addWidget(showLabelCheck_, 2, 0);
  clearLabelBackCheck_ = MakeCheck(g13, "BackClear", QStringLiteral("透過処理"));
  gl->addWidget(clearLabelBackCheck_, 2, 1);
  auto* g14 = MakeGroup(g13, "GroupBox14", QStringLiteral("ラベルの表示規制"));
  auto* h14 = new QHBoxLayout(g14);
  limitLabelsCheck_ = MakeCheck(g14, "LabelRegulate", QStringLiteral("規制をする(表示範囲)"));
  labelMinSpin_ = MakeSpin(g14, "LabelMin", 0, 100);
  labelMaxSpin_ = MakeSpin(g14, "LabelMax", 0, 100);
  h14->addWidget(limitLabelsCheck_);
  h14->addWidget(labelMinSpin_);
  h14->addWidget(MakeLabel(g14, "Label41", QStringLiteral("  -  ")));
  h14->addWidget(labelMaxSpin_);
  h14->addWidget(MakeLabel(g14, "Label42", QStringLiteral("％")));
  gl->addWidget(g14, 3, 0, 1, 3);
  v->addWidget(g13);
  v->addStretch();
  tabs.addTab(page_, QStringLiteral("等高線"));
}

// The tab's own handlers; an edited option control is stored, then OptionChanged runs.
void ContourTabController::ConnectHandlers() {
  window_.ConnectOptionControls(controls_, this);
  for (QLineEdit* box : {minBox_, maxBox_, stepBox_}) {
    connect(box, &QLineEdit::textEdited, this, window_.Guarded([this, box] { RangeBoxEdited(box); }));
    connect(box, &QLineEdit::returnPressed, this, window_.Guarded([this, box] { StoreRangeBox(box); }));
  }
  connect(labelFontButton_, &QPushButton::clicked, this, window_.Guarded([this] { ChooseLabelFont(); }));
  connect(&window_.state.events, &StateEvents::changed, this, &ContourTabController::StateChanged);
}

void ContourTabController::Load(const ProgramOptions& options) {
  const ProgramState& state = window_.state;
  controls_.Load(state);
  for (QLineEdit* box : {minBox_, maxBox_, stepBox_}) {
    const QSignalBlocker block(box);
    ShowOptionText(box, RangeBoxText(state, box->objectName().toStdString()));
  }
  const ContourOptions& c = options.contour;
  maxBox_->setEnabled(!options.load.AutoMaxMinCheck);
  minBox_->setEnabled(!options.load.AutoMaxMinCheck);
  stepBox_->setEnabled(!options.load.AutoStepCheck);
  divisionsSlider_->setEnabled(options.load.AutoStepCheck);
  labelMinSpin_->setEnabled(c.LabelRegulate);
  labelMaxSpin_->setEnabled(c.LabelRegulate);
  ShowFontInLabel(labelSample_, c.LabelExp);
  // The sample's background is the picture's.
  QPalette p = labelSample_->palette();
  p.setColor(QPalette::Window, options.display.WhiteBack ? QColor(Qt::white) : QColor(Qt::black));
  labelSample_->setPalette(p);
}

void ContourTabController::OptionChanged(const std::string& name) {
  if (name == "AutoMaxMinCheck") AutoRangeToggled();
  else if (name == "AutoStepCheck") AutoStepToggled();
  else if (name == "RoundLevelsCheck") RoundLevelsToggled();
}

void ContourTabController::StateChanged(StateChange what) {
  if (what == StateChange::ContourRange || what == StateChange::ContourLevels) ShowRange();
  if (what == StateChange::ContourStep || what == StateChange::ContourLevels) ShowStep();
}

// The range boxes show the stored range of the selected variable; what was typed is forgotten.
void ContourTabController::ShowRange() {
  ProgramState& state = window_.state;
  const int k = state.scene.options.RGroup;
  if (k < 0 || static_cast<std::size_t>(k) >= state.scene.fieldView.ContourMax.size()) return;
  for (QLineEdit* box : {maxBox_, minBox_}) {
    state.typedRangeTexts.erase(box->objectName().toStdString());
    box->setText(Q(RangeBoxText(state, box->objectName().toStdString())));
    SetPendingEdit(box, false);
  }
}

void ContourTabController::ShowStep() {
  ProgramState& state = window_.state;
  const int k = state.scene.options.RGroup;
  if (k < 0 || static_cast<std::size_t>(k) >= state.scene.fieldView.ContourStep.size()) return;
  state.typedRangeTexts.erase("StepBox");
  stepBox_->setText(Q(RangeBoxText(state, "StepBox")));
  SetPendingEdit(stepBox_, false);
}

// A typed range is the state's until Enter takes it or the levels are shown again.
void ContourTabController::RangeBoxEdited(QLineEdit* box) {
  window_.state.typedRangeTexts[box->objectName().toStdString()] = box->text().toStdString();
  SetPendingEdit(box, true);
}

// Enter stores the box's number for the selected variable; a word keeps the box blue.
void ContourTabController::StoreRangeBox(QLineEdit* box) {
  double v = 0.0;
  try {
    v = ParseDoubleValue(box->objectName().toStdString(), box->text().toStdString());
  } catch (const CorvaneError&) {
    window_.notifier().Warning("数字を記入してください");
    return;
  }
  SceneState& scene = window_.state.scene;
  const int k = scene.options.RGroup;
  auto store = [&](std::vector<double>& row) {
    if (k >= 0 && static_cast<std::size_t>(k) < row.size()) row[static_cast<std::size_t>(k)] = v;
  };
  if (box == maxBox_) store(scene.fieldView.ContourMax);
  else if (box == minBox_) store(scene.fieldView.ContourMin);
  else if (box == stepBox_) store(scene.fieldView.ContourStep);
  window_.state.typedRangeTexts.erase(box->objectName().toStdString());
  SetPendingEdit(box, false);
}

void ContourTabController::AutoRangeToggled() {
  SceneState& scene = window_.state.scene;
  if (scene.options.load.AutoMaxMinCheck) {
    if (!scene.data.Empty()) AutoMaxMin(scene.data, scene.fieldView);
    if (!scene.data.Empty()) ApplyRoundLevels(scene.fieldView, scene.options.load);
    ShowRange();
    ShowStep();
  }
}

void ContourTabController::AutoStepToggled() {
  SceneState& scene = window_.state.scene;
  if (scene.options.load.AutoStepCheck) {
    if (!scene.data.Empty()) AutoStep(scene.fieldView, scene.options.load.StepBar);
    if (!scene.data.Empty()) ApplyRoundLevels(scene.fieldView, scene.options.load);
    ShowRange();
    ShowStep();
  }
}

// Round levels on or off: the automatic range and step are chosen again, so both are shown.
void ContourTabController::RoundLevelsToggled() {
  SceneState& scene = window_.state.scene;
  if (scene.data.Empty()) return;
  if (scene.options.load.AutoMaxMinCheck) AutoMaxMin(scene.data, scene.fieldView);
  if (scene.options.load.AutoStepCheck) AutoStep(scene.fieldView, scene.options.load.StepBar);
  ApplyRoundLevels(scene.fieldView, scene.options.load);
  ShowRange();
  ShowStep();
}

// The label font, then its colour: Qt's font dialog has no colour of its own. Cancelling the font
// changes nothing; cancelling the colour keeps the colour.
void ContourTabController::ChooseLabelFont() {
  ContourOptions& contour = window_.state.scene.options.contour;
  std::optional<QFont> f = window_.dialogs.ChooseFont(labelSample_->font(), QStringLiteral("ラベルのフォント"));
  if (!f) return;
  FontSpec font = FontOfQFont(*f);
  font.colour = contour.LabelExp.colour;
  if (std::optional<QColor> c = window_.dialogs.ChooseColour(ToQColor(font.colour), QStringLiteral("ラベルの色"))) {
    font.colour = FromQColor(*c);
    contour.labelColourChosen = true;  // kept on a white background too
  }
  contour.LabelExp = font;
  Load(window_.Options());
}

}  // namespace corvane
