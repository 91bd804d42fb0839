// Drawing speed on a large grid: 1,002,000 nodes in three zones (sectors of an annulus) at
// 1000 x 800 pixels. The pan preview draws the grid alone straight into a bitmap; the plain
// scene records boundaries and axes as a picture and plays it into the bitmap.
#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cmath>

#include "render/SceneRenderer.h"
#include "BenchMain.h"

namespace {

using namespace corvane;

SceneState& LargeScene() {
  static SceneState* scene = [] {
    auto* s = new SceneState;
    FieldDataSet& d = s->data;
    const int ni = 1000, nj = 334;
    d.ColumnCount = 4;
    d.VariableNames = {"U", "V"};
    d.Values.assign(2, {});
    for (int z = 0; z < 3; ++z) {
      ZoneGrid zone;
      zone.NI = ni;
      zone.NJ = nj;
      zone.FirstNode = d.NodeCount;
      for (int i = 0; i < ni; ++i)
        for (int j = 0; j < nj; ++j) {
          const double angle = (z + i / (ni - 1.0)) * 2.0 * M_PI / 3.0;
          const double radius = 1.0 + 9.0 * j / (nj - 1.0) + 0.3 * std::sin(7.0 * angle);
          d.X.push_back(radius * std::cos(angle));
          d.Y.push_back(0.8 * radius * std::sin(angle));
          d.Values[0].push_back(-std::sin(angle));
          d.Values[1].push_back(std::cos(angle));
        }
      d.NodeCount += ni * nj;
      d.Zones.push_back(zone);
      d.Boundaries.push_back({});
    }
    d.ZoneCount = 3;
    for (std::size_t n = 0; n < d.X.size(); ++n) {
      d.XMin = std::min(d.XMin, d.X[n]);
      d.XMax = std::max(d.XMax, d.X[n]);
      d.YMin = std::min(d.YMin, d.Y[n]);
      d.YMax = std::max(d.YMax, d.Y[n]);
    }
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

void BM_BoundariesAndAxesScene(benchmark::State& st) {
  SceneState& s = LargeScene();
  NullProgress progress;
  RecordingNotifier notifier;
  s.options.display.ShowGrid = false;
  for (auto _ : st) {
    DrawScene(s, progress, notifier);
    benchmark::DoNotOptimize(s.bitmap.constBits());
  }
}
BENCHMARK(BM_BoundariesAndAxesScene)->Unit(benchmark::kMillisecond);

void BM_GridScene(benchmark::State& st) {
  SceneState& s = LargeScene();
  NullProgress progress;
  RecordingNotifier notifier;
  s.options.display.ShowGrid = true;
  for (auto _ : st) {
    DrawScene(s, progress, notifier);
    benchmark::DoNotOptimize(s.bitmap.constBits());
  }
  s.options.display.ShowGrid = false;
}
BENCHMARK(BM_GridScene)->Unit(benchmark::kMillisecond);

void BM_Vectors(benchmark::State& st) {
  SceneState& s = LargeScene();
  NullProgress progress;
  RecordingNotifier notifier;
  s.options.display.ShowVec = true;
  s.options.load.xvecbox = 0;
  s.options.load.yvecbox = 1;
  s.options.display.VecScaleBox = 0.1;
  for (auto _ : st) {
    DrawScene(s, progress, notifier);
    benchmark::DoNotOptimize(s.bitmap.constBits());
  }
  s.options.display.ShowVec = false;
}
BENCHMARK(BM_Vectors)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return corvane::RunBenchmarksOffscreen(argc, argv); }
