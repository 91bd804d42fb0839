// The Mach number and total pressure of one node, in extended precision: one formula for the
// rows of every reader, so all give the same bits.
#pragma once
#include <bit>
#include <cmath>
#include <cstdint>

namespace corvane {

inline constexpr double kFallbackTemperature = 288.3;
inline constexpr double kFallbackPressure = 101325.0;

// The natural logarithm of a normal x > 0 to about 1e-16, without a division (the divider is
// what the extended-precision formula below waits on): x = 2^e m with m in [1, 2); c is the
// centre of m's 1/128 of the range, and log m = log c + log1p(m / c - 1), |m / c - 1| < 1/256,
// six terms of the series.
inline double NearLog(double x) {
  struct Table {
    double inverse[128], log[128];
    Table() {
      for (int k = 0; k < 128; ++k) {
        const double centre = 1.0 + (k + 0.5) / 128.0;
        inverse[k] = 1.0 / centre;
        log[k] = std::log(centre);
      }
    }
  };
  static const Table table;
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
  const int e = static_cast<int>(bits >> 52) - 1023;
  const int k = static_cast<int>((bits >> 45) & 127);
  const double m = std::bit_cast<double>((bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1023} << 52));
  const double r = m * table.inverse[k] - 1.0;
  const double series = r * (1.0 + r * (-1.0 / 2 + r * (1.0 / 3 + r * (-1.0 / 4 + r * (1.0 / 5 + r * (-1.0 / 6))))));
  return e * 0.69314718055994530942 + (table.log[k] + series);
}

// b^e in extended precision for positive b, without the library's powl, which costs more than
// the rest of a load. The exponent gamma / (gamma - 1) is nearly always within rounding of a
// multiple of 1/2 (3.5 for air), so b^e = b^q * sqrt(b)^r * b^delta with an integer power, one
// square root and a series for the tiny rest delta. Other exponents go through exp2(e log2 b).
class ExtendedPower {
 public:
  explicit ExtendedPower(long double exponent) : e_(exponent) {
    const long double twice = std::nearbyint(exponent * 2.0L);
    delta_ = exponent - twice / 2.0L;
    halfSteps_ = std::fabs(twice) <= 2048.0L && std::fabs(delta_) <= 1e-9L;
    if (halfSteps_) {
      const long long t = static_cast<long long>(twice);
      q_ = t >= 0 ? t / 2 : -((-t + 1) / 2);  // floor(t / 2)
      r_ = static_cast<int>(t - 2 * q_);
    }
  }

  // b^e.
  long double operator()(long double b) const {
    if (!(b > 1e-300L) || b > 1e300L) return std::pow(b, e_);  // tiny, negative, NaN, huge: rare
    if (!halfSteps_) return std::exp2(e_ * std::log2(b));
    long double p = q_ >= 0 ? IntegerPower(b, static_cast<unsigned long long>(q_))
                            : 1.0L / IntegerPower(b, static_cast<unsigned long long>(-q_));
    if (r_) p *= std::sqrt(b);
    if (delta_ != 0.0L) {
      // |x| < 1e-6, so three terms of exp(x) are exact far beyond double precision.
      const long double x = delta_ * static_cast<long double>(NearLog(static_cast<double>(b)));
      // Below 2^-40 the square and cube terms are under half a unit of 1 + x and change nothing.
      p *= std::fabs(x) < 0x1p-40L ? 1.0L + x : 1.0L + x + x * x / 2.0L + x * x * x / 6.0L;
    }
    return p;
  }

 private:
  // b^n by squaring.
  static long double IntegerPower(long double b, unsigned long long n) {
    long double r = 1.0L;
    while (n) {
      if (n & 1u) r *= b;
      b *= b;
      n >>= 1;
    }
    return r;
  }

  long double e_;
  long double delta_ = 0.0L;
  bool halfSteps_ = false;
  long long q_ = 0;
  int r_ = 0;
};

// M = sqrt((u^2 + v^2) / gamma / R / T) and p0 = p (1 + (gamma - 1) / 2 M^2)^(gamma / (gamma - 1)),
// with T <= 0 read as 288.3 K and p <= 0 (or no pressure column) as 101325 Pa. Floating-point
// exceptions stay masked: gamma = 1, R = 0 or a negative base give inf or NaN.
class GasFormula {
 public:
  GasFormula(double gamma, double R)
      : g_(gamma), r_(R), power_(g_ / (g_ - 1.0L)), halfGammaMinusOne_((g_ - 1.0L) * 0.5L) {}

  // The Mach number and total pressure of a node; pass kFallbackPressure without a pressure.
  void operator()(double u, double v, double T, double p, double& mach, double& total) const {
    long double t = T;
    if (!(t > 0.0L)) t = kFallbackTemperature;  // the stored temperature is not changed
    const long double uk = u, vk = v;
    const double m = static_cast<double>(std::sqrt((uk * uk + vk * vk) / g_ / r_ / t));
    mach = m;
    long double pk = p;
    if (!(pk > 0.0L)) pk = kFallbackPressure;
    const long double ml = m;  // the Mach number as stored
    total = static_cast<double>(pk * power_(1.0L + halfGammaMinusOne_ * ml * ml));
  }

 private:
  long double g_, r_;
  ExtendedPower power_;
  long double halfGammaMinusOne_;
};

}  // namespace corvane
