// Small flow data sets for the streamline tests: the velocity rows "U" and "V" given by a
// function of the position, then the two derived rows, and the tracer set up to read them.
#pragma once
#include <functional>
#include <utility>

#include "TestGrids.h"
#include "streamline/StreamTracer.h"

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

// Velocity from rows 0 and 1, with `copies` overlay copies shifted by (dx, dy).
inline StreamFieldSetup FlowSetup(int copies = 0, double dx = 0.0, double dy = 0.0) {
  StreamFieldSetup s;
  s.uRow = 0, s.vRow = 1, s.copies = copies, s.dx = dx, s.dy = dy;
  return s;
}

}  // namespace corvane::testing
