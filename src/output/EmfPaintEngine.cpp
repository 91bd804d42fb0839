// What QPainter draws, turned into EMF records: lines and polygons, rectangles and ellipses,
// paths, points, images and text.
#include <QFontMetricsF>
#include <QImage>
#include <QPainterPath>
#include <QPixmap>
#include <QTextItem>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "output/EmfPaintEngine.h"

namespace corvane {

// A polyline or polygon of mapped points: 16-bit records when every point fits, 32-bit else.
void EmfPaintEngine::Poly(const QPolygonF& logical, bool closed) {
  if (logical.size() < 2) return;
  std::vector<int32_t> xy;
  xy.reserve(static_cast<std::size_t>(logical.size()) * 2);
  IntRect bounds{std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max(),
                 std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min()};
  for (const QPointF& p : logical) {
    const QPointF d = transform_.map(p);
    const int32_t x = ToInt(d.x()), y = ToInt(d.y());
    xy.push_back(x);
    xy.push_back(y);
    bounds = {std::min(bounds.left, x), std::min(bounds.top, y), std::max(bounds.right, x),
              std::max(bounds.bottom, y)};
  }
  const bool small = bounds.left >= -32768 && bounds.top >= -32768 && bounds.right <= 32767 &&
                     bounds.bottom <= 32767;
  const uint64_t bytes = 28 + xy.size() * (small ? 2 : 4);
  if (bytes > kMaxRecordBytes) {
    problem_ = "線の点が多すぎてメタファイルに記録できません。";
    return;
  }
  if (closed) {
    BeginRecord(small ? EMR_POLYGON16 : EMR_POLYGON);
  } else {
    BeginRecord(small ? EMR_POLYLINE16 : EMR_POLYLINE);
  }
  Rect(bounds);
  U32(static_cast<uint32_t>(logical.size()));
  for (int32_t v : xy) {
    if (small) {
      U16(static_cast<uint16_t>(static_cast<int16_t>(v)));
    } else {
      I32(v);
    }
  }
  EndRecord();
}

// A rectangle or ellipse. Qt's outline of QRect(x, y, w, h) covers x..x+w; GDI's box excludes
// its right and bottom edge, hence the extra unit.
void EmfPaintEngine::Shape(uint32_t type, const QRectF& logical) {
  SelectPen(pen_);
  SelectBrush(brush_);
  if (!transform_.isRotating() || type == EMR_ELLIPSE) {
    const QRectF r = transform_.mapRect(logical).normalized();
    BeginRecord(type);
    const int32_t unit = device_->SubpixelUnits();
    Rect({ToInt(r.left()), ToInt(r.top()), ToInt(r.right()) + unit, ToInt(r.bottom()) + unit});
    EndRecord();
    return;
  }
  // A rotated rectangle is a polygon.
  SetFillMode(kAlternate);
  Poly(QPolygonF(logical), true);
}

// Rectangles with the current pen and brush.
void EmfPaintEngine::drawRects(const QRectF* rects, int count) {
  for (int i = 0; i < count; ++i) Shape(EMR_RECTANGLE, rects[i]);
}

// An ellipse inside the rectangle, with the current pen and brush.
void EmfPaintEngine::drawEllipse(const QRectF& rect) { Shape(EMR_ELLIPSE, rect); }

// Separate lines, each a two-point polyline.
void EmfPaintEngine::drawLines(const QLineF* lines, int count) {
  SelectPen(pen_);
  for (int i = 0; i < count; ++i) Poly(QPolygonF({lines[i].p1(), lines[i].p2()}), false);
}

// A polyline, or a polygon filled by the brush under Qt's fill rule.
void EmfPaintEngine::drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) {
  QPolygonF polygon;
  polygon.reserve(count);
  for (int i = 0; i < count; ++i) polygon.append(points[i]);
  SelectPen(pen_);
  if (mode == PolylineMode) {
    Poly(polygon, false);
    return;
  }
  SelectBrush(brush_);
  SetFillMode(mode == WindingMode ? kWinding : kAlternate);
  Poly(polygon, true);
}

