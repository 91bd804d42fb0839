#include "data/DerivedQuantities.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "data/BothCores.h"

namespace corvane {
namespace {

constexpr double kFallbackTemperature = 288.3;
constexpr double kFallbackPressure = 101325.0;
constexpr std::int64_t kSplitAt = 1 << 16;

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

  long double operator()(long double b) const {
    if (!(b > 0.0L) || b > 1e300L) return std::pow(b, e_);  // zero, negative, NaN, huge: rare
    if (!halfSteps_) return std::exp2(e_ * std::log2(b));
    long double p = q_ >= 0 ? IntegerPower(b, static_cast<unsigned long long>(q_))
                            : 1.0L / IntegerPower(b, static_cast<unsigned long long>(-q_));
    if (r_) p *= std::sqrt(b);
    if (delta_ != 0.0L) {
      // |x| < 1e-6, so three terms of exp(x) are exact far beyond double precision.
      const long double x = delta_ * static_cast<long double>(std::log(static_cast<double>(b)));
      p *= 1.0L + x + x * x / 2.0L + x * x * x / 6.0L;
    }
    return p;
  }

 private:
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

}  // namespace

bool ComputeDerivedQuantities(FieldDataSet& data, int iu, int iv, int iT, int ip, double gamma, double R,
                              Notifier& notifier) {
  const int variables = data.ColumnCount - 2;
  auto selectable = [&](int row) { return row >= 0 && row < variables; };
  if (!selectable(iu) || !selectable(iv) || !selectable(iT)) {
    notifier.Warning("x速度、y速度、温度を設定してください");
    return false;
  }
  const std::int64_t n = data.NodeCount;
  const std::size_t rows = static_cast<std::size_t>(data.ColumnCount);
  if (n <= 0 || data.Values.size() < rows) return true;
  const double* u = data.Values[static_cast<std::size_t>(iu)].data();
  const double* v = data.Values[static_cast<std::size_t>(iv)].data();
  const double* T = data.Values[static_cast<std::size_t>(iT)].data();
  const double* p = selectable(ip) ? data.Values[static_cast<std::size_t>(ip)].data() : nullptr;
  double* mach = data.Values[static_cast<std::size_t>(data.MachNumberRow())].data();
  double* total = data.Values[static_cast<std::size_t>(data.TotalPressureRow())].data();

  const long double g = gamma;
  const long double r = R;
  const ExtendedPower power(g / (g - 1.0L));
  const long double halfGammaMinusOne = (g - 1.0L) * 0.5L;
  // Floating-point exceptions stay masked: gamma = 1, R = 0 or a negative base give inf or NaN.
  RunOnBothCores(n, kSplitAt, [&](std::int64_t begin, std::int64_t end) {
    for (std::int64_t k = begin; k < end; ++k) {
      long double t = T[k];
      if (!(t > 0.0L)) t = kFallbackTemperature;  // the stored temperature is not changed
      const long double uk = u[k], vk = v[k];
      const double m = static_cast<double>(std::sqrt((uk * uk + vk * vk) / g / r / t));
      mach[k] = m;
      long double pk = p ? p[k] : kFallbackPressure;
      if (!(pk > 0.0L)) pk = kFallbackPressure;
      const long double ml = m;  // the Mach number as stored
      total[k] = static_cast<double>(pk * power(1.0L + halfGammaMinusOne * ml * ml));
    }
  });
  return true;
}

void AutoMaxMin(FieldDataSet& data) {
  const std::size_t rows = std::min(data.Values.size(), static_cast<std::size_t>(std::max(data.ColumnCount, 0)));
  data.ContourMax.resize(static_cast<std::size_t>(std::max(data.ColumnCount, 0)), 0.0);
  data.ContourMin.resize(data.ContourMax.size(), 0.0);
  data.ContourStep.resize(data.ContourMax.size(), 0.0);
  const std::int64_t n = data.NodeCount;
  if (n <= 0) return;
  // Each half finds its own extremes; NaN values are passed over, so one unreadable node does
  // not turn a whole range into NaN. A row of NaN only keeps NaN.
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  std::vector<double> hi[2] = {std::vector<double>(rows, kNaN), std::vector<double>(rows, kNaN)};
  std::vector<double> lo[2] = {std::vector<double>(rows, kNaN), std::vector<double>(rows, kNaN)};
  RunOnBothCores(n, kSplitAt, [&](std::int64_t begin, std::int64_t end) {
    const int part = begin == 0 ? 0 : 1;
    for (std::size_t row = 0; row < rows; ++row) {
      const double* v = data.Values[row].data();
      double mx = kNaN, mn = kNaN;
      std::int64_t k = begin;
      while (k < end && std::isnan(v[k])) ++k;
      if (k < end) mx = mn = v[k];
      for (; k < end; ++k) {
        const double x = v[k];
        mx = x > mx ? x : mx;
        mn = x < mn ? x : mn;
      }
      hi[part][row] = mx;
      lo[part][row] = mn;
    }
  });
  // Merge the two halves.
  for (std::size_t row = 0; row < rows; ++row) {
    double mx = hi[0][row], mn = lo[0][row];
    if (std::isnan(mx) || hi[1][row] > mx) mx = hi[1][row];
    if (std::isnan(mn) || lo[1][row] < mn) mn = lo[1][row];
    data.ContourMax[row] = mx;
    data.ContourMin[row] = mn;
  }
}

void AutoStep(FieldDataSet& data, int divisions) {
  const int n = std::clamp(divisions, 2, 100);
  const std::size_t rows = std::min(data.ContourMax.size(), data.ContourMin.size());
  data.ContourStep.resize(std::max(data.ContourStep.size(), rows), 0.0);
  for (std::size_t k = 0; k < rows; ++k) {
    // Not rounded: a maximum typed below the minimum gives a negative step.
    data.ContourStep[k] = data.ContourMax[k] == data.ContourMin[k] ? 1.0 : (data.ContourMax[k] - data.ContourMin[k]) / n;
  }
}

void UpdateLineMasks(FieldDataSet& data, int iStep, int jStep) {
  const int si = std::max(iStep, 1);
  const int sj = std::max(jStep, 1);
  auto fill = [](std::vector<bool>& mask, int count, int step) {
    mask.assign(static_cast<std::size_t>(std::max(count, 0)), false);
    for (int k = 0; k < count; ++k) mask[static_cast<std::size_t>(k)] = k % step == 0;
    if (count > 0) mask[static_cast<std::size_t>(count - 1)] = true;
  };
  for (ZoneGrid& zone : data.Zones) {
    fill(zone.ILineMask, zone.NI, si);
    fill(zone.JLineMask, zone.NJ, sj);
  }
}

}  // namespace corvane
