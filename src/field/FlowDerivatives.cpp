#include "field/FlowDerivatives.h"

#include <cmath>
#include <limits>

#include "field/VariableRows.h"

namespace corvane {
namespace {

// Difference of `f` along one grid direction at position n of a line of `count` nodes, per
// index step: central inside, one-sided at both ends.
template <class F>
double Difference(const F& f, int n, int count) {
  if (count < 2) return 0.0;
  if (n == 0) return f(1) - f(0);
  if (n == count - 1) return f(n) - f(n - 1);
  return 0.5 * (f(n + 1) - f(n - 1));
}

}  // namespace

NodeRow ComputeVorticity(const FieldDataSet& data, int iu, int iv) {
  NodeRow out(static_cast<std::size_t>(std::max(data.NodeCount, 0)), std::numeric_limits<double>::quiet_NaN());
  const std::size_t rows = data.Values.size();
  if (iu < 0 || iv < 0 || static_cast<std::size_t>(iu) >= rows || static_cast<std::size_t>(iv) >= rows) return out;
  const NodeRow& u = data.Values[static_cast<std::size_t>(iu)];
  const NodeRow& v = data.Values[static_cast<std::size_t>(iv)];
  for (const ZoneGrid& z : data.Zones) {
    if (z.NI < 2 || z.NJ < 2) continue;
    if (static_cast<std::int64_t>(z.FirstNode) + static_cast<std::int64_t>(z.NI) * z.NJ > data.NodeCount) continue;
    for (int i = 0; i < z.NI; ++i) {
      for (int j = 0; j < z.NJ; ++j) {
        auto alongI = [&](const NodeRow& r) {
          return Difference([&](int n) { return r[static_cast<std::size_t>(z.FirstNode + z.NJ * n + j)]; }, i, z.NI);
        };
        auto alongJ = [&](const NodeRow& r) {
          return Difference([&](int n) { return r[static_cast<std::size_t>(z.FirstNode + z.NJ * i + n)]; }, j, z.NJ);
        };
        const double xi = alongI(data.X), yi = alongI(data.Y), xj = alongJ(data.X), yj = alongJ(data.Y);
        const double ui = alongI(u), uj = alongJ(u), vi = alongI(v), vj = alongJ(v);
        const double jacobian = xi * yj - xj * yi;
        const std::size_t k = static_cast<std::size_t>(z.FirstNode + z.NJ * i + j);
        if (jacobian == 0.0) continue;
        // dv/dx = (v_i y_j - v_j y_i) / J,  du/dy = (u_j x_i - u_i x_j) / J.
        out[k] = ((vi * yj - vj * yi) - (uj * xi - ui * xj)) / jacobian;
      }
    }
  }
  return out;
}

NodeRow ComputeSpeed(const FieldDataSet& data, int iu, int iv) {
  NodeRow speed(static_cast<std::size_t>(data.NodeCount));
  const NodeRow& u = data.Values[static_cast<std::size_t>(iu)];
  const NodeRow& v = data.Values[static_cast<std::size_t>(iv)];
  for (std::size_t k = 0; k < speed.size(); ++k) speed[k] = std::sqrt(u[k] * u[k] + v[k] * v[k]);
  return speed;
}

}  // namespace corvane
