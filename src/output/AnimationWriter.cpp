#include "output/AnimationWriter.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/Errors.h"
#include "output/ImageWriters.h"

namespace corvane {
namespace {

[[noreturn]] void Fail(const QString& path, const std::string& what) {
  throw CorvaneError("アニメーション " + path.toStdString() + " を書けません: " + what);
}

// One frame of a GIF: its own colour table, exact when the picture has at most 256 colours
// (the usual plot), else quantised.
void PutGifFrame(GifFileType* gif, const QImage& image, int delay, const QString& path) {
  const int w = image.width(), h = image.height();
  std::vector<GifByteType> index(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  std::unordered_map<QRgb, int> colours;
  std::vector<GifColorType> table;
  bool exact = true;
  for (int y = 0; y < h && exact; ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < w; ++x) {
      const QRgb c = row[x] & 0xFFFFFFu;
      auto found = colours.find(c);
      if (found == colours.end()) {
        if (table.size() == 256) {
          exact = false;
          break;
        }
        found = colours.emplace(c, static_cast<int>(table.size())).first;
        table.push_back({static_cast<GifByteType>(qRed(c)), static_cast<GifByteType>(qGreen(c)), static_cast<GifByteType>(qBlue(c))});
      }
      index[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)] =
          static_cast<GifByteType>(found->second);
    }
  }
  if (!exact) {
    std::vector<GifByteType> r(index.size()), g(index.size()), b(index.size());
    for (int y = 0; y < h; ++y) {
      const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      for (int x = 0; x < w; ++x) {
        const std::size_t k = static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x);
        r[k] = static_cast<GifByteType>(qRed(row[x]));
        g[k] = static_cast<GifByteType>(qGreen(row[x]));
        b[k] = static_cast<GifByteType>(qBlue(row[x]));
      }
    }
    int size = 256;
    table.assign(256, GifColorType{0, 0, 0});
    if (GifQuantizeBuffer(static_cast<unsigned>(w), static_cast<unsigned>(h), &size, r.data(), g.data(), b.data(), index.data(),
                          table.data()) != GIF_OK)
      Fail(path, "色を減らせません");
  }
  const int size = 1 << std::max(1, GifBitSize(static_cast<int>(table.size())));
  table.resize(static_cast<std::size_t>(size), GifColorType{0, 0, 0});
  ColorMapObject* map = GifMakeMapObject(size, table.data());
  GraphicsControlBlock control{DISPOSE_DO_NOT, false, delay, NO_TRANSPARENT_COLOR};
  GifByteType extension[4];
  EGifGCBToExtension(&control, extension);
  bool ok = map && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_OK &&
            EGifPutImageDesc(gif, 0, 0, w, h, false, map) == GIF_OK;
  for (int y = 0; ok && y < h; ++y)
    ok = EGifPutLine(gif, index.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w), w) == GIF_OK;
  if (map) GifFreeMapObject(map);
  if (!ok) Fail(path, GifErrorString(gif->Error));
}

}  // namespace

AnimationKind AnimationKindOf(const QString& path) {
  const QString lower = path.toLower();
  if (lower.endsWith(QStringLiteral(".webp"))) return AnimationKind::WebP;
  if (lower.endsWith(QStringLiteral(".gif"))) return AnimationKind::Gif;
  if (path.endsWith(QLatin1Char('/')) || QFileInfo(path).isDir()) return AnimationKind::Folder;
  throw CorvaneError("時系列の出力は .webp、.gif か、フォルダ (名前の最後に /) です: " + path.toStdString());
}

struct AnimationWriter::Impl {
  QString path;
  AnimationKind kind;
  int fps;
  int frames = 0;
  int width = 0, height = 0;
  WebPAnimEncoder* webp = nullptr;
  GifFileType* gif = nullptr;

  ~Impl() {
    if (webp) WebPAnimEncoderDelete(webp);
    if (gif) {
      int error = 0;
      EGifCloseFile(gif, &error);
    }
  }

  int TimestampMs(int frame) const { return static_cast<int>(static_cast<long long>(frame) * 1000 / fps); }

