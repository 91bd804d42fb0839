#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "data/DataFileLoader.h"
#include "data/Errors.h"
#include "data/Plot3dLayout.h"

using namespace corvane;

namespace {

struct Variant {
  Plot3dEncoding encoding;
  int realBytes;
  bool big, multi, iblank;
};

// Writes numbers the way a PLOT3D writer of the given variant would.
class Writer {
 public:
  explicit Writer(Variant v) : v_(v) {}
  void Int(std::int32_t n) { v_.encoding == Plot3dEncoding::Formatted ? Text(std::to_string(n)) : Bytes(&n, 4); }
  void Real(double x) {
    if (v_.encoding == Plot3dEncoding::Formatted) {
      char buf[40];
      std::snprintf(buf, sizeof buf, "%.17E", x);
      for (char* c = buf; *c; ++c) *c = *c == 'E' ? 'D' : *c;  // as Fortran writes doubles
      Text(buf);
    } else if (v_.realBytes == 4) {
      float f = static_cast<float>(x);
      Bytes(&f, 4);
    } else {
      Bytes(&x, 8);
    }
  }
  // Closes a Fortran record (its length before and after) or a line.
  void End() {
    if (v_.encoding == Plot3dEncoding::FortranRecords) {
      std::uint32_t n = static_cast<std::uint32_t>(record_.size());
      std::string marker(reinterpret_cast<char*>(&n), 4);
      if (v_.big) std::reverse(marker.begin(), marker.end());
      out_ += marker + record_ + marker;
    } else {
      out_ += record_ + (v_.encoding == Plot3dEncoding::Formatted ? "\n" : "");
    }
    record_.clear();
  }
  void Save(const std::string& path) { std::ofstream(path, std::ios::binary) << out_; }

 private:
  void Text(const std::string& t) { record_ += t + " "; }
  void Bytes(const void* p, int n) {
    std::string b(static_cast<const char*>(p), static_cast<std::size_t>(n));
    if (v_.big) std::reverse(b.begin(), b.end());
    record_ += b;
  }
  Variant v_;
  std::string out_, record_;
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
  Writer grid(v), q(v);
  for (Writer* w : {&grid, &q}) {
    if (v.multi) {
      w->Int(static_cast<std::int32_t>(blocks.size()));
      w->End();
    }
    for (auto [ni, nj] : blocks) w->Int(ni), w->Int(nj);
    w->End();
  }
  for (std::size_t b = 0; b < blocks.size(); ++b) {
    const int B = static_cast<int>(b), ni = blocks[b].first, nj = blocks[b].second;
    for (int c = 0; c < 2; ++c)
      for (int j = 0; j < nj; ++j)
        for (int i = 0; i < ni; ++i) grid.Real(c ? GY(B, i, j) : GX(B, i, j));
    if (v.iblank)
      for (int k = 0; k < ni * nj; ++k) grid.Int(1);
    grid.End();
    for (double h : {0.5 + B, 2.0, 1e6, 0.25}) q.Real(h);
    q.End();
    for (int m = 0; m < 4; ++m)
      for (int j = 0; j < nj; ++j)
        for (int i = 0; i < ni; ++i) q.Real(Q(B, m, i, j));
    q.End();
  }
  const std::string base = dir.filePath(QString::fromStdString(name)).toStdString();
  grid.Save(base + ".xyz");
  q.Save(base + ".q");
  return base + ".q";
}

std::optional<LoadResult> Load(const std::string& path) {
  RecordingNotifier notifier;
  NullProgress progress;
  return LoadAnyDataFile(path, LoadOptions(), FieldDataSet(), 0, notifier, progress);
}

std::string Refusal(const std::string& path) {
  try {
    Load(path);
  } catch (const CorvaneError& e) {
    return e.what();
  }
  return "(read)";
}

}  // namespace

