// A picture file being written: opens the path with C stdio (the PNG and JPEG libraries write
// through a FILE*), and turns every open, write and close failure into a CorvaneError whose
// Japanese text names the file.
#pragma once
#include <QString>
#include <cstdio>
#include <string>

namespace corvane {

class OutputFile {
 public:
  // Creates or truncates the file; throws CorvaneError naming it when that is impossible.
  explicit OutputFile(const QString& path);
  // Closes without checking; a file still open here was abandoned after an error.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  FILE* Stream() const { return file_; }
  // Writes bytes; throws on a short write (disk full, device error).
  void Write(const void* data, std::size_t size);
  // Flushes and closes; throws if any write so far failed. Must be called on success.
  void Close();
  // Throws the write error for this file (used after a library reported a failed write).
  [[noreturn]] void FailWrite(const std::string& detail = {});

 private:
  QString path_;
  FILE* file_ = nullptr;
  bool existedBefore_ = false;
  int savedErrno_ = 0;
};

// The user-facing reason for an errno value, in Japanese.
std::string FileErrorReason(int errnoValue);

}  // namespace corvane
