// What every fuzzing program shares: an input as a file the readers can open, and a notifier
// that says nothing (the progress is the base library's NullProgress).
#pragma once
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/Notifier.h"
#include "base/Progress.h"

namespace corvane::fuzz {

// The input as an in-memory file, named by its descriptor, closed with this object.
class InputFile {
 public:
  InputFile(const std::uint8_t* data, std::size_t size) {
    fd_ = ::memfd_create("fuzz-input", MFD_CLOEXEC);
    if (fd_ < 0 || (size && ::write(fd_, data, size) != static_cast<ssize_t>(size))) std::abort();
    path_ = "/proc/self/fd/" + std::to_string(fd_);
  }
  ~InputFile() { ::close(fd_); }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  const std::string& Path() const { return path_; }

 private:
  int fd_ = -1;
  std::string path_;
};

class QuietNotifier : public Notifier {
 public:
  void Warning(const std::string&) override {}
  void Message(const std::string&) override {}
};

}  // namespace corvane::fuzz
