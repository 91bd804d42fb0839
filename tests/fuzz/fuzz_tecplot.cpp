// libFuzzer entry for the Tecplot ASCII reader: any bytes either load or are refused with the
// program's error; nothing crashes, overruns or allocates beyond what the bytes can hold.
// By hand, from the source folder:
//   clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -Isrc -I/usr/include/x86_64-linux-gnu/qt6 \
//     -I/usr/include/x86_64-linux-gnu/qt6/QtCore -fPIC -DCORVANE_VERSION='"0"' -DCORVANE_CGNS_LIBRARY='"libcgns.so"' \
//     tests/fuzz/fuzz_tecplot.cpp src/data/*.cpp -lQt6Core -lz -ldl -o fuzz_tecplot && ./fuzz_tecplot -max_total_time=120
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "data/Errors.h"
#include "data/TecplotFile.h"
#include "data/TecplotReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  (void)LooksLikeTecplot(bytes);
  static const std::string path = "/tmp/fuzz_tecplot_" + std::to_string(::getpid()) + ".dat";
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  for (int step : {0, 1}) {
    RecordingNotifier notifier;
    NullProgress progress;
    try {
      LoadTecplotFile(path, LoadOptions(), FieldDataSet(), 0, notifier, progress, step);
    } catch (const CorvaneError&) {
    }
  }
  return 0;
}
