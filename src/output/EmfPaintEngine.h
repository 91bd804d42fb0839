// The paint engine behind EmfGenerator: QPainter calls in, MS-EMF records out. The record
// writer (records, header, objects and their selection) and the drawing calls live apart.
#pragma once
#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPaintEngine>
#include <QPen>
#include <QPolygonF>
#include <QTransform>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "output/EmfGenerator.h"

namespace corvane {

// The record constants and conversions, kept out of the rest of the library's names.
namespace emf {

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
inline int32_t ToInt(double v) {
  if (std::isnan(v)) return 0;
  constexpr double lo = std::numeric_limits<int32_t>::min();
  constexpr double hi = std::numeric_limits<int32_t>::max();
  v = std::nearbyint(v);
  if (v <= lo) return std::numeric_limits<int32_t>::min();
  if (v >= hi) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(v);
}

// A colour as a COLORREF: red in the low byte.
inline uint32_t ColourRef(const QColor& c) {
  const QColor rgb = c.toRgb();
  return static_cast<uint32_t>(rgb.red()) | (static_cast<uint32_t>(rgb.green()) << 8) |
         (static_cast<uint32_t>(rgb.blue()) << 16);
}

struct IntRect {
  int32_t left, top, right, bottom;
};

}  // namespace emf

using namespace emf;

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

}  // namespace corvane
