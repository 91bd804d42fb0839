#include "ui/LegendWindow.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QFontDialog>
#include <QFontInfo>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>

#include "contour/ContourLevels.h"
#include "contour/Legend.h"
#include "base/OptionTable.h"
#include "output/ImageExport.h"
#include "render/PainterCanvas.h"
#include "ui/ErrorBoundary.h"
#include "ui/SaveDialogs.h"
#include "ui_LegendWindow.h"

namespace corvane {
namespace {

// Failures of the window's commands when nobody else was named to report them.
class LegendMessageBoxes : public Notifier {
 public:
  explicit LegendMessageBoxes(QWidget* owner) : owner_(owner) {}
  void Warning(const std::string& text) override {
    QMessageBox::warning(owner_, QGuiApplication::applicationDisplayName(), QString::fromStdString(text));
  }
  void Message(const std::string& text) override {
    QMessageBox::information(owner_, QGuiApplication::applicationDisplayName(), QString::fromStdString(text));
  }

 private:
  QWidget* owner_;
};

// The fixed previews of the two orientations: a small bar with two labels, on a clear ground
// so the panel's colour shows through.
QPixmap OrientationPreview(bool horizontal) {
  QPixmap pixmap(64, 64);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  const int bands = 6;
  for (int k = 0; k < bands; ++k) {
    QColor c = QColor::fromHsvF((bands - 1 - k) * (240.0 / 360.0) / (bands - 1), 1.0, 1.0);
    if (horizontal) {
      p.fillRect(8 + k * 8, 14, 8, 24, c);
    } else {
      p.fillRect(12, 52 - (k + 1) * 8, 20, 8, c);
    }
  }
  p.setPen(QColor(128, 128, 128));
  if (horizontal) {
    p.drawRect(8, 14, 48, 24);
    p.fillRect(6, 44, 12, 4, QColor(128, 128, 128));
    p.fillRect(46, 44, 12, 4, QColor(128, 128, 128));
  } else {
    p.drawRect(12, 4, 20, 48);
    p.fillRect(38, 4, 14, 4, QColor(128, 128, 128));
    p.fillRect(38, 48, 14, 4, QColor(128, 128, 128));
  }
  return pixmap;
}

}  // namespace

LegendWindow::LegendWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      ui(std::make_unique<Ui::LegendWindow>()),
      boxes_(std::make_unique<LegendMessageBoxes>(this)) {
  ui->setupUi(this);
  // The legend font starts as the window's own small Gothic face, 12 pixels high.
  ui->example->setFont(MakeQFont(LegendOptions{}.font));
  ui->TateImage->setPixmap(OrientationPreview(false));
  ui->YokoImage->setPixmap(OrientationPreview(true));
  SetPreviewBackground(false);
  // Every handler runs inside the program's error boundary.
  auto guarded = [this](void (LegendWindow::*handler)()) {
    return [this, handler] { RunGuarded(Notify(), [this, handler] { (this->*handler)(); }); };
  };
  connect(ui->Button1, &QPushButton::clicked, this, guarded(&LegendWindow::buildLegend));
  connect(ui->Button2, &QPushButton::clicked, this, guarded(&LegendWindow::saveLegendAs));
  connect(ui->Button3, &QPushButton::clicked, this, guarded(&LegendWindow::chooseLegendFont));
  // Toggled rather than clicked, so a change made from code moves the previews as a click does.
  connect(ui->LegendYoko, &QRadioButton::toggled, this, [this, guarded](bool on) {
    if (on) guarded(&LegendWindow::LegendYokoClick)();
  });
  connect(ui->LegendTate, &QRadioButton::toggled, this, [this, guarded](bool on) {
    if (on) guarded(&LegendWindow::LegendTateClick)();
  });
}

LegendWindow::~LegendWindow() = default;

void LegendWindow::SetSource(std::function<LegendSource()> source) { source_ = std::move(source); }

void LegendWindow::SetNotifier(Notifier* notifier) { notifier_ = notifier; }

void LegendWindow::SetPreviewBackground(bool white) {
  for (QWidget* panel : {static_cast<QWidget*>(ui->TatePanel), static_cast<QWidget*>(ui->YokoPanel)}) {
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, white ? Qt::white : Qt::black);
    panel->setPalette(palette);
  }
}

