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
#include "BenchMain.h"

namespace {

using namespace corvane;

struct BigScene {
  FieldDataSet data;
  ViewTransform view;
  ProgramOptions options;
  NullProgress progress;
  Random random{12345};
  ContourReadout readout;

  BigScene() {
    const int n = 1000;
    ZoneGrid zone;
    zone.NI = zone.NJ = n;
    zone.ILineMask.assign(n, true);
    zone.JLineMask.assign(n, true);
    data.Zones.push_back(zone);
    data.ZoneCount = 1;
    data.NodeCount = n * n;
    data.ColumnCount = 3;
    data.X.resize(static_cast<std::size_t>(n) * n);
    data.Y.resize(data.X.size());
    data.Values.assign(1, std::vector<double>(data.X.size()));
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) {
        const std::size_t k = static_cast<std::size_t>(n) * i + j;
        const double x = i / (n - 1.0), y = j / (n - 1.0);
        data.X[k] = x;
        data.Y[k] = y;
        data.Values[0][k] = std::sin(3 * x) * std::cos(4 * y) + x * y;
      }
    data.ContourMin = {-1.0};
    data.ContourMax = {2.0};
    data.ContourStep = {3.0 / 50};  // 50 divisions
    view.PictureWidth = 1000;
    view.PictureHeight = 800;
    view.CentrePixelX = 500;
    view.CentrePixelY = 400;
    view.CentreX = view.CentreY = 0.5;
    view.ScaleX = view.ScaleY = 780;
    options.display.BrushCheck = true;
    options.display.LineCheck = true;
  }
  LayerContext Context() { return LayerContext{data, view, options, progress, random, readout}; }
};

BigScene& Scene() {
  static BigScene scene;
  return scene;
}

void BM_FillBitmap(benchmark::State& state) {
  BigScene& scene = Scene();
  const LayerContext context = scene.Context();
  QImage bitmap(1000, 800, QImage::Format_RGB32);
  for (auto _ : state) {
    bitmap.fill(Qt::white);
    PainterCanvas canvas(&bitmap);
    DrawContourFill(context, canvas, &bitmap);
    canvas.Finish();
    benchmark::DoNotOptimize(bitmap.constBits());
  }
}
BENCHMARK(BM_FillBitmap)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the scene renderer does for the contours: fill into the off-screen bitmap, draw it into
// the picture, then lines and labels on the picture; finally the picture played into the bitmap.
void BM_FillLinesLabels(benchmark::State& state) {
  BigScene& scene = Scene();
  const LayerContext context = scene.Context();
  QImage bitmap(1000, 800, QImage::Format_RGB32), shown(1000, 800, QImage::Format_RGB32);
  for (auto _ : state) {
    QPicture picture;
    {
      PainterCanvas canvas(&picture);
      bitmap.fill(Qt::white);
      {
        PainterCanvas offscreen(&bitmap);
        DrawContourFill(context, offscreen, &bitmap);
      }
      canvas.Draw(bitmap, 0, 0);
      DrawContourLines(context, canvas);
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
  BigScene& scene = Scene();
  const LayerContext context = scene.Context();
  for (auto _ : state) {
    QPicture picture;
    PainterCanvas canvas(&picture);
    DrawContourFill(context, canvas, nullptr);
    canvas.Finish();
    benchmark::DoNotOptimize(picture.size());
  }
}
BENCHMARK(BM_FillVectorPicture)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv) { return corvane::RunBenchmarksOffscreen(argc, argv); }
