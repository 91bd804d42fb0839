// The velocity-vector layer: one arrow per node from the two rows chosen as u and v.
#pragma once
#include "base/Notifier.h"
#include "render/Canvas.h"
#include "render/LayerContext.h"

namespace corvane {

// Arrows at every node of every zone (the line masks do not thin them), length u*scale in world
// units. Without both velocity rows chosen it warns through `notifier` and draws nothing.
void DrawVelocityVectors(const LayerContext& context, Canvas& canvas, Notifier& notifier);

// One arrow with its tail at world (x, y): a shaft to the tip and a filled head whose barbs are
// a fifth of the arrow long, 10 degrees off the shaft. Nothing when tip and tail share a pixel.
void DrawArrow(Canvas& canvas, const ViewTransform& view, double scale, double u, double v, double x, double y,
               const QRect& area = QRect());

}  // namespace corvane
