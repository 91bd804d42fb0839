// The airfoil sample's flow rests at its front stagnation point and leaves the trailing edge
// smoothly.
#include <gtest/gtest.h>

#include "../../tools/AirfoilGenerator.h"

namespace corvane {
namespace {

struct Node {
  double x, y, u, v, T, p;
};

class AirfoilSample : public ::testing::Test {
 protected:
  Node At(int zone, int i, int j) const {
    double o[6];
    gen::AirfoilAt(s_, f_, zone, i, j, o);
    return {o[0], o[1], o[2], o[3], o[4], o[5]};
  }
  int Ni(int zone) const { return s_.zones[static_cast<std::size_t>(zone)].first; }
  double Speed(const Node& n) const { return std::hypot(n.u, n.v); }
  gen::AirfoilSpec s_;
  gen::AirfoilFlow f_{s_};
};

TEST_F(AirfoilSample, StagnationAtTheFrontAndTheKuttaConditionAtTheTrailingEdge) {
  // In the circle plane both points are at rest: that is how the circulation was chosen.
  for (double theta : {f_.thetaTrailing, f_.thetaFront})
    EXPECT_LT(std::abs(f_.PotentialDerivative(f_.Zeta(theta, f_.radius))), 1e-9 * f_.speed);
  EXPECT_GT(f_.circulation, 0.0) << "lift upwards";
  // The front stagnation node (seam of zones 1 and 2) rests at total conditions.
  for (const Node& n : {At(1, Ni(1) - 1, 0), At(2, 0, 0)}) {
    EXPECT_NEAR(Speed(n), 0.0, 1e-6);
    EXPECT_NEAR(n.p / f_.totalPressure, 1.0, 1e-9);
    EXPECT_NEAR(n.T / f_.totalTemperature, 1.0, 1e-9);
  }
  // The trailing edge (1, 0) starts zone 0 and ends zone 2. The flow leaves the cusp at a finite
  // speed both surfaces approach; a wrong circulation would whirl round the edge at a huge one.
  const Node edge = At(0, 0, 0);
  EXPECT_NEAR(edge.x, 1.0, 1e-12);
  EXPECT_NEAR(edge.y, 0.0, 1e-12);
  EXPECT_EQ(At(2, Ni(2) - 1, 0).u, edge.u);
  EXPECT_GT(Speed(edge), 0.5 * f_.speed);
  EXPECT_LT(Speed(edge), 1.2 * f_.speed);
  for (const Node& n : {At(0, 1, 0), At(2, Ni(2) - 2, 0)}) {
    EXPECT_NEAR(Speed(n) / Speed(edge), 1.0, 0.1);
    EXPECT_NEAR(n.p / edge.p, 1.0, 0.02);
  }
}

}  // namespace
}  // namespace corvane
