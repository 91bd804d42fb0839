// What the streamline tracer reads during one drawing: the node positions of every overlay copy,
// the two velocity rows and the view, checked once, plus the two searches the tracer makes
// over the whole data: the cell that contains a seed point, and the zone boundary edge that lies
// on the current edge on screen. Both searches build an index on first use and keep it for the
// rest of the drawing, so the data must not change while a StreamField lives (the view is
// copied).
#pragma once
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "field/FieldDataSet.h"
#include "render/ViewTransform.h"
#include "streamline/StreamGeometry.h"

namespace corvane {

// Which rows hold the velocity and where the overlay copies lie.
struct StreamFieldSetup {
  int uRow = -1;          // xvecbox
  int vRow = -1;          // yvecbox
  double dx = 0.0;        // xoffsetbox: shift between consecutive copies
  double dy = 0.0;        // yoffsetbox
  int copies = 0;         // writetimes: the searches visit copies 0 .. copies
  double baseX = 0.0;     // added to every copy's shift (the layer context's offset)
  double baseY = 0.0;
};

// The cell found for a seed point and the velocity interpolated there.
struct SeedCell {
  bool found = false;
  int copy = 0, zone = 0, i = 0, j = 0;
  double u = 0.0, v = 0.0;
};

// A zone boundary edge that lies on the current edge; a and b are ordered like the current
// edge's A and B, so the position t along it carries over.
struct EdgeMatch {
  bool found = false;
  int copy = 0, zone = 0;
  GridNode a, b;
};

// Two pixels match when they differ by at most this much in x and in y.
inline constexpr int kZoneMatchPixels = 1;

// Whether the edge C-D lies on A-B with C on A and D on B: each pair of ends no farther apart
// than a hundredth of the shorter edge, or than the last of seven significant digits of the
// coordinates (zone interfaces written to a file with limited precision).
bool EdgesCoincide(WorldPoint c, WorldPoint d, WorldPoint a, WorldPoint b);

class StreamField {
 public:
  StreamField(const FieldDataSet& data, const ViewTransform& view, const StreamFieldSetup& setup);

  // Both velocity rows exist; without them nothing is traced.
  bool Valid() const { return valid_; }
  // The zone's nodes all lie inside the coordinate and velocity arrays; other zones are never
  // entered or searched.
  bool ZoneUsable(int zone) const {
    return zone >= 0 && zone < static_cast<int>(usable_.size()) && usable_[static_cast<std::size_t>(zone)];
  }
  bool NodeInZone(int zone, GridNode n) const {
    return ZoneUsable(zone) && n.i >= 0 && n.j >= 0 && n.i < Zone(zone).NI && n.j < Zone(zone).NJ;
  }
  int Copies() const { return copies_; }
  // Iterations a streamline may take: four times the sum of NI + NJ over the zones, so a trace
  // can cross a fine grid and then some, but at least 201 and at most a million, so one caught
  // in a vortex still ends.
  int StepLimit() const { return stepLimit_; }
  const ViewTransform& View() const { return view_; }
  const ZoneGrid& Zone(int zone) const { return data_.Zones[static_cast<std::size_t>(zone)]; }

  double ShiftX(int copy) const { return baseX_ + copy * dx_; }
  double ShiftY(int copy) const { return baseY_ + copy * dy_; }
  std::size_t Node(int zone, GridNode n) const {
    const ZoneGrid& z = Zone(zone);
    return static_cast<std::size_t>(z.FirstNode) + static_cast<std::size_t>(z.NJ) * static_cast<std::size_t>(n.i) +
           static_cast<std::size_t>(n.j);
  }
  // Position of a node in overlay copy `copy`: x + copy * dx, y + copy * dy.
  WorldPoint Position(int copy, int zone, GridNode n) const {
    const std::size_t k = Node(zone, n);
    return {data_.X[k] + ShiftX(copy), data_.Y[k] + ShiftY(copy)};
  }
  WorldPoint Velocity(int zone, GridNode n) const {
    const std::size_t k = Node(zone, n);
    return {(*u_)[k], (*v_)[k]};
  }

  // The first cell containing p, visiting copies 0 .. Copies(), zones, i, j in that order and in
  // each cell the triangle (i,j) (i,j+1) (i+1,j) before (i+1,j+1) (i+1,j) (i,j+1); with the
  // velocity interpolated linearly on the triangle that contains it.
  // `skip` passes over that many containing cells first (a point on a cell edge or node lies in
  // each cell that shares it); `onlyCopy` >= 0 searches that copy alone, and `exceptZone` >= 0
  // passes over that zone.
  SeedCell FindCell(WorldPoint p, int skip = 0, int onlyCopy = -1, int exceptZone = -1);

  // The first zone boundary edge C -> D, visiting copies 0 .. Copies() (then `copy` itself when
  // it lies outside that range), zones, and per zone the edges along j = 0 and j = jmax for each
  // i, then along i = 0 and i = imax for each j, whose ends match A and B of the current edge
  // within kZoneMatchPixels on screen and really coincide with them (EdgesCoincide). Edges of
  // the same zone and copy that share a node with the current edge are skipped: at a wall seen
  // from afar they lie within a pixel, and hopping along them would carry the trace through the
  // body.
  EdgeMatch MatchBoundaryEdge(int copy, int zone, GridNode a, GridNode b);

 private:
  struct Box {
    double x0, y0, x1, y1;
  };
  // Bounding boxes over the cells of one zone in search order. Level 0 boxes the leaves: leaf k
  // is the run of up to 16 cells (i, j0) .. along i-row i = k / leavesPerRow, from
  // j0 = 16 * (k % leavesPerRow). Each further level boxes 16 consecutive boxes of the one below.
  struct ZoneCells {
    std::int32_t leavesPerRow = 1;
    std::vector<std::vector<Box>> levels;
    double marginX = 0.0, marginY = 0.0;
  };
  struct BoundaryEdge {
    std::int32_t zone;
    GridNode c, d;
  };
  // Pixels of every boundary edge's ends in one copy, and the edges sorted by the pixel of C.
  struct CopyEdges {
    std::vector<std::pair<std::int32_t, std::int32_t>> c, d;
    std::vector<std::pair<std::uint64_t, std::uint32_t>> byC;
  };

  void BuildCellIndex();
  void BuildEdgeList();
  const CopyEdges& EdgesOfCopy(int copy);
  bool SearchZone(const ZoneCells& cells, int copy, int zone, WorldPoint p, int& skip, SeedCell& found) const;
  bool TestLeaf(const ZoneCells& cells, std::size_t leaf, int copy, int zone, WorldPoint p, int& skip,
                SeedCell& found) const;

  const FieldDataSet& data_;
  const ViewTransform view_;  // a copy: small, and callers may pass a temporary
  const NodeRow* u_ = nullptr;
  const NodeRow* v_ = nullptr;
  bool valid_ = false;
  std::vector<bool> usable_;
  double dx_, dy_, baseX_, baseY_;
  int copies_;
  int stepLimit_ = 201;

  bool cellsBuilt_ = false;
  std::vector<ZoneCells> cells_;
  bool edgesBuilt_ = false;
  std::vector<BoundaryEdge> edges_;
  std::map<int, CopyEdges> copyEdges_;
};

}  // namespace corvane
