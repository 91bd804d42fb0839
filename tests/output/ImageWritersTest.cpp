// Raster writers: what they write is read back with Qt's own decoders and compared at chosen
// pixels; BMP headers are checked field by field; failures must name the file.
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

#include "base/Errors.h"
#include "TestSupport.h"
#include "output/ImageWriters.h"

namespace corvane {
namespace {

// Four flat quadrants plus a one-pixel diagonal line, like a small contour picture.
QImage TestPicture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(QColor(255, 255, 255));
  QPainter p(&image);
  p.fillRect(0, 0, width / 2, height / 2, QColor(200, 30, 40));
  p.fillRect(width / 2, 0, width - width / 2, height / 2, QColor(20, 180, 60));
  p.fillRect(0, height / 2, width / 2, height - height / 2, QColor(10, 40, 220));
  p.setPen(QColor(0, 0, 0));
  p.drawLine(0, height - 1, width - 1, 0);
  p.end();
  return image;
}

struct Writer {
  const char* name;
  std::function<void(const QImage&, const QString&)> write;
  const char* extension;
  int tolerance;  // per channel
};

const Writer kWriters[] = {
    {"bmp", WriteBmp, ".bmp", 0},
    {"png", WritePng, ".png", 0},
    {"jpeg", WriteJpeg, ".jpg", 24},
};

class ImageWriters : public ::testing::TestWithParam<Writer> {
 protected:
  QTemporaryDir dir_;
  QString PathOf(const char* base) const { return dir_.filePath(QString(base) + GetParam().extension); }
};

void ExpectNear(const QImage& expected, const QImage& actual, int x, int y, int tolerance) {
  const QColor e = expected.pixelColor(x, y), a = actual.pixelColor(x, y);
  EXPECT_LE(std::max({std::abs(e.red() - a.red()), std::abs(e.green() - a.green()), std::abs(e.blue() - a.blue())}), tolerance)
      << "at " << x << "," << y;
}

TEST_P(ImageWriters, PixelsSurviveARoundTripAtEveryWidthAndPixelFormat) {
  // Widths 1..5 cover every BMP row padding; 1×1 is the smallest picture; the last is given in
  // another pixel format.
  const int sizes[][2] = {{1, 1}, {2, 3}, {3, 2}, {5, 7}, {64, 48}, {101, 33}, {20, 10}};
  for (const auto& size : sizes) {
    QImage picture = TestPicture(size[0], size[1]);
    if (size[0] == 20) picture = picture.convertToFormat(QImage::Format_RGB888);
    const QString path = PathOf("round");
    GetParam().write(picture, path);
    QImage back(path);
    ASSERT_FALSE(back.isNull()) << size[0] << "x" << size[1];
    ASSERT_EQ(back.size(), picture.size());
    if (GetParam().tolerance == 0) {
      for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) ExpectNear(picture, back, x, y, 0);
    } else if (picture.width() >= 16) {
      // JPEG: inside the two flat quadrants the diagonal line does not cross.
      ExpectNear(picture, back, picture.width() / 4, picture.height() / 4, GetParam().tolerance);
      ExpectNear(picture, back, picture.width() * 3 / 4, picture.height() * 3 / 4, GetParam().tolerance);
    }
  }
}

TEST_P(ImageWriters, FailedWritesAndEmptyPicturesAreErrors) {
  // (A file that cannot be created is checked, by name, with the export by extension.)
  // A device that is always full: the open works, every write fails.
  if (QFile::exists("/dev/full")) {
    EXPECT_THROW(GetParam().write(TestPicture(300, 300), "/dev/full"), CorvaneError);
  }
  EXPECT_THROW(GetParam().write(QImage(), PathOf("empty")), CorvaneError);
  EXPECT_FALSE(QFile::exists(PathOf("empty")));
}

INSTANTIATE_TEST_SUITE_P(Formats, ImageWriters, ::testing::ValuesIn(kWriters),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(BmpAndJpegWriters, WriteA24BitBottomUpBitmapWithPaddedRowsAndABaselineColourJpeg) {
  QTemporaryDir dir;
  const QString path = dir.filePath("h.bmp");
  QImage picture(3, 2, QImage::Format_RGB32);
  picture.fill(QColor(1, 2, 3));
  picture.setPixelColor(0, 1, QColor(10, 20, 30));  // bottom-left: first pixel in the file
  WriteBmp(picture, path);
  const QByteArray expected = QByteArray::fromHex(
      "424d" "4e000000" "00000000" "36000000"  // "BM", file size 78, pixels at 54
      "28000000" "03000000" "02000000" "0100" "1800" "00000000" "18000000"  // 3 x 2, 24 bits, 24 bytes
      "c40e0000" "c40e0000" "00000000" "00000000"  // 3780 pixels per metre (96 dpi), no palette
      "1e140a" "030201" "030201" "000000"  // bottom row first, B G R, padded to 12 bytes
      "030201" "030201" "030201" "000000");
  EXPECT_EQ(testing::ReadFile(path).toHex().toStdString(), expected.toHex().toStdString());

  // JPEG: a baseline colour file.
  WriteJpeg(TestPicture(40, 30), dir.filePath("c.jpg"));
  const QByteArray b = testing::ReadFile(dir.filePath("c.jpg"));
  // SOF0 (baseline) with three components, no SOF2 (progressive).
  const int sof0 = b.indexOf(QByteArray("\xFF\xC0", 2));
  ASSERT_GE(sof0, 0);
  EXPECT_EQ(static_cast<uint8_t>(b[sof0 + 9]), 3);
  EXPECT_LT(b.indexOf(QByteArray("\xFF\xC2", 2)), 0);
}

}  // namespace
}  // namespace corvane
