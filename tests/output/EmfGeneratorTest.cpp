// EMF output: a scene-like picture is replayed into the generator and the bytes are walked
// with a small record reader written here, independent of the generator's own code.
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QtEndian>
#include <cstdint>
#include <gtest/gtest.h>
#include <map>
#include <vector>

#include "output/EmfGenerator.h"
#include "render/PainterCanvas.h"

namespace corvane {
namespace {

struct Record {
  uint32_t type;
  QByteArray bytes;  // the whole record, type and size included
  uint32_t U32(int at) const { return qFromLittleEndian<quint32>(bytes.constData() + at); }
  int32_t I32(int at) const { return static_cast<int32_t>(U32(at)); }
};

// Walks the records; fails the test on a size that is not a positive multiple of 4 or runs
// past the end.
std::vector<Record> ReadRecords(const QByteArray& data) {
  std::vector<Record> records;
  int at = 0;
  while (at + 8 <= data.size()) {
    const uint32_t type = qFromLittleEndian<quint32>(data.constData() + at), size = qFromLittleEndian<quint32>(data.constData() + at + 4);
    EXPECT_EQ(size % 4, 0u) << "record " << records.size() << " type " << type;
    EXPECT_GE(size, 8u);
    if (size < 8 || at + static_cast<qint64>(size) > data.size()) {
      ADD_FAILURE() << "record " << records.size() << " runs past the end";
      break;
    }
    records.push_back({type, data.mid(at, static_cast<int>(size))});
    at += static_cast<int>(size);
  }
  EXPECT_EQ(at, data.size());
  return records;
}

constexpr uint32_t kHeader = 1, kEof = 14, kSelect = 37, kCreatePen = 38, kCreateBrush = 39,
                   kDelete = 40, kEllipse = 42, kRectangle = 43, kStretchDib = 81,
                   kFont = 82, kTextW = 84, kPolygon16 = 86, kPolyline16 = 87,
                   kExtCreatePen = 95, kPolyline = 4;

// Draws what the scene renderer draws: background, a bitmap-mode fill, lines of two widths, a
// filled and a hollow polygon, an end circle, a label and a rotated axis title.
QPicture ScenePicture() {
  QImage fill(30, 20, QImage::Format_RGB32);
  fill.fill(QColor(0, 128, 255));
  fill.setPixelColor(0, 0, QColor(255, 0, 0));  // top-left marks the row order
  QPicture picture;
  QPainter p(&picture);
  p.setPen(QPen(Qt::white, 1));
  p.setBrush(Qt::white);
  p.drawRect(0, 0, 200, 100);
  p.drawImage(QPoint(10, 5), fill);
  p.setPen(QPen(Qt::black, 1));
  const QPoint line[] = {{10, 10}, {50, 60}, {90, 10}};
  p.drawPolyline(line, 3);
  p.setPen(QPen(Qt::red, 3));
  p.drawLine(5, 95, 195, 95);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(QColor(0, 200, 0));
  const QPoint triangle[] = {{100, 10}, {140, 10}, {120, 40}};
  p.drawPolygon(triangle, 3);
  p.setBrush(Qt::NoBrush);
  const QPoint box[] = {{150, 10}, {190, 10}, {190, 40}, {150, 40}};
  p.drawPolygon(box, 4);
  p.drawEllipse(QRect(60, 70, 8, 8));
  QFont font("Noto Sans CJK JP");
  font.setPixelSize(14);
  p.setFont(font);
  p.drawText(QPoint(20, 80), QStringLiteral("圧力 1.5"));
  p.save();
  p.translate(180, 90);
  p.rotate(-90);
  p.drawText(QPoint(0, 0), QStringLiteral("y"));
  p.restore();
  p.end();
  return picture;
}

QByteArray Generate(const QPicture& picture, QSize size, int subpixelUnits = 1) {
  EmfGenerator generator(size, subpixelUnits);
  QPainter painter(&generator);
  painter.drawPicture(0, 0, picture);
  painter.end();
  EXPECT_TRUE(generator.Problem().empty()) << generator.Problem();
  return generator.Data();
}

TEST(EmfGenerator, HeaderCountsMatchTheRecordsAndHandlesAndTheSceneBecomesTheMatchingRecords) {
  const QByteArray data = Generate(ScenePicture(), QSize(200, 100));
  const std::vector<Record> records = ReadRecords(data);
  ASSERT_GE(records.size(), 3u);
  const Record& header = records.front();
  ASSERT_EQ(header.type, kHeader);
  EXPECT_EQ(std::pair(header.U32(40), header.U32(48)), std::pair(0x464D4520u, static_cast<uint32_t>(data.size())));
  EXPECT_EQ(header.U32(52), static_cast<uint32_t>(records.size()));
  // Bounds in pixels, frame in hundredths of a millimetre at 96 dpi, both over the same pixels.
  for (const auto& [at, value] : {std::pair{16, 199}, {20, 99}, {32, 199 * 2540 / 96}, {36, 99 * 2540 / 96}})
    EXPECT_NEAR(header.I32(at), value, at < 32 ? 0 : 1) << "offset " << at;
  EXPECT_EQ(records.back().type, kEof);

  // Every object index is below nHandles, created before selection, never used after deletion,
  // and never deleted while selected (stock objects: brushes 0..5, pens 6..8, fonts 10..17).
  const uint16_t handles = static_cast<uint16_t>(header.U32(56) & 0xFFFF);
  std::map<uint32_t, bool> live;
  std::map<uint32_t, char> kind;
  std::map<char, uint32_t> selected;
  for (const Record& r : records) {
    if (r.type == kCreatePen || r.type == kCreateBrush || r.type == kFont || r.type == kExtCreatePen) {
      const uint32_t index = r.U32(8);
      EXPECT_GT(index, 0u);
      EXPECT_LT(index, handles);
      EXPECT_FALSE(live[index]) << "index " << index << " reused while alive";
      live[index] = true;
      kind[index] = r.type == kCreateBrush ? 'b' : (r.type == kFont ? 'f' : 'p');
    } else if (r.type == kSelect && (r.U32(8) & 0x80000000u) == 0) {
      EXPECT_TRUE(live[r.U32(8)]) << "selects a dead object " << r.U32(8);
      selected[kind[r.U32(8)]] = r.U32(8);
    } else if (r.type == kSelect) {
      const uint32_t stock = r.U32(8) & 0xFF;
      selected[stock <= 5 ? 'b' : (stock <= 8 ? 'p' : 'f')] = r.U32(8);
    } else if (r.type == kDelete) {
      EXPECT_TRUE(live[r.U32(8)]);
      EXPECT_NE(selected[kind[r.U32(8)]], r.U32(8)) << "deletes the selected object " << r.U32(8);
      live[r.U32(8)] = false;
    }
  }
  for (const auto& [index, alive] : live) EXPECT_FALSE(alive) << "object " << index << " leaked";

  // The scene's drawing and text become the matching records.
  std::map<uint32_t, std::vector<const Record*>> byType;
  for (const Record& r : records) byType[r.type].push_back(&r);

  ASSERT_EQ(byType[kRectangle].size(), 1u);  // background, Qt's outline includes the far edge
  EXPECT_EQ(byType[kRectangle][0]->I32(16), 201);
  ASSERT_EQ(byType[kEllipse].size(), 1u);
  EXPECT_EQ(std::pair(byType[kEllipse][0]->I32(8), byType[kEllipse][0]->I32(16)), std::pair(60, 69));

  // The three-point polyline, then the wide line as a two-point one.
  ASSERT_EQ(byType[kPolyline16].size(), 2u);
  const Record& polyline = *byType[kPolyline16][0];
  EXPECT_EQ(polyline.U32(24), 3u);
  EXPECT_EQ(polyline.U32(28 + 4), 50u | 60u << 16);  // second point: 16-bit x, then y
  ASSERT_EQ(byType[kExtCreatePen].size(), 1u);  // the 3-pixel pen, red in the low byte
  EXPECT_EQ(std::pair(byType[kExtCreatePen][0]->U32(32), byType[kExtCreatePen][0]->U32(40)), std::pair(3u, 0x0000FFu));

  ASSERT_EQ(byType[kPolygon16].size(), 2u);
  // The green brush is created; the hollow polygon selects the stock NULL_BRUSH.
  bool green = false, nullBrush = false;
  for (const Record* r : byType[kCreateBrush]) green |= r->U32(16) == 0x00C800u;
  for (const Record* r : byType[kSelect]) nullBrush |= r->U32(8) == 0x80000005u;
  EXPECT_TRUE(green && nullBrush);

  // The bitmap-mode fill: a 24-bit DIB of its own size at its own place, bottom row first.
  ASSERT_EQ(byType[kStretchDib].size(), 1u);
  const Record& dib = *byType[kStretchDib][0];
  // xDest, yDest, cxSrc, cySrc, cxDest, cyDest.
  for (const auto& [at, value] : {std::pair{24, 10}, {28, 5}, {40, 30}, {44, 20}, {72, 30}, {76, 20}})
    EXPECT_EQ(dib.I32(at), value) << "offset " << at;
  const uint32_t bmi = dib.U32(48), bits = dib.U32(56);
  EXPECT_EQ(dib.U32(bmi + 14) & 0xFFFF, 24u);
  EXPECT_EQ(dib.U32(60), 92u * 20u);  // rows of 90 bytes padded to 92
  // Red and blue of the marked pixel in the last row, blue of the first row's first pixel.
  const int topRow = static_cast<int>(bits) + 92 * 19;
  EXPECT_EQ(dib.bytes.mid(topRow + 2, 1) + dib.bytes.mid(topRow, 1) + dib.bytes.mid(static_cast<int>(bits), 1),
            QByteArray("\xff\x00\xff", 3));

  // Text in UTF-16 with a font of its pixel height and rotation.
  std::vector<QString> texts;
  std::vector<int32_t> escapements;
  for (const Record& r : records) {
    if (r.type == kFont) {
      EXPECT_EQ(r.I32(12), -14);  // em height in pixels
      escapements.push_back(r.I32(20));
      EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(r.bytes.constData() + 12 + 28)), QStringLiteral("Noto Sans CJK JP"));
    }
    if (r.type == kTextW) {
      const uint32_t chars = r.U32(44), offset = r.U32(48), dxOffset = r.U32(68);
      texts.push_back(QString::fromUtf16(reinterpret_cast<const char16_t*>(r.bytes.constData() + offset), chars));
      EXPECT_GE(dxOffset, offset + chars * 2);
      EXPECT_LE(dxOffset + chars * 4, static_cast<uint32_t>(r.bytes.size()));
    }
  }
  EXPECT_EQ(texts, (std::vector<QString>{QStringLiteral("圧力 1.5"), QStringLiteral("y")}));
  EXPECT_EQ(escapements, (std::vector<int32_t>{0, 900}));  // the title reads from bottom to top
}

