// Band polygons merged into one outline per band: a canvas that takes the fill's polygons, one
// per band and triangle, and writes each band as a single path whose sub-paths are the outer
// edges and the holes of its connected regions. Edges two neighbouring polygons share cancel
// (they run both ways); what stays is chained into closed loops, outer ones one way round and
// holes the other, so the non-zero fill rule paints exactly what the polygons covered.
#pragma once
#include <QPainter>
#include <map>
#include <vector>

#include "render/Canvas.h"

namespace corvane {

class BandMergingCanvas : public Canvas {
 public:
  void SetPen(Colour colour, int width) override { pen_ = colour, penWidth_ = width; }
  Colour PenColour() const override { return pen_; }
  int PenWidth() const override { return penWidth_; }
  void SetBrush(Colour colour, BrushStyle style) override { brush_ = colour, brushStyle_ = style; }
  void SetBrushStyle(BrushStyle style) override { brushStyle_ = style; }
  Colour BrushColour() const override { return brush_; }
  BrushStyle CurrentBrushStyle() const override { return brushStyle_; }
  void SetFont(const FontSpec& font) override { font_ = font; }
  const FontSpec& Font() const override { return font_; }
  // Only polygons make bands; nothing else is drawn on this canvas.
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void Polyline(const QPoint*, int) override {}
  void Polygon(const QPoint* points, int count) override;
  void Rectangle(int, int, int, int) override {}
  void Ellipse(int, int, int, int) override {}
  void TextOut(int, int, const std::string&) override {}
  int TextWidth(const std::string&) override { return 0; }
  int TextHeight(const std::string&) override { return 0; }
  void Draw(const QImage&, int, int) override {}
  void Draw(const QPicture&, int, int) override {}

  // Each band as one path, filled and outlined in its colour, in the order the bands first came.
  void WriteTo(QPainter& painter) const;
  // The merged outlines of every band: closed loops of points (for tests and measurements).
  std::vector<std::pair<Colour, std::vector<std::vector<QPoint>>>> Loops() const;

 private:
  struct Band {
    int penWidth = 1;
    std::vector<std::pair<QPoint, QPoint>> edges;  // directed, each polygon counter-clockwise on screen
  };
  Colour pen_ = kBlack, brush_ = kBlack;
  int penWidth_ = 1;
  BrushStyle brushStyle_ = BrushStyle::Solid;
  FontSpec font_;
  std::vector<Colour> order_;
  std::map<Colour, Band> bands_;
};

}  // namespace corvane
