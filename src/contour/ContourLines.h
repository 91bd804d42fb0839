// The contour-line layer: segments per level from the cell walk, chained into polylines, drawn
// in the level colours and labelled.
#pragma once
#include <vector>

#include "contour/ContourChaining.h"
#include "contour/ContourLabels.h"
#include "contour/ContourLevels.h"
#include "contour/ContourOptions.h"
#include "contour/ContourSegments.h"
#include "render/Canvas.h"
#include "render/LayerContext.h"

namespace corvane {

// Status texts of the layer.
inline constexpr const char* kContourDrawingText = "等高線のメタファイルを作成中…";
inline constexpr const char* kContourDoneText = "メタファイル作成完了";

// Draws the contour lines (and their labels) of the selected variable for one overlay copy and
// returns the labels placed. With `placed`, those labels are taken instead of placing new ones
// (the same picture drawn again at a finer scale keeps its labels where they were). Without
// `writeLabels` the labels are only placed: a scene writes them over all its other layers.
// The caller has run UpdateLineMasks and, when AutoStepCheck is set, AutoStep on the context's view.
std::vector<ContourLabel> DrawContourLines(const LayerContext& context, const ContourOptions& contour, Canvas& canvas,
                                           const std::vector<ContourLabel>* placed = nullptr,
                                           bool writeLabels = true);

// Writes labels DrawContourLines placed, in the label font, colour and background of the options.
void WritePlacedLabels(const LayerContext& context, const ContourOptions& contour, Canvas& canvas,
                       const std::vector<ContourLabel>& labels);

// Stages 1 and 2: the segments of every level from the cell walk over `values`, grouped by level
// in `store`. Returns false when the walk was aborted.
bool CollectContourSegments(const LayerContext& context, const NodeRow& values, double step, double min,
                            double max, const ContourLevelRange& range, ContourSegmentStore& store);

// Chains, draws and labels every level of `store`; levels ascend so lower levels keep their
// labels where two would crowd each other (or writes `placed`). Returns the labels written.
std::vector<ContourLabel> AssembleContourLines(const LayerContext& context, const ContourOptions& contour, Canvas& canvas,
                                               const ContourSegmentStore& store,
                          const ContourLevelRange& range, double step, double min, double max,
                          const std::vector<ContourLabel>* placed = nullptr, bool writeLabels = true);

// Draws the polylines of one level's buffer, one Polyline call each, with the pen set to
// `colour` and `width`; `polylines` receives each one's first slot, segment count and length.
void DrawLevelPolylines(Canvas& canvas, const LevelPolylineBuffer& buffer, Colour colour, int width,
                        std::vector<PolylineFigure>& polylines);

}  // namespace corvane
