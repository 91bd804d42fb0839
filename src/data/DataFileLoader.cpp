#include "data/DataFileLoader.h"

#include <strings.h>

#include <cstring>
#include <filesystem>

#include "data/CgnsReader.h"
#include "data/DerivedQuantities.h"
#include "data/FlowDerivatives.h"
#include "data/FormulaVariables.h"
#include "data/MappedFile.h"
#include "data/Plot3dReader.h"
#include "data/RoundLevels.h"
#include "data/TecplotReader.h"
#include "data/VariableRows.h"
#include "data/VtkReader.h"

namespace corvane {
namespace {

// HDF5 puts its signature at 0 or, after a user block, at 512, 1024, 2048, ...; the older ADF
// files of CGNS start with their own banner.
bool HasCgnsSignature(std::string_view bytes) {
  static const char kHdf5[8] = {'\x89', 'H', 'D', 'F', '\r', '\n', '\x1a', '\n'};
  static const std::string_view kAdf = "@(#)ADF Database Version";
  if (bytes.substr(0, kAdf.size()) == kAdf) return true;
  for (std::size_t at = 0; at <= (std::size_t{1} << 20) && at + 8 <= bytes.size(); at = at ? at * 2 : 512)
    if (std::memcmp(bytes.data() + at, kHdf5, 8) == 0) return true;
  return false;
}

bool HasCgnsExtension(const std::string& path) {
  const std::string ext = std::filesystem::path(path).extension().string();
  return strcasecmp(ext.c_str(), ".cgns") == 0;
}

}  // namespace

DataFileFormat DetectDataFileFormat(const std::string& path) {
  const MappedFile file(path);
  return DetectDataFileFormat(path, file.Bytes());
}

DataFileFormat DetectDataFileFormat(const std::string& path, std::string_view bytes) {
  if (HasCgnsSignature(bytes)) return DataFileFormat::Cgns;
  if (IsPlot3dSolutionPath(path) && !Plot3dGridBeside(path).empty()) return DataFileFormat::Plot3d;
  if (HasCgnsExtension(path)) return DataFileFormat::Cgns;
  // VTK's own first line wins over Tecplot's records: the title line after it may read "zone …".
  if (HasVtkHeader(bytes)) return DataFileFormat::Vtk;
  if (HasTecplotHeader(bytes)) return DataFileFormat::Tecplot;
  if (IsVtkPath(path) || HasVtkHeader(bytes)) return DataFileFormat::Vtk;
  if (IsPlot3dSolutionPath(path) || IsPlot3dGridPath(path)) return DataFileFormat::Plot3d;
  return DataFileFormat::Text;
}

// The reader of the file's format. Opened once: a pipe or a FIFO has no second reading, so its
// head read for the detection must be the head the reader reads.
static std::optional<LoadResult> LoadInItsFormat(const std::string& path, const LoadOptions& options,
                                                 const FieldView& previous, int previousZoneListCount,
                                                 Notifier& notifier, Progress& progress) {
  const MappedFile file(path);
  switch (DetectDataFileFormat(path, file.Bytes())) {
    case DataFileFormat::Cgns: return LoadCgnsFile(file, options, previous, previousZoneListCount, notifier, progress);
    case DataFileFormat::Plot3d: return LoadPlot3dFile(file, options, previous, previousZoneListCount, notifier, progress);
    case DataFileFormat::Tecplot: return LoadTecplotFile(file, options, previous, previousZoneListCount, notifier, progress);
    case DataFileFormat::Vtk: return LoadVtkFile(file, options, previous, previousZoneListCount, notifier, progress);
    case DataFileFormat::Text: break;
  }
  return LoadDataFile(file, options, previous, previousZoneListCount, notifier, progress);
}

std::optional<LoadResult> LoadAnyDataFile(const std::string& path, const LoadOptions& options,
                                          const FieldView& previous, int previousZoneListCount,
                                          Notifier& notifier, Progress& progress) {
  std::optional<LoadResult> result = LoadInItsFormat(path, options, previous, previousZoneListCount, notifier, progress);
  if (result) CompleteVariables(*result, options, notifier);
  return result;
}

void CompleteVariables(LoadResult& result, const LoadOptions& options, Notifier& notifier) {
  FieldDataSet& data = result.data;
  FieldView& view = result.view;
  if (data.Empty()) return;
  const bool flow = AddFlowRows(data, view, result.xvecIndex, result.yvecIndex);
  const bool formulas = AddFormulaVariables(data, view, options.formulas, notifier) > 0;
  if (flow || formulas) {
    if (options.AutoMaxMinCheck) AutoMaxMin(data, view);
    if (options.AutoStepCheck) AutoStep(view, options.StepBar);
    ApplyRoundLevels(view, options);
  }
  result.rgroupItems = RGroupItemsOf(data, options.IncludeVelCheck);
}

}  // namespace corvane
