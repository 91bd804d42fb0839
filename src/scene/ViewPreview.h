// The preview of a new view: the last picture moved and scaled to where its world points lie in
// the new view, shown at once while the exact picture is drawn.
#pragma once
#include <QImage>
#include <QTransform>

#include "render/ViewTransform.h"

namespace corvane {

// The pixel mapping from a picture drawn in `from` to the same world points in `to`.
QTransform PixelTransform(const ViewTransform& from, const ViewTransform& to);

// `picture` (drawn in `from`) as it would lie in `to`, `to`'s picture size, nearest pixels; what
// it does not cover is `background`.
QImage TransformedPicture(const QImage& picture, const ViewTransform& from, const ViewTransform& to, QRgb background);

}  // namespace corvane
