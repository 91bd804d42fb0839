// Options of the streamline tab ("流線") by control name, and its seed list StreamList: a grid
// with a fixed header row and up to 99 packed seed rows (copy, zone, i, j).
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "base/OptionTable.h"
#include "render/Colour.h"

namespace corvane {

// One seed row: grid node (i, j) of a zone in one overlay copy.
struct StreamSeed {
  std::int32_t copy = 0;  // column "重"
  std::int32_t zone = 0;  // column "領域"
  std::int32_t i = 0;
  std::int32_t j = 0;
  bool operator==(const StreamSeed&) const = default;
};

// The seed list. Grid row r (1..99) holds seeds[r - 1]; rows after the last seed are empty, so
// the list is always packed.
struct StreamSeedList {
  static constexpr int kRowCount = 100;  // grid rows, the header included
  static constexpr int kMaxSeeds = kRowCount - 1;
  static constexpr int kColumnCount = 4;
  std::vector<StreamSeed> seeds;
  bool operator==(const StreamSeedList&) const = default;
};

inline constexpr std::array<const char*, 4> kStreamListHeader = {"重", "領域", "i", "j"};
inline constexpr std::array<int, 4> kStreamListColumnWidths = {36, 37, 49, 47};
inline constexpr int kStreamListRowHeight = 15;

struct StreamOptions {
  // Group "出発点の指定": a new node seed.
  int StreamZoneSelect = -1;   // item index of the zone list; -1 while nothing is chosen
  int StreamIBox = 0;          // 0..100 at start; StreamZoneSelectChange sets the maximum to NI - 1
  int StreamJBox = 0;          // 0..100 at start; likewise NJ - 1
  int StreamOverbox = 0;       // overlay copy, no bounds
  StreamSeedList StreamList;
  bool StreamLineGridSelect = false;  // "特定のグリッドから出発"
  // Segment AB and its N divisions (N + 1 seeds, both ends included).
  double StreamXa = 0.0, StreamYa = 0.0;
  double StreamXb = 1.0, StreamYb = 1.0;
  int StreamDevide = 20;              // 2..100
  bool StreamLineSegment = false;     // "線分ＡＢから出発"
  // Pen.
  int StreamLineWid = 1;                          // 1..10 pixels
  Colour streamLineColour = MakeColour(0, 0, 255);  // brush colour of the shape, the pen colour
  bool operator==(const StreamOptions&) const = default;
};

// Control names of the tab. The names mirror what typing into the control does:
//   StreamXa, StreamYa, StreamXb, StreamYb, StreamDevide  also check StreamLineSegment;
//   StreamList=N,Z,I,J  appends a seed row (as the add button does) and checks
//                       StreamLineGridSelect; several rows may be given separated by ';';
//   StreamList=         (empty) clears every seed row (the clear-all button).
// Read back, StreamList gives every row in that form.
// The header row is fixed and cannot be written. The check boxes come after the controls that
// check them, so applying every name in table order reproduces the controls' state exactly.
const OptionTable<StreamOptions>& StreamOptionTable();

}  // namespace corvane
