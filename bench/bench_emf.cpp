// EMF export of a typical scene: a 1000×800 bitmap-mode fill, a few thousand contour line
// segments and a hundred labels, replayed from the scene picture into the EMF generator.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <benchmark/benchmark.h>
#include <cmath>

#include "output/EmfGenerator.h"
#include "BenchMain.h"

namespace {

QPicture ScenePicture() {
  QImage fill(1000, 800, QImage::Format_RGB32);
  fill.fill(Qt::white);
  {
    QPainter p(&fill);
    for (int band = 0; band < 20; ++band) p.fillRect(band * 50, 0, 50, 800, QColor::fromHsv(band * 12, 200, 230));
  }
  QPicture picture;
  QPainter p(&picture);
  p.drawImage(0, 0, fill);
  p.setPen(QPen(Qt::black, 1));
  for (int line = 0; line < 100; ++line) {
    QPolygon polyline;
    for (int i = 0; i < 40; ++i) polyline << QPoint(i * 25, 400 + int(300 * std::sin(line * 0.1 + i * 0.15)));
    p.drawPolyline(polyline);
  }
  QFont font("Noto Sans CJK JP");
  font.setPixelSize(12);
  p.setFont(font);
  for (int i = 0; i < 100; ++i) p.drawText(QPoint((i * 97) % 950, (i * 61) % 780 + 12), QString::number(i * 0.125, 'g', 4));
  p.end();
  return picture;
}

void BM_EmfFromScenePicture(benchmark::State& state) {
  const QPicture picture = ScenePicture();
  qsizetype bytes = 0;
  for (auto _ : state) {
    corvane::EmfGenerator generator(QSize(1000, 800));
    QPainter painter(&generator);
    painter.drawPicture(0, 0, picture);
    painter.end();
    bytes = generator.Data().size();
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_EmfFromScenePicture)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return corvane::RunBenchmarksOffscreen(argc, argv); }
