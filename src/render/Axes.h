// The XY frame over the picture: blanked margins, axis lines, ticks with their numbers and the
// two axis titles.
#pragma once
#include "base/Notifier.h"
#include "render/Canvas.h"
#include "render/LayerContext.h"
#include "render/ViewTransform.h"

namespace corvane {

// Tick spacing of 1, 2 or 5 times a power of ten, about a fifth of the range. An empty or
// inverted range warns through `notifier` (when given) and gives 1.0.
double AxisTickStep(double lo, double hi, Notifier* notifier = nullptr);

// Draws the axes for `extents` (the data extents, widened for the overlay copies) with the
// margins kept in the view transform, in the axis font and the context's colours.
void DrawAxes(Canvas& canvas, const LayerContext& context, const Extents& extents, Notifier* notifier = nullptr);

// The part of the picture the axes leave to the data (pixels, inclusive): right of the left
// margin and of the y axis, above the bottom margin and the x axis, and within the visible range
// that the axes blank beyond; the axis numbers and titles lie outside it.
QRect AxisPlotArea(const ViewTransform& view, const Extents& extents);

}  // namespace corvane
