#include "streamline/StreamField.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace corvane {
namespace {

constexpr int kLeafCells = 16;
constexpr std::size_t kFanOut = 16;
// Boxes are widened by this fraction of the largest coordinate: a triangle test that rounds a
// point onto a side must still find that point inside the cell's box.
constexpr double kBoxMarginFraction = 1e-9;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kMinStepLimit = 201;
constexpr long long kMaxStepLimit = 1000000;

// Whether box (x0, y0) .. (x1, y1) widened by (mx, my) holds q.
bool Contains(double x0, double y0, double x1, double y1, WorldPoint q, double mx, double my) {
  return q.x >= x0 - mx && q.x <= x1 + mx && q.y >= y0 - my && q.y <= y1 + my;
}

// One sortable key for a pixel.
std::uint64_t PixelKey(std::int64_t x, std::int64_t y) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(static_cast<std::int32_t>(x))) << 32) |
         static_cast<std::uint32_t>(static_cast<std::int32_t>(y));
}

// Two pixels within the zone match tolerance of each other.
bool Near(const std::pair<std::int32_t, std::int32_t>& p, const std::pair<std::int32_t, std::int32_t>& q) {
  return std::abs(static_cast<std::int64_t>(p.first) - q.first) <= kZoneMatchPixels &&
         std::abs(static_cast<std::int64_t>(p.second) - q.second) <= kZoneMatchPixels;
}

double Distance(WorldPoint p, WorldPoint q) { return std::hypot(p.x - q.x, p.y - q.y); }

}  // namespace

bool EdgesCoincide(WorldPoint c, WorldPoint d, WorldPoint a, WorldPoint b) {
  const double magnitude = std::max({std::fabs(a.x), std::fabs(a.y), std::fabs(b.x), std::fabs(b.y)});
  const double tolerance = std::max(0.01 * std::min(Distance(a, b), Distance(c, d)), 1e-7 * magnitude);
  return Distance(c, a) <= tolerance && Distance(d, b) <= tolerance;
}

// Checks the velocity rows and which zones lie wholly inside the arrays.
StreamField::StreamField(const FieldDataSet& data, const ViewTransform& view, const StreamFieldSetup& setup)
    : data_(data), view_(view), dx_(setup.dx), dy_(setup.dy), baseX_(setup.baseX), baseY_(setup.baseY),
      copies_(std::clamp(setup.copies, 0, 1000)) {
  const int rows = static_cast<int>(data.Values.size());
  if (setup.uRow < 0 || setup.vRow < 0 || setup.uRow >= rows || setup.vRow >= rows) return;
  u_ = &data.Values[static_cast<std::size_t>(setup.uRow)];
  v_ = &data.Values[static_cast<std::size_t>(setup.vRow)];
  valid_ = true;
  // A zone is entered only when every one of its nodes lies inside all four arrays.
  const std::size_t nodes = std::min({data.X.size(), data.Y.size(), u_->size(), v_->size()});
  const std::size_t zones = std::min(data.Zones.size(), static_cast<std::size_t>(std::max(data.ZoneCount, 0)));
  usable_.assign(zones, false);
  long long lines = 0;
  for (std::size_t z = 0; z < zones; ++z) {
    const ZoneGrid& g = data.Zones[z];
    if (g.NI < 1 || g.NJ < 1 || g.FirstNode < 0) continue;
    const long long end = static_cast<long long>(g.FirstNode) + static_cast<long long>(g.NI) * g.NJ;
    usable_[z] = end <= static_cast<long long>(nodes);
    if (usable_[z]) lines += static_cast<long long>(g.NI) + g.NJ;
  }
  stepLimit_ = static_cast<int>(std::clamp(4 * lines, static_cast<long long>(kMinStepLimit), kMaxStepLimit));
}

