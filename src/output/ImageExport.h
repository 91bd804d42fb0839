// Saving the plot window's picture (and the legend's) in the format named by the file's
// extension: the vector scene picture as EMF, PDF or SVG, the bitmap as BMP, JPEG or PNG.
#pragma once
#include <QString>
#include <QStringList>

class QImage;
class QPicture;

namespace corvane {

class Notifier;

// The extensions that are written, as the user is told when a name has another one.
inline constexpr const char* kWrittenExtensions = ".bmp、.emf、.jpg (.jpeg)、.png、.pdf、.svg";

// The save dialogs' filter list, bitmap first (the default), then the vector formats.
QStringList PictureSaveFilters();

// Whether the file's extension names a vector format (.emf, .pdf, .svg, in any case).
bool IsVectorPicturePath(const QString& path);

// Writes the scene picture (".EMF", ".PDF", ".SVG") or the bitmap (".BMP", ".JPG" or ".JPEG", ".PNG"), the extension
// compared in capitals. Another extension, or nothing drawn yet, writes nothing and is
// reported through the notifier; returns whether a file was written. File errors throw
// CorvaneError naming the file. An `exact` scene holds coordinates at fractions of a pixel,
// which an EMF keeps in sixteenths of a pixel.
bool SavePictureByExtension(const QString& path, const QPicture& scene, const QImage& bitmap,
                            Notifier& notifier, bool exact = false);

}  // namespace corvane
