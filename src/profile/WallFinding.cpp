#include "profile/WallFinding.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <set>
#include <utility>

namespace corvane {
namespace {

// A zone whose nodes lie inside the data set.
bool ZoneInData(const FieldDataSet& data, const ZoneGrid& z) {
  return z.NI > 0 && z.NJ > 0 &&
         static_cast<std::int64_t>(z.FirstNode) + static_cast<std::int64_t>(z.NI) * z.NJ <= data.NodeCount &&
         static_cast<std::size_t>(z.FirstNode) + static_cast<std::size_t>(z.NI) * z.NJ <= std::min(data.X.size(), data.Y.size());
}

std::size_t NodeOf(const ZoneGrid& z, int i, int j) {
  return static_cast<std::size_t>(z.FirstNode) + static_cast<std::size_t>(z.NJ) * i + j;
}

double SegmentDistance(WorldPoint p, double x1, double y1, double x2, double y2) {
  const double dx = x2 - x1, dy = y2 - y1;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0.0 ? ((p.x - x1) * dx + (p.y - y1) * dy) / length2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (x1 + t * dx), p.y - (y1 + t * dy));
}

// One edge of a zone: j = 0, j = max (constant j) or i = 0, i = max.
struct Edge {
  int zone;
  bool constantJ;
  int index;
  int length;  // nodes along it
};

std::vector<Edge> EdgesOf(int zone, const ZoneGrid& z) {
  std::vector<Edge> edges = {{zone, true, 0, z.NI}, {zone, true, z.NJ - 1, z.NI}, {zone, false, 0, z.NJ},
                             {zone, false, z.NI - 1, z.NJ}};
  // A zone one node thick has its two edges on the same line; walk it once.
  if (z.NJ == 1) edges.erase(edges.begin() + 1);
  if (z.NI == 1) edges.pop_back();
  return edges;
}

std::size_t EdgeNode(const ZoneGrid& z, const Edge& e, int n) {
  return e.constantJ ? NodeOf(z, n, e.index) : NodeOf(z, e.index, n);
}

// Points closer than the quantum are one point: the same node written by two zones.
struct PointKey {
  long long x, y;
  auto operator<=>(const PointKey&) const = default;
};

// Union-find over point numbers.
int Root(std::vector<int>& parent, int a) {
  while (parent[static_cast<std::size_t>(a)] != a) a = parent[static_cast<std::size_t>(a)] = parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(a)])];
  return a;
}

}  // namespace

std::optional<NearestLine> NearestGridLine(const FieldDataSet& data, WorldPoint at) {
  std::optional<NearestLine> best;
  auto consider = [&](const LinePiece& piece, double d) {
    if (std::isfinite(d) && (!best || d < best->distance)) best = NearestLine{piece, d};
  };
  for (int zone = 0; zone < static_cast<int>(data.Zones.size()) && zone < data.ZoneCount; ++zone) {
    const ZoneGrid& z = data.Zones[static_cast<std::size_t>(zone)];
    if (!ZoneInData(data, z)) continue;
    auto distance = [&](std::size_t a, std::size_t b) { return SegmentDistance(at, data.X[a], data.Y[a], data.X[b], data.Y[b]); };
    for (int j = 0; j < z.NJ; ++j) {
      double d = INFINITY;
      for (int i = 1; i < z.NI; ++i) d = std::min(d, distance(NodeOf(z, i - 1, j), NodeOf(z, i, j)));
      if (z.NI == 1) d = distance(NodeOf(z, 0, j), NodeOf(z, 0, j));
      consider(LinePiece{zone, true, j, 0, -1}, d);
    }
    for (int i = 0; i < z.NI; ++i) {
      double d = INFINITY;
      for (int j = 1; j < z.NJ; ++j) d = std::min(d, distance(NodeOf(z, i, j - 1), NodeOf(z, i, j)));
      consider(LinePiece{zone, false, i, 0, -1}, d);
    }
  }
  return best;
}

