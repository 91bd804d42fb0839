#include <QImage>
#include <cstdint>
#include <vector>

#include "base/Errors.h"
#include "output/ImageWriters.h"
#include "output/OutputFile.h"
#include "output/Rgb32.h"

namespace corvane {

namespace {

void PutU16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

void PutU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPixelsPerMetre96Dpi = 3780;

}  // namespace

// Writes the headers, then every row from the bottom up as B, G, R bytes plus padding.
void WriteBmp(const QImage& source, const QString& path) {
  const QImage image = AsRgb32(source, path);
  const uint64_t width = static_cast<uint64_t>(image.width());
  const uint64_t height = static_cast<uint64_t>(image.height());
  const uint64_t rowBytes = (width * 3 + 3) & ~uint64_t{3};
  const uint64_t imageBytes = rowBytes * height;
  const uint64_t fileBytes = kFileHeaderSize + kInfoHeaderSize + imageBytes;
  if (fileBytes > 0xFFFFFFFFu) {
    throw CorvaneError("ファイル「" + path.toStdString() +
                       "」: 画像が大きすぎてビットマップファイルにできません。");
  }

  uint8_t header[kFileHeaderSize + kInfoHeaderSize] = {};
  header[0] = 'B';
  header[1] = 'M';
  PutU32(header + 2, static_cast<uint32_t>(fileBytes));
  PutU32(header + 10, kFileHeaderSize + kInfoHeaderSize);
  uint8_t* info = header + kFileHeaderSize;
  PutU32(info + 0, kInfoHeaderSize);
  PutU32(info + 4, static_cast<uint32_t>(width));
  PutU32(info + 8, static_cast<uint32_t>(height));  // positive: bottom-up rows
  PutU16(info + 12, 1);                              // planes
  PutU16(info + 14, 24);                             // bits per pixel
  PutU32(info + 16, 0);                              // BI_RGB, uncompressed
  PutU32(info + 20, static_cast<uint32_t>(imageBytes));
  PutU32(info + 24, kPixelsPerMetre96Dpi);
  PutU32(info + 28, kPixelsPerMetre96Dpi);

  OutputFile file(path);
  file.Write(header, sizeof header);
  std::vector<uint8_t> row(rowBytes, 0);
  for (int y = image.height() - 1; y >= 0; --y) {
    RowToBgr(reinterpret_cast<const uint32_t*>(image.constScanLine(y)), image.width(), row.data());
    file.Write(row.data(), row.size());
  }
  file.Close();
}

}  // namespace corvane
