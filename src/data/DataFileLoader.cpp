#include "data/DataFileLoader.h"

#include <strings.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "data/CgnsReader.h"
#include "data/Plot3dReader.h"
#include "data/TecplotReader.h"
#include "data/VtkReader.h"

namespace corvane {
namespace {

// HDF5 puts its signature at 0 or, after a user block, at 512, 1024, 2048, ...; the older ADF
// files of CGNS start with their own banner.
bool HasCgnsSignature(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  static const char kHdf5[8] = {'\x89', 'H', 'D', 'F', '\r', '\n', '\x1a', '\n'};
  static const char kAdf[] = "@(#)ADF Database Version";
  char head[32] = {};
  in.read(head, sizeof head);
  if (std::memcmp(head, kAdf, sizeof kAdf - 1) == 0 || std::memcmp(head, kHdf5, 8) == 0) return true;
  for (std::streamoff at = 512; at <= (1 << 20); at *= 2) {
    in.clear();
    in.seekg(at);
    if (!in.read(head, 8)) return false;
    if (std::memcmp(head, kHdf5, 8) == 0) return true;
  }
  return false;
}

bool HasCgnsExtension(const std::string& path) {
  const std::string ext = std::filesystem::path(path).extension().string();
  return strcasecmp(ext.c_str(), ".cgns") == 0;
}

}  // namespace

DataFileFormat DetectDataFileFormat(const std::string& path) {
  if (HasCgnsSignature(path)) return DataFileFormat::Cgns;
  if (IsPlot3dSolutionPath(path) && !Plot3dGridBeside(path).empty()) return DataFileFormat::Plot3d;
  if (HasCgnsExtension(path)) return DataFileFormat::Cgns;
  if (HasTecplotHeader(path)) return DataFileFormat::Tecplot;
  if (IsVtkPath(path) || HasVtkHeader(path)) return DataFileFormat::Vtk;
  if (IsPlot3dSolutionPath(path) || IsPlot3dGridPath(path)) return DataFileFormat::Plot3d;
  return DataFileFormat::Text;
}

std::optional<LoadResult> LoadAnyDataFile(const std::string& path, const LoadOptions& options,
                                          const FieldDataSet& previous, int previousZoneListCount,
                                          Notifier& notifier, Progress& progress) {
  switch (DetectDataFileFormat(path)) {
    case DataFileFormat::Cgns: return LoadCgnsFile(path, options, previous, previousZoneListCount, notifier, progress);
    case DataFileFormat::Plot3d: return LoadPlot3dFile(path, options, previous, previousZoneListCount, notifier, progress);
    case DataFileFormat::Tecplot: return LoadTecplotFile(path, options, previous, previousZoneListCount, notifier, progress);
    case DataFileFormat::Vtk: return LoadVtkFile(path, options, previous, previousZoneListCount, notifier, progress);
    case DataFileFormat::Text: break;
  }
  return LoadDataFile(path, options, previous, previousZoneListCount, notifier, progress);
}

}  // namespace corvane
