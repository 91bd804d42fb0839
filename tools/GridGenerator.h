// Writes text grid files in the layout the reader expects by default: a title, a comment, one
// size line per zone ("imax jmax"), the label line "x y U V T P" and one line per node.
// The field is compressible flow round a circular cylinder: an O-grid cut into zones (angular
// sectors), potential-flow velocities and isentropic temperature and pressure. Used by the
// sample generator, the benchmark and tests.
#pragma once
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace corvane::gen {

enum class Sep { Spaces, Commas, Tabs };

struct FlowGridSpec {
  std::string title = "Corvane test flow: cylinder in compressible potential flow";
  std::vector<std::pair<int, int>> zones = {{40, 25}, {40, 25}, {40, 25}};  // NI x NJ nodes per zone
  Sep separator = Sep::Spaces;
  bool jOuter = false;        // write j outer, i inner (the JI loop order)
  bool crlf = false;          // CR LF line ends
  double radius = 0.5;        // cylinder radius
  double farField = 8.0;      // outer radius of the grid
  double firstCell = 0.0;     // wall-normal size of the first cell in radii; 0: spacing grows by one ratio from wall to far field
  double mach = 0.4;          // free-stream Mach number
  double gamma = 1.4, gasConstant = 288.7;
  double temperature = 288.15, pressure = 101325.0;
};

// Radius of node line j of nj when the first cell is s.firstCell radii high and every next cell is
// one ratio q larger, q found by bisection so that the last line reaches the far field.
inline double WallResolvedRadius(const FlowGridSpec& s, int j, int nj) {
  const double h = s.firstCell * s.radius, span = s.farField - s.radius;
  const int cells = nj - 1;
  auto reach = [&](double q) { return q == 1.0 ? h * cells : h * (std::pow(q, cells) - 1.0) / (q - 1.0); };
  double lo = 1.0, hi = 2.0;
  while (reach(hi) < span && hi < 1e6) hi *= 2.0;
  for (int k = 0; k < 200; ++k) {
    const double mid = 0.5 * (lo + hi);
    (reach(mid) < span ? lo : hi) = mid;
  }
  const double q = 0.5 * (lo + hi);
  return s.radius + (q == 1.0 ? h * j : h * (std::pow(q, j) - 1.0) / (q - 1.0));
}

// Values of one node: x, y, U, V, T, P.
inline void FlowAt(const FlowGridSpec& s, int zone, int i, int j, double out[6]) {
  const int zoneCount = static_cast<int>(s.zones.size());
  const auto [ni, nj] = s.zones[static_cast<std::size_t>(zone)];
  const double pi = 3.14159265358979323846;
  const double theta = 2.0 * pi * (zone + (ni > 1 ? static_cast<double>(i) / (ni - 1) : 0.0)) / zoneCount;
  // Radial spacing grows geometrically away from the wall.
  const double t = nj > 1 ? static_cast<double>(j) / (nj - 1) : 0.0;
  const double r = s.firstCell > 0.0 && nj > 2 ? WallResolvedRadius(s, j, nj) : s.radius * std::pow(s.farField / s.radius, t);
  const double a2r2 = s.radius * s.radius / (r * r);
  const double cp = s.gamma * s.gasConstant / (s.gamma - 1.0);
  const double uInf = s.mach * std::sqrt(s.gamma * s.gasConstant * s.temperature);
  const double u = uInf * (1.0 - a2r2 * std::cos(2.0 * theta));
  const double v = -uInf * a2r2 * std::sin(2.0 * theta);
  const double T = s.temperature + (uInf * uInf - (u * u + v * v)) / (2.0 * cp);
  const double p = s.pressure * std::pow(T / s.temperature, s.gamma / (s.gamma - 1.0));
  out[0] = r * std::cos(theta);
  out[1] = r * std::sin(theta);
  out[2] = u;
  out[3] = v;
  out[4] = T;
  out[5] = p;
}

// Writes a grid file of the given zones (NI x NJ nodes each); `node(zone, i, j, out)` gives the
// six values x, y, U, V, T, P of a node. Returns false when the file cannot be written.
template <class NodeValues>
bool WriteGridFile(const std::string& path, const std::string& title, const std::vector<std::pair<int, int>>& zones,
                   Sep separator, bool jOuter, bool crlf, NodeValues node) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const char sep = separator == Sep::Commas ? ',' : (separator == Sep::Tabs ? '\t' : ' ');
  const char* eol = crlf ? "\r\n" : "\n";
  std::string buf;
  auto line = [&](const std::string& text) {
    buf += text;
    buf += eol;
  };
  line(title);
  line("zones " + std::to_string(zones.size()) + ", sizes are imax jmax");
  for (auto [ni, nj] : zones) line(std::to_string(ni - 1) + sep + std::to_string(nj - 1));
  line(std::string("x") + sep + "y" + sep + "U" + sep + "V" + sep + "T" + sep + "P");
  bool ok = true;
  char number[32];
  for (std::size_t z = 0; z < zones.size(); ++z) {
    const auto [ni, nj] = zones[z];
    const int outer = jOuter ? nj : ni, inner = jOuter ? ni : nj;
    for (int a = 0; a < outer; ++a) {
      for (int b = 0; b < inner; ++b) {
        double v[6];
        node(static_cast<int>(z), jOuter ? b : a, jOuter ? a : b, v);
        for (int k = 0; k < 6; ++k) {
          if (k > 0 || separator == Sep::Spaces) buf += sep;
          // Blank-aligned like Fortran output: a positive number gets the sign's column blank.
          if (separator == Sep::Spaces && !(v[k] < 0.0)) buf += ' ';
          const double value = v[k] == 0.0 ? 0.0 : v[k];  // no "-0.00000000e+00"
          auto res = std::to_chars(number, number + sizeof number, value, std::chars_format::scientific, 8);
          buf.append(number, res.ptr);
        }
        buf += eol;
      }
      if (buf.size() > (1u << 20)) {
        ok = ok && std::fwrite(buf.data(), 1, buf.size(), f) == buf.size();
        buf.clear();
      }
    }
  }
  ok = ok && std::fwrite(buf.data(), 1, buf.size(), f) == buf.size();
  return std::fclose(f) == 0 && ok;
}

// Writes the whole cylinder file; returns false when it cannot be written.
inline bool WriteFlowGrid(const std::string& path, const FlowGridSpec& s) {
  return WriteGridFile(path, s.title, s.zones, s.separator, s.jOuter, s.crlf,
                       [&s](int zone, int i, int j, double out[6]) { FlowAt(s, zone, i, j, out); });
}

}  // namespace corvane::gen
