#include "fieldview/LoadedView.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/Errors.h"
#include "field/DeferredRows.h"
#include "fieldview/ContourRanges.h"
#include "readers/DataFileLoader.h"

namespace corvane {
namespace {

// The contour entries of every row of `data` (0 for a row `previous` has none of), every line
// shown, the edge flags kept zone by zone.
FieldView CarriedOver(const FieldDataSet& data, const FieldView& previous) {
  FieldView view;
  const std::size_t columns = static_cast<std::size_t>(std::max(data.ColumnCount, 0));
  for (auto [to, from] : {std::pair{&view.ContourMax, &previous.ContourMax}, std::pair{&view.ContourMin, &previous.ContourMin},
                          std::pair{&view.ContourStep, &previous.ContourStep}}) {
    *to = *from;
    to->resize(columns, 0.0);
  }
  const std::size_t zones = static_cast<std::size_t>(std::max(data.ZoneCount, 0));
  view.Masks.resize(zones);
  for (std::size_t z = 0; z < zones && z < data.Zones.size(); ++z) {
    view.Masks[z].ILineMask.assign(static_cast<std::size_t>(data.Zones[z].NI), true);
    view.Masks[z].JLineMask.assign(static_cast<std::size_t>(data.Zones[z].NJ), true);
  }
  // A new zone list gives every zone the edge flags the user set for new lists; that is the
  // caller's to decide (it knows the list it shows).
  view.Boundaries = previous.Boundaries;
  view.Boundaries.resize(zones);
  return view;
}

void AutomaticRanges(const FieldDataSet& data, FieldView& view, const LoadOptions& options) {
  if (options.AutoMaxMinCheck) AutoMaxMin(data, view);
  if (options.AutoStepCheck) AutoStep(view, options.StepBar);
  ApplyRoundLevels(view, options);
}

}  // namespace

VariableChoices ChooseVariables(const FieldDataSet& data, const LoadOptions& options, const std::array<int, 4>& named) {
  const int variables = data.ColumnCount - 2;
  const int chosen[4] = {options.xvecbox, options.yvecbox, options.tmpbox, options.prsBox};
  int selected[4];
  for (std::size_t s = 0; s < 4; ++s) {
    selected[s] = chosen[s] >= 0 && chosen[s] < variables ? chosen[s] : named[s];
    if (selected[s] < 0 && variables > 0) selected[s] = 0;
  }
  VariableChoices c;
  c.names = data.VariableNames;
  c.velocityX = selected[0];
  c.velocityY = selected[1];
  c.temperature = selected[2];
  c.pressure = selected[3];
  return c;
}

LoadResult CompleteLoad(FileContents read, const LoadOptions& options, const FieldView& previous, Notifier& notifier) {
  LoadResult result;
  result.choices = ChooseVariables(read.data, options, read.namedRows);
  result.data = std::move(read.data);
  result.source = std::move(read.source);
  FieldDataSet& data = result.data;
  FieldView& view = result.view;
  const VariableChoices& c = result.choices;
  view = CarriedOver(data, previous);
  // The Mach number and total pressure are computed when something first asks for them.
  const int variables = data.ColumnCount - 2;
  auto selectable = [&](int row) { return row >= 0 && row < variables; };
  if (read.hasVariables && !(selectable(c.velocityX) && selectable(c.velocityY) && selectable(c.temperature)))
    notifier.Warning("x速度、y速度、温度を設定してください");
  if (DeferGasRows(data, c.velocityX, c.velocityY, c.temperature, c.pressure, options))
    view.derivedRangePending[kMachRow] = view.derivedRangePending[kTotalPressureRow] = true;
  AutomaticRanges(data, view, options);
  if (data.Empty()) return result;
  // Vorticity and speed are only named here; they are computed when first used.
  AddShownFlowRows(data, view, c.velocityX, c.velocityY);
  // The ranges of the rows the reader gave are already there; a formula's row needs its own.
  if (AddShownFormulas(data, view, options.formulas, notifier) > 0) AutomaticRanges(data, view, options);
  return result;
}

std::optional<LoadResult> LoadAnyDataFile(const std::string& path, const LoadOptions& options, const FieldView& previous,
                                          Notifier& notifier, Progress& progress) {
  std::optional<FileContents> read = ReadAnyDataFile(path, options, notifier, progress);
  if (!read) return std::nullopt;
  return CompleteLoad(std::move(*read), options, previous, notifier);
}

std::optional<LoadResult> LoadSeriesFrame(const SeriesFrame& frame, const LoadOptions& options, const FieldView& previous,
                                          Notifier& notifier, Progress& progress) {
  std::optional<FileContents> read = ReadSeriesFrame(frame, options, notifier, progress);
  if (!read) return std::nullopt;
  return CompleteLoad(std::move(*read), options, previous, notifier);
}

SeriesRange RangeOverSeries(const std::vector<SeriesFrame>& frames, const LoadOptions& options, Notifier& notifier,
                            Progress& progress) {
  LoadOptions automatic = options;
  automatic.AutoMaxMinCheck = true;
  SeriesRange range;
  for (const SeriesFrame& frame : frames) {
    std::optional<LoadResult> r = LoadSeriesFrame(frame, automatic, FieldView(), notifier, progress);
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
