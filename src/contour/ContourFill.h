// The filled-contour layer: bands between adjacent levels in the colour of the upper level.
#pragma once
#include "render/Canvas.h"
#include "render/LayerContext.h"

class QImage;

namespace corvane {

// Fills the bands of the selected variable for one overlay copy. In bitmap mode `bitmap` is the
// off-screen image (RGB32) that `canvas` draws on, and the bands may be written into it directly;
// otherwise `bitmap` is null and the bands go to the canvas as polygons.
// The caller has run UpdateLineMasks and, when AutoStepCheck is set, AutoStep.
void DrawContourFill(const LayerContext& context, Canvas& canvas, QImage* bitmap);

}  // namespace corvane
