// The 表示 tab: zone edges, overlay copies, the view boxes and grid thinning.
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "data/Errors.h"
#include "render/NumberFormat.h"
#include "ui/ControlFactory.h"
#include "ui/MainWindow.h"

namespace corvane {

void MainWindow::BuildDisplayTab() {
  displayTab = Named(new QWidget, "TabSheet3");
  {
    auto* v = new QVBoxLayout(displayTab);
    auto* row1 = new QHBoxLayout;
    auto* g9 = MakeGroup(displayTab, "GroupBox9", QStringLiteral("枠線表示設定"));
    auto* f9 = new QGridLayout(g9);
    f9->addWidget(MakeLabel(g9, "Label26", QStringLiteral("領域番号")), 0, 0);
    ZoneSelect = MakeCombo(g9, "ZoneSelect");
    f9->addWidget(ZoneSelect, 0, 1);
    Showi0 = MakeCheck(g9, "Showi0", QStringLiteral("i = 0"), true);
    Showimax = MakeCheck(g9, "Showimax", QStringLiteral("i = imax"), true);
    Showj0 = MakeCheck(g9, "Showj0", QStringLiteral("j = 0"), true);
    showjmax = MakeCheck(g9, "showjmax", QStringLiteral("j = jmax"), true);
    f9->addWidget(Showi0, 1, 0);
    f9->addWidget(Showimax, 1, 1);
    f9->addWidget(Showj0, 2, 0);
    f9->addWidget(showjmax, 2, 1);
    SyncroArea = MakeCheck(g9, "SyncroArea", QStringLiteral("全領域同時設定"), false);
    f9->addWidget(SyncroArea, 3, 0, 1, 2);
    row1->addWidget(g9);
    auto* g10 = MakeGroup(displayTab, "GroupBox10", QStringLiteral("重ねがき"));
    auto* f10 = new QGridLayout(g10);
    f10->addWidget(MakeLabel(g10, "Label27", QStringLiteral("個数")), 0, 0);
    writetimes = MakeSpin(g10, "writetimes", 0, 10, 0);
    f10->addWidget(writetimes, 0, 1, 1, 2);
    f10->addWidget(MakeLabel(g10, "Label32", QStringLiteral("オフセット")), 1, 0, 1, 3);
    f10->addWidget(MakeLabel(g10, "Label28", QStringLiteral("x")), 2, 0);
    xoffsetbox = MakeEdit(g10, "xoffsetbox", QStringLiteral("0.0"));
    f10->addWidget(xoffsetbox, 2, 1, 1, 2);
    f10->addWidget(MakeLabel(g10, "Label29", QStringLiteral("y")), 3, 0);
    yoffsetbox = MakeEdit(g10, "yoffsetbox", QStringLiteral("0.0"));
    f10->addWidget(yoffsetbox, 3, 1, 1, 2);
    row1->addWidget(g10);
    v->addLayout(row1);
    auto* g12 = MakeGroup(displayTab, "GroupBox12", QStringLiteral("スケーリング"));
    g12->setToolTip(QStringLiteral("OpenGL時は無効"));
    auto* f12 = new QGridLayout(g12);
    f12->addWidget(MakeLabel(g12, "Label30", QStringLiteral("中心位置")), 0, 0);
    f12->addWidget(MakeLabel(g12, "Label31", QStringLiteral("x")), 0, 1);
    x0box = MakeEdit(g12, "x0box", QStringLiteral("0.0"));
    f12->addWidget(x0box, 0, 2);
    f12->addWidget(MakeLabel(g12, "Label33", QStringLiteral("y")), 0, 3);
    y0box = MakeEdit(g12, "y0box", QStringLiteral("0.0"));
    f12->addWidget(y0box, 0, 4);
    f12->addWidget(MakeLabel(g12, "Label34", QStringLiteral("スケーリング")), 1, 0);
    f12->addWidget(MakeLabel(g12, "Label35", QStringLiteral("x")), 1, 1);
    xscalebox = MakeEdit(g12, "xscalebox", QStringLiteral("1.0"));
    f12->addWidget(xscalebox, 1, 2);
    f12->addWidget(MakeLabel(g12, "Label36", QStringLiteral("y")), 1, 3);
    yscalebox = MakeEdit(g12, "yscalebox", QStringLiteral("1.0"));
    f12->addWidget(yscalebox, 1, 4);
    v->addWidget(g12);
    auto* g11 = MakeGroup(displayTab, "GroupBox11", QStringLiteral("データの圧縮"));
    auto* f11 = new QGridLayout(g11);
    f11->addWidget(MakeLabel(g11, "Label37", QStringLiteral("i方向")), 0, 0);
    ICompress2 = MakeTrack(g11, "ICompress2", 1, 10, 1);
    f11->addWidget(ICompress2, 0, 1);
    ICompBox = MakeSpin(g11, "ICompBox", 1, 10, 1);
    ICompBox->setEnabled(false);
    f11->addWidget(ICompBox, 0, 2);
    f11->addWidget(MakeLabel(g11, "Label38", QStringLiteral("j方向")), 1, 0);
    JCompress2 = MakeTrack(g11, "JCompress2", 1, 10, 1);
    f11->addWidget(JCompress2, 1, 1);
    JCompBox = MakeSpin(g11, "JCompBox", 1, 10, 1);
    JCompBox->setEnabled(false);
    f11->addWidget(JCompBox, 1, 2);
    v->addWidget(g11);
    SmoothCheck = MakeCheck(displayTab, "SmoothCheck", QStringLiteral("滑らかに描く"), false);
    SmoothCheck->setToolTip(QStringLiteral("線・文字・矢印・塗り分けの縁をアンチエイリアスで描きます"));
    v->addWidget(SmoothCheck);
    v->addStretch();
  }
  tabPages->addTab(displayTab, QStringLiteral("表示"));
}

void MainWindow::ConnectDisplayTab() {
  for (QLineEdit* box : {x0box, y0box, xscalebox, yscalebox}) {
    connect(box, &QLineEdit::textEdited, this, Guarded([this, box] { x0boxKeyDown(box, 0); }));
    connect(box, &QLineEdit::returnPressed, this, Guarded([this, box] { x0boxKeyDown(box, Qt::Key_Return); }));
  }
  connect(ICompress2, &QSlider::valueChanged, this, Guarded(&MainWindow::ICompress2Change));
  connect(JCompress2, &QSlider::valueChanged, this, Guarded(&MainWindow::JCompress2Change));
  connect(ZoneSelect, &QComboBox::currentIndexChanged, this, Guarded(&MainWindow::ZoneSelectChange));
  for (QCheckBox* c : {Showi0, Showimax, Showj0, showjmax})
    connect(c, &QCheckBox::toggled, this, Guarded(&MainWindow::Showi0Click));
}

// Enter applies the four boxes in order; any other key marks the sender as pending.
// Enter applies the four boxes in order; any other key marks the sender as pending.
void MainWindow::x0boxKeyDown(QLineEdit* sender, int key) {
  if (key == Qt::Key_Return || key == Qt::Key_Enter) ApplyTransformBoxes(sender);
  else SetBlue(sender, true);
}

// Centre and scales from the four boxes, in order; the first box without a number stops there.
void MainWindow::ApplyTransformBoxes(QLineEdit*) {
  QLineEdit* boxes[4] = {x0box, y0box, xscalebox, yscalebox};
  double* fields[4] = {&view_.CentreX, &view_.CentreY, &view_.ScaleX, &view_.ScaleY};
  RememberView();  // typed values are a step of the view like a zoom, and can be taken back
  for (int k = 0; k < 4; ++k) {
    try {
      *fields[k] = ParseDoubleValue(boxes[k]->objectName().toStdString(), boxes[k]->text().toStdString());
    } catch (const CorvaneError&) {
      notifier_->Message("数字を代入して下さい");
      return;
    }
    SetBlue(boxes[k], false);
  }
}

// The boxes show the view as it is now.
void MainWindow::WriteTransformBoxes() {
  QLineEdit* boxes[4] = {x0box, y0box, xscalebox, yscalebox};
  const double values[4] = {view_.CentreX, view_.CentreY, view_.ScaleX, view_.ScaleY};
  for (int k = 0; k < 4; ++k) {
    boxes[k]->setText(Q(FormatGeneral15(values[k])));
    SetBlue(boxes[k], false);
  }
}

// Loads the selected zone's flags into the four boxes without their handler writing them back.
void MainWindow::ZoneSelectChange() {
  if (zoneSelecting_) return;
  zoneSelecting_ = true;
  int z = ZoneSelect->currentIndex();
  if (z >= 0 && static_cast<std::size_t>(z) < data_.Boundaries.size()) {
    const BoundaryFlags& f = data_.Boundaries[static_cast<std::size_t>(z)];
    Showi0->setChecked(f.i0);
    Showj0->setChecked(f.j0);
    Showimax->setChecked(f.imax);
    showjmax->setChecked(f.jmax);
  }
  QCoreApplication::processEvents();
  zoneSelecting_ = false;
}

// All four flags of the selected zone (or of every zone) from the four boxes.
void MainWindow::Showi0Click() {
  if (zoneSelecting_) return;
  int first = ZoneSelect->currentIndex(), last = first;
  if (SyncroArea->isChecked()) {
    first = 0;
    last = static_cast<int>(data_.Boundaries.size()) - 1;
  }
  if (first < 0) return;
  BoundaryFlags f{Showi0->isChecked(), Showimax->isChecked(), Showj0->isChecked(), showjmax->isChecked()};
  for (int z = first; z <= last && static_cast<std::size_t>(z) < data_.Boundaries.size(); ++z)
    data_.Boundaries[static_cast<std::size_t>(z)] = f;
}

void MainWindow::ICompress2Change() { ICompBox->setValue(ICompress2->value()); }

void MainWindow::JCompress2Change() { JCompBox->setValue(JCompress2->value()); }

}  // namespace corvane