std::vector<LinePiece> BodyWalls(const FieldDataSet& data) {
  double xmin = INFINITY, xmax = -INFINITY, ymin = INFINITY, ymax = -INFINITY;
  const std::size_t count = std::min(data.X.size(), data.Y.size());
  for (std::size_t k = 0; k < count; ++k) {
    if (!std::isfinite(data.X[k]) || !std::isfinite(data.Y[k])) continue;
    xmin = std::min(xmin, data.X[k]), xmax = std::max(xmax, data.X[k]);
    ymin = std::min(ymin, data.Y[k]), ymax = std::max(ymax, data.Y[k]);
  }
  if (!(xmax >= xmin) || !(ymax >= ymin)) return {};
  const double quantum = std::max({xmax - xmin, ymax - ymin, 1e-300}) * 1e-9;

  // Every node-to-node step of every zone edge, by its two end points.
  std::map<PointKey, int> points;
  auto pointOf = [&](std::size_t node) -> int {
    const double x = data.X[node], y = data.Y[node];
    if (!std::isfinite(x) || !std::isfinite(y)) return -1;
    const PointKey key{std::llround(x / quantum), std::llround(y / quantum)};
    return points.emplace(key, static_cast<int>(points.size())).first->second;
  };
  struct Step {
    Edge edge;
    int n;     // from node n to n + 1 along the edge
    int a, b;  // point numbers
  };
  std::vector<Step> steps;
  std::map<std::pair<int, int>, int> uses;
  for (int zone = 0; zone < static_cast<int>(data.Zones.size()) && zone < data.ZoneCount; ++zone) {
    const ZoneGrid& z = data.Zones[static_cast<std::size_t>(zone)];
    if (!ZoneInData(data, z)) continue;
    for (const Edge& e : EdgesOf(zone, z)) {
      for (int n = 0; n + 1 < e.length; ++n) {
        const int a = pointOf(EdgeNode(z, e, n)), b = pointOf(EdgeNode(z, e, n + 1));
        if (a < 0 || b < 0 || a == b) continue;  // a collapsed edge (a pole) bounds nothing
        steps.push_back({e, n, a, b});
        ++uses[std::minmax(a, b)];
      }
    }
  }
  // The steps no other edge shares, joined where they meet into parts.
  std::vector<const Step*> open;
  for (const Step& s : steps)
    if (uses[std::minmax(s.a, s.b)] == 1) open.push_back(&s);
  std::vector<int> parent(points.size());
  std::iota(parent.begin(), parent.end(), 0);
  for (const Step* s : open) parent[static_cast<std::size_t>(Root(parent, s->a))] = Root(parent, s->b);
  // A part reaching the edge of the extents is the outer boundary.
  std::vector<WorldPoint> where(points.size());
  for (const auto& [key, number] : points)
    where[static_cast<std::size_t>(number)] = {static_cast<double>(key.x) * quantum, static_cast<double>(key.y) * quantum};
  std::set<int> outer;
  for (const Step* s : open) {
    const WorldPoint p = where[static_cast<std::size_t>(s->a)];
    if (p.x <= xmin + quantum || p.x >= xmax - quantum || p.y <= ymin + quantum || p.y >= ymax - quantum)
      outer.insert(Root(parent, s->a));
  }
  // Each body part as pieces: runs of consecutive steps along one edge.
  std::vector<LinePiece> pieces;
  std::vector<int> parts;
  for (const Step* s : open) {
    const int part = Root(parent, s->a);
    if (!outer.count(part) && std::find(parts.begin(), parts.end(), part) == parts.end()) parts.push_back(part);
  }
  for (int part : parts) {
    std::vector<LinePiece> runs;
    for (const Step* s : open) {
      if (Root(parent, s->a) != part) continue;
      LinePiece* last = runs.empty() ? nullptr : &runs.back();
      if (last && last->zone == s->edge.zone && last->constantJ == s->edge.constantJ && last->index == s->edge.index &&
          last->to == s->n) {
        last->to = s->n + 1;
      } else {
        runs.push_back(LinePiece{s->edge.zone, s->edge.constantJ, s->edge.index, s->n, s->n + 1});
      }
    }
    // Whole edges are written without their range.
    for (LinePiece& p : runs) {
      const ZoneGrid& z = data.Zones[static_cast<std::size_t>(p.zone)];
      if (p.from == 0 && p.to == (p.constantJ ? z.NI : z.NJ) - 1) p.to = -1;
    }
    // In the order they join: each next run is the one starting or ending nearest the last end.
    auto ends = [&](const LinePiece& p) {
      const std::vector<WorldPoint> line = LinePoints(data, {p});
      return std::pair{line.front(), line.back()};
    };
    std::vector<LinePiece> ordered;
    if (!runs.empty()) {
      ordered.push_back(runs.front());
      runs.erase(runs.begin());
    }
    while (!runs.empty()) {
      const WorldPoint end = ends(ordered.back()).second;
      std::size_t best = 0;
      double bestDistance = INFINITY;
      bool flip = false;
      for (std::size_t k = 0; k < runs.size(); ++k) {
        const auto [a, b] = ends(runs[k]);
        const double da = std::hypot(a.x - end.x, a.y - end.y), db = std::hypot(b.x - end.x, b.y - end.y);
        if (std::min(da, db) < bestDistance) bestDistance = std::min(da, db), best = k, flip = db < da;
      }
      LinePiece next = runs[best];
      runs.erase(runs.begin() + static_cast<std::ptrdiff_t>(best));
      if (flip) {
        const ZoneGrid& z = data.Zones[static_cast<std::size_t>(next.zone)];
        const int last = (next.constantJ ? z.NI : z.NJ) - 1;
        const int to = next.to < 0 ? last : next.to;
        next.to = next.from;
        next.from = to;
      }
      ordered.push_back(next);
    }
    pieces.insert(pieces.end(), ordered.begin(), ordered.end());
  }
  return pieces;
}

std::vector<WorldPoint> LinePoints(const FieldDataSet& data, const std::vector<LinePiece>& pieces) {
  const Profile profile = ExtractGridLine(data, pieces);
  std::vector<WorldPoint> points;
  for (std::size_t k = 0; k < profile.Size(); ++k) points.push_back({profile.x[k], profile.y[k]});
  return points;
}

std::string DescribeLine(const std::vector<LinePiece>& pieces, bool bodyWalls) {
  if (bodyWalls) return "物体の壁";
  if (pieces.empty()) return "線なし";
  const LinePiece& first = pieces.front();
  const bool alike = std::all_of(pieces.begin(), pieces.end(), [&](const LinePiece& p) {
    return p.constantJ == first.constantJ && p.index == first.index;
  });
  std::string zones;
  for (const LinePiece& p : pieces) {
    const std::string z = std::to_string(p.zone);
    if ((", " + zones + ",").find(", " + z + ",") == std::string::npos) zones += (zones.empty() ? "" : ", ") + z;
  }
  const std::string line = std::string(first.constantJ ? "j" : "i") + " = " + std::to_string(first.index);
  if (alike) return "領域 " + zones + " の " + line + " の線";
  return "領域 " + zones + " の " + std::to_string(pieces.size()) + " 区間をつないだ線";
}

}  // namespace corvane
