// Drawing speed on a large grid: 1,002,000 nodes in three zones (sectors of an annulus) at
// 1000 x 800 pixels. The pan preview draws the grid alone straight into a bitmap; the plain
// scene records boundaries and axes as a picture and plays it into the bitmap.
#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cmath>

#include "BenchGrids.h"
#include "BenchMain.h"
#include "scene/SceneRenderer.h"
#include "support/RecordingNotifier.h"

namespace {

using namespace corvane;

SceneState& LargeScene() {
  static SceneState* scene = [] {
    auto* s = new SceneState;
    const int ni = 1000, nj = 334;
    s->data = bench::BenchGrid({{ni, nj}, {ni, nj}, {ni, nj}}, 4, 2, [](int z, int i, int j) {
      const double angle = (z + i / (ni - 1.0)) * 2.0 * M_PI / 3.0;
      const double radius = 1.0 + 9.0 * j / (nj - 1.0) + 0.3 * std::sin(7.0 * angle);
      return bench::BenchNode{radius * std::cos(angle), 0.8 * radius * std::sin(angle), {-std::sin(angle), std::cos(angle)}};
    });
    s->data.VariableNames = {"U", "V"};
    s->fieldView.Boundaries.assign(3, {});
    bench::SetExtents(s->data);
    s->view.SetPictureSize(1000, 800);
    s->options.display.ShowContour = false;
    s->options.display.ShowXYLabel = true;
    FitView(*s);
    return s;
  }();
  return *scene;
}

void BM_GridPreview(benchmark::State& st) {
  SceneState& s = LargeScene();
  QImage work;
  for (auto _ : st) {
    DrawGridPreview(s, work);
    benchmark::DoNotOptimize(work.constBits());
  }
}
BENCHMARK(BM_GridPreview)->Unit(benchmark::kMillisecond);

void BM_GridPreviewZoomed(benchmark::State& st) {
  SceneState s = LargeScene();
  s.view.ZoomAt(700, 300, 8.0);
  QImage work;
  for (auto _ : st) {
    DrawGridPreview(s, work);
    benchmark::DoNotOptimize(work.constBits());
  }
}
BENCHMARK(BM_GridPreviewZoomed)->Unit(benchmark::kMillisecond);

// Draws the whole scene with `show` switched on, then off again.
void DrawWith(benchmark::State& st, bool DisplayOptions::*show) {
  SceneState& s = LargeScene();
  NullProgress progress;
  RecordingNotifier notifier;
  if (show) s.options.display.*show = true;
  for (auto _ : st) {
    DrawScene(s, progress, notifier);
    benchmark::DoNotOptimize(s.bitmap.constBits());
  }
  if (show) s.options.display.*show = false;
}

void BM_BoundariesAndAxesScene(benchmark::State& st) {
  LargeScene().options.display.ShowGrid = false;
  DrawWith(st, nullptr);
}
BENCHMARK(BM_BoundariesAndAxesScene)->Unit(benchmark::kMillisecond);

void BM_GridScene(benchmark::State& st) { DrawWith(st, &DisplayOptions::ShowGrid); }
BENCHMARK(BM_GridScene)->Unit(benchmark::kMillisecond);

void BM_Vectors(benchmark::State& st) {
  SceneState& s = LargeScene();
  s.options.load.xvecbox = 0;
  s.options.load.yvecbox = 1;
  s.options.display.arrowScale = 0.1;
  DrawWith(st, &DisplayOptions::ShowVec);
}
BENCHMARK(BM_Vectors)->Unit(benchmark::kMillisecond);

// The same drawings smooth: bands supersampled, lines anti-aliased at the picture's size.
void DrawSmoothWith(benchmark::State& st, bool DisplayOptions::*show) {
  LargeScene().options.display.SmoothCheck = true;
  DrawWith(st, show);
  LargeScene().options.display.SmoothCheck = false;
}

void BM_GridSceneSmooth(benchmark::State& st) { DrawSmoothWith(st, &DisplayOptions::ShowGrid); }
BENCHMARK(BM_GridSceneSmooth)->Unit(benchmark::kMillisecond);

// Filled bands (as pixels, or as polygons with `vector`) and contour lines with labels of U.
void DrawContours(benchmark::State& st, bool smooth, bool vector) {
  SceneState& s = LargeScene();
  s.fieldView.ContourMin = {-1.0, -1.0}, s.fieldView.ContourMax = {1.0, 1.0}, s.fieldView.ContourStep = {0.04, 0.04};
  s.options.load.AutoStepCheck = false;
  s.options.display.BrushCheck = s.options.display.LineCheck = true;
  s.options.display.BMPModeCheck = !vector;
  s.options.display.SmoothCheck = smooth;
  DrawWith(st, &DisplayOptions::ShowContour);
  s.options.display.SmoothCheck = false;
}
void BM_ContourScene(benchmark::State& st) { DrawContours(st, false, false); }
void BM_ContourSceneSmooth(benchmark::State& st) { DrawContours(st, true, false); }
void BM_VectorContourScene(benchmark::State& st) { DrawContours(st, false, true); }
void BM_VectorContourSceneSmooth(benchmark::State& st) { DrawContours(st, true, true); }
BENCHMARK(BM_ContourScene)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContourSceneSmooth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VectorContourScene)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VectorContourSceneSmooth)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return corvane::RunBenchmarksOffscreen(argc, argv); }
