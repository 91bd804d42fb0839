// The metafile's bytes: records, the header and the end, object handles, and the pens, brushes
// and fonts selected before anything is drawn with them.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "output/EmfPaintEngine.h"

namespace corvane {

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
void EmfPaintEngine::updateState(const QPaintEngineState& newState) {
  const DirtyFlags dirty = newState.state();
  if (dirty & DirtyPen) pen_ = newState.pen();
  if (dirty & DirtyBrush) brush_ = newState.brush();
  if (dirty & DirtyFont) font_ = newState.font();
  if (dirty & DirtyTransform) {
    const int units = device_->SubpixelUnits();
    transform_ = newState.transform() * QTransform::fromScale(units, units);
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

}  // namespace corvane
