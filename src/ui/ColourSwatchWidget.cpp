#include "ui/ColourSwatchWidget.h"

#include <QPainter>

namespace corvane {

ColourSwatchWidget::ColourSwatchWidget(Colour colour, QWidget* parent) : QFrame(parent), colour_(colour) {
  setMinimumSize(24, 16);
}

// Changes the colour and repaints.
void ColourSwatchWidget::SetBrushColour(Colour colour) {
  colour_ = colour & 0xFFFFFFu;
  update();
  emit Changed();
}

// A black outline around the fill, like a shape control.
void ColourSwatchWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(Qt::black);
  p.setBrush(QColor(RedOf(colour_), GreenOf(colour_), BlueOf(colour_)));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace corvane
