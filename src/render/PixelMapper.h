// World-to-pixel mapping for layers that convert a million nodes per drawing: the arithmetic of
// ViewTransform::WorldToPixelX/Y (extended precision, round half to even, saturated), inlined,
// with the rounding done by the 2^63 trick instead of a library call.
#pragma once
#include <cmath>
#include <cstdint>

#include "render/ViewTransform.h"

namespace corvane {

class PixelMapper {
 public:
  PixelMapper(const ViewTransform& view, double offsetX, double offsetY) : view_(view), dx_(offsetX), dy_(offsetY) {}

  std::int32_t X(double x) const {
    const double w = x + dx_;
    // Fast pass in double precision; it decides whenever the value is clearly not near a half.
    const double a = (w - view_.CentreX) * view_.ScaleX, p = a + view_.CentrePixelX;
    std::int32_t r;
    if (Quick(p, std::fabs(a) + std::fabs(static_cast<double>(view_.CentrePixelX)), r)) return r;
    return Round((static_cast<long double>(w) - view_.CentreX) * view_.ScaleX + view_.CentrePixelX);
  }
  std::int32_t Y(double y) const {
    const double w = y + dy_;
    const double a = (w - view_.CentreY) * view_.ScaleY, p = view_.CentrePixelY - a;
    std::int32_t r;
    if (Quick(p, std::fabs(a) + std::fabs(static_cast<double>(view_.CentrePixelY)), r)) return r;
    return Round(view_.CentrePixelY - (static_cast<long double>(w) - view_.CentreY) * view_.ScaleY);
  }

  // The double result p differs from the extended one by at most three roundings of the
  // magnitudes involved (below 1e-15 * size); when p is farther than that from a half and
  // inside the pixel range, both round to the same integer. Without branches on the value:
  // which side of a half a node falls on follows no pattern.
  static bool Quick(double p, double size, std::int32_t& result) {
    if (!(p > -1e9 && p < 1e9)) return false;  // NaN, saturation and huge values: exact pass
    constexpr double magic = 0x1.8p52;  // adding it leaves no fraction bits: p to the nearest
    const double nearest = (p + magic) - magic;
    if (std::fabs(std::fabs(p - nearest) - 0.5) <= 1e-15 * size + 1e-300) return false;
    result = static_cast<std::int32_t>(nearest);
    return true;
  }

  // Round half to even of an extended value: adding 1.5 * 2^63 leaves no fraction bits, so the
  // sum is rounded to an integer in the default rounding mode, as nearbyint would.
  static std::int32_t Round(long double v) {
    constexpr long double limit = static_cast<long double>(kPixelLimit);
    if (std::isnan(v)) return -kPixelLimit;
    if (v >= limit) return kPixelLimit;
    if (v <= -limit) return -kPixelLimit;
    constexpr long double magic = 0x1.8p63L;
    const long double r = (v + magic) - magic;
    return static_cast<std::int32_t>(r);
  }

 private:
  const ViewTransform& view_;
  double dx_, dy_;
};

}  // namespace corvane
