// The contour-line layer on a large grid: 1000 x 1000 nodes in one zone, a smooth field, a
// 1000 x 800 picture, 50 divisions of the range. Whole layer (walk, segments, chaining, lines,
// labels) into a bitmap and into a vector picture, and its stages on their own.
#include <QGuiApplication>
#include <QImage>
#include <QPicture>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

#include "BenchGrids.h"
#include "BenchMain.h"
#include "contour/ContourLines.h"
#include "render/PainterCanvas.h"
#include "support/LoggingCanvas.h"

namespace {

using namespace corvane;

using bench::BenchScene;

// 10 x 8 units of a smooth field, 50 divisions of its whole range.
BenchScene& Scene() {
  static BenchScene scene = [] {
    BenchScene s(bench::BenchGrid({{1000, 1000}}, 3, 1, [](int, int i, int j) {
      const double x = i / 100.0, y = 0.8 * j / 100.0;
      return bench::BenchNode{x, y, {std::sin(0.7 * x) * std::cos(0.5 * y) + 0.05 * x * y}};
    }), 1);
    const auto [lo, hi] = std::minmax_element(s.data.Values[0].begin(), s.data.Values[0].end());
    s.fieldView.ContourMax = {*hi};
    s.fieldView.ContourMin = {*lo};
    s.fieldView.ContourStep = {(*hi - *lo) / 50};
    s.view = bench::BenchView(99.0, 5.0, 4.0);
    s.options.display.axisFont = FontSpec{"Arial", 12, kWhite, 0, false, false};
    return s;
  }();
  return scene;
}

// The segments of every level, collected into `store`.
void CollectAll(BenchScene& scene, ContourSegmentStore& store) {
  const auto& d = scene.data;
  const FieldView& v = scene.fieldView;
  const ContourLevelRange range = MakeContourLevelRange(v.ContourMax[0], v.ContourMin[0], v.ContourStep[0]);
  CollectContourSegments(scene.Context(), d.Values[0], v.ContourStep[0], v.ContourMin[0], v.ContourMax[0], range, store);
}

void BM_ContourLinesIntoBitmap(benchmark::State& state) {
  BenchScene& scene = Scene();
  QImage image(1000, 800, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::black);
    PainterCanvas canvas(&image);
    canvas.SetFont(scene.options.display.axisFont);
    DrawContourLines(scene.Context(), scene.options.contour, canvas);
    canvas.Finish();
  }
}
BENCHMARK(BM_ContourLinesIntoBitmap)->Unit(benchmark::kMillisecond);

void BM_ContourLinesIntoPicture(benchmark::State& state) {
  BenchScene& scene = Scene();
  for (auto _ : state) {
    QPicture picture;
    PainterCanvas canvas(&picture);
    canvas.SetFont(scene.options.display.axisFont);
    DrawContourLines(scene.Context(), scene.options.contour, canvas);
    canvas.Finish();
    benchmark::DoNotOptimize(picture.size());
  }
}
BENCHMARK(BM_ContourLinesIntoPicture)->Unit(benchmark::kMillisecond);

void BM_SegmentsOnly(benchmark::State& state) {
  ContourSegmentStore store;
  for (auto _ : state) CollectAll(Scene(), store);
  state.counters["segments"] = static_cast<double>(store.Total());
}
BENCHMARK(BM_SegmentsOnly)->Unit(benchmark::kMillisecond);

void BM_ChainingOnly(benchmark::State& state) {
  ContourSegmentStore store;
  CollectAll(Scene(), store);
  LevelPolylineBuffer buffer;
  ChainWorkspace work;
  std::int64_t polylinePoints = 0;
  for (auto _ : state) {
    polylinePoints = 0;
    for (std::int32_t l = 0; l < store.LevelCount(); ++l) {
      ChainLevelSegments(store.Level(l), static_cast<std::int32_t>(store.Count(l)), buffer, work);
      polylinePoints += buffer.filled;
    }
  }
  state.counters["points"] = static_cast<double>(polylinePoints);
}
BENCHMARK(BM_ChainingOnly)->Unit(benchmark::kMillisecond);

void BM_ContourLinesNoCanvas(benchmark::State& state) {
  BenchScene& scene = Scene();
  for (auto _ : state) {
    LoggingCanvas canvas;
    DrawContourLines(scene.Context(), scene.options.contour, canvas);
    benchmark::DoNotOptimize(canvas.calls.size());
  }
}
BENCHMARK(BM_ContourLinesNoCanvas)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return corvane::RunBenchmarksOffscreen(argc, argv); }
