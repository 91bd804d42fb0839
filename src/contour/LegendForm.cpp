#include "contour/LegendForm.h"

#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <cmath>

#include "data/Errors.h"
#include "data/OptionTable.h"
#include "output/ImageExport.h"
#include "render/NumberFormat.h"
#include "render/PainterCanvas.h"
#include "ui_LegendForm.h"

namespace corvane {
namespace {

// Failures of the window's commands when nobody else was named to report them.
class LegendMessageBoxes : public Notifier {
 public:
  explicit LegendMessageBoxes(QWidget* owner) : owner_(owner) {}
  void Warning(const std::string& text) override {
    QMessageBox::warning(owner_, QStringLiteral("Warning"), QString::fromStdString(text));
  }
  void Message(const std::string& text) override {
    QMessageBox::information(owner_, QStringLiteral("Corvane 2D"), QString::fromStdString(text));
  }

 private:
  QWidget* owner_;
};

// Everything one legend drawing needs, gathered from the window and the main window.
struct LegendRequest {
  int width = 80, height = 100;
  bool horizontal = false;
  NumberFormat format;
  FontSpec font;
  double lo = 0.0, hi = 1.0, step = 0.1;
  bool whiteBack = false;
  ColorMapKind colorMap = ColorMapKind::Rainbow;
};

// ---- Until the legend drawing of the contour subsystem is merged, the window draws the bar
// ---- itself through the canvas; the request above maps onto that drawing's options.
int HalfDown(int extent) { return extent / 2; }

int RoundPixel(double v) {
  if (!(v > -1e9)) return -1000000000;
  if (v > 1e9) return 1000000000;
  return static_cast<int>(std::nearbyint(v));
}

// Background, margin and the two end texts shared by both orientations.
struct LegendFrame {
  int m = 0;
  std::string tLo, tHi;
  Colour fore = kWhite;
};

LegendFrame BeginLegend(Canvas& canvas, const LegendRequest& r) {
  LegendFrame f;
  canvas.SetFont(r.font);
  f.m = RoundPixel(r.height * 0.05) + 1;
  const Colour back = r.whiteBack ? kWhite : kBlack;
  f.fore = r.whiteBack ? kBlack : kWhite;
  canvas.SetPen(back, 1);
  canvas.SetBrush(back, BrushStyle::Solid);
  canvas.Rectangle(0, 0, r.width, r.height);
  FontSpec font = r.font;
  font.colour = f.fore;
  canvas.SetFont(font);
  f.tLo = FormatAxisNumber(r.lo, r.format);
  f.tHi = FormatAxisNumber(r.hi, r.format);
  return f;
}

// A range the bar can be divided by: finite, rising, a positive step, a sane band count.
bool BarDrawable(const LegendRequest& r) {
  return std::isfinite(r.lo) && std::isfinite(r.hi) && std::isfinite(r.step) && r.hi > r.lo && r.step > 0 &&
         (r.hi - r.lo) / r.step < 1e6;
}

void Band(Canvas& canvas, const LegendRequest& r, double level, int x1, int y1, int x2, int y2) {
  Colour c = LevelColor(static_cast<float>(level), static_cast<float>(r.lo), static_cast<float>(r.hi), r.colorMap);
  canvas.SetPen(c, 1);
  canvas.SetBrush(c, BrushStyle::Solid);
  canvas.Rectangle(x1, y1, x2, y2);
}

void DrawHorizontalLegend(Canvas& canvas, const LegendRequest& r) {
  LegendFrame f = BeginLegend(canvas, r);
  const int m = f.m, W = r.width, H = r.height;
  const int th = canvas.TextHeight(f.tLo);
  canvas.TextOut(m, H - (th + m), f.tLo);
  canvas.TextOut(W - (canvas.TextWidth(f.tHi) + m), H - (th + m), f.tHi);
  const int x0 = HalfDown(canvas.TextWidth(f.tLo)) + m;
  const int x1 = W - (HalfDown(canvas.TextWidth(f.tHi)) + m);
  const int yB = H - (2 * m + th);
  if (BarDrawable(r)) {
    const double s = (x1 - x0) / (r.hi - r.lo);
    double n = std::ceil(r.lo / r.step);
    // Pass 1: the piece below the first level, in the colour of the level under it.
    int xs = RoundPixel((n * r.step - r.lo) * s) + x0;
    Band(canvas, r, (n - 1) * r.step, x0, m, xs, yB);
    // Pass 2: one band per level, the last cut at the bar's end.
    for (const double last = std::floor(r.hi / r.step); n <= last; n += 1) {
      const int xa = xs;
      xs = std::min(RoundPixel(((n + 1) * r.step - r.lo) * s) + x0, x1);
      // A band narrower than a pixel draws nothing; skipping it keeps fine steps fast.
      if (xs != xa) Band(canvas, r, n * r.step, xa, m, xs, yB);
    }
  }
  canvas.SetPen(f.fore, 1);
  const QPoint frame[] = {{x0, m}, {x0, yB}, {x1, yB}, {x1, m}, {x0, m}};
  canvas.Polyline(frame, 5);
}

void DrawVerticalLegend(Canvas& canvas, const LegendRequest& r) {
  LegendFrame f = BeginLegend(canvas, r);
  const int m = f.m, W = r.width, H = r.height;
  const int tw = std::max(canvas.TextWidth(f.tLo), canvas.TextWidth(f.tHi));
  const int th = canvas.TextHeight(f.tHi);
  canvas.TextOut(W - (tw + m), m, f.tHi);
  canvas.TextOut(W - (tw + m), H - (th + m), f.tLo);
  const int xR = W - (2 * m + tw);
  const int yT = HalfDown(th) + m, yB = H - (HalfDown(th) + m);
  if (BarDrawable(r)) {
    const double s = (yB - yT) / (r.hi - r.lo);
    double n = std::ceil(r.lo / r.step);
    // Pass 1: the piece below the first level; values grow upwards.
    int ys = yB - RoundPixel((n * r.step - r.lo) * s);
    Band(canvas, r, (n - 1) * r.step, m, yB, xR, ys);
    // Pass 2: one band per level, the last cut at the bar's top.
    for (const double last = std::floor(r.hi / r.step); n <= last; n += 1) {
      const int ya = ys;
      ys = std::max(yB - RoundPixel(((n + 1) * r.step - r.lo) * s), yT);
      if (ys != ya) Band(canvas, r, n * r.step, m, ya, xR, ys);
    }
  }
  canvas.SetPen(f.fore, 1);
  const QPoint frame[] = {{m, yB}, {xR, yB}, {xR, yT}, {m, yT}, {m, yB}};
  canvas.Polyline(frame, 5);
}

QPicture DrawLegendPicture(const LegendRequest& r) {
  QPicture picture;
  picture.setBoundingRect(QRect(0, 0, r.width, r.height));
  PainterCanvas canvas(&picture);
  if (r.horizontal) {
    DrawHorizontalLegend(canvas, r);
  } else {
    DrawVerticalLegend(canvas, r);
  }
  canvas.Finish();
  return picture;
}

// ---- end of the window's own legend drawing

// The bitmap of a legend picture: the picture played at (0, 0) into an image of its size.
QImage LegendBitmap(const QPicture& picture) {
  QRect box = picture.boundingRect();
  QImage image(std::max(1, box.width()), std::max(1, box.height()), QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter p(&image);
  p.drawPicture(0, 0, picture);
  p.end();
  return image;
}

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

TLegendForm::TLegendForm(QWidget* parent)
    : QWidget(parent, Qt::Window),
      ui(std::make_unique<Ui::TLegendForm>()),
      boxes_(std::make_unique<LegendMessageBoxes>(this)) {
  ui->setupUi(this);
  // The legend font starts as the window's own small Gothic face, 12 pixels high.
  QFont font(QStringLiteral("Noto Sans CJK JP"));
  font.setPixelSize(12);
  ui->example->setFont(font);
  ui->TateImage->setPixmap(OrientationPreview(false));
  ui->YokoImage->setPixmap(OrientationPreview(true));
  SetPreviewBackground(false);
  connect(ui->Button1, &QPushButton::clicked, this, &TLegendForm::Button1Click);
  connect(ui->Button2, &QPushButton::clicked, this, &TLegendForm::Button2Click);
  connect(ui->Button3, &QPushButton::clicked, this, &TLegendForm::Button3Click);
  // Toggled rather than clicked, so a change made from code moves the previews as a click does.
  connect(ui->LegendYoko, &QRadioButton::toggled, this, [this](bool on) { if (on) LegendYokoClick(); });
  connect(ui->LegendTate, &QRadioButton::toggled, this, [this](bool on) { if (on) LegendTateClick(); });
}

TLegendForm::~TLegendForm() = default;

void TLegendForm::SetSource(std::function<LegendSource()> source) { source_ = std::move(source); }

void TLegendForm::SetNotifier(Notifier* notifier) { notifier_ = notifier; }

void TLegendForm::SetPreviewBackground(bool white) {
  for (QWidget* panel : {static_cast<QWidget*>(ui->TatePanel), static_cast<QWidget*>(ui->YokoPanel)}) {
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, white ? Qt::white : Qt::black);
    panel->setPalette(palette);
  }
}

void TLegendForm::ShowOrRaise() {
  show();
  raise();
  activateWindow();
}

QPicture TLegendForm::BuildLegendPicture() const {
  LegendSource source = source_ ? source_() : LegendSource{};
  LegendRequest r;
  r.width = ui->LegendWidthBox->value();
  r.height = ui->LegendHeightBox->value();
  r.horizontal = ui->LegendYoko->isChecked();
  r.format.style = ui->ShowExpCheck->isChecked()   ? NumberStyle::Exponent
                   : ui->ShowFixCheck->isChecked() ? NumberStyle::Fixed
                                                   : NumberStyle::General;
  r.format.precision = ui->PrecisionBox->value();
  r.format.digits = ui->DigitsBox->value();
  QFont font = ui->example->font();
  r.font.face = font.family().toStdString();
  r.font.pixelHeight = QFontInfo(font).pixelSize();
  r.font.bold = font.bold();
  r.font.italic = font.italic();
  r.lo = ParseDoubleValue("MinBox", source.MinBox);
  r.hi = ParseDoubleValue("MaxBox", source.MaxBox);
  r.step = ParseDoubleValue("StepBox", source.StepBox);
  r.whiteBack = source.WhiteBack;
  r.colorMap = source.colorMap;
  return DrawLegendPicture(r);
}

bool TLegendForm::SaveLegend(const QString& path) {
  QPicture picture = BuildLegendPicture();
  return SavePictureByExtension(path, picture, LegendBitmap(picture), Notify());
}

Notifier& TLegendForm::Notify() { return notifier_ ? *notifier_ : *boxes_; }

void TLegendForm::Report(const std::exception& e) { Notify().Warning(e.what()); }

void TLegendForm::Button1Click() {
  try {
    QImage bitmap = LegendBitmap(BuildLegendPicture());
    ui->LegendSample->setPixmap(QPixmap::fromImage(bitmap));
    ui->LegendSample->resize(bitmap.size());
  } catch (const std::exception& e) {
    Report(e);
  }
}

void TLegendForm::Button2Click() {
  try {
    // Built before the dialog, so a range that is no number is reported without asking first.
    BuildLegendPicture();
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({QStringLiteral("ビットマップ(*.bmp)"), QStringLiteral("エンハンストメタファイル(*.emf)"),
                           QStringLiteral("JPEGイメージ(*.jpg)"), QStringLiteral("PNGイメージ(*.png)")});
    dialog.setDefaultSuffix(QStringLiteral("bmp"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    SaveLegend(dialog.selectedFiles().front());
  } catch (const std::exception& e) {
    Report(e);
  }
}

void TLegendForm::Button3Click() {
  bool ok = false;
  QFont font = QFontDialog::getFont(&ok, ui->example->font(), this);
  if (!ok) return;
  // Pixel heights keep the legend's text the same size on every output device.
  font.setPixelSize(QFontInfo(font).pixelSize());
  ui->example->setFont(font);
}

void TLegendForm::LegendYokoClick() {
  ui->YokoPanel->show();
  ui->TatePanel->hide();
}

void TLegendForm::LegendTateClick() {
  ui->TatePanel->show();
  ui->YokoPanel->hide();
}

}  // namespace corvane
