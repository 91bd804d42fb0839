// The orthographic box and its navigation, and the frame's lists of vertices, colours and batches.
#include "opengl/OpenGLGeometry.h"

#include <algorithm>
#include <cmath>

namespace corvane {
namespace {

// Twice the signed area of a triangle, for dropping triangles that cover no pixel.
double Area2(GlPoint a, GlPoint b, GlPoint c) {
  return (static_cast<double>(b.x) - a.x) * (static_cast<double>(c.y) - a.y) -
         (static_cast<double>(c.x) - a.x) * (static_cast<double>(b.y) - a.y);
}

}  // namespace

// ---- box ----

// True when glOrtho could not take the box.
bool OrthoBox::Degenerate() const {
  return !(right != left && top != bottom && std::isfinite(left) && std::isfinite(right) && std::isfinite(bottom) &&
           std::isfinite(top));
}

// The box showing the extent at one scale for x and y, centred, with no margin.
OrthoBox FitOrthoBox(double xmax, double ymax, double xmin, double ymin, int width, int height) {
  const double w = std::max(width, 1), h = std::max(height, 1);
  OrthoBox box;
  box.nearZ = -2.0;
  box.farZ = 2.0;
  const double sx = w / (xmax - xmin), sy = h / (ymax - ymin);
  // Neither direction has a usable extent: a unit-high box about the centre.
  const bool xUsable = std::isfinite(sx) && sx > 0.0, yUsable = std::isfinite(sy) && sy > 0.0;
  if (!xUsable && !yUsable) {
    const double cx = std::isfinite(xmin + xmax) ? (xmin + xmax) / 2 : 0.0;
    const double cy = std::isfinite(ymin + ymax) ? (ymin + ymax) / 2 : 0.0;
    box.bottom = cy - 0.5;
    box.top = cy + 0.5;
    box.left = cx - w / h / 2;
    box.right = cx + w / h / 2;
    return box;
  }
  if (!xUsable || (yUsable && sx >= sy)) {
    // The height limits.
    box.bottom = ymin;
    box.top = ymax;
    const double cx = (xmin + xmax) / 2;
    box.left = cx - w / sy / 2;
    box.right = cx + w / sy / 2;
  } else {
    box.left = xmin;
    box.right = xmax;
    const double cy = (ymin + ymax) / 2;
    box.bottom = cy - h / sx / 2;
    box.top = cy + h / sx / 2;
  }
  return box;
}

// Scales the box about its centre.
void ZoomOrthoBox(OrthoBox& box, double factor) {
  const double cx = (box.left + box.right) / 2, cy = (box.bottom + box.top) / 2;
  box.right = cx + (box.right - cx) * factor;
  box.left = cx - (cx - box.left) * factor;
  box.top = cy + (box.top - cy) * factor;
  box.bottom = cy - (cy - box.bottom) * factor;
}

// Moves the box by a fiftieth of its size in one direction.
void PanOrthoBox(OrthoBox& box, PanDirection direction) {
  const double sx = static_cast<float>((box.right - box.left) / 50);
  const double sy = static_cast<float>((box.top - box.bottom) / 50);
  switch (direction) {
    case PanDirection::Right: box.left += sx; box.right += sx; break;
    case PanDirection::Left: box.left -= sx; box.right -= sx; break;
    case PanDirection::Up: box.bottom += sy; box.top += sy; break;
    case PanDirection::Down: box.bottom -= sy; box.top -= sy; break;
  }
}

// ---- frame ----

// Empties the frame, keeping the arrays' memory for the next one.
void GlFrame::Clear() {
  vertices.clear();
  colours.clear();
  batches.clear();
  indices.clear();
  colourBar.reset();
}

// Starts a batch unless the last one has the same mode and can take more (strips never merge).
void GlFrame::Open(GlMode mode) {
  if (!batches.empty() && batches.back().mode == mode && mode != GlMode::LineStrip) return;
  const std::size_t first = mode == GlMode::IndexedTriangles ? indices.size() : vertices.size();
  batches.push_back({mode, static_cast<std::int32_t>(first), 0});
}

// Adds a triangle through three shared vertices.
void GlFrame::IndexedTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
  Open(GlMode::IndexedTriangles);
  indices.push_back(a);
  indices.push_back(b);
  indices.push_back(c);
  batches.back().count += 3;
}

// Adds a convex polygon in one colour as triangles.
void GlFrame::Polygon(const GlPoint* points, int count, Colour colour) {
  // A convex polygon is a fan from its first corner; pieces without area draw no pixel anyway.
  for (int k = 2; k < count; ++k) {
    if (Area2(points[0], points[k - 1], points[k]) == 0.0) continue;
    Open(GlMode::Triangles);
    Push(points[0], colour);
    Push(points[k - 1], colour);
    Push(points[k], colour);
    batches.back().count += 3;
  }
}

// Adds one line segment.
void GlFrame::Line(GlPoint a, GlPoint b, Colour colour) {
  if (a == b) return;  // a line without length draws nothing
  Open(GlMode::Lines);
  Push(a, colour);
  Push(b, colour);
  batches.back().count += 2;
}

// Adds a triangle with its own three vertices.
void GlFrame::Triangle(GlPoint a, GlPoint b, GlPoint c, Colour ca, Colour cb, Colour cc) {
  Open(GlMode::Triangles);
  Push(a, ca);
  Push(b, cb);
  Push(c, cc);
  batches.back().count += 3;
}

void GlFrame::StripBegin() { Open(GlMode::LineStrip); }

// Adds a point to the open line strip.
void GlFrame::StripVertex(GlPoint p, Colour colour) {
  Push(p, colour);
  batches.back().count += 1;
}

// Closes the open line strip, dropping it when it has no segment.
void GlFrame::StripEnd() {
  if (batches.back().count >= 2) return;
  vertices.resize(static_cast<std::size_t>(batches.back().first));
  colours.resize(vertices.size());
  batches.pop_back();
}

}  // namespace corvane
