#include "readers/DataSeries.h"

#include "readers/CgnsReader.h"
#include "readers/DataFileLoader.h"
#include "readers/MappedFile.h"
#include "readers/TecplotFile.h"
#include "readers/TecplotReader.h"
#include "readers/VtkReader.h"

namespace corvane {

std::vector<SeriesFrame> SeriesFrames(const std::vector<std::string>& paths) {
  std::vector<SeriesFrame> frames;
  for (const std::string& path : paths) {
    std::vector<double> times;
    const DataFileFormat format = DetectDataFileFormat(path);
    if (format == DataFileFormat::Cgns) times = CgnsStepTimes(path);
    if (times.size() == 1) times.clear();
    if (format == DataFileFormat::Tecplot) {
      MappedFile file(path);
      times = TecplotStepTimes(ScanTecplot(file.Bytes(), path));
    }
    if (format == DataFileFormat::Vtk) times = VtkSeriesTimes(path);  // a .pvd's steps
    if (times.empty()) frames.push_back({path, format, 0, std::nullopt});
    for (std::size_t k = 0; k < times.size(); ++k) frames.push_back({path, format, static_cast<int>(k), times[k]});
  }
  return frames;
}

std::optional<FileContents> ReadSeriesFrame(const SeriesFrame& frame, const LoadOptions& options, Notifier& notifier,
                                            Progress& progress) {
  if (frame.step > 0 && frame.format == DataFileFormat::Tecplot)
    return LoadTecplotFile(frame.path, options, notifier, progress, frame.step);
  if (frame.step > 0 && frame.format == DataFileFormat::Cgns)
    return LoadCgnsFile(frame.path, options, notifier, progress, frame.step);
  if (frame.step > 0 && frame.format == DataFileFormat::Vtk)
    return LoadVtkFile(frame.path, options, notifier, progress, frame.step);
  return ReadAnyDataFile(frame.path, options, notifier, progress);
}

}  // namespace corvane
