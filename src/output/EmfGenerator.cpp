#include "output/EmfGenerator.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPicture>
#include <QPixmap>
#include <QPolygonF>
#include <QTextItem>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "data/Errors.h"
#include "output/OutputFile.h"

namespace corvane {

namespace {

// Record types of the MS-EMF format used here.
enum : uint32_t {
  EMR_HEADER = 1,
  EMR_POLYGON = 3,
  EMR_POLYLINE = 4,
  EMR_SETWINDOWEXTEX = 9,
  EMR_SETVIEWPORTEXTEX = 11,
  EMR_EOF = 14,
  EMR_SETPIXELV = 15,
  EMR_SETMAPMODE = 17,
  EMR_SETBKMODE = 18,
  EMR_SETPOLYFILLMODE = 19,
  EMR_SETTEXTALIGN = 22,
  EMR_SETTEXTCOLOR = 24,
  EMR_SELECTOBJECT = 37,
  EMR_CREATEPEN = 38,
  EMR_CREATEBRUSHINDIRECT = 39,
  EMR_DELETEOBJECT = 40,
  EMR_ELLIPSE = 42,
  EMR_RECTANGLE = 43,
  EMR_STRETCHDIBITS = 81,
  EMR_EXTCREATEFONTINDIRECTW = 82,
  EMR_EXTTEXTOUTW = 84,
  EMR_POLYGON16 = 86,
  EMR_POLYLINE16 = 87,
  EMR_EXTCREATEPEN = 95,
};

constexpr uint32_t kNullBrush = 0x80000005;  // stock object NULL_BRUSH
constexpr uint32_t kNullPen = 0x80000008;    // stock object NULL_PEN
constexpr uint32_t kSystemFont = 0x8000000D; // stock object SYSTEM_FONT, the font a device starts with
constexpr uint32_t kTransparent = 1;         // background mode
constexpr uint32_t kAlternate = 1, kWinding = 2;
constexpr uint32_t kTaBaseline = 24;
constexpr uint32_t kAnisotropic = 8;  // MM_ANISOTROPIC
constexpr uint32_t kSrcCopy = 0x00CC0020;
constexpr int kDpi = 96;
// Reference device: a 1920×1080 screen at 96 dpi, so pixels and millimetres agree.
constexpr int kDeviceWidth = 1920, kDeviceHeight = 1080;
// One record may not exceed what a 32-bit size holds; keep well below it.
constexpr uint64_t kMaxRecordBytes = 0x40000000;

// Saturating conversion of a logical coordinate to a 32-bit integer pixel.
int32_t ToInt(double v) {
  if (std::isnan(v)) return 0;
  constexpr double lo = std::numeric_limits<int32_t>::min();
  constexpr double hi = std::numeric_limits<int32_t>::max();
  v = std::nearbyint(v);
  if (v <= lo) return std::numeric_limits<int32_t>::min();
  if (v >= hi) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(v);
}

// A colour as a COLORREF: red in the low byte.
uint32_t ColourRef(const QColor& c) {
  const QColor rgb = c.toRgb();
  return static_cast<uint32_t>(rgb.red()) | (static_cast<uint32_t>(rgb.green()) << 8) |
         (static_cast<uint32_t>(rgb.blue()) << 16);
}

struct IntRect {
  int32_t left, top, right, bottom;
};

}  // namespace

class EmfPaintEngine : public QPaintEngine {
 public:
  explicit EmfPaintEngine(EmfGenerator* device)
      : QPaintEngine(PaintEngineFeatures(AllFeatures) & ~PerspectiveTransform & ~ConicalGradientFill & ~PorterDuff),
        device_(device) {}

  bool begin(QPaintDevice*) override;
  bool end() override;
  Type type() const override { return QPaintEngine::User; }
  void updateState(const QPaintEngineState& state) override;

