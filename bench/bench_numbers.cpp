// Speed of the per-node and per-label number work: world-to-pixel mapping, colour map, value
// readout, number formatting and the settings reader.
#include <benchmark/benchmark.h>

#include <vector>

#include "scene/SettingsFile.h"
#include "contour/ColourMap.h"
#include "contour/ColourToValue.h"
#include "render/NumberFormat.h"
#include "render/ViewTransform.h"

using namespace corvane;

static void BM_WorldToPixel(benchmark::State& state) {
  ViewTransform v;
  v.SetPictureSize(1920, 1080);
  v.ScaleX = v.ScaleY = 123.456;
  std::vector<double> xs(1 << 16);
  for (std::size_t i = 0; i < xs.size(); ++i) xs[i] = -4.0 + 8.0 * static_cast<double>(i) / static_cast<double>(xs.size());
  for (auto _ : state) {
    std::int64_t sum = 0;
    for (double x : xs) sum += v.WorldToPixelX(x) + v.WorldToPixelY(x);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(xs.size()) * 2);
}
BENCHMARK(BM_WorldToPixel);

static void BM_LevelColor(benchmark::State& state) {
  const auto kind = static_cast<ColourMapKind>(state.range(0));
  std::vector<float> values(1 << 16);
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = static_cast<float>(i) / 65536.0f * 1.2f - 0.1f;
  for (auto _ : state) {
    Colour acc = 0;
    for (float v : values) acc ^= LevelColour(v, 0.0f, 1.0f, kind);
    benchmark::DoNotOptimize(acc);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}
BENCHMARK(BM_LevelColor)->Arg(0)->Arg(1)->Arg(2)->Arg(3);

static void BM_ColourToValue(benchmark::State& state) {
  std::vector<Colour> colours(4096);
  for (std::size_t i = 0; i < colours.size(); ++i)
    colours[i] = LevelColour(static_cast<float>(i) / 4096.0f, 0.0f, 1.0f, ColourMapKind::Rainbow);
  for (auto _ : state) {
    double sum = 0;
    for (Colour c : colours) sum += ColourToValue(c, 1.0, 0.0, ColourMapKind::Rainbow);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(colours.size()));
}
BENCHMARK(BM_ColourToValue);

static void BM_FormatAxisNumber(benchmark::State& state) {
  NumberFormat f;
  f.style = static_cast<NumberStyle>(state.range(0));
  double v = 0.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FormatAxisNumber(v, f));
    v += 0.37;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatAxisNumber)->Arg(0)->Arg(1)->Arg(2);

static void BM_FormatGeneral15(benchmark::State& state) {
  double v = 1.0 / 3.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FormatGeneral15(v));
    v *= 1.0001;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatGeneral15);

static void BM_ParseSettings(benchmark::State& state) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "  show grid\r\nZONE COUNT\r\n4\r\nX SCALE\r\n120.5\r\n# comment line\r\n";
  for (auto _ : state) benchmark::DoNotOptimize(ParseSettingsText(text));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ParseSettings);

BENCHMARK_MAIN();
