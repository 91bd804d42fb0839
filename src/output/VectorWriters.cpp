#include "output/VectorWriters.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QSvgGenerator>

#include "base/Errors.h"
#include "output/OutputFile.h"

namespace corvane {
namespace {

constexpr int kDpi = 96;

// The finished bytes go through OutputFile, so a failure reads like every other save's.
void WriteBytes(const QByteArray& bytes, const QString& path) {
  OutputFile file(path);
  file.Write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  file.Close();
}

// Plays the picture onto a device that has just been set up; false when the painter refused it.
bool Replay(QPaintDevice& device, const QPicture& picture) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  painter.drawPicture(0, 0, picture);
  return painter.end();
}

}  // namespace

void WritePdf(const QPicture& picture, QSize size, const QString& path) {
  size = size.expandedTo(QSize(1, 1));
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    pdf.setCreator(QStringLiteral("Corvane"));
    pdf.setResolution(kDpi);
    pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(size.width() * 72.0 / kDpi, size.height() * 72.0 / kDpi),
                                            QPageSize::Point, QString(), QPageSize::ExactMatch),
                                  QPageLayout::Portrait, QMarginsF()));
    if (!Replay(pdf, picture)) throw CorvaneError("ファイル「" + path.toStdString() + "」: PDF を作れませんでした");
  }
  WriteBytes(buffer.data(), path);
}

void WriteSvg(const QPicture& picture, QSize size, const QString& path) {
  size = size.expandedTo(QSize(1, 1));
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setResolution(kDpi);
  svg.setTitle(QStringLiteral("Corvane"));
  if (!Replay(svg, picture)) throw CorvaneError("ファイル「" + path.toStdString() + "」: SVG を作れませんでした");
  WriteBytes(buffer.data(), path);
}

}  // namespace corvane