  void drawRects(const QRectF* rects, int count) override;
  void drawLines(const QLineF* lines, int count) override;
  void drawEllipse(const QRectF& rect) override;
  void drawPath(const QPainterPath& path) override;
  void drawPoints(const QPointF* points, int count) override;
  void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override;
  void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override;
  void drawImage(const QRectF& r, const QImage& image, const QRectF& sr,
                 Qt::ImageConversionFlags flags) override;
  void drawTextItem(const QPointF& p, const QTextItem& item) override;

  QByteArray data_;
  std::string problem_;

 private:
  // Byte writing into the growing record buffer.
  void U32(uint32_t v) { data_.append(reinterpret_cast<const char*>(&v), 4); }
  void I32(int32_t v) { data_.append(reinterpret_cast<const char*>(&v), 4); }
  void U16(uint16_t v) { data_.append(reinterpret_cast<const char*>(&v), 2); }
  void F32(float v) { data_.append(reinterpret_cast<const char*>(&v), 4); }
  void Rect(const IntRect& r) { I32(r.left), I32(r.top), I32(r.right), I32(r.bottom); }
  void BeginRecord(uint32_t type);
  void EndRecord();
  void Simple(uint32_t type, uint32_t value);

  int NewHandle();
  void FreeHandle(int handle);
  void SelectPen(const QPen& pen);
  void SelectBrush(const QBrush& brush);
  void SelectFont(const QFont& font, int height, int escapement);
  void SetFillMode(uint32_t mode);
  void Poly(const QPolygonF& logical, bool closed);
  void Shape(uint32_t type, const QRectF& logical);
  double Scale() const;

