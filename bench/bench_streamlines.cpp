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
#include "BenchMain.h"

namespace {

using namespace corvane;

struct BigFlow {
  FieldDataSet data;
  ViewTransform view;
  ProgramOptions options;
  NullProgress progress;
  Random random{1};
  ContourReadout readout;

  BigFlow() {
    const int n = 1000;
    ZoneGrid zone;
    zone.NI = zone.NJ = n;
    data.ZoneCount = 1;
    data.Zones.push_back(zone);
    data.NodeCount = n * n;
    data.ColumnCount = 4;
    data.Values.resize(4);
    for (auto& row : data.Values) row.reserve(n * n);
    data.X.reserve(n * n);
    data.Y.reserve(n * n);
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) {
        const double x = i / 100.0 + 0.02 * std::sin(0.05 * j), y = 0.8 * j / 100.0 + 0.02 * std::sin(0.05 * i);
        data.X.push_back(x);
        data.Y.push_back(y);
        data.Values[0].push_back(-(y - 4.0) + 0.3);
        data.Values[1].push_back(x - 5.0);
        data.Values[2].push_back(0.0);
        data.Values[3].push_back(0.0);
      }
    view.SetPictureSize(1000, 800);
    view.CentreX = 5.0;
    view.CentreY = 4.0;
    view.ScaleX = view.ScaleY = 99.0;
    options.load.xvecbox = 0;
    options.load.yvecbox = 1;
  }
  LayerContext Context() { return LayerContext{data, view, options, progress, random, readout}; }
};

BigFlow& Flow() {
  static BigFlow flow;
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

std::int64_t Pieces(const std::vector<StreamPath>& paths) {
  std::int64_t pieces = 0;
  for (const StreamPath& p : paths) pieces += static_cast<std::int64_t>(p.vertices.size());
  return pieces;
}

void BM_TraceSegmentSeeds(benchmark::State& state) {
  BigFlow& flow = Flow();
  SegmentSeeds(flow.options.stream);
  std::int64_t pieces = 0;
  for (auto _ : state) pieces = Pieces(TraceStreamlines(flow.Context()));
  state.counters["pieces"] = static_cast<double>(pieces);
}
BENCHMARK(BM_TraceSegmentSeeds)->Unit(benchmark::kMillisecond);

void BM_TraceNodeSeeds(benchmark::State& state) {
  BigFlow& flow = Flow();
  NodeSeeds(flow.options.stream);
  std::int64_t pieces = 0;
  for (auto _ : state) pieces = Pieces(TraceStreamlines(flow.Context()));
  state.counters["pieces"] = static_cast<double>(pieces);
}
BENCHMARK(BM_TraceNodeSeeds)->Unit(benchmark::kMillisecond);

void BM_DrawSegmentSeedsIntoBitmap(benchmark::State& state) {
  BigFlow& flow = Flow();
  SegmentSeeds(flow.options.stream);
  QImage image(1000, 800, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::black);
    PainterCanvas canvas(&image);
    DrawStreamlines(flow.Context(), canvas);
    canvas.Finish();
  }
}
BENCHMARK(BM_DrawSegmentSeedsIntoBitmap)->Unit(benchmark::kMillisecond);

// The worst seed search: 100 points outside every cell, so each visits the whole index.
void BM_SeedsOutsideTheData(benchmark::State& state) {
  BigFlow& flow = Flow();
  SegmentSeeds(flow.options.stream);
  StreamOptions& o = flow.options.stream;
  o.StreamXa = -5.0, o.StreamYa = -5.0, o.StreamXb = 20.0, o.StreamYb = -1.0;
  for (auto _ : state) benchmark::DoNotOptimize(TraceStreamlines(flow.Context()).size());
}
BENCHMARK(BM_SeedsOutsideTheData)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return corvane::RunBenchmarksOffscreen(argc, argv); }
