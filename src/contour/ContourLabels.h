// Numbers written along the contour lines: at most one per level, on the level's longest
// polyline, kept only where it does not crowd a label of a lower level.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "contour/ContourChaining.h"
#include "contour/ContourOptions.h"
#include "base/Random.h"
#include "render/Canvas.h"
#include "render/LayerContext.h"
#include "render/NumberFormat.h"

namespace corvane {

struct ContourLabel {
  std::string text;
  std::int32_t x = 0, y = 0;  // pixel centre
  std::int32_t angle = 0;     // tenths of a degree, counter-clockwise, within -900 .. 900
};

// One polyline of a level's buffer, as the line drawing measured it.
struct PolylineFigure {
  std::int32_t firstSlot = 0;
  std::int32_t segments = 0;
  double length = 0.0;  // pixels
};

// What the placement reads besides the line: options, the range of the drawing, number format.
struct LabelRules {
  const ContourOptions& options;
  const ContourReadout& readout;
  const NumberFormat& numberFormat;
  // Where a label's whole turned box must lie: the picture, or with the axes the plot area.
  QRect area;
};

// Picks the spot of the label of one level and appends it to `labels` unless its box, turned
// like its text, comes closer than the label gap to the box of one already there. The boxes
// are measured in the label font; the canvas keeps its current font.
void PlaceLevelLabel(Canvas& canvas, std::vector<ContourLabel>& labels, const LevelPolylineBuffer& buffer,
                     const std::vector<PolylineFigure>& polylines, double level, const LabelRules& rules,
                     Random& random);

// Writes every label rotated along its line and centred on its spot, on an opaque background of
// colour `background` unless `backClear`; leaves `axisFont` selected.
void DrawContourLabels(Canvas& canvas, const std::vector<ContourLabel>& labels, const FontSpec& labelFont,
                       bool backClear, Colour background, const FontSpec& axisFont);

}  // namespace corvane
