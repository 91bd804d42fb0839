// The loaded data set: zones of structured nodes sharing one list of variables, stored flat.
// Node (zone, i, j) has the global index FirstNode + NJ * i + j (j runs fastest).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

struct ZoneGrid {
  std::int32_t NI = 0;
  std::int32_t NJ = 0;
  std::int32_t FirstNode = 0;
  // Data-compression flags of the constant-i and constant-j lines (UpdateLineMasks).
  std::vector<bool> ILineMask;
  std::vector<bool> JLineMask;
};

// Which zone edges the boundary layer draws: i = 0, i = imax, j = 0, j = jmax.
struct BoundaryFlags {
  bool i0 = true;
  bool imax = true;
  bool j0 = true;
  bool jmax = true;
};

struct FieldDataSet {
  std::int32_t ZoneCount = 0;
  std::vector<ZoneGrid> Zones;
  std::int32_t NodeCount = 0;
  std::int32_t ColumnCount = 0;
  std::vector<std::string> VariableNames;  // ColumnCount - 2 names, UTF-8
  std::vector<double> X;
  std::vector<double> Y;
  // ColumnCount rows of NodeCount values: file variables, then Mach number, then total pressure.
  std::vector<std::vector<double>> Values;
  double XMax = 0.0, YMax = 0.0, XMin = 0.0, YMin = 0.0;
  std::vector<double> ContourMax, ContourMin, ContourStep;
  // Per-zone boundary flags; kept across loads while the zone count stays the same.
  std::vector<BoundaryFlags> Boundaries;

  std::int32_t MachNumberRow() const { return ColumnCount - 2; }
  std::int32_t TotalPressureRow() const { return ColumnCount - 1; }
  bool Empty() const { return NodeCount <= 0; }
};

inline std::int32_t NodeIndex(const FieldDataSet& data, std::int32_t zone, std::int32_t i, std::int32_t j) {
  const ZoneGrid& z = data.Zones[static_cast<std::size_t>(zone)];
  return z.FirstNode + z.NJ * i + j;
}

}  // namespace corvane
