// Lines along grid lines, joined walls and segments on fields linear in x and y (so every value
// along any line is known exactly), the CSV of profiles read back, and the plot files.
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "TestGrids.h"
#include "TestSupport.h"
#include "profile/ProfileTable.h"

namespace corvane {
namespace {

using testing::ErrorText;
using testing::MakeZones;

double F(double x, double y) { return 3 * x - 2 * y + 1; }
double G(double x, double y) { return 0.5 * x + 4 * y; }

// Three zones whose j = 0 lines make one wall from (0, 0) to (4, 0) and up to (4, 2); the
// middle zone runs the other way round.
FieldDataSet Wall() {
  return MakeZones({{3, 2, [](int i, int j) { return std::make_pair(1.0 * i, -1.0 * j); }},
                    {3, 2, [](int i, int j) { return std::make_pair(4.0 - i, -1.0 * j); }},
                    {3, 3, [](int i, int j) { return std::make_pair(4.0 + j, 1.0 * i); }}},
                   {"F", "G"}, [](double x, double y) { return std::vector<double>{F(x, y), G(x, y)}; }, 2);
}

void ExpectExact(const FieldDataSet& d, const Profile& p) {
  ASSERT_EQ(p.rows.size(), d.Values.size());
  for (std::size_t k = 0; k < p.Size(); ++k) {
    EXPECT_NEAR(p.rows[0][k], F(p.x[k], p.y[k]), 1e-12) << k;
    EXPECT_NEAR(p.rows[1][k], G(p.x[k], p.y[k]), 1e-12) << k;
  }
}

TEST(ProfileLine, AWallOfSeveralZonesIsJoinedInOrderWithoutRepeatedJoints) {
  const FieldDataSet d = Wall();
  const Profile p = ExtractGridLine(d, ParseLinePieces("0:j=0, 1:j=0 ,2:j=0"));
  const std::vector<double> xs = {0, 1, 2, 3, 4, 4, 4}, ys = {0, 0, 0, 0, 0, 1, 2};
  EXPECT_TRUE(p.x == xs && p.y == ys && p.s == (std::vector<double>{0, 1, 2, 3, 4, 5, 6}));
  ExpectExact(d, p);
  // The same wall given from its other end runs the other way.
  const Profile back = ExtractGridLine(d, ParseLinePieces("2:j=0,1:j=0,0:j=0"));
  EXPECT_EQ(back.x, std::vector<double>(xs.rbegin(), xs.rend()));
  // A part of a line, walked backwards, and a constant-i line of the last zone.
  const Profile part = ExtractGridLine(d, ParseLinePieces("0:j=1:i=2..0"));
  EXPECT_TRUE(part.x == (std::vector<double>{2, 1, 0}) && part.y == (std::vector<double>{-1, -1, -1}));
  ExpectExact(d, part);
  const Profile across = ExtractGridLine(d, ParseLinePieces("2:i=1:j=1..max"));
  EXPECT_TRUE(across.x == (std::vector<double>{5, 6}) && across.y == (std::vector<double>{1, 1}));
  // Pieces outside the data are named.
  for (auto [pieces, named] : {std::pair{"3:j=0", "領域 3"}, {"0:j=2", "0..1"}, {"0:i=0:j=0..5", "0..1"}})
    EXPECT_NE(ErrorText([&] { ExtractGridLine(d, ParseLinePieces(pieces)); }).find(named), std::string::npos) << pieces;
}

TEST(ProfileLine, PiecesAreReadAndWrittenAsText) {
  const std::vector<LinePiece> p = ParseLinePieces("0:j=0,1:i=5:j=2..10,2:j=3:i=4..max");
  ASSERT_EQ(p.size(), 3u);
  EXPECT_TRUE(p[0].constantJ && p[0].from == 0 && p[0].to == -1 && p[2].to == -1);
  EXPECT_TRUE(!p[1].constantJ && p[1].index == 5 && p[1].from == 2 && p[1].to == 10);
  EXPECT_EQ(LinePiecesText(p), "0:j=0,1:i=5:j=2..10,2:j=3:i=4..max");
  for (const char* bad : {"", "0", "a:j=0", "0:k=1", "0:j=-1", "0:j=0:j=1..2", "0:j=0:i=3", "0:j=0:i=1..x"})
    EXPECT_NE(ErrorText([&] { ParseLinePieces(bad); }), "(no error)") << bad;
}

TEST(ProfileLine, ASegmentIsSampledAtItsCrossingsInOrderFromP1) {
  const FieldDataSet d = MakeZones({testing::Rect(4, 4, 0.0, 0.0)}, {"F", "G"},
                                   [](double x, double y) { return std::vector<double>{F(x, y), G(x, y)}; }, 2);
  const Profile p = ExtractSegment(d, {2.7, 2.9}, {0.2, 0.4});
  ASSERT_EQ(p.Size(), 4u);  // x = 2, y = 2, x = 1, y = 1
  for (std::size_t k = 1; k < p.Size(); ++k) EXPECT_GT(p.s[k], p.s[k - 1]);
  for (std::size_t k = 0; k < p.Size(); ++k)
    EXPECT_NEAR(p.s[k], std::hypot(p.x[k] - 2.7, p.y[k] - 2.9), 1e-12);
  ExpectExact(d, p);
  // Through nodes only: each node once, however many edges meet there.
  const Profile diagonal = ExtractSegment(d, {0, 0}, {2, 2});
  EXPECT_EQ(diagonal.x, (std::vector<double>{0, 1, 2}));
  EXPECT_EQ(ExtractSegment(d, {1, 1}, {1, 1}).Size(), 0u);
}

TEST(ProfileTable, TheCsvReadsBackToTheSameNumbers) {
  const FieldDataSet d = Wall();
  LineChoice line;
  line.pieces = ParseLinePieces("0:j=0,1:j=0,2:j=0");
  std::vector<ProfileSet> sets = {MakeProfileSet(d, line, "a"), MakeProfileSet(d, line, "b")};
  sets[1].profile.rows[1][2] = 1.0 / 3.0;
  std::string header;
  const auto rows = testing::CsvRows(ProfileCsvText(sets, {"G", "F"}), header);
  EXPECT_EQ(header, "curve,s,x,y,G,F");
  ASSERT_EQ(rows.size(), 14u);
  for (std::size_t n = 0; n < rows.size(); ++n) {
    const std::size_t c = n / 7, k = n % 7;
    const Profile& p = sets[c].profile;
    // Exactly, 1/3 included.
    EXPECT_EQ(rows[n], (std::vector<double>{double(c + 1), p.s[k], p.x[k], p.y[k], p.rows[1][k], p.rows[0][k]})) << n;
  }
  EXPECT_NE(ErrorText([&] { ProfileColumn(sets[0], "H"); }).find("\"H\""), std::string::npos);
  // Every row when no variable is named, derived rows by their captions.
  const std::string all = ProfileCsvText(sets, {});
  EXPECT_EQ(all.substr(0, all.find('\n')), "curve,s,x,y,F,G,マッハ数,全圧");
}

// Where the curve crosses pixel column `column` (the mean row of its coloured pixels), or -1.
double CurveRow(const QImage& image, int column, QColor colour) {
  double sum = 0;
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    const QColor c = image.pixelColor(column, y);
    if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) + std::abs(c.blue() - colour.blue()) < 40) {
      sum += y;
      ++count;
    }
  }
  return count ? sum / count : -1;
}

