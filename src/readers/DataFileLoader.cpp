#include "readers/DataFileLoader.h"

#include "readers/CgnsReader.h"
#include "readers/DataFormats.h"
#include "base/Errors.h"
#include "readers/MappedFile.h"
#include "readers/Plot3dReader.h"
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

// Opened once: a pipe or a FIFO has no second reading, so its head read for the detection must be
// the head the reader reads.
std::optional<FileContents> ReadAnyDataFile(const std::string& path, const LoadOptions& options, Notifier& notifier,
                                            Progress& progress) {
  const MappedFile file(path);
  switch (DetectDataFileFormat(path, file.Bytes())) {
    case DataFileFormat::Cgns: return LoadCgnsFile(file, options, notifier, progress);
    case DataFileFormat::Plot3d: return LoadPlot3dFile(file, options, notifier, progress);
    case DataFileFormat::Tecplot: return LoadTecplotFile(file, options, notifier, progress);
    case DataFileFormat::Vtk: return LoadVtkFile(file, options, notifier, progress);
    case DataFileFormat::Text: break;
  }
  // What would go to the text reader but is no text it reads is named for what it is, not
  // for the label line the text reader would miss.
  if (std::optional<std::string> reason = UnreadableTextReason(path, file.Bytes())) throw CorvaneError(*reason);
  return LoadDataFile(file, options, notifier, progress);
}

}  // namespace corvane
