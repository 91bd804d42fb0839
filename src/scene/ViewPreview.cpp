#include "scene/ViewPreview.h"

#include <QPainter>
#include <algorithm>

namespace corvane {

QTransform PixelTransform(const ViewTransform& from, const ViewTransform& to) {
  // A world point w lies at x = (w - centre) * scale + centre pixel, and at y = centre pixel -
  // (w - centre) * scale (y grows upwards in the world), in either view.
  const double kx = to.ScaleX / from.ScaleX, ky = to.ScaleY / from.ScaleY;
  const double dx = (from.CentreX - to.CentreX) * to.ScaleX + to.CentrePixelX - kx * from.CentrePixelX;
  const double dy = to.CentrePixelY - (from.CentreY - to.CentreY) * to.ScaleY - ky * from.CentrePixelY;
  return QTransform(kx, 0.0, 0.0, ky, dx, dy);
}

QImage TransformedPicture(const QImage& picture, const ViewTransform& from, const ViewTransform& to, QRgb background) {
  QImage out(std::max(to.PictureWidth, 1), std::max(to.PictureHeight, 1), QImage::Format_RGB32);
  out.fill(background);
  if (picture.isNull() || from.ScaleX == 0.0 || from.ScaleY == 0.0) return out;
  QPainter painter(&out);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.setTransform(PixelTransform(from, to));
  painter.drawImage(0, 0, picture);
  return out;
}

}  // namespace corvane
