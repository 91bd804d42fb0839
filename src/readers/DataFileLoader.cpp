#include "readers/DataFileLoader.h"

#include "readers/CgnsReader.h"
#include "readers/DataFormats.h"
#include "field/DeferredRows.h"
#include "field/DerivedQuantities.h"
#include "base/Errors.h"
#include "field/FormulaVariables.h"
#include "readers/MappedFile.h"
#include "readers/Plot3dReader.h"
#include "field/RoundLevels.h"
#include "readers/TecplotReader.h"
#include "readers/VtkReader.h"

namespace corvane {

DataFileFormat DetectDataFileFormat(const std::string& path) {
  const MappedFile file(path);
  return DetectDataFileFormat(path, file.Bytes());
}

DataFileFormat DetectDataFileFormat(const std::string& path, std::string_view bytes) {
  return DataFormatOf(path, bytes).format;
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
  // What would go to the text reader but is no text it reads is named for what it is, not
  // for the label line the text reader would miss.
  if (std::optional<std::string> reason = UnreadableTextReason(path, file.Bytes())) throw CorvaneError(*reason);
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
  // Vorticity and speed are only named here; they are computed when first used.
  AddDeferredFlowRows(data, view, result.xvecIndex, result.yvecIndex);
  // The ranges of the rows the reader gave are already there; a formula's row needs its own.
  const bool formulas = AddFormulaVariables(data, view, options.formulas, notifier) > 0;
  if (formulas) {
    if (options.AutoMaxMinCheck) AutoMaxMin(data, view);
    if (options.AutoStepCheck) AutoStep(view, options.StepBar);
    ApplyRoundLevels(view, options);
  }
}

}  // namespace corvane
