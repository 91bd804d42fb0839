// Entry of the benchmark programs that draw: fonts and pictures need a GUI application, which
// runs on the offscreen platform so no display is needed.
#pragma once
#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace corvane {

inline int RunBenchmarksOffscreen(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace corvane
