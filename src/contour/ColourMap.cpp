#include "contour/ColourMap.h"

#include <cmath>
#include <limits>

#include "contour/ColourTables.h"

namespace corvane {
namespace {

constexpr long double K = 255.99L;

// Floor, then clamp to a channel; NaN reads as 0 so no conversion is undefined.
int FloorChannel(long double x) {
  if (!(x > 0.0L)) return 0;
  if (x >= 255.0L) return 255;
  return static_cast<int>(std::floor(x));
}

// Round half to even (llrint in the default rounding mode), then clamp to a channel; NaN reads as 0.
int RoundChannel(long double x) {
  if (!(x > 0.0L)) return 0;
  if (x >= 255.0L) return 255;
  return static_cast<int>(std::llrint(x));
}

// Blue, cyan, green, yellow, red over four equal quarters of the range.
Colour Rainbow(long double v, long double lo, long double hi) {
  const double q1 = static_cast<double>(lo + 0.25L * (hi - lo));
  const double q2 = static_cast<double>(lo + 0.5L * (hi - lo));
  const double q3 = static_cast<double>(lo + 0.75L * (hi - lo));
  if (v <= q1) return MakeColour(0, FloorChannel((v - lo) / (q1 - lo) * K), 255);
  if (v <= q2) return MakeColour(0, 255, FloorChannel((q2 - v) / (q2 - q1) * K));
  if (v <= q3) return MakeColour(FloorChannel((v - q2) / (q3 - q2) * K), 255, 0);
  return MakeColour(255, FloorChannel((hi - v) / (hi - q3) * K), 0);
}

// Blue, white at the middle, red.
Colour RedBlue(long double v, long double lo, long double hi) {
  const double m = static_cast<double>((hi + lo) / 2);
  if (v > m) {
    int c = RoundChannel((hi - v) / (hi - m) * 255);
    return MakeColour(255, c, c);
  }
  int c = RoundChannel((v - lo) / (m - lo) * 255);
  return MakeColour(c, c, 255);
}

Colour Gray1(long double v, long double lo, long double hi) {
  int c = FloorChannel((v - lo) / (hi - lo) * 255);
  return MakeColour(c, c, c);
}

// White at both ends, black at the middle.
Colour Gray2(long double v, long double lo, long double hi) {
  const double m = static_cast<double>((hi + lo) / 2);
  int c = v > m ? RoundChannel((v - m) / (hi - m) * 255) : RoundChannel((m - v) / (m - lo) * 255);
  return MakeColour(c, c, c);
}

// The maps over extended-precision arguments; both entry points end here.
Colour MapColour(long double v, long double lo, long double hi, ColourMapKind kind) {
  // The tabulated maps take their low end for a degenerate range.
  if (IsTabulatedMap(kind)) return hi == lo ? TableEntry(kind, 0) : TabulatedColour(kind, v, lo, hi);
  const bool colourMap = kind == ColourMapKind::Rainbow || kind == ColourMapKind::RedBlue;
  if (hi == lo) return colourMap ? MakeColour(0, 0, 255) : kBlack;
  switch (kind) {
    case ColourMapKind::Rainbow: return Rainbow(v, lo, hi);
    case ColourMapKind::RedBlue: return RedBlue(v, lo, hi);
    case ColourMapKind::Gray1: return Gray1(v, lo, hi);
    case ColourMapKind::Gray2: return Gray2(v, lo, hi);
    default: break;
  }
  return kBlack;
}

// Whether single precision keeps x what it is: no finite number turns infinite, no number
// other than zero turns zero or subnormal.
bool FloatKeeps(double x) {
  const float f = static_cast<float>(x);
  if (std::isfinite(x) && !std::isfinite(f)) return false;
  return x == 0.0 || !std::isfinite(x) || std::fabs(f) >= std::numeric_limits<float>::min();
}

// More levels than this are not checked one by one (the contour layers refuse them anyway).
constexpr double kMaxCheckedLevels = 200000.0;

}  // namespace

Colour LevelColour(float value, float minimum, float maximum, ColourMapKind kind) {
  return MapColour(value, minimum, maximum, kind);
}

Colour LevelColourExact(double value, double minimum, double maximum, ColourMapKind kind) {
  return MapColour(value, minimum, maximum, kind);
}

LevelPalette::LevelPalette(double minimum, double maximum, double step, ColourMapKind kind)
    : min_(minimum), max_(maximum), kind_(kind) {
  const float fmin = static_cast<float>(minimum), fmax = static_cast<float>(maximum);
  if (!FloatKeeps(minimum) || !FloatKeeps(maximum) || (minimum != maximum && fmin == fmax)) {
    exact_ = true;
    return;
  }
  if (!std::isfinite(step) || !(step > 0.0) || !std::isfinite(minimum) || !std::isfinite(maximum)) return;
  // The levels of the range and one beyond each end, as the bands and the legend use them.
  const double first = std::ceil(std::min(minimum, maximum) / step) - 1.0;
  const double last = std::ceil(std::max(minimum, maximum) / step) + 1.0;
  if (!std::isfinite(first) || !std::isfinite(last) || last - first > kMaxCheckedLevels) return;
  // Two neighbouring levels that single precision gives one colour, where the doubles give two.
  Colour previousSingle = 0, previousExact = 0;
  for (double n = first; n <= last; n += 1.0) {
    const double level = n * step;
    if (!FloatKeeps(level)) {
      exact_ = true;
      return;
    }
    const Colour single = LevelColour(static_cast<float>(level), fmin, fmax, kind);
    const Colour exact = LevelColourExact(level, minimum, maximum, kind);
    if (n > first && single == previousSingle && exact != previousExact) {
      exact_ = true;
      return;
    }
    previousSingle = single;
    previousExact = exact;
  }
}

Colour LevelPalette::operator()(double value) const {
  if (exact_) return LevelColourExact(value, min_, max_, kind_);
  return LevelColour(static_cast<float>(value), static_cast<float>(min_), static_cast<float>(max_), kind_);
}


double EdgeFraction(const double* values, int a, int b, double level) {
  const double va = values[a], vb = values[b];
  if (vb == va) return 2.0;
  const double t = (level - va) / (vb - va);
  // A NaN node value gives no crossing rather than a NaN point.
  return std::isnan(t) ? 2.0 : t;
}

}  // namespace corvane
