// Writes a flow-round-a-cylinder grid file of any size, separator and loop order, or the
// Kármán–Trefftz airfoil sample.
//   corvane_gen OUT [--zones NIxNJ,NIxNJ,...] [--nodes N] [--sep space|comma|tab] [--order ij|ji] [--crlf]
//                   [--title TEXT] [--mach M] [--first-cell H]
//   corvane_gen OUT --airfoil
// --zones gives the node counts of each zone; --nodes N makes three equal zones of about N nodes;
// --first-cell H makes the wall-normal size of the first cell H radii (a wall-resolved grid).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "AirfoilGenerator.h"
#include "GridGenerator.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: corvane_gen OUT [--zones NIxNJ,...] [--nodes N] [--sep space|comma|tab] [--order ij|ji] [--crlf]\n"
               "                   [--title TEXT] [--mach M] [--first-cell H]\n"
               "       corvane_gen OUT --airfoil\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  corvane::gen::FlowGridSpec grid;
  std::string out;
  bool airfoil = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : std::string(); };
    if (a == "--zones") {
      grid.zones.clear();
      std::string v = value();
      std::size_t pos = 0;
      while (pos < v.size()) {
        std::size_t comma = v.find(',', pos);
        std::string item = v.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
        int ni = 0, nj = 0;
        if (std::sscanf(item.c_str(), "%dx%d", &ni, &nj) != 2 || ni < 1 || nj < 1) return Usage();
        grid.zones.emplace_back(ni, nj);
        pos = comma == std::string::npos ? v.size() : comma + 1;
      }
      if (grid.zones.empty()) return Usage();
    } else if (a == "--nodes") {
      long long n = std::atoll(value().c_str());
      if (n < 3) return Usage();
      int nj = std::max(2, static_cast<int>(std::lround(std::sqrt(n / 3.0 / 2.0))));
      int ni = std::max(1, static_cast<int>(n / 3 / nj));
      grid.zones.assign(3, {ni, nj});
    } else if (a == "--sep") {
      std::string v = value();
      if (v == "space") grid.separator = corvane::gen::Sep::Spaces;
      else if (v == "comma") grid.separator = corvane::gen::Sep::Commas;
      else if (v == "tab") grid.separator = corvane::gen::Sep::Tabs;
      else return Usage();
    } else if (a == "--order") {
      std::string v = value();
      if (v != "ij" && v != "ji") return Usage();
      grid.jOuter = v == "ji";
    } else if (a == "--title") {
      grid.title = value();
    } else if (a == "--mach") {
      grid.mach = std::atof(value().c_str());
    } else if (a == "--first-cell") {
      grid.firstCell = std::atof(value().c_str());
      if (!(grid.firstCell > 0.0)) return Usage();
    } else if (a == "--airfoil") {
      airfoil = true;
    } else if (a == "--crlf") {
      grid.crlf = true;
    } else if (!a.empty() && a[0] != '-' && out.empty()) {
      out = a;
    } else {
      return Usage();
    }
  }
  if (out.empty()) return Usage();
  const bool written =
      airfoil ? corvane::gen::WriteAirfoilGrid(out, corvane::gen::AirfoilSpec{}) : corvane::gen::WriteFlowGrid(out, grid);
  if (!written) {
    std::fprintf(stderr, "corvane_gen: cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}
