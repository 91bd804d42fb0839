// The カラー tab: colour maps, the legend window and the contour line options.
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/ColourSwatchWidget.h"
#include "ui/ControlFactory.h"
#include "ui/LegendWindow.h"
#include "ui/MainWindow.h"

namespace corvane {

void MainWindow::BuildColourTab() {
  colourTab = Named(new QWidget, "TabSheet1");
  {
    auto* v = new QVBoxLayout(colourTab);
    auto* g4 = MakeGroup(colourTab, "GroupBox4", QStringLiteral("基本カラーマップ"));
    auto* g = new QGridLayout(g4);
    ColorMap1 = MakeRadio(g4, "ColorMap1", QStringLiteral("カラー１（虹色）"), true);
    ColorMap2 = MakeRadio(g4, "ColorMap2", QStringLiteral("カラー２（赤青）"), false);
    GrayMap1 = MakeRadio(g4, "GrayMap1", QStringLiteral("グレイ１"), false);
    GrayMap2 = MakeRadio(g4, "GrayMap2", QStringLiteral("グレイ２"), false);
    ViridisMap = MakeRadio(g4, "ViridisMap", QStringLiteral("viridis（知覚的に均等）"), false);
    CividisMap = MakeRadio(g4, "CividisMap", QStringLiteral("cividis（色覚に配慮）"), false);
    CoolWarmMap = MakeRadio(g4, "CoolWarmMap", QStringLiteral("クールウォーム（発散型）"), false);
    QRadioButton* radios[7] = {ColorMap1, ColorMap2, GrayMap1, GrayMap2, ViridisMap, CividisMap, CoolWarmMap};
    QLabel** images[7] = {&colourMapSample0, &colourMapSample1, &colourMapSample2, &colourMapSample3, &colourMapSample4, &colourMapSample5, &colourMapSample6};
    const ColourMapKind kinds[7] = {ColourMapKind::Rainbow, ColourMapKind::RedBlue,  ColourMapKind::Gray1,
                                   ColourMapKind::Gray2,   ColourMapKind::Viridis,  ColourMapKind::Cividis,
                                   ColourMapKind::CoolWarm};
    for (int k = 0; k < 7; ++k) {
      // gaugePanel is taken by the main window; the new maps' frames have names of their own.
      QByteArray panelName = (k < 4 ? "Panel" : "MapPanel") + QByteArray::number(k + 1);
      QByteArray imageName = "Image" + QByteArray::number(k);
      auto* panel = Named(new QFrame(g4), panelName.constData());
      panel->setFrameShape(QFrame::Panel);
      panel->setFrameShadow(QFrame::Sunken);
      auto* pl = new QHBoxLayout(panel);
      pl->setContentsMargins(1, 1, 1, 1);
      QLabel* image = Named(new QLabel(panel), imageName.constData());
      image->setPixmap(ColourMapSwatch(kinds[k]));
      image->setScaledContents(true);
      image->setFixedSize(96, 14);
      image->installEventFilter(this);
      pl->addWidget(image);
      *images[k] = image;
      g->addWidget(radios[k], k, 0);
      g->addWidget(panel, k, 1);
    }
    legendButton = MakeButton(g4, "Button4", QStringLiteral("凡例の作成"));
    g->addWidget(legendButton, 7, 1);
    ColourBarCheck = MakeCheck(g4, "ColourBarCheck", QStringLiteral("カラーバーを表示"), false);
    ColourBarCheck->setToolTip(QStringLiteral("絵の右に色と値の対応を描きます"));
    g->addWidget(ColourBarCheck, 7, 0);
    v->addWidget(g4);
    QuickFill = MakeCheck(colourTab, "QuickFill", QStringLiteral("OpenGLの高速線形塗りつぶし"), true);
    v->addWidget(QuickFill);
    auto* g8 = MakeGroup(colourTab, "GroupBox8", QStringLiteral("等高線のオプション"));
    auto* h8 = new QHBoxLayout(g8);
    h8->addWidget(MakeLabel(g8, "Label20", QStringLiteral("線幅")));
    ContLineWid = MakeSpin(g8, "ContLineWid", 1, 10, 1);
    h8->addWidget(ContLineWid);
    FixLineColor = MakeCheck(g8, "FixLineColor", QStringLiteral("色を固定"), false);
    h8->addWidget(FixLineColor);
    fixedLineColour = Named(new ColourSwatchWidget(kWhite, g8), "Shape1");
    h8->addWidget(fixedLineColour);
    fixedLineColourButton = MakeButton(g8, "Button3", QStringLiteral("変更"));
    h8->addWidget(fixedLineColourButton);
    v->addWidget(g8);
    BMPModeCheck = MakeCheck(colourTab, "BMPModeCheck",
                             QStringLiteral("非OpenGL時の塗りつぶしにはBitMapを用いる(画像のサイズが軽くなります)"), true);
    v->addWidget(BMPModeCheck);
    MergeBandsCheck = MakeCheck(colourTab, "MergeBandsCheck",
                                QStringLiteral("BitMapを用いないとき、塗り分けを色ごとの輪郭にまとめる(ベクトル画像が軽くなります)"), false);
    v->addWidget(MergeBandsCheck);
    v->addStretch();
  }
  tabPages->addTab(colourTab, QStringLiteral("カラー"));
}

void MainWindow::ConnectColourTab() {
  connect(fixedLineColourButton, &QPushButton::clicked, this, Guarded(&MainWindow::chooseFixedLineColour));
  connect(legendButton, &QPushButton::clicked, this, Guarded(&MainWindow::showLegendWindow));
}

// A click on a colour map picture chooses that map.
void MainWindow::colourMapSampleClicked(int index) {
  QRadioButton* radios[7] = {ColorMap1, ColorMap2, GrayMap1, GrayMap2, ViridisMap, CividisMap, CoolWarmMap};
  if (index < 0 || index > 6) return;
  radios[index]->setChecked(true);
  radios[index]->setFocus();
}

void MainWindow::chooseFixedLineColour() { PickSwatchColour(fixedLineColour, this); }

void MainWindow::showLegendWindow() {
  if (legendWindow) legendWindow->ShowOrRaise();
}

}  // namespace corvane
