// Pixel row conversions shared by the picture writers: the bitmap is 0xffRRGGBB words.
#pragma once
#include <QImage>
#include <QString>
#include <cstdint>

namespace corvane {

// The image as Format_RGB32 (shared, no copy when it already is); throws CorvaneError naming
// the file for an empty image.
QImage AsRgb32(const QImage& image, const QString& path);

// One row of 0xffRRGGBB words as R, G, B bytes.
inline void RowToRgb(const uint32_t* in, int width, uint8_t* out) {
  for (int x = 0; x < width; ++x) {
    const uint32_t p = in[x];
    out[0] = static_cast<uint8_t>(p >> 16);
    out[1] = static_cast<uint8_t>(p >> 8);
    out[2] = static_cast<uint8_t>(p);
    out += 3;
  }
}

// One row of 0xffRRGGBB words as B, G, R bytes (the order of Windows bitmaps).
inline void RowToBgr(const uint32_t* in, int width, uint8_t* out) {
  for (int x = 0; x < width; ++x) {
    const uint32_t p = in[x];
    out[0] = static_cast<uint8_t>(p);
    out[1] = static_cast<uint8_t>(p >> 8);
    out[2] = static_cast<uint8_t>(p >> 16);
    out += 3;
  }
}

}  // namespace corvane
