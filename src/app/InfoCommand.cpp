// `corvane info DATA`: loads a data file with the data-tab options and prints what the windows
// would show about it: zones, node and column counts, the variables, the extents and every
// value row's contour range, and on request the values at chosen nodes. For CGNS and PLOT3D
// files also the format, the base and zone names, and the free-stream values of the solution;
// for Tecplot and VTK files the title, how the file was written, the auxiliary data and the
// solution times of the steps.
// With --json one JSON object is written; numbers are the shortest text that reads back to the
// same double, and the non-finite values NaN, inf and -inf are written as the strings "NaN",
// "Infinity" and "-Infinity" (JSON has no such numbers).
#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cmath>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "fieldview/LoadedView.h"
#include "fieldview/ContourRanges.h"
#include "field/DeferredRows.h"
#include "field/DerivedColumns.h"
#include "readers/DataSeries.h"
#include "field/VariableRows.h"
#include "base/Errors.h"

namespace corvane {
namespace {


std::string Number(double v) {
  if (std::isnan(v)) return "NaN";
  if (std::isinf(v)) return v > 0 ? "Infinity" : "-Infinity";
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

std::string JsonNumber(double v) { return std::isfinite(v) ? Number(v) : "\"" + Number(v) + "\""; }

std::string JsonString(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

struct NodeRequest {
  long long zone = 0, i = 0, j = 0;
  std::string text;
};

NodeRequest ParseNode(const std::string& text) {
  NodeRequest n;
  n.text = text;
  long long* parts[3] = {&n.zone, &n.i, &n.j};
  std::size_t pos = 0;
  for (int k = 0; k < 3; ++k) {
    std::size_t comma = k < 2 ? text.find(',', pos) : text.size();
    if (comma == std::string::npos) throw CorvaneError("--node は Z,I,J (0 から数えた領域番号と i, j) で指定してください: " + text);
    std::string item = text.substr(pos, comma - pos);
    auto r = std::from_chars(item.data(), item.data() + item.size(), *parts[k]);
    if (item.empty() || r.ec != std::errc() || r.ptr != item.data() + item.size())
      throw CorvaneError("--node は Z,I,J (0 から数えた領域番号と i, j) で指定してください: " + text);
    pos = comma + 1;
  }
  return n;
}

std::string RowName(const LoadResult& r, int row) {
  const FieldDataSet& d = r.data;
  return RowCaption(d, row).value_or("");
}

std::string JsonFreeStream(const FreeStream& f) {
  return "{\"mach\":" + JsonNumber(f.mach) + ",\"alpha\":" + JsonNumber(f.alpha) + ",\"re\":" + JsonNumber(f.re) +
         ",\"time\":" + JsonNumber(f.time) + "}";
}

std::string TextFreeStream(const FreeStream& f) {
  return "mach " + Number(f.mach) + ", alpha " + Number(f.alpha) + ", re " + Number(f.re) + ", time " + Number(f.time);
}

// The JSON members that say where the data came from, each with a leading comma.
std::string JsonSource(const SourceInfo& s) {
  std::string out = ",\"format\":" + JsonString(FormatName(s.format));
  if (s.format == DataFileFormat::Cgns) {
    out += ",\"base\":" + JsonString(s.baseName) + ",\"bases\":[";
    for (std::size_t k = 0; k < s.baseNames.size(); ++k) out += (k ? "," : "") + JsonString(s.baseNames[k]);
    out += "],\"solution\":" + JsonString(s.solutionName) + ",\"cellCentred\":" + (s.cellCentred ? "true" : "false");
  } else if (s.format == DataFileFormat::Plot3d) {
    out += ",\"grid\":" + JsonString(s.gridPath) + ",\"gridLayout\":" + JsonString(s.gridLayout);
    if (!s.freeStream.empty())
      out += ",\"solutionLayout\":" + JsonString(s.solutionLayout) + ",\"freeStream\":" + JsonFreeStream(s.freeStream.front());
  }
  if (s.format == DataFileFormat::Tecplot || s.format == DataFileFormat::Vtk) {
    out += ",\"title\":" + JsonString(s.title) + ",\"layout\":" + JsonString(s.layout) +
           ",\"cellCentred\":" + (s.cellCentred ? "true" : "false") + ",\"auxData\":[";
    for (std::size_t k = 0; k < s.auxData.size(); ++k)
      out += std::string(k ? "," : "") + "{\"name\":" + JsonString(s.auxData[k].first) + ",\"value\":" +
             JsonString(s.auxData[k].second) + "}";
    out += "]";
  }
  if (!s.times.empty()) {
    out += ",\"times\":[";
    for (std::size_t k = 0; k < s.times.size(); ++k) out += (k ? "," : "") + JsonNumber(s.times[k]);
    out += "],\"step\":" + std::to_string(s.step);
  }
  if (!s.status.empty()) out += ",\"status\":" + JsonString(s.status);
  return out;
}

// Nodes whose x or y is NaN or infinite: the cells that use them are holes in every picture.
std::int64_t NonFiniteNodeCount(const FieldDataSet& d) {
  const std::size_t n = std::min(d.X.size(), d.Y.size());
  std::int64_t count = 0;
  for (std::size_t k = 0; k < n; ++k) count += !(std::isfinite(d.X[k]) && std::isfinite(d.Y[k]));
  return count;
}

}  // namespace

std::string InfoJsonHead(const std::string& path, const LoadResult& r, bool includeVelocity,
                         const std::optional<std::array<DerivedColumn, 4>>& derived) {
  const FieldDataSet& d = r.data;
  const FieldView& v = r.view;
  const int rows = static_cast<int>(d.Values.size());
  const std::int64_t nonFinite = NonFiniteNodeCount(d);
  std::ostringstream out;
  out << "{\"file\":" << JsonString(path) << ",\"zones\":[";
  for (std::size_t z = 0; z < d.Zones.size(); ++z) {
    out << (z ? "," : "");
    if (z < r.source.zoneNames.size()) out << "{\"name\":" << JsonString(r.source.zoneNames[z]) << ",";
    else out << "{";
    out << "\"ni\":" << d.Zones[z].NI << ",\"nj\":" << d.Zones[z].NJ << ",\"firstNode\":" << d.Zones[z].FirstNode;
    if (z < r.source.freeStream.size()) out << ",\"freeStream\":" << JsonFreeStream(r.source.freeStream[z]);
    out << "}";
  }
  out << "]" << JsonSource(r.source) << ",\"nodeCount\":" << d.NodeCount << ",\"columnCount\":" << d.ColumnCount << ",\"variables\":[";
  const std::vector<std::string> items = RGroupItemsOf(d, includeVelocity);
  for (std::size_t k = 0; k < items.size(); ++k) out << (k ? "," : "") << JsonString(items[k]);
  out << "],\"extents\":{\"xmin\":" << JsonNumber(d.XMin) << ",\"xmax\":" << JsonNumber(d.XMax)
      << ",\"ymin\":" << JsonNumber(d.YMin) << ",\"ymax\":" << JsonNumber(d.YMax)
      << "},\"nonFiniteNodes\":" << nonFinite;
  if (derived) {
    static const char* const kKeys[4] = {"u", "v", "T", "p"};
    out << ",\"derivedFrom\":{";
    for (std::size_t k = 0; k < derived->size(); ++k) {
      const DerivedColumn& c = (*derived)[k];
      out << (k ? "," : "") << "\"" << kKeys[k] << "\":" << (c.index >= 0 ? JsonString(c.name) : std::string("null"));
    }
    out << "}";
  }
  out << ",\"rows\":[";
  for (int k = 0; k < rows; ++k) {
    const std::size_t s = static_cast<std::size_t>(k);
    out << (k ? "," : "") << "{\"name\":" << JsonString(RowName(r, k)) << ",\"max\":" << JsonNumber(v.ContourMax[s])
        << ",\"min\":" << JsonNumber(v.ContourMin[s]) << ",\"step\":" << JsonNumber(v.ContourStep[s]) << "}";
  }
  out << "]";
  return out.str();
}

int RunInfoCommand(const CommandArgs& args) {
  if (args.data.empty()) throw CorvaneError("info にはデータファイルを指定してください");
  // Several files are a time series: its frames are told besides the first file's contents.
  const std::vector<SeriesFrame> series = args.data.size() > 1 ? SeriesFrames(args.data) : std::vector<SeriesFrame>();
  std::vector<NodeRequest> nodes;
  for (const std::string& s : args.nodes) nodes.push_back(ParseNode(s));
  const ProgramOptions options = BuildOptions(args);
  const std::string& path = args.data.front();

  StderrNotifier notifier;
  NullProgress progress;
  FieldView none;
  std::optional<LoadResult> loaded = LoadAnyDataFile(path, options.load, none, notifier, progress);
  if (!loaded) throw CorvaneError(path + " を読み込めませんでした");
  // The frames told must be frames that load: every other file of the series is read once, and
  // one that is refused fails the command as the first would.
  for (std::size_t k = 1; k < args.data.size(); ++k) {
    if (std::find(args.data.begin(), args.data.begin() + static_cast<std::ptrdiff_t>(k), args.data[k]) !=
        args.data.begin() + static_cast<std::ptrdiff_t>(k))
      continue;
    if (!LoadAnyDataFile(args.data[k], options.load, none, notifier, progress))
      throw CorvaneError(args.data[k] + " を読み込めませんでした");
  }
  // The listing gives every row's range and node values, the derived rows' too.
  EnsureAllRows(loaded->data);
  TakeComputedRanges(loaded->data, loaded->view, options.load);
  const LoadResult& r = *loaded;
  const FieldDataSet& d = r.data;
  const FieldView& v = r.view;
  for (const NodeRequest& n : nodes) {
    if (n.zone < 0 || n.zone >= d.ZoneCount)
      throw CorvaneError("--node " + n.text + ": 領域番号は 0.." + std::to_string(d.ZoneCount - 1) + " です");
    const ZoneGrid& z = d.Zones[static_cast<std::size_t>(n.zone)];
    if (n.i < 0 || n.i >= z.NI || n.j < 0 || n.j >= z.NJ)
      throw CorvaneError("--node " + n.text + ": zone[" + std::to_string(n.zone) + "] の i は 0.." +
                         std::to_string(z.NI - 1) + "、j は 0.." + std::to_string(z.NJ - 1) + " です");
  }
  const int rows = static_cast<int>(d.Values.size());
  // With velocity data, which columns the Mach number and total pressure come from.
  std::optional<std::array<DerivedColumn, 4>> derived;
  if (options.load.IncludeVelCheck) {
    derived = DerivedColumnsOf(r.choices.names, r.choices.Rows());
    for (const std::string& doubt : DerivedColumnDoubts(*derived)) notifier.Warning(doubt);
  }
  const std::int64_t nonFinite = NonFiniteNodeCount(d);
  std::ostringstream out;
  if (args.json) {
    out << InfoJsonHead(path, r, options.load.IncludeVelCheck, derived);
    if (!nodes.empty()) {
      out << ",\"nodes\":[";
      for (std::size_t k = 0; k < nodes.size(); ++k) {
        const NodeRequest& n = nodes[k];
        const std::int32_t index = NodeIndex(d, static_cast<std::int32_t>(n.zone), static_cast<std::int32_t>(n.i),
                                             static_cast<std::int32_t>(n.j));
        out << (k ? "," : "") << "{\"zone\":" << n.zone << ",\"i\":" << n.i << ",\"j\":" << n.j
            << ",\"x\":" << JsonNumber(d.X[static_cast<std::size_t>(index)])
            << ",\"y\":" << JsonNumber(d.Y[static_cast<std::size_t>(index)]) << ",\"values\":[";
        for (int row = 0; row < rows; ++row)
          out << (row ? "," : "") << JsonNumber(d.Values[static_cast<std::size_t>(row)][static_cast<std::size_t>(index)]);
        out << "]}";
      }
      out << "]";
    }
    if (!series.empty()) {
      out << ",\"series\":[";
      for (std::size_t k = 0; k < series.size(); ++k)
        out << (k ? "," : "") << "{\"file\":" << JsonString(series[k].path) << ",\"step\":" << series[k].step
            << ",\"time\":" << (series[k].time ? JsonNumber(*series[k].time) : std::string("null")) << "}";
      out << "]";
    }
    out << "}\n";
  } else {
    const SourceInfo& s = r.source;
    out << "ファイル: " << path << "\n";
    if (s.format == DataFileFormat::Cgns) {
      out << "形式: CGNS, ベース \"" << s.baseName << "\" (" << s.baseNames.size() << "個中1番目)";
      if (!s.solutionName.empty()) out << ", 解 \"" << s.solutionName << "\"" << (s.cellCentred ? " (セル中心)" : "");
      out << "\n";
    } else if (s.format == DataFileFormat::Plot3d) {
      out << "形式: PLOT3D, 格子 " << s.gridPath << " (" << s.gridLayout << ")";
      if (!s.freeStream.empty()) out << ", 解 (" << s.solutionLayout << ")";
      out << "\n";
    } else if (s.format == DataFileFormat::Tecplot || s.format == DataFileFormat::Vtk) {
      out << "形式: " << (s.format == DataFileFormat::Tecplot ? "Tecplot" : "VTK") << " (" << s.layout << ")";
      if (!s.title.empty()) out << ", タイトル \"" << s.title << "\"";
      out << "\n";
      for (const auto& [name, value] : s.auxData) out << "  補助データ " << name << " = " << value << "\n";
    }
    if (!s.times.empty()) {
      out << "時刻 (" << s.times.size() << "個):";
      for (double t : s.times) out << " " << Number(t);
      out << ", 読んだ時刻 " << Number(s.times[static_cast<std::size_t>(s.step)]) << "\n";
    }
    if (!s.status.empty()) out << s.status << "\n";
    if (!series.empty()) {
      out << "時系列 (" << series.size() << "コマ):\n";
      for (const SeriesFrame& f : series) {
        out << "  " << f.path;
        if (f.step > 0 || f.time) out << " [" << f.step + 1 << "]";
        if (f.time) out << " 時刻 " << Number(*f.time);
        out << "\n";
      }
    }
    out << "ZoneCount: " << d.ZoneCount << "\n";
    for (std::size_t z = 0; z < d.Zones.size(); ++z) {
      out << "  zone[" << z << "]";
      if (z < s.zoneNames.size()) out << " \"" << s.zoneNames[z] << "\"";
      out << " NI " << d.Zones[z].NI << ", NJ " << d.Zones[z].NJ << ", FirstNode " << d.Zones[z].FirstNode;
      if (z < s.freeStream.size()) out << ", " << TextFreeStream(s.freeStream[z]);
      out << "\n";
    }
    out << "NodeCount: " << d.NodeCount << "\n";
    out << "ColumnCount: " << d.ColumnCount << "\n";
    out << "RGroup:";
    const std::vector<std::string> items = RGroupItemsOf(d, options.load.IncludeVelCheck);
    for (const std::string& item : items) out << " " << item;
    out << (items.empty() ? " データ無し\n" : "\n");
    if (derived) out << DerivedColumnsText(*derived) << "\n";
    out << "範囲: x " << Number(d.XMin) << " .. " << Number(d.XMax) << ", y " << Number(d.YMin) << " .. "
        << Number(d.YMax) << "\n";
    if (nonFinite > 0) out << "座標が有限の数でない節点: " << nonFinite << " 個 (それを使うセルは描きません)\n";
    for (int k = 0; k < rows; ++k) {
      const std::size_t row = static_cast<std::size_t>(k);
      out << "  [" << k << "] " << RowName(r, k) << ": ContourMax " << Number(v.ContourMax[row]) << ", ContourMin "
          << Number(v.ContourMin[row]) << ", ContourStep " << Number(v.ContourStep[row]) << "\n";
    }
    for (const NodeRequest& n : nodes) {
      const std::int32_t index = NodeIndex(d, static_cast<std::int32_t>(n.zone), static_cast<std::int32_t>(n.i),
                                           static_cast<std::int32_t>(n.j));
      out << "node zone " << n.zone << ", i " << n.i << ", j " << n.j << ": x " << Number(d.X[static_cast<std::size_t>(index)])
          << ", y " << Number(d.Y[static_cast<std::size_t>(index)]);
      for (int row = 0; row < rows; ++row)
        out << ", " << RowName(r, row) << " " << Number(d.Values[static_cast<std::size_t>(row)][static_cast<std::size_t>(index)]);
      out << "\n";
    }
  }
  std::cout << out.str();
  return 0;
}

}  // namespace corvane
