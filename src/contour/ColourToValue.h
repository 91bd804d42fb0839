// The value readout under the cursor: a filled-contour pixel's colour back to the value that the
// colour map gave it, within the range of the last contour drawing.
#pragma once
#include "contour/ColourMap.h"
#include "render/Colour.h"

namespace corvane {

// Inverse of LevelColour on the map's own colours; lo when hi is not above lo. Other colours
// (grid lines, labels, background) give a meaningless but finite number for finite hi and lo.
double ColourToValue(Colour colour, double hi, double lo, ColourMapKind kind);

}  // namespace corvane
