// Lines and polygons cut to a rectangle of the picture: with the axes shown, the layers drawn
// after them (streamlines, the segment) and the vectors keep inside the plot area and off the
// axis numbers. Done in the geometry rather than with a clip of the painter, so every picture
// format (bitmap, EMF, PDF, SVG) shows the same cut.
#pragma once
#include <QPoint>
#include <QRect>
#include <vector>

#include "render/Canvas.h"

namespace corvane {

// Cuts the segment (x0, y0)-(x1, y1) to `area` (pixels, inclusive); false when nothing of it
// lies inside.
bool ClipSegment(const QRect& area, double& x0, double& y0, double& x1, double& y1);

// The polygon cut to `area` (Sutherland-Hodgman; the band and arrow polygons are convex).
std::vector<QPoint> ClipPolygon(const QRect& area, const QPoint* points, int count);

// MoveTo and LineTo through a rectangle: pieces inside are drawn as they are, pieces crossing
// its border are cut at it, pieces outside are left out. A null area cuts nothing and passes
// every call straight on.
class ClippedPen {
 public:
  ClippedPen(Canvas& canvas, const QRect& area) : canvas_(canvas), area_(area) {}
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  // A filled polygon in the canvas's pen and brush, cut to the area.
  void Polygon(const QPoint* points, int count);
  // The ellipse in the box; one reaching over the area's border is drawn as a cut polygon.
  void Ellipse(int x1, int y1, int x2, int y2);

 private:
  Canvas& canvas_;
  QRect area_;
  QPoint current_;
  bool penThere_ = false;  // the canvas pen stands at current_
};

}  // namespace corvane
