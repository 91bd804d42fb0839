#include "field/DerivedQuantities.h"

#include <algorithm>
#include <cstdint>

#include "base/BothCores.h"
#include "field/GasFormula.h"

namespace corvane {
namespace {

constexpr std::int64_t kSplitAt = 1 << 16;

}  // namespace

NodeRow ComputeGasRow(const FieldDataSet& data, int iu, int iv, int iT, int ip, double gamma, double R, bool mach) {
  const int variables = data.ColumnCount - 2;
  auto selectable = [&](int row) {
    return row >= 0 && row < variables && data.Values[static_cast<std::size_t>(row)].size() >= static_cast<std::size_t>(data.NodeCount);
  };
  const std::int64_t n = std::max(data.NodeCount, 0);
  if (!selectable(iu) || !selectable(iv) || !selectable(iT)) return NodeRow(static_cast<std::size_t>(n), 0.0);
  const double* u = data.Values[static_cast<std::size_t>(iu)].data();
  const double* v = data.Values[static_cast<std::size_t>(iv)].data();
  const double* T = data.Values[static_cast<std::size_t>(iT)].data();
  const double* p = selectable(ip) ? data.Values[static_cast<std::size_t>(ip)].data() : nullptr;
  NodeRow out(static_cast<std::size_t>(n));
  double* to = out.data();
  const GasFormula formula(gamma, R);
  RunOnBothCores(n, kSplitAt, [&](std::int64_t begin, std::int64_t end) {
    double m, total;
    for (std::int64_t k = begin; k < end; ++k) {
      formula(u[k], v[k], T[k], p ? p[k] : kFallbackPressure, m, total);
      to[k] = mach ? m : total;
    }
  });
  return out;
}

}  // namespace corvane
