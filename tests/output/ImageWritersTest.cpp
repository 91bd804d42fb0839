// Raster writers: what they write is read back with Qt's own decoders and compared at chosen
// pixels; BMP headers are checked field by field; failures must name the file.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdint>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>

#include "data/Errors.h"
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

uint32_t U32(const QByteArray& b, int at) {
  uint32_t v;
  std::memcpy(&v, b.constData() + at, 4);
  return v;
}

uint16_t U16(const QByteArray& b, int at) {
  uint16_t v;
  std::memcpy(&v, b.constData() + at, 2);
  return v;
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
  return f.readAll();
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
  QString PathOf(const char* base) const {
    return dir_.filePath(QString(base) + GetParam().extension);
  }
};

void ExpectNear(const QImage& expected, const QImage& actual, int x, int y, int tolerance) {
  const QColor e = expected.pixelColor(x, y);
  const QColor a = actual.pixelColor(x, y);
  EXPECT_NEAR(e.red(), a.red(), tolerance) << "at " << x << "," << y;
  EXPECT_NEAR(e.green(), a.green(), tolerance) << "at " << x << "," << y;
  EXPECT_NEAR(e.blue(), a.blue(), tolerance) << "at " << x << "," << y;
}

TEST_P(ImageWriters, PixelsSurviveARoundTripAtEveryOddAndEvenWidth) {
  // Widths 1..5 cover every BMP row padding; 1×1 is the smallest picture.
  const int sizes[][2] = {{1, 1}, {2, 3}, {3, 2}, {5, 7}, {64, 48}, {101, 33}};
  for (const auto& size : sizes) {
    const QImage picture = TestPicture(size[0], size[1]);
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

TEST_P(ImageWriters, AcceptsBitmapsInOtherPixelFormats) {
  QImage picture = TestPicture(20, 10).convertToFormat(QImage::Format_RGB888);
  const QString path = PathOf("rgb888");
  GetParam().write(picture, path);
  QImage back(path);
  ASSERT_EQ(back.size(), picture.size());
  ExpectNear(picture, back, 2, 2, GetParam().tolerance);
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
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BmpWriter, HeaderDescribesA24BitBottomUpBitmapWithPaddedRows) {
  QTemporaryDir dir;
  const QString path = dir.filePath("h.bmp");
  QImage picture(3, 2, QImage::Format_RGB32);
  picture.fill(QColor(1, 2, 3));
  picture.setPixelColor(0, 1, QColor(10, 20, 30));  // bottom-left: first pixel in the file
  WriteBmp(picture, path);
  const QByteArray b = ReadAll(path);
  const int rowBytes = 12;  // 3 × 3 bytes padded to 12
  ASSERT_EQ(b.size(), 54 + rowBytes * 2);
  EXPECT_EQ(b.left(2), QByteArray("BM"));
  EXPECT_EQ(U32(b, 2), static_cast<uint32_t>(b.size()));
  EXPECT_EQ(U32(b, 10), 54u);
  EXPECT_EQ(U32(b, 14), 40u);
  EXPECT_EQ(static_cast<int32_t>(U32(b, 18)), 3);
  EXPECT_EQ(static_cast<int32_t>(U32(b, 22)), 2);
  EXPECT_EQ(U16(b, 26), 1);
  EXPECT_EQ(U16(b, 28), 24);
  EXPECT_EQ(U32(b, 30), 0u);
  EXPECT_EQ(U32(b, 34), static_cast<uint32_t>(rowBytes * 2));
  // First stored row is the bottom one, in B, G, R order, padding zero.
  EXPECT_EQ(static_cast<uint8_t>(b[54]), 30);
  EXPECT_EQ(static_cast<uint8_t>(b[55]), 20);
  EXPECT_EQ(static_cast<uint8_t>(b[56]), 10);
  EXPECT_EQ(static_cast<uint8_t>(b[54 + 9]), 0);
  EXPECT_EQ(static_cast<uint8_t>(b[54 + rowBytes]), 3);
}

TEST(JpegWriter, WritesABaselineColourFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("c.jpg");
  WriteJpeg(TestPicture(40, 30), path);
  const QByteArray b = ReadAll(path);
  // SOF0 (baseline) with three components, no SOF2 (progressive).
  const int sof0 = b.indexOf(QByteArray("\xFF\xC0", 2));
  ASSERT_GE(sof0, 0);
  EXPECT_EQ(static_cast<uint8_t>(b[sof0 + 9]), 3);
  EXPECT_LT(b.indexOf(QByteArray("\xFF\xC2", 2)), 0);
}

}  // namespace
}  // namespace corvane
