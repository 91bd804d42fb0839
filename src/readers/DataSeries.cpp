#include "readers/DataSeries.h"

#include <algorithm>
#include <cmath>

#include "readers/CgnsReader.h"
#include "readers/DataFileLoader.h"
#include "field/DeferredRows.h"
#include "field/DerivedQuantities.h"
#include "base/Errors.h"
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

std::optional<LoadResult> LoadSeriesFrame(const SeriesFrame& frame, const LoadOptions& options, const FieldView& previous,
                                          int previousZoneListCount, Notifier& notifier, Progress& progress) {
  // A later step of a file is read by its format's reader; its rows are completed as any load's.
  std::optional<LoadResult> step;
  if (frame.step > 0 && frame.format == DataFileFormat::Tecplot)
    step = LoadTecplotFile(frame.path, options, previous, previousZoneListCount, notifier, progress, frame.step);
  else if (frame.step > 0 && frame.format == DataFileFormat::Cgns)
    step = LoadCgnsFile(frame.path, options, previous, previousZoneListCount, notifier, progress, frame.step);
  else if (frame.step > 0 && frame.format == DataFileFormat::Vtk)
    step = LoadVtkFile(frame.path, options, previous, previousZoneListCount, notifier, progress, frame.step);
  else
    return LoadAnyDataFile(frame.path, options, previous, previousZoneListCount, notifier, progress);
  if (step) CompleteVariables(*step, options, notifier);
  return step;
}

SeriesRange RangeOverSeries(const std::vector<SeriesFrame>& frames, const LoadOptions& options, Notifier& notifier,
                            Progress& progress) {
  LoadOptions automatic = options;
  automatic.AutoMaxMinCheck = true;
  SeriesRange range;
  for (const SeriesFrame& frame : frames) {
    std::optional<LoadResult> r = LoadSeriesFrame(frame, automatic, FieldView(), 0, notifier, progress);
    if (!r) throw CorvaneError(frame.path + " を読み込めませんでした");
    EnsureAllRows(r->data);  // the range of every row, the derived ones too
    TakeComputedRanges(r->data, r->view, automatic);
    const FieldView& d = r->view;
    if (range.max.empty()) {
      range.max = d.ContourMax;
      range.min = d.ContourMin;
      continue;
    }
    // NaN ranges (rows without numbers) give way to any number.
    for (std::size_t k = 0; k < std::min(range.max.size(), d.ContourMax.size()); ++k) {
      if (std::isnan(range.max[k]) || d.ContourMax[k] > range.max[k]) range.max[k] = d.ContourMax[k];
      if (std::isnan(range.min[k]) || d.ContourMin[k] < range.min[k]) range.min[k] = d.ContourMin[k];
    }
  }
  return range;
}

void ApplySeriesRange(FieldView& view, const SeriesRange& range, bool autoStep, int divisions) {
  const std::size_t n = std::min({range.max.size(), view.ContourMax.size(), view.ContourMin.size()});
  for (std::size_t k = 0; k < n; ++k) {
    view.ContourMax[k] = range.max[k];
    view.ContourMin[k] = range.min[k];
  }
  view.derivedRangePending.fill(false);  // the series' ranges are theirs
  if (autoStep) AutoStep(view, divisions);
}

}  // namespace corvane
