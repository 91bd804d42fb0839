// The canvas of layers drawn through a view `units` times finer than the picture, for vector
// pictures: their integer coordinates count 1/units of a pixel, and they reach the painter as
// fractions of a pixel, so a PDF, SVG or EMF keeps every line between pixels where it lies.
// Segments that meet end to start are chained into one polyline. Text keeps the picture's own
// font and lands on the nearest pixel; text measures come back in the fine units, so layers
// lay out labels at the fine scale as they would at the coarse one.
#pragma once
#include <QPointF>
#include <vector>

#include "render/PainterCanvas.h"
#include "render/ViewTransform.h"

class QRect;

namespace corvane {

// How many coordinate units a pixel has in the vector pictures of a smooth drawing.
constexpr int kSubpixelUnits = 32;

class SubpixelCanvas : public Canvas {
 public:
  SubpixelCanvas(PainterCanvas& target, int units) : target_(target), units_(units > 0 ? units : 1) {}
  ~SubpixelCanvas() override { Flush(); }
  SubpixelCanvas(const SubpixelCanvas&) = delete;
  SubpixelCanvas& operator=(const SubpixelCanvas&) = delete;

  // Sends the polyline still being gathered to the target canvas.
  void Flush();

  void SetPen(Colour colour, int width) override;
  Colour PenColour() const override { return target_.PenColour(); }
  int PenWidth() const override { return target_.PenWidth(); }
  void SetBrush(Colour colour, BrushStyle style) override;
  void SetBrushStyle(BrushStyle style) override { SetBrush(BrushColour(), style); }
  Colour BrushColour() const override { return target_.BrushColour(); }
  BrushStyle CurrentBrushStyle() const override { return target_.CurrentBrushStyle(); }
  void SetFont(const FontSpec& font) override;
  const FontSpec& Font() const override { return target_.Font(); }

  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Polyline(const QPoint* points, int count) override;
  void Polygon(const QPoint* points, int count) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void TextOut(int x, int y, const std::string& text) override;
  int TextWidth(const std::string& text) override { return target_.TextWidth(text) * units_; }
  int TextHeight(const std::string& text) override { return target_.TextHeight(text) * units_; }
  void Draw(const QImage& image, int x, int y) override;
  void Draw(const QPicture& picture, int x, int y) override;

 private:
  QPointF Fine(int x, int y) const { return QPointF(static_cast<double>(x) / units_, static_cast<double>(y) / units_); }
  int Coarse(int v) const;

  PainterCanvas& target_;
  int units_;
  QPoint position_;             // in fine units
  std::vector<QPointF> run_;    // the polyline being gathered, in pixels
  QPoint runEnd_;               // its last point in fine units
};

// The view `units` times finer than `view` and an area of `view`'s pixels in its units.
ViewTransform FineView(const ViewTransform& view, int units);
QRect FineArea(const QRect& area, int units);

}  // namespace corvane
