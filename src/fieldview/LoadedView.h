// A load as the program shows it: the data set a reader read, the rows chosen for the flow
// quantities, and its view (contour ranges carried over or made automatically, line masks, edge
// flags). Every load of a data file ends here, in the windows, the commands and the Python module.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/Notifier.h"
#include "base/Progress.h"
#include "field/FieldDataSet.h"
#include "field/LoadOptions.h"
#include "fieldview/FieldView.h"
#include "readers/DataReader.h"
#include "readers/DataSeries.h"
#include "readers/SourceInfo.h"

namespace corvane {

// The rows the Mach number and total pressure (and vorticity and speed) are made from.
struct VariableChoices {
  std::vector<std::string> names;  // the file's variables, which the four are chosen from
  int velocityX = 0, velocityY = 0, temperature = 0, pressure = 0;
  std::array<int, 4> Rows() const { return {velocityX, velocityY, temperature, pressure}; }
};

struct LoadResult {
  FieldDataSet data;  // complete: nodes, derived rows, formula variables
  FieldView view;     // its contour ranges, edge flags and line masks
  VariableChoices choices;
  SourceInfo source;  // the file's format and what else it told
};

// A row chosen in `options` (xvecbox, yvecbox, tmpbox, prsBox: >= 0, within the variables) wins
// over the row the file names (`named`, -1 for none); a quantity with neither takes the first
// variable.
VariableChoices ChooseVariables(const FieldDataSet& data, const LoadOptions& options, const std::array<int, 4>& named);

// The view of what a reader read: contour ranges carried over from `previous` (as a reload
// keeps them), all lines shown, the edge flags of `previous` kept zone by zone; the Mach number
// and total pressure noted (a warning when their columns are not chosen), vorticity and speed
// when the velocity columns exist, the formula variables of options.formulas (one that fails is
// reported and left out), and, where switched on, the automatic and round contour ranges.
LoadResult CompleteLoad(FileContents read, const LoadOptions& options, const FieldView& previous, Notifier& notifier);

// Reads `path` (ReadAnyDataFile) and completes the load. A failed load changes nothing of
// `previous`.
std::optional<LoadResult> LoadAnyDataFile(const std::string& path, const LoadOptions& options, const FieldView& previous,
                                          Notifier& notifier, Progress& progress);
// Reads one frame of a series (ReadSeriesFrame) and completes the load.
std::optional<LoadResult> LoadSeriesFrame(const SeriesFrame& frame, const LoadOptions& options, const FieldView& previous,
                                          Notifier& notifier, Progress& progress);

// The contour range of every value row over all frames: the smallest minimum and the largest
// maximum of the frames' automatic ranges ("全時刻で同じ範囲"). Loads every frame once.
struct SeriesRange {
  std::vector<double> max, min;
};
SeriesRange RangeOverSeries(const std::vector<SeriesFrame>& frames, const LoadOptions& options, Notifier& notifier,
                            Progress& progress);

// Puts `range` into the contour ranges of `view` and, when `autoStep`, steps of `divisions` across it.
void ApplySeriesRange(FieldView& view, const SeriesRange& range, bool autoStep, int divisions);

}  // namespace corvane