  void Start(const QImage& first) {
    width = first.width();
    height = first.height();
    if (kind == AnimationKind::WebP) {
      WebPAnimEncoderOptions options;
      if (!WebPAnimEncoderOptionsInit(&options)) Fail(path, "WebP の版が合いません");
      options.anim_params.loop_count = 0;
      webp = WebPAnimEncoderNew(width, height, &options);
      if (!webp) Fail(path, "WebP の符号器を作れません");
    } else if (kind == AnimationKind::Gif) {
      int error = 0;
      // Opened here, so the file gets the permissions the user's umask gives like every other.
      const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
      if (fd < 0) Fail(path, std::strerror(errno));
      gif = EGifOpenFileHandle(fd, &error);
      if (!gif) {
        ::close(fd);
        Fail(path, GifErrorString(error));
      }
      EGifSetGifVersion(gif, true);
      GifByteType loop[3] = {1, 0, 0};  // repeat for ever
      if (EGifPutScreenDesc(gif, width, height, 8, 0, nullptr) != GIF_OK ||
          EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) != GIF_OK ||
          EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") != GIF_OK || EGifPutExtensionBlock(gif, 3, loop) != GIF_OK ||
          EGifPutExtensionTrailer(gif) != GIF_OK)
        Fail(path, GifErrorString(gif->Error));
    } else if (!QDir().mkpath(path)) {
      Fail(path, "フォルダを作れません");
    }
  }
};

AnimationWriter::AnimationWriter(const QString& path, int fps) : impl_(std::make_unique<Impl>()) {
  if (fps < 1 || fps > 100) throw CorvaneError("--fps は 1..100 です: " + std::to_string(fps));
  impl_->path = path;
  impl_->kind = AnimationKindOf(path);
  impl_->fps = fps;
}

AnimationWriter::~AnimationWriter() = default;

void AnimationWriter::Add(const QImage& frame) {
  Impl& m = *impl_;
  const QImage image = frame.format() == QImage::Format_RGB32 ? frame : frame.convertToFormat(QImage::Format_RGB32);
  if (m.frames == 0) m.Start(image);
  if (image.width() != m.width || image.height() != m.height) Fail(m.path, "絵の大きさが途中で変わりました");
  if (m.kind == AnimationKind::WebP) {
    WebPConfig config;
    WebPPicture picture;
    if (!WebPConfigInit(&config) || !WebPPictureInit(&picture)) Fail(m.path, "WebP の版が合いません");
    config.lossless = 1;  // flat colours and thin lines: lossless is both exact and small
    config.method = 1;
    picture.use_argb = 1;
    picture.width = m.width;
    picture.height = m.height;
    // RGB32 lies in memory as B, G, R, X on this little-endian machine.
    const bool imported = WebPPictureImportBGRX(&picture, image.constBits(), static_cast<int>(image.bytesPerLine()));
    const bool added = imported && WebPAnimEncoderAdd(m.webp, &picture, m.TimestampMs(m.frames), &config);
    WebPPictureFree(&picture);
    if (!added) Fail(m.path, WebPAnimEncoderGetError(m.webp));
  } else if (m.kind == AnimationKind::Gif) {
    PutGifFrame(m.gif, image, std::max(2, (100 + m.fps / 2) / m.fps), m.path);
  } else {
    WritePng(image, QDir(m.path).filePath(QStringLiteral("frame_%1.png").arg(m.frames + 1, 4, 10, QLatin1Char('0'))));
  }
  ++m.frames;
}

int AnimationWriter::Finish() {
  Impl& m = *impl_;
  if (m.frames == 0) Fail(m.path, "絵がありません");
  if (m.kind == AnimationKind::WebP) {
    WebPData data;
    WebPDataInit(&data);
    if (!WebPAnimEncoderAdd(m.webp, nullptr, m.TimestampMs(m.frames), nullptr) || !WebPAnimEncoderAssemble(m.webp, &data))
      Fail(m.path, WebPAnimEncoderGetError(m.webp));
    QFile file(m.path);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(reinterpret_cast<const char*>(data.bytes), static_cast<qint64>(data.size)) ==
                             static_cast<qint64>(data.size);
    WebPDataClear(&data);
    if (!written || !file.flush()) Fail(m.path, file.errorString().toStdString());
  } else if (m.kind == AnimationKind::Gif) {
    int error = 0;
    GifFileType* gif = std::exchange(m.gif, nullptr);
    if (EGifCloseFile(gif, &error) != GIF_OK) Fail(m.path, GifErrorString(error));
  }
  return m.frames;
}

}  // namespace corvane
