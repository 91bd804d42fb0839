#include "render/SubpixelCanvas.h"

#include <QRect>
#include <cmath>

#include "render/Supersample.h"

namespace corvane {

ViewTransform FineView(const ViewTransform& view, int units) { return SupersampledView(view, units); }

QRect FineArea(const QRect& area, int units) {
  if (area.isNull()) return area;
  return QRect(QPoint(area.left() * units, area.top() * units), QPoint(area.right() * units, area.bottom() * units));
}

// A fine coordinate to the nearest whole pixel (halves away from zero).
int SubpixelCanvas::Coarse(int v) const { return static_cast<int>(std::lround(static_cast<double>(v) / units_)); }

void SubpixelCanvas::Flush() {
  if (run_.size() >= 2) target_.PolylineF(run_.data(), static_cast<int>(run_.size()));
  run_.clear();
}

void SubpixelCanvas::SetPen(Colour colour, int width) {
  if ((colour & 0xFFFFFF) == target_.PenColour() && width == target_.PenWidth()) return;
  Flush();
  target_.SetPen(colour, width);
}

void SubpixelCanvas::SetBrush(Colour colour, BrushStyle style) {
  if ((colour & 0xFFFFFF) == target_.BrushColour() && style == target_.CurrentBrushStyle()) return;
  Flush();
  target_.SetBrush(colour, style);
}

void SubpixelCanvas::SetFont(const FontSpec& font) {
  if (font == target_.Font()) return;
  Flush();
  target_.SetFont(font);
}

void SubpixelCanvas::MoveTo(int x, int y) {
  const QPoint p(x, y);
  // A move to where the line stands continues the polyline.
  if (!run_.empty() && p == runEnd_) {
    position_ = p;
    return;
  }
  Flush();
  position_ = p;
}

void SubpixelCanvas::LineTo(int x, int y) {
  if (run_.empty()) run_.push_back(Fine(position_.x(), position_.y()));
  position_ = runEnd_ = QPoint(x, y);
  run_.push_back(Fine(x, y));
}

void SubpixelCanvas::Polyline(const QPoint* points, int count) {
  if (count <= 0) return;
  if (run_.empty() || points[0] != runEnd_) {
    Flush();
    run_.push_back(Fine(points[0].x(), points[0].y()));
  }
  for (int i = 1; i < count; ++i) run_.push_back(Fine(points[i].x(), points[i].y()));
  position_ = runEnd_ = points[count - 1];
  if (count == 1) Flush();
}

void SubpixelCanvas::Polygon(const QPoint* points, int count) {
  Flush();
  if (count <= 0) return;
  std::vector<QPointF> fine(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) fine[static_cast<std::size_t>(i)] = Fine(points[i].x(), points[i].y());
  target_.PolygonF(fine.data(), count);
}

void SubpixelCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Flush();
  target_.Rectangle(Coarse(x1), Coarse(y1), Coarse(x2), Coarse(y2));
}

void SubpixelCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  Flush();
  target_.Ellipse(Coarse(x1), Coarse(y1), Coarse(x2), Coarse(y2));
}

void SubpixelCanvas::TextOut(int x, int y, const std::string& text) {
  Flush();
  target_.TextOut(Coarse(x), Coarse(y), text);
}

void SubpixelCanvas::Draw(const QImage& image, int x, int y) {
  Flush();
  target_.Draw(image, Coarse(x), Coarse(y));
}

void SubpixelCanvas::Draw(const QPicture& picture, int x, int y) {
  Flush();
  target_.Draw(picture, Coarse(x), Coarse(y));
}

}  // namespace corvane
