// A filled rectangle showing one colour (the line, streamline and segment colour swatches).
#pragma once
#include <QFrame>

#include "render/Colour.h"

namespace corvane {

class ColourSwatchWidget : public QFrame {
  Q_OBJECT

 public:
  explicit ColourSwatchWidget(Colour colour, QWidget* parent = nullptr);
  Colour BrushColour() const { return colour_; }
  void SetBrushColour(Colour colour);
  QSize sizeHint() const override { return QSize(40, 20); }

 signals:
  void Changed();  // the colour was set (by code or by a dialog)

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Colour colour_;
};

}  // namespace corvane