  EmfGenerator* device_;
  int recordStart_ = 0;
  uint32_t records_ = 0;
  std::vector<bool> handlesInUse_{true};  // index 0 stands for the metafile itself
  QPen pen_;
  QBrush brush_;
  QFont font_;
  QTransform transform_;
  Qt::FillRule fillRule_ = Qt::OddEvenFill;
  // What is selected in the metafile now, to emit objects only when they change.
  int penHandle_ = 0, brushHandle_ = 0, fontHandle_ = 0;
  bool penValid_ = false, brushValid_ = false, fontValid_ = false;
  QPen selectedPen_;
  QBrush selectedBrush_;
  QFont selectedFont_;
  int selectedFontHeight_ = 0, selectedEscapement_ = 0;
  uint32_t fillMode_ = kAlternate;
  uint32_t textColour_ = 0xFFFFFFFF;
};

// Starts a record: type and a size to be filled in by EndRecord.
void EmfPaintEngine::BeginRecord(uint32_t type) {
  recordStart_ = static_cast<int>(data_.size());
  U32(type);
  U32(0);  // size, patched by EndRecord
}

// Pads the record to a multiple of 4 bytes and stores its size.
void EmfPaintEngine::EndRecord() {
  while (data_.size() % 4 != 0) data_.append('\0');
  const uint32_t size = static_cast<uint32_t>(data_.size() - recordStart_);
  std::memcpy(data_.data() + recordStart_ + 4, &size, 4);
  ++records_;
}

// A record with one 32-bit argument (selections, modes, colours).
void EmfPaintEngine::Simple(uint32_t type, uint32_t value) {
  BeginRecord(type);
  U32(value);
  EndRecord();
}

// The lowest free object index; index 0 belongs to the metafile.
int EmfPaintEngine::NewHandle() {
  for (std::size_t i = 1; i < handlesInUse_.size(); ++i) {
    if (!handlesInUse_[i]) {
      handlesInUse_[i] = true;
      return static_cast<int>(i);
    }
  }
  handlesInUse_.push_back(true);
  return static_cast<int>(handlesInUse_.size() - 1);
}

// Deletes an object that is no longer selected and frees its index.
void EmfPaintEngine::FreeHandle(int handle) {
  if (handle <= 0) return;
  Simple(EMR_DELETEOBJECT, static_cast<uint32_t>(handle));
  handlesInUse_[static_cast<std::size_t>(handle)] = false;
}

// Header first (sizes patched at the end), then the drawing defaults every record relies on.
bool EmfPaintEngine::begin(QPaintDevice*) {
  data_.clear();
  problem_.clear();
  records_ = 0;
  handlesInUse_.assign(1, true);
  penValid_ = brushValid_ = fontValid_ = false;
  penHandle_ = brushHandle_ = fontHandle_ = 0;
  fillMode_ = kAlternate;
  textColour_ = 0xFFFFFFFF;

  const QSize size = device_->Size();
  const int w = std::max(1, size.width()), h = std::max(1, size.height());
  const auto toHundredthsMm = [](int pixels) {
    return ToInt(static_cast<double>(pixels) * 2540.0 / kDpi);
  };
  const QString description = QStringLiteral("Corvane") + QChar(0) + QStringLiteral("scene") +
                              QChar(0) + QChar(0);
  BeginRecord(EMR_HEADER);
  Rect({0, 0, w - 1, h - 1});                                    // bounds, inclusive pixels
  Rect({0, 0, toHundredthsMm(w - 1), toHundredthsMm(h - 1)});  // frame, .01 mm, the same pixels
  U32(0x464D4520);                                               // " EMF"
  U32(0x00010000);                                               // version
  U32(0);                                                        // file size, patched
  U32(0);                                                        // record count, patched
  U16(0);                                                        // handle count, patched
  U16(0);                                                        // reserved
  U32(static_cast<uint32_t>(description.size()));                // description length
  U32(108);                                                      // description offset
  U32(0);                                                        // palette entries
  I32(kDeviceWidth), I32(kDeviceHeight);                         // reference device, pixels
  I32(ToInt(kDeviceWidth * 25.4 / kDpi)), I32(ToInt(kDeviceHeight * 25.4 / kDpi));  // mm
  U32(0), U32(0), U32(0);                                        // no pixel format, no OpenGL
  U32(static_cast<uint32_t>(kDeviceWidth * 25400 / kDpi));       // reference size, µm
  U32(static_cast<uint32_t>(kDeviceHeight * 25400 / kDpi));
  data_.append(reinterpret_cast<const char*>(description.utf16()), description.size() * 2);
  EndRecord();

  Simple(EMR_SETBKMODE, kTransparent);
  Simple(EMR_SETTEXTALIGN, kTaBaseline);
  Simple(EMR_SETPOLYFILLMODE, kAlternate);
  const int units = device_->SubpixelUnits();
  transform_ = QTransform::fromScale(units, units);
  if (units > 1) {
    // `units` logical units to a pixel: the window is that many times the viewport.
    Simple(EMR_SETMAPMODE, kAnisotropic);
    BeginRecord(EMR_SETWINDOWEXTEX);
    I32(w * units), I32(h * units);
    EndRecord();
    BeginRecord(EMR_SETVIEWPORTEXTEX);
    I32(w), I32(h);
    EndRecord();
  }
  setActive(true);
  return true;
}

// Releases every object, closes with EMR_EOF and fills in the header's totals.
bool EmfPaintEngine::end() {
  // Nothing still selected is deleted: the stock objects take the places of ours first.
  Simple(EMR_SELECTOBJECT, kNullPen);
  Simple(EMR_SELECTOBJECT, kNullBrush);
  if (fontHandle_ > 0) Simple(EMR_SELECTOBJECT, kSystemFont);
  for (int* handle : {&penHandle_, &brushHandle_, &fontHandle_}) {
    FreeHandle(*handle);
    *handle = 0;
  }
  BeginRecord(EMR_EOF);
  U32(0);   // palette entries
  U32(16);  // palette offset
  U32(20);  // this record's size, repeated at its end
  EndRecord();

  const uint32_t bytes = static_cast<uint32_t>(data_.size());
  const uint16_t handles = static_cast<uint16_t>(std::min<std::size_t>(handlesInUse_.size(), 0xFFFF));
  std::memcpy(data_.data() + 48, &bytes, 4);
  std::memcpy(data_.data() + 52, &records_, 4);
  std::memcpy(data_.data() + 56, &handles, 2);
  setActive(false);
  return true;
}

// Keeps the painter state; objects are emitted lazily, only when something is drawn with them.
void EmfPaintEngine::updateState(const QPaintEngineState& state) {
  const DirtyFlags dirty = state.state();
  if (dirty & DirtyPen) pen_ = state.pen();
  if (dirty & DirtyBrush) brush_ = state.brush();
  if (dirty & DirtyFont) font_ = state.font();
  if (dirty & DirtyTransform) {
    const int units = device_->SubpixelUnits();
    transform_ = state.transform() * QTransform::fromScale(units, units);
  }
}

// How much one logical unit grows under the painter's transform (for pen widths and fonts).
double EmfPaintEngine::Scale() const {
  const double det = std::abs(transform_.determinant());
  return det > 0 && std::isfinite(det) ? std::sqrt(det) : 1.0;
}

// Makes `pen` the selected pen, creating it only when it differs from the current one.
void EmfPaintEngine::SelectPen(const QPen& pen) {
  const bool none = pen.style() == Qt::NoPen;
  if (penValid_ && (none ? selectedPen_.style() == Qt::NoPen : selectedPen_ == pen)) return;
  const int old = penHandle_;
  if (none) {
    Simple(EMR_SELECTOBJECT, kNullPen);
    penHandle_ = 0;
  } else {
    // The width in pixels decides between a thin and a wide pen; a wide one is given in
    // logical units.
    const int units = device_->SubpixelUnits();
    const double width = pen.isCosmetic() ? pen.widthF() : pen.widthF() * Scale() / units;
    const int32_t w = std::max(1, ToInt(width));
    uint32_t style = 0;  // PS_SOLID
    switch (pen.style()) {
      case Qt::DashLine: style = 1; break;
      case Qt::DotLine: style = 2; break;
      case Qt::DashDotLine: style = 3; break;
      case Qt::DashDotDotLine: style = 4; break;
      default: break;
    }
    penHandle_ = NewHandle();
    if (w <= 1) {
      BeginRecord(EMR_CREATEPEN);
      U32(static_cast<uint32_t>(penHandle_));
      U32(style);
      I32(1), I32(0);
      U32(ColourRef(pen.color()));
      EndRecord();
    } else {
      // Wide pens keep Qt's end caps and joins, so thick lines end where they do on screen.
      uint32_t cap = 0x100;  // square
      if (pen.capStyle() == Qt::FlatCap) cap = 0x200;
      if (pen.capStyle() == Qt::RoundCap) cap = 0x000;
      uint32_t join = 0x1000;  // bevel
      if (pen.joinStyle() == Qt::MiterJoin || pen.joinStyle() == Qt::SvgMiterJoin) join = 0x2000;
      if (pen.joinStyle() == Qt::RoundJoin) join = 0x0000;
      BeginRecord(EMR_EXTCREATEPEN);
      U32(static_cast<uint32_t>(penHandle_));
      U32(0), U32(0), U32(0), U32(0);  // no brush bitmap
      U32(0x10000 | style | cap | join);  // PS_GEOMETRIC
      U32(static_cast<uint32_t>(w * units));
      U32(0);  // BS_SOLID
      U32(ColourRef(pen.color()));
      U32(0);  // hatch
      U32(0);  // no style entries
      EndRecord();
    }
    Simple(EMR_SELECTOBJECT, static_cast<uint32_t>(penHandle_));
  }
  FreeHandle(old);
  selectedPen_ = pen;
  penValid_ = true;
}

// Makes `brush` the selected brush; no brush is the stock NULL_BRUSH.
void EmfPaintEngine::SelectBrush(const QBrush& brush) {
  const bool none = brush.style() == Qt::NoBrush;
  if (brushValid_ && (none ? selectedBrush_.style() == Qt::NoBrush
                           : selectedBrush_.style() != Qt::NoBrush &&
                                 selectedBrush_.color() == brush.color())) {
    return;
  }
  const int old = brushHandle_;
  if (none) {
    Simple(EMR_SELECTOBJECT, kNullBrush);
    brushHandle_ = 0;
  } else {
    // Patterns and gradients become their base colour: the scene uses solid fills only.
    brushHandle_ = NewHandle();
    BeginRecord(EMR_CREATEBRUSHINDIRECT);
    U32(static_cast<uint32_t>(brushHandle_));
    U32(0);  // BS_SOLID
    U32(ColourRef(brush.color()));
    U32(0);  // hatch
    EndRecord();
    Simple(EMR_SELECTOBJECT, static_cast<uint32_t>(brushHandle_));
  }
  FreeHandle(old);
  selectedBrush_ = brush;
  brushValid_ = true;
}

// Makes a font of the given em height and baseline angle the selected font.
void EmfPaintEngine::SelectFont(const QFont& font, int height, int escapement) {
  if (fontValid_ && selectedFont_ == font && selectedFontHeight_ == height &&
      selectedEscapement_ == escapement) {
    return;
  }
  const int old = fontHandle_;
  fontHandle_ = NewHandle();
  BeginRecord(EMR_EXTCREATEFONTINDIRECTW);
  U32(static_cast<uint32_t>(fontHandle_));
  I32(-std::max(1, height));  // negative: character (em) height, as Qt's pixel size
  I32(0);                     // natural width
  I32(escapement);
  I32(escapement);            // orientation follows the baseline
  I32(std::clamp(static_cast<int>(font.weight()), 1, 1000));
  const char flags[8] = {static_cast<char>(font.italic()), static_cast<char>(font.underline()),
                         static_cast<char>(font.strikeOut()),
                         1,  // DEFAULT_CHARSET
                         0, 0, 0, 0};
  data_.append(flags, 8);
  char16_t face[32] = {};
  const QString family = font.family().left(31);
  std::memcpy(face, family.utf16(), static_cast<std::size_t>(family.size()) * 2);
  data_.append(reinterpret_cast<const char*>(face), sizeof face);
  EndRecord();
  Simple(EMR_SELECTOBJECT, static_cast<uint32_t>(fontHandle_));
  FreeHandle(old);
  selectedFont_ = font;
  selectedFontHeight_ = height;
  selectedEscapement_ = escapement;
  fontValid_ = true;
}

// Sets the polygon fill rule when it changes.
void EmfPaintEngine::SetFillMode(uint32_t mode) {
  if (mode == fillMode_) return;
  Simple(EMR_SETPOLYFILLMODE, mode);
  fillMode_ = mode;
}

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

EmfGenerator::EmfGenerator(QSize size, int subpixelUnits)
    : size_(size.expandedTo(QSize(1, 1))), units_(std::clamp(subpixelUnits, 1, 64)), engine_(std::make_unique<EmfPaintEngine>(this)) {}

EmfGenerator::~EmfGenerator() = default;

// The engine QPainter draws through.
QPaintEngine* EmfGenerator::paintEngine() const { return engine_.get(); }

const QByteArray& EmfGenerator::Data() const { return engine_->data_; }

const std::string& EmfGenerator::Problem() const { return engine_->problem_; }

// The device as a 96 dpi screen of the picture's size, so fonts and pens keep their pixels.
int EmfGenerator::metric(PaintDeviceMetric metric) const {
  switch (metric) {
    case PdmWidth: return size_.width();
    case PdmHeight: return size_.height();
    case PdmWidthMM: return ToInt(size_.width() * 25.4 / kDpi);
    case PdmHeightMM: return ToInt(size_.height() * 25.4 / kDpi);
    case PdmNumColors: return 0xFFFFFF;
    case PdmDepth: return 24;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return kDpi;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
    default: return QPaintDevice::metric(metric);
  }
}

// Replays the picture into a generator, then writes the finished bytes.
void WriteEmf(const QPicture& picture, QSize size, const QString& path, int subpixelUnits) {
  EmfGenerator generator(size, subpixelUnits);
  QPainter painter(&generator);
  painter.drawPicture(0, 0, picture);
  painter.end();
  if (!generator.Problem().empty()) {
    throw CorvaneError("ファイル「" + path.toStdString() + "」: " + generator.Problem());
  }
  OutputFile file(path);
  file.Write(generator.Data().constData(), static_cast<std::size_t>(generator.Data().size()));
  file.Close();
}

}  // namespace corvane
