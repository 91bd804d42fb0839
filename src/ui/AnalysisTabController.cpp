#include "ui/AnalysisTabController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "analysis/SegmentEndpoints.h"
#include "analysis/SegmentSampling.h"
#include "ui/ColourSwatchWidget.h"
#include "ui/ControlFactory.h"
#include "ui/MainWindow.h"
#include "ui/PlotWindow.h"
#include "ui/ProfileWindow.h"

namespace corvane {

AnalysisTabController::AnalysisTabController(MainWindow& window, QTabWidget& tabs) : QObject(&window), window_(window) {
  Build(tabs);
  controls_.Collect(page_);
}

// The page and its controls, each with its control name.
void AnalysisTabController::Build(QTabWidget& tabs) {
  page_ = Named(new QWidget, "TabSheet4");
  {
    auto* v = new QVBoxLayout(page_);
    v->addWidget(MakeLabel(page_, "Label22", QStringLiteral("２格子点の間の線分上のデータを解析します。")));
    auto* row = new QHBoxLayout;
    auto makePoint = [&](const char* group, const char* title, int n, QComboBox*& zone, QSpinBox*& pi, QSpinBox*& pj,
                         QCheckBox*& direct, QLineEdit*& px, QLineEdit*& py, QCheckBox*& byClick) {
      auto* gb = MakeGroup(page_, group, QString::fromUtf8(title));
      auto* f = new QGridLayout(gb);
      QByteArray p = "P" + QByteArray::number(n);
      f->addWidget(MakeLabel(gb, (p + "ZoneLabel").constData(), QStringLiteral("領域")), 0, 0);
      zone = MakeCombo(gb, (p + "Zone").constData());
      f->addWidget(zone, 0, 1, 1, 3);
      f->addWidget(MakeLabel(gb, (p + "iLabel").constData(), QStringLiteral("i")), 1, 0);
      pi = MakeSpin(gb, (p + "i").constData(), 0, 100000);
      f->addWidget(pi, 1, 1);
      f->addWidget(MakeLabel(gb, (p + "jLabel").constData(), QStringLiteral("j")), 1, 2);
      pj = MakeSpin(gb, (p + "j").constData(), 0, 100000);
      f->addWidget(pj, 1, 3);
      direct = MakeCheck(gb, (p + "Direct").constData(), QStringLiteral("直接指定"));
      f->addWidget(direct, 2, 0, 1, 4);
      f->addWidget(MakeLabel(gb, (p + "xLabel").constData(), QStringLiteral("x")), 3, 0);
      px = MakeEdit(gb, (p + "x").constData());
      f->addWidget(px, 3, 1);
      f->addWidget(MakeLabel(gb, (p + "yLabel").constData(), QStringLiteral("y")), 3, 2);
      py = MakeEdit(gb, (p + "y").constData());
      f->addWidget(py, 3, 3);
      px->setEnabled(false);
      py->setEnabled(false);
      byClick = MakeCheck(gb, (p + "ByClick").constData(), QStringLiteral("場所をクリックして指定する"));
      byClick->setEnabled(false);
      f->addWidget(byClick, 4, 0, 1, 4);
      row->addWidget(gb);
    };
    makePoint("GroupBox15", "点1", 1, zone1List_, node1ISpin_, node1JSpin_, typed1Check_, point1XBox_, point1YBox_, pick1Check_);
    makePoint("GroupBox16", "点2", 2, zone2List_, node2ISpin_, node2JSpin_, typed2Check_, point2XBox_, point2YBox_, pick2Check_);
    v->addLayout(row);
    auto* h = new QHBoxLayout;
    openAnalyzedCheck_ = MakeCheck(page_, "OpenAnalyzed", QStringLiteral("解析後作成データを開く"));
    h->addWidget(openAnalyzedCheck_);
    analyzeButton_ = MakeButton(page_, "AnalyzeButton", QStringLiteral("解析実行"));
    h->addWidget(analyzeButton_);
    profileButton_ = MakeButton(page_, "ProfileButton", QStringLiteral("分布図..."));
    profileButton_->setToolTip(QStringLiteral("壁や格子線、線分に沿った値の分布を描きます"));
    h->addWidget(profileButton_);
    v->addLayout(h);
    auto* g17 = MakeGroup(page_, "GroupBox17", QStringLiteral("解析線分のオプション"));
    auto* f17 = new QGridLayout(g17);
    f17->addWidget(MakeLabel(g17, "Label53", QStringLiteral("(再描画で更新されます)")), 0, 0, 1, 3);
    f17->addWidget(MakeLabel(g17, "Label48", QStringLiteral("色")), 1, 0);
    segmentColourSwatch_ = Named(new ColourSwatchWidget(kBlack, g17), "SegmentColor");
    f17->addWidget(segmentColourSwatch_, 1, 1);
    segmentColourButton_ = MakeButton(g17, "Button6", QStringLiteral("変更"));
    segmentColourButton_->setEnabled(false);
    f17->addWidget(segmentColourButton_, 1, 2);
    quickSegmentRadio_ = MakeRadio(g17, "QuickDrawSegment", QStringLiteral("クイック描画"));
    drawnSegmentRadio_ = MakeRadio(g17, "RealDrawSegment", QStringLiteral("保存画像にも反映"));
    quickSegmentRadio_->setEnabled(false);
    drawnSegmentRadio_->setEnabled(false);
    f17->addWidget(quickSegmentRadio_, 2, 0, 1, 2);
    f17->addWidget(drawnSegmentRadio_, 2, 2);
    showSegmentCheck_ = MakeCheck(g17, "ShowSegment", QStringLiteral("線分を表示"));
    f17->addWidget(showSegmentCheck_, 3, 0, 1, 3);
    v->addWidget(g17);
    v->addStretch();
  }
  tabs.addTab(page_, QStringLiteral("解析"));
}

// The tab's own handlers; an edited option control is stored, then OptionChanged runs.
void AnalysisTabController::ConnectHandlers() {
  window_.ConnectOptionControls(controls_, this);
  for (QLineEdit* e : {point1XBox_, point1YBox_, point2XBox_, point2YBox_})
    connect(e, &QLineEdit::returnPressed, this, window_.Guarded([this, e] { PointBoxEntered(e); }));
  connect(analyzeButton_, &QPushButton::clicked, this, window_.Guarded([this] { Analyze(); }));
  connect(segmentColourButton_, &QPushButton::clicked, this,
          window_.Guarded([this] { PickSwatchColour(segmentColourSwatch_, &window_); }));
  // The profile window shows the data set loaded now.
  connect(profileButton_, &QPushButton::clicked, this, window_.Guarded([this] {
    if (!window_.profileWindow) window_.profileWindow = new ProfileWindow(&window_);
    window_.profileWindow->DataChanged();
    window_.profileWindow->show();
    window_.profileWindow->raise();
    window_.profileWindow->activateWindow();
  }));
}

void AnalysisTabController::Load(const ProgramOptions& options) {
  controls_.Load(window_.state);
  const AnalysisOptions& a = options.analysis;
  for (bool first : {true, false}) {
    const bool direct = first ? a.P1Direct : a.P2Direct;
    for (QWidget* w : {static_cast<QWidget*>(first ? point1XBox_ : point2XBox_),
                       static_cast<QWidget*>(first ? point1YBox_ : point2YBox_),
                       static_cast<QWidget*>(first ? pick1Check_ : pick2Check_)})
      w->setEnabled(direct);
    for (QWidget* w : {static_cast<QWidget*>(first ? zone1List_ : zone2List_),
                       static_cast<QWidget*>(first ? node1ISpin_ : node2ISpin_),
                       static_cast<QWidget*>(first ? node1JSpin_ : node2JSpin_)})
      w->setEnabled(!direct);
  }
  for (QWidget* w : {static_cast<QWidget*>(segmentColourButton_), static_cast<QWidget*>(quickSegmentRadio_),
                     static_cast<QWidget*>(drawnSegmentRadio_)})
    w->setEnabled(options.display.ShowSegment);
}

void AnalysisTabController::OptionChanged(const std::string& name) {
  const bool first = name.rfind("P1", 0) == 0;
  if (name == "P1Zone" || name == "P2Zone") {
    ZoneChosen(first);
  } else if (name == "P1i" || name == "P1j" || name == "P2i" || name == "P2j") {
    ShowQuickSegment();
  } else if (name == "P1Direct" || name == "P2Direct") {
    TypedToggled(first);
  } else if (name == "P1x" || name == "P1y" || name == "P2x" || name == "P2y") {
    SetPendingEdit(qobject_cast<QLineEdit*>(controls_.Find(name)), true);
  } else if (name == "P1ByClick" || name == "P2ByClick") {
    PickToggled(first);
  } else if (name == "ShowSegment") {
    ShowSegmentToggled();
  }
}

void AnalysisTabController::Shown() {
  if (window_.Options().display.UseOpenGL) window_.notifier().Message("OpenGL時には解析は実行できません");
}

void AnalysisTabController::ZonesLoaded(int zoneCount, bool newZoneList) {
  if (newZoneList)
    for (QComboBox* c : {zone1List_, zone2List_}) {
      const QSignalBlocker block(c);
      c->clear();
      for (int z = 0; z < zoneCount; ++z) c->addItem(QString::number(z));
    }
  if (zoneCount > 0) {
    zone1List_->setCurrentIndex(0);
    zone2List_->setCurrentIndex(0);
  }
  // The end points' i and j boxes take the maxima of their zones in the new data set.
  ZoneChosen(true);
  ZoneChosen(false);
  // Lists refilled with their signals blocked store their new choice here.
  for (QWidget* w : std::initializer_list<QWidget*>{zone1List_, zone2List_, node1ISpin_, node1JSpin_, node2ISpin_,
                                                    node2JSpin_})
    OptionControls::Store(w, window_.state);
}

void AnalysisTabController::PointPicked(bool first, const QString& xText, const QString& yText) {
  QLineEdit* bx = first ? point1XBox_ : point2XBox_;
  QLineEdit* by = first ? point1YBox_ : point2YBox_;
  bx->setText(xText);
  by->setText(yText);
  SetPendingEdit(bx, false);
  SetPendingEdit(by, false);
  ShowQuickSegment();
}

void AnalysisTabController::PickPoint(bool first) {
  (first ? typed1Check_ : typed2Check_)->setChecked(true);
  (first ? pick1Check_ : pick2Check_)->setChecked(true);
  // Already checked, the box ran no handler: the pick starts all the same.
  PickToggled(first);
}

// The i and j boxes of one end point take the maxima of its zone.
void AnalysisTabController::ZoneChosen(bool first) {
  QSpinBox* i = first ? node1ISpin_ : node2ISpin_;
  QSpinBox* j = first ? node1JSpin_ : node2JSpin_;
  const NodeBoxLimits limits =
      NodeBoxMaxima(window_.state.scene.data, (first ? zone1List_ : zone2List_)->currentIndex());
  {
    // Qt keeps a spin box's value within its range, so a value above the new maximum is lowered.
    const QSignalBlocker blockI(i), blockJ(j);
    i->setMaximum(limits.iMax);
    j->setMaximum(limits.jMax);
  }
  OptionControls::Store(i, window_.state);
  OptionControls::Store(j, window_.state);
  ShowQuickSegment();
}

// The plot window shows its picture again, with the segment over it when it is drawn quickly.
void AnalysisTabController::ShowQuickSegment() {
  PlotWindow* plot = window_.plotWindow;
  if (!plot) return;
  plot->ShowQuickSegment(std::nullopt);
  const SceneState& scene = window_.state.scene;
  const DisplayOptions& d = scene.options.display;
  if (!d.ShowSegment || d.RealDrawSegment) return;
  if (std::optional<SegmentFigure> figure = QuickSegment(scene.data, scene.options.analysis))
    plot->ShowQuickSegment(*figure);
}

// Typed coordinates or the node: which controls of one end point take input.
void AnalysisTabController::TypedToggled(bool first) {
  // A disabled pick box could not be unchecked any more, and picking blocks zooming.
  const AnalysisOptions& a = window_.Options().analysis;
  if (!(first ? a.P1Direct : a.P2Direct)) (first ? pick1Check_ : pick2Check_)->setChecked(false);
}

void AnalysisTabController::PointBoxEntered(QLineEdit* box) {
  SetPendingEdit(box, false);
  ShowQuickSegment();
}

// Picking one end point ends picking the other.
void AnalysisTabController::PickToggled(bool first) {
  PlotWindow* plot = window_.plotWindow;
  if (!plot) return;
  QCheckBox* pick = first ? pick1Check_ : pick2Check_;
  (first ? plot->PickingPoint1 : plot->PickingPoint2) = pick->isChecked();
  if (pick->isChecked()) {
    (first ? plot->PickingPoint2 : plot->PickingPoint1) = false;
    (first ? pick2Check_ : pick1Check_)->setChecked(false);
  }
}

void AnalysisTabController::ShowSegmentToggled() { ShowQuickSegment(); }

// The save dialog, then the analysis into the chosen file.
void AnalysisTabController::Analyze() {
  QString path = QFileDialog::getSaveFileName(&window_, QString(), window_.CurrentFolder(),
                                              QString::fromUtf8(kAnalysisFileFilter));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".") + QString::fromLatin1(kAnalysisFileSuffix);
  window_.AnalyzeTo(path);
}

}  // namespace corvane
