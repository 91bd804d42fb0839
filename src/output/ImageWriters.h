// Writers of the raster picture files: Windows bitmap, PNG and JPEG. Each takes the bitmap
// (any QImage; RGB32 is the fast path) and a path, and throws CorvaneError naming the file when
// it cannot be created or written.
#pragma once
#include <QString>

class QImage;

namespace corvane {

// 24-bit Windows bitmap: rows bottom-up, each padded to a multiple of 4 bytes, 96 dpi.
void WriteBmp(const QImage& image, const QString& path);
// 8-bit RGB PNG through libpng, compressed for speed (flat-coloured pictures compress well
// even at the fastest zlib level).
void WritePng(const QImage& image, const QString& path);
// Colour baseline JPEG, quality 90, through libjpeg.
void WriteJpeg(const QImage& image, const QString& path);

}  // namespace corvane
