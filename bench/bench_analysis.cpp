// The segment analysis on a large grid: 1000 x 1000 nodes in one zone with unit spacing and a
// gently curved field. A diagonal across the whole grid crosses about 2000 grid lines, so the
// 1000-sample cap applies; the whole run (scan, sort and merge, formatting, writing the file) and
// a full scan of every edge without the cap (a segment along the grid's middle).
#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>

#include "BenchGrids.h"
#include "analysis/SegmentSampling.h"

namespace {

using namespace corvane;

class QuietNotifier : public Notifier {
 public:
  void Warning(const std::string&) override {}
  void Message(const std::string&) override {}
};

// Unit spacing, one gently curved field (the derived rows copy it).
const FieldDataSet& BigGrid() {
  static const FieldDataSet data = [] {
    FieldDataSet d = bench::BenchGrid({{1000, 1000}}, 3, 1, [](int, int i, int j) {
      return bench::BenchNode{double(i), double(j), {std::sin(0.01 * i) * std::cos(0.013 * j)}};
    });
    d.VariableNames = {"p"};
    d.Values.resize(3);
    d.Values[1] = d.Values[2] = d.Values[0];
    return d;
  }();
  return data;
}

void BM_WholeRunAcrossTheGrid(benchmark::State& state) {
  const FieldDataSet& data = BigGrid();
  ProgramOptions options;
  options.analysis.P1Direct = options.analysis.P2Direct = true;
  options.analysis.P1x = "0.3", options.analysis.P1y = "0.1";
  options.analysis.P2x = "998.7", options.analysis.P2y = "998.9";
  QTemporaryDir dir;
  const std::string path = dir.filePath("samples.dat").toStdString();
  QuietNotifier notifier;
  AnalysisRunResult result;
  for (auto _ : state) result = RunSegmentAnalysis(data, options.RGroup, options.load.IncludeVelCheck, options.analysis, path, notifier);
  state.counters["samples"] = static_cast<double>(result.sampleCount);
  state.counters["truncated"] = result.truncated ? 1 : 0;
}
BENCHMARK(BM_WholeRunAcrossTheGrid)->Unit(benchmark::kMillisecond);

void BM_FullScanWithoutCap(benchmark::State& state) {
  const FieldDataSet& data = BigGrid();
  std::vector<SegmentSample> samples;
  for (auto _ : state) {
    CollectCrossings(data, 0, {0.25, 500.5}, {998.75, 500.5}, samples);
    benchmark::DoNotOptimize(samples.data());
  }
  state.counters["samples"] = static_cast<double>(samples.size());
}
BENCHMARK(BM_FullScanWithoutCap)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
