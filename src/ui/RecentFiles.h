// The files opened last, newest first, kept between runs in the user's configuration folder
// ($XDG_CONFIG_HOME/corvane/recent-files, one path a line). The list is a convenience: a file
// that cannot be written or read is treated as an empty list, never as an error.
#pragma once
#include <QString>
#include <QStringList>

class QMimeData;

namespace corvane {

// The first local file among the URLs of a drop, or an empty text.
QString FirstLocalFile(const QMimeData* mime);
// Every local file among the URLs of a drop, in their order.
QStringList LocalFiles(const QMimeData* mime);

class RecentFiles {
 public:
  static constexpr int kMaximum = 10;

  // `storePath` empty: the file in the user's configuration folder.
  explicit RecentFiles(const QString& storePath = QString());

  const QStringList& Paths() const { return paths_; }
  // Puts `path` (made absolute) at the top, drops an older copy and anything past ten; saved.
  void Add(const QString& path);
  // Takes `path` out of the list (a file that has gone away); saved.
  void Remove(const QString& path);
  QString StorePath() const { return storePath_; }

 private:
  void Save() const;
  QString storePath_;
  QStringList paths_;
};

}  // namespace corvane
