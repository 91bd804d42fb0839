// Small helpers the main window's tabs share: controls made with their control name, colour
// conversions, the pending-edit colour and the colour-map pictures.
#pragma once
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <string>

#include "contour/ColourMap.h"
#include "render/Canvas.h"
#include "render/Colour.h"

namespace corvane {

class ColourSwatchWidget;

// Gives `w` its control name.
template <class W>
W* Named(W* w, const char* name) {
  w->setObjectName(QString::fromLatin1(name));
  return w;
}

// Controls of options are made without a value: they show the state once built (OptionControls).
QLabel* MakeLabel(QWidget* p, const char* name, const QString& text);
QCheckBox* MakeCheck(QWidget* p, const char* name, const QString& text, bool checked = false);
QRadioButton* MakeRadio(QWidget* p, const char* name, const QString& text, bool checked = false);
QSpinBox* MakeSpin(QWidget* p, const char* name, int lo, int hi, int value = 0);
QLineEdit* MakeEdit(QWidget* p, const char* name, const QString& text = QString());
QSlider* MakeTrack(QWidget* p, const char* name, int lo, int hi, int value = 0);
QGroupBox* MakeGroup(QWidget* p, const char* name, const QString& title);
QPushButton* MakeButton(QWidget* p, const char* name, const QString& text);
QComboBox* MakeCombo(QWidget* p, const char* name);

inline QString Q(const std::string& s) { return QString::fromStdString(s); }
inline QColor ToQColor(Colour c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }
inline Colour FromQColor(const QColor& c) { return MakeColour(c.red(), c.green(), c.blue()); }

// Noto CJK behind the default face, so Japanese captions render whatever the default font is.
void EnsureJapaneseFont();

// A small picture of one colour map, left (minimum) to right (maximum).
QPixmap ColourMapSwatch(ColourMapKind kind);

// The colour dialog for a swatch; the swatch takes the chosen colour.
void PickSwatchColour(ColourSwatchWidget* swatch, QWidget* parent);

// A font chosen in the font dialog as the canvas takes fonts (black).
FontSpec FontOfQFont(const QFont& font);
// Shows `font` (face, pixel height, style, colour) in `label`.
void ShowFontInLabel(QLabel* label, const FontSpec& font);

// Text colour of a pending (blue) or applied (black) edit box.
void SetPendingEdit(QLineEdit* box, bool pending);
bool IsPendingEdit(const QLineEdit* box);

}  // namespace corvane
