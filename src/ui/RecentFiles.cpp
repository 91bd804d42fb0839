#include "ui/RecentFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QSaveFile>
#include <QUrl>

#include "scene/DesktopIntegration.h"

namespace corvane {

QString FirstLocalFile(const QMimeData* mime) {
  if (!mime || !mime->hasUrls()) return {};
  for (const QUrl& url : mime->urls())
    if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile()) return url.toLocalFile();
  return {};
}

QStringList LocalFiles(const QMimeData* mime) {
  QStringList files;
  if (!mime || !mime->hasUrls()) return files;
  for (const QUrl& url : mime->urls())
    if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile()) files << url.toLocalFile();
  return files;
}

// Reads the stored list; a missing or unreadable store is an empty list.
RecentFiles::RecentFiles(const QString& storePath)
    : storePath_(storePath.isEmpty() ? QDir(ConfigHome()).filePath(QStringLiteral("corvane/recent-files")) : storePath) {
  QFile in(storePath_);
  // A store that is not a small regular file is left alone.
  QFileInfo info(storePath_);
  if (!info.isFile() || info.size() > 64 * 1024 || !in.open(QIODevice::ReadOnly)) return;
  const QStringList lines = QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  for (const QString& line : lines) {
    const QString path = line.trimmed();
    if (!path.isEmpty() && !paths_.contains(path) && paths_.size() < kMaximum) paths_.append(path);
  }
}

void RecentFiles::Add(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  if (absolute.contains(QLatin1Char('\n'))) return;  // one path a line in the store
  paths_.removeAll(absolute);
  paths_.prepend(absolute);
  while (paths_.size() > kMaximum) paths_.removeLast();
  Save();
}

void RecentFiles::Remove(const QString& path) {
  if (paths_.removeAll(path) > 0) Save();
}

// Written whole through a temporary file, so a crash never leaves half a list behind.
void RecentFiles::Save() const {
  QDir().mkpath(QFileInfo(storePath_).absolutePath());
  QSaveFile out(storePath_);
  if (!out.open(QIODevice::WriteOnly)) return;
  out.write((paths_.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
  out.commit();
}

}  // namespace corvane
