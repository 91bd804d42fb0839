// Finding lines on the picture rather than typing them: the grid line nearest a clicked point,
// the walls of the bodies in the grid (zone edges no other zone touches and that are not the
// outer boundary), the nodes of a line for drawing it over the picture, and a line's
// description in words for the legend.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "field/FieldDataSet.h"
#include "field/WorldPoint.h"
#include "profile/ProfileLine.h"

namespace corvane {

// The whole grid line (j = const or i = const of one zone) that passes nearest `at`, with its
// distance; nothing for a data set without lines.
struct NearestLine {
  LinePiece piece;
  double distance = 0.0;
};
std::optional<NearestLine> NearestGridLine(const FieldDataSet& data, WorldPoint at);

// The pieces of every body wall, each wall's pieces in the order they join. A zone edge node to
// node is a wall where no other edge (of another zone or of the same zone, as at the cut of an
// O- or C-grid) has the same two end nodes; the walls that join up into a part touching the
// edge of the data's extents are the outer boundary and are left out.
std::vector<LinePiece> BodyWalls(const FieldDataSet& data);

// The points of a line in walking order (a piece outside the data throws CorvaneError).
std::vector<WorldPoint> LinePoints(const FieldDataSet& data, const std::vector<LinePiece>& pieces);

// "領域 0, 1 の j = 0 の線": the zones and the line in words; "物体の壁" for the body walls.
std::string DescribeLine(const std::vector<LinePiece>& pieces, bool bodyWalls);

}  // namespace corvane
