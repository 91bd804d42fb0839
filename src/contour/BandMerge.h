// Band polygons merged into outlines: a canvas that takes the fill's polygons, one per band and
// triangle, and writes each connected region of a band in a zone as a single path whose
// sub-paths are its outer edge and its holes. Edges two neighbouring polygons share cancel
// (they run both ways); what stays is chained into closed loops, outer ones one way round and
// holes the other, so the non-zero fill rule paints exactly what the polygons covered. Each
// hole goes with the smallest outer loop around it.
#pragma once
#include <QPainter>
#include <QRect>
#include <map>
#include <vector>

#include "render/Canvas.h"

namespace corvane {

// One connected region of a band: its outer loop first, then its holes.
struct MergedRegion {
  Colour colour = kBlack;
  std::vector<std::vector<QPoint>> loops;
};

class BandMergingCanvas : public Canvas {
 public:
  // Polygons from here on belong to a new group (a zone of one copy): regions never join
  // across groups.
  void NewGroup() { groups_.emplace_back(); }

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

  // Each region as one path, filled and outlined in its colour: group by group, and in a group
  // band by band in the order the bands first came. Coordinates are multiplied by `scale`
  // (a picture drawn in finer units than pixels writes its regions in pixels).
  void WriteTo(QPainter& painter, double scale = 1.0) const;
  // The merged regions, in the order they are written (for tests and measurements).
  std::vector<MergedRegion> Regions() const;

 private:
  struct Band {
    std::vector<std::pair<QPoint, QPoint>> edges;  // directed, each polygon counter-clockwise on screen
  };
  struct Group {
    std::vector<Colour> order;
    std::map<Colour, Band> bands;
  };
  Colour pen_ = kBlack, brush_ = kBlack;
  int penWidth_ = 1;
  BrushStyle brushStyle_ = BrushStyle::Solid;
  FontSpec font_;
  std::vector<Group> groups_;
  std::map<Colour, int> penWidths_;
};

}  // namespace corvane
