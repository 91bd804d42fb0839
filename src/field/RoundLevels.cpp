#include "field/RoundLevels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace corvane {
namespace {

// 10^n exactly for the range of doubles that matter here.
double PowerOfTen(int n) { return std::pow(10.0, n); }

// k x tenths x 10^(exponent - 1), divided rather than multiplied by a negative power so that
// decimal steps come out as their nearest double.
double Scaled(long double whole, int exponent) {
  const int e = exponent - 1;
  return e >= 0 ? static_cast<double>(whole * PowerOfTen(e)) : static_cast<double>(whole / PowerOfTen(-e));
}

// A quotient within rounding of a whole number is that number; otherwise floor or ceil.
double NearWhole(double q) {
  const double r = std::nearbyint(q);
  return std::abs(q - r) <= 1e-9 * std::max(1.0, std::abs(q)) ? r : q;
}
double SnapDown(double q) { return std::floor(NearWhole(q)); }
double SnapUp(double q) { return std::ceil(NearWhole(q)); }

}  // namespace

double RoundStep::Value() const { return Scaled(tenths, exponent); }

double RoundStep::Multiple(long long k) const { return Scaled(static_cast<long double>(k) * tenths, exponent); }

int RoundStep::Decimals() const {
  const int d = (tenths == 25 ? 1 : 0) - exponent;
  return std::max(d, 0);
}

RoundStep NearestRoundStep(double rough) {
  static const int kTenths[] = {10, 20, 25, 50, 100};
  int exponent = static_cast<int>(std::floor(std::log10(rough)));
  double mantissa = rough / PowerOfTen(exponent);  // about 1 .. 10
  if (mantissa < 1.0) {
    mantissa *= 10.0;
    --exponent;
  }
  RoundStep best;
  double bestDistance = 1e300;
  for (int t : kTenths) {
    const double distance = std::abs(std::log(mantissa * 10.0 / t));
    if (distance < bestDistance) {
      bestDistance = distance;
      best = t == 100 ? RoundStep{10, exponent + 1} : RoundStep{t, exponent};
    }
  }
  return best;
}

bool RoundRange(double& lo, double& hi, double& step, int divisions) {
  if (!std::isfinite(lo) || !std::isfinite(hi) || !(hi > lo)) return false;
  const int n = std::clamp(divisions, 2, 100);
  const double rough = (hi - lo) / n;
  if (!(rough > 0.0) || !std::isfinite(rough)) return false;
  const RoundStep s = NearestRoundStep(rough);
  const double v = s.Value();
  if (!(v > 0.0) || !std::isfinite(v)) return false;
  // A value already on a multiple (within rounding) stays there: a second snap changes nothing.
  const double kLo = SnapDown(lo / v), kHi = SnapUp(hi / v);
  if (!(std::abs(kLo) < 9e15) || !(std::abs(kHi) < 9e15)) return false;
  lo = s.Multiple(static_cast<long long>(kLo));
  hi = s.Multiple(static_cast<long long>(kHi));
  if (!(hi > lo)) hi = s.Multiple(static_cast<long long>(kLo) + 1);
  step = v;
  return true;
}

std::string RoundLevelText(double value, double step) {
  char buffer[64];
  if (!(step > 0.0) || !std::isfinite(step) || !std::isfinite(value)) {
    std::snprintf(buffer, sizeof buffer, "%.6g", value);
    return buffer;
  }
  const RoundStep s = NearestRoundStep(step);
  const double magnitude = std::max(std::abs(value), step);
  if (magnitude >= 1e7 || step < 1e-6) {
    // Exponent form with as many significant digits as the step resolves.
    const int digits = std::clamp(static_cast<int>(std::floor(std::log10(magnitude))) - s.exponent +
                                      (s.tenths == 25 ? 1 : 0), 0, 15);
    std::snprintf(buffer, sizeof buffer, "%.*e", digits, value);
    return buffer;
  }
  std::snprintf(buffer, sizeof buffer, "%.*f", s.Decimals(), value);
  std::string text = buffer;
  // "-0.00" is a zero.
  if (text.find_first_not_of("-0.") == std::string::npos && text[0] == '-') text.erase(0, 1);
  return text;
}

}  // namespace corvane
