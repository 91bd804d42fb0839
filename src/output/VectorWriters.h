// Writers of the vector picture files a Linux desktop takes without conversion: PDF (LaTeX,
// viewers, printing) and SVG (browsers, Inkscape). The recorded scene picture is replayed into
// Qt's PDF and SVG devices, so lines and polygons stay paths, text stays text and the bitmap of
// the filled bands stays one embedded image.
#pragma once
#include <QSize>
#include <QString>

class QPicture;

namespace corvane {

// One page exactly the picture's size (a pixel is 1/96 inch, as on the screen the picture was
// made for). Throws CorvaneError naming the file when it cannot be written.
void WritePdf(const QPicture& picture, QSize size, const QString& path);
// A document of the picture's size in pixels, its view box the picture. Throws the same way.
void WriteSvg(const QPicture& picture, QSize size, const QString& path);

}  // namespace corvane
