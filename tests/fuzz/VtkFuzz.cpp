// libFuzzer entry for the VTK readers (legacy .vtk, XML .vts, .vtr, .vti, .vtm and .pvd lists):
// any bytes either load or are refused with the program's error; nothing crashes, overruns or
// allocates beyond what the bytes can hold (or, for compressed blocks, what they can inflate to).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "data/Errors.h"
#include "data/VtkLegacy.h"
#include "data/VtkReader.h"
#include "data/VtkXml.h"
#include "support/RecordingNotifier.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string layout;
  VtkBudget budget;
  try {
    const std::string kind = VtkXmlKind(bytes.substr(0, 4096));
    if (LooksLikeLegacyVtk(bytes)) ReadLegacyVtk(bytes, "fuzz.vtk", layout, budget);
    else if (kind == "vtkMultiBlockDataSet") ReadVtmList(bytes, "fuzz.vtm");
    else if (kind == "Collection") ReadPvdList(bytes, "fuzz.pvd");
    else ReadXmlGrid(bytes, "fuzz.vts", layout, budget);
  } catch (const CorvaneError&) {
  }
  // The whole load, from a file, as the program does it.
  static const std::string path = "/tmp/fuzz_vtk_" + std::to_string(::getpid()) + ".vts";
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  RecordingNotifier notifier;
  NullProgress progress;
  try {
    LoadVtkFile(path, LoadOptions(), FieldView(), 0, notifier, progress);
  } catch (const CorvaneError&) {
  }
  return 0;
}