namespace {

// An axis-parallel rectangle stored as a path (a recorded picture keeps drawRect that way).
bool IsRectanglePath(const QPainterPath& path, QRectF* rect) {
  if (path.elementCount() != 5) return false;
  for (int i = 0; i < 5; ++i) {
    const QPainterPath::Element e = path.elementAt(i);
    if (i == 0 ? !e.isMoveTo() : !e.isLineTo()) return false;
  }
  const QPointF first = path.elementAt(0);
  if (QPointF(path.elementAt(4)) != first) return false;
  for (int i = 0; i < 4; ++i) {
    const QPointF a = path.elementAt(i), b = path.elementAt(i + 1);
    if (a.x() != b.x() && a.y() != b.y()) return false;
  }
  *rect = path.boundingRect();
  return true;
}

}  // namespace

// Rectangles become rectangle records; other shapes are flattened: fills as polygons without
// outline, then the outline as polylines.
void EmfPaintEngine::drawPath(const QPainterPath& path) {
  QRectF rect;
  if (IsRectanglePath(path, &rect)) {
    Shape(EMR_RECTANGLE, rect);
    return;
  }
  if (brush_.style() != Qt::NoBrush) {
    SelectPen(QPen(Qt::NoPen));
    SelectBrush(brush_);
    SetFillMode(path.fillRule() == Qt::WindingFill ? kWinding : kAlternate);
    for (const QPolygonF& polygon : path.toFillPolygons()) Poly(polygon, true);
  }
  if (pen_.style() != Qt::NoPen) {
    SelectPen(pen_);
    for (const QPolygonF& polygon : path.toSubpathPolygons()) Poly(polygon, false);
  }
}

// Single pixels in the pen colour.
void EmfPaintEngine::drawPoints(const QPointF* points, int count) {
  if (pen_.style() == Qt::NoPen) return;
  for (int i = 0; i < count; ++i) {
    const QPointF d = transform_.map(points[i]);
    BeginRecord(EMR_SETPIXELV);
    I32(ToInt(d.x()));
    I32(ToInt(d.y()));
    U32(ColourRef(pen_.color()));
    EndRecord();
  }
}

// Pixmaps are written like images.
void EmfPaintEngine::drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) {
  drawImage(r, pm.toImage(), sr, Qt::AutoColor);
}

// One 24-bit bottom-up DIB stretched into the mapped target rectangle.
void EmfPaintEngine::drawImage(const QRectF& r, const QImage& image, const QRectF& sr,
                               Qt::ImageConversionFlags) {
  if (image.isNull()) return;
  const QRect source = sr.toAlignedRect().intersected(image.rect());
  if (source.isEmpty()) return;
  const QImage part = (source == image.rect() ? image : image.copy(source))
                          .convertToFormat(QImage::Format_RGB32);
  const uint64_t width = static_cast<uint64_t>(part.width());
  const uint64_t height = static_cast<uint64_t>(part.height());
  const uint64_t rowBytes = (width * 3 + 3) & ~uint64_t{3};
  const uint64_t bitsBytes = rowBytes * height;
  if (80 + 40 + bitsBytes > kMaxRecordBytes) {
    problem_ = "画像が大きすぎてメタファイルに記録できません。";
    return;
  }
  const QRectF target = transform_.mapRect(r).normalized();
  const int32_t x = ToInt(target.left()), y = ToInt(target.top());
  const int32_t cx = std::max(1, ToInt(target.width())), cy = std::max(1, ToInt(target.height()));

  BeginRecord(EMR_STRETCHDIBITS);
  Rect({x, y, x + cx - 1, y + cy - 1});
  I32(x), I32(y);
  I32(0), I32(0), I32(static_cast<int32_t>(width)), I32(static_cast<int32_t>(height));
  U32(80), U32(40), U32(120), U32(static_cast<uint32_t>(bitsBytes));
  U32(0);  // DIB_RGB_COLORS
  U32(kSrcCopy);
  I32(cx), I32(cy);
  // BITMAPINFOHEADER
  U32(40);
  I32(static_cast<int32_t>(width));
  I32(static_cast<int32_t>(height));  // positive: bottom-up
  U16(1), U16(24);
  U32(0);  // BI_RGB
  U32(static_cast<uint32_t>(bitsBytes));
  I32(3780), I32(3780);
  U32(0), U32(0);
  const qsizetype start = data_.size();
  data_.resize(start + static_cast<qsizetype>(bitsBytes));
  for (int row = 0; row < part.height(); ++row) {
    const auto* in = reinterpret_cast<const uint32_t*>(part.constScanLine(part.height() - 1 - row));
    auto* out = reinterpret_cast<uint8_t*>(data_.data() + start + row * static_cast<qsizetype>(rowBytes));
    for (int i = 0; i < part.width(); ++i) {
      out[0] = static_cast<uint8_t>(in[i]);
      out[1] = static_cast<uint8_t>(in[i] >> 8);
      out[2] = static_cast<uint8_t>(in[i] >> 16);
      out += 3;
    }
    std::memset(out, 0, rowBytes - width * 3);
  }
  EndRecord();
}

