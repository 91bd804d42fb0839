// The CGNS reader on any bytes, through its reading process: whatever the library does with the
// file, the load ends in a data set or a refusal. The fuzzing program is also the reading
// process, as the program is.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "FuzzSupport.h"
#include "readers/CgnsProcess.h"
#include "readers/CgnsReader.h"
#include "base/Errors.h"
#include "fieldview/LoadedView.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  if (corvane::IsCgnsReaderProcess(*argc, *argv)) corvane::RunCgnsReaderProcess(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The library opens files by name, so the input is a real file.
  static const std::string path = [] {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/corvane-fuzz-" + std::to_string(::getpid()) + ".cgns";
  }();
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                 static_cast<std::streamsize>(size));
  corvane::fuzz::QuietNotifier notifier;
  corvane::NullProgress progress;
  try {
    if (auto read = corvane::LoadCgnsFile(path, corvane::LoadOptions(), notifier, progress))
      corvane::CompleteLoad(std::move(*read), corvane::LoadOptions(), corvane::FieldView(), notifier);
  } catch (const corvane::CorvaneError&) {
  }
  return 0;
}
