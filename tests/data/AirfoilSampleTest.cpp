// The airfoil sample is the analytic flow it claims to be, and the bundled file is what the
// generator writes today.
#include <QFile>
#include <QTemporaryDir>
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
  double Mach(const Node& n) const { return Speed(n) / std::sqrt(s_.gamma * s_.gasConstant * n.T); }
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

TEST_F(AirfoilSample, TangentialAtTheWallFreeStreamFarAwayOneTotalPressureEverywhere) {
  const double e = s_.gamma / (s_.gamma - 1.0);
  double fastest = 0.0;
  for (int zone = 0; zone < 3; ++zone) {
    const int nj = s_.zones[static_cast<std::size_t>(zone)].second;
    for (int i = 0; i < Ni(zone); ++i) {
      if (i >= 2 && i < Ni(zone) - 2) {
        const Node a = At(zone, i - 1, 0), n = At(zone, i, 0), b = At(zone, i + 1, 0);
        const double tx = b.x - a.x, ty = b.y - a.y;
        EXPECT_LT(std::abs(tx * n.v - ty * n.u) / (std::hypot(tx, ty) * Speed(n)), 0.03) << zone << " " << i;
      }
      const Node far = At(zone, i, nj - 1);
      EXPECT_NEAR(Mach(far) / s_.mach, 1.0, 0.02);
      EXPECT_NEAR(std::atan2(far.v, far.u), s_.alphaDeg * gen::AirfoilFlow::kPi / 180.0, 0.02);
      for (int j = 0; j < nj; ++j) {
        const Node n = At(zone, i, j);
        fastest = std::max(fastest, Mach(n));
        ASSERT_NEAR(n.p * std::pow(1.0 + 0.5 * (s_.gamma - 1.0) * Mach(n) * Mach(n), e) / f_.totalPressure, 1.0, 1e-9);
      }
    }
  }
  EXPECT_GT(fastest, 0.7);  // a real suction peak, yet subsonic
  EXPECT_LT(fastest, 1.0);
}

TEST_F(AirfoilSample, BundledFileIsTheGeneratorsOutput) {
  QTemporaryDir dir;
  ASSERT_TRUE(gen::WriteAirfoilGrid(dir.filePath("a.dat").toStdString(), s_));
  QFile made(dir.filePath("a.dat")), bundled(QStringLiteral(CORVANE_SOURCE_DIR "/samples/airfoil.dat"));
  ASSERT_TRUE(made.open(QIODevice::ReadOnly) && bundled.open(QIODevice::ReadOnly));
  // Word by word; numbers to their eighth digit, as another maths library may round the last.
  const QList<QByteArray> a = made.readAll().simplified().split(' '), b = bundled.readAll().simplified().split(' ');
  ASSERT_EQ(a.size(), b.size()) << "remake it with: corvane_gen samples/airfoil.dat --airfoil";
  for (qsizetype k = 0; k < a.size(); ++k) {
    bool numbers = false;
    const double x = a[k].toDouble(&numbers), y = b[k].toDouble();
    if (numbers) {
      ASSERT_NEAR(x, y, 1e-7 * std::max(1.0, std::abs(x))) << "word " << k;
    } else {
      ASSERT_EQ(a[k], b[k]) << "word " << k;
    }
  }
}

}  // namespace
}  // namespace corvane
