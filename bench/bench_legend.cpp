// Building the legend picture at the largest size the window allows (500 × 500), with the usual
// twenty bands and with a step so fine that most bands are narrower than a pixel.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSpinBox>
#include <benchmark/benchmark.h>

#include "ui/LegendWindow.h"

namespace {

void BM_Legend(benchmark::State& state) {
  corvane::LegendWindow form;
  form.findChild<QSpinBox*>("LegendWidthBox")->setValue(500);
  form.findChild<QSpinBox*>("LegendHeightBox")->setValue(500);
  const double bands = static_cast<double>(state.range(0));
  form.SetSource([bands] {
    return corvane::LegendSource{"0", "1", std::to_string(1.0 / bands), false, corvane::ColourMapKind::Rainbow};
  });
  for (auto _ : state) {
    QPicture picture = form.BuildLegendPicture();
    QImage image(500, 500, QImage::Format_RGB32);
    QPainter p(&image);
    p.drawPicture(0, 0, picture);
    p.end();
    benchmark::DoNotOptimize(image.bits());
  }
}
BENCHMARK(BM_Legend)->Arg(20)->Arg(10000)->Arg(500000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
