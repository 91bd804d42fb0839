// Loading large grid files from the generator (six columns written with %.8e), including the
// automatic contour ranges (the derived rows wait until something uses them): 1,002,000 nodes (about 93 MB) and 10 million
// (about 925 MB). The files are generated once into benchdata/ of the build folder. Beside each
// load, the anchor: a plain single-threaded read of the file into memory and std::from_chars of
// every field. Run both in one go to compare them under the same load of the machine.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>

#include "../tools/GridGenerator.h"
#include "fieldview/LoadedView.h"
#include "readers/DataReader.h"
#include "support/RecordingNotifier.h"

namespace {

// The generated file of `nodes` nodes (1M: two large zones and a small one; 10M: three equal
// zones, as `corvane_gen --nodes 10000000` writes them).
std::string BenchFile(std::int64_t nodes, bool jOuter = false) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(CORVANE_BENCH_DATA);
  fs::create_directories(dir);
  const fs::path file = dir / ("flow_" + std::to_string(nodes) + (jOuter ? "_ji" : "") + ".dat");
  if (!fs::exists(file)) {
    corvane::gen::FlowGridSpec grid;
    if (nodes == 1002000) {
      grid.zones = {{1000, 500}, {1000, 500}, {100, 20}};
    } else {
      grid.zones.assign(3, {2581, 1291});  // 9,996,213 nodes, as --nodes 10000000 gives
    }
    grid.jOuter = jOuter;
    const fs::path part = file.string() + ".part";
    if (!corvane::gen::WriteFlowGrid(part.string(), grid)) return {};
    fs::rename(part, file);
  }
  return file.string();
}

std::int64_t NodesOf(std::int64_t nodes) { return nodes == 1002000 ? nodes : 3 * 2581 * 1291; }

void Load(benchmark::State& state, bool jOuter) {
  const std::string path = BenchFile(state.range(0), jOuter);
  corvane::LoadOptions options;
  options.loopOrder = jOuter ? corvane::LoopOrder::JI : corvane::LoopOrder::IJ;
  options.IncludeVelCheck = true;
  corvane::FieldView previous;
  for (auto _ : state) {
    corvane::RecordingNotifier notifier;
    corvane::NullProgress progress;
    auto read = corvane::LoadDataFile(path, options, notifier, progress);
    std::optional<corvane::LoadResult> result;
    if (read) result = corvane::CompleteLoad(std::move(*read), options, previous, notifier);
    if (!result || result->data.NodeCount != NodesOf(state.range(0))) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

void BM_LoadDataFile_IJ(benchmark::State& state) { Load(state, false); }

// The load as the program does it: the reader, then the derived rows (vorticity and speed only
// named, computed when first used) and the formulas.
void BM_LoadAnyDataFile(benchmark::State& state) {
  const std::string path = BenchFile(state.range(0));
  corvane::LoadOptions options;
  options.IncludeVelCheck = true;
  for (auto _ : state) {
    corvane::RecordingNotifier notifier;
    corvane::NullProgress progress;
    auto result = corvane::LoadAnyDataFile(path, options, corvane::FieldView{}, notifier, progress);
    if (!result || result->data.NodeCount != NodesOf(state.range(0))) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(path)));
}
void BM_LoadDataFile_JI(benchmark::State& state) { Load(state, true); }

// The anchor: read the whole file into memory, then convert every number after the label line.
void BM_PlainReadFromChars(benchmark::State& state) {
  const std::string path = BenchFile(state.range(0));
  for (auto _ : state) {
    std::string text(std::filesystem::file_size(path), '\0');
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f || std::fread(text.data(), 1, text.size(), f) != text.size()) state.SkipWithError("read failed");
    if (f) std::fclose(f);
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
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

}  // namespace

// Each load beside its anchor.
BENCHMARK(BM_LoadDataFile_IJ)->Arg(1002000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_PlainReadFromChars)->Arg(1002000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_LoadDataFile_JI)->Arg(1002000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_LoadDataFile_IJ)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_LoadAnyDataFile)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_PlainReadFromChars)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

BENCHMARK_MAIN();
