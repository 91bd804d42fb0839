#include "data/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "data/Errors.h"

namespace corvane {
namespace {

[[noreturn]] void Fail(const std::string& path, const char* what, int err) {
  throw CorvaneError("ファイル " + path + " を" + what + "ことができません: " + std::strerror(err));
}

}  // namespace

MappedFile::MappedFile(const std::string& path) : path_(path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) Fail(path, "開く", errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    int err = errno;
    ::close(fd);
    Fail(path, "読む", err);
  }
  if (S_ISDIR(st.st_mode)) {
    ::close(fd);
    Fail(path, "読む", EISDIR);
  }
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
  // Not a regular file (a pipe, a device) or not mappable: read it to the end.
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      int err = errno;
      ::close(fd);
      Fail(path, "読む", err);
    }
    if (n == 0) break;
    fallback_.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  data_ = fallback_.data();
  size_ = fallback_.size();
}

MappedFile::~MappedFile() {
  if (map_) ::munmap(map_, size_);
  if (fd_ >= 0) ::close(fd_);
}

void MappedFile::ReadAt(std::size_t offset, char* to, std::size_t count) const {
  if (fd_ < 0) {
    std::memcpy(to, data_ + offset, count);
    return;
  }
  while (count > 0) {
    const ssize_t n = ::pread(fd_, to, count, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail(path_, "読む", n < 0 ? errno : EIO);  // a file cut short while being read
    to += n;
    offset += static_cast<std::size_t>(n);
    count -= static_cast<std::size_t>(n);
  }
}

}  // namespace corvane
