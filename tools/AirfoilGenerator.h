// A Joukowski airfoil (the Kármán–Trefftz family with a cusped trailing edge) in compressible flow, for the sample data and tests: the section is
// the conformal image of a circle, the flow round it the exact potential flow with the
// circulation of the Kutta condition, and the pressures carry the Kármán–Tsien compressibility
// correction. Temperature, Mach number and speed follow isentropically from the pressure, so the
// total pressure is the free stream's everywhere. The grid is an O-grid built on polar lines of
// the circle: three zones round the body (two over the upper surface, one under the lower),
// i along the surface, j outwards. The zone seams lie on the trailing edge and on the front
// stagnation point, so both are grid nodes.
#pragma once
#include <algorithm>
#include <cmath>
#include <complex>
#include <string>
#include <utility>
#include <vector>

#include "GridGenerator.h"

namespace corvane::gen {

struct AirfoilSpec {
  std::string title =
      "Joukowski airfoil, Mach 0.5, alpha 3 deg: exact potential flow with the "
      "Kutta condition, Karman-Tsien pressures, isentropic T; O-grid in three zones (i round the body, j outwards)";
  std::vector<std::pair<int, int>> zones = {{49, 41}, {49, 41}, {97, 41}};  // NI x NJ nodes per zone
  double centreX = -0.09, centreY = 0.07;  // the circle's centre, trailing-edge point at (1, 0)
  double trailingEdgeDeg = 0.0;            // angle between upper and lower surface at the trailing edge
  double alphaDeg = 3.0;                   // angle of attack
  double farField = 24.0;                  // outer grid circle, in circle radii
  double mach = 0.5;
  double gamma = 1.4, gasConstant = 288.7;
  double temperature = 288.15, pressure = 101325.0;
};

// Everything that follows from the section's parameters once: the circle, the map, the flow.
struct AirfoilFlow {
  using C = std::complex<double>;
  static constexpr double kPi = 3.14159265358979323846;
  double n = 2.0;              // map exponent, 2 - trailing-edge angle / pi
  C centre;                    // circle centre; the map's critical points are +1 and -1
  double radius = 1.0;
  double thetaTrailing = 0.0;  // polar angle (round the centre) of the trailing edge
  double thetaFront = 0.0;     // polar angle of the front stagnation point
  double alpha = 0.0, speed = 0.0, circulation = 0.0;
  double scale = 1.0;          // physical = (mapped - leading edge) * scale: chord 1, leading edge near 0
  C leadingEdge;
  double totalTemperature = 0.0, totalPressure = 0.0;

  explicit AirfoilFlow(const AirfoilSpec& s) {
    n = 2.0 - s.trailingEdgeDeg / 180.0;
    centre = C(s.centreX, s.centreY);
    radius = std::abs(C(1.0, 0.0) - centre);
    thetaTrailing = std::arg(C(1.0, 0.0) - centre);
    alpha = s.alphaDeg * kPi / 180.0;
    // On the circle the speed vanishes at thetaTrailing (Kutta) and at pi + 2 alpha - thetaTrailing.
    thetaFront = kPi + 2.0 * alpha - thetaTrailing;
    speed = s.mach * std::sqrt(s.gamma * s.gasConstant * s.temperature);
    circulation = 4.0 * kPi * speed * radius * std::sin(alpha - thetaTrailing);
    const C front = Map(centre - radius);
    const C tail = Map(C(1.0, 0.0));
    leadingEdge = C(front.real(), 0.0);
    scale = 1.0 / (tail.real() - front.real());
    const double k = 0.5 * (s.gamma - 1.0) * s.mach * s.mach;
    totalTemperature = s.temperature * (1.0 + k);
    totalPressure = s.pressure * std::pow(1.0 + k, s.gamma / (s.gamma - 1.0));
  }

