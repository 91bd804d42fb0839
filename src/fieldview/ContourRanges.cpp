#include "fieldview/ContourRanges.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "base/BothCores.h"
#include "base/Errors.h"
#include "field/DeferredRows.h"
#include "field/RoundLevels.h"

namespace corvane {
namespace {

constexpr std::int64_t kSplitAt = 1 << 16;

// ContourMax and ContourMin in `view` of the rows `which`, which hold a value for every node.
void AutoMaxMinOf(const FieldDataSet& data, FieldView& view, const std::vector<std::size_t>& which) {
  const std::int64_t n = data.NodeCount;
  if (n <= 0 || which.empty()) return;
  const std::size_t rows = which.size();
  // Each half finds its own extremes; NaN and infinite values are passed over, so one unreadable
  // or overflowed node does not turn a whole range into NaN or infinity. A row without a finite
  // value keeps NaN.
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  std::vector<double> hi[2] = {std::vector<double>(rows, kNaN), std::vector<double>(rows, kNaN)};
  std::vector<double> lo[2] = {std::vector<double>(rows, kNaN), std::vector<double>(rows, kNaN)};
  RunOnBothCores(n, kSplitAt, [&](std::int64_t begin, std::int64_t end) {
    const int part = begin == 0 ? 0 : 1;
    for (std::size_t w = 0; w < rows; ++w) {
      const double* v = data.Values[which[w]].data();
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
      hi[part][w] = mx;
      lo[part][w] = mn;
    }
  });
  // Merge the two halves.
  for (std::size_t w = 0; w < rows; ++w) {
    double mx = hi[0][w], mn = lo[0][w];
    if (std::isnan(mx) || hi[1][w] > mx) mx = hi[1][w];
    if (std::isnan(mn) || lo[1][w] < mn) mn = lo[1][w];
    view.ContourMax[which[w]] = mx;
    view.ContourMin[which[w]] = mn;
  }
}

void SizeRangesFor(const FieldDataSet& data, FieldView& view) {
  const std::size_t rows = data.Values.size();
  view.ContourMax.resize(std::max(rows, static_cast<std::size_t>(std::max(data.ColumnCount, 0))), 0.0);
  view.ContourMin.resize(view.ContourMax.size(), 0.0);
  view.ContourStep.resize(view.ContourMax.size(), 0.0);
}

}  // namespace

void AutoMaxMin(const FieldDataSet& data, FieldView& view) {
  // Every row with values: the file's columns, the derived rows and those added after them. A
  // row not computed yet keeps its entries; it gets its range when it is computed.
  SizeRangesFor(data, view);
  std::vector<std::size_t> which;
  const std::size_t n = static_cast<std::size_t>(std::max(data.NodeCount, 0));
  for (std::size_t row = 0; row < data.Values.size(); ++row)
    if (data.Values[row].size() >= n) which.push_back(row);
  AutoMaxMinOf(data, view, which);
}

void AutoMaxMinOfRow(const FieldDataSet& data, FieldView& view, int row) {
  SizeRangesFor(data, view);
  const std::size_t k = static_cast<std::size_t>(row);
  if (row < 0 || k >= data.Values.size() || data.Values[k].size() < static_cast<std::size_t>(std::max(data.NodeCount, 0)))
    return;
  AutoMaxMinOf(data, view, {k});
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

void ApplyRoundLevels(FieldView& view, const LoadOptions& options) {
  if (!options.RoundLevelsCheck || !(options.AutoMaxMinCheck || options.AutoStepCheck)) return;
  const std::size_t rows = std::min(view.ContourMax.size(), view.ContourMin.size());
  view.ContourStep.resize(std::max(view.ContourStep.size(), rows), 0.0);
  for (std::size_t k = 0; k < rows; ++k) {
    double lo = view.ContourMin[k], hi = view.ContourMax[k], step = view.ContourStep[k];
    if (!RoundRange(lo, hi, step, options.StepBar)) continue;
    if (options.AutoMaxMinCheck) {
      view.ContourMin[k] = lo;
      view.ContourMax[k] = hi;
    }
    if (options.AutoStepCheck) view.ContourStep[k] = step;
  }
}

bool TakeComputedRanges(const FieldDataSet& data, FieldView& view, const LoadOptions& options) {
  bool taken = false;
  for (int kind = 0; kind < kDerivedRowKinds; ++kind) {
    const int row = DerivedRowOf(data, kind);
    bool& pending = view.derivedRangePending[static_cast<std::size_t>(kind)];
    if (row < 0 || !pending || RowPending(data, row)) continue;
    pending = false;
    if (options.AutoMaxMinCheck) AutoMaxMinOfRow(data, view, row);
    taken = true;
  }
  if (!taken) return false;
  if (options.AutoStepCheck) AutoStep(view, options.StepBar);
  ApplyRoundLevels(view, options);
  return true;
}

bool AddShownFlowRows(FieldDataSet& data, FieldView& view, int iu, int iv) {
  if (!AddDeferredFlowRows(data, iu, iv)) return false;
  view.derivedRangePending[kVorticityRow] = view.derivedRangePending[kSpeedRow] = true;
  for (std::vector<double>* r : {&view.ContourMax, &view.ContourMin, &view.ContourStep}) r->resize(data.Values.size(), 0.0);
  return true;
}

int AddShownFormula(FieldDataSet& data, FieldView& view, const FormulaDefinition& formula) {
  const int row = AddFormulaVariable(data, formula);
  const NodeRow& v = data.Values[static_cast<std::size_t>(row)];
  double hi = std::numeric_limits<double>::quiet_NaN(), lo = hi;
  for (double x : v) {
    if (std::isnan(x)) continue;
    if (std::isnan(hi) || x > hi) hi = x;
    if (std::isnan(lo) || x < lo) lo = x;
  }
  const auto at = static_cast<std::ptrdiff_t>(row);
  for (std::vector<double>* c : {&view.ContourMax, &view.ContourMin, &view.ContourStep}) {
    if (c->size() < static_cast<std::size_t>(row)) c->resize(static_cast<std::size_t>(row), 0.0);
    c->insert(c->begin() + at, 0.0);
  }
  view.ContourMax[static_cast<std::size_t>(row)] = hi;
  view.ContourMin[static_cast<std::size_t>(row)] = lo;
  view.ContourStep[static_cast<std::size_t>(row)] = hi == lo ? 1.0 : (hi - lo) / 50.0;
  return row;
}

int AddShownFormulas(FieldDataSet& data, FieldView& view, const std::vector<std::string>& formulas,
                     Notifier& notifier) {
  int added = 0;
  for (const std::string& text : formulas) {
    try {
      AddShownFormula(data, view, ParseFormulaText(text));
      ++added;
    } catch (const CorvaneError& e) {
      notifier.Warning(std::string(e.what()) + "。この変数は追加しません");
    }
  }
  return added;
}

}  // namespace corvane
