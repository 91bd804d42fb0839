#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <utility>

#include "readers/DataFileLoader.h"
#include "fieldview/LoadedView.h"
#include "base/Errors.h"
#include "readers/Plot3dLayout.h"
#include "TestSupport.h"

using namespace corvane;

namespace {

struct Variant {
  Plot3dEncoding encoding;
  int realBytes;
  bool big, multi, iblank;
  int dims = 2;  // 3: written as a 3-D case of one plane, with z and rho w
  int nk = 1;
  int markerBytes = 4;
};

// Writes numbers the way a PLOT3D writer of the given variant would.
struct Writer {
  Variant v;
  std::string out = "", record = "";
  // Raw bytes in the variant's byte order.
  void Add(const void* p, int n) {
    std::string b(static_cast<const char*>(p), static_cast<std::size_t>(n));
    if (v.big) std::reverse(b.begin(), b.end());
    record += b;
  }
  void Int(std::int32_t n) { v.encoding == Plot3dEncoding::Formatted ? void(record += std::to_string(n) + " ") : Add(&n, 4); }
  void Real(double x) {
    const float f = static_cast<float>(x);
    char text[40];
    std::snprintf(text, sizeof text, "%.17E ", x);
    std::replace(text, text + std::strlen(text), 'E', 'D');  // as Fortran writes doubles
    v.encoding == Plot3dEncoding::Formatted ? void(record += text) : v.realBytes == 4 ? Add(&f, 4) : Add(&x, 8);
  }
  // Closes a Fortran record (its length before and after) or a line.
  void End() {
    const std::string body = std::exchange(record, {});
    const std::uint64_t n = body.size();
    const std::uint32_t n32 = static_cast<std::uint32_t>(n);
    if (v.encoding == Plot3dEncoding::FortranRecords) v.markerBytes == 8 ? Add(&n, 8) : Add(&n32, 4);
    const std::string marker = std::exchange(record, {});
    out += marker + body + marker + (v.encoding == Plot3dEncoding::Formatted ? "\n" : "");
  }
};

double GX(int b, int i, int j) { return 10.0 * b + i + 0.5 * j; }
double GY(int, int i, int j) { return 0.25 * i + j; }
double Rho(int b, int i, int j) { return 1.0 + 0.5 * i + 0.25 * j + b; }
double Q(int b, int m, int i, int j) {
  const double rho = Rho(b, i, j);
  return m == 0 ? rho : m == 1 ? rho * 200.0 : m == 2 ? rho * -50.0 : rho * 250000.0;
}

const std::vector<std::pair<int, int>> kMulti = {{3, 2}, {2, 4}};

// NAME.xyz and NAME.q of the variant; returns the path of the solution.
std::string WriteCase(const QTemporaryDir& dir, const std::string& name, Variant v,
                      const std::vector<std::pair<int, int>>& blocks) {
  Writer grid{v}, q{v};
  for (Writer* w : {&grid, &q}) {
    if (v.multi) w->Int(static_cast<std::int32_t>(blocks.size())), w->End();
    for (auto [ni, nj] : blocks) {
      w->Int(ni), w->Int(nj);
      if (v.dims == 3) w->Int(v.nk);
    }
    w->End();
  }
  for (std::size_t b = 0; b < blocks.size(); ++b) {
    const int B = static_cast<int>(b), ni = blocks[b].first, nj = blocks[b].second, planes = v.nk;
    for (int c = 0; c < v.dims; ++c)
      for (int k = 0; k < planes; ++k)
        for (int j = 0; j < nj; ++j)
          for (int i = 0; i < ni; ++i) grid.Real(c == 2 ? 0.75 : c ? GY(B, i, j) : GX(B, i, j));
    if (v.iblank)
      for (int k = 0; k < ni * nj * planes; ++k) grid.Int(1);
    grid.End();
    for (double h : {0.5 + B, 2.0, 1e6, 0.25}) q.Real(h);
    q.End();
    // A 3-D solution has rho w (here 3 rho) between rho v and the energy.
    for (int m : v.dims == 3 ? std::vector<int>{0, 1, 2, -1, 3} : std::vector<int>{0, 1, 2, 3})
      for (int k = 0; k < planes; ++k)
        for (int j = 0; j < nj; ++j)
          for (int i = 0; i < ni; ++i) q.Real(m < 0 ? 3.0 * Rho(B, i, j) : Q(B, m, i, j));
    q.End();
  }
  const std::string base = dir.filePath(QString::fromStdString(name)).toStdString();
  std::ofstream(base + ".xyz", std::ios::binary) << grid.out;
  std::ofstream(base + ".q", std::ios::binary) << q.out;
  return base + ".q";
}

std::optional<LoadResult> Load(const std::string& path) { return corvane::testing::LoadedFile(path).result; }

std::string Refusal(const std::string& path) { return corvane::testing::ErrorText([&] { Load(path); }); }

}  // namespace

