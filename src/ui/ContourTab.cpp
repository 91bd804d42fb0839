// The 等高線 tab: the contour range and step of the selected variable, and the label options.
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "data/DerivedQuantities.h"
#include "data/Errors.h"
#include "data/RoundLevels.h"
#include "render/NumberFormat.h"
#include "ui/ControlFactory.h"
#include "ui/MainWindow.h"

namespace corvane {

void MainWindow::BuildContourTab() {
  ContourTab = Named(new QWidget, "ContourTab");
  {
    auto* v = new QVBoxLayout(ContourTab);
    auto* g7 = MakeGroup(ContourTab, "GroupBox7", QStringLiteral("最大値・最小値・間隔"));
    auto* g = new QGridLayout(g7);
    AutoMaxMinCheck = MakeCheck(g7, "AutoMaxMinCheck", QStringLiteral("MAX/MIN 自動設定"), true);
    MinBox = MakeEdit(g7, "MinBox", QStringLiteral("0.0"));
    MaxBox = MakeEdit(g7, "MaxBox", QStringLiteral("100"));
    AutoStepCheck = MakeCheck(g7, "AutoStepCheck", QStringLiteral("間隔の自動設定"), true);
    StepBox = MakeEdit(g7, "StepBox", QStringLiteral("1.0"));
    for (QLineEdit* e : {MinBox, MaxBox, StepBox}) e->setEnabled(false);
    StepBar = MakeTrack(g7, "StepBar", 2, 100, 50);
    StepBar->setToolTip(QStringLiteral("2分割"));
    g->addWidget(AutoMaxMinCheck, 0, 0, 1, 4);
    g->addWidget(MakeLabel(g7, "Label4", QStringLiteral("MIN")), 1, 0);
    g->addWidget(MinBox, 1, 1);
    g->addWidget(MakeLabel(g7, "Label3", QStringLiteral("MAX")), 1, 2);
    g->addWidget(MaxBox, 1, 3);
    g->addWidget(AutoStepCheck, 2, 0, 1, 2);
    g->addWidget(MakeLabel(g7, "Label5", QStringLiteral("間隔")), 2, 2);
    g->addWidget(StepBox, 2, 3);
    g->addWidget(MakeLabel(g7, "Label12", QStringLiteral("2分割")), 3, 0);
    g->addWidget(StepBar, 3, 1, 1, 2);
    g->addWidget(MakeLabel(g7, "Label13", QStringLiteral("100分割")), 3, 3);
    RoundLevelsCheck = MakeCheck(g7, "RoundLevelsCheck", QStringLiteral("きりのよい値にする"), false);
    RoundLevelsCheck->setToolTip(QStringLiteral("自動設定の間隔を 1, 2, 2.5, 5 × 10ⁿ に、MAX/MIN を間隔の倍数にします"));
    g->addWidget(RoundLevelsCheck, 4, 0, 1, 4);
    v->addWidget(g7);

    auto* g13 = MakeGroup(ContourTab, "GroupBox13", QStringLiteral("等高線ラベルの設定"));
    auto* gl = new QGridLayout(g13);
    gl->addWidget(MakeLabel(g13, "Label39", QStringLiteral("例：")), 0, 0);
    LabelExp = MakeLabel(g13, "LabelExp", QStringLiteral("150.0"));
    {
      QFont f(QStringLiteral("Arial"));
      f.setPixelSize(11);
      LabelExp->setFont(f);
      LabelExp->setAutoFillBackground(true);
      QPalette p = LabelExp->palette();
      p.setColor(QPalette::Window, Qt::black);
      p.setColor(QPalette::WindowText, Qt::white);
      LabelExp->setPalette(p);
    }
    gl->addWidget(LabelExp, 0, 1);
    labelFontButton = MakeButton(g13, "Button5", QStringLiteral("フォント"));
    gl->addWidget(labelFontButton, 0, 2);
    gl->addWidget(MakeLabel(g13, "Label40", QStringLiteral("ラベル間の隙間")), 1, 0);
    labelGap = MakeTrack(g13, "LabelSukima", 0, 200, 30);
    gl->addWidget(labelGap, 1, 1, 1, 2);
    ShowLabel = MakeCheck(g13, "ShowLabel", QStringLiteral("ラベルを入れる"), true);
    gl->addWidget(ShowLabel, 2, 0);
    BackClear = MakeCheck(g13, "BackClear", QStringLiteral("透過処理"), false);
    gl->addWidget(BackClear, 2, 1);
    auto* g14 = MakeGroup(g13, "GroupBox14", QStringLiteral("ラベルの表示規制"));
    auto* h14 = new QHBoxLayout(g14);
    LabelRegulate = MakeCheck(g14, "LabelRegulate", QStringLiteral("規制をする(表示範囲)"), false);
    LabelMin = MakeSpin(g14, "LabelMin", 0, 100, 0);
    LabelMax = MakeSpin(g14, "LabelMax", 0, 100, 100);
    LabelMin->setEnabled(false);
    LabelMax->setEnabled(false);
    h14->addWidget(LabelRegulate);
    h14->addWidget(LabelMin);
    h14->addWidget(MakeLabel(g14, "Label41", QStringLiteral("  -  ")));
    h14->addWidget(LabelMax);
    h14->addWidget(MakeLabel(g14, "Label42", QStringLiteral("％")));
    gl->addWidget(g14, 3, 0, 1, 3);
    v->addWidget(g13);
    v->addStretch();
  }
  tabPages->addTab(ContourTab, QStringLiteral("等高線"));
}

void MainWindow::ConnectContourTab() {
  for (QLineEdit* box : {MinBox, MaxBox, StepBox}) {
    connect(box, &QLineEdit::textEdited, this, Guarded([this, box] { MaxBoxChange(box); }));
    connect(box, &QLineEdit::returnPressed, this, Guarded([this, box] { MaxBoxKeyDown(box, Qt::Key_Return); }));
  }
  connect(AutoMaxMinCheck, &QCheckBox::toggled, this, Guarded(&MainWindow::AutoMaxMinCheckClick));
  connect(AutoStepCheck, &QCheckBox::toggled, this, Guarded(&MainWindow::AutoStepCheckClick));
  connect(RoundLevelsCheck, &QCheckBox::toggled, this, Guarded(&MainWindow::RoundLevelsCheckClick));
  connect(LabelRegulate, &QCheckBox::toggled, this, Guarded(&MainWindow::LabelRegulateClick));
  connect(labelFontButton, &QPushButton::clicked, this, Guarded(&MainWindow::chooseLabelFont));
}

// The range boxes show the stored range of the selected variable.
void MainWindow::ShowContourRange() {
  const int k = scene.options.RGroup;
  if (k < 0 || static_cast<std::size_t>(k) >= data_.ContourMax.size()) return;
  MaxBox->setText(Q(FormatGeneral15(data_.ContourMax[static_cast<std::size_t>(k)])));
  MinBox->setText(Q(FormatGeneral15(data_.ContourMin[static_cast<std::size_t>(k)])));
  SetBlue(MaxBox, false);
  SetBlue(MinBox, false);
}

void MainWindow::ShowContourStep() {
  const int k = scene.options.RGroup;
  if (k < 0 || static_cast<std::size_t>(k) >= data_.ContourStep.size()) return;
  StepBox->setText(Q(FormatGeneral15(data_.ContourStep[static_cast<std::size_t>(k)])));
  SetBlue(StepBox, false);
}

void MainWindow::MaxBoxChange(QLineEdit* sender) { SetBlue(sender, true); }

// Enter stores the box's number for the selected variable; a word keeps the box blue.
void MainWindow::MaxBoxKeyDown(QLineEdit* sender, int key) {
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return;
  double v = 0.0;
  try {
    v = ParseDoubleValue(sender->objectName().toStdString(), sender->text().toStdString());
  } catch (const CorvaneError&) {
    notifier_->Warning("数字を記入してください");
    return;
  }
  const int k = scene.options.RGroup;
  auto store = [&](std::vector<double>& row) {
    if (k >= 0 && static_cast<std::size_t>(k) < row.size()) row[static_cast<std::size_t>(k)] = v;
  };
  if (sender == MaxBox) store(data_.ContourMax);
  else if (sender == MinBox) store(data_.ContourMin);
  else if (sender == StepBox) store(data_.ContourStep);
  SetBlue(sender, false);
}

void MainWindow::AutoMaxMinCheckClick() {
  progress_->Pump();
  if (AutoMaxMinCheck->isChecked()) {
    if (!data_.Empty()) AutoMaxMin(data_);
    if (!data_.Empty()) ApplyRoundLevels(data_, scene.options.load);
    ShowContourRange();
    ShowContourStep();
    MaxBox->setEnabled(false);
    MinBox->setEnabled(false);
  } else {
    MaxBox->setEnabled(true);
    MinBox->setEnabled(true);
  }
}

void MainWindow::AutoStepCheckClick() {
  progress_->Pump();
  if (AutoStepCheck->isChecked()) {
    if (!data_.Empty()) AutoStep(data_, scene.options.load.StepBar);
    if (!data_.Empty()) ApplyRoundLevels(data_, scene.options.load);
    ShowContourRange();
    ShowContourStep();
    StepBox->setEnabled(false);
    StepBar->setEnabled(true);
  } else {
    StepBox->setEnabled(true);
    StepBar->setEnabled(false);
  }
}

// Round levels on or off: the automatic range and step are chosen again, so both are shown.
void MainWindow::RoundLevelsCheckClick() {
  progress_->Pump();
  if (data_.Empty()) return;
  if (scene.options.load.AutoMaxMinCheck) AutoMaxMin(data_);
  if (scene.options.load.AutoStepCheck) AutoStep(data_, scene.options.load.StepBar);
  ApplyRoundLevels(data_, scene.options.load);
  ShowContourRange();
  ShowContourStep();
}

void MainWindow::LabelRegulateClick() {
  LabelMin->setEnabled(LabelRegulate->isChecked());
  LabelMax->setEnabled(LabelRegulate->isChecked());
}

// The label font, then its colour: Qt's font dialog has no colour of its own. Cancelling the font
// changes nothing; cancelling the colour keeps the colour.
void MainWindow::chooseLabelFont() {
  std::optional<QFont> f = ChooseFont(LabelExp->font(), QStringLiteral("ラベルのフォント"));
  if (!f) return;
  LabelExp->setFont(*f);
  if (std::optional<QColor> c = ChooseColour(LabelExp->palette().color(QPalette::WindowText), QStringLiteral("ラベルの色"))) {
    QPalette p = LabelExp->palette();
    p.setColor(QPalette::WindowText, *c);
    LabelExp->setPalette(p);
    scene.options.contour.labelColourChosen = true;  // kept on a white background too
  }
  StoreLabelSample();
}

}  // namespace corvane
