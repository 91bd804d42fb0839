#include "ui/DisplayTabController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "base/Errors.h"
#include "render/NumberFormat.h"
#include "ui/ControlFactory.h"
#include "ui/MainWindow.h"
#include "ui/PlotWindowHost.h"

namespace corvane {

DisplayTabController::DisplayTabController(MainWindow& window, QTabWidget& tabs) : QObject(&window), window_(window) {
  Build(tabs);
  controls_.Collect(page_, {"x0box", "y0box", "xscalebox", "yscalebox"});
}

// The page and its controls, each with its control name.
void DisplayTabController::Build(QTabWidget& tabs) {
  page_ = Named(new QWidget, "TabSheet3");
  {
    auto* v = new QVBoxLayout(page_);
    auto* row1 = new QHBoxLayout;
    auto* g9 = MakeGroup(page_, "GroupBox9", QStringLiteral("枠線表示設定"));
    auto* f9 = new QGridLayout(g9);
    f9->addWidget(MakeLabel(g9, "Label26", QStringLiteral("領域番号")), 0, 0);
    zoneList_ = MakeCombo(g9, "ZoneSelect");
    f9->addWidget(zoneList_, 0, 1);
    edgeI0Check_ = MakeCheck(g9, "Showi0", QStringLiteral("i = 0"));
    edgeIMaxCheck_ = MakeCheck(g9, "Showimax", QStringLiteral("i = imax"));
    edgeJ0Check_ = MakeCheck(g9, "Showj0", QStringLiteral("j = 0"));
    edgeJMaxCheck_ = MakeCheck(g9, "showjmax", QStringLiteral("j = jmax"));
    f9->addWidget(edgeI0Check_, 1, 0);
    f9->addWidget(edgeIMaxCheck_, 1, 1);
    f9->addWidget(edgeJ0Check_, 2, 0);
    f9->addWidget(edgeJMaxCheck_, 2, 1);
    allZonesCheck_ = MakeCheck(g9, "SyncroArea", QStringLiteral("全領域同時設定"), false);
    f9->addWidget(allZonesCheck_, 3, 0, 1, 2);
    row1->addWidget(g9);
    auto* g10 = MakeGroup(page_, "GroupBox10", QStringLiteral("重ねがき"));
    auto* f10 = new QGridLayout(g10);
    f10->addWidget(MakeLabel(g10, "Label27", QStringLiteral("個数")), 0, 0);
    copiesSpin_ = MakeSpin(g10, "writetimes", 0, 10);
    f10->addWidget(copiesSpin_, 0, 1, 1, 2);
    f10->addWidget(MakeLabel(g10, "Label32", QStringLiteral("オフセット")), 1, 0, 1, 3);
    f10->addWidget(MakeLabel(g10, "Label28", QStringLiteral("x")), 2, 0);
    copyOffsetXBox_ = MakeEdit(g10, "xoffsetbox");
    f10->addWidget(copyOffsetXBox_, 2, 1, 1, 2);
    f10->addWidget(MakeLabel(g10, "Label29", QStringLiteral("y")), 3, 0);
    copyOffsetYBox_ = MakeEdit(g10, "yoffsetbox");
    f10->addWidget(copyOffsetYBox_, 3, 1, 1, 2);
    row1->addWidget(g10);
    v->addLayout(row1);
    auto* g12 = MakeGroup(page_, "GroupBox12", QStringLiteral("スケーリング"));
    g12->setToolTip(QStringLiteral("OpenGL時は無効"));
    auto* f12 = new QGridLayout(g12);
    f12->addWidget(MakeLabel(g12, "Label30", QStringLiteral("中心位置")), 0, 0);
    f12->addWidget(MakeLabel(g12, "Label31", QStringLiteral("x")), 0, 1);
    centreXBox_ = MakeEdit(g12, "x0box", QStringLiteral("0.0"));
    f12->addWidget(centreXBox_, 0, 2);
    f12->addWidget(MakeLabel(g12, "Label33", QStringLiteral("y")), 0, 3);
    centreYBox_ = MakeEdit(g12, "y0box", QStringLiteral("0.0"));
    f12->addWidget(centreYBox_, 0, 4);
    f12->addWidget(MakeLabel(g12, "Label34", QStringLiteral("スケーリング")), 1, 0);
    f12->addWidget(MakeLabel(g12, "Label35", QStringLiteral("x")), 1, 1);
    scaleXBox_ = MakeEdit(g12, "xscalebox", QStringLiteral("1.0"));
    f12->addWidget(scaleXBox_, 1, 2);
    f12->addWidget(MakeLabel(g12, "Label36", QStringLiteral("y")), 1, 3);
    scaleYBox_ = MakeEdit(g12, "yscalebox", QStringLiteral("1.0"));
    f12->addWidget(scaleYBox_, 1, 4);
    v->addWidget(g12);
    auto* g11 = MakeGroup(page_, "GroupBox11", QStringLiteral("データの圧縮"));
    auto* f11 = new QGridLayout(g11);
    f11->addWidget(MakeLabel(g11, "Label37", QStringLiteral("i方向")), 0, 0);
    iThinningSlider_ = MakeTrack(g11, "ICompress2", 1, 10);
    f11->addWidget(iThinningSlider_, 0, 1);
    iThinningSpin_ = MakeSpin(g11, "ICompBox", 1, 10, 1);
    iThinningSpin_->setEnabled(false);
    f11->addWidget(iThinningSpin_, 0, 2);
    f11->addWidget(MakeLabel(g11, "Label38", QStringLiteral("j方向")), 1, 0);
    jThinningSlider_ = MakeTrack(g11, "JCompress2", 1, 10);
    f11->addWidget(jThinningSlider_, 1, 1);
    jThinningSpin_ = MakeSpin(g11, "JCompBox", 1, 10, 1);
    jThinningSpin_->setEnabled(false);
    f11->addWidget(jThinningSpin_, 1, 2);
    v->addWidget(g11);
    smoothCheck_ = MakeCheck(page_, "SmoothCheck", QStringLiteral("滑らかに描く"));
    smoothCheck_->setToolTip(QStringLiteral("線・文字・矢印・塗り分けの縁をアンチエイリアスで描きます"));
    v->addWidget(smoothCheck_);
    v->addStretch();
  }
  tabs.addTab(page_, QStringLiteral("表示"));
}

// The tab's own handlers; an edited option control is stored, then OptionChanged runs.
void DisplayTabController::ConnectHandlers() {
  window_.ConnectOptionControls(controls_, this);
  for (QLineEdit* box : {centreXBox_, centreYBox_, scaleXBox_, scaleYBox_}) {
    connect(box, &QLineEdit::textEdited, this, window_.Guarded([box] { SetPendingEdit(box, true); }));
    connect(box, &QLineEdit::returnPressed, this, window_.Guarded([this] { ApplyViewBoxes(); }));
  }
  connect(zoneList_, &QComboBox::currentIndexChanged, this, window_.Guarded([this] { ZoneChosen(); }));
  connect(&window_.state.events, &StateEvents::changed, this, &DisplayTabController::StateChanged);
}

// The thinning spin boxes show the sliders' steps.
void DisplayTabController::Load(const ProgramOptions& options) {
  controls_.Load(window_.state);
  iThinningSpin_->setValue(options.load.ICompress2);
  jThinningSpin_->setValue(options.load.JCompress2);
}

void DisplayTabController::OptionChanged(const std::string& name) {
  if (name == "Showi0" || name == "Showimax" || name == "Showj0" || name == "showjmax") EdgeFlagsToggled();
  else if (name == "ICompress2" || name == "JCompress2") Load(window_.Options());
}

int DisplayTabController::ZoneListCount() const { return zoneList_->count(); }

void DisplayTabController::RefillZoneList(int zoneCount) {
  zoneChoosing_ = true;
  zoneList_->clear();
  for (int z = 0; z < zoneCount; ++z) zoneList_->addItem(QString::number(z));
  zoneChoosing_ = false;
  zoneList_->setCurrentIndex(zoneCount > 0 ? 0 : -1);
  ZoneChosen();
}

bool DisplayTabController::ApplyViewBox(const std::string& name, const std::string& value) {
  QLineEdit* box = name == "x0box"       ? centreXBox_
                   : name == "y0box"     ? centreYBox_
                   : name == "xscalebox" ? scaleXBox_
                   : name == "yscalebox" ? scaleYBox_
                                         : nullptr;
  if (!box) return false;
  const double v = ParseDoubleValue(name, value);
  ViewTransform& view = window_.state.scene.view;
  (box == centreXBox_ ? view.CentreX : box == centreYBox_ ? view.CentreY : box == scaleXBox_ ? view.ScaleX : view.ScaleY) = v;
  box->setText(Q(FormatGeneral15(v)));
  SetPendingEdit(box, false);
  return true;
}

void DisplayTabController::StateChanged(StateChange what) {
  if (what == StateChange::View) ShowView();
}

// The boxes show the view as it is now.
void DisplayTabController::ShowView() {
  const ViewTransform& view = window_.state.scene.view;
  QLineEdit* boxes[4] = {centreXBox_, centreYBox_, scaleXBox_, scaleYBox_};
  const double values[4] = {view.CentreX, view.CentreY, view.ScaleX, view.ScaleY};
  for (int k = 0; k < 4; ++k) {
    boxes[k]->setText(Q(FormatGeneral15(values[k])));
    SetPendingEdit(boxes[k], false);
  }
}

// Enter: centre and scales from the four boxes, in order; the first box without a number stops there.
void DisplayTabController::ApplyViewBoxes() {
  ViewTransform& view = window_.state.scene.view;
  QLineEdit* boxes[4] = {centreXBox_, centreYBox_, scaleXBox_, scaleYBox_};
  double* fields[4] = {&view.CentreX, &view.CentreY, &view.ScaleX, &view.ScaleY};
  window_.plotHost().RememberView();  // typed values are a step of the view like a zoom, and can be taken back
  for (int k = 0; k < 4; ++k) {
    try {
      *fields[k] = ParseDoubleValue(boxes[k]->objectName().toStdString(), boxes[k]->text().toStdString());
    } catch (const CorvaneError&) {
      window_.notifier().Message("数字を代入して下さい");
      return;
    }
    SetPendingEdit(boxes[k], false);
  }
}

// Shows the chosen zone's flags in the four boxes without their handler writing them back.
void DisplayTabController::ZoneChosen() {
  if (zoneChoosing_) return;
  zoneChoosing_ = true;
  const FieldView& fieldView = window_.state.scene.fieldView;
  const int z = zoneList_->currentIndex();
  if (z >= 0 && static_cast<std::size_t>(z) < fieldView.Boundaries.size()) {
    const BoundaryFlags& f = fieldView.Boundaries[static_cast<std::size_t>(z)];
    edgeI0Check_->setChecked(f.i0);
    edgeJ0Check_->setChecked(f.j0);
    edgeIMaxCheck_->setChecked(f.imax);
    edgeJMaxCheck_->setChecked(f.jmax);
  }
  zoneChoosing_ = false;
}

// All four flags of the chosen zone (or of every zone) from the four boxes.
void DisplayTabController::EdgeFlagsToggled() {
  if (zoneChoosing_) return;
  std::vector<BoundaryFlags>& boundaries = window_.state.scene.fieldView.Boundaries;
  int first = zoneList_->currentIndex(), last = first;
  if (allZonesCheck_->isChecked()) {
    first = 0;
    last = static_cast<int>(boundaries.size()) - 1;
  }
  if (first < 0) return;
  const BoundaryFlags f{edgeI0Check_->isChecked(), edgeIMaxCheck_->isChecked(), edgeJ0Check_->isChecked(),
                        edgeJMaxCheck_->isChecked()};
  for (int z = first; z <= last && static_cast<std::size_t>(z) < boundaries.size(); ++z)
    boundaries[static_cast<std::size_t>(z)] = f;
}

}  // namespace corvane
