#include "output/Rgb32.h"

#include "base/Errors.h"

namespace corvane {

QImage AsRgb32(const QImage& image, const QString& path) {
  if (image.isNull() || image.width() < 1 || image.height() < 1) {
    throw CorvaneError("ファイル「" + path.toStdString() + "」: 保存する画像がありません。");
  }
  if (image.format() == QImage::Format_RGB32) return image;
  return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace corvane
