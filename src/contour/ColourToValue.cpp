#include "contour/ColourToValue.h"

#include "contour/ColourTables.h"

namespace corvane {

double ColourToValue(Colour colour, double hi, double lo, ColourMapKind kind) {
  if (!(hi > lo)) return lo;
  if (IsTabulatedMap(kind)) return TabulatedValue(kind, colour, hi, lo);
  const int r = RedOf(colour), g = GreenOf(colour), b = BlueOf(colour);
  const double q = (hi - lo) / 4;
  const double m = (hi + lo) / 2;
  switch (kind) {
    case ColourMapKind::Rainbow:
      if (r == 0) return b == 255 ? lo + g * q / 255 : m - b * q / 255;
      return g == 255 ? m + r * q / 255 : hi - g * q / 255;
    case ColourMapKind::RedBlue:
      if (r == 255 && b != 255) return hi - b * (hi - m) / 255;
      return lo + r * (m - lo) / 255;
    case ColourMapKind::Gray1:
      return lo + (hi - lo) * r / 255;
    default:
      break;
  }
  return lo;
}

}  // namespace corvane
