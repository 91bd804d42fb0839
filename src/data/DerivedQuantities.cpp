#include "data/DerivedQuantities.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "data/BothCores.h"
#include "data/GasFormula.h"

namespace corvane {
namespace {

constexpr std::int64_t kSplitAt = 1 << 16;

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

  const GasFormula formula(gamma, R);
  RunOnBothCores(n, kSplitAt, [&](std::int64_t begin, std::int64_t end) {
    for (std::int64_t k = begin; k < end; ++k) formula(u[k], v[k], T[k], p ? p[k] : kFallbackPressure, mach[k], total[k]);
  });
  return true;
}

void AutoMaxMin(const FieldDataSet& data, FieldView& view) {
  // Every row with values: the file's columns, the derived rows and those added after them.
  const std::size_t rows = data.Values.size();
  view.ContourMax.resize(std::max(rows, static_cast<std::size_t>(std::max(data.ColumnCount, 0))), 0.0);
  view.ContourMin.resize(view.ContourMax.size(), 0.0);
  view.ContourStep.resize(view.ContourMax.size(), 0.0);
  const std::int64_t n = data.NodeCount;
  if (n <= 0) return;
  // Each half finds its own extremes; NaN and infinite values are passed over, so one unreadable
  // or overflowed node does not turn a whole range into NaN or infinity. A row without a finite
  // value keeps NaN.
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  std::vector<double> hi[2] = {std::vector<double>(rows, kNaN), std::vector<double>(rows, kNaN)};
  std::vector<double> lo[2] = {std::vector<double>(rows, kNaN), std::vector<double>(rows, kNaN)};
  RunOnBothCores(n, kSplitAt, [&](std::int64_t begin, std::int64_t end) {
    const int part = begin == 0 ? 0 : 1;
    for (std::size_t row = 0; row < rows; ++row) {
      const double* v = data.Values[row].data();
      double mx = kNaN, mn = kNaN;
      std::int64_t k = begin;
      while (k < end && !std::isfinite(v[k])) ++k;
      if (k < end) mx = mn = v[k];
      for (; k < end; ++k) {
        const double x = v[k];
        const bool finite = std::fabs(x) <= std::numeric_limits<double>::max();  // false for NaN too
        mx = finite && x > mx ? x : mx;
        mn = finite && x < mn ? x : mn;
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
    view.ContourMax[row] = mx;
    view.ContourMin[row] = mn;
  }
}

void AutoStep(FieldView& view, int divisions) {
  const int n = std::clamp(divisions, 2, 100);
  const std::size_t rows = std::min(view.ContourMax.size(), view.ContourMin.size());
  view.ContourStep.resize(std::max(view.ContourStep.size(), rows), 0.0);
  for (std::size_t k = 0; k < rows; ++k) {
    // Not rounded: a maximum typed below the minimum gives a negative step.
    view.ContourStep[k] = view.ContourMax[k] == view.ContourMin[k] ? 1.0 : (view.ContourMax[k] - view.ContourMin[k]) / n;
  }
}

void UpdateLineMasks(const FieldDataSet& data, FieldView& view, int iStep, int jStep) {
  const int si = std::max(iStep, 1);
  const int sj = std::max(jStep, 1);
  auto fill = [](std::vector<bool>& mask, int count, int step) {
    mask.assign(static_cast<std::size_t>(std::max(count, 0)), false);
    for (int k = 0; k < count; ++k) mask[static_cast<std::size_t>(k)] = k % step == 0;
    if (count > 0) mask[static_cast<std::size_t>(count - 1)] = true;
  };
  view.Masks.resize(data.Zones.size());
  for (std::size_t z = 0; z < data.Zones.size(); ++z) {
    fill(view.Masks[z].ILineMask, data.Zones[z].NI, si);
    fill(view.Masks[z].JLineMask, data.Zones[z].NJ, sj);
  }
}

}  // namespace corvane
