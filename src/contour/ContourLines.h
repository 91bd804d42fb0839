// The contour-line layer: segments per level from the cell walk, chained into polylines, drawn
// in the level colours and labelled.
#pragma once
#include "render/Canvas.h"
#include "render/LayerContext.h"

namespace corvane {

// Draws the contour lines (and their labels) of the selected variable for one overlay copy.
// The caller has run UpdateLineMasks and, when AutoStepCheck is set, AutoStep.
void DrawContourLines(const LayerContext& context, Canvas& canvas);

}  // namespace corvane
