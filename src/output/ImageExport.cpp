#include "output/ImageExport.h"

#include <QFileInfo>
#include <QImage>
#include <QPicture>

#include "base/Notifier.h"
#include "output/EmfGenerator.h"
#include "output/ImageWriters.h"
#include "output/VectorWriters.h"

namespace corvane {

namespace {

// The file name's extension from its last dot on, in capitals; empty when there is no dot.
QString UpperExtension(const QString& path) {
  const QString name = QFileInfo(path).fileName();
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? QString() : name.mid(dot).toUpper();
}

}  // namespace

QStringList PictureSaveFilters() {
  return {QStringLiteral("ビットマップ(*.bmp)"), QStringLiteral("エンハンストメタファイル(*.emf)"),
          QStringLiteral("JPEGイメージ(*.jpg *.jpeg)"), QStringLiteral("PNGイメージ(*.png)"),
          QStringLiteral("PDF文書(*.pdf)"), QStringLiteral("SVG画像(*.svg)")};
}

bool IsVectorPicturePath(const QString& path) {
  const QString extension = UpperExtension(path);
  return extension == ".EMF" || extension == ".PDF" || extension == ".SVG";
}

bool SavePictureByExtension(const QString& path, const QPicture& scene, const QImage& bitmap,
                            Notifier& notifier, bool exact) {
  const QString extension = UpperExtension(path);
  // ".jpeg" is as common a name for JPEG files as ".jpg".
  const bool jpeg = extension == ".JPG" || extension == ".JPEG";
  const bool raster = extension == ".BMP" || jpeg || extension == ".PNG";
  const bool vector = IsVectorPicturePath(path);
  if (!vector && !raster) {
    // Writing nothing is right for an unknown format, but the user must hear why no file
    // appeared.
    const std::string found = extension.isEmpty()
                                  ? std::string("ファイル名に拡張子がありません")
                                  : "拡張子「." + QFileInfo(path).suffix().toStdString() +
                                        "」の形式では保存できません";
    notifier.Warning(found + "。保存できる形式は " + kWrittenExtensions +
                     " です。画像は保存されませんでした。");
    return false;
  }
  if (vector) {
    if (scene.isNull()) {
      notifier.Warning("保存する画像がありません。先に描画してください。");
      return false;
    }
    const QSize size = bitmap.isNull() ? scene.boundingRect().size() : bitmap.size();
    if (extension == ".EMF") WriteEmf(scene, size, path, exact ? 16 : 1);
    if (extension == ".PDF") WritePdf(scene, size, path);
    if (extension == ".SVG") WriteSvg(scene, size, path);
    return true;
  }
  if (bitmap.isNull()) {
    notifier.Warning("保存する画像がありません。先に描画してください。");
    return false;
  }
  if (extension == ".BMP") WriteBmp(bitmap, path);
  if (jpeg) WriteJpeg(bitmap, path);
  if (extension == ".PNG") WritePng(bitmap, path);
  return true;
}

}  // namespace corvane