void LegendWindow::ShowOrRaise() {
  show();
  raise();
  activateWindow();
}

LegendOptions LegendWindow::Options() const {
  LegendOptions o;
  o.orientation = ui->LegendYoko->isChecked() ? LegendOrientation::Horizontal : LegendOrientation::Vertical;
  o.LegendWidthBox = ui->LegendWidthBox->value();
  o.LegendHeightBox = ui->LegendHeightBox->value();
  o.numberFormat.style = ui->ShowExpCheck->isChecked()   ? NumberStyle::Exponent
                         : ui->ShowFixCheck->isChecked() ? NumberStyle::Fixed
                                                         : NumberStyle::General;
  o.numberFormat.precision = ui->PrecisionBox->value();
  o.numberFormat.digits = ui->DigitsBox->value();
  const QFont font = ui->example->font();
  o.font.face = font.family().toStdString();
  o.font.pixelHeight = QFontInfo(font).pixelSize();
  o.font.bold = font.bold();
  o.font.italic = font.italic();
  // With round levels the numbers carry the decimals of the step; a step that is no number
  // yet is reported when the legend reads it.
  if (const LegendSource source = source_ ? source_() : LegendSource{}; source.RoundLevels) {
    try {
      o.numberFormat.roundStep = ParseDoubleValue("StepBox", source.StepBox);
    } catch (const CorvaneError&) {
    }
  }
  return o;
}

LegendInput LegendWindow::Input() const {
  const LegendSource source = source_ ? source_() : LegendSource{};
  LegendInput in;
  in.lo = ParseDoubleValue("MinBox", source.MinBox);
  in.hi = ParseDoubleValue("MaxBox", source.MaxBox);
  in.step = ParseDoubleValue("StepBox", source.StepBox);
  in.whiteBack = source.WhiteBack;
  in.colourMap = source.colourMap;
  return in;
}

QPicture LegendWindow::BuildLegendPicture() const { return corvane::BuildLegendPicture(Options(), Input()); }

bool LegendWindow::SaveLegend(const QString& path) {
  const LegendOptions options = Options();
  const QPicture picture = corvane::BuildLegendPicture(options, Input());
  return SavePictureByExtension(path, picture, LegendBitmap(picture, options), Notify());
}

Notifier& LegendWindow::Notify() { return notifier_ ? *notifier_ : *boxes_; }

void LegendWindow::Report(const std::exception& e) { Notify().Warning(e.what()); }

void LegendWindow::buildLegend() {
  try {
    const LegendOptions options = Options();
    const LegendInput input = Input();
    const QImage bitmap = LegendBitmap(corvane::BuildLegendPicture(options, input), options);
    ui->LegendSample->setPixmap(QPixmap::fromImage(bitmap));
    ui->LegendSample->resize(bitmap.size());
    // A bar without bands is explained, not left for the user to puzzle over.
    const std::string problem = ContourRangeProblem(input.hi, input.lo, input.step);
    if (!problem.empty()) Notify().Warning(problem);
  } catch (const std::exception& e) {
    Report(e);
  }
}

void LegendWindow::saveLegendAs() {
  try {
    // Built before the dialog, so a range that is no number is reported without asking first.
    BuildLegendPicture();
    QFileDialog dialog(this);
    PreparePictureSaveDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    SaveLegend(PathWithChosenType(dialog.selectedFiles().front(), dialog.selectedNameFilter()));
  } catch (const std::exception& e) {
    Report(e);
  }
}

void LegendWindow::chooseLegendFont() {
  bool ok = false;
  QFont font = QFontDialog::getFont(&ok, ui->example->font(), this);
  if (!ok) return;
  // Pixel heights keep the legend's text the same size on every output device.
  font.setPixelSize(QFontInfo(font).pixelSize());
  ui->example->setFont(font);
}

void LegendWindow::LegendYokoClick() {
  ui->YokoPanel->show();
  ui->TatePanel->hide();
}

void LegendWindow::LegendTateClick() {
  ui->TatePanel->show();
  ui->YokoPanel->hide();
}

}  // namespace corvane
