#include "render/ClipArea.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace corvane {
namespace {

// Nearest pixel inside the area of a cut end point.
QPoint Inside(const QRect& area, double x, double y) {
  const double px = std::clamp(std::nearbyint(x), static_cast<double>(area.left()), static_cast<double>(area.right()));
  const double py = std::clamp(std::nearbyint(y), static_cast<double>(area.top()), static_cast<double>(area.bottom()));
  return QPoint(static_cast<int>(px), static_cast<int>(py));
}

}  // namespace

bool ClipSegment(const QRect& area, double& x0, double& y0, double& x1, double& y1) {
  double t0 = 0.0, t1 = 1.0;
  const double dx = x1 - x0, dy = y1 - y0;
  // Liang-Barsky: each side narrows the part of the segment that lies on its inner side.
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - area.left(), area.right() - x0, y0 - area.top(), area.bottom() - y0};
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0.0) {
      if (q[k] < 0.0) return false;
      continue;
    }
    const double r = q[k] / p[k];
    if (p[k] < 0.0) t0 = std::max(t0, r);
    else t1 = std::min(t1, r);
  }
  if (!(t0 <= t1)) return false;
  const double ax = x0 + t0 * dx, ay = y0 + t0 * dy, bx = x0 + t1 * dx, by = y0 + t1 * dy;
  x0 = ax;
  y0 = ay;
  x1 = bx;
  y1 = by;
  return true;
}

std::vector<QPoint> ClipPolygon(const QRect& area, const QPoint* points, int count) {
  std::vector<QPointF> poly;
  for (int k = 0; k < count; ++k) poly.emplace_back(points[k]);
  // One side at a time: keep what lies on its inner side, adding the crossings.
  auto cut = [&](auto inside, auto cross) {
    std::vector<QPointF> out;
    for (std::size_t k = 0; k < poly.size(); ++k) {
      const QPointF a = poly[k], b = poly[(k + 1) % poly.size()];
      const bool ia = inside(a), ib = inside(b);
      if (ia) out.push_back(a);
      if (ia != ib) out.push_back(cross(a, b));
    }
    poly.swap(out);
  };
  const double l = area.left(), r = area.right(), t = area.top(), b = area.bottom();
  auto atX = [](QPointF a, QPointF c, double x) { return QPointF(x, a.y() + (c.y() - a.y()) * (x - a.x()) / (c.x() - a.x())); };
  auto atY = [](QPointF a, QPointF c, double y) { return QPointF(a.x() + (c.x() - a.x()) * (y - a.y()) / (c.y() - a.y()), y); };
  cut([&](QPointF p) { return p.x() >= l; }, [&](QPointF a, QPointF c) { return atX(a, c, l); });
  cut([&](QPointF p) { return p.x() <= r; }, [&](QPointF a, QPointF c) { return atX(a, c, r); });
  cut([&](QPointF p) { return p.y() >= t; }, [&](QPointF a, QPointF c) { return atY(a, c, t); });
  cut([&](QPointF p) { return p.y() <= b; }, [&](QPointF a, QPointF c) { return atY(a, c, b); });
  std::vector<QPoint> result;
  for (const QPointF& p : poly) result.push_back(Inside(area, p.x(), p.y()));
  return result;
}

void ClippedPen::MoveTo(int x, int y) {
  current_ = QPoint(x, y);
  if (area_.isNull()) canvas_.MoveTo(x, y);
  penThere_ = area_.isNull();
}

void ClippedPen::LineTo(int x, int y) {
  const QPoint from = current_, to(x, y);
  current_ = to;
  if (area_.isNull()) {
    canvas_.LineTo(x, y);
    return;
  }
  if (area_.contains(from) && area_.contains(to)) {
    if (!penThere_) canvas_.MoveTo(from.x(), from.y());
    canvas_.LineTo(to.x(), to.y());
    penThere_ = true;
    return;
  }
  double x0 = from.x(), y0 = from.y(), x1 = to.x(), y1 = to.y();
  if (!ClipSegment(area_, x0, y0, x1, y1)) {
    penThere_ = false;
    return;
  }
  const QPoint a = Inside(area_, x0, y0), b = Inside(area_, x1, y1);
  if (!penThere_ || a != from) canvas_.MoveTo(a.x(), a.y());
  canvas_.LineTo(b.x(), b.y());
  // The pen stands where the piece ended; at `to` only when the piece was not cut there.
  penThere_ = b == to;
}

void ClippedPen::Polygon(const QPoint* points, int count) {
  bool inside = true;
  for (int k = 0; k < count && inside; ++k) inside = area_.contains(points[k]);
  if (area_.isNull() || inside) {
    canvas_.Polygon(points, count);
    return;
  }
  const std::vector<QPoint> cut = ClipPolygon(area_, points, count);
  if (cut.size() >= 3) canvas_.Polygon(cut.data(), static_cast<int>(cut.size()));
}

void ClippedPen::Ellipse(int x1, int y1, int x2, int y2) {
  if (area_.isNull() || (area_.contains(x1, y1) && area_.contains(x2, y2))) {
    canvas_.Ellipse(x1, y1, x2, y2);
    return;
  }
  // Sixteen sides are a circle at the sizes the layers draw (end marks of a few pixels).
  constexpr int kSides = 16;
  QPoint ring[kSides];
  const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0, rx = (x2 - x1) / 2.0, ry = (y2 - y1) / 2.0;
  for (int k = 0; k < kSides; ++k) {
    const double a = 2.0 * std::numbers::pi * k / kSides;
    ring[k] = QPoint(static_cast<int>(std::nearbyint(cx + rx * std::cos(a))), static_cast<int>(std::nearbyint(cy + ry * std::sin(a))));
  }
  Polygon(ring, kSides);
}

}  // namespace corvane
