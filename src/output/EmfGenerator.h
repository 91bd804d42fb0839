// A paint device that turns QPainter calls into an enhanced metafile (MS-EMF records), the way
// QSvgGenerator turns them into SVG. The scene picture is replayed into it for EMF export, so
// lines, polygons, text and the embedded contour bitmap stay separate, editable objects in
// drawing programs. Units are the picture's pixels, or with `subpixelUnits` above 1 that many
// logical units per pixel under an anisotropic map mode, so coordinates keep fractions of a
// pixel; the frame assumes 96 dpi.
#pragma once
#include <QByteArray>
#include <QPaintDevice>
#include <QSize>
#include <QString>
#include <memory>
#include <string>

class QPicture;

namespace corvane {

class EmfPaintEngine;

class EmfGenerator : public QPaintDevice {
 public:
  explicit EmfGenerator(QSize size, int subpixelUnits = 1);
  ~EmfGenerator() override;

  QPaintEngine* paintEngine() const override;
  QSize Size() const { return size_; }
  int SubpixelUnits() const { return units_; }
  // The complete file, valid after the painter has ended.
  const QByteArray& Data() const;
  // Set when something could not be recorded (a bitmap too large for a record); the text is
  // the reason, in Japanese.
  const std::string& Problem() const;

 protected:
  int metric(PaintDeviceMetric metric) const override;

 private:
  QSize size_;
  int units_ = 1;
  std::unique_ptr<EmfPaintEngine> engine_;
};

// Replays the picture into an EmfGenerator of the given size (and sub-pixel units) and writes
// the metafile to path; throws CorvaneError naming the file when it cannot be written.
void WriteEmf(const QPicture& picture, QSize size, const QString& path, int subpixelUnits = 1);

}  // namespace corvane
