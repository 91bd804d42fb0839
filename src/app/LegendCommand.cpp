#include <algorithm>
#include <iostream>

#include "app/CommandLine.h"
#include "app/LegendSetup.h"
#include "contour/ContourLevels.h"
#include "contour/Legend.h"
#include "output/LegendExport.h"
#include "contour/LegendOptions.h"
#include "fieldview/LoadedView.h"
#include "fieldview/ContourRanges.h"
#include "field/DeferredRows.h"
#include "base/Errors.h"
#include "render/NumberFormat.h"

namespace corvane {
namespace {


constexpr const char* kLegendForm = "TLegendForm.";

// A contour box's number as the box shows it and the legend reads it back.
double AsContourBoxShowsIt(double value) {
  return ParseDoubleValue("MinBox", FormatGeneral15(value));
}

}  // namespace

LegendJob PrepareLegend(const CommandArgs& args, const std::vector<std::pair<std::string, std::string>>& other,
                        const ProgramOptions& options, FieldView& view) {
  LegendJob job;
  LegendOptions& legend = job.legend;
  const auto& table = LegendOptionTable();
  for (const auto& [name, value] : other) {
    const bool fromCommandLine =
        std::find_if(args.sets.begin(), args.sets.end(), [&](const auto& s) { return s.first == name; }) !=
        args.sets.end();
    // A --set name must be known (Apply throws naming it); the settings file may hold names
    // of other windows, which are not the legend's business.
    if (fromCommandLine || (name.rfind(kLegendForm, 0) == 0 && table.Has(name))) table.Apply(legend, name, value);
  }
  ApplyContourBoxes(view, options);
  const int k = options.RGroup;
  if (k < 0 || static_cast<std::size_t>(k) >= view.ContourMax.size() ||
      static_cast<std::size_t>(k) >= view.ContourMin.size() || static_cast<std::size_t>(k) >= view.ContourStep.size())
    throw CorvaneError("RGroup の項目がありません: " + std::to_string(k));
  LegendInput& input = job.input;
  input.lo = AsContourBoxShowsIt(view.ContourMin[static_cast<std::size_t>(k)]);
  input.hi = AsContourBoxShowsIt(view.ContourMax[static_cast<std::size_t>(k)]);
  input.step = AsContourBoxShowsIt(view.ContourStep[static_cast<std::size_t>(k)]);
  input.whiteBack = options.display.WhiteBack;
  input.colourMap = options.contour.colourMap;
  if (options.load.RoundLevelsCheck) legend.numberFormat.roundStep = input.step;
  // An unusable range leaves the bar without bands.
  job.problem = ContourRangeProblem(input.hi, input.lo, input.step);
  return job;
}

int RunLegendCommand(const CommandArgs& args) {
  if (args.data.size() != 1) {
    std::cerr << "corvane: legend にはデータファイルを一つ指定してください\n";
    return 1;
  }
  if (args.output.empty()) {
    std::cerr << "corvane: legend には -o で出力ファイルを指定してください\n";
    return 1;
  }
  try {
    // Options: the program's, then the legend window's own (qualified) controls.
    std::vector<std::pair<std::string, std::string>> other;
    const ProgramOptions options = BuildOptions(args, &other);
    StderrNotifier notifier;
    NullProgress progress;
    std::optional<LoadResult> loaded =
        LoadAnyDataFile(args.data.front(), options.load, FieldView{}, notifier, progress);
    if (!loaded) return 1;
    EnsureRowValues(loaded->data, options.RGroup);  // the legend shows the chosen row's range
    TakeComputedRanges(loaded->data, loaded->view, options.load);
    const LegendJob job = PrepareLegend(args, other, options, loaded->view);
    if (!job.problem.empty()) notifier.Warning(job.problem);
    // Another extension writes nothing; the notifier has said why.
    const bool saved = SaveLegendPicture(args.output, job.legend, job.input, notifier);
    return saved && job.problem.empty() ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << "corvane: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace corvane
