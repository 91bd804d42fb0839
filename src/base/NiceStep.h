// The 1-2-5 step: a rough step's mantissa (the step scaled into about 1 .. 10) replaced by 1, 2, 5
// or 10. Three routines choose round steps, each in its own way, and their pictures depend on it:
//  - the plot's axes (AxisTickStep, render/): about five ticks over the range; the mantissa is
//    found by repeated factors of ten, which reach it from any finite double, 2 is taken from 1.5
//    and 5 from 3, and a mantissa past 9 (above 1) counts as the next decade's 1;
//  - the profile plot (NiceTicks, profile/): about six ticks; the smallest of 1, 2, 5 and 10 not
//    below the mantissa, which comes from log10 and pow;
//  - the round contour levels (NearestRoundStep, RoundLevels.h): the nearest of 1, 2, 2.5, 5 and
//    10 on a logarithmic scale, kept as a decimal so that the levels print exactly.
// The first two share the choice below; the levels' choice has 2.5 and a distance of its own.
#pragma once

namespace corvane {

// 1, 2, 5 or 10 for `mantissa`: the largest whose threshold it reaches (>=), 1 below all three.
inline double OneTwoFive(double mantissa, double twoFrom, double fiveFrom, double tenFrom) {
  if (mantissa >= tenFrom) return 10.0;
  if (mantissa >= fiveFrom) return 5.0;
  return mantissa >= twoFrom ? 2.0 : 1.0;
}

}  // namespace corvane
