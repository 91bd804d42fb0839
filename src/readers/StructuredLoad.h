// The common end of the structured readers: a data set frame for zones whose sizes are known
// before their values, flow variables from conservative ones, and the finish of the reading
// (extents, the rows the file names for the flow quantities).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "readers/DataReader.h"

namespace corvane {

struct ZoneSize {
  std::int64_t ni = 0, nj = 0;
};

// Names of the rows PrimitiveFromConservative fills, in order.
inline constexpr const char* kPrimitiveNames[4] = {"U", "V", "T", "P"};
// Names of the conservative rows of PLOT3D and of the CGNS standard, in order.
inline constexpr const char* kConservativeNames[4] = {"Density", "MomentumX", "MomentumY", "EnergyStagnationDensity"};

// "zone[z]" with the zone's name when it has one.
std::string ZoneLabel(std::size_t zone, const std::string& name = {});

// Checks the zone sizes (each at least one node, at most 2^31 - 1 nodes in all) and returns a
// data set with those zones, zeroed node arrays and one value row per variable plus the two
// derived rows. Throws CorvaneError naming `path` and the zone.
FieldDataSet NewFieldFrame(const std::string& path, const std::vector<ZoneSize>& sizes,
                           std::vector<std::string> variables, const std::vector<std::string>& zoneNames = {});

// Fills the rows firstTarget .. firstTarget + 3 with U = ρu/ρ, V = ρv/ρ,
// P = (γ - 1)(e - ρ(U² + V²)/2) and T = P/(ρR) from the rows of ρ, ρu, ρv and e.
void PrimitiveFromConservative(FieldDataSet& data, const int conservative[4], int firstTarget, double gamma, double R);

// Completes the reading of a file whose nodes and file variables are in `data`: its extents and
// the rows named VelocityX, VelocityY, Temperature, Pressure (else U, V, T, P). `hasVariables`
// is false for a grid without variables.
FileContents FinishRead(FieldDataSet data, SourceInfo source, bool hasVariables = true);

}  // namespace corvane
