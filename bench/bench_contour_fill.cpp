// Filled contours of a 1000 x 1000 single-zone grid (a smooth analytic field) in a 1000 x 800
// picture with 50 divisions: the bitmap-mode fill alone, the fill with the contour lines and
// labels on top (the whole contour part of a drawing), and the vector-mode fill into a picture.
#include <QGuiApplication>
#include <QImage>
#include <QPicture>
#include <benchmark/benchmark.h>
#include <cmath>

#include "contour/ContourFill.h"
#include "contour/ContourLines.h"
#include "render/PainterCanvas.h"
#include "BenchGrids.h"
#include "BenchMain.h"

namespace {

using namespace corvane;

using bench::BenchScene;

// A smooth analytic field on the unit square, 50 divisions of -1 .. 2, fill and lines on.
BenchScene& Scene() {
  static BenchScene scene = [] {
    const int n = 1000;
    BenchScene s(bench::BenchGrid({{n, n}}, 3, 1, true, [](int, int i, int j) {
      const double x = i / (n - 1.0), y = j / (n - 1.0);
      return bench::BenchNode{x, y, {std::sin(3 * x) * std::cos(4 * y) + x * y}};
    }), 12345);
    s.data.ContourMin = {-1.0};
    s.data.ContourMax = {2.0};
    s.data.ContourStep = {3.0 / 50};  // 50 divisions
    s.view = bench::BenchView(780, 0.5, 0.5);
    s.options.display.BrushCheck = true;
    s.options.display.LineCheck = true;
    return s;
  }();
  return scene;
}

void BM_FillBitmap(benchmark::State& state) {
  BenchScene& scene = Scene();
  const LayerContext context = scene.Context();
  QImage bitmap(1000, 800, QImage::Format_RGB32);
  for (auto _ : state) {
    bitmap.fill(Qt::white);
    PainterCanvas canvas(&bitmap);
    DrawContourFill(context, scene.options.contour.colourMap, canvas, &bitmap);
    canvas.Finish();
    benchmark::DoNotOptimize(bitmap.constBits());
  }
}
BENCHMARK(BM_FillBitmap)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the scene renderer does for the contours: fill into the off-screen bitmap, draw it into
// the picture, then lines and labels on the picture; finally the picture played into the bitmap.
void BM_FillLinesLabels(benchmark::State& state) {
  BenchScene& scene = Scene();
  const LayerContext context = scene.Context();
  QImage bitmap(1000, 800, QImage::Format_RGB32), shown(1000, 800, QImage::Format_RGB32);
  for (auto _ : state) {
    QPicture picture;
    {
      PainterCanvas canvas(&picture);
      bitmap.fill(Qt::white);
      {
        PainterCanvas offscreen(&bitmap);
        DrawContourFill(context, scene.options.contour.colourMap, offscreen, &bitmap);
      }
      canvas.Draw(bitmap, 0, 0);
      DrawContourLines(context, scene.options.contour, canvas);
      canvas.Finish();
    }
    PainterCanvas target(&shown);
    target.Draw(picture, 0, 0);
    target.Finish();
    benchmark::DoNotOptimize(shown.constBits());
  }
}
BENCHMARK(BM_FillLinesLabels)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FillVectorPicture(benchmark::State& state) {
  BenchScene& scene = Scene();
  const LayerContext context = scene.Context();
  for (auto _ : state) {
    QPicture picture;
    PainterCanvas canvas(&picture);
    DrawContourFill(context, scene.options.contour.colourMap, canvas, nullptr);
    canvas.Finish();
    benchmark::DoNotOptimize(picture.size());
  }
}
BENCHMARK(BM_FillVectorPicture)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv) { return corvane::RunBenchmarksOffscreen(argc, argv); }
