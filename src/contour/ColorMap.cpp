#include "contour/ColorMap.h"

#include <cmath>

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

}  // namespace

Colour LevelColor(float value, float minimum, float maximum, ColorMapKind kind) {
  // The tabulated maps take their low end for a degenerate range.
  if (IsTabulatedMap(kind)) return maximum == minimum ? TableEntry(kind, 0) : TabulatedColour(kind, value, minimum, maximum);
  const bool colourMap = kind == ColorMapKind::Rainbow || kind == ColorMapKind::RedBlue;
  if (maximum == minimum) return colourMap ? MakeColour(0, 0, 255) : kBlack;
  const long double v = value, lo = minimum, hi = maximum;
  switch (kind) {
    case ColorMapKind::Rainbow: return Rainbow(v, lo, hi);
    case ColorMapKind::RedBlue: return RedBlue(v, lo, hi);
    case ColorMapKind::Gray1: return Gray1(v, lo, hi);
    case ColorMapKind::Gray2: return Gray2(v, lo, hi);
    default: break;
  }
  return kBlack;
}

double EdgeFraction(const double* values, int a, int b, double level) {
  const double va = values[a], vb = values[b];
  if (vb == va) return 2.0;
  const double t = (level - va) / (vb - va);
  // A NaN node value gives no crossing rather than a NaN point.
  return std::isnan(t) ? 2.0 : t;
}

}  // namespace corvane