TEST(EmfGenerator, CanvasPictureKeepsWideLinesRotatedLabelsAndTheirBoxes) {
  QPicture picture;
  {
    PainterCanvas canvas(&picture);
    canvas.SetPen(kWhite, 1);
    canvas.SetBrush(kWhite, BrushStyle::Solid);
    canvas.Rectangle(0, 0, 120, 80);
    canvas.SetPen(MakeColour(0, 0, 255), 2);
    canvas.MoveTo(10, 10);
    canvas.LineTo(60, 10);
    canvas.LineTo(60, 50);
    FontSpec font;
    font.face = "Noto Sans CJK JP", font.pixelHeight = 12, font.angleTenths = 900;
    canvas.SetFont(font);
    canvas.TextOut(100, 70, "軸");
    canvas.Finish();
  }
  // Wide pens, turned fonts, filled boxes (the label's, turned) and texts: one of each.
  std::vector<int> counts(4, 0);
  for (const Record& r : ReadRecords(Generate(picture, QSize(120, 80)))) {
    counts[0] += r.type == kExtCreatePen && r.U32(32) == 2;
    counts[1] += r.type == kFont && r.I32(20) == 900;
    counts[2] += r.type == kPolygon16 && r.U32(24) >= 4;
    counts[3] += r.type == kTextW;
  }
  EXPECT_EQ(counts, (std::vector<int>{1, 1, 1, 1}));
}

