// Contour levels on round numbers: the automatic step snapped to 1, 2, 2.5 or 5 x 10^n and the
// automatic range widened to multiples of that step.
#pragma once
#include <string>


namespace corvane {

// A round step mantissa x 10^exponent, mantissa one of 10, 20, 25, 50 (tenths, so that 2.5 is
// whole); value() is the step as the nearest double to the decimal number.
struct RoundStep {
  int tenths = 10;
  int exponent = 0;
  double Value() const;
  // k steps as the nearest double to the decimal k x step (0.05 x 13 gives exactly 0.65).
  double Multiple(long long k) const;
  // Decimal places the step needs: 0.05 -> 2, 2.5 -> 1, 20 -> 0.
  int Decimals() const;
};

// The round step nearest to `rough` (on a logarithmic scale); rough must be finite and > 0. Unlike
// the axes' 1-2-5 steps (NiceStep.h) it offers 2.5 as well.
RoundStep NearestRoundStep(double rough);

// Snaps [lo, hi] outwards to multiples of the round step nearest to (hi - lo) / divisions.
// Returns false, changing nothing, for an empty, inverted or non-finite range.
bool RoundRange(double& lo, double& hi, double& step, int divisions);

// `value` with the decimals a round step needs ("0.65" for a step of 0.05); a step that is not
// finite and positive falls back to the general format with 6 significant digits.
std::string RoundLevelText(double value, double step);

}  // namespace corvane
