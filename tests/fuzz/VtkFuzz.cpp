// libFuzzer entry for the VTK readers (legacy .vtk, XML .vts, .vtr, .vti, .vtm and .pvd lists):
// any bytes either load or are refused with the program's error; nothing crashes, overruns or
// allocates beyond what the bytes can hold (or, for compressed blocks, what they can inflate to).
// Multiblock and series inputs may list "p.vts", a small valid grid beside the input, and
// "in.vts", the input itself.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "base/Errors.h"
#include "fieldview/LoadedView.h"
#include "readers/VtkLegacy.h"
#include "readers/VtkReader.h"
#include "readers/VtkXml.h"
#include "support/RecordingNotifier.h"

namespace {

void WriteBytes(const std::string& path, const void* data, std::size_t size) {
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
}

// The folder of this process's inputs, with the grid a list may name.
const std::string& Folder() {
  static const std::string folder = [] {
    const std::string name = "/tmp/fuzz_vtk_" + std::to_string(::getpid());
    ::mkdir(name.c_str(), 0700);
    static const char kPiece[] =
        "<VTKFile type=\"StructuredGrid\"><StructuredGrid WholeExtent=\"0 1 0 1 0 0\"><Piece Extent=\"0 1 0 1 0 0\">"
        "<PointData><DataArray type=\"Float32\" Name=\"P\" format=\"ascii\">1 2 3 4</DataArray></PointData>"
        "<Points><DataArray type=\"Float32\" NumberOfComponents=\"3\" format=\"ascii\">0 0 0 1 0 0 0 1 0 1 1 0</DataArray>"
        "</Points></Piece></StructuredGrid></VTKFile>\n";
    WriteBytes(name + "/p.vts", kPiece, sizeof kPiece - 1);
    return name;
  }();
  return folder;
}

}  // namespace

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
  // The whole load, from a file, as the program does it: every step of a series.
  const std::string path = Folder() + "/in.vts";
  WriteBytes(path, data, size);
  RecordingNotifier notifier;
  NullProgress progress;
  const int steps = VtkXmlKind(bytes.substr(0, 4096)) == "Collection" ? 3 : 1;
  for (int step = 0; step < steps; ++step) {
    try {
      if (auto read = LoadVtkFile(path, LoadOptions(), notifier, progress, step))
        CompleteLoad(std::move(*read), LoadOptions(), FieldView(), notifier);
    } catch (const CorvaneError&) {
      break;
    }
  }
  return 0;
}