TEST(ProfilePlot, PlotsAreDrawnReversedOnRequestAndWrittenInEachFormat) {
  PlotSpec figure;
  figure.curves.push_back({"rising", {0, 1, 2, 3, 4}, {0, 1, 2, 3, 4}, CurveColour(0)});
  figure.xTitle = "x";
  figure.yTitle = "Cp";
  const QImage upright = RenderProfilePlot(figure, 400, 300);
  figure.reverseY = true;
  const QImage reversed = RenderProfilePlot(figure, 400, 300);
  const double high = CurveRow(upright, 300, CurveColour(0)), low = CurveRow(reversed, 300, CurveColour(0));
  ASSERT_TRUE(high > 0 && low > 0);
  EXPECT_LT(high, 150);  // a rising curve is high on the right...
  EXPECT_GT(low, 150);   // ...and low with the axis reversed
  const AxisTicks t = NiceTicks(-1.53, 1.09);
  EXPECT_EQ(std::tuple(t.step, t.lo, t.hi), std::tuple(0.5, -2.0, 1.5));

  QTemporaryDir dir;
  for (const char* name : {"p.png", "p.svg", "p.pdf"}) SaveProfilePlot(dir.filePath(name).toStdString(), figure, 640, 480);
  EXPECT_EQ(QImage(dir.filePath("p.png")).size(), QSize(640, 480));
  EXPECT_TRUE(testing::ReadFile(dir.filePath("p.svg")).contains("<svg"));
  EXPECT_TRUE(testing::ReadFile(dir.filePath("p.pdf")).startsWith("%PDF"));
  EXPECT_NE(ErrorText([&] { SaveProfilePlot(dir.filePath("p.gif").toStdString(), figure, 10, 10); }).find(".png"),
            std::string::npos);
}

}  // namespace
}  // namespace corvane
