// The grid and zone-boundary layers: lines through the node pixels of every zone, clipped so
// that segments wholly outside the picture cost nothing.
#pragma once
#include <QImage>

#include "render/Canvas.h"
#include "render/LayerContext.h"

namespace corvane {

// Every line of constant i, then every line of constant j, zone by zone, in the line colour.
void DrawGridLines(const LayerContext& context, Canvas& canvas);
// The same lines set straight into the pixels of an RGB32 image (PixelLines.h), drawn on two
// threads unless `threads` is 1; the pixels are the same either way.
void DrawGridLinesInto(const LayerContext& context, QImage& image, int threads = 2);
// The enabled edges of every zone (j = 0, i = imax, j = jmax, i = 0), each its own line.
void DrawZoneBoundaries(const LayerContext& context, Canvas& canvas);

}  // namespace corvane
