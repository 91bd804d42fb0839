// The bytes of a whole file, mapped read-only (or read into memory when it cannot be mapped),
// and reads of any part of it into a buffer of the caller's.
#pragma once
#include <string>
#include <string_view>

namespace corvane {

class MappedFile {
 public:
  // Throws CorvaneError naming the file when it cannot be opened or read.
  explicit MappedFile(const std::string& path);
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // The whole file. Pages of a mapping are read in as they are touched: a large file read
  // through ReadAt never becomes resident in this process.
  std::string_view Bytes() const { return {data_, size_}; }
  // Copies bytes [offset, offset + count) (within the file) to `to`; safe from several threads.
  // Throws CorvaneError naming the file when the read fails.
  void ReadAt(std::size_t offset, char* to, std::size_t count) const;

 private:
  std::string path_;
  const char* data_ = nullptr;
  std::size_t size_ = 0;
  void* map_ = nullptr;
  int fd_ = -1;  // open while mapped, for ReadAt
  std::string fallback_;
};

}  // namespace corvane
