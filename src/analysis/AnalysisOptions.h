// Options of the analysis tab, by control name: the two end points of the analysis segment (a
// grid node or typed coordinates each), opening the written file, and the segment's colour.
// ShowSegment and RealDrawSegment live with the other display switches (DisplayOptions).
#pragma once
#include <cstdint>
#include <string>

#include "base/OptionTable.h"
#include "render/Colour.h"

namespace corvane {

struct AnalysisOptions {
  // Point 1: node (P1Zone, P1i, P1j), or the typed point (P1x, P1y) when P1Direct is checked.
  // P1Zone is the item index of the zone list; -1 means no zone is selected.
  int P1Zone = 0;
  int P1i = 0;
  int P1j = 0;
  bool P1Direct = false;
  // The edit texts as typed: they are converted when the point is used, so a half-typed number
  // fails only the analysis or the segment drawing, not every command that reads the options.
  std::string P1x = "0.0";
  std::string P1y = "0.0";
  bool P1ByClick = false;
  // Point 2, the mirror of point 1.
  int P2Zone = 0;
  int P2i = 0;
  int P2j = 0;
  bool P2Direct = false;
  std::string P2x = "0.0";
  std::string P2y = "0.0";
  bool P2ByClick = false;
  bool OpenAnalyzed = true;                   // open the written file with the desktop's program
  Colour segmentColour = MakeColour(255, 0, 0);  // brush colour of the swatch: the segment's colour
};

const OptionTable<AnalysisOptions>& AnalysisOptionTable();

}  // namespace corvane