TEST(Plot3dReader, EveryVariantReadsTheSameNodesAndFlow) {
  using E = Plot3dEncoding;
  const Variant variants[] = {
      {E::FortranRecords, 8, false, true, false}, {E::FortranRecords, 4, true, false, true},
      {E::FortranRecords, 8, true, true, true},   {E::PlainBinary, 4, true, false, true},
      {E::PlainBinary, 8, false, true, false},    {E::PlainBinary, 4, false, true, true},
      {E::Formatted, 8, false, true, false},      {E::Formatted, 8, false, false, true},
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
    EXPECT_EQ(r->source.gridLayout, DescribeLayout({v.encoding, v.big, v.multi, v.encoding == E::Formatted ? 8 : v.realBytes, v.iblank},
                                                   Plot3dKind::Grid));
    const int b = d.ZoneCount - 1, i = blocks.back().first - 1, j = blocks.back().second - 1;
    EXPECT_EQ(d.Zones[static_cast<std::size_t>(b)].NI, blocks.back().first);
    const std::size_t node = static_cast<std::size_t>(NodeIndex(d, b, i, j));
    EXPECT_EQ(d.X[node], GX(b, i, j));
    EXPECT_EQ(d.Y[node], GY(b, i, j));
    EXPECT_EQ(d.Values[0][node], Rho(b, i, j));
    EXPECT_EQ(d.Values[4][node], 200.0);  // U = ρu / ρ
    EXPECT_EQ(d.Values[5][node], -50.0);
    const double p = 0.4 * (Q(b, 3, i, j) - Rho(b, i, j) * (200.0 * 200.0 + 50.0 * 50.0) / 2);
    EXPECT_DOUBLE_EQ(d.Values[7][node], p);
    EXPECT_DOUBLE_EQ(d.Values[6][node], p / (Rho(b, i, j) * 288.7));
    EXPECT_EQ(r->xvecIndex, 4);
    EXPECT_EQ(r->prsIndex, 7);
    ASSERT_EQ(r->source.freeStream.size(), blocks.size());
    EXPECT_EQ(r->source.freeStream.back().mach, 0.5 + b);
    EXPECT_EQ(r->source.freeStream.back().re, 1e6);
  }
}

TEST(Plot3dReader, GridAloneGivesNodesWithoutVariables) {
  QTemporaryDir dir;
  const std::string q = WriteCase(dir, "g", {Plot3dEncoding::PlainBinary, 8, false, true, false}, kMulti);
  RecordingNotifier notifier;
  NullProgress progress;
  std::optional<LoadResult> r =
      LoadAnyDataFile(q.substr(0, q.size() - 2) + ".xyz", LoadOptions(), FieldDataSet(), 0, notifier, progress);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->data.ColumnCount, 2);
  EXPECT_EQ(r->data.X[static_cast<std::size_t>(NodeIndex(r->data, 1, 1, 3))], GX(1, 1, 3));
  EXPECT_TRUE(notifier.warnings.empty());
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
  const std::string lonely = dir.filePath("lonely.q").toStdString();
  std::filesystem::copy_file(cut, lonely);
  const std::pair<std::string, const char*> cases[] = {
      {cut, "ブロック2 (zone[1]) の解のレコード"},
      {gridCut, "ブロック2 (zone[1]) の座標のレコード"},
      {word, "\"abc\" は数値ではありません"},
      {extra, "数の個数"},
      {other, "zone[1] の格子点数 (2 × 3)"},
      {lonely, "見つかりません"},
  };
  for (const auto& [path, expected] : cases) {
    const std::string message = Refusal(path);
    EXPECT_NE(message.find(expected), std::string::npos) << path << ": " << message;
  }
}

TEST(Plot3dReader, InfoShowsFormatFreeStreamAndNodes) {
  QTemporaryDir dir;
  const std::string q = WriteCase(dir, "info", {Plot3dEncoding::PlainBinary, 4, true, false, true}, {{3, 2}});
  auto run = [](const QStringList& args, QByteArray* out) {
    QProcess p;
    p.start(CORVANE_BINARY, QStringList{"info"} + args + QStringList{"--settings", "/dev/null"});
    p.waitForFinished(60000);
    if (out) *out = p.readAllStandardOutput();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  };
  QByteArray out;
  ASSERT_EQ(run({QString::fromStdString(q), "--json", "--node", "0,2,1"}, &out), 0);
  const QJsonObject o = QJsonDocument::fromJson(out).object();
  EXPECT_EQ(o["format"].toString(), "plot3d");
  EXPECT_EQ(o["freeStream"].toObject()["alpha"].toDouble(), 2.0);
  const QJsonObject node = o["nodes"].toArray()[0].toObject();
  EXPECT_EQ(node["x"].toDouble(), GX(0, 2, 1));
  EXPECT_EQ(node["values"].toArray()[4].toDouble(), 200.0);
  std::filesystem::resize_file(q, 20);
  EXPECT_EQ(run({QString::fromStdString(q)}, nullptr), 1);
}

TEST(DataFileLoader, FormatByContentThenExtension) {
  QTemporaryDir dir;
  auto file = [&](const char* name, const std::string& bytes) {
    const std::string path = dir.filePath(name).toStdString();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  };
  const std::string hdf5("\x89HDF\r\n\x1a\n", 8);
  file("pair.xyz", "1 1\n");
  const std::pair<std::string, DataFileFormat> cases[] = {
      {file("flow.dat", hdf5 + "rest"), DataFileFormat::Cgns},
      {file("flow.CGNS", "not hdf5"), DataFileFormat::Cgns},
      {file("pair.q", "x"), DataFileFormat::Plot3d},
      {file("alone.Q", "x"), DataFileFormat::Plot3d},
      {file("grid.g", "x"), DataFileFormat::Plot3d},
      {file("plain.txt", "x"), DataFileFormat::Text},
  };
  for (const auto& [path, format] : cases) EXPECT_EQ(DetectDataFileFormat(path), format) << path;
}
