// libFuzzer entry for the Tecplot ASCII reader: any bytes either load or are refused with the
// program's error; nothing crashes, overruns or allocates beyond what the bytes can hold.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "readers/DataFormats.h"
#include "base/Errors.h"
#include "fieldview/LoadedView.h"
#include "readers/TecplotFile.h"
#include "readers/TecplotReader.h"
#include "support/RecordingNotifier.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  (void)LooksLikeTecplot(bytes);
  // The detection that sends files here, and the look at text the text reader cannot read.
  (void)DataFormatOf("fuzz.dat", bytes);
  (void)UnreadableTextReason("fuzz.dat", bytes);
  static const std::string path = "/tmp/fuzz_tecplot_" + std::to_string(::getpid()) + ".dat";
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  for (int step : {0, 1}) {
    RecordingNotifier notifier;
    NullProgress progress;
    try {
      if (auto read = LoadTecplotFile(path, LoadOptions(), notifier, progress, step))
        CompleteLoad(std::move(*read), LoadOptions(), FieldView(), notifier);
    } catch (const CorvaneError&) {
    }
  }
  return 0;
}
