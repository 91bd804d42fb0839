// The bytes of a whole file, mapped read-only (or read into memory when it cannot be mapped).
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

  std::string_view Bytes() const { return {data_, size_}; }

 private:
  const char* data_ = nullptr;
  std::size_t size_ = 0;
  void* map_ = nullptr;
  std::string fallback_;
};

}  // namespace corvane
