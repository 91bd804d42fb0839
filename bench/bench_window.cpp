// The real window at a million and ten million nodes: MainWindow and PlotWindow on the offscreen
// platform, driven through their controls' object names, with 50 bands, lines and labels in a
// 1000 x 800 picture. Reports (never judges) the redraw, a wheel notch to its exact picture, the
// preview shown at once, a burst of ten notches, and at ten million nodes the redraw and the
// longest time the window thread went without answering meanwhile (a 5 ms timer's longest gap).
// Usage: bench_window [--10m] [--only-10m]; files are generated once into benchdata/.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "../tools/GridGenerator.h"
#include "scene/PlotWindowSize.h"
#include "support/RecordingNotifier.h"
#include "ui/MainWindow.h"
#include "ui/ProgramWindows.h"
#include "ui/ViewDrawing.h"
#include "ui/PlotWindow.h"
#include "ui/PlotWindowHost.h"

namespace corvane {
namespace {

// Three zones, as the window's default layout (zone count, size and label lines) reads them.
std::string GridFile(int ni, int nj, int zones) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(CORVANE_BENCH_DATA);
  fs::create_directories(dir);
  const fs::path file = dir / ("window_" + std::to_string(zones) + "x" + std::to_string(ni) + "x" + std::to_string(nj) + ".dat");
  if (!fs::exists(file)) {
    gen::FlowGridSpec grid;
    grid.zones.assign(static_cast<std::size_t>(zones), {ni, nj});
    const fs::path part = file.string() + ".part";
    if (!gen::WriteFlowGrid(part.string(), grid)) return {};
    fs::rename(part, file);
  }
  return file.string();
}

template <class W>
W* Named(MainWindow& m, const char* name) {
  W* w = m.findChild<W*>(QString::fromLatin1(name));
  if (!w) std::fprintf(stderr, "no control %s\n", name);
  return w;
}

void WaitForView(MainWindow& m) {
  while (m.viewDrawing().Running()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[v.size() / 2];
}

double Ms(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

// The longest gap between ticks of a 5 ms timer on the window thread while it runs.
struct GapWatch {
  QTimer timer;
  QElapsedTimer since;
  double longest = 0.0;
  GapWatch() {
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [this] {
      longest = std::max(longest, Ms(since));
      since.restart();
    });
  }
  void Start() {
    longest = 0.0;
    since.start();
    timer.start();
  }
  double Stop() {
    timer.stop();
    return std::max(longest, Ms(since));
  }
};

struct Program {
  QTemporaryDir dir;
  RecordingNotifier messages;
  ProgramWindows windows = CreateProgramWindows(dir.filePath(QStringLiteral("crv.ini")));
  MainWindow& m = *windows.main;
  Program() {
    m.SetNotifier(&messages);
    windows.view->SetOuterSize(1000 + kPlotFrameWidth, 800 + kPlotFrameHeight + kPlotStatusBarHeight);
    Named<QCheckBox>(m, "BrushCheck")->setChecked(true);
    Named<QCheckBox>(m, "LineCheck")->setChecked(true);
    Named<QCheckBox>(m, "ShowLabel")->setChecked(true);
    Named<QSlider>(m, "StepBar")->setValue(50);
  }
  bool Load(const std::string& path) {
    QElapsedTimer t;
    t.start();
    const bool loaded = m.LoadFile(QString::fromStdString(path));
    std::printf("  load %.0f ms (%d nodes)\n", Ms(t), m.scene.data.NodeCount);
    m.RescaleAndRedraw();
    return loaded && m.state.ScenePictureValid;
  }
};

void Million() {
  Program p;
  MainWindow& m = p.m;
  std::printf("1M nodes (3 zones of 1000 x 334), 50 bands + lines + labels, 1000 x 800:\n");
  if (!p.Load(GridFile(1000, 334, 3))) return;
  std::vector<double> redraw, wheel, preview, burst;
  for (int k = 0; k < 5; ++k) {
    QElapsedTimer t;
    t.start();
    Named<QAction>(m, "Menu_Redraw")->trigger();
    redraw.push_back(Ms(t));
  }
  for (int k = 0; k < 6; ++k) {
    const double factor = k % 2 ? 0.5 : 2.0;
    QElapsedTimer t;
    t.start();
    m.plotHost().WheelZoom(480, 380, factor);
    preview.push_back(Ms(t));
    WaitForView(m);
    wheel.push_back(Ms(t));
  }
  int drawings = 0;
  for (int k = 0; k < 3; ++k) {
    const int before = m.viewDrawing().Started();
    QElapsedTimer t;
    t.start();
    for (int n = 0; n < 10; ++n) m.plotHost().WheelZoom(480, 380, std::pow(2.0, k % 2 ? -0.25 : 0.25));
    WaitForView(m);
    burst.push_back(Ms(t));
    drawings = m.viewDrawing().Started() - before;
  }
  std::printf("  redraw %.0f ms (budget 150)\n  wheel notch to exact picture %.0f ms (budget 150)\n"
              "  preview %.1f ms (budget 30)\n  ten-notch burst to exact picture %.0f ms, %d drawing(s)\n",
              Median(redraw), Median(wheel), Median(preview), Median(burst), drawings);
}

void TenMillion() {
  Program p;
  MainWindow& m = p.m;
  std::printf("10M nodes (3 zones of 2581 x 1291), same options:\n");
  if (!p.Load(GridFile(2581, 1291, 3))) return;
  GapWatch watch;
  std::vector<double> redraw, gaps, wheel, wheelGaps;
  for (int k = 0; k < 3; ++k) {
    QElapsedTimer t;
    watch.Start();
    t.start();
    Named<QAction>(m, "Menu_Redraw")->trigger();
    redraw.push_back(Ms(t));
    QCoreApplication::processEvents();
    gaps.push_back(watch.Stop());
  }
  for (int k = 0; k < 2; ++k) {
    QElapsedTimer t;
    watch.Start();
    t.start();
    m.plotHost().WheelZoom(480, 380, k % 2 ? 0.5 : 2.0);
    WaitForView(m);
    wheel.push_back(Ms(t));
    QCoreApplication::processEvents();
    wheelGaps.push_back(watch.Stop());
  }
  std::printf("  redraw %.0f ms (budget 1500), longest window-thread gap %.0f ms (budget 100)\n"
              "  wheel notch to exact picture %.0f ms, longest gap %.0f ms\n",
              Median(redraw), *std::max_element(gaps.begin(), gaps.end()), Median(wheel),
              *std::max_element(wheelGaps.begin(), wheelGaps.end()));
}

}  // namespace
}  // namespace corvane

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::vector<std::string> args(argv + 1, argv + argc);
  const bool ten = std::find(args.begin(), args.end(), "--10m") != args.end();
  const bool onlyTen = std::find(args.begin(), args.end(), "--only-10m") != args.end();
  if (!onlyTen) corvane::Million();
  if (ten || onlyTen) corvane::TenMillion();
  return 0;
}
