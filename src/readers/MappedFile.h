// The bytes of a whole file, mapped read-only, and reads of any part of it into a buffer of the
// caller's. A pipe, a FIFO or process substitution is read to its end (with a bound) into an
// anonymous in-memory file that is then mapped the same way, so a stream is read once and its
// head serves both the format detection and the reader.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// Most bytes a data stream may bring (16 GB, or the machine's memory when that is less).
std::uint64_t DataStreamLimit();
// Most bytes of a settings file (1 MB).
inline constexpr std::uint64_t kSettingsFileLimit = std::uint64_t{1} << 20;
// Seconds a FIFO is waited for before it is refused as having no writer.
inline constexpr int kFifoWaitSeconds = 5;

class MappedFile {
 public:
  // Throws CorvaneError naming the file when it cannot be opened or read, is a folder or a
  // device without an end (past 1 MB), or is a stream of more than `streamLimit` bytes (or a FIFO nobody writes to).
  explicit MappedFile(const std::string& path, std::uint64_t streamLimit = DataStreamLimit());
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  const std::string& Path() const { return path_; }
  // Whether the bytes came from a stream (they then live in an in-memory file).
  bool FromStream() const { return fromStream_; }
  // The whole file. Pages of a mapping are read in as they are touched: a large file read
  // through ReadAt never becomes resident in this process.
  std::string_view Bytes() const { return {data_, size_}; }
  // Copies bytes [offset, offset + count) (within the file) to `to`; safe from several threads.
  // Throws CorvaneError naming the file when the read fails.
  void ReadAt(std::size_t offset, char* to, std::size_t count) const;

 private:
  void Spool(int fd, std::uint64_t limit, bool device);

  std::string path_;
  const char* data_ = nullptr;
  std::size_t size_ = 0;
  void* map_ = nullptr;
  int fd_ = -1;
  bool fromStream_ = false;
};

// The whole text of a small file (settings): refused like MappedFile, and past `limit` bytes
// whatever kind of file it is.
std::string ReadSmallFile(const std::string& path, std::uint64_t limit, const std::string& kind);

}  // namespace corvane
