// Which columns the derived rows (Mach number, total pressure) are computed from, named for the
// user, and whether each column's name looks like the quantity it stands for: a file without a
// temperature column still gets a Mach number, from whatever column was chosen in its place.
#pragma once
#include <array>
#include <string>
#include <vector>

namespace corvane {

enum class FlowRole { U, V, T, P };

struct DerivedColumn {
  FlowRole role = FlowRole::U;
  int index = -1;            // into the variable names; -1 when none is chosen
  std::string name;          // the column's name, empty when none is chosen
  bool looksRight = true;    // the name reads like the role (or none is chosen)
};

// The columns at `chosen` (u, v, T, p: indices into `names`; out of range: none).
std::array<DerivedColumn, 4> DerivedColumnsOf(const std::vector<std::string>& names, const std::array<int, 4>& chosen);

// The role as the data tab calls it ("x方向速度", "温度", ...).
const char* FlowRoleText(FlowRole role);

// One line naming the columns, for the data tab and `info`.
std::string DerivedColumnsText(const std::array<DerivedColumn, 4>& columns);

// A warning for every chosen column whose name does not look like what it stands for.
std::vector<std::string> DerivedColumnDoubts(const std::array<DerivedColumn, 4>& columns);

}  // namespace corvane
