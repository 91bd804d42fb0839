#include "render/Supersample.h"

#include <vector>

#include "base/BothCores.h"

namespace corvane {

ViewTransform SupersampledView(const ViewTransform& view, int factor) {
  ViewTransform v = view;
  v.PictureWidth = view.PictureWidth * factor;
  v.PictureHeight = view.PictureHeight * factor;
  // Pixel coordinate c of the small picture is c x factor in the large one, as a painter scaled
  // by the factor maps the recorded picture; the fill and the lines so stay together.
  v.CentrePixelX = view.CentrePixelX * factor;
  v.CentrePixelY = view.CentrePixelY * factor;
  v.ScaleX = view.ScaleX * factor;
  v.ScaleY = view.ScaleY * factor;
  v.AxisMarginLeft = view.AxisMarginLeft * factor;
  v.AxisMarginBottom = view.AxisMarginBottom * factor;
  return v;
}

QImage AverageDown(const QImage& large, int factor) {
  const QImage source = large.format() == QImage::Format_RGB32 ? large : large.convertToFormat(QImage::Format_RGB32);
  const int w = source.width() / factor, h = source.height() / factor;
  QImage small(std::max(w, 1), std::max(h, 1), QImage::Format_RGB32);
  if (w <= 0 || h <= 0) {
    small.fill(source.isNull() ? QColor(Qt::black) : QColor(source.pixel(0, 0)));
    return small;
  }
  const unsigned n = static_cast<unsigned>(factor * factor), half = n / 2;
  RunOnBothCores(h, 64, [&](std::int64_t begin, std::int64_t end) {
    std::vector<unsigned> sums(static_cast<std::size_t>(w) * 3);
    for (std::int64_t y = begin; y < end; ++y) {
      std::fill(sums.begin(), sums.end(), 0u);
      for (int dy = 0; dy < factor; ++dy) {
        const QRgb* row = reinterpret_cast<const QRgb*>(source.constScanLine(static_cast<int>(y) * factor + dy));
        for (int x = 0; x < w; ++x) {
          unsigned* s = &sums[static_cast<std::size_t>(x) * 3];
          for (int dx = 0; dx < factor; ++dx) {
            const QRgb p = row[x * factor + dx];
            s[0] += qRed(p);
            s[1] += qGreen(p);
            s[2] += qBlue(p);
          }
        }
      }
      QRgb* out = reinterpret_cast<QRgb*>(small.scanLine(static_cast<int>(y)));
      for (int x = 0; x < w; ++x) {
        const unsigned* s = &sums[static_cast<std::size_t>(x) * 3];
        out[x] = qRgb(static_cast<int>((s[0] + half) / n), static_cast<int>((s[1] + half) / n),
                      static_cast<int>((s[2] + half) / n));
      }
    }
  });
  return small;
}

}  // namespace corvane
