// The contour-line layer on a large grid: 1000 x 1000 nodes in one zone, a smooth field, a
// 1000 x 800 picture, 50 divisions of the range. Whole layer (walk, segments, chaining, lines,
// labels) into a bitmap and into a vector picture, and its stages on their own.
#include <QGuiApplication>
#include <QImage>
#include <QPicture>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

#include "contour/ContourLines.h"
#include "render/LoggingCanvas.h"
#include "render/PainterCanvas.h"
#include "BenchMain.h"

namespace {

using namespace corvane;

struct BigScene {
  FieldDataSet data;
  ViewTransform view;
  ProgramOptions options;
  NullProgress progress;
  Random random{1};
  ContourReadout readout;

  BigScene() {
    const int n = 1000;
    ZoneGrid zone;
    zone.NI = zone.NJ = n;
    zone.ILineMask.assign(n, true);
    zone.JLineMask.assign(n, true);
    data.ZoneCount = 1;
    data.Zones.push_back(zone);
    data.NodeCount = n * n;
    data.ColumnCount = 3;
    data.Values.resize(1);
    data.X.reserve(n * n);
    data.Y.reserve(n * n);
    data.Values[0].reserve(n * n);
    double lo = 1e300, hi = -1e300;
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) {
        const double x = i / 100.0, y = 0.8 * j / 100.0;  // 10 x 8 units
        const double v = std::sin(0.7 * x) * std::cos(0.5 * y) + 0.05 * x * y;
        data.X.push_back(x);
        data.Y.push_back(y);
        data.Values[0].push_back(v);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
      }
    data.ContourMax = {hi};
    data.ContourMin = {lo};
    data.ContourStep = {(hi - lo) / 50};
    view.PictureWidth = 1000;
    view.PictureHeight = 800;
    view.CentreX = 5.0;
    view.CentreY = 4.0;
    view.CentrePixelX = 500;
    view.CentrePixelY = 400;
    view.ScaleX = view.ScaleY = 99.0;
    options.display.axisFont = FontSpec{"Arial", 12, kWhite, 0, false, false};
  }
  LayerContext Context() { return LayerContext{data, view, options, progress, random, readout}; }
};

BigScene& Scene() {
  static BigScene scene;
  return scene;
}

void BM_ContourLinesIntoBitmap(benchmark::State& state) {
  BigScene& scene = Scene();
  QImage image(1000, 800, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::black);
    PainterCanvas canvas(&image);
    canvas.SetFont(scene.options.display.axisFont);
    DrawContourLines(scene.Context(), canvas);
    canvas.Finish();
  }
}
BENCHMARK(BM_ContourLinesIntoBitmap)->Unit(benchmark::kMillisecond);

void BM_ContourLinesIntoPicture(benchmark::State& state) {
  BigScene& scene = Scene();
  for (auto _ : state) {
    QPicture picture;
    PainterCanvas canvas(&picture);
    canvas.SetFont(scene.options.display.axisFont);
    DrawContourLines(scene.Context(), canvas);
    canvas.Finish();
    benchmark::DoNotOptimize(picture.size());
  }
}
BENCHMARK(BM_ContourLinesIntoPicture)->Unit(benchmark::kMillisecond);

void BM_SegmentsOnly(benchmark::State& state) {
  BigScene& scene = Scene();
  const auto& d = scene.data;
  const ContourLevelRange range = MakeContourLevelRange(d.ContourMax[0], d.ContourMin[0], d.ContourStep[0]);
  ContourSegmentStore store;
  for (auto _ : state)
    CollectContourSegments(scene.Context(), d.Values[0], d.ContourStep[0], d.ContourMin[0], d.ContourMax[0], range,
                           store);
  state.counters["segments"] = static_cast<double>(store.Total());
}
BENCHMARK(BM_SegmentsOnly)->Unit(benchmark::kMillisecond);

void BM_ChainingOnly(benchmark::State& state) {
  BigScene& scene = Scene();
  const auto& d = scene.data;
  const ContourLevelRange range = MakeContourLevelRange(d.ContourMax[0], d.ContourMin[0], d.ContourStep[0]);
  ContourSegmentStore store;
  CollectContourSegments(scene.Context(), d.Values[0], d.ContourStep[0], d.ContourMin[0], d.ContourMax[0], range, store);
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
  BigScene& scene = Scene();
  for (auto _ : state) {
    LoggingCanvas canvas;
    DrawContourLines(scene.Context(), canvas);
    benchmark::DoNotOptimize(canvas.calls.size());
  }
}
BENCHMARK(BM_ContourLinesNoCanvas)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return corvane::RunBenchmarksOffscreen(argc, argv); }