  // The Kármán–Trefftz map, written through ((zeta-1)/(zeta+1))^n so that its branch cut lies
  // inside the circle.
  C Map(C zeta) const {
    const C q = std::pow((zeta - 1.0) / (zeta + 1.0), n);
    return n * (1.0 + q) / (1.0 - q);
  }
  C MapDerivative(C zeta) const {
    const C q = std::pow((zeta - 1.0) / (zeta + 1.0), n);
    return 4.0 * n * n * q / ((1.0 - q) * (1.0 - q) * (zeta * zeta - 1.0));
  }
  // dW/dzeta of uniform flow at alpha round the circle, with the circulation (clockwise positive).
  C PotentialDerivative(C zeta) const {
    const C d = zeta - centre;
    const C ea = std::polar(1.0, alpha);
    return speed * (std::conj(ea) - radius * radius * ea / (d * d)) + C(0.0, circulation / (2.0 * kPi)) / d;
  }
  // The speed u - iv at the trailing edge, where dW/dzeta and dz/dzeta both vanish: zero for a
  // trailing-edge angle above 0, for the cusp (n = 2) the ratio of the second derivatives.
  C TrailingEdgeVelocity() const {
    if (n < 2.0) return C(0.0, 0.0);
    const C d = C(1.0, 0.0) - centre;
    const C second = 2.0 * speed * radius * radius * std::polar(1.0, alpha) / (d * d * d) -
                     C(0.0, circulation / (2.0 * kPi)) / (d * d);
    return second / 2.0;  // z'' = 2 at zeta = 1 for z = zeta + 1/zeta
  }
  // The point of the circle plane at polar angle theta and distance r from the centre.
  C Zeta(double theta, double r) const { return centre + std::polar(r, theta); }
};

// Values of one node: x, y, U, V, T, P.
inline void AirfoilAt(const AirfoilSpec& s, const AirfoilFlow& f, int zone, int i, int j, double out[6]) {
  const auto [ni, nj] = s.zones[static_cast<std::size_t>(zone)];
  // Zone 0 from the trailing edge half way to the front stagnation point, zone 1 on to it, zone 2
  // under the body back to the trailing edge.
  const double seams[4] = {f.thetaTrailing, 0.5 * (f.thetaTrailing + f.thetaFront), f.thetaFront,
                           f.thetaTrailing + 2.0 * AirfoilFlow::kPi};
  const double t = ni > 1 ? static_cast<double>(i) / (ni - 1) : 0.0;
  const double theta = seams[zone] + (seams[zone + 1] - seams[zone]) * t;
  const double u = nj > 1 ? static_cast<double>(j) / (nj - 1) : 0.0;
  const double r = f.radius * std::pow(s.farField, u);  // geometric spacing away from the wall
  const AirfoilFlow::C zeta = f.Zeta(theta, r);
  const AirfoilFlow::C z = (f.Map(zeta) - f.leadingEdge) * f.scale;

  // Incompressible velocity u - iv = (dW/dzeta) / (dz/dzeta); scaling the plane leaves it as is.
  const bool trailingEdge = j == 0 && ((zone == 0 && i == 0) || (zone == 2 && i == ni - 1));
  const AirfoilFlow::C w =
      trailingEdge ? f.TrailingEdgeVelocity() : f.PotentialDerivative(zeta) / f.MapDerivative(zeta);
  const double q0 = std::abs(w);

  // Kármán–Tsien: Cp = Cp0 / (beta + M^2 / (1 + beta) * Cp0 / 2), capped at the stagnation
  // pressure (the correction overshoots it slightly right at a stagnation point).
  const double m2 = s.mach * s.mach, beta = std::sqrt(1.0 - m2);
  const double cp0 = 1.0 - (q0 / f.speed) * (q0 / f.speed);
  const double cp = cp0 / std::max(beta + m2 / (1.0 + beta) * cp0 / 2.0, 0.1);
  const double p = std::min(s.pressure * (1.0 + 0.5 * s.gamma * m2 * cp), f.totalPressure);
  const double g = (s.gamma - 1.0) / s.gamma;
  const double machLocal2 = std::max(2.0 / (s.gamma - 1.0) * (std::pow(f.totalPressure / p, g) - 1.0), 0.0);
  const double T = f.totalTemperature / (1.0 + 0.5 * (s.gamma - 1.0) * machLocal2);
  const double q = std::sqrt(machLocal2 * s.gamma * s.gasConstant * T);
  const double factor = q0 > 0.0 ? q / q0 : 0.0;
  out[0] = z.real();
  out[1] = z.imag();
  out[2] = w.real() * factor;
  out[3] = -w.imag() * factor;
  out[4] = T;
  out[5] = p;
}

// Writes the airfoil file; returns false when it cannot be written.
inline bool WriteAirfoilGrid(const std::string& path, const AirfoilSpec& s) {
  const AirfoilFlow f(s);
  return WriteGridFile(path, s.title, s.zones, Sep::Spaces, false, false,
                       [&](int zone, int i, int j, double out[6]) { AirfoilAt(s, f, zone, i, j, out); });
}

}  // namespace corvane::gen
