#include "readers/MappedFile.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "base/Errors.h"

namespace corvane {
namespace {

// What went wrong, in the user's words for the usual cases.
std::string Reason(int err) {
  switch (err) {
    case ENOENT: return "見つかりません";
    case EACCES: case EPERM: return "読む権限がありません";
    case EISDIR: return "フォルダです";
    case ENOMEM: return "メモリが足りません";
    default: return std::strerror(err);
  }
}

[[noreturn]] void Fail(const std::string& path, const char* what, int err) {
  throw CorvaneError("ファイル " + path + " を" + what + "ことができません: " + Reason(err));
}

// Most bytes read from a device before it is taken for one without an end.
constexpr std::uint64_t kDeviceLimit = std::uint64_t{1} << 20;

std::string ByteText(std::uint64_t n) { return std::to_string(n) + " バイト"; }

// Opens `path` for reading without waiting on a FIFO that has no writer yet; refuses what has
// no end to read to (a folder, a device).
int OpenReadable(const std::string& path, struct stat& st) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) Fail(path, "開く", errno);
  if (::fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    Fail(path, "読む", err);
  }
  if (S_ISDIR(st.st_mode)) {
    ::close(fd);
    throw CorvaneError("ファイル " + path + " はフォルダです。ファイルを指定してください");
  }
  if (S_ISFIFO(st.st_mode)) {
    // A FIFO opened without blocking reports nothing until a writer comes: wait a while for one.
    struct pollfd p {fd, POLLIN, 0};
    int ready = 0;
    do {
      ready = ::poll(&p, 1, kFifoWaitSeconds * 1000);
    } while (ready < 0 && errno == EINTR);
    if (ready == 0) {
      ::close(fd);
      throw CorvaneError("FIFO " + path + " に書き込むプログラムがありません (" + std::to_string(kFifoWaitSeconds) +
                         " 秒待ちました)");
    }
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

}  // namespace

std::uint64_t DataStreamLimit() {
  const long pages = ::sysconf(_SC_PHYS_PAGES), pageSize = ::sysconf(_SC_PAGE_SIZE);
  const std::uint64_t memory =
      pages > 0 && pageSize > 0 ? static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize) : ~std::uint64_t{0};
  return std::min(std::uint64_t{16} << 30, memory);
}

MappedFile::MappedFile(const std::string& path, std::uint64_t streamLimit) : path_(path) {
  struct stat st {};
  const int fd = OpenReadable(path, st);
  if (S_ISREG(st.st_mode) && st.st_size > 0) {
    void* m = ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (m != MAP_FAILED) {
      map_ = m;
      data_ = static_cast<const char*>(m);
      size_ = static_cast<std::size_t>(st.st_size);
      fd_ = fd;
      ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);  // a cold file is read ahead generously
      return;
    }
  }
  // A pipe, a FIFO, a socket, or a file that tells no length (in /proc): read it to the end.
  // A device holds no data set; /dev/null is read as empty, one without an end is refused.
  const bool device = S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode);
  try {
    Spool(fd, device ? std::min(streamLimit, kDeviceLimit) : streamLimit, device);
  } catch (...) {
    ::close(fd);
    throw;
  }
  ::close(fd);
}

// Copies the stream `fd` to an anonymous in-memory file and maps that: the bytes are held once,
// never in a growing buffer that needs twice their size while it grows.
void MappedFile::Spool(int fd, std::uint64_t limit, bool device) {
  fromStream_ = true;
  const int copy = ::memfd_create("corvane-stream", MFD_CLOEXEC);
  if (copy < 0) Fail(path_, "読む", errno);
  fd_ = copy;
  constexpr std::size_t kChunk = std::size_t{1} << 20;
  std::unique_ptr<char[]> buffer(new char[kChunk]);
  std::uint64_t total = 0;
  for (;;) {
    const ssize_t n = ::read(fd, buffer.get(), kChunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail(path_, "読む", errno);
    if (n == 0) break;
    total += static_cast<std::uint64_t>(n);
    if (total > limit && device)
      throw CorvaneError("ファイル " + path_ + " は終わりのない装置 (デバイス) です。通常のファイル、パイプ、FIFO を指定してください");
    if (total > limit)
      throw CorvaneError("ファイル " + path_ + " が大きすぎます。パイプや FIFO から読めるのは " + ByteText(limit) +
                         "までです");
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = ::write(copy, buffer.get() + done, static_cast<std::size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) Fail(path_, "読む", w < 0 ? errno : ENOSPC);
      done += w;
    }
  }
  if (total == 0) return;
  void* m = ::mmap(nullptr, static_cast<std::size_t>(total), PROT_READ, MAP_PRIVATE, copy, 0);
  if (m == MAP_FAILED) Fail(path_, "読む", errno);
  map_ = m;
  data_ = static_cast<const char*>(m);
  size_ = static_cast<std::size_t>(total);
}

MappedFile::~MappedFile() {
  if (map_) ::munmap(map_, size_);
  if (fd_ >= 0) ::close(fd_);
}

void MappedFile::ReadAt(std::size_t offset, char* to, std::size_t count) const {
  while (count > 0) {
    const ssize_t n = ::pread(fd_, to, count, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail(path_, "読む", n < 0 ? errno : EIO);  // a file cut short while being read
    to += n;
    offset += static_cast<std::size_t>(n);
    count -= static_cast<std::size_t>(n);
  }
}

std::string ReadSmallFile(const std::string& path, std::uint64_t limit, const std::string& kind) {
  try {
    MappedFile file(path, limit);
    if (file.Bytes().size() > limit)
      throw CorvaneError(kind + " " + path + " が大きすぎます (" + ByteText(file.Bytes().size()) + ")。" + ByteText(limit) +
                         "までです");
    return std::string(file.Bytes());
  } catch (const CorvaneError& e) {
    const std::string text = e.what();
    if (text.rfind("ファイル ", 0) == 0) throw CorvaneError(kind + text.substr(std::strlen("ファイル")));
    throw;
  }
}

}  // namespace corvane
