// Streamlines traced cell by cell: inside each cell the path runs straight from where it entered
// to where it leaves, in the direction of the velocity at the entry point; at a zone edge it goes
// on in whichever zone or overlay copy has an edge at the same place on screen. Only geometry
// here: a traced path is a list of world points with their pixels and whether the piece to each
// is drawn; StreamLayer draws them.
#pragma once
#include <cstdint>
#include <vector>

#include "streamline/StreamField.h"

namespace corvane {

// Iterations of the stepping loop per streamline (each is one cell crossing or one zone
// transfer): StreamField::StepLimit, which grows with the grid from this least value.
inline constexpr int kStreamStepLimit = 201;

// What t = 0 and t = 1 are replaced with at each step, so the point never sits on a node.
struct Nudges {
  double small;
  double large;
};
inline constexpr Nudges kPointNudges{1e-15, 0.999999999999999};  // traces seeded at a point
inline constexpr Nudges kNodeNudges{1e-5, 0.99999};              // traces seeded at a grid node

// One streamline on its way: copy, zone, the current edge A -> B (an i-edge or a j-edge) and the
// position t on it (0 at A, 1 at B).
struct TraceState {
  int copy = 0;
  int zone = 0;
  GridNode a, b;
  double t = 0.0;
};

// A point of a traced path. `drawn`: a line leads to it (its pixel lies within the picture);
// otherwise the pen only moves there. The first point is always a move.
struct PathVertex {
  double x = 0.0, y = 0.0;
  std::int32_t px = 0, py = 0;
  bool drawn = false;
  int copy = 0, zone = 0;
};

struct StreamPath {
  std::vector<PathVertex> vertices;
  int steps = 0;  // iterations of the stepping loop used
};

// The first cell containing (x, y) over every copy and zone, and the velocity there.
SeedCell FindSeedCell(StreamField& field, double x, double y);

// One candidate of the stepping loop: on a crossing of N1 -> N2 ahead of the current point,
// appends the crossing to `path`, makes N1 -> N2 the current edge and returns true.
bool CrossToEdge(const StreamField& field, TraceState& state, GridNode n1, GridNode n2, StreamPath& path);

// Continues on the boundary edge of another zone or copy that lies on the current edge on
// screen, keeping t. False when there is none.
bool TransferToNeighbourZone(StreamField& field, TraceState& state);

// The stepping loop: at most field.StepLimit() cell crossings and zone transfers.
void RunSteppingLoop(StreamField& field, TraceState& state, Nudges nudges, StreamPath& path);

// A streamline from node (i, j) of zone z in copy n. A zone or node not in the data gives an
// empty path.
StreamPath TraceFromGridNode(StreamField& field, int n, int z, int i, int j);

// A streamline from a world point. A point in no cell, or whose cell has no exit in the
// velocity's direction, gives a path of the start point alone.
StreamPath TraceFromPoint(StreamField& field, double x, double y);

}  // namespace corvane
