#include "contour/LegendForm.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontInfo>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <cmath>

#include "data/Errors.h"
#include "data/OptionTable.h"
#include "render/NumberFormat.h"
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
  QFont font;
  double lo = 0.0, hi = 1.0, step = 0.1;
  bool whiteBack = false;
  ColorMapKind colorMap = ColorMapKind::Rainbow;
};

// ---- Stand-in drawing until the legend drawing of the contour subsystem is merged: the
// ---- request above maps onto its options, and these three functions go away.
QString StandInNumberText(double v, const NumberFormat& f) {
  switch (f.style) {
    case NumberStyle::Exponent: return QString::number(v, 'E', std::max(0, f.precision - 1));
    case NumberStyle::Fixed: return QString::number(v, 'f', f.digits);
    case NumberStyle::General: break;
  }
  return QString::number(v, 'g', f.precision);
}

QColor StandInLevelColor(double v, double lo, double hi, ColorMapKind kind) {
  double t = hi > lo ? std::clamp((v - lo) / (hi - lo), 0.0, 1.0) : 0.0;
  if (kind == ColorMapKind::Gray1 || kind == ColorMapKind::Gray2) return QColor::fromRgbF(t, t, t);
  return QColor::fromHsvF(std::clamp((1.0 - t) * 240.0 / 360.0, 0.0, 1.0), 1.0, 1.0);
}

QPicture StandInBuildLegend(const LegendRequest& r) {
  QPicture picture;
  picture.setBoundingRect(QRect(0, 0, r.width, r.height));
  QPainter p(&picture);
  p.setFont(r.font);
  const QColor back = r.whiteBack ? Qt::white : Qt::black;
  const QColor fore = r.whiteBack ? Qt::black : Qt::white;
  p.fillRect(0, 0, r.width, r.height, back);
  const int m = static_cast<int>(std::nearbyint(r.height * 0.05)) + 1;
  const QString tLo = StandInNumberText(r.lo, r.format), tHi = StandInNumberText(r.hi, r.format);
  QFontMetrics fm(r.font);
  const int th = fm.height();
  p.setPen(fore);
  auto band = [&](int x1, int y1, int x2, int y2, double level) {
    p.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized(), StandInLevelColor(level, r.lo, r.hi, r.colorMap));
  };
  const bool bar = r.hi > r.lo && r.step > 0 && std::isfinite(r.lo) && std::isfinite(r.hi) &&
                   (r.hi - r.lo) / r.step < 100000;
  if (r.horizontal) {
    p.drawText(m, r.height - (th + m) + fm.ascent(), tLo);
    p.drawText(r.width - (fm.horizontalAdvance(tHi) + m), r.height - (th + m) + fm.ascent(), tHi);
    int x0 = fm.horizontalAdvance(tLo) / 2 + m, x1 = r.width - (fm.horizontalAdvance(tHi) / 2 + m);
    int yB = r.height - (2 * m + th);
    if (bar) {
      double s = (x1 - x0) / (r.hi - r.lo);
      double n = std::ceil(r.lo / r.step);
      int xs = static_cast<int>(std::nearbyint((n * r.step - r.lo) * s)) + x0;
      band(x0, m, xs, yB, (n - 1) * r.step);
      for (; n <= std::floor(r.hi / r.step); n += 1) {
        int xa = xs;
        xs = std::min(static_cast<int>(std::nearbyint(((n + 1) * r.step - r.lo) * s)) + x0, x1);
        band(xa, m, xs, yB, n * r.step);
      }
    }
    p.setPen(fore);
    p.drawPolyline(QPolygon({QPoint(x0, m), QPoint(x0, yB), QPoint(x1, yB), QPoint(x1, m), QPoint(x0, m)}));
  } else {
    int tw = std::max(fm.horizontalAdvance(tLo), fm.horizontalAdvance(tHi));
    p.drawText(r.width - (tw + m), m + fm.ascent(), tHi);
    p.drawText(r.width - (tw + m), r.height - (th + m) + fm.ascent(), tLo);
    int xR = r.width - (2 * m + tw), yT = th / 2 + m, yB = r.height - (th / 2 + m);
    if (bar) {
      double s = (yB - yT) / (r.hi - r.lo);
      double n = std::ceil(r.lo / r.step);
      int ys = yB - static_cast<int>(std::nearbyint((n * r.step - r.lo) * s));
      band(m, yB, xR, ys, (n - 1) * r.step);
      for (; n <= std::floor(r.hi / r.step); n += 1) {
        int ya = ys;
        ys = std::max(yB - static_cast<int>(std::nearbyint(((n + 1) * r.step - r.lo) * s)), yT);
        band(m, ya, xR, ys, n * r.step);
      }
    }
    p.setPen(fore);
    p.drawPolyline(QPolygon({QPoint(m, yB), QPoint(xR, yB), QPoint(xR, yT), QPoint(m, yT), QPoint(m, yB)}));
  }
  p.end();
  return picture;
}

void StandInSavePicture(const QString& path, const QString& upperExtension, const QPicture& picture,
                        const QImage& bitmap) {
  (void)picture;
  bool ok = false;
  if (upperExtension == QLatin1String(".EMF")) {
    throw CorvaneError("EMF の書き出しはまだ組み込まれていません: " + path.toStdString());
  } else if (upperExtension == QLatin1String(".BMP")) {
    ok = bitmap.save(path, "BMP");
  } else if (upperExtension == QLatin1String(".JPG")) {
    ok = bitmap.save(path, "JPG", 90);
  } else if (upperExtension == QLatin1String(".PNG")) {
    ok = bitmap.save(path, "PNG");
  }
  if (!ok) throw CorvaneError("画像ファイルを書き込めません: " + path.toStdString());
}
// ---- end of the stand-in

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

TLegendForm::TLegendForm(QWidget* parent) : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::TLegendForm>()) {
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
  r.font = ui->example->font();
  r.lo = ParseDoubleValue("MinBox", source.MinBox);
  r.hi = ParseDoubleValue("MaxBox", source.MaxBox);
  r.step = ParseDoubleValue("StepBox", source.StepBox);
  r.whiteBack = source.WhiteBack;
  r.colorMap = source.colorMap;
  return StandInBuildLegend(r);
}

bool TLegendForm::SaveLegend(const QString& path) const {
  QPicture picture = BuildLegendPicture();
  QString name = QFileInfo(path).fileName();
  int dot = name.lastIndexOf(QLatin1Char('.'));
  QString extension = dot < 0 ? QString() : name.mid(dot).toUpper();
  if (extension != QLatin1String(".EMF") && extension != QLatin1String(".BMP") &&
      extension != QLatin1String(".JPG") && extension != QLatin1String(".PNG"))
    return false;
  StandInSavePicture(path, extension, picture, extension == QLatin1String(".EMF") ? QImage() : LegendBitmap(picture));
  return true;
}

void TLegendForm::Report(const std::exception& e) {
  if (notifier_) {
    notifier_->Warning(e.what());
  } else {
    LegendMessageBoxes boxes(this);
    boxes.Warning(e.what());
  }
}

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
