// Loading a large grid file: three zones, 1,002,000 nodes, six columns written with %.8e
// (about 93 MB), including the derived rows and the automatic contour ranges. The file is
// generated once into the temporary folder. A plain sequential read with std::from_chars is
// measured beside it as the floor a simple reader reaches.
#include <benchmark/benchmark.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "../tools/GridGenerator.h"
#include "data/DataReader.h"

namespace {

std::string BenchFile(bool jOuter) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / "corvane_bench";
  fs::create_directories(dir);
  fs::path file = dir / (jOuter ? "load_1002000_ji.dat" : "load_1002000_ij.dat");
  if (!fs::exists(file)) {
    corvane::gen::FlowGridSpec grid;
    grid.zones = {{1000, 500}, {1000, 500}, {100, 20}};
    grid.jOuter = jOuter;
    corvane::gen::WriteFlowGrid(file.string(), grid);
  }
  return file.string();
}

void LoadWhole(benchmark::State& state, bool jOuter) {
  const std::string path = BenchFile(jOuter);
  corvane::LoadOptions options;
  options.loopOrder = jOuter ? corvane::LoopOrder::JI : corvane::LoopOrder::IJ;
  options.IncludeVelCheck = true;
  corvane::FieldDataSet previous;
  for (auto _ : state) {
    corvane::RecordingNotifier notifier;
    corvane::NullProgress progress;
    auto result = corvane::LoadDataFile(path, options, previous, 0, notifier, progress);
    if (!result || result->data.NodeCount != 1002000) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

void BM_LoadDataFile_IJ(benchmark::State& state) { LoadWhole(state, false); }
void BM_LoadDataFile_JI(benchmark::State& state) { LoadWhole(state, true); }

// The floor: read the file into memory and convert every number after the label line.
void BM_PlainReadFromChars(benchmark::State& state) {
  const std::string path = BenchFile(false);
  for (auto _ : state) {
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const char* p = text.data();
    const char* end = p + text.size();
    for (int line = 0; line < 6 && p < end; ++p) line += *p == '\n';
    double sum = 0.0;
    while (p < end) {
      while (p < end && (*p == ' ' || *p == '\n')) ++p;
      double v = 0.0;
      auto r = std::from_chars(p, end, v);
      if (r.ptr == p) break;
      sum += v;
      p = r.ptr;
    }
    benchmark::DoNotOptimize(sum);
  }
}

}  // namespace

BENCHMARK(BM_LoadDataFile_IJ)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_LoadDataFile_JI)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_PlainReadFromChars)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

BENCHMARK_MAIN();
