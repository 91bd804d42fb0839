// A point in world coordinates, shared by the tracer and the segment analysis.
#pragma once

namespace corvane {

struct WorldPoint {
  double x = 0.0;
  double y = 0.0;
};

}  // namespace corvane
