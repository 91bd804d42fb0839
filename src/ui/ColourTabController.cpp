#include "ui/ColourTabController.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/ColourSwatchWidget.h"
#include "ui/ControlFactory.h"
#include "ui/LegendWindow.h"
#include "ui/MainWindow.h"

namespace corvane {

ColourTabController::ColourTabController(MainWindow& window, QTabWidget& tabs) : QObject(&window), window_(window) {
  Build(tabs);
  controls_.Collect(page_);
}

// The page and its controls, each with its control name.
void ColourTabController::Build(QTabWidget& tabs) {
  page_ = Named(new QWidget, "TabSheet1");
  auto* v = new QVBoxLayout(page_);
  auto* g4 = MakeGroup(page_, "GroupBox4", QStringLiteral("基本カラーマップ"));
  auto* g = new QGridLayout(g4);
  static const char* const radioNames[kMapCount] = {"ColorMap1",  "ColorMap2",  "GrayMap1",   "GrayMap2",
                                                    "ViridisMap", "CividisMap", "CoolWarmMap"};
  const QString captions[kMapCount] = {QStringLiteral("カラー１（虹色）"),         QStringLiteral("カラー２（赤青）"),
                                       QStringLiteral("グレイ１"),                 QStringLiteral("グレイ２"),
                                       QStringLiteral("viridis（知覚的に均等）"),  QStringLiteral("cividis（色覚に配慮）"),
                                       QStringLiteral("クールウォーム（発散型）")};
  const ColourMapKind kinds[kMapCount] = {ColourMapKind::Rainbow, ColourMapKind::RedBlue, ColourMapKind::Gray1,
                                          ColourMapKind::Gray2,   ColourMapKind::Viridis, ColourMapKind::Cividis,
                                          ColourMapKind::CoolWarm};
  for (int k = 0; k < kMapCount; ++k) mapRadios_[k] = MakeRadio(g4, radioNames[k], captions[k]);
  for (int k = 0; k < kMapCount; ++k) {
    // Panel5 is taken by the main window; the new maps' frames have names of their own.
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
    mapPictures_[k] = image;
    g->addWidget(mapRadios_[k], k, 0);
    g->addWidget(panel, k, 1);
  }
  legendButton_ = MakeButton(g4, "Button4", QStringLiteral("凡例の作成"));
  g->addWidget(legendButton_, 7, 1);
  colourBarCheck_ = MakeCheck(g4, "ColourBarCheck", QStringLiteral("カラーバーを表示"));
  colourBarCheck_->setToolTip(QStringLiteral("絵の右に色と値の対応を描きます"));
  g->addWidget(colourBarCheck_, 7, 0);
  v->addWidget(g4);
  quickFillCheck_ = MakeCheck(page_, "QuickFill", QStringLiteral("OpenGLの高速線形塗りつぶし"));
  v->addWidget(quickFillCheck_);
  auto* g8 = MakeGroup(page_, "GroupBox8", QStringLiteral("等高線のオプション"));
  auto* h8 = new QHBoxLayout(g8);
  h8->addWidget(MakeLabel(g8, "Label20", QStringLiteral("線幅")));
  lineWidthSpin_ = MakeSpin(g8, "ContLineWid", 1, 10);
  h8->addWidget(lineWidthSpin_);
  fixLineColourCheck_ = MakeCheck(g8, "FixLineColor", QStringLiteral("色を固定"));
  h8->addWidget(fixLineColourCheck_);
  fixedLineColour_ = Named(new ColourSwatchWidget(kBlack, g8), "Shape1");
  h8->addWidget(fixedLineColour_);
  fixedLineColourButton_ = MakeButton(g8, "Button3", QStringLiteral("変更"));
  h8->addWidget(fixedLineColourButton_);
  v->addWidget(g8);
  bitmapFillCheck_ = MakeCheck(page_, "BMPModeCheck",
                               QStringLiteral("非OpenGL時の塗りつぶしにはBitMapを用いる(画像のサイズが軽くなります)"));
  v->addWidget(bitmapFillCheck_);
  mergeBandsCheck_ = MakeCheck(page_, "MergeBandsCheck",
                               QStringLiteral("BitMapを用いないとき、塗り分けを色ごとの輪郭にまとめる(ベクトル画像が軽くなります)"));
  v->addWidget(mergeBandsCheck_);
  v->addStretch();
  tabs.addTab(page_, QStringLiteral("カラー"));
}

void ColourTabController::ConnectHandlers() {
  window_.ConnectOptionControls(controls_, this);
  connect(fixedLineColourButton_, &QPushButton::clicked, this,
          window_.Guarded([this] { PickSwatchColour(fixedLineColour_, &window_); }));
  connect(legendButton_, &QPushButton::clicked, this, window_.Guarded([this] {
    if (window_.legendWindow) window_.legendWindow->ShowOrRaise();
  }));
}

void ColourTabController::Load(const ProgramOptions&) { controls_.Load(window_.state); }

void ColourTabController::EnableQuickFill(bool enabled) { quickFillCheck_->setEnabled(enabled); }

bool ColourTabController::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease)
    for (int k = 0; k < kMapCount; ++k)
      if (watched == mapPictures_[k]) window_.RunHandlerWhenIdle([this, k] { MapPictureClicked(k); });
  return QObject::eventFilter(watched, event);
}

// A click on a colour map picture chooses that map.
void ColourTabController::MapPictureClicked(int index) {
  mapRadios_[index]->setChecked(true);
  mapRadios_[index]->setFocus();
}

}  // namespace corvane
