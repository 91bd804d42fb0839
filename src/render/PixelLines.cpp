#include "render/PixelLines.h"

#include <QImage>
#include <algorithm>
#include <atomic>
#include <cstdlib>

namespace corvane {

PixelRows PixelRowsOf(QImage& image) {
  return {reinterpret_cast<std::uint32_t*>(image.bits()), image.bytesPerLine() / 4, image.width(), image.height()};
}

// Along the major axis step k = 0 .. n-1, the minor axis moves by k * minor / n rounded half up.
// Segments are cut to the image along the major axis first, so a line from far outside costs
// nothing.
void LightPolyline(const PixelRows& target, std::uint32_t colour, const QPoint* points, int count) {
  const long long w = target.width, h = target.height;
  for (int s = 1; s < count; ++s) {
    const long long x0 = points[s - 1].x(), y0 = points[s - 1].y(), x1 = points[s].x(), y1 = points[s].y();
    const long long dx = x1 - x0, dy = y1 - y0;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const long long n = xMajor ? std::llabs(dx) : std::llabs(dy);
    if (n == 0) continue;
    const long long minor = xMajor ? std::llabs(dy) : std::llabs(dx);
    const long long majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const long long minorStep = (xMajor ? dy : dx) > 0 ? 1 : -1;
    const long long major0 = xMajor ? x0 : y0, minor0 = xMajor ? y0 : x0;
    const long long majorSize = xMajor ? w : h, minorSize = xMajor ? h : w;
    // Steps whose major coordinate lies inside the image.
    long long kFirst = 0, kEnd = n;
    if (majorStep > 0) {
      kFirst = std::max(kFirst, -major0);
      kEnd = std::min(kEnd, majorSize - major0);
    } else {
      kFirst = std::max(kFirst, major0 - (majorSize - 1));
      kEnd = std::min(kEnd, major0 + 1);
    }
    if (kFirst >= kEnd) continue;
    // Minor offset at step k is floor((2k*minor + n) / 2n), tracked as quotient and remainder;
    // a segment starting inside the image (nearly all) starts at quotient 0, remainder n.
    long long q = 0, r = n;
    if (kFirst > 0) {
      const __int128 start = static_cast<__int128>(2) * kFirst * minor + n;
      q = static_cast<long long>(start / (2 * static_cast<__int128>(n)));
      r = static_cast<long long>(start % (2 * static_cast<__int128>(n)));
    }
    for (long long k = kFirst; k < kEnd; ++k) {
      const long long mi = minor0 + minorStep * q;
      if (mi >= 0 && mi < minorSize) {
        const long long ma = major0 + majorStep * k;
        const long long px = xMajor ? ma : mi, py = xMajor ? mi : ma;
        std::atomic_ref<std::uint32_t>(target.bits[py * target.stride + px]).store(colour, std::memory_order_relaxed);
      }
      r += 2 * minor;
      if (r >= 2 * n) {
        r -= 2 * n;
        ++q;
      }
    }
  }
}

}  // namespace corvane
