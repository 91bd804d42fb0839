// The drawing surface every layer draws on. PainterCanvas implements it over QPainter (bitmap,
// scene picture, EMF); tests use a canvas that logs calls. Coordinates are integer pixels, origin
// top left, y downwards.
#pragma once
#include <QPoint>
#include <string>

#include "render/Colour.h"

class QImage;
class QPicture;

namespace corvane {

enum class BrushStyle { Solid, Hollow };

struct FontSpec {
  std::string face = "Arial";
  int pixelHeight = 16;
  Colour colour = kBlack;
  int angleTenths = 0;  // counter-clockwise, 900 reads from bottom to top
  bool bold = false;
  bool italic = false;
  bool operator==(const FontSpec&) const = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual void SetPen(Colour colour, int width) = 0;
  virtual Colour PenColour() const = 0;
  virtual int PenWidth() const = 0;
  virtual void SetBrush(Colour colour, BrushStyle style) = 0;
  virtual void SetBrushStyle(BrushStyle style) = 0;
  virtual Colour BrushColour() const = 0;
  virtual BrushStyle CurrentBrushStyle() const = 0;
  virtual void SetFont(const FontSpec& font) = 0;
  virtual const FontSpec& Font() const = 0;

  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  // MoveTo the first point, LineTo each further one; one call for a long line saves time.
  virtual void Polyline(const QPoint* points, int count) = 0;
  virtual void Polygon(const QPoint* points, int count) = 0;
  virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
  virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
  // Text with its box's top-left corner at (x, y); a solid brush fills the box first.
  virtual void TextOut(int x, int y, const std::string& text) = 0;
  virtual int TextWidth(const std::string& text) = 0;
  virtual int TextHeight(const std::string& text) = 0;
  // A bitmap or a vector picture at its own size with its top-left corner at (x, y).
  virtual void Draw(const QImage& image, int x, int y) = 0;
  virtual void Draw(const QPicture& picture, int x, int y) = 0;
};

}  // namespace corvane
