// The streamline layer on a large grid: 1000 x 1000 nodes in one slightly warped zone, a swirl
// round the middle plus a drift, a 1000 x 800 picture. 100 streamlines from the division points
// of a segment (each seed searched among the million cells) and 100 from grid nodes; traced
// only, and traced and drawn into a bitmap.
#include <QGuiApplication>
#include <QImage>
#include <benchmark/benchmark.h>

#include <cmath>

#include "render/PainterCanvas.h"
#include "streamline/StreamLayer.h"
#include "BenchGrids.h"
#include "BenchMain.h"

namespace {

using namespace corvane;

using bench::BenchScene;

// A slightly warped 10 x 8 grid: a swirl round (5, 4) plus a drift in x.
BenchScene& Flow() {
  static BenchScene flow = [] {
    BenchScene s(bench::BenchGrid({{1000, 1000}}, 4, 4, [](int, int i, int j) {
      const double x = i / 100.0 + 0.02 * std::sin(0.05 * j), y = 0.8 * j / 100.0 + 0.02 * std::sin(0.05 * i);
      return bench::BenchNode{x, y, {-(y - 4.0) + 0.3, x - 5.0, 0.0, 0.0}};
    }), 1);
    s.view = bench::BenchView(99.0, 5.0, 4.0);
    s.options.load.xvecbox = 0;
    s.options.load.yvecbox = 1;
    return s;
  }();
  return flow;
}

// 100 seeds: the end points and 98 division points of a segment across the swirl.
void SegmentSeeds(StreamOptions& o) {
  o = StreamOptions{};
  o.StreamLineSegment = true;
  o.StreamXa = 0.5, o.StreamYa = 0.7, o.StreamXb = 9.3, o.StreamYb = 7.4;
  o.StreamDevide = 99;
}

// 99 node seeds, a full list, spread over the grid.
void NodeSeeds(StreamOptions& o) {
  o = StreamOptions{};
  o.StreamLineGridSelect = true;
  for (int k = 0; k < 99; ++k) o.StreamList.seeds.push_back({0, 0, 50 + 9 * k, 950 - 9 * k});
}

// Traces the streamlines from the seeds `seeds` sets, counting the pieces of every path.
void TraceSeeds(benchmark::State& state, void (*seeds)(StreamOptions&)) {
  BenchScene& flow = Flow();
  seeds(flow.options.stream);
  std::int64_t pieces = 0;
  for (auto _ : state) {
    pieces = 0;
    for (const StreamPath& p : TraceStreamlines(flow.Context(), flow.options.stream)) pieces += static_cast<std::int64_t>(p.vertices.size());
  }
  state.counters["pieces"] = static_cast<double>(pieces);
}

void BM_TraceSegmentSeeds(benchmark::State& state) { TraceSeeds(state, SegmentSeeds); }
BENCHMARK(BM_TraceSegmentSeeds)->Unit(benchmark::kMillisecond);

void BM_TraceNodeSeeds(benchmark::State& state) { TraceSeeds(state, NodeSeeds); }
BENCHMARK(BM_TraceNodeSeeds)->Unit(benchmark::kMillisecond);

void BM_DrawSegmentSeedsIntoBitmap(benchmark::State& state) {
  BenchScene& flow = Flow();
  SegmentSeeds(flow.options.stream);
  QImage image(1000, 800, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::black);
    PainterCanvas canvas(&image);
    DrawStreamlines(flow.Context(), flow.options.stream, canvas);
    canvas.Finish();
  }
}
BENCHMARK(BM_DrawSegmentSeedsIntoBitmap)->Unit(benchmark::kMillisecond);

// The worst seed search: 100 points outside every cell, so each visits the whole index.
void BM_SeedsOutsideTheData(benchmark::State& state) {
  BenchScene& flow = Flow();
  SegmentSeeds(flow.options.stream);
  StreamOptions& o = flow.options.stream;
  o.StreamXa = -5.0, o.StreamYa = -5.0, o.StreamXb = 20.0, o.StreamYb = -1.0;
  for (auto _ : state) benchmark::DoNotOptimize(TraceStreamlines(flow.Context(), flow.options.stream).size());
}
BENCHMARK(BM_SeedsOutsideTheData)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return corvane::RunBenchmarksOffscreen(argc, argv); }
