// The base colour maps (four computed, three tabulated) and the level crossing on a cell edge, shared by the contour
// layers, the legend, the value readout and the OpenGL view.
#pragma once
#include "render/Colour.h"

namespace corvane {

enum class ColorMapKind { Rainbow, RedBlue, Gray1, Gray2, None, Viridis, Cividis, CoolWarm };

// Colour of `value` within [minimum, maximum]; single-precision arguments on purpose.
Colour LevelColor(float value, float minimum, float maximum, ColorMapKind kind);

// Fraction along edge a->b where `level` is crossed; 2.0 (no crossing) when both values are
// equal or a value is NaN.
double EdgeFraction(const double* values, int a, int b, double level);

}  // namespace corvane
