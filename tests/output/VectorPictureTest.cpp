// PDF and SVG pictures of a real scene: one page of the picture's size, paths and text rather
// than one big image, and, drawn by an outside rasteriser where one is installed, the same
// picture as the PNG of the same drawing.
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtEndian>
#include <gtest/gtest.h>
#include <cmath>
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


// A FlateDecode stream inflated (qUncompress wants the size in front; a guess that is too small
// gives nothing, so the guess grows).
QByteArray Inflate(const QByteArray& deflated) {
  for (quint32 guess = 1u << 16; guess <= (1u << 28); guess <<= 2) {
    QByteArray sized(4, '\0');
    qToBigEndian(guess, sized.data());
    const QByteArray out = qUncompress(sized + deflated);
    if (!out.isEmpty()) return out;
  }
  return {};
}

// The drawing operators of a PDF: its content streams (not images or fonts), inflated.
QByteArray PdfContent(const QByteArray& pdf) {
  QByteArray content;
  for (qsizetype at = pdf.indexOf("stream"); at >= 0; at = pdf.indexOf("stream", at)) {
    if (at >= 3 && pdf.mid(at - 3, 3) == "end") {
      at += 6;
      continue;
    }
    const QByteArray dict = pdf.mid(pdf.lastIndexOf("<<", at), at - pdf.lastIndexOf("<<", at));
    qsizetype start = at + 6;
    if (pdf[start] == '\r') ++start;
    if (pdf[start] == '\n') ++start;
    const qsizetype end = pdf.indexOf("endstream", start);
    if (end < 0) break;
    const QByteArray body = pdf.mid(start, end - start);
    if (!dict.contains("/Subtype") && !dict.contains("/Length1"))
      content += (dict.contains("/FlateDecode") ? Inflate(body) : body) + '\n';
    at = end + 9;
  }
  return content;
}

// How many coordinate pairs of the drawing carry a fraction, and how many there are.
std::pair<int, int> FractionalPairs(const QString& text, const QRegularExpression& pair) {
  int fractional = 0, all = 0;
  for (auto it = pair.globalMatch(text); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    ++all;
    const double x = m.captured(1).toDouble(), y = m.captured(2).toDouble();
    fractional += x != std::floor(x) || y != std::floor(y);
  }
  return {fractional, all};
}

// The coordinates of the polylines and paths of the SVG file at `path`, with the elements of each
// name counted into `elements`.
QString SvgCoordinates(const QString& path, std::map<QString, int>& elements) {
  QString all;
  QXmlStreamReader xml(testing::ReadFile(path));
  while (!xml.atEnd())
    if (xml.readNext() == QXmlStreamReader::StartElement) {
      const QString name = xml.name().toString();
      ++elements[name];
      if (name == "path") all += xml.attributes().value("d").toString() + " ";
      if (name == "polyline" || name == "polygon") all += xml.attributes().value("points").toString() + " ";
    }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return all;
}

// Drawn by poppler and librsvg where they are installed, `base`.pdf and `base`.svg look like
// `base`.png. Both rasterisers smooth edges their own way, and text comes in each one's fallback
// face: a pixel counts as different when its channels differ by more than 90 in sum, and up to
// 5 % may.
void ExpectRasterisedLikeThePng(const QTemporaryDir& dir, const QString& base) {
  const QImage png(dir.filePath(base + ".png"));
  const std::pair<const char*, QStringList> rasterisers[] = {
      {"pdftoppm", {"-r", "96", "-png", "-singlefile", dir.filePath(base + ".pdf"), dir.filePath("pdf")}},
      {"rsvg-convert", {"-b", "white", "-o", dir.filePath("svg.png"), dir.filePath(base + ".svg")}}};
  for (const auto& [program, arguments] : rasterisers) {
    if (QStandardPaths::findExecutable(program).isEmpty()) continue;
    QProcess p;
    p.start(program, arguments);
    ASSERT_TRUE(p.waitForFinished(60000) && p.exitCode() == 0) << program;
    const QImage drawn(dir.filePath(program == std::string("pdftoppm") ? "pdf.png" : "svg.png"));
    ASSERT_EQ(drawn.size(), png.size()) << program;
    EXPECT_LT(DifferentShare(png, drawn), 0.05) << program;
  }
}

// The cylinder sample rendered at 300 x 240 with seed 7, bands and no grid, and `sets`, to `path`.
void RenderCylinder(const QString& path, const QStringList& sets) {
  QStringList arguments = {"render", CORVANE_SOURCE_DIR "/samples/cylinder.dat", "--settings",
                           CORVANE_SOURCE_DIR "/samples/crv.ini", "--size", "300x240", "--seed", "7",
                           "--set", "ShowGrid=0", "--set", "BrushCheck=1"};
  for (const QString& set : sets) arguments << "--set" << set;
  const testing::CommandRun run = testing::RunCorvane(arguments << "-o" << path);
  ASSERT_EQ(run.status, 0) << path.toStdString() << ": " << run.errors.toStdString();
}

