// The whole picture of a large file, as a user gets it from the command line: `corvane render` of
// a generator file (1,002,000 and 10 million nodes) with 50 filled bands, contour lines and
// labels into a 1000 x 800 PNG, timed as a process with its peak memory. Beside it, when python3 has
// matplotlib, the same picture made with numpy and matplotlib (bench/matplotlib_picture.py).
// The files are generated once into benchdata/ of the build folder.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Runs a program to its end; gives false when it could not run or failed. `peakKb` is its
// largest resident set.
bool RunProcess(const std::vector<std::string>& args, long& peakKb) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  struct rusage usage {};
  if (wait4(pid, &status, 0, &usage) != pid) return false;
  peakKb = usage.ru_maxrss;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The generator file of `nodes` nodes in three zones (the one bench_load reads).
std::string PictureFile(std::int64_t nodes) {
  const fs::path dir = fs::path(CORVANE_BENCH_DATA);
  fs::create_directories(dir);
  const fs::path file = dir / ("flow_" + std::to_string(nodes) + ".dat");
  if (fs::exists(file)) return file.string();
  const std::string part = file.string() + ".part";
  long peak = 0;
  const bool written = nodes == 1002000
                           ? RunProcess({CORVANE_GENERATOR, part, "--zones", "1000x500,1000x500,100x20"}, peak)
                           : RunProcess({CORVANE_GENERATOR, part, "--nodes", std::to_string(nodes)}, peak);
  if (!written) return {};
  fs::rename(part, file);
  return file.string();
}

// Times one run of `args` per iteration, and reports its peak memory.
void TimeProcess(benchmark::State& state, const std::vector<std::string>& args) {
  long peakKb = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (!RunProcess(args, peakKb)) {
      state.SkipWithError("the program failed");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  state.counters["peak_MB"] = static_cast<double>(peakKb) / 1024.0;
}

void BM_CorvaneRender(benchmark::State& state) {
  const std::string data = PictureFile(state.range(0));
  const std::string out = (fs::path(CORVANE_BENCH_DATA) / "picture_corvane.png").string();
  TimeProcess(state, {CORVANE_BINARY, "render", data, "--size", "1000x800", "--set", "BrushCheck=true", "--seed", "1",
                      "-o", out});
}

// The same picture drawn smooth.
void BM_CorvaneRenderSmooth(benchmark::State& state) {
  const std::string data = PictureFile(state.range(0));
  const std::string out = (fs::path(CORVANE_BENCH_DATA) / "picture_corvane_smooth.png").string();
  TimeProcess(state, {CORVANE_BINARY, "render", data, "--size", "1000x800", "--set", "BrushCheck=true", "--set",
                      "SmoothCheck=1", "--seed", "1", "-o", out});
}

void BM_Matplotlib(benchmark::State& state) {
  // The first python3 that has matplotlib: the one on the path, else the system's.
  std::string python;
  for (const char* candidate : {"python3", "/usr/bin/python3"}) {
    long peak = 0;
    if (RunProcess({candidate, "-c", "import matplotlib, numpy"}, peak)) {
      python = candidate;
      break;
    }
  }
  if (python.empty()) {
    state.SkipWithError("python3 has no matplotlib");
    return;
  }
  const std::string data = PictureFile(state.range(0));
  const std::string out = (fs::path(CORVANE_BENCH_DATA) / "picture_matplotlib.png").string();
  TimeProcess(state, {python, std::string(CORVANE_SOURCE_DIR) + "/bench/matplotlib_picture.py", data, out});
}

}  // namespace

BENCHMARK(BM_CorvaneRender)->Arg(1002000)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_CorvaneRenderSmooth)->Arg(1002000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_Matplotlib)->Arg(1002000)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

BENCHMARK_MAIN();