// Text at its baseline point. A rotated painter becomes the font's escapement; the advance of
// every character goes along so readers place glyphs where Qt measured them.
void EmfPaintEngine::drawTextItem(const QPointF& p, const QTextItem& item) {
  const QString text = item.text();
  if (text.isEmpty() || pen_.style() == Qt::NoPen) return;  // Qt draws no text without a pen
  const QFont font = item.font();
  const double scale = Scale();
  const double pixelSize = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * kDpi / 72.0;
  const int height = ToInt(pixelSize * scale);
  const double angle = std::atan2(-transform_.m12(), transform_.m11()) * 180.0 / M_PI;
  int escapement = ToInt(angle * 10.0) % 3600;
  if (escapement < 0) escapement += 3600;
  SelectFont(font, height, escapement);
  const uint32_t colour = ColourRef(pen_.color());
  if (colour != textColour_) {
    Simple(EMR_SETTEXTCOLOR, colour);
    textColour_ = colour;
  }

  // Advances from cumulative widths, so kerning and rounding do not add up along the string.
  const QFontMetricsF metrics(font);
  std::vector<int32_t> dx(static_cast<std::size_t>(text.size()), 0);
  double previous = 0;
  int32_t placed = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text.at(i).isHighSurrogate() && i + 1 < text.size()) continue;  // advance on the pair's end
    const double upTo = text.size() <= 256 ? metrics.horizontalAdvance(text.left(i + 1))
                                           : previous + metrics.horizontalAdvance(text.at(i));
    previous = upTo;
    const int32_t end = ToInt(upTo * scale);
    dx[static_cast<std::size_t>(i)] = end - placed;
    placed = end;
  }

  const QPointF origin = transform_.map(p);
  const uint32_t chars = static_cast<uint32_t>(text.size());
  const uint32_t stringOffset = 76;
  const uint32_t dxOffset = stringOffset + ((chars * 2 + 3) & ~3u);
  BeginRecord(EMR_EXTTEXTOUTW);
  Rect({0, 0, -1, -1});  // bounds not computed
  U32(1);                 // GM_COMPATIBLE
  F32(0), F32(0);
  I32(ToInt(origin.x())), I32(ToInt(origin.y()));
  U32(chars);
  U32(stringOffset);
  U32(0);           // no clipping, no opaque box (the canvas fills that itself)
  Rect({0, 0, -1, -1});
  U32(dxOffset);
  data_.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
  while (data_.size() - recordStart_ < dxOffset) data_.append('\0');
  for (int32_t d : dx) I32(d);
  EndRecord();
}

}  // namespace corvane
