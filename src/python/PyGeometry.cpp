// Geometry as data for Python: contour lines in world coordinates from the picture's cell walk,
// streamlines as the picture traces them, profiles along lines and the analysis segment's samples.
#include <pybind11/stl.h>

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "analysis/SegmentSampling.h"
#include "contour/ColourMap.h"
#include "contour/ContourChaining.h"
#include "contour/ContourSegments.h"
#include "contour/Separate.h"
#include "field/DeferredRows.h"
#include "fieldview/ContourRanges.h"
#include "base/Errors.h"
#include "profile/ProfileTable.h"
#include "python/PyDataSet.h"
#include "python/PyNotifier.h"
#include "streamline/StreamLayer.h"
#include "streamline/StreamTracer.h"

namespace corvane {
namespace {

struct WorldSegment {
  double x1, y1, x2, y2;
};

py::array_t<double> PointArray(const std::vector<double>& xy) {
  py::array_t<double> a({static_cast<py::ssize_t>(xy.size() / 2), py::ssize_t{2}});
  std::copy(xy.begin(), xy.end(), a.mutable_data());
  return a;
}

py::array_t<double> Column(const std::vector<double>& v) {
  py::array_t<double> a(static_cast<py::ssize_t>(v.size()));
  std::copy(v.begin(), v.end(), a.mutable_data());
  return a;
}

// The levels: the given values, or the multiples of the row's step inside its contour range as
// the picture draws them. Each level is computed as the drawing computes it (index times step).
std::vector<double> LevelsOf(const FieldView& view, int row, const py::object& given) {
  std::vector<double> levels;
  if (!given.is_none()) {
    for (const py::handle v : given) levels.push_back(v.cast<double>());
    for (double l : levels)
      if (!std::isfinite(l)) throw CorvaneError("等高線の値が有限の数ではありません");
    return levels;
  }
  const auto r = static_cast<std::size_t>(row);
  const double max = view.ContourMax[r], min = view.ContourMin[r], step = view.ContourStep[r];
  const std::string problem = ContourRangeProblem(max, min, step);
  if (!problem.empty()) throw CorvaneError(problem);
  const ContourLevelRange range = MakeContourLevelRange(max, min, step);
  for (std::int64_t l = 0; l < range.levelCount; ++l) {
    const double level = static_cast<double>(range.firstLevelIndex + l) * step;
    if (min <= level && level <= max) levels.push_back(level);
  }
  return levels;
}

// The segment of `level` across triangle (p, q, r) as the picture's walk finds it, before the
// mapping to pixels: first end on L-M or M-H, second on L-H, every crossing measured from the
// lower end of its edge so that neighbouring triangles meet exactly.
bool TriangleSegment(const double* X, const double* Y, const double* values, const std::int32_t node[3], double level,
                     WorldSegment& out) {
  const double v[3] = {values[node[0]], values[node[1]], values[node[2]]};
  const double vmin = std::min(std::min(v[0], v[1]), v[2]), vmax = std::max(std::max(v[0], v[1]), v[2]);
  if (!(vmin <= level && level <= vmax) || vmin == vmax) return false;
  int L = 0, M = 0, H = 0;
  OrderTriangleVertices(v, vmin, vmax, L, M, H);
  auto clamp = [](double f) { return f < 0.0 ? 0.0 : (f > 1.0 ? 1.0 : f); };
  const std::int32_t nL = node[L], nM = node[M], nH = node[H];
  const double t = clamp(EdgeFraction(values, nL, nH, level));
  out.x2 = X[nL] + t * (X[nH] - X[nL]);
  out.y2 = Y[nL] + t * (Y[nH] - Y[nL]);
  const double u = v[L] == v[M] ? 2.0 : EdgeFraction(values, nL, nM, level);
  if (u <= 1.0) {
    out.x1 = X[nL] + u * (X[nM] - X[nL]);
    out.y1 = Y[nL] + u * (Y[nM] - Y[nL]);
  } else {
    const double w = clamp(EdgeFraction(values, nM, nH, level));
    out.x1 = X[nM] + w * (X[nH] - X[nM]);
    out.y1 = Y[nM] + w * (Y[nH] - Y[nM]);
  }
  return !(out.x1 == out.x2 && out.y1 == out.y2);
}

// The picture's chaining only extends a polyline forward from its first segment, so a line whose
// first segment lies inside it comes out in two pieces meeting at that segment's start (the
// pixels are the same). As data it is one line: every open polyline takes in front of it another
// that ends, or starts, where it starts. Emptied polylines are left for the caller to skip.
void JoinAtStarts(std::vector<std::vector<std::int32_t>>& lines) {
  std::unordered_map<std::int32_t, std::vector<std::size_t>> endsAt;
  auto open = [&](std::size_t k) { return lines[k].size() > 1 && lines[k].front() != lines[k].back(); };
  for (std::size_t k = 0; k < lines.size(); ++k)
    if (open(k)) {
      endsAt[lines[k].front()].push_back(k);
      endsAt[lines[k].back()].push_back(k);
    }
  for (std::size_t a = 0; a < lines.size(); ++a) {
    while (open(a)) {
      const auto found = endsAt.find(lines[a].front());
      if (found == endsAt.end()) break;
      std::size_t b = lines.size();
      for (std::size_t k : found->second)
        if (k != a && open(k) && (lines[k].back() == lines[a].front() || lines[k].front() == lines[a].front())) b = k;
      if (b == lines.size()) break;
      std::vector<std::int32_t> joined = std::move(lines[b]);
      lines[b].clear();
      if (joined.front() == lines[a].front()) std::reverse(joined.begin(), joined.end());
      joined.insert(joined.end(), lines[a].begin() + 1, lines[a].end());
      lines[a] = std::move(joined);
      endsAt[lines[a].front()].push_back(a);
    }
  }
}

// Chains one zone's segments of one level as the picture chains its pixels, the end points
// matched by exact equality of their coordinates; appends one list of x, y per polyline.
void ChainWorld(const std::vector<WorldSegment>& segments, std::vector<std::vector<double>>& polylines,
                ChainWorkspace& work) {
  // Each distinct end point becomes an id, and the pixel chaining runs over the ids.
  std::unordered_map<std::uint64_t, std::vector<std::int32_t>> byHash;
  std::vector<std::pair<double, double>> points;
  auto id = [&](double x, double y) {
    x += 0.0;  // -0 and 0 are one point
    y += 0.0;
    const std::uint64_t h = std::hash<double>()(x) * 0x9E3779B97F4A7C15ull ^ std::hash<double>()(y);
    std::vector<std::int32_t>& bucket = byHash[h];
    for (std::int32_t k : bucket)
      if (points[static_cast<std::size_t>(k)].first == x && points[static_cast<std::size_t>(k)].second == y) return k;
    const auto k = static_cast<std::int32_t>(points.size());
    points.emplace_back(x, y);
    bucket.push_back(k);
    return k;
  };
  std::vector<ContourSegment> ids;
  ids.reserve(segments.size());
  for (const WorldSegment& s : segments) ids.push_back({id(s.x1, s.y1), 0, id(s.x2, s.y2), 0});
  LevelPolylineBuffer buffer;
  buffer.Reset(static_cast<std::int32_t>(2 * ids.size()));
  ChainLevelSegments(ids.data(), static_cast<std::int32_t>(ids.size()), buffer, work);
  std::vector<std::vector<std::int32_t>> lines;
  for (std::int32_t k = 0; k < buffer.filled; ++k) {
    const auto slot = static_cast<std::size_t>(k);
    if (!buffer.penDown[slot]) lines.emplace_back();
    lines.back().push_back(buffer.points[slot].x());
  }
  JoinAtStarts(lines);
  for (const auto& line : lines) {
    if (line.empty()) continue;
    polylines.emplace_back();
    for (std::int32_t k : line) {
      polylines.back().push_back(points[static_cast<std::size_t>(k)].first);
      polylines.back().push_back(points[static_cast<std::size_t>(k)].second);
    }
  }
}

struct LevelLine {
  double level;
  int zone;
  std::vector<double> xy;
};

py::list ContourLinesOf(const DataSet& set, const py::object& variable, const py::object& levelsIn) {
  std::vector<LevelLine> lines;
  int row = 0;
  std::vector<double> levels;
  const ProgramOptions options = OptionsOf(set->call);
  {
    std::lock_guard<std::mutex> lock(set->lock);
    const FieldDataSet& data = set->loaded.data;
    row = variable.is_none() ? options.RGroup : RowOf(data, variable);
    if (row < 0 || static_cast<std::size_t>(row) >= data.Values.size())
      throw CorvaneError("RGroup の項目がありません: " + std::to_string(row));
    EnsureRowValues(set->loaded.data, row);
    TakeComputedRanges(set->loaded.data, set->loaded.view, options.load);
    FieldView view = set->loaded.view;
    ApplyContourBoxes(view, options);  // the settings' boxes, for the selected row as in the picture
    levels = LevelsOf(view, row, levelsIn);
  }
  {
    py::gil_scoped_release unlocked;
    std::lock_guard<std::mutex> lock(set->lock);
    const FieldDataSet& data = set->loaded.data;
    const double* values = data.Values[static_cast<std::size_t>(row)].data();
    // segments[zone][level], in walk order.
    std::vector<std::vector<std::vector<WorldSegment>>> segments(
        data.Zones.size(), std::vector<std::vector<WorldSegment>>(levels.size()));
    std::size_t zone = 0;
    NullProgress progress;
    ForEachContourTriangle(data, {}, values, progress, [&](std::int32_t p, std::int32_t q, std::int32_t r) {
      while (zone + 1 < data.Zones.size() && p >= data.Zones[zone + 1].FirstNode) ++zone;
      const std::int32_t node[3] = {p, q, r};
      const double* X = data.X.data();
      const double* Y = data.Y.data();
      const double area = std::fabs((X[q] - X[p]) * (Y[r] - Y[p]) - (X[r] - X[p]) * (Y[q] - Y[p]));
      if (!(area > 0.0) || !std::isfinite(area)) return;
      if (!std::isfinite(values[p]) || !std::isfinite(values[q]) || !std::isfinite(values[r])) return;
      WorldSegment s{};
      for (std::size_t l = 0; l < levels.size(); ++l)
        if (TriangleSegment(X, Y, values, node, levels[l], s)) segments[zone][l].push_back(s);
    });
    ChainWorkspace work;
    for (std::size_t l = 0; l < levels.size(); ++l) {
      for (std::size_t z = 0; z < segments.size(); ++z) {
        std::vector<std::vector<double>> polylines;
        ChainWorld(segments[z][l], polylines, work);
        for (auto& xy : polylines) lines.push_back({levels[l], static_cast<int>(z), std::move(xy)});
      }
    }
  }
  py::list out;
  for (const LevelLine& line : lines) {
    py::dict d;
    d["level"] = line.level;
    d["zone"] = line.zone;
    d["points"] = PointArray(line.xy);
    out.append(d);
  }
  return out;
}

py::list Streamlines(const DataSet& set, const py::object& seeds, const py::object& settings, const py::object& sets,
                     const py::object& size, const py::object& view) {
  const CallOptions call = Combined(*set, settings, sets);
  const ProgramOptions options = OptionsOf(call);
  CommandArgs args = ArgsOf(call);
  const std::optional<ViewTransform> given = SizeAndView(args, size, view);
  args.seedGiven = true;
  std::vector<WorldPoint> points;
  if (!seeds.is_none())
    for (const py::handle s : seeds) {
      const py::sequence p = py::reinterpret_borrow<py::sequence>(s);
      if (p.size() != 2) throw CorvaneError("seeds の各点は (x, y) にしてください");
      points.push_back({p[0].cast<double>(), p[1].cast<double>()});
    }
  std::vector<StreamPath> paths;
  const bool ownSeeds = seeds.is_none();
  {
    py::gil_scoped_release unlocked;
    WithScene(*set, args, options, given, [&](SceneState& state) {
      NullProgress progress;
      const LayerContext context = LayerContextFor(state.data, state.fieldView, state.view, state.options, progress,
                                                   state.random, state.readout);
      if (ownSeeds) {
        paths = TraceStreamlines(context, state.options.stream);
        return;
      }
      StreamField field(state.data, state.view, StreamSetupFrom(context));
      if (!field.Valid()) throw CorvaneError("流線を描くには速度の変数 (xvecbox, yvecbox) が必要です");
      for (const WorldPoint& p : points) paths.push_back(TraceFromPoint(field, p.x, p.y));
    });
  }
  py::list out;
  for (const StreamPath& path : paths) {
    std::vector<double> xy;
    for (const PathVertex& v : path.vertices) {
      xy.push_back(v.x);
      xy.push_back(v.y);
    }
    out.append(PointArray(xy));
  }
  return out;
}

py::dict ProfileOf(const DataSet& set, const py::object& line, const py::object& segment, const py::object& variables) {
  LineChoice choice;
  if (line.is_none() == segment.is_none()) throw CorvaneError("profile には line か segment のどちらか一つを指定してください");
  if (!line.is_none()) {
    choice.pieces = ParseLinePieces(py::cast<std::string>(py::str(line)));
  } else {
    const py::sequence s = py::reinterpret_borrow<py::sequence>(segment);
    if (s.size() != 4) throw CorvaneError("segment は (x1, y1, x2, y2) の四つの数で指定してください");
    choice.segment = true;
    choice.p1 = {s[0].cast<double>(), s[1].cast<double>()};
    choice.p2 = {s[2].cast<double>(), s[3].cast<double>()};
  }
  std::vector<std::string> names;
  if (!variables.is_none()) {
    if (py::isinstance<py::str>(variables)) names.push_back(variables.cast<std::string>());
    else
      for (const py::handle v : variables) names.push_back(py::cast<std::string>(py::str(v)));
  }
  ProfileSet profile;
  {
    py::gil_scoped_release unlocked;
    std::lock_guard<std::mutex> lock(set->lock);
    EnsureAllRows(set->loaded.data);  // a profile carries every row
    profile = MakeProfileSet(set->loaded.data, choice, "");
    if (variables.is_none()) names = profile.rowNames;
    for (const std::string& n : names) ProfileColumn(profile, n);  // an unknown name fails here
  }
  py::dict out;
  out["s"] = Column(profile.profile.s);
  out["x"] = Column(profile.profile.x);
  out["y"] = Column(profile.profile.y);
  for (const std::string& n : names) out[py::str(n)] = Column(ProfileColumn(profile, n));
  return out;
}

py::dict SampleOf(const DataSet& set, const py::object& p1, const py::object& p2, const py::object& variable) {
  auto point = [](const py::object& o) {
    const py::sequence s = py::reinterpret_borrow<py::sequence>(o);
    if (s.size() != 2) throw CorvaneError("線分の端は (x, y) にしてください");
    return WorldPoint{s[0].cast<double>(), s[1].cast<double>()};
  };
  const WorldPoint a = point(p1), b = point(p2);
  std::vector<SegmentSample> samples;
  bool truncated = false;
  const ProgramOptions options = OptionsOf(set->call);
  int row = options.RGroup;
  {
    std::lock_guard<std::mutex> lock(set->lock);
    const FieldDataSet& data = set->loaded.data;
    if (!variable.is_none()) row = RowOf(data, variable);
    if (!VariableCaption(data, row, variable.is_none() ? options.load.IncludeVelCheck : true))
      throw CorvaneError("RGroup=" + std::to_string(row) + " の変数はありません");
  }
  {
    // The lock is never held while waiting for the interpreter.
    py::gil_scoped_release unlocked;
    std::lock_guard<std::mutex> lock(set->lock);
    truncated = CollectCrossings(set->loaded.data, row, a, b, samples);
    SortAndMergeSamples(samples);
  }
  if (truncated && PyErr_WarnEx(PyExc_UserWarning, kTooManySamplesMessage, 1) != 0) throw py::error_already_set();
  std::vector<double> x, y, v;
  for (const SegmentSample& s : samples) {
    x.push_back(s.x);
    y.push_back(s.y);
    v.push_back(s.value);
  }
  py::dict out;
  out["x"] = Column(x);
  out["y"] = Column(y);
  out["value"] = Column(v);
  return out;
}

}  // namespace

void BindGeometry(py::module_& m) {
  m.def("contour_lines", &ContourLinesOf, py::arg("data"), py::arg("variable") = py::none(), py::arg("levels") = py::none(),
        "The contour lines of a variable (name or index; the selected one by default) as a list of "
        "{'level', 'zone', 'points': (n, 2) float64}: the picture's cell walk and chaining in data coordinates. "
        "Levels: the given values, or the data set's contour range and step.");
  m.def("streamlines", &Streamlines, py::arg("data"), py::arg("seeds") = py::none(), py::arg("settings") = py::none(),
        py::arg("set") = py::none(), py::arg("size") = py::none(), py::arg("view") = "fit",
        "Streamlines from the seed points [(x, y), ...] (the picture's own seeds by default) as (n, 2) arrays, "
        "traced across zones as the picture of that size and view traces them.");
  m.def("profile", &ProfileOf, py::arg("data"), py::arg("line") = py::none(), py::arg("segment") = py::none(),
        py::arg("variables") = py::none(),
        "Values along grid lines ('Z:j=N', pieces joined by commas) or a segment (x1, y1, x2, y2), as "
        "`corvane profile`: a dict of 1-D arrays s, x, y and each variable (every variable by default).");
  m.def("sample", &SampleOf, py::arg("data"), py::arg("p1"), py::arg("p2"), py::arg("variable") = py::none(),
        "The samples `corvane analyze` writes: where segment p1-p2 crosses the grid lines, ordered by x, "
        "as a dict of arrays x, y, value.");
}

}  // namespace corvane
