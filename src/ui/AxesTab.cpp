// The XY軸 tab: axes, their titles, the axis font and the number format.
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "render/NumberFormat.h"
#include "ui/ControlFactory.h"
#include "ui/MainWindow.h"

namespace corvane {

void MainWindow::BuildAxesTab() {
  axesTab = Named(new QWidget, "XYTab");
  {
    auto* v = new QVBoxLayout(axesTab);
    ShowXYLabel = MakeCheck(axesTab, "ShowXYLabel", QStringLiteral("x軸、y軸ラベルを表示"), false);
    v->addWidget(ShowXYLabel);
    auto* g = new QGridLayout;
    g->addWidget(MakeLabel(axesTab, "Label16", QStringLiteral("x軸のタイトル")), 0, 0);
    XTitleBox = MakeEdit(axesTab, "XTitleBox", QStringLiteral("x [m]"));
    g->addWidget(XTitleBox, 0, 1);
    g->addWidget(MakeLabel(axesTab, "Label17", QStringLiteral("ｙ軸のタイトル")), 1, 0);
    YTitleBox = MakeEdit(axesTab, "YTitleBox", QStringLiteral("y [m]"));
    g->addWidget(YTitleBox, 1, 1);
    v->addLayout(g);
    XYSameScale = MakeCheck(axesTab, "XYSameScale", QStringLiteral("x軸、y軸のスケーリングを同じにする"), true);
    v->addWidget(XYSameScale);
    auto* g5 = MakeGroup(axesTab, "GroupBox5", QStringLiteral("書式設定"));
    auto* v5 = new QVBoxLayout(g5);
    auto* h5 = new QHBoxLayout;
    h5->addWidget(MakeLabel(g5, "Label15", QStringLiteral("現在の設定　：")));
    example = MakeLabel(g5, "example", QStringLiteral("3.0000E-1"));
    {
      QFont f(QStringLiteral("Arial"));
      f.setPixelSize(16);
      example->setFont(f);
    }
    h5->addWidget(example);
    h5->addStretch();
    axisFontButton = MakeButton(g5, "Button2", QStringLiteral("フォントの変更"));
    h5->addWidget(axisFontButton);
    v5->addLayout(h5);
    auto* g6 = MakeGroup(g5, "GroupBox6", QStringLiteral("表示形式の選択"));
    auto* f6 = new QGridLayout(g6);
    ShowExpCheck = MakeRadio(g6, "ShowExpCheck", QStringLiteral("指数表示（浮動少数）"), false);
    ShowFixCheck = MakeRadio(g6, "ShowFixCheck", QStringLiteral("固定形式表示"), false);
    ShowAutoCheck = MakeRadio(g6, "ShowAutoCheck", QStringLiteral("最短となる形式を選択"), true);
    f6->addWidget(ShowExpCheck, 0, 0, 1, 2);
    f6->addWidget(ShowFixCheck, 1, 0, 1, 2);
    f6->addWidget(ShowAutoCheck, 2, 0, 1, 2);
    f6->addWidget(MakeLabel(g6, "Label18", QStringLiteral("桁数")), 0, 2);
    DigitsBox = MakeSpin(g6, "DigitsBox", 1, 20, 4);
    f6->addWidget(DigitsBox, 0, 3);
    f6->addWidget(MakeLabel(g6, "Label19", QStringLiteral("精度")), 1, 2);
    PrecisionBox = MakeSpin(g6, "PrecisionBox", 1, 20, 5);
    f6->addWidget(PrecisionBox, 1, 3);
    v5->addWidget(g6);
    v->addWidget(g5);
    v->addStretch();
  }
  tabPages->addTab(axesTab, QStringLiteral("XY軸"));
}

void MainWindow::ConnectAxesTab() {
  connect(ShowExpCheck, &QRadioButton::toggled, this, Guarded([this](bool on) {
    if (on) ShowExpCheckClick();
  }));
  connect(axisFontButton, &QPushButton::clicked, this, Guarded(&MainWindow::chooseAxisFont));
}

// Only the exponent choice refreshes the sample.
void MainWindow::ShowExpCheckClick() {
  example->setText(Q(FormatAxisNumber(0.3, scene.options.display.numberFormat)));
}

// The axis font: the dialog always opens on Arial, 11 px; the sample takes the chosen font, and
// the renderer with it (axis text takes the picture's foreground colour).
void MainWindow::chooseAxisFont() {
  QFont initial(QStringLiteral("Arial"));
  initial.setPixelSize(11);
  std::optional<QFont> f = ChooseFont(initial, QStringLiteral("軸のフォント"));
  if (!f) return;
  example->setFont(*f);
  StoreAxisSample();
}

void MainWindow::axesTabShown() {
  if (scene.options.display.UseOpenGL) notifier_->Warning("XY軸設定はOpenGL描画時は無効です");
}

}  // namespace corvane