TEST(VectorPictures, PdfAndSvgHoldPathsTextAndTheBandImageAndLookLikeTheBitmap) {
  QTemporaryDir dir;
  // Bitmap-mode bands, contour lines with labels and axes on white: every kind of drawing.
  for (const char* name : {"s.png", "s.pdf", "s.svg"}) RenderCylinder(dir.filePath(name), {"ShowXYLabel=1"});
  const QString pdf = QString::fromLatin1(testing::ReadFile(dir.filePath("s.pdf")));
  EXPECT_TRUE(pdf.startsWith("%PDF-"));
  EXPECT_EQ(pdf.count(QRegularExpression("/Type\\s*/Page[^s]")), 1);
  // 300 x 240 pixels at 96 dpi are 225 x 180 points.
  EXPECT_TRUE(pdf.contains(QRegularExpression("/MediaBox\\s*\\[\\s*0\\s+0\\s+225(\\.0+)?\\s+180(\\.0+)?\\s*\\]")));

  std::map<QString, int> elements;
  SvgCoordinates(dir.filePath("s.svg"), elements);
  EXPECT_GT(elements["path"] + elements["polyline"], 20) << "contour lines and axes are paths";
  EXPECT_GT(elements["text"], 3) << "labels and axis numbers are text";
  EXPECT_EQ(elements["image"], 1) << "the bitmap-mode bands";

  ExpectRasterisedLikeThePng(dir, "s");
}

TEST(VectorPictures, SmoothPicturesKeepFractionsOfAPixelAndMergeBandsIntoFewPaths) {
  QTemporaryDir dir;
  // Vector-mode bands, contour lines and zone edges (a grid this dense would be a grey mesh,
  // drawn half as wide in the smooth bitmap as in the vector pictures).
  const QStringList vector = {"LineCheck=1", "BMPModeCheck=0", "ShowLabel=0"};
  const std::pair<const char*, QStringList> runs[] = {
      {"m.png", {"SmoothCheck=1", "MergeBandsCheck=1"}}, {"m.pdf", {"SmoothCheck=1", "MergeBandsCheck=1"}},
      {"m.svg", {"SmoothCheck=1", "MergeBandsCheck=1"}}, {"t.pdf", {"SmoothCheck=1", "MergeBandsCheck=0"}},
      {"t.svg", {"SmoothCheck=1", "MergeBandsCheck=0"}}, {"p.svg", {"SmoothCheck=0", "MergeBandsCheck=1"}},
      {"p.pdf", {"SmoothCheck=0", "MergeBandsCheck=1"}}};
  for (const auto& [name, sets] : runs) RenderCylinder(dir.filePath(name), vector + sets);

  // SVG: smooth, most points lie between pixels; plain, every one on a pixel.
  const QRegularExpression svgPair("(-?\\d+(?:\\.\\d+)?),(-?\\d+(?:\\.\\d+)?)");
  std::map<QString, int> mergedSvg, plainSvg, triangleSvg;
  const auto [svgFractional, svgAll] = FractionalPairs(SvgCoordinates(dir.filePath("m.svg"), mergedSvg), svgPair);
  EXPECT_GT(svgAll, 500);
  EXPECT_GT(svgFractional, svgAll / 2);
  EXPECT_EQ(FractionalPairs(SvgCoordinates(dir.filePath("p.svg"), plainSvg), svgPair).first, 0);
  SvgCoordinates(dir.filePath("t.svg"), triangleSvg);
  // One path per region of a band and zone against one polygon per band and triangle.
  const int mergedPaths = mergedSvg["path"], trianglePaths = triangleSvg["path"];
  EXPECT_GT(mergedPaths, 10);
  EXPECT_LT(mergedPaths * 10, trianglePaths) << mergedPaths << " merged, " << trianglePaths << " per triangle";

  // PDF: the same in the page's operators ("x y m", "x y l"; the page matrix turns pixels into points).
  const QRegularExpression pdfPair("(-?\\d+(?:\\.\\d+)?) (-?\\d+(?:\\.\\d+)?) [ml]\\b");
  const QString merged = QString::fromLatin1(PdfContent(testing::ReadFile(dir.filePath("m.pdf"))));
  const auto [pdfFractional, pdfAll] = FractionalPairs(merged, pdfPair);
  EXPECT_GT(pdfAll, 500);
  EXPECT_GT(pdfFractional, pdfAll / 2);
  EXPECT_EQ(FractionalPairs(QString::fromLatin1(PdfContent(testing::ReadFile(dir.filePath("p.pdf")))), pdfPair).first, 0);
  const QRegularExpression fill("\\n[fFbB]\\*?\\n");  // fill, or fill and outline
  const QString perTriangle = QString::fromLatin1(PdfContent(testing::ReadFile(dir.filePath("t.pdf"))));
  EXPECT_LT(merged.count(fill) * 10, perTriangle.count(fill));

  ExpectRasterisedLikeThePng(dir, "m");
}

}  // namespace
}  // namespace corvane