// Builds the box hierarchy of every usable zone with at least one cell.
void StreamField::BuildCellIndex() {
  cellsBuilt_ = true;
  cells_.assign(usable_.size(), ZoneCells{});
  for (std::size_t z = 0; z < usable_.size(); ++z) {
    const ZoneGrid& g = data_.Zones[z];
    if (!usable_[z] || g.NI < 2 || g.NJ < 2) continue;
    ZoneCells& zc = cells_[z];
    const std::int32_t perRow = (g.NJ - 1 + kLeafCells - 1) / kLeafCells;
    zc.leavesPerRow = perRow;
    std::vector<Box> boxes(static_cast<std::size_t>(g.NI - 1) * static_cast<std::size_t>(perRow));
    // Pass 1: the box of each run of nodes along a node row (the runs of row i + 1 are kept for
    // the next row), then each leaf's box as the union of its two rows' runs. The comparisons
    // skip NaN coordinates; cells with such nodes contain nothing anyway.
    std::vector<Box> previous(static_cast<std::size_t>(perRow)), current(static_cast<std::size_t>(perRow));
    for (std::int32_t i = 0; i < g.NI; ++i) {
      const double* x = &data_.X[Node(static_cast<int>(z), {i, 0})];
      const double* y = &data_.Y[Node(static_cast<int>(z), {i, 0})];
      for (std::int32_t r = 0; r < perRow; ++r) {
        const std::int32_t j0 = r * kLeafCells, j1 = std::min(j0 + kLeafCells, g.NJ - 1);
        double x0 = kInf, y0 = kInf, x1 = -kInf, y1 = -kInf;
        for (std::int32_t j = j0; j <= j1; ++j) {
          x0 = x[j] < x0 ? x[j] : x0;
          x1 = x[j] > x1 ? x[j] : x1;
          y0 = y[j] < y0 ? y[j] : y0;
          y1 = y[j] > y1 ? y[j] : y1;
        }
        current[static_cast<std::size_t>(r)] = Box{x0, y0, x1, y1};
      }
      if (i > 0) {
        Box* leaf = &boxes[static_cast<std::size_t>(i - 1) * static_cast<std::size_t>(perRow)];
        for (std::size_t r = 0; r < current.size(); ++r) {
          const Box& p = previous[r];
          const Box& c = current[r];
          leaf[r] = Box{std::min(p.x0, c.x0), std::min(p.y0, c.y0), std::max(p.x1, c.x1), std::max(p.y1, c.y1)};
        }
      }
      std::swap(previous, current);
    }
    // The margin follows the size of the coordinates: the largest finite box corner.
    double maxX = 0.0, maxY = 0.0;
    for (const Box& b : boxes) {
      for (double v : {b.x0, b.x1})
        if (std::fabs(v) < kInf) maxX = std::max(maxX, std::fabs(v));
      for (double v : {b.y0, b.y1})
        if (std::fabs(v) < kInf) maxY = std::max(maxY, std::fabs(v));
    }
    zc.marginX = kBoxMarginFraction * maxX;
    zc.marginY = kBoxMarginFraction * maxY;
    // Pass 2: levels of boxes over kFanOut consecutive boxes each, until the top is small.
    zc.levels.push_back(std::move(boxes));
    while (zc.levels.back().size() > kFanOut) {
      const std::vector<Box>& below = zc.levels.back();
      std::vector<Box> above((below.size() + kFanOut - 1) / kFanOut, Box{kInf, kInf, -kInf, -kInf});
      for (std::size_t k = 0; k < below.size(); ++k) {
        Box& a = above[k / kFanOut];
        a.x0 = std::min(a.x0, below[k].x0);
        a.y0 = std::min(a.y0, below[k].y0);
        a.x1 = std::max(a.x1, below[k].x1);
        a.y1 = std::max(a.y1, below[k].y1);
      }
      zc.levels.push_back(std::move(above));
    }
  }
}

