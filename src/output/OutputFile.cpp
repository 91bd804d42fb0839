#include "output/OutputFile.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "base/Errors.h"

namespace corvane {

namespace {

// A large stdio buffer: pictures are written in row-sized pieces, and fewer system calls
// matter for the 30 ms budget of a PNG.
constexpr std::size_t kBufferSize = 1 << 18;

}  // namespace

std::string FileErrorReason(int errnoValue) {
  switch (errnoValue) {
    case EACCES:
    case EPERM:
      return "書き込みが許可されていません";
    case EROFS:
      return "読み取り専用の場所です";
    case ENOENT:
    case ENOTDIR:
      return "フォルダが存在しません";
    case EISDIR:
      return "同じ名前のフォルダがあります";
    case ENOSPC:
    case EDQUOT:
      return "ディスクの空き容量が足りません";
    case ENAMETOOLONG:
      return "ファイル名が長すぎます";
    case 0:
      return "書き込みエラー";
    default:
      return std::strerror(errnoValue);
  }
}

OutputFile::OutputFile(const QString& path) : path_(path) {
  const QByteArray native = QFile::encodeName(path);
  struct stat st {};
  existedBefore_ = ::stat(native.constData(), &st) == 0;
  file_ = std::fopen(native.constData(), "wb");
  if (file_ == nullptr) {
    throw CorvaneError("ファイル「" + path.toStdString() + "」を作成できません（" +
                       FileErrorReason(errno) + "）。");
  }
  std::setvbuf(file_, nullptr, _IOFBF, kBufferSize);
}

OutputFile::~OutputFile() {
  if (file_ != nullptr) std::fclose(file_);
}

void OutputFile::Write(const void* data, std::size_t size) {
  if (size == 0) return;
  if (std::fwrite(data, 1, size, file_) != size) {
    savedErrno_ = errno;
    FailWrite();
  }
}

void OutputFile::Close() {
  errno = 0;
  const bool bad = std::fflush(file_) != 0 || std::ferror(file_) != 0;
  const int flushErrno = errno;
  const int closed = std::fclose(file_);
  const int closeErrno = errno;
  file_ = nullptr;
  if (bad || closed != 0) {
    savedErrno_ = bad ? flushErrno : closeErrno;
    FailWrite();
  }
}

void OutputFile::FailWrite(const std::string& detail) {
  if (savedErrno_ == 0) savedErrno_ = errno;
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  // A half-written picture that we created ourselves is removed; an existing file (or a device)
  // is left alone.
  if (!existedBefore_) ::unlink(QFile::encodeName(path_).constData());
  std::string reason = detail.empty() ? FileErrorReason(savedErrno_) : detail;
  throw CorvaneError("ファイル「" + path_.toStdString() + "」に書き込めません（" + reason + "）。");
}

}  // namespace corvane
