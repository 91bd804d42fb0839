// Writing the plot window's bitmap: a 1000×800 picture of flat colour bands crossed by thin
// lines, the typical filled-contour picture, saved as PNG, BMP and JPEG.
#include <QGuiApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "output/ImageWriters.h"
#include "BenchMain.h"

namespace {

QImage BandPicture() {
  QImage image(1000, 800, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  for (int band = 0; band < 20; ++band) {
    const QColor colour = QColor::fromHsv(band * 12, 200, 230);
    // Slanted bands so rows differ from each other, as contour fills do.
    QPolygon poly;
    poly << QPoint(band * 50 - 200, 0) << QPoint(band * 50 + 50 - 200, 0)
         << QPoint(band * 50 + 250, 800) << QPoint(band * 50 + 200, 800);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(poly);
  }
  p.setPen(QPen(Qt::black, 1));
  for (int i = 0; i < 40; ++i) p.drawLine(0, i * 20, 999, 799 - i * 20);
  p.end();
  return image;
}

template <void (*Write)(const QImage&, const QString&)>
void BM_Write(benchmark::State& state, const char* name) {
  const QImage picture = BandPicture();
  QTemporaryDir dir;
  const QString path = dir.filePath(name);
  for (auto _ : state) Write(picture, path);
  state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}

void BM_Png(benchmark::State& s) { BM_Write<corvane::WritePng>(s, "b.png"); }
void BM_Bmp(benchmark::State& s) { BM_Write<corvane::WriteBmp>(s, "b.bmp"); }
void BM_Jpeg(benchmark::State& s) { BM_Write<corvane::WriteJpeg>(s, "b.jpg"); }
BENCHMARK(BM_Png)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Jpeg)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return corvane::RunBenchmarksOffscreen(argc, argv); }
