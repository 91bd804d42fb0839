// PDF and SVG pictures of a real scene: one page of the picture's size, paths and text rather
// than one big image, and, drawn by an outside rasteriser where one is installed, the same
// picture as the PNG of the same drawing.
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>

#include "TestSupport.h"

namespace corvane {
namespace {

class VectorPictures : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new QTemporaryDir;
    // Bitmap-mode bands, contour lines with labels and axes on white: every kind of drawing.
    for (const char* name : {"scene.png", "scene.pdf", "scene.svg"}) {
      const testing::CommandRun run = testing::RunCorvane(
          {"render", CORVANE_SOURCE_DIR "/samples/cylinder.dat", "--settings", CORVANE_SOURCE_DIR "/samples/crv.ini",
           "--size", "300x240", "--seed", "7", "--set", "WhiteBack=1", "--set", "ShowGrid=0", "--set",
           "BrushCheck=1", "--set", "ShowXYLabel=1", "--set", "RGroup=0", "-o", dir_->filePath(name)});
      ASSERT_EQ(run.status, 0) << name << ": " << run.errors.toStdString();
    }
  }
  static void TearDownTestSuite() { delete dir_; }
  static QByteArray Bytes(const QString& name) {
    QFile f(dir_->filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  // Share of pixels whose colour differs clearly between two pictures of the same size.
  static double DifferentShare(const QImage& a, const QImage& b) {
    int different = 0;
    for (int y = 0; y < a.height(); ++y)
      for (int x = 0; x < a.width(); ++x) {
        const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
        different += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) + std::abs(p.blue() - q.blue()) > 90;
      }
    return static_cast<double>(different) / (a.width() * a.height());
  }
  // Runs a rasteriser when it is installed; false when it is not.
  static bool Rasterise(const QString& program, const QStringList& arguments) {
    if (QStandardPaths::findExecutable(program).isEmpty()) return false;
    QProcess p;
    p.start(program, arguments);
    return p.waitForFinished(60000) && p.exitCode() == 0;
  }
  static QTemporaryDir* dir_;
};
QTemporaryDir* VectorPictures::dir_ = nullptr;

TEST_F(VectorPictures, PdfIsOnePageOfThePictureSizeWithItsText) {
  const QByteArray pdf = Bytes("scene.pdf");
  ASSERT_TRUE(pdf.startsWith("%PDF-"));
  EXPECT_EQ(QString::fromLatin1(pdf).count(QRegularExpression("/Type\\s*/Page[^s]")), 1);
  // 300 x 240 pixels at 96 dpi are 225 x 180 points.
  EXPECT_TRUE(QRegularExpression("/MediaBox\\s*\\[\\s*0\\s+0\\s+225(\\.0+)?\\s+180(\\.0+)?\\s*\\]")
                  .match(QString::fromLatin1(pdf))
                  .hasMatch());
  if (QStandardPaths::findExecutable("pdftotext").isEmpty()) return;
  QProcess text;
  text.start("pdftotext", {dir_->filePath("scene.pdf"), "-"});
  ASSERT_TRUE(text.waitForFinished(60000));
  EXPECT_TRUE(QString::fromUtf8(text.readAllStandardOutput()).contains(QRegularExpression("[0-9]")))
      << "labels and axis numbers are text";
}

TEST_F(VectorPictures, SvgHoldsPathsTextAndTheBandsAsOneImage) {
  QXmlStreamReader xml(Bytes("scene.svg"));
  std::map<QString, int> elements;
  QString viewBox;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    ++elements[xml.name().toString()];
    if (xml.name() == QLatin1String("svg")) viewBox = xml.attributes().value("viewBox").toString();
  }
  ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(viewBox, "0 0 300 240");
  EXPECT_GT(elements["path"] + elements["polyline"], 20) << "contour lines, grid and axes are paths";
  EXPECT_GT(elements["text"], 3) << "labels and axis numbers are text";
  EXPECT_EQ(elements["image"], 1) << "the bitmap-mode bands";
}

TEST_F(VectorPictures, RasterisedCopiesMatchTheBitmap) {
  const QImage png(dir_->filePath("scene.png"));
  ASSERT_EQ(png.size(), QSize(300, 240));
  bool any = false;
  if (Rasterise("pdftoppm", {"-r", "96", "-png", "-singlefile", dir_->filePath("scene.pdf"), dir_->filePath("pdf")})) {
    const QImage fromPdf(dir_->filePath("pdf.png"));
    ASSERT_EQ(fromPdf.size(), png.size());
    EXPECT_LT(DifferentShare(png, fromPdf), 0.03);
    any = true;
  }
  if (Rasterise("rsvg-convert", {"-w", "300", "-h", "240", "-b", "white", "-o", dir_->filePath("svg.png"),
                                 dir_->filePath("scene.svg")})) {
    const QImage fromSvg(dir_->filePath("svg.png"));
    ASSERT_EQ(fromSvg.size(), png.size());
    EXPECT_LT(DifferentShare(png, fromSvg), 0.03);
    any = true;
  }
  if (!any) GTEST_SKIP() << "neither pdftoppm nor rsvg-convert is installed";
}

}  // namespace
}  // namespace corvane
