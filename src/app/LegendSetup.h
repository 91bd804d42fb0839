// The steps `legend` shares with other hosts of the legend (the Python module): its options from
// the settings and --set, and its input from a loaded data set's contour range.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "app/CommandLine.h"
#include "contour/Legend.h"
#include "contour/LegendOptions.h"

namespace corvane {

struct LegendJob {
  LegendOptions legend;
  LegendInput input;
  std::string problem;  // why the range draws no bands (empty when usable); the legend is still saved
};

// The legend window's options from `other` (the assignments BuildOptions handed back: a --set
// name must be known, the settings file's names of other windows are passed over) and the input
// of row RGroup of `view` with the contour boxes of `options` applied. Throws CorvaneError when
// RGroup names no row.
LegendJob PrepareLegend(const CommandArgs& args, const std::vector<std::pair<std::string, std::string>>& other,
                        const ProgramOptions& options, FieldView& view);

}  // namespace corvane