TEST(Plot3dReader, EveryVariantReadsTheSameNodesAndFlow) {
  using E = Plot3dEncoding;
  const Variant variants[] = {
      {E::FortranRecords, 8, false, true, false}, {E::FortranRecords, 4, true, false, true},
      {E::PlainBinary, 4, true, false, true},     {E::PlainBinary, 8, false, true, false},
      {E::Formatted, 8, false, true, false},      {E::Formatted, 8, false, false, true},
      {E::FortranRecords, 8, false, true, false, 3}, {E::FortranRecords, 4, true, false, true, 3},
      {E::PlainBinary, 4, false, true, true, 3},     {E::Formatted, 8, false, true, false, 3},
      {E::FortranRecords, 4, true, true, true, 2, 1, 8}, {E::FortranRecords, 8, false, false, false, 3, 1, 8},
  };
  QTemporaryDir dir;
  int n = 0;
  for (const Variant& v : variants) {
    const auto blocks = v.multi ? kMulti : std::vector<std::pair<int, int>>{{3, 2}};
    const std::string path = WriteCase(dir, "case" + std::to_string(n++), v, blocks);
    SCOPED_TRACE(path);
    std::optional<LoadResult> r = Load(path);
    ASSERT_TRUE(r);
    const FieldDataSet& d = r->data;
    ASSERT_EQ(d.ZoneCount, static_cast<int>(blocks.size()));
    EXPECT_EQ(r->source.gridLayout, DescribeLayout({v.encoding, v.big, v.multi, v.encoding == E::Formatted ? 8 : v.realBytes, v.iblank,
                                                    v.dims, v.markerBytes},
                                                   Plot3dKind::Grid));
    const int b = d.ZoneCount - 1, i = blocks.back().first - 1, j = blocks.back().second - 1;
    EXPECT_EQ(d.Zones[static_cast<std::size_t>(b)].NI, blocks.back().first);
    const std::size_t node = static_cast<std::size_t>(NodeIndex(d, b, i, j));
    // U = ρu / ρ and V = ρv / ρ exactly.
    EXPECT_EQ((std::vector<double>{d.X[node], d.Y[node], d.Values[0][node], d.Values[4][node], d.Values[5][node]}),
              (std::vector<double>{GX(b, i, j), GY(b, i, j), Rho(b, i, j), 200.0, -50.0}));
    const double p = 0.4 * (Q(b, 3, i, j) - Rho(b, i, j) * (200.0 * 200.0 + 50.0 * 50.0) / 2);
    EXPECT_DOUBLE_EQ(d.Values[7][node], p);
    EXPECT_DOUBLE_EQ(d.Values[6][node], p / (Rho(b, i, j) * 288.7));
    EXPECT_EQ((std::pair{r->choices.velocityX, r->choices.pressure}), (std::pair{4, 7}));
    ASSERT_EQ(r->source.freeStream.size(), blocks.size());
    EXPECT_EQ((std::pair{r->source.freeStream.back().mach, r->source.freeStream.back().re}), (std::pair{0.5 + b, 1e6}));
    // The grid alone: the same nodes without variables.
    const corvane::testing::LoadedFile grid(path.substr(0, path.size() - 2) + ".xyz");
    ASSERT_TRUE(grid.result);
    EXPECT_TRUE(grid.d().ColumnCount == 2 && grid.d().X == d.X && grid.d().Y == d.Y && grid.notifier.warnings.empty());
  }
}

