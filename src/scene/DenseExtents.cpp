#include "scene/DenseExtents.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace corvane {
namespace {

constexpr double kLowShare = 0.2;    // the percentiles that bound the crowded part
constexpr double kMargin = 0.1;      // widening of the box on each side, of its size
constexpr double kMostArea = 0.1;    // a box this big a share of the extents is no better than them
constexpr std::size_t kFewestNodes = 64;

// The values at the low and high percentiles of `v` (reordered).
std::pair<double, double> MiddleOf(std::vector<double>& v) {
  const auto low = static_cast<std::ptrdiff_t>(static_cast<double>(v.size() - 1) * kLowShare);
  const auto high = static_cast<std::ptrdiff_t>(static_cast<double>(v.size() - 1) * (1.0 - kLowShare));
  std::nth_element(v.begin(), v.begin() + low, v.end());
  const double lo = v[static_cast<std::size_t>(low)];
  std::nth_element(v.begin(), v.begin() + high, v.end());
  return {lo, v[static_cast<std::size_t>(high)]};
}

}  // namespace

std::optional<Extents> DenseExtents(const FieldDataSet& data) {
  std::vector<double> xs, ys;
  const std::size_t count = std::min(data.X.size(), data.Y.size());
  xs.reserve(count);
  ys.reserve(count);
  double xmin = INFINITY, xmax = -INFINITY, ymin = INFINITY, ymax = -INFINITY;
  for (std::size_t k = 0; k < count; ++k) {
    const double x = data.X[k], y = data.Y[k];
    if (!std::isfinite(x) || !std::isfinite(y)) continue;
    xs.push_back(x);
    ys.push_back(y);
    xmin = std::min(xmin, x), xmax = std::max(xmax, x);
    ymin = std::min(ymin, y), ymax = std::max(ymax, y);
  }
  if (xs.size() < kFewestNodes) return std::nullopt;
  auto [x0, x1] = MiddleOf(xs);
  auto [y0, y1] = MiddleOf(ys);
  const double width = x1 - x0, height = y1 - y0;
  if (!(width > 0.0) || !(height > 0.0)) return std::nullopt;
  Extents box;
  box.XMax = std::min(x1 + kMargin * width, xmax);
  box.XMin = std::max(x0 - kMargin * width, xmin);
  box.YMax = std::min(y1 + kMargin * height, ymax);
  box.YMin = std::max(y0 - kMargin * height, ymin);
  const double whole = (xmax - xmin) * (ymax - ymin);
  if (!(whole > 0.0) || (box.XMax - box.XMin) * (box.YMax - box.YMin) > kMostArea * whole) return std::nullopt;
  return box;
}

}  // namespace corvane
