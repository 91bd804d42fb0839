// The tabulated colour maps: viridis and cividis (perceptually uniform, as published with
// matplotlib) and Moreland's diverging cool-warm map, 256 entries each.
#pragma once
#include "contour/ColourMap.h"

namespace corvane {

// Whether `kind` is one of the tabulated maps.
bool IsTabulatedMap(ColourMapKind kind);

// Colour of `value` within [lo, hi] from the table of `kind`: entry Round(255 (v - lo)/(hi - lo)),
// clamped, so lo and hi take the two end entries; a NaN takes the low end.
Colour TabulatedColour(ColourMapKind kind, long double value, long double lo, long double hi);

// The inverse for the value readout: the value whose entry lies nearest to `colour`.
double TabulatedValue(ColourMapKind kind, Colour colour, double hi, double lo);

// Entry `index` (0..255) of the table of `kind`; black for a map that is not tabulated.
Colour TableEntry(ColourMapKind kind, int index);

}  // namespace corvane