// Fortran's list-directed output writes repeated values as r*value.
TEST(Plot3dReader, RepeatCountsInFormattedFilesStandForTheirValues) {
  corvane::testing::TempFiles files;
  auto grid = [&](const char* name, const char* text) { return files.Write(text, name); };
  const corvane::testing::LoadedFile repeated(grid("r.xyz", "2 2\n0.0 1.0 0.0 1.0\n2*0.0 2*1.5D0\n"));
  ASSERT_TRUE(repeated.result);
  EXPECT_EQ((std::vector<double>{repeated.d().Y[static_cast<std::size_t>(NodeIndex(repeated.d(), 0, 1, 0))],
                                 repeated.d().Y[static_cast<std::size_t>(NodeIndex(repeated.d(), 0, 1, 1))]}),
            (std::vector<double>{0.0, 1.5}));
  for (const char* text : {"2 2\n0*1.0 0 1 0 1 0 0 1 1\n", "2 2\n99999999999999999*1.0\n", "2 2\n4*\n0 0 1 1\n"})
    EXPECT_NE(Refusal(grid("bad.xyz", text)).find("番目の数"), std::string::npos) << text;
}

TEST(Plot3dReader, DamagedFilesAreRefusedWithWhereTheyBroke) {
  QTemporaryDir dir;
  const Variant fortran{Plot3dEncoding::FortranRecords, 8, false, true, false};
  const Variant text{Plot3dEncoding::Formatted, 8, false, true, false};
  const std::string cut = WriteCase(dir, "cut", fortran, kMulti);
  std::filesystem::resize_file(cut, std::filesystem::file_size(cut) - 4);
  const std::string gridCut = WriteCase(dir, "gridcut", fortran, kMulti);
  const std::string gridOfCut = gridCut.substr(0, gridCut.size() - 2) + ".xyz";
  std::filesystem::resize_file(gridOfCut, std::filesystem::file_size(gridOfCut) - 12);
  const std::string word = WriteCase(dir, "word", text, kMulti);
  std::ofstream(word, std::ios::app) << "abc\n";
  const std::string extra = WriteCase(dir, "extra", text, kMulti);
  std::ofstream(extra, std::ios::app) << "1.0\n";
  const std::string other = WriteCase(dir, "other", fortran, kMulti);
  std::filesystem::copy_file(WriteCase(dir, "small", fortran, {{3, 2}, {2, 3}}), other,
                             std::filesystem::copy_options::overwrite_existing);
  const std::string solid = WriteCase(dir, "solid", {Plot3dEncoding::FortranRecords, 8, false, true, false, 3, 2}, kMulti);
  const std::string lonely = dir.filePath("lonely.q").toStdString();
  std::filesystem::copy_file(cut, lonely);
  const std::pair<std::string, const char*> cases[] = {
      {cut, "ブロック2 (zone[1]) の解のレコード"},
      {gridCut, "ブロック2 (zone[1]) の座標のレコード"},
      {word, "\"abc\" は数値ではありません"},
      {extra, "数の個数"},
      {other, "zone[1] の格子点数 (2 × 3)"},
      {lonely, "見つかりません"},
      {solid, "ブロック1 (zone[0]) は3次元 (nk = 2) です"},
  };
  for (const auto& [path, expected] : cases) {
    const std::string message = Refusal(path);
    EXPECT_NE(message.find(expected), std::string::npos) << path << ": " << message;
  }
}

TEST(Plot3dReader, InfoShowsFormatFreeStreamAndNodes) {
  QTemporaryDir dir;
  const std::string q = WriteCase(dir, "info", {Plot3dEncoding::PlainBinary, 4, true, false, true}, {{3, 2}});
  const QString file = QString::fromStdString(q);
  const corvane::testing::CommandRun run = corvane::testing::RunCorvane({"info", file, "--json", "--node", "0,2,1", "--settings", "/dev/null"});
  ASSERT_EQ(run.status, 0) << run.errors.toStdString();
  const QJsonObject o = QJsonDocument::fromJson(run.output.toUtf8()).object();
  EXPECT_EQ(o["format"].toString(), "plot3d");
  EXPECT_EQ(o["freeStream"].toObject()["alpha"].toDouble(), 2.0);
  const QJsonObject node = o["nodes"].toArray()[0].toObject();
  EXPECT_EQ(node["x"].toDouble(), GX(0, 2, 1));
  EXPECT_EQ(node["values"].toArray()[4].toDouble(), 200.0);
}
