// `corvane analyze DATA -o OUT`: loads a data file with the data-tab options and writes the
// samples of the selected variable (RGroup) along the segment between the two analysis points
// (P1Direct, P1x, P1y, P1Zone, P1i, P1j and the same for point 2) to OUT, as the analysis button
// of the windows does.
#include <QFileInfo>
#include <iostream>

#include "analysis/SegmentSampling.h"
#include "app/CommandLine.h"
#include "fieldview/LoadedView.h"
#include "field/DeferredRows.h"
#include "base/Errors.h"
#include "field/VariableRows.h"

namespace corvane {
namespace {

// The two files are the same existing file (writing would destroy the data).
bool SameFile(const std::string& a, const std::string& b) {
  const QString ca = QFileInfo(QString::fromStdString(a)).canonicalFilePath();
  return !ca.isEmpty() && ca == QFileInfo(QString::fromStdString(b)).canonicalFilePath();
}

}  // namespace

int RunAnalyzeCommand(const CommandArgs& args) {
  if (args.data.size() != 1) throw CorvaneError("analyze にはデータファイルを一つ指定してください");
  if (args.output.empty()) throw CorvaneError("analyze には出力ファイルを -o で指定してください");
  const std::string& path = args.data.front();
  if (SameFile(path, args.output)) throw CorvaneError("出力ファイルがデータファイルと同じです: " + args.output);
  const ProgramOptions options = BuildOptions(args);

  StderrNotifier notifier;
  NullProgress progress;
  FieldView none;
  std::optional<LoadResult> loaded = LoadAnyDataFile(path, options.load, none, notifier, progress);
  if (!loaded) throw CorvaneError(path + " を読み込めませんでした");
  EnsureRowValues(loaded->data, options.RGroup);  // the row sampled
  const FieldDataSet& data = loaded->data;

  // What the windows cannot let happen is an error here: a variable RGroup does not offer, or a
  // node end point outside its zone.
  if (!VariableCaption(data, options.RGroup, options.load.IncludeVelCheck)) {
    throw CorvaneError("RGroup=" + std::to_string(options.RGroup) + " の変数はありません（選べるのは 0.." +
                       std::to_string(static_cast<long long>(RGroupItemsOf(data, options.load.IncludeVelCheck).size()) - 1) + "）");
  }
  for (SegmentPoint which : {SegmentPoint::First, SegmentPoint::Second}) {
    const ResolvedEndpoint e = ResolveEndpoint(data, options.analysis, which);
    if (!e.valid) throw CorvaneError(e.problem);
  }

  const AnalysisRunResult result = RunSegmentAnalysis(data, options.RGroup, options.load.IncludeVelCheck, options.analysis, args.output, notifier);
  if (result.status != AnalysisRunResult::Status::Written) return 1;
  std::cout << args.output << ": " << result.sampleCount << " 点\n";
  return 0;
}

}  // namespace corvane
