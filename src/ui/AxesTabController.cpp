#include "ui/AxesTabController.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "render/NumberFormat.h"
#include "ui/ControlFactory.h"
#include "ui/MainWindow.h"

namespace corvane {

AxesTabController::AxesTabController(MainWindow& window, QTabWidget& tabs) : QObject(&window), window_(window) {
  Build(tabs);
  controls_.Collect(page_);
}

// The page and its controls, each with its control name.
void AxesTabController::Build(QTabWidget& tabs) {
  page_ = Named(new QWidget, "XYTab");
  auto* v = new QVBoxLayout(page_);
  showAxesCheck_ = MakeCheck(page_, "ShowXYLabel", QStringLiteral("x軸、y軸ラベルを表示"));
  v->addWidget(showAxesCheck_);
  auto* g = new QGridLayout;
  g->addWidget(MakeLabel(page_, "Label16", QStringLiteral("x軸のタイトル")), 0, 0);
  xTitleBox_ = MakeEdit(page_, "XTitleBox");
  g->addWidget(xTitleBox_, 0, 1);
  g->addWidget(MakeLabel(page_, "Label17", QStringLiteral("ｙ軸のタイトル")), 1, 0);
  yTitleBox_ = MakeEdit(page_, "YTitleBox");
  g->addWidget(yTitleBox_, 1, 1);
  v->addLayout(g);
  sameScaleCheck_ = MakeCheck(page_, "XYSameScale", QStringLiteral("x軸、y軸のスケーリングを同じにする"));
  v->addWidget(sameScaleCheck_);
  auto* g5 = MakeGroup(page_, "GroupBox5", QStringLiteral("書式設定"));
  auto* v5 = new QVBoxLayout(g5);
  auto* h5 = new QHBoxLayout;
  h5->addWidget(MakeLabel(g5, "Label15", QStringLiteral("現在の設定　：")));
  axisSample_ = MakeLabel(g5, "example", QStringLiteral("3.0000E-1"));
  h5->addWidget(axisSample_);
  h5->addStretch();
  axisFontButton_ = MakeButton(g5, "Button2", QStringLiteral("フォントの変更"));
  h5->addWidget(axisFontButton_);
  v5->addLayout(h5);
  auto* g6 = MakeGroup(g5, "GroupBox6", QStringLiteral("表示形式の選択"));
  auto* f6 = new QGridLayout(g6);
  exponentRadio_ = MakeRadio(g6, "ShowExpCheck", QStringLiteral("指数表示（浮動少数）"));
  fixedRadio_ = MakeRadio(g6, "ShowFixCheck", QStringLiteral("固定形式表示"));
  shortestRadio_ = MakeRadio(g6, "ShowAutoCheck", QStringLiteral("最短となる形式を選択"));
  f6->addWidget(exponentRadio_, 0, 0, 1, 2);
  f6->addWidget(fixedRadio_, 1, 0, 1, 2);
  f6->addWidget(shortestRadio_, 2, 0, 1, 2);
  f6->addWidget(MakeLabel(g6, "Label18", QStringLiteral("桁数")), 0, 2);
  digitsSpin_ = MakeSpin(g6, "DigitsBox", 1, 20);
  f6->addWidget(digitsSpin_, 0, 3);
  f6->addWidget(MakeLabel(g6, "Label19", QStringLiteral("精度")), 1, 2);
  precisionSpin_ = MakeSpin(g6, "PrecisionBox", 1, 20);
  f6->addWidget(precisionSpin_, 1, 3);
  v5->addWidget(g6);
  v->addWidget(g5);
  v->addStretch();
  tabs.addTab(page_, QStringLiteral("XY軸"));
}

void AxesTabController::ConnectHandlers() {
  window_.ConnectOptionControls(controls_, this);
  connect(axisFontButton_, &QPushButton::clicked, this, window_.Guarded([this] { ChooseAxisFont(); }));
}

void AxesTabController::Load(const ProgramOptions& options) {
  controls_.Load(window_.state);
  ShowFontInLabel(axisSample_, options.display.axisFont);
}

// Only the exponent choice refreshes the sample.
void AxesTabController::OptionChanged(const std::string& name) {
  if (name == "ShowExpCheck" && window_.Options().display.numberFormat.style == NumberStyle::Exponent) ShowNumberSample();
}

void AxesTabController::ShowNumberSample() {
  axisSample_->setText(Q(FormatAxisNumber(0.3, window_.Options().display.numberFormat)));
}

// The axis font: the dialog always opens on Arial, 11 px; the sample takes the chosen font, and
// the renderer with it (axis text takes the picture's foreground colour).
void AxesTabController::ChooseAxisFont() {
  QFont initial(QStringLiteral("Arial"));
  initial.setPixelSize(11);
  std::optional<QFont> f = window_.dialogs.ChooseFont(initial, QStringLiteral("軸のフォント"));
  if (!f) return;
  window_.state.scene.options.display.axisFont = FontOfQFont(*f);
  Load(window_.Options());
}

void AxesTabController::Shown() {
  if (window_.Options().display.UseOpenGL) window_.notifier().Warning("XY軸設定はOpenGL描画時は無効です");
}

}  // namespace corvane