// The triangle tests of one leaf's cells in scan order; the first hit fills `found`.
bool StreamField::TestLeaf(const ZoneCells& zc, std::size_t leaf, int copy, int zone, WorldPoint p, int& skip,
                           SeedCell& found) const {
  const std::int32_t i = static_cast<std::int32_t>(leaf / static_cast<std::size_t>(zc.leavesPerRow));
  const std::int32_t j0 = static_cast<std::int32_t>(leaf % static_cast<std::size_t>(zc.leavesPerRow)) * kLeafCells;
  const std::int32_t j1 = std::min(j0 + kLeafCells, Zone(zone).NJ - 1);
  for (std::int32_t j = j0; j < j1; ++j) {
    const GridNode n00{i, j}, n01{i, j + 1}, n10{i + 1, j}, n11{i + 1, j + 1};
    const WorldPoint p00 = Position(copy, zone, n00), p01 = Position(copy, zone, n01);
    const WorldPoint p10 = Position(copy, zone, n10), p11 = Position(copy, zone, n11);
    const GridNode* corner = nullptr;
    TriangleHit hit = PointInTriangle(p, p00, p01, p10);
    const GridNode first[3] = {n00, n01, n10}, second[3] = {n11, n10, n01};
    if (hit.inside) {
      corner = first;
    } else {
      hit = PointInTriangle(p, p11, p10, p01);
      if (hit.inside) corner = second;
    }
    if (corner == nullptr) continue;
    if (skip > 0) {
      --skip;
      continue;
    }
    const WorldPoint w0 = Velocity(zone, corner[0]), w1 = Velocity(zone, corner[1]), w2 = Velocity(zone, corner[2]);
    found = SeedCell{true, copy, zone, i, j, w0.x + hit.a * (w1.x - w0.x) + hit.b * (w2.x - w0.x),
                     w0.y + hit.a * (w1.y - w0.y) + hit.b * (w2.y - w0.y)};
    return true;
  }
  return false;
}

// Depth first through the boxes in search order, so the first hit is the first cell of a scan.
bool StreamField::SearchZone(const ZoneCells& zc, int copy, int zone, WorldPoint p, int& skip, SeedCell& found) const {
  if (zc.levels.empty()) return false;
  // The boxes hold unshifted positions: look for the point moved back by the copy's shift.
  const double sx = ShiftX(copy), sy = ShiftY(copy);
  const WorldPoint q{p.x - sx, p.y - sy};
  const double mx = zc.marginX + kBoxMarginFraction * std::fabs(sx);
  const double my = zc.marginY + kBoxMarginFraction * std::fabs(sy);
  const int top = static_cast<int>(zc.levels.size()) - 1;
  // An explicit stack of (level, first box, end box) keeps deep zones off the call stack.
  struct Range {
    int level;
    std::size_t next, end;
  };
  std::vector<Range> stack;
  stack.push_back({top, 0, zc.levels[static_cast<std::size_t>(top)].size()});
  while (!stack.empty()) {
    Range& r = stack.back();
    if (r.next >= r.end) {
      stack.pop_back();
      continue;
    }
    const std::size_t k = r.next++;
    const int level = r.level;
    const Box& b = zc.levels[static_cast<std::size_t>(level)][k];
    if (!Contains(b.x0, b.y0, b.x1, b.y1, q, mx, my)) continue;
    if (level == 0) {
      if (TestLeaf(zc, k, copy, zone, p, skip, found)) return true;
      continue;
    }
    const std::size_t count = zc.levels[static_cast<std::size_t>(level - 1)].size();
    stack.push_back({level - 1, k * kFanOut, std::min(count, (k + 1) * kFanOut)});
  }
  return false;
}

// Copies, then zones, each through its box hierarchy.
SeedCell StreamField::FindCell(WorldPoint p, int skip, int onlyCopy, int exceptZone) {
  SeedCell found;
  if (!valid_) return found;
  if (!cellsBuilt_) BuildCellIndex();
  for (int copy = 0; copy <= copies_; ++copy) {
    if (onlyCopy >= 0 && copy != onlyCopy) continue;
    for (std::size_t z = 0; z < cells_.size(); ++z)
      if (static_cast<int>(z) != exceptZone && SearchZone(cells_[z], copy, static_cast<int>(z), p, skip, found))
        return found;
  }
  return found;
}

// The boundary edges of every usable zone in search order.
void StreamField::BuildEdgeList() {
  edgesBuilt_ = true;
  for (std::size_t zi = 0; zi < usable_.size(); ++zi) {
    if (!usable_[zi]) continue;
    const ZoneGrid& g = data_.Zones[zi];
    const std::int32_t z = static_cast<std::int32_t>(zi);
    for (std::int32_t k = 0; k + 1 < g.NI; ++k) {
      edges_.push_back({z, {k, 0}, {k + 1, 0}});
      edges_.push_back({z, {k, g.NJ - 1}, {k + 1, g.NJ - 1}});
    }
    for (std::int32_t k = 0; k + 1 < g.NJ; ++k) {
      edges_.push_back({z, {0, k}, {0, k + 1}});
      edges_.push_back({z, {g.NI - 1, k}, {g.NI - 1, k + 1}});
    }
  }
}

