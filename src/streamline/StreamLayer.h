// The streamline layer of the scene: traces the seeds of the streamline tab (the node seeds of
// StreamList, then the division points of segment AB) and draws them with the tab's pen. Drawn
// once per picture, after the axes.
#pragma once
#include "render/Canvas.h"
#include "render/LayerContext.h"
#include "streamline/StreamField.h"
#include "streamline/StreamOptions.h"
#include "streamline/StreamTracer.h"

namespace corvane {

// The tracer's view of the data for this drawing: velocity rows xvecbox and yvecbox, overlay
// copies 0 .. writetimes shifted by (xoffsetbox, yoffsetbox) on top of the context's offset.
StreamFieldSetup StreamSetupFrom(const LayerContext& context);

// Draws every streamline, with the status texts and the gauge through context.progress.
// Without both velocity rows nothing is traced. Seed rows whose zone or node is not in the data
// are skipped. The abort command stops it between two streamlines. With `units` above 1 the
// paths, traced as in the picture, are drawn in 1/units of a pixel (a SubpixelCanvas).
void DrawStreamlines(const LayerContext& context, const StreamOptions& stream, Canvas& canvas, int units = 1);

// Every streamline DrawStreamlines would draw, in the same order, without drawing.
std::vector<StreamPath> TraceStreamlines(const LayerContext& context, const StreamOptions& stream);

// One traced path: a move to its first point, then a line or a move to each further one; cut to
// `area` when it is not null (the plot area with the axes shown).
void DrawStreamPath(Canvas& canvas, const StreamPath& path, const QRect& area = QRect());

}  // namespace corvane
