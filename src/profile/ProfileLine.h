// Lines to extract values along: pieces of grid lines (zone, i = const or j = const, over an
// index range) joined end to end into one wall or cut, or the analysis segment P1-P2 sampled
// where it crosses the grid. Each gives per point the distance s along the line, x, y and the
// value of every row of the data set.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "field/FieldDataSet.h"
#include "field/WorldPoint.h"

namespace corvane {

// One piece: the line j = index (running along i) or i = index (running along j) of a zone,
// from node `from` to node `to` along it (both included; from > to walks backwards; -1 means the
// line's last node).
struct LinePiece {
  int zone = 0;
  bool constantJ = true;  // j = index; otherwise i = index
  int index = 0;
  int from = 0;
  int to = -1;
};

// The values along a line, column by column: s, x, y and one column per value row.
struct Profile {
  std::vector<double> s, x, y;
  std::vector<std::vector<double>> rows;  // rows[r][k]: value row r at point k
  std::size_t Size() const { return s.size(); }
};

// Parses "Z:j=0[:i=a..b]" pieces separated by commas ("0:j=0,1:j=0,2:j=0"; "1:i=5:j=2..10").
// Throws CorvaneError naming the text and what is wrong.
std::vector<LinePiece> ParseLinePieces(std::string_view text);
// The text ParseLinePieces reads back.
std::string LinePiecesText(const std::vector<LinePiece>& pieces);

// The pieces in order, each checked against its zone (a zone, index or range outside the data
// throws CorvaneError naming the piece). After the first, a piece is walked from the end nearer
// to where the line so far ends; a node it shares with the previous piece's end is taken once.
Profile ExtractGridLine(const FieldDataSet& data, const std::vector<LinePiece>& pieces);

// The segment P1-P2: every crossing of it with a grid edge of any zone, values interpolated
// along the edge, ordered by the distance from P1, points with the same x and y kept once.
Profile ExtractSegment(const FieldDataSet& data, WorldPoint p1, WorldPoint p2);

// What a horizontal axis can be: the distance along the line or a coordinate.
enum class ProfileAxis { S, X, Y };
// "s", "x" or "y" (throws CorvaneError for anything else).
ProfileAxis ParseProfileAxis(std::string_view text);
const char* ProfileAxisName(ProfileAxis axis);
const std::vector<double>& AxisColumn(const Profile& p, ProfileAxis axis);

}  // namespace corvane
