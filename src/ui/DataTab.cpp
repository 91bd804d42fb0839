// The 構造 tab: the layout of the data file and the velocity columns.
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "data/VariableRows.h"
#include "ui/ControlFactory.h"
#include "ui/MainWindow.h"
#include "ui/StreamTabController.h"

namespace corvane {

void MainWindow::BuildDataTab() {
  DataTab = Named(new QWidget, "DataTab");
  {
    auto* v = new QVBoxLayout(DataTab);
    auto* h = new QHBoxLayout;
    h->addWidget(MakeLabel(DataTab, "Label25", QStringLiteral("領域数")));
    ZCountBox = MakeSpin(DataTab, "ZCountBox", 0, 100, 3);
    h->addWidget(ZCountBox);
    h->addStretch();
    v->addLayout(h);
    auto* row = new QHBoxLayout;
    auto* g1 = MakeGroup(DataTab, "GroupBox1", QStringLiteral("行番号"));
    auto* f1 = new QGridLayout(g1);
    XYNumLineBox = MakeSpin(g1, "XYNumLineBox", 0, 999, 2);
    LabelLineBox = MakeSpin(g1, "LabelLineBox", 0, 999, 5);
    DataStartLineBox = MakeSpin(g1, "DataStartLineBox", 0, 999, 6);
    f1->addWidget(MakeLabel(g1, "Label2", QStringLiteral("格子点数")), 0, 0);
    f1->addWidget(XYNumLineBox, 0, 1);
    f1->addWidget(MakeLabel(g1, "Label6", QStringLiteral("ラベル行")), 1, 0);
    f1->addWidget(LabelLineBox, 1, 1);
    f1->addWidget(MakeLabel(g1, "Label1", QStringLiteral("データ開始")), 2, 0);
    f1->addWidget(DataStartLineBox, 2, 1);
    for (QSpinBox* s : {XYNumLineBox, LabelLineBox, DataStartLineBox}) s->setToolTip(QStringLiteral("ゼロインデックスで指定"));
    row->addWidget(g1);
    auto* g19 = MakeGroup(DataTab, "GroupBox19", QStringLiteral("データの区切方式"));
    auto* v19 = new QVBoxLayout(g19);
    DataSSV = MakeRadio(g19, "DataSSV", QStringLiteral("スペース揃え"), true);
    DataCSV = MakeRadio(g19, "DataCSV", QStringLiteral("カンマ(CSV形式)"), false);
    DataTSV = MakeRadio(g19, "DataTSV", QStringLiteral("タブ(TSV形式)"), false);
    v19->addWidget(DataSSV);
    v19->addWidget(DataCSV);
    v19->addWidget(DataTSV);
    row->addWidget(g19);
    auto* g20 = MakeGroup(DataTab, "GroupBox20", QStringLiteral("データの並び方"));
    auto* v20 = new QVBoxLayout(g20);
    DataIJ = MakeRadio(g20, "DataIJ", QStringLiteral(" I ループ -> J ループ"), true);
    DataJI = MakeRadio(g20, "DataJI", QStringLiteral(" J ループ -> I ループ"), false);
    v20->addWidget(DataIJ);
    v20->addWidget(DataJI);
    row->addWidget(g20);
    v->addLayout(row);
    IncludeVelCheck = MakeCheck(DataTab, "IncludeVelCheck", QStringLiteral("速度データを持つ"), false);
    v->addWidget(IncludeVelCheck);
    auto* g3 = MakeGroup(DataTab, "GroupBox3", QStringLiteral("速度データについて"));
    auto* f3 = new QGridLayout(g3);
    xvecbox = MakeCombo(g3, "xvecbox");
    yvecbox = MakeCombo(g3, "yvecbox");
    tmpbox = MakeCombo(g3, "tmpbox");
    prsBox = MakeCombo(g3, "prsBox");
    tmpbox->setToolTip(QStringLiteral("マッハ数の計算に必要"));
    prsBox->setToolTip(QStringLiteral("マッハ数、全圧の計算に必要"));
    for (QComboBox* c : {xvecbox, yvecbox, tmpbox, prsBox}) c->addItem(QStringLiteral("読み込み後選択"));
    gammaBox = MakeEdit(g3, "gammaBox", QStringLiteral("1.4"));
    RBox = MakeEdit(g3, "RBox", QStringLiteral("288.7"));
    f3->addWidget(MakeLabel(g3, "Label8", QStringLiteral("x方向速度")), 0, 0);
    f3->addWidget(xvecbox, 0, 1);
    f3->addWidget(MakeLabel(g3, "Label10", QStringLiteral("ｙ方向速度")), 0, 2);
    f3->addWidget(yvecbox, 0, 3);
    f3->addWidget(MakeLabel(g3, "Label11", QStringLiteral("温度")), 1, 0);
    f3->addWidget(tmpbox, 1, 1);
    f3->addWidget(MakeLabel(g3, "Label14", QStringLiteral("圧力")), 1, 2);
    f3->addWidget(prsBox, 1, 3);
    f3->addWidget(MakeLabel(g3, "Label23", QStringLiteral("比熱比γ")), 2, 0);
    f3->addWidget(gammaBox, 2, 1);
    f3->addWidget(MakeLabel(g3, "Label24", QStringLiteral("気体定数")), 2, 2);
    f3->addWidget(RBox, 2, 3);
    v->addWidget(g3);
    applyLayoutButton = MakeButton(DataTab, "Button1", QStringLiteral("適用"));
    v->addWidget(applyLayoutButton, 0, Qt::AlignRight);
    BuildFormulaControls(v);
    v->addStretch();
  }
  tabPages->addTab(DataTab, QStringLiteral("構造"));
}

void MainWindow::ConnectDataTab() {
  connect(IncludeVelCheck, &QCheckBox::toggled, this, Guarded(&MainWindow::IncludeVelCheckClick));
  ConnectFormulaControls();
}

// Adds or removes the derived variables and the controls that need velocity data.
void MainWindow::IncludeVelCheckClick() {
  IncludeVelCheck->setEnabled(false);
  if (IncludeVelCheck->isChecked()) {
    if (!data_.Empty() && RGroup->Count() == data_.ColumnCount - 2) {
      const std::vector<std::string> items = RGroupItemsOf(data_, true);
      for (std::size_t k = static_cast<std::size_t>(RGroup->Count()); k < items.size(); ++k) RGroup->AddItem(Q(items[k]));
    }
    ShowVec->setEnabled(true);
    VecScaleBox->setEnabled(true);
    streamTab_->EnableStreamLines(true);
  } else {
    if (!data_.Empty() && RGroup->Count() == static_cast<int>(RGroupItemsOf(data_, true).size())) {
      while (RGroup->Count() > data_.ColumnCount - 2) RGroup->DeleteLastItem();
    }
    ShowVec->setEnabled(false);
    VecScaleBox->setEnabled(false);
    streamTab_->EnableStreamLines(false);
  }
  RefreshVariableItems(-1);
  IncludeVelCheck->setEnabled(true);
}

}  // namespace corvane
