// The number-to-text conversion of the axis format settings, used by the axes, contour labels,
// the rescale and (with its own settings) the legend.
#pragma once
#include <string>

namespace corvane {

enum class NumberStyle { Exponent, Fixed, General };

struct NumberFormat {
  NumberStyle style = NumberStyle::General;  // ShowExpCheck / ShowFixCheck / ShowAutoCheck
  int precision = 5;                         // PrecisionBox
  int digits = 4;                            // DigitsBox
  // Not a control: with round levels, the step whose decimals level texts carry (0 = unused).
  double roundStep = 0.0;
};

std::string FormatAxisNumber(double value, const NumberFormat& format);

// The general format with up to 15 significant digits, as edit boxes show numbers.
std::string FormatGeneral15(double value);

}  // namespace corvane
