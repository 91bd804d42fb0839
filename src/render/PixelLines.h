// Lines one pixel wide set straight into the pixels of an RGB32 image, by a rasteriser of our
// own: several times faster than the painter's for the million short segments of a dense grid.
// Its pixels may differ from the painter's on slanted lines.
#pragma once
#include <QPoint>
#include <cstddef>
#include <cstdint>

#include "render/Colour.h"

class QImage;

namespace corvane {

// The pixels of an RGB32 image.
struct PixelRows {
  std::uint32_t* bits = nullptr;
  std::ptrdiff_t stride = 0;  // pixels from one row to the next
  int width = 0, height = 0;
};
PixelRows PixelRowsOf(QImage& image);

// The RGB32 pixel (0xFFRRGGBB) of a colour.
inline std::uint32_t ArgbOf(Colour c) {
  return 0xFF000000u | (static_cast<std::uint32_t>(RedOf(c)) << 16) | (static_cast<std::uint32_t>(GreenOf(c)) << 8) |
         static_cast<std::uint32_t>(BlueOf(c));
}

// Lights the pixels of each segment of the polyline from its start up to, not including, its
// end, in `colour` (0xAARRGGBB). Several threads may light lines into one image at once: a pixel
// two lines share receives the same colour from both.
void LightPolyline(const PixelRows& target, std::uint32_t colour, const QPoint* points, int count);

}  // namespace corvane
