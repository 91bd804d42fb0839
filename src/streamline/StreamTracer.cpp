#include "streamline/StreamTracer.h"

namespace corvane {
namespace {

// The point at t along p -> q.
WorldPoint Along(WorldPoint p, WorldPoint q, double t) { return {(1.0 - t) * p.x + t * q.x, (1.0 - t) * p.y + t * q.y}; }

// A path point with its pixel.
PathVertex MakeVertex(const StreamField& field, WorldPoint p, bool drawn, int copy, int zone) {
  const ViewTransform& view = field.View();
  return PathVertex{p.x, p.y, view.WorldToPixelX(p.x), view.WorldToPixelY(p.y), drawn, copy, zone};
}

// The crossing test for a ray from p along w; on success moves the state onto N1 -> N2.
bool TryCross(const StreamField& field, TraceState& state, WorldPoint p, WorldPoint w, GridNode n1, GridNode n2,
              StreamPath& path) {
  const WorldPoint q1 = field.Position(state.copy, state.zone, n1);
  const WorldPoint q2 = field.Position(state.copy, state.zone, n2);
  const RayHit hit = RayEdgeIntersection(p, w, q1, q2);
  // NaN fails every comparison, so a velocity or node that is not a number never crosses.
  if (!(hit.tau >= 0.0 && hit.tau <= 1.0 && hit.lambda > 0.0)) return false;
  PathVertex v = MakeVertex(field, Along(q1, q2, hit.tau), false, state.copy, state.zone);
  const ViewTransform& view = field.View();
  v.drawn = v.px >= 0 && v.px <= view.PictureWidth && v.py >= 0 && v.py <= view.PictureHeight;
  path.vertices.push_back(v);
  state.a = n1;
  state.b = n2;
  state.t = hit.tau;
  return true;
}

// The current point and the velocity there, both interpolated along the current edge.
void PointAndVelocity(const StreamField& field, const TraceState& s, WorldPoint& p, WorldPoint& w) {
  p = Along(field.Position(s.copy, s.zone, s.a), field.Position(s.copy, s.zone, s.b), s.t);
  w = Along(field.Velocity(s.zone, s.a), field.Velocity(s.zone, s.b), s.t);
}

// The candidates of one step: the three other edges of the cell on the far side of the current
// edge, then those of the cell on the near side.
bool StepThroughCell(const StreamField& field, TraceState& s, StreamPath& path) {
  WorldPoint p, w;
  PointAndVelocity(field, s, p, w);
  const ZoneGrid& zone = field.Zone(s.zone);
  const GridNode a = s.a, b = s.b;
  auto cell = [&](GridNode a2, GridNode b2) {
    return TryCross(field, s, p, w, a, a2, path) || TryCross(field, s, p, w, b, b2, path) ||
           TryCross(field, s, p, w, a2, b2, path);
  };
  if (a.i == b.i) {  // a j-edge on line i
    const std::int32_t i = a.i;
    if (i < zone.NI - 1 && cell({i + 1, a.j}, {i + 1, b.j})) return true;
    if (i >= 1 && cell({i - 1, a.j}, {i - 1, b.j})) return true;
  } else {  // an i-edge on line j
    const std::int32_t j = a.j;
    if (j < zone.NJ - 1 && cell({a.i, j + 1}, {b.i, j + 1})) return true;
    if (j >= 1 && cell({a.i, j - 1}, {b.i, j - 1})) return true;
  }
  return false;
}

// Cells tried for one point: a node is shared by four cells of a zone, more where zones or copies
// overlap.
constexpr int kMaxCellsAtPoint = 16;

// Starts from world point p in the first cell (search order, within `onlyCopy` and passing over
// `exceptZone` when those are >= 0) that contains p and has an edge ahead of the flow there. A
// point on a cell edge or a node lies in every cell sharing it, and the flow leaves only some of
// them forwards; a point inside one cell has that one. On success the crossing is appended and
// the state stands on the exit edge; `first` receives the first cell containing p either way.
bool EnterCellAt(StreamField& field, WorldPoint p, int onlyCopy, int exceptZone, TraceState& state, StreamPath& path,
                 SeedCell& first) {
  first = SeedCell{};
  for (int skip = 0; skip < kMaxCellsAtPoint; ++skip) {
    const SeedCell cell = field.FindCell(p, skip, onlyCopy, exceptZone);
    if (!cell.found) return false;
    if (skip == 0) first = cell;
    TraceState s{cell.copy, cell.zone, {}, {}, 0.0};
    const std::int32_t i = cell.i, j = cell.j;
    const GridNode corners[5] = {{i, j}, {i + 1, j}, {i + 1, j + 1}, {i, j + 1}, {i, j}};
    for (int k = 0; k < 4; ++k)
      if (TryCross(field, s, p, {cell.u, cell.v}, corners[k], corners[k + 1], path)) {
        state = s;
        return true;
      }
  }
  return false;
}

// Whether the current edge is one of the zone's outer edges.
bool OnZoneBoundary(const StreamField& field, const TraceState& s) {
  const ZoneGrid& zone = field.Zone(s.zone);
  if (s.a.i == s.b.i) return s.a.i == 0 || s.a.i == zone.NI - 1;
  return s.a.j == 0 || s.a.j == zone.NJ - 1;
}

// A trace leaving its zone where no other zone has an edge: when the point lies inside another
// zone of the same copy (a patched or overlapping grid), it goes on in that zone's cell. A point
// inside no other zone (a wall, the outer boundary) ends the trace.
bool EnterOverlappingZone(StreamField& field, TraceState& state, StreamPath& path) {
  if (!OnZoneBoundary(field, state)) return false;
  const WorldPoint p = Along(field.Position(state.copy, state.zone, state.a),
                             field.Position(state.copy, state.zone, state.b), state.t);
  SeedCell first;
  return EnterCellAt(field, p, state.copy, state.zone, state, path, first);
}

}  // namespace

SeedCell FindSeedCell(StreamField& field, double x, double y) { return field.FindCell({x, y}); }

bool CrossToEdge(const StreamField& field, TraceState& state, GridNode n1, GridNode n2, StreamPath& path) {
  WorldPoint p, w;
  PointAndVelocity(field, state, p, w);
  return TryCross(field, state, p, w, n1, n2, path);
}

bool TransferToNeighbourZone(StreamField& field, TraceState& state) {
  const EdgeMatch m = field.MatchBoundaryEdge(state.copy, state.zone, state.a, state.b);
  if (!m.found) return false;
  state.copy = m.copy;
  state.zone = m.zone;
  state.a = m.a;
  state.b = m.b;
  return true;
}

void RunSteppingLoop(StreamField& field, TraceState& state, Nudges nudges, StreamPath& path) {
  const int limit = field.StepLimit();
  for (int step = 0; step < limit; ++step) {
    path.steps = step + 1;
    if (state.t == 0.0) state.t = nudges.small;
    else if (state.t == 1.0) state.t = nudges.large;
    if (StepThroughCell(field, state, path)) continue;
    if (TransferToNeighbourZone(field, state)) continue;
    if (!EnterOverlappingZone(field, state, path)) return;
  }
}

StreamPath TraceFromGridNode(StreamField& field, int n, int z, int i, int j) {
  StreamPath path;
  if (!field.Valid() || !field.NodeInZone(z, {i, j})) return path;
  const ZoneGrid& zone = field.Zone(z);
  TraceState s{n, z, {i, j}, {i, j}, 0.0};
  path.vertices.push_back(MakeVertex(field, field.Position(n, z, s.a), false, n, z));
  // The first edge runs along i towards the node before (or after, at i = 0). A zone one node
  // wide in i has no such edge; the j direction serves instead.
  if (zone.NI >= 2) s.b = {i == 0 ? 1 : i - 1, j};
  else if (zone.NJ >= 2) s.b = {i, j == 0 ? 1 : j - 1};
  else return path;
  RunSteppingLoop(field, s, kNodeNudges, path);
  return path;
}

StreamPath TraceFromPoint(StreamField& field, double x, double y) {
  StreamPath path;
  path.vertices.push_back(MakeVertex(field, {x, y}, false, 0, 0));
  TraceState s;
  SeedCell first;
  const bool left = EnterCellAt(field, {x, y}, -1, -1, s, path, first);
  path.vertices.front().copy = left ? s.copy : first.copy;
  path.vertices.front().zone = left ? s.zone : first.zone;
  if (!left) return path;
  RunSteppingLoop(field, s, kPointNudges, path);
  return path;
}

}  // namespace corvane
