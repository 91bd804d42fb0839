// OpenGL view speed on a 1000 x 1000-node grid: building a frame's geometry (smooth fill, exact
// bands, the grid-only preview of a held key) and replaying it through GL 1.1 vertex arrays.
// The replay benchmarks need a display with OpenGL: run under `xvfb-run -a` (Mesa renders in
// software there); without one they are skipped.
#include <QApplication>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <benchmark/benchmark.h>
#include <cmath>

#include "ui/OpenGLWindow.h"
#include "ui_gl/SameThreadOpenGLHost.h"

namespace {

using namespace corvane;

constexpr int kNodes = 1000;

// One zone of 1000 x 1000 nodes on a slightly wavy square with a smooth field.
FieldDataSet& LargeGrid() {
  static FieldDataSet* data = [] {
    auto* d = new FieldDataSet;
    ZoneGrid zone;
    zone.NI = kNodes;
    zone.NJ = kNodes;
    d->Zones.push_back(zone);
    d->ZoneCount = 1;
    d->NodeCount = kNodes * kNodes;
    d->ColumnCount = 3;
    d->VariableNames = {"p"};
    d->Values.assign(3, NodeRow(static_cast<std::size_t>(d->NodeCount), 0.0));
    for (int i = 0; i < kNodes; ++i)
      for (int j = 0; j < kNodes; ++j) {
        const double x = i / (kNodes - 1.0) * 10.0, y = j / (kNodes - 1.0) * 10.0 + 0.05 * std::sin(x);
        d->X.push_back(x);
        d->Y.push_back(y);
        d->Values[0][static_cast<std::size_t>(i * kNodes + j)] = std::sin(x) * std::cos(0.7 * y);
      }
    d->XMax = d->YMax = 10.05;
    return d;
  }();
  return *data;
}

// How LargeGrid is shown: 50 bands of -1 .. 1, every zone edge.
FieldView& LargeGridView() {
  static FieldView* view = [] {
    auto* v = new FieldView;
    v->Boundaries.push_back({});
    v->ContourMax = {1.0, 0.0, 0.0};
    v->ContourMin = {-1.0, 0.0, 0.0};
    v->ContourStep = {0.04, 1.0, 1.0};
    return v;
  }();
  return *view;
}

// Filled contours, smooth or exact, with the step as given.
ProgramOptions Options(bool quick) {
  ProgramOptions o;
  o.load.AutoStepCheck = false;
  o.display.BrushCheck = true;
  o.contour.QuickFill = quick;
  return o;
}

const OrthoBox kBox = FitOrthoBox(10.05, 10.05, 0.0, 0.0, 548, 558);

// The box after zooming in eight times about the centre.
OrthoBox Zoomed(OrthoBox box, double factor) {
  ZoomOrthoBox(box, factor);
  return box;
}

// Builds the frame's geometry only.
void BuildFrame(benchmark::State& st, bool contour, bool quick, bool grid, double zoom = 1.0) {
  FieldDataSet& d = LargeGrid();
  NullProgress progress;
  OpenGLSceneHost host{&d, nullptr, &progress, nullptr, {}, {}, &LargeGridView()};
  const ProgramOptions o = Options(quick);
  GlFrame frame;
  for (auto _ : st) {
    BuildOpenGLScene(frame, Zoomed(kBox, zoom), host, o, contour, grid, false);
    benchmark::DoNotOptimize(frame.vertices.data());
  }
  st.counters["vertices"] = static_cast<double>(frame.vertices.size());
}

void BM_BuildSmoothFillFrame(benchmark::State& st) { BuildFrame(st, true, true, false); }
void BM_BuildExactFillFrame(benchmark::State& st) { BuildFrame(st, true, false, false); }
void BM_BuildPreviewFrame(benchmark::State& st) { BuildFrame(st, false, false, true); }
void BM_BuildPreviewFrameZoomed(benchmark::State& st) { BuildFrame(st, false, false, true, 0.125); }
BENCHMARK(BM_BuildSmoothFillFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildExactFillFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildPreviewFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildPreviewFrameZoomed)->Unit(benchmark::kMillisecond);

// The window with its replay reachable from here.
class BenchForm : public OpenGLWindow {
 public:
  using OpenGLWindow::OpenGLWindow;
  using OpenGLWindow::paintGL;
};

// Replays one built frame into the window's framebuffer and waits for the GL to finish.
// With `rebuild`, every iteration is a whole new frame: build, upload and draw, as a redraw or
// one step of a held key costs.
void Replay(benchmark::State& st, bool contour, bool quick, bool grid, double zoom = 1.0, bool rebuild = false) {
  if (!OpenGLWindow::OpenGLAvailable()) {
    st.SkipWithError("no OpenGL on this display (run under xvfb-run)");
    return;
  }
  const ProgramOptions options = Options(quick);
  SilentNotifier notifier;
  BenchForm form(std::make_unique<testing::SameThreadOpenGLHost>(LargeGrid(), LargeGridView(), options, notifier));
  form.resize(548, 558);
  form.show();
  for (int k = 0; k < 5; ++k) QCoreApplication::processEvents();
  form.FitOrthoBox(10.05, 10.05, 0.0, 0.0);
  form.ZoomOrthoBox(zoom);
  form.DrawOpenGLScene(contour, grid, false);
  form.makeCurrent();
  QOpenGLFunctions* f = form.context()->functions();
  for (auto _ : st) {
    if (rebuild) {
      form.DrawOpenGLScene(contour, grid, false);
      form.makeCurrent();
    }
    form.paintGL();
    f->glFinish();
  }
  form.doneCurrent();
  st.counters["vertices"] = static_cast<double>(form.Frame().vertices.size());
}

void BM_ReplaySmoothFillFrame(benchmark::State& st) { Replay(st, true, true, false); }
void BM_ReplayExactFillFrame(benchmark::State& st) { Replay(st, true, false, false); }
void BM_ReplayPreviewFrame(benchmark::State& st) { Replay(st, false, false, true); }
void BM_ReplayPreviewFrameZoomed(benchmark::State& st) { Replay(st, false, false, true, 0.125); }
BENCHMARK(BM_ReplaySmoothFillFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplayExactFillFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplayPreviewFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplayPreviewFrameZoomed)->Unit(benchmark::kMillisecond);

void BM_NewSmoothFillFrame(benchmark::State& st) { Replay(st, true, true, false, 1.0, true); }
void BM_NewExactFillFrame(benchmark::State& st) { Replay(st, true, false, false, 1.0, true); }
void BM_NewPreviewFrame(benchmark::State& st) { Replay(st, false, false, true, 1.0, true); }
BENCHMARK(BM_NewSmoothFillFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NewExactFillFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NewPreviewFrame)->Unit(benchmark::kMillisecond);

}  // namespace

// A widget application: the OpenGL window needs one.
int main(int argc, char** argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
