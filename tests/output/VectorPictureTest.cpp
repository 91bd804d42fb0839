// PDF and SVG pictures of a real scene: one page of the picture's size, paths and text rather
// than one big image, and, drawn by an outside rasteriser where one is installed, the same
// picture as the PNG of the same drawing.
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <map>

#include "TestSupport.h"

namespace corvane {
namespace {

// Share of pixels whose colour differs clearly between two pictures of the same size.
double DifferentShare(const QImage& a, const QImage& b) {
  int different = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
      different += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) + std::abs(p.blue() - q.blue()) > 90;
    }
  return static_cast<double>(different) / (a.width() * a.height());
}

TEST(VectorPictures, PdfAndSvgHoldPathsTextAndTheBandImageAndLookLikeTheBitmap) {
  QTemporaryDir dir;
  // Bitmap-mode bands, contour lines with labels and axes on white: every kind of drawing.
  for (const char* name : {"s.png", "s.pdf", "s.svg"}) {
    const testing::CommandRun run = testing::RunCorvane(
        {"render", CORVANE_SOURCE_DIR "/samples/cylinder.dat", "--settings", CORVANE_SOURCE_DIR "/samples/crv.ini",
         "--size", "300x240", "--seed", "7", "--set", "ShowGrid=0", "--set", "BrushCheck=1", "--set",
         "ShowXYLabel=1", "-o", dir.filePath(name)});
    ASSERT_EQ(run.status, 0) << name << ": " << run.errors.toStdString();
  }
  const QString pdf = QString::fromLatin1(testing::ReadFile(dir.filePath("s.pdf")));
  EXPECT_TRUE(pdf.startsWith("%PDF-"));
  EXPECT_EQ(pdf.count(QRegularExpression("/Type\\s*/Page[^s]")), 1);
  // 300 x 240 pixels at 96 dpi are 225 x 180 points.
  EXPECT_TRUE(pdf.contains(QRegularExpression("/MediaBox\\s*\\[\\s*0\\s+0\\s+225(\\.0+)?\\s+180(\\.0+)?\\s*\\]")));

  QXmlStreamReader xml(testing::ReadFile(dir.filePath("s.svg")));
  std::map<QString, int> elements;
  while (!xml.atEnd())
    if (xml.readNext() == QXmlStreamReader::StartElement) ++elements[xml.name().toString()];
  ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_GT(elements["path"] + elements["polyline"], 20) << "contour lines and axes are paths";
  EXPECT_GT(elements["text"], 3) << "labels and axis numbers are text";
  EXPECT_EQ(elements["image"], 1) << "the bitmap-mode bands";

  // Drawn by poppler and librsvg, the vector pictures match the bitmap.
  const QImage png(dir.filePath("s.png"));
  const std::pair<const char*, QStringList> rasterisers[] = {
      {"pdftoppm", {"-r", "96", "-png", "-singlefile", dir.filePath("s.pdf"), dir.filePath("pdf")}},
      {"rsvg-convert", {"-b", "white", "-o", dir.filePath("svg.png"), dir.filePath("s.svg")}}};
  for (const auto& [program, arguments] : rasterisers) {
    if (QStandardPaths::findExecutable(program).isEmpty()) continue;
    QProcess p;
    p.start(program, arguments);
    ASSERT_TRUE(p.waitForFinished(60000) && p.exitCode() == 0) << program;
    const QImage drawn(dir.filePath(program == std::string("pdftoppm") ? "pdf.png" : "svg.png"));
    ASSERT_EQ(drawn.size(), png.size()) << program;
    // Text is drawn by each rasteriser with its own choice of fallback face, so a few per cent of
    // the pixels (the glyphs) may differ.
    EXPECT_LT(DifferentShare(png, drawn), 0.05) << program;
  }
}

}  // namespace
}  // namespace corvane
