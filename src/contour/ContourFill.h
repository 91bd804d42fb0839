// The filled-contour layer: bands between adjacent levels in the colour of the upper level.
#pragma once
#include <QPoint>

#include "contour/ColourMap.h"
#include "render/Canvas.h"
#include "render/LayerContext.h"

class QImage;

namespace corvane {

// Fills the bands of the selected variable for one overlay copy. In bitmap mode `bitmap` is the
// off-screen image (RGB32) that `canvas` draws on, and the bands may be written into it directly;
// otherwise `bitmap` is null and the bands go to the canvas as polygons.
// The caller has run UpdateLineMasks and, when AutoStepCheck is set, AutoStep. In bitmap mode a
// large picture is filled by two threads (`threads` = 1 keeps it on the calling thread); the
// pixels are the same either way.
// Triangles below a hundredth of a square pixel are painted as the pixels they lie on: in the
// bitmap, or in vector mode into `specks` (an RGB32 image of the picture's size, meant to lie
// under the polygons) when it is given.
void DrawContourFill(const LayerContext& context, ColourMapKind colourMap, Canvas& canvas, QImage* bitmap,
                     int threads = 2, QImage* specks = nullptr);

// Fills the bands of one triangle (node indices p, q, r) on the canvas: one pentagon or
// quadrilateral per band the triangle touches, pen and brush in the band's colour. For a single
// triangle; DrawContourFill prepares the colours and node pixels once for the whole walk.
void FillTriangleBands(const LayerContext& context, ColourMapKind colourMap, Canvas& canvas, std::int32_t p, std::int32_t q, std::int32_t r,
                       double step, double min, double max, const double* values);

// Fills a polygon in `colour` straight into an RGB32 image, covering what an aliased QPainter
// polygon with a one-pixel outline of the same colour covers: every pixel whose centre lies
// inside, plus the line pixels of every edge. Clipped to the image.
void FillPolygonPixels(QImage& image, const QPoint* points, int count, Colour colour);

}  // namespace corvane
