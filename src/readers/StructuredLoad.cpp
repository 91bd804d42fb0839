#include "readers/StructuredLoad.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

#include "readers/AsciiCase.h"
#include "base/Errors.h"

namespace corvane {
namespace {

constexpr std::int64_t kMaxNodes = std::numeric_limits<std::int32_t>::max();

// Row of the standard name, else of the short name in any case, else -1.
int FindVariable(const std::vector<std::string>& names, const char* standard, const char* shortName) {
  for (std::size_t k = 0; k < names.size(); ++k)
    if (names[k] == standard) return static_cast<int>(k);
  for (std::size_t k = 0; k < names.size(); ++k)
    if (AsciiUpper(names[k]) == shortName) return static_cast<int>(k);
  return -1;
}

}  // namespace

// "zone[z]" with the zone's name when it has one.
std::string ZoneLabel(std::size_t zone, const std::string& name) {
  std::string text = "zone[" + std::to_string(zone) + "]";
  return name.empty() ? text : text + " \"" + name + "\"";
}

// Zones laid out one after another, arrays zeroed, once the sizes are known to be sane.
FieldDataSet NewFieldFrame(const std::string& path, const std::vector<ZoneSize>& sizes,
                           std::vector<std::string> variables, const std::vector<std::string>& zoneNames) {
  if (sizes.empty()) throw CorvaneError("データファイル " + path + " に読み込める領域がありません");
  if (sizes.size() > static_cast<std::size_t>(kMaxNodes))
    throw CorvaneError("データファイル " + path + " の領域数が多すぎます");
  FieldDataSet data;
  std::int64_t nodes = 0;
  data.Zones.resize(sizes.size());
  for (std::size_t z = 0; z < sizes.size(); ++z) {
    const std::string name = z < zoneNames.size() ? zoneNames[z] : std::string();
    const ZoneSize s = sizes[z];
    if (s.ni < 1 || s.nj < 1)
      throw CorvaneError("データファイル " + path + " の " + ZoneLabel(z, name) + " の格子点数 (" + std::to_string(s.ni) +
                         " × " + std::to_string(s.nj) + ") が不正です。各方向とも1点以上が必要です");
    if (s.ni > kMaxNodes || s.nj > kMaxNodes || s.ni * s.nj > kMaxNodes - nodes)
      throw CorvaneError("データファイル " + path + " の " + ZoneLabel(z, name) + " の格子点数 (" + std::to_string(s.ni) +
                         " × " + std::to_string(s.nj) + ") が大きすぎます。全領域の格子点数の合計は" +
                         std::to_string(kMaxNodes) + "点までです");
    ZoneGrid& zone = data.Zones[z];
    zone.NI = static_cast<std::int32_t>(s.ni);
    zone.NJ = static_cast<std::int32_t>(s.nj);
    zone.FirstNode = static_cast<std::int32_t>(nodes);
    nodes += s.ni * s.nj;
  }
  data.ZoneCount = static_cast<std::int32_t>(sizes.size());
  data.NodeCount = static_cast<std::int32_t>(nodes);
  data.ColumnCount = static_cast<std::int32_t>(variables.size() + 2);
  data.VariableNames = std::move(variables);
  try {
    data.X.assign(static_cast<std::size_t>(nodes), 0.0);
    data.Y.assign(static_cast<std::size_t>(nodes), 0.0);
    // The file's variables; the Mach number and total pressure rows stay empty until asked for.
    data.Values.resize(static_cast<std::size_t>(data.ColumnCount));
    for (std::size_t k = 0; k + 2 < data.Values.size(); ++k) data.Values[k].assign(static_cast<std::size_t>(nodes), 0.0);
  } catch (const std::bad_alloc&) {
    throw CorvaneError("データファイル " + path + " を読み込むためのメモリが足りません");
  }
  return data;
}

// Flow variables per node; exceptions stay masked, so a zero density gives inf or NaN.
void PrimitiveFromConservative(FieldDataSet& data, const int conservative[4], int firstTarget, double gamma, double R) {
  const std::size_t n = static_cast<std::size_t>(data.NodeCount);
  const NodeRow& rho = data.Values[static_cast<std::size_t>(conservative[0])];
  const NodeRow& ru = data.Values[static_cast<std::size_t>(conservative[1])];
  const NodeRow& rv = data.Values[static_cast<std::size_t>(conservative[2])];
  const NodeRow& e = data.Values[static_cast<std::size_t>(conservative[3])];
  NodeRow* out[4];
  for (int k = 0; k < 4; ++k) out[k] = &data.Values[static_cast<std::size_t>(firstTarget + k)];
  for (std::size_t k = 0; k < n; ++k) {
    const double u = ru[k] / rho[k];
    const double v = rv[k] / rho[k];
    const double p = (gamma - 1.0) * (e[k] - rho[k] * (u * u + v * v) / 2.0);
    (*out[0])[k] = u;
    (*out[1])[k] = v;
    (*out[2])[k] = p / (rho[k] * R);
    (*out[3])[k] = p;
  }
}

FileContents FinishRead(FieldDataSet data, SourceInfo source, bool hasVariables) {
  FileContents read;
  // The box of the nodes, starting from the origin; nodes at NaN or infinity are passed over.
  for (std::size_t k = 0; k < data.X.size(); ++k) {
    const double x = data.X[k], y = data.Y[k];
    if (!std::isfinite(x) || !std::isfinite(y)) continue;
    data.XMax = x > data.XMax ? x : data.XMax;
    data.XMin = x < data.XMin ? x : data.XMin;
    data.YMax = y > data.YMax ? y : data.YMax;
    data.YMin = y < data.YMin ? y : data.YMin;
  }
  static const char* const kStandard[4] = {"VelocityX", "VelocityY", "Temperature", "Pressure"};
  for (int s = 0; s < 4; ++s)
    read.namedRows[static_cast<std::size_t>(s)] = FindVariable(data.VariableNames, kStandard[s], kPrimitiveNames[s]);
  read.data = std::move(data);
  read.source = std::move(source);
  read.hasVariables = hasVariables;
  return read;
}

}  // namespace corvane
