// Formula variables, vorticity and speed, and profiles on a large grid: 1000 x 1000 nodes in one
// zone, u = -y, v = x, p a gently curved field. A formula is evaluated in muParser's bulk mode
// over every node; the flow rows need the grid metrics at every node; a wall is one grid line
// and a segment scans every edge; the plot of a wall is drawn as a PNG.
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>

#include "BenchGrids.h"
#include "BenchMain.h"
#include "field/DeferredRows.h"
#include "field/FlowDerivatives.h"
#include "field/FormulaVariables.h"
#include "profile/ProfileTable.h"

namespace {

using namespace corvane;

const FieldDataSet& BigGrid() {
  static const FieldDataSet data = [] {
    FieldDataSet d = bench::BenchGrid({{1000, 1000}}, 5, 4, [](int, int i, int j) {
      const double x = 0.01 * i, y = 0.01 * j;
      return bench::BenchNode{x, y, {-y, x, 101325 + 1000 * std::sin(x) * std::cos(y), 0.0}};
    });
    d.VariableNames = {"U", "V", "P"};
    d.Values.emplace_back(static_cast<std::size_t>(d.NodeCount), 0.0);  // the total pressure
    bench::SetExtents(d);
    return d;
  }();
  return data;
}

void BM_FormulaOverEveryNode(benchmark::State& state) {
  const FieldDataSet& data = BigGrid();
  const FormulaDefinition f = ParseFormulaText("Cp = (P - 101325) / (0.5 * 1.2 * 170^2) + if(x > y, U, V) * 0");
  for (auto _ : state) benchmark::DoNotOptimize(EvaluateFormula(data, f).data());
}
BENCHMARK(BM_FormulaOverEveryNode)->Unit(benchmark::kMillisecond);

void BM_VorticityAndSpeed(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    FieldDataSet data = BigGrid();
    state.ResumeTiming();
    AddDeferredFlowRows(data, 0, 1);
    EnsureAllRows(data);
    benchmark::DoNotOptimize(data.Values.back().data());
  }
}
BENCHMARK(BM_VorticityAndSpeed)->Unit(benchmark::kMillisecond);

void BM_SegmentAcrossTheGrid(benchmark::State& state) {
  const FieldDataSet& data = BigGrid();
  std::size_t points = 0;
  for (auto _ : state) points = ExtractSegment(data, {0.003, 0.001}, {9.987, 9.989}).Size();
  state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_SegmentAcrossTheGrid)->Unit(benchmark::kMillisecond);

void BM_WallPlotAsPng(benchmark::State& state) {
  const FieldDataSet& data = BigGrid();
  LineChoice line;
  line.pieces = ParseLinePieces("0:j=0");
  const std::vector<ProfileSet> sets = {MakeProfileSet(data, line, "wall")};
  const PlotSpec figure = MakeProfilePlot(sets, {"P"}, ProfileAxis::X);
  QTemporaryDir dir;
  const std::string path = dir.filePath("wall.png").toStdString();
  for (auto _ : state) SaveProfilePlot(path, figure, 800, 600);
}
BENCHMARK(BM_WallPlotAsPng)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return corvane::RunBenchmarksOffscreen(argc, argv); }
