#include "ui/ControlFactory.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontInfo>
#include <QImage>
#include <algorithm>

#include "ui/ColourSwatchWidget.h"

namespace corvane {
namespace {
const QColor kPendingBlue(0, 0, 255);
}  // namespace

QLabel* MakeLabel(QWidget* p, const char* name, const QString& text) { return Named(new QLabel(text, p), name); }

QCheckBox* MakeCheck(QWidget* p, const char* name, const QString& text, bool checked) {
  auto* c = Named(new QCheckBox(text, p), name);
  c->setChecked(checked);
  return c;
}

QRadioButton* MakeRadio(QWidget* p, const char* name, const QString& text, bool checked) {
  auto* r = Named(new QRadioButton(text, p), name);
  r->setChecked(checked);
  return r;
}

QSpinBox* MakeSpin(QWidget* p, const char* name, int lo, int hi, int value) {
  auto* s = Named(new QSpinBox(p), name);
  s->setRange(lo, hi);
  s->setValue(value);
  return s;
}

QLineEdit* MakeEdit(QWidget* p, const char* name, const QString& text) { return Named(new QLineEdit(text, p), name); }

QSlider* MakeTrack(QWidget* p, const char* name, int lo, int hi, int value) {
  auto* s = Named(new QSlider(Qt::Horizontal, p), name);
  s->setRange(lo, hi);
  s->setValue(value);
  s->setTickPosition(QSlider::TicksBelow);
  return s;
}

QGroupBox* MakeGroup(QWidget* p, const char* name, const QString& title) { return Named(new QGroupBox(title, p), name); }

QPushButton* MakeButton(QWidget* p, const char* name, const QString& text) {
  return Named(new QPushButton(text, p), name);
}

QComboBox* MakeCombo(QWidget* p, const char* name) { return Named(new QComboBox(p), name); }

void EnsureJapaneseFont() {
  QFont f = QApplication::font();
  QStringList families = f.families();
  if (families.isEmpty()) families << f.family();
  if (!families.contains(QStringLiteral("Noto Sans CJK JP"))) {
    families << QStringLiteral("Noto Sans CJK JP");
    f.setFamilies(families);
    QApplication::setFont(f);
  }
}

QPixmap ColourMapSwatch(ColourMapKind kind) {
  QImage img(96, 14, QImage::Format_RGB32);
  for (int x = 0; x < img.width(); ++x) {
    Colour c = LevelColour(static_cast<float>(x), 0.0f, static_cast<float>(img.width() - 1), kind);
    for (int y = 0; y < img.height(); ++y) img.setPixelColor(x, y, ToQColor(c));
  }
  return QPixmap::fromImage(img);
}

void PickSwatchColour(ColourSwatchWidget* swatch, QWidget* parent) {
  QColor c = QColorDialog::getColor(ToQColor(swatch->BrushColour()), parent);
  if (c.isValid()) swatch->SetBrushColour(FromQColor(c));
}

FontSpec FontOfQFont(const QFont& f) {
  FontSpec font;
  font.face = f.family().toStdString();
  font.pixelHeight = f.pixelSize() > 0 ? f.pixelSize() : QFontInfo(f).pixelSize();
  font.bold = f.bold();
  font.italic = f.italic();
  return font;
}

void ShowFontInLabel(QLabel* label, const FontSpec& font) {
  QFont f(QString::fromStdString(font.face));
  f.setPixelSize(std::max(font.pixelHeight, 1));
  f.setBold(font.bold);
  f.setItalic(font.italic);
  label->setFont(f);
  QPalette p = label->palette();
  p.setColor(QPalette::WindowText, ToQColor(font.colour));
  label->setPalette(p);
}

void SetPendingEdit(QLineEdit* box, bool pending) {
  QPalette p = box->palette();
  p.setColor(QPalette::Text, pending ? kPendingBlue : QColor(Qt::black));
  box->setPalette(p);
}

bool IsPendingEdit(const QLineEdit* box) { return box->palette().color(QPalette::Text) == kPendingBlue; }

}  // namespace corvane
