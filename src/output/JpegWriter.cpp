#include <QImage>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <jpeglib.h>

#include "output/ImageWriters.h"
#include "output/OutputFile.h"
#include "output/Rgb32.h"

#ifndef JCS_EXTENSIONS
#error "libjpeg-turbo (JCS_EXT_BGRX input) is required"
#endif

namespace corvane {

namespace {

constexpr int kJpegQuality = 90;

// libjpeg's default error_exit calls exit(); ours jumps back to EncodeJpeg instead.
struct JpegErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void OnJpegError(j_common_ptr cinfo) {
  auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
  std::longjmp(manager->jump, 1);
}

// Warnings (corrupt data on input) cannot arise when writing; keep stderr quiet.
void OnJpegMessage(j_common_ptr) {}

// Encodes the whole image into the open file; false after a libjpeg error. Objects with
// destructors live in the caller, so the longjmp skips none.
bool EncodeJpeg(const QImage& image, FILE* file, jpeg_compress_struct& cinfo,
                JpegErrorManager& errors) {
  cinfo.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnJpegError;
  errors.base.output_message = OnJpegMessage;
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, file);
  cinfo.image_width = static_cast<JDIMENSION>(image.width());
  cinfo.image_height = static_cast<JDIMENSION>(image.height());
  // libjpeg-turbo reads the 0xffRRGGBB words (B, G, R, X in memory) directly.
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&cinfo);  // sequential (baseline) Huffman coding, YCbCr
  jpeg_set_quality(&cinfo, kJpegQuality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    const auto* line = image.constScanLine(static_cast<int>(cinfo.next_scanline));
    JSAMPROW row = const_cast<JSAMPROW>(line);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

}  // namespace

// Hands libjpeg the rows of the bitmap and reports any failure as a file error.
void WriteJpeg(const QImage& source, const QString& path) {
  const QImage image = AsRgb32(source, path);
  jpeg_compress_struct cinfo{};
  JpegErrorManager errors{};
  OutputFile file(path);
  if (!EncodeJpeg(image, file.Stream(), cinfo, errors)) file.FailWrite();
  file.Close();
}

}  // namespace corvane