TEST(EmfGenerator, FarCoordinatesUseThirtyTwoBitPointsAndSaturate) {
  QPicture picture;
  QPainter p(&picture);
  p.setPen(Qt::black);
  p.drawLine(QPointF(0, 0), QPointF(70000, 1e300));
  p.end();
  bool found = false;
  for (const Record& r : ReadRecords(Generate(picture, QSize(10, 10)))) {
    if (r.type != kPolyline) continue;
    found = true;
    EXPECT_EQ(std::pair(r.I32(28 + 8), r.I32(28 + 12)), std::pair(70000, INT32_MAX));
  }
  EXPECT_TRUE(found);
}

TEST(EmfGenerator, SubpixelUnitsKeepFractionsUnderAScalingMapMode) {
  QPicture picture;
  QPainter p(&picture);
  QPen thin(Qt::black, 1);
  thin.setCosmetic(true);
  p.setPen(thin);
  const QPointF line[] = {{10.5, 20.25}, {30.0625, 40}};
  p.drawPolyline(line, 2);
  p.setPen(QPen(Qt::red, 3));
  p.drawLine(QPointF(0, 50), QPointF(100.5, 50));
  p.end();
  std::map<uint32_t, std::vector<Record>> byType;
  for (const Record& r : ReadRecords(Generate(picture, QSize(200, 100), 16))) byType[r.type].push_back(r);
  // The frame stays in pixels; sixteen logical units make a pixel.
  const Record& header = byType[kHeader].at(0);
  EXPECT_EQ(std::vector<int32_t>({header.I32(8), header.I32(12), header.I32(16), header.I32(20)}),
            std::vector<int32_t>({0, 0, 199, 99}));
  ASSERT_EQ(byType[17].size(), 1u);
  EXPECT_EQ(byType[17][0].U32(8), 8u) << "MM_ANISOTROPIC";
  ASSERT_TRUE(byType[9].size() == 1u && byType[11].size() == 1u) << "one window and one viewport extent";
  EXPECT_EQ(std::pair(byType[9][0].I32(8), byType[9][0].I32(12)), std::pair(3200, 1600)) << "window";
  EXPECT_EQ(std::pair(byType[11][0].I32(8), byType[11][0].I32(12)), std::pair(200, 100)) << "viewport";
  ASSERT_EQ(byType[kPolyline16].size(), 2u);
  // The points (10.5, 20.25) and (30.0625, 40): 16-bit x, then y.
  EXPECT_EQ(std::pair(byType[kPolyline16][0].U32(28), byType[kPolyline16][0].U32(32)), std::pair(168u | 324u << 16, 481u | 640u << 16));
  // A hairline stays one device pixel; a 3-pixel pen is 48 units wide.
  ASSERT_EQ(byType[kCreatePen].size(), 1u);
  EXPECT_EQ(byType[kCreatePen][0].I32(16), 1);
  ASSERT_EQ(byType[kExtCreatePen].size(), 1u);
  EXPECT_EQ(byType[kExtCreatePen][0].U32(32), 48u);

  // Whole pixels, the default, set no map mode at all.
  for (const Record& r : ReadRecords(Generate(picture, QSize(200, 100)))) EXPECT_NE(r.type, 17u);
}

}  // namespace
}  // namespace corvane
