// The base colour maps (four computed, three tabulated) and the level crossing on a cell edge, shared by the contour
// layers, the legend, the value readout and the OpenGL view.
#pragma once
#include "render/Colour.h"

namespace corvane {

enum class ColourMapKind { Rainbow, RedBlue, Gray1, Gray2, None, Viridis, Cividis, CoolWarm };

// Colour of `value` within [minimum, maximum]; single-precision arguments on purpose.
Colour LevelColour(float value, float minimum, float maximum, ColourMapKind kind);

// The colour of `value` from the double arguments themselves, for ranges single precision
// cannot tell apart.
Colour LevelColourExact(double value, double minimum, double maximum, ColourMapKind kind);

// The colours of the levels n * step of one drawing. They come from single-precision arguments
// as LevelColour takes them, unless that rounding would give two neighbouring levels of the range
// one colour where the doubles give two, or merge the range's ends, or send a number to zero or
// infinity (a field of about 1e-300, a range of 0.1 around 1e5): then every colour of the
// drawing is computed from the doubles.
class LevelPalette {
 public:
  LevelPalette(double minimum, double maximum, double step, ColourMapKind kind);
  Colour operator()(double value) const;
  bool Exact() const { return exact_; }

 private:
  double min_, max_;
  ColourMapKind kind_;
  bool exact_ = false;
};

// Fraction along edge a->b where `level` is crossed; 2.0 (no crossing) when both values are
// equal or a value is NaN.
double EdgeFraction(const double* values, int a, int b, double level);

}  // namespace corvane
