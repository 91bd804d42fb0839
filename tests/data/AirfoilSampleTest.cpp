// The airfoil sample is the analytic flow it claims to be: stagnation at the front, smooth flow
// off the trailing edge by the Kutta condition; flow along the surface; the free stream far away; one
// total pressure everywhere; and the bundled file is what the generator writes today.
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

#include "../../tools/AirfoilGenerator.h"

namespace corvane {
namespace {

using gen::AirfoilAt;
using gen::AirfoilFlow;
using gen::AirfoilSpec;

struct Node {
  double x, y, u, v, T, p;
};

class AirfoilSample : public ::testing::Test {
 protected:
  Node At(int zone, int i, int j) const {
    double o[6];
    AirfoilAt(spec_, flow_, zone, i, j, o);
    return {o[0], o[1], o[2], o[3], o[4], o[5]};
  }
  int Ni(int zone) const { return spec_.zones[static_cast<std::size_t>(zone)].first; }
  int Nj(int zone) const { return spec_.zones[static_cast<std::size_t>(zone)].second; }
  double Mach(const Node& n) const {
    return std::hypot(n.u, n.v) / std::sqrt(spec_.gamma * spec_.gasConstant * n.T);
  }
  AirfoilSpec spec_;
  AirfoilFlow flow_{spec_};
};

TEST_F(AirfoilSample, CirculationMakesBothStagnationPointsOnTheCircle) {
  EXPECT_GT(flow_.circulation, 0.0) << "lift upwards at a positive angle of attack";
  for (double theta : {flow_.thetaTrailing, flow_.thetaFront})
    EXPECT_LT(std::abs(flow_.PotentialDerivative(flow_.Zeta(theta, flow_.radius))), 1e-9 * flow_.speed) << theta;
  // Any other point of the surface moves.
  EXPECT_GT(std::abs(flow_.PotentialDerivative(flow_.Zeta(flow_.thetaFront + 0.3, flow_.radius))), 0.1 * flow_.speed);
}

TEST_F(AirfoilSample, FrontStagnationNodeRestsAtTotalConditions) {
  // The seam of zones 1 and 2 is the front stagnation point.
  for (const Node& n : {At(1, Ni(1) - 1, 0), At(2, 0, 0)}) {
    EXPECT_NEAR(n.x, At(2, 0, 0).x, 1e-12);
    EXPECT_NEAR(n.y, At(2, 0, 0).y, 1e-12);
    EXPECT_NEAR(n.u, 0.0, 1e-6);
    EXPECT_NEAR(n.v, 0.0, 1e-6);
    EXPECT_NEAR(n.p, flow_.totalPressure, 1e-6 * flow_.totalPressure);
    EXPECT_NEAR(n.T, flow_.totalTemperature, 1e-9 * flow_.totalTemperature);
  }
  EXPECT_LT(At(2, 0, 0).x, 0.01) << "near the leading edge";
}

TEST_F(AirfoilSample, KuttaConditionLeavesTheTrailingEdgeSmoothly) {
  // Zone 0 starts and zone 2 ends at the trailing edge, at (1, 0).
  const Node edge = At(0, 0, 0), other = At(2, Ni(2) - 1, 0);
  EXPECT_NEAR(edge.x, 1.0, 1e-12);
  EXPECT_NEAR(edge.y, 0.0, 1e-12);
  EXPECT_EQ(edge.u, other.u);
  EXPECT_EQ(edge.v, other.v);
  // With the right circulation the flow leaves the cusp at a finite speed that both surfaces
  // approach; any other would turn round the sharp edge at a huge speed.
  const double speed = std::hypot(edge.u, edge.v);
  EXPECT_GT(speed, 0.5 * flow_.speed);
  EXPECT_LT(speed, 1.2 * flow_.speed);
  for (const Node& n : {At(0, 1, 0), At(2, Ni(2) - 2, 0)}) {
    EXPECT_NEAR(std::hypot(n.u, n.v) / speed, 1.0, 0.1);
    EXPECT_NEAR(n.p / edge.p, 1.0, 0.02);
  }
}

TEST_F(AirfoilSample, SurfaceFlowIsTangentialAndFarFlowIsTheFreeStream) {
  for (int zone = 0; zone < 3; ++zone) {
    for (int i = 2; i < Ni(zone) - 2; ++i) {
      const Node a = At(zone, i - 1, 0), n = At(zone, i, 0), b = At(zone, i + 1, 0);
      const double tx = b.x - a.x, ty = b.y - a.y;
      const double cross = (tx * n.v - ty * n.u) / (std::hypot(tx, ty) * std::hypot(n.u, n.v));
      EXPECT_LT(std::abs(cross), 0.03) << "zone " << zone << " i " << i;
    }
    for (int i = 0; i < Ni(zone); i += 8) {
      const Node far = At(zone, i, Nj(zone) - 1);
      EXPECT_NEAR(Mach(far), spec_.mach, 0.02 * spec_.mach);
      EXPECT_NEAR(std::atan2(far.v, far.u), spec_.alphaDeg * AirfoilFlow::kPi / 180.0, 0.02);
    }
  }
}

TEST_F(AirfoilSample, EveryNodeHasTheFreeStreamTotalPressureAndASubsonicSpeed) {
  const double e = spec_.gamma / (spec_.gamma - 1.0);
  double fastest = 0.0;
  for (int zone = 0; zone < 3; ++zone)
    for (int i = 0; i < Ni(zone); ++i)
      for (int j = 0; j < Nj(zone); ++j) {
        const Node n = At(zone, i, j);
        const double m = Mach(n);
        fastest = std::max(fastest, m);
        ASSERT_NEAR(n.p * std::pow(1.0 + 0.5 * (spec_.gamma - 1.0) * m * m, e), flow_.totalPressure,
                    1e-6 * flow_.totalPressure);
      }
  // The suction peak is well above the free stream yet the potential flow stays valid.
  EXPECT_GT(fastest, 0.7);
  EXPECT_LT(fastest, 1.0);
}

TEST_F(AirfoilSample, BundledFileIsTheGeneratorsOutput) {
  QTemporaryDir dir;
  const QString path = dir.filePath("airfoil.dat");
  ASSERT_TRUE(gen::WriteAirfoilGrid(path.toStdString(), spec_));
  QFile made(path), bundled(QStringLiteral(CORVANE_SOURCE_DIR "/samples/airfoil.dat"));
  ASSERT_TRUE(made.open(QIODevice::ReadOnly));
  ASSERT_TRUE(bundled.open(QIODevice::ReadOnly));
  // Word by word, numbers to their eighth digit (another maths library may round the last one).
  const QList<QByteArray> a = made.readAll().simplified().split(' '), b = bundled.readAll().simplified().split(' ');
  ASSERT_EQ(a.size(), b.size()) << "remake it with: corvane_gen samples/airfoil.dat --airfoil";
  for (qsizetype k = 0; k < a.size(); ++k) {
    bool numberA = false, numberB = false;
    const double x = a[k].toDouble(&numberA), y = b[k].toDouble(&numberB);
    if (numberA && numberB) {
      ASSERT_NEAR(x, y, 1e-7 * std::max(1.0, std::abs(x))) << "word " << k;
    } else {
      ASSERT_EQ(a[k], b[k]) << "word " << k;
    }
  }
}

}  // namespace
}  // namespace corvane