// The boundary edges' end pixels in one copy, computed on first use.
const StreamField::CopyEdges& StreamField::EdgesOfCopy(int copy) {
  auto it = copyEdges_.find(copy);
  if (it != copyEdges_.end()) return it->second;
  CopyEdges& ce = copyEdges_[copy];
  ce.c.reserve(edges_.size());
  ce.d.reserve(edges_.size());
  ce.byC.reserve(edges_.size());
  for (std::size_t k = 0; k < edges_.size(); ++k) {
    const BoundaryEdge& e = edges_[k];
    const WorldPoint c = Position(copy, e.zone, e.c), d = Position(copy, e.zone, e.d);
    ce.c.emplace_back(view_.WorldToPixelX(c.x), view_.WorldToPixelY(c.y));
    ce.d.emplace_back(view_.WorldToPixelX(d.x), view_.WorldToPixelY(d.y));
    ce.byC.emplace_back(PixelKey(ce.c.back().first, ce.c.back().second), static_cast<std::uint32_t>(k));
  }
  std::sort(ce.byC.begin(), ce.byC.end());
  return ce;
}

// Per copy in search order: the smallest-numbered edge among those whose C lies near A or B.
EdgeMatch StreamField::MatchBoundaryEdge(int copy, int zone, GridNode a, GridNode b) {
  EdgeMatch match;
  if (!NodeInZone(zone, a) || !NodeInZone(zone, b)) return match;
  if (!edgesBuilt_) BuildEdgeList();
  const WorldPoint wa = Position(copy, zone, a), wb = Position(copy, zone, b);
  const std::pair<std::int32_t, std::int32_t> pa{view_.WorldToPixelX(wa.x), view_.WorldToPixelY(wa.y)};
  const std::pair<std::int32_t, std::int32_t> pb{view_.WorldToPixelX(wb.x), view_.WorldToPixelY(wb.y)};
  // A copy beyond the searched range (a seed of such a copy) still continues within itself.
  std::vector<int> copies;
  for (int n = 0; n <= copies_; ++n) copies.push_back(n);
  if (copy < 0 || copy > copies_) copies.push_back(copy);
  for (int n : copies) {
    const CopyEdges& ce = EdgesOfCopy(n);
    std::size_t best = edges_.size();
    bool reversed = false;
    // Every edge whose C matches A or B lies in one of these 18 pixel keys.
    for (const auto& end : {pa, pb})
      for (int ox = -kZoneMatchPixels; ox <= kZoneMatchPixels; ++ox)
        for (int oy = -kZoneMatchPixels; oy <= kZoneMatchPixels; ++oy) {
          const std::uint64_t key = PixelKey(static_cast<std::int64_t>(end.first) + ox, static_cast<std::int64_t>(end.second) + oy);
          auto lo = std::lower_bound(ce.byC.begin(), ce.byC.end(), std::make_pair(key, std::uint32_t{0}));
          for (auto it = lo; it != ce.byC.end() && it->first == key; ++it) {
            const std::size_t k = it->second;
            if (k >= best) break;
            const BoundaryEdge& e = edges_[k];
            if (n == copy && e.zone == zone && (e.c == a || e.c == b || e.d == a || e.d == b)) continue;
            bool cb = Near(ce.c[k], pb) && Near(ce.d[k], pa);
            bool ca = Near(ce.c[k], pa) && Near(ce.d[k], pb);
            if (!cb && !ca) continue;
            const WorldPoint wc = Position(n, e.zone, e.c), wd = Position(n, e.zone, e.d);
            cb = cb && EdgesCoincide(wc, wd, wb, wa);
            ca = ca && EdgesCoincide(wc, wd, wa, wb);
            if (!cb && !ca) continue;
            best = k;
            reversed = cb;
          }
        }
    if (best == edges_.size()) continue;
    const BoundaryEdge& e = edges_[best];
    match.found = true;
    match.copy = n;
    match.zone = e.zone;
    // C on B and D on A: the edge runs the other way, so A = D and B = C.
    match.a = reversed ? e.d : e.c;
    match.b = reversed ? e.c : e.d;
    return match;
  }
  return match;
}

}  // namespace corvane
