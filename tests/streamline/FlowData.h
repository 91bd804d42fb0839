// Small flow data sets for the streamline tests: the velocity rows "U" and "V" given by a
// function of the position, then the two derived rows.
#pragma once
#include <functional>
#include <utility>

#include "TestGrids.h"

namespace corvane::testing {

using Flow = std::function<std::pair<double, double>(double x, double y)>;
using FlowZone = ZoneSpec;

inline FieldDataSet MakeFlow(const std::vector<FlowZone>& zones, const Flow& flow) {
  return MakeZones(zones, {"U", "V"}, [&flow](double x, double y) {
    const auto [u, v] = flow(x, y);
    return std::vector<double>{u, v};
  }, 2);
}

inline Flow Uniform(double u, double v) { return [=](double, double) { return std::make_pair(u, v); }; }

}  // namespace corvane::testing
