// The 解析 tab: the two end points of the analysis segment and the analysis command.
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <QFileDialog>
#include <QFileInfo>

#include "analysis/SegmentEndpoints.h"
#include "analysis/SegmentSampling.h"
#include "ui/ColourSwatchWidget.h"
#include "ui/ControlFactory.h"
#include "ui/PlotWindow.h"
#include "ui/MainWindow.h"

namespace corvane {

void MainWindow::BuildAnalysisTab() {
  analysisTab = Named(new QWidget, "TabSheet4");
  {
    auto* v = new QVBoxLayout(analysisTab);
    v->addWidget(MakeLabel(analysisTab, "Label22", QStringLiteral("２格子点の間の線分上のデータを解析します。")));
    auto* row = new QHBoxLayout;
    auto makePoint = [&](const char* group, const char* title, int n, QComboBox*& zone, QSpinBox*& pi, QSpinBox*& pj,
                         QCheckBox*& direct, QLineEdit*& px, QLineEdit*& py, QCheckBox*& byClick) {
      auto* gb = MakeGroup(analysisTab, group, QString::fromUtf8(title));
      auto* f = new QGridLayout(gb);
      QByteArray p = "P" + QByteArray::number(n);
      f->addWidget(MakeLabel(gb, (p + "ZoneLabel").constData(), QStringLiteral("領域")), 0, 0);
      zone = MakeCombo(gb, (p + "Zone").constData());
      f->addWidget(zone, 0, 1, 1, 3);
      f->addWidget(MakeLabel(gb, (p + "iLabel").constData(), QStringLiteral("i")), 1, 0);
      pi = MakeSpin(gb, (p + "i").constData(), 0, 100000, 0);
      f->addWidget(pi, 1, 1);
      f->addWidget(MakeLabel(gb, (p + "jLabel").constData(), QStringLiteral("j")), 1, 2);
      pj = MakeSpin(gb, (p + "j").constData(), 0, 100000, 0);
      f->addWidget(pj, 1, 3);
      direct = MakeCheck(gb, (p + "Direct").constData(), QStringLiteral("直接指定"), false);
      f->addWidget(direct, 2, 0, 1, 4);
      f->addWidget(MakeLabel(gb, (p + "xLabel").constData(), QStringLiteral("x")), 3, 0);
      px = MakeEdit(gb, (p + "x").constData(), QStringLiteral("0.0"));
      f->addWidget(px, 3, 1);
      f->addWidget(MakeLabel(gb, (p + "yLabel").constData(), QStringLiteral("y")), 3, 2);
      py = MakeEdit(gb, (p + "y").constData(), QStringLiteral("0.0"));
      f->addWidget(py, 3, 3);
      px->setEnabled(false);
      py->setEnabled(false);
      byClick = MakeCheck(gb, (p + "ByClick").constData(), QStringLiteral("場所をクリックして指定する"), false);
      byClick->setEnabled(false);
      f->addWidget(byClick, 4, 0, 1, 4);
      row->addWidget(gb);
    };
    makePoint("GroupBox15", "点1", 1, P1Zone, P1i, P1j, P1Direct, P1x, P1y, P1ByClick);
    makePoint("GroupBox16", "点2", 2, P2Zone, P2i, P2j, P2Direct, P2x, P2y, P2ByClick);
    v->addLayout(row);
    auto* h = new QHBoxLayout;
    OpenAnalyzed = MakeCheck(analysisTab, "OpenAnalyzed", QStringLiteral("解析後作成データを開く"), true);
    h->addWidget(OpenAnalyzed);
    AnalyzeButton = MakeButton(analysisTab, "AnalyzeButton", QStringLiteral("解析実行"));
    h->addWidget(AnalyzeButton);
    ProfileButton = MakeButton(analysisTab, "ProfileButton", QStringLiteral("分布図..."));
    ProfileButton->setToolTip(QStringLiteral("壁や格子線、線分に沿った値の分布を描きます"));
    h->addWidget(ProfileButton);
    v->addLayout(h);
    auto* g17 = MakeGroup(analysisTab, "GroupBox17", QStringLiteral("解析線分のオプション"));
    auto* f17 = new QGridLayout(g17);
    f17->addWidget(MakeLabel(g17, "Label53", QStringLiteral("(再描画で更新されます)")), 0, 0, 1, 3);
    f17->addWidget(MakeLabel(g17, "Label48", QStringLiteral("色")), 1, 0);
    segmentColour = Named(new ColourSwatchWidget(MakeColour(255, 0, 0), g17), "SegmentColor");
    f17->addWidget(segmentColour, 1, 1);
    segmentColourButton = MakeButton(g17, "Button6", QStringLiteral("変更"));
    segmentColourButton->setEnabled(false);
    f17->addWidget(segmentColourButton, 1, 2);
    QuickDrawSegment = MakeRadio(g17, "QuickDrawSegment", QStringLiteral("クイック描画"), true);
    RealDrawSegment = MakeRadio(g17, "RealDrawSegment", QStringLiteral("保存画像にも反映"), false);
    QuickDrawSegment->setEnabled(false);
    RealDrawSegment->setEnabled(false);
    f17->addWidget(QuickDrawSegment, 2, 0, 1, 2);
    f17->addWidget(RealDrawSegment, 2, 2);
    ShowSegment = MakeCheck(g17, "ShowSegment", QStringLiteral("線分を表示"), false);
    f17->addWidget(ShowSegment, 3, 0, 1, 3);
    v->addWidget(g17);
    v->addStretch();
  }
  tabPages->addTab(analysisTab, QStringLiteral("解析"));
}

void MainWindow::ConnectAnalysisTab() {
  connect(P1Zone, &QComboBox::currentIndexChanged, this, Guarded(&MainWindow::P1ZoneChange));
  connect(P2Zone, &QComboBox::currentIndexChanged, this, Guarded(&MainWindow::P2ZoneChange));
  for (QSpinBox* b : {P1i, P1j, P2i, P2j}) connect(b, &QSpinBox::valueChanged, this, Guarded(&MainWindow::P1iChange));
  connect(P1Direct, &QCheckBox::toggled, this, Guarded(&MainWindow::P1DirectClick));
  connect(P2Direct, &QCheckBox::toggled, this, Guarded(&MainWindow::P2DirectClick));
  for (QLineEdit* e : {P1x, P1y, P2x, P2y}) {
    connect(e, &QLineEdit::textChanged, this, Guarded([this, e] { P1xChange(e); }));
    connect(e, &QLineEdit::returnPressed, this, Guarded([this, e] { P1xKeyDown(e, Qt::Key_Return); }));
  }
  connect(P1ByClick, &QCheckBox::toggled, this, Guarded(&MainWindow::P1ByClickClick));
  connect(P2ByClick, &QCheckBox::toggled, this, Guarded(&MainWindow::P2ByClickClick));
  connect(ShowSegment, &QCheckBox::toggled, this, Guarded(&MainWindow::ShowSegmentClick));
  connect(AnalyzeButton, &QPushButton::clicked, this, Guarded(&MainWindow::AnalyzeButtonClick));
  connect(segmentColourButton, &QPushButton::clicked, this, Guarded(&MainWindow::chooseSegmentColour));
  connect(ProfileButton, &QPushButton::clicked, this, Guarded(&MainWindow::ProfileButtonClick));
}

void MainWindow::chooseSegmentColour() { PickSwatchColour(segmentColour, this); }

void MainWindow::analysisTabShown() {
  if (scene.options.display.UseOpenGL) notifier_->Message("OpenGL時には解析は実行できません");
}

// The i and j boxes of one end point take the maxima of its zone.
static void SetNodeBoxMaxima(const FieldDataSet& data, QComboBox* zone, QSpinBox* i, QSpinBox* j) {
  NodeBoxLimits limits = NodeBoxMaxima(data, zone->currentIndex());
  // Qt keeps a spin box's value within its range, so a value above the new maximum is lowered.
  const QSignalBlocker blockI(i), blockJ(j);
  i->setMaximum(limits.iMax);
  j->setMaximum(limits.jMax);
}

void MainWindow::P1ZoneChange() {
  SetNodeBoxMaxima(data_, P1Zone, P1i, P1j);
  StoreControl(P1i);
  StoreControl(P1j);
  P1iChange();
}

void MainWindow::P2ZoneChange() {
  SetNodeBoxMaxima(data_, P2Zone, P2i, P2j);
  StoreControl(P2i);
  StoreControl(P2j);
  P1iChange();
}

// The plot window shows its picture again, with the segment over it when it is drawn quickly.
void MainWindow::P1iChange() {
  if (!plotWindow) return;
  plotWindow->ShowQuickSegment(std::nullopt);
  const DisplayOptions& d = scene.options.display;
  if (!d.ShowSegment || d.RealDrawSegment) return;
  if (std::optional<SegmentFigure> figure = QuickSegment(data_, scene.options.analysis))
    plotWindow->ShowQuickSegment(*figure);
}

// Typed coordinates or the node: which controls of one end point take input.
static void EnableEndpointControls(bool direct, std::initializer_list<QWidget*> typed, std::initializer_list<QWidget*> node) {
  for (QWidget* w : typed) w->setEnabled(direct);
  for (QWidget* w : node) w->setEnabled(!direct);
}

void MainWindow::P1DirectClick() {
  EnableEndpointControls(P1Direct->isChecked(), {P1x, P1y, P1ByClick}, {P1Zone, P1i, P1j});
  // A disabled pick box could not be unchecked any more, and picking blocks zooming.
  if (!P1Direct->isChecked()) P1ByClick->setChecked(false);
}

void MainWindow::P2DirectClick() {
  EnableEndpointControls(P2Direct->isChecked(), {P2x, P2y, P2ByClick}, {P2Zone, P2i, P2j});
  if (!P2Direct->isChecked()) P2ByClick->setChecked(false);
}

void MainWindow::P1xChange(QLineEdit* sender) { SetBlue(sender, true); }

void MainWindow::P1xKeyDown(QLineEdit* sender, int key) {
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return;
  SetBlue(sender, false);
  P1iChange();
}

void MainWindow::P1ByClickClick() {
  if (!plotWindow) return;
  plotWindow->PickingPoint1 = P1ByClick->isChecked();
  if (P1ByClick->isChecked()) {
    plotWindow->PickingPoint2 = false;
    P2ByClick->setChecked(false);
  }
}

void MainWindow::P2ByClickClick() {
  if (!plotWindow) return;
  plotWindow->PickingPoint2 = P2ByClick->isChecked();
  if (P2ByClick->isChecked()) {
    plotWindow->PickingPoint1 = false;
    P1ByClick->setChecked(false);
  }
}

void MainWindow::ShowSegmentClick() {
  bool on = ShowSegment->isChecked();
  for (QWidget* w : {static_cast<QWidget*>(segmentColourButton), static_cast<QWidget*>(QuickDrawSegment),
                     static_cast<QWidget*>(RealDrawSegment)})
    w->setEnabled(on);
  P1iChange();
}

void MainWindow::AnalyzeButtonClick() {
  QString path = QFileDialog::getSaveFileName(this, QString(), CurrentFolder(), QString::fromUtf8(kAnalysisFileFilter));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".") + QString::fromLatin1(kAnalysisFileSuffix);
  AnalyzeTo(path);
}

bool MainWindow::AnalyzeTo(const QString& path) {
  if (!TryBeginCommand()) {
    QApplication::beep();
    return false;
  }
  AnalysisRunResult result;
  try {
    result = RunSegmentAnalysis(data_, scene.options.RGroup, scene.options.load.IncludeVelCheck, scene.options.analysis, path.toStdString(), *notifier_, *progress_);
  } catch (const std::exception& e) {
    EndCommand();
    FinishWork(QStringLiteral("解析できませんでした"), false);
    notifier_->Warning(e.what());
    return false;
  }
  EndCommand();
  if (result.status != AnalysisRunResult::Status::Written) {
    FinishWork(QStringLiteral("解析は行われませんでした"), false);
    return false;
  }
  FinishWork(QStringLiteral("解析完了: ") + QFileInfo(QString::fromStdString(result.path)).fileName(), true);
  if (result.openAfterwards && OpenDocument && !OpenDocument(QString::fromStdString(result.path)))
    notifier_->Message("解析結果のファイルを開くプログラムが見つかりません。ファイルは次の場所に保存されています: " +
                       result.path);
  return true;
}

}  // namespace corvane
