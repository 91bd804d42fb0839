// The bands of a smooth drawing, supersampled: they are drawn `factor` times larger in each
// direction and every factor x factor block is averaged into one pixel. Band edges come out
// anti-aliased, and since every cell is still drawn without anti-aliasing at the large size,
// neighbouring cells, bands and zones meet without seams. (Lines and texts are anti-aliased by
// the painter at the picture's own size instead, which keeps their width.)
#pragma once
#include <QImage>

#include "render/ViewTransform.h"

namespace corvane {

// How many times larger a smooth picture is drawn.
constexpr int kSupersampleFactor = 2;

// The view of the same picture `factor` times larger: world points land on the same spot.
ViewTransform SupersampledView(const ViewTransform& view, int factor);

// The mean of every factor x factor block of `large` (RGB32, sides a multiple of factor, or cut
// down to one), rounded to nearest; the result is RGB32, 1/factor of the size.
QImage AverageDown(const QImage& large, int factor);

}  // namespace corvane
