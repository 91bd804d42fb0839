#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <span>

#include "../../tools/GridGenerator.h"
#include "readers/DataReader.h"
#include "fieldview/ContourRanges.h"
#include "fieldview/LoadedView.h"
#include "field/DerivedQuantities.h"
#include "base/Errors.h"
#include "field/DeferredRows.h"
#include "field/GasFormula.h"
#include "base/Random.h"
#include "readers/DecimalNumber.h"
#include "readers/LineSplitters.h"
#include "field/VariableRows.h"
#include "TestSupport.h"

using namespace corvane;

namespace {

std::string DataFile(const char* name) { return corvane::testing::ReaderTestFile(name); }
using corvane::testing::SmallLayout;

using Load = corvane::testing::LoadedFile;

std::string ErrorOf(const std::string& path, const LoadOptions& o) { return corvane::testing::ErrorText([&] { Load load(path, o); }); }

// Everything a load computes from the node lines, bit for bit.
void ExpectSameNodes(const LoadResult& ra, const LoadResult& rb, const std::string& what) {
  const FieldDataSet &a = ra.data, &b = rb.data;
  auto bits = [](std::span<const double> v) {
    return std::vector<std::uint64_t>(reinterpret_cast<const std::uint64_t*>(v.data()),
                                      reinterpret_cast<const std::uint64_t*>(v.data() + v.size()));
  };
  EXPECT_TRUE(bits(a.X) == bits(b.X) && bits(a.Y) == bits(b.Y)) << what;
  for (auto [x, y] : {std::pair{&ra.view.ContourMax, &rb.view.ContourMax}, {&ra.view.ContourMin, &rb.view.ContourMin}})
    EXPECT_EQ(bits(*x), bits(*y)) << what;
  ASSERT_EQ(a.Values.size(), b.Values.size()) << what;
  for (std::size_t r = 0; r < a.Values.size(); ++r) EXPECT_EQ(bits(a.Values[r]), bits(b.Values[r])) << what << " row " << r;
  EXPECT_EQ(bits(std::vector{a.XMax, a.YMax, a.XMin, a.YMin}), bits(std::vector{b.XMax, b.YMax, b.XMin, b.YMin})) << what;
}

// The text of a file whose numbers take every form a data line allows (signs, blanks, quotes,
// exponents, nan, long digit strings), each line ending in LF, CR LF or CR.
std::string MixedFile(Separator sep, LoopOrder order, const std::vector<std::pair<int, int>>& zones,
                      std::vector<std::vector<double>>& nodes) {
  const char cut = sep == Separator::Commas ? ',' : (sep == Separator::Tabs ? '\t' : ' ');
  std::string text = "mixed\r\n\n";
  for (auto [ni, nj] : zones) text += std::to_string(ni - 1) + cut + std::to_string(nj - 1) + "\n";
  text += std::string("x") + cut + "y" + cut + "A" + cut + "B\n";
  std::uint64_t seed = 12345;
  auto next = [&] { return seed = seed * 6364136223846793005ull + 1442695040888963407ull; };
  static const char* const kEnds[3] = {"\n", "\r\n", "\r"};
  int first = 0;
  for (auto [ni, nj] : zones) {
    nodes.resize(static_cast<std::size_t>(first + ni * nj), std::vector<double>(4));
    for (int a = 0; a < (order == LoopOrder::JI ? nj : ni); ++a)
      for (int b = 0; b < (order == LoopOrder::JI ? ni : nj); ++b) {
        const int i = order == LoopOrder::JI ? b : a, j = order == LoopOrder::JI ? a : b;
        std::string line = sep == Separator::Spaces && next() % 4 == 0 ? "\t " : "";
        for (int k = 0; k < 4; ++k) {
          const double v = static_cast<double>(static_cast<std::int64_t>(next() >> 11) - (std::int64_t{1} << 52)) *
                           std::pow(10.0, static_cast<double>(next() % 41) - 20.0) / 3.0;
          char number[64];
          static const char* const kForms[5] = {"%.8e", "%.17g", "%+.3f", "%.20E", "%g"};
          std::snprintf(number, sizeof number, kForms[next() % 5], v);
          std::string field = next() % 50 == 0 ? "nan" : number;
          double read = 0.0;
          EXPECT_TRUE(ParseDataNumber(field, read)) << field;
          nodes[static_cast<std::size_t>(first + nj * i + j)][static_cast<std::size_t>(k)] = read;
          if (sep == Separator::Commas && next() % 10 == 0) field = "\"" + field + "\"";
          if (sep != Separator::Spaces && next() % 10 == 0) field = " " + field + " ";
          if (k > 0) line += sep == Separator::Spaces ? std::string(1 + next() % 3, ' ') : std::string(1, cut);
          line += field;
        }
        text += line + kEnds[next() % 3];
      }
    first += ni * nj;
  }
  return text;
}

}  // namespace

// Large enough for both cores; every separator, loop order and line end: what one thread reads,
// what two threads read in windows that cut lines and CR LF pairs, and what each field reads as
// alone agree bit for bit.
TEST(DataReader, EveryFormOfNumberReadsTheSameOnBothCoresAsFieldByField) {
  const std::vector<std::pair<int, int>> zones = {{150, 130}, {1, 1}, {97, 103}};
  corvane::testing::TempFiles files;
  for (Separator sep : {Separator::Spaces, Separator::Commas, Separator::Tabs}) {
    for (LoopOrder order : {LoopOrder::IJ, LoopOrder::JI}) {
      const std::string what = "separator " + std::to_string(static_cast<int>(sep)) + " order " + std::to_string(static_cast<int>(order));
      std::vector<std::vector<double>> nodes;
      const std::string path = files.Write(MixedFile(sep, order, zones, nodes), "mixed.dat");
      LoadOptions o = SmallLayout(3);
      o.separator = sep, o.loopOrder = order, o.readThreads = 1;
      Load single(path, o);
      ASSERT_TRUE(single.result) << what;
      o.readThreads = 2, o.readWindow = 613;
      Load both(path, o);
      ASSERT_TRUE(both.result) << what;
      ExpectSameNodes(*single.result, *both.result, what);
      // Each field as ParseDataNumber reads it on its own.
      std::vector<double> column(nodes.size());
      for (std::size_t k = 0; k < 4; ++k) {
        for (std::size_t n = 0; n < nodes.size(); ++n) column[n] = nodes[n][k];
        const NodeRow& row = k == 0 ? both.d().X : (k == 1 ? both.d().Y : both.d().Values[k - 2]);
        EXPECT_EQ(0, std::memcmp(row.data(), column.data(), column.size() * sizeof(double))) << what << " column " << k;
      }
    }
  }
}

TEST(DataReader, FaultsFoundOnBothCoresNameTheFirstFaultyNodeInNodeOrder) {
  // 200 x 200 nodes from line 4 with two spoilt lines: data line 1 has a word, data line 30000
  // too few fields. Written i outer they hold nodes (0, 1) and (150, 0); written j outer, nodes
  // (1, 0) and (0, 150), and then the short line's node comes first.
  corvane::testing::TempFiles files;
  auto write = [&](int lines) {
    std::string text = "t\n\n199 199\nx y A\n";
    for (int line = 0; line < lines; ++line) text += line == 30000 ? "1 2\n" : (line == 1 ? "1 2 three\n" : "1 2 3\n");
    return files.Write(text, "late_fault.dat");
  };
  const std::string path = write(200 * 200);
  LoadOptions o = SmallLayout();
  o.readWindow = 4096;
  const std::string e = ErrorOf(path, o);
  EXPECT_TRUE(e.find("5行目") != std::string::npos && e.find("\"three\"") != std::string::npos) << e;
  o.loopOrder = LoopOrder::JI;
  Load ji(path, o);
  EXPECT_FALSE(ji.result);
  EXPECT_EQ(ji.notifier.warnings, (std::vector<std::string>{"zone[0]の点(0,150)で、データの個数が不足しています"}));
  // One line short of the last node: the line count comes first, as before any node is read.
  write(200 * 200 - 1);
  Load shortFile(path, o);
  EXPECT_FALSE(shortFile.result);
  EXPECT_EQ(shortFile.notifier.warnings, (std::vector<std::string>{"zone[0]の格子点数とファイルの行数が合いません: 格子点数の行 (2行目) の \"199 199\" は 200 × 200 = 40000 点なので、データは 4 行目から 40003 行目までの 40000 行が要りますが、ファイルは 40003 行 (データ 39999 行) です (行は先頭行を0行目として数えます)"}));
}

TEST(DataReader, AbortStopsALoadButAFlagLeftFromBeforeDoesNot) {
  corvane::testing::TempFiles files;
  const std::string path = files.dir.filePath("abort.dat").toStdString();
  gen::FlowGridSpec grid;
  grid.zones = {{300, 200}};
  ASSERT_TRUE(gen::WriteFlowGrid(path, grid));
  LoadOptions o = SmallLayout();
  o.readWindow = 8192;
  for (bool leftOver : {false, true}) {
    corvane::testing::RecordingProgress progress;
    progress.abort = leftOver;
    progress.onAbortCheck = [&] {
      if (progress.positions.size() == 3) progress.abort = true;  // the abort command mid-load
    };
    RecordingNotifier notifier;
    auto result = LoadDataFile(path, o, notifier, progress);
    EXPECT_EQ(result.has_value(), leftOver);
    EXPECT_TRUE(notifier.warnings.empty());
    EXPECT_GT(progress.positions.size(), 2u);  // the gauge moved
    if (!leftOver) {
      EXPECT_EQ(progress.statuses.back(), "データ読み込みを中止しました");
    }
  }
}

TEST(DataReader, LabelsGiveColumnsSelectorsAndRGroupItems) {
  LoadOptions o = SmallLayout();
  o.separator = Separator::Commas;
  Load quoted(DataFile("quoted_labels_crlf.csv"), o);
  ASSERT_TRUE(quoted.result);
  EXPECT_EQ(quoted.d().ColumnCount, 4);
  EXPECT_EQ(quoted.d().VariableNames, (std::vector<std::string>{"A", ""}));
  EXPECT_EQ(quoted.d().Y[0], 2.0);  // "2.0" in quotes

  Load sjis(DataFile("shift_jis_labels.dat"), SmallLayout());
  ASSERT_TRUE(sjis.result);
  EXPECT_EQ(sjis.d().VariableNames, (std::vector<std::string>{"速度", "圧力"}));
  Load utf8(DataFile("utf8_labels.dat"), SmallLayout());
  ASSERT_TRUE(utf8.result);
  EXPECT_EQ(utf8.d().VariableNames, sjis.d().VariableNames);

  o = SmallLayout(), o.IncludeVelCheck = true;
  Load gas(DataFile("derived_quantities.dat"), o);
  ASSERT_TRUE(gas.result);
  EXPECT_EQ(RGroupItemsOf(gas.d(), true), (std::vector<std::string>{"U", "V", "T", "P", "マッハ数", "全圧", "渦度", "速さ"}));
  EXPECT_EQ((std::pair{gas.result->choices.velocityX, gas.result->choices.pressure}), (std::pair{0, 3}));
  // The extents always hold the origin.
  EXPECT_EQ((std::vector<double>{gas.d().XMin, gas.d().XMax, gas.d().YMin}), (std::vector<double>{0.0, 10.0, 0.0}));

  o.separator = Separator::Tabs;  // a tab file without a final line break still has its last node
  Load tabs(DataFile("tabs_no_final_break.tsv"), o);
  ASSERT_TRUE(tabs.result);
  EXPECT_EQ(tabs.At(0, 0, 1, 1), 6.0);
}

TEST(DataReader, FormatFaultsWarnWithTheProgramsTexts) {
  const std::string missing = "zone[0]の点(0,1)で、データの個数が不足しています";
  const std::string twoSizes = "領域点数はxi,eta方向合わせて２点で指定して下さい";
  // short_lines_only has too few bytes for complete lines: the first faulty node is found
  // without node storage. Three size fields are read as two, one is refused.
  const struct {
    const char* file;
    bool loads;
    std::vector<std::string> warnings, messages;
  } cases[] = {{"short_file.dat", false, {"zone[0]の格子点数とファイルの行数が合いません: 格子点数の行 (2行目) の \"1 1\" は 2 × 2 = 4 点なので、データは 4 行目から 7 行目までの 4 行が要りますが、ファイルは 7 行 (データ 3 行) です (行は先頭行を0行目として数えます)"}, {}},
               {"short_line.dat", false, {missing}, {}},
               {"short_lines_only.dat", false, {missing}, {}},
               {"three_size_fields.dat", true, {}, {twoSizes}},
               {"one_size_field.dat", false, {}, {twoSizes}}};
  for (const auto& c : cases) {
    Load l(DataFile(c.file), SmallLayout());
    EXPECT_EQ(l.result.has_value(), c.loads) << c.file;
    EXPECT_EQ(l.notifier.warnings, c.warnings) << c.file;
    EXPECT_EQ(l.notifier.messages, c.messages) << c.file;
  }
}

TEST(DataReader, BadSizesAreRefusedBeforeAnythingIsAllocated) {
  for (const char* name : {"negative_size.dat", "huge_size.dat", "overflowing_size.dat", "billion_nodes.dat"}) {
    Load l(DataFile(name), SmallLayout());
    EXPECT_FALSE(l.result) << name;
    ASSERT_EQ(l.notifier.warnings.size(), 1u) << name;
    EXPECT_NE(l.notifier.warnings[0].find("zone[0]"), std::string::npos) << l.notifier.warnings[0];
  }
  LoadOptions none = SmallLayout();
  none.ZCountBox = 0;
  Load zero(DataFile("short_file.dat"), none);
  EXPECT_TRUE(!zero.result && zero.notifier.warnings.size() == 1u);
}

TEST(DataReader, ConversionErrorsNameFileLineAndText) {
  for (const auto& [file, parts] : std::vector<std::pair<const char*, std::vector<std::string>>>{
           {"word_in_number.dat", {"word_in_number.dat", "6行目", "\"abc\""}},
           {"word_in_size.dat", {"2行目", "\"two\""}},
           {"overflowing_number.dat", {"1e999"}},
           {"empty.dat", {"ラベル行"}},
           {"no_such_file.dat", {"no_such_file.dat"}}}) {
    const std::string e = ErrorOf(DataFile(file), SmallLayout());
    for (const std::string& part : parts) EXPECT_NE(e.find(part), std::string::npos) << e;
  }
}

TEST(DataReader, BinaryFilesAreRefusedWithoutHarm) {
  for (int zones : {1, 3}) {  // a refusal thrown or nothing loaded
    RecordingNotifier n;
    NullProgress p;
    corvane::testing::ErrorText([&] { EXPECT_FALSE(LoadDataFile(DataFile("binary.dat"), SmallLayout(zones), n, p)); });
  }
}

TEST(DataReader, NanAndInfinityAreReadAndNeverSpoilTheExtents) {
  Load l(DataFile("nan_inf_values.dat"), SmallLayout());
  ASSERT_TRUE(l.result);
  EXPECT_TRUE(std::isnan(l.d().X[0]) && std::isinf(l.At(0, 0, 0, 1)));
  EXPECT_EQ(l.At(1, 0, 1, 1), 0.0);  // 1e-400 underflows to zero
  // The automatic range passes over infinite values as over NaN.
  const FieldView& v = l.result->view;
  EXPECT_EQ((std::vector<double>{l.d().XMax, v.ContourMax[0], v.ContourMin[0], v.ContourMax[1]}),
            (std::vector<double>{1.0, 4.0, 4.0, 3.0}));
}

TEST(DerivedQuantities, MachNumberAndTotalPressureWithFallbacks) {
  Load l(DataFile("derived_quantities.dat"), SmallLayout());
  ASSERT_TRUE(l.result);
  FieldDataSet& d = l.result->data;
  ASSERT_TRUE(RowPending(d, d.MachNumberRow()) && RowPending(d, d.TotalPressureRow()));
  const double m = l.At(d.MachNumberRow(), 0, 0, 0);
  EXPECT_NEAR(m, std::sqrt(250000.0 / 1.4 / 288.7 / 300.0), 1e-15);
  EXPECT_NEAR(l.At(d.TotalPressureRow(), 0, 0, 0) / 1000.0, std::pow(1.0 + 0.2 * m * m, 3.5), 1e-14);
  // T = 0 and p = -5 use 288.3 K and 101325 Pa; the stored values stay.
  EXPECT_EQ((std::vector<double>{l.At(d.MachNumberRow(), 0, 1, 0), l.At(d.TotalPressureRow(), 0, 1, 0), l.At(2, 0, 1, 0)}),
            (std::vector<double>{0.0, 101325.0, 0.0}));
  // Their automatic ranges come with them.
  ASSERT_TRUE(TakeComputedRanges(d, l.result->view, SmallLayout()));
  EXPECT_EQ(l.result->view.ContourMax[static_cast<std::size_t>(d.MachNumberRow())], m);

  FieldDataSet copy = d;
  copy.Values[0][0] = 1.0, copy.Values[2][0] = 0.0;
  EXPECT_NEAR(ComputeGasRow(copy, 0, 1, 2, 3, 1.4, 288.7, true)[0], std::sqrt((1.0 + 160000.0) / 1.4 / 288.7 / 288.3), 1e-15);
  // Undefined gas constants give inf or NaN, not a fault; without a velocity both rows are zero.
  EXPECT_FALSE(std::isfinite(ComputeGasRow(copy, 0, 1, 2, 3, 1.0, 0.0, true)[0]));
  EXPECT_EQ(ComputeGasRow(copy, -1, 1, 2, 3, 1.4, 288.7, false)[0], 0.0);
}

// The total pressure's power in extended precision agrees with the library's powl to the last
// bit of the stored double, or (where powl's own rounding differs) within one unit of it; its
// logarithm for the tiny correction term is good to 1e-15.
TEST(DerivedQuantities, TotalPressureFollowsTheExtendedPower) {
  for (double x : {1.0, 1.0 + 0x1p-52, 1.0078125, 1.4142135623730951, 1.9999999999999998, 2.0, 3.5, 1e-300, 7e280})
    EXPECT_NEAR(NearLog(x), static_cast<double>(std::log(static_cast<long double>(x))),
                1e-15 * std::max(1.0, std::fabs(std::log(x))))
        << x;
  Random random(3);
  for (const double gamma : {1.4, 1.3, 5.0 / 3.0}) {
    const GasFormula gas(gamma, 287.0);
    const long double g = gamma;
    int equal = 0;
    for (int k = 0; k < 20000; ++k) {
      const double u = random.Next(2000000) * 1e-3 - 1000.0, v = random.Next(2000) - 1000.0, T = 50.0 + random.Next(400);
      const double p = 1000.0 + random.Next(300000);
      double mach = 0.0, total = 0.0;
      gas(u, v, T, p, mach, total);
      const long double m = mach;
      const double reference = static_cast<double>(p * powl(1.0L + (g - 1.0L) * 0.5L * m * m, g / (g - 1.0L)));
      equal += total == reference;
      ASSERT_LE(std::fabs(total - reference), std::nextafter(reference, INFINITY) - reference) << gamma << " " << u << " " << T;
    }
    EXPECT_GT(equal, 19900) << gamma;
  }
}

// Size lines holding the point counts instead of the last indices: the file then holds exactly
// the points the counts say, and the warning tells how the sizes are meant; a file short for
// another reason gets no such hint.
TEST(DataReader, AShortFileSaysWhatItsSizeLinesAskForAndWhenTheyCountPoints) {
  corvane::testing::TempFiles files;
  auto write = [&](const char* name, const std::vector<std::string>& sizes, int points) {
    std::string text = "title\n\n";
    for (const std::string& size : sizes) text += size + "\n";
    text += "x y A\n";
    for (int k = 0; k < points; ++k) text += std::to_string(k) + " " + std::to_string(k % 3) + " " + std::to_string(0.5 * k) + "\n";
    return files.Write(text, name);
  };
  const struct {
    const char* name;
    std::vector<std::string> sizes;
    int points;
    std::string warning;
  } cases[] = {
      {"_counts.dat", {"3 2", "2 2"}, 10,
       "zone[0]の格子点数とファイルの行数が合いません: 格子点数の行 (2行目) の \"3 2\" は 4 × 3 = 12 点、全領域で 21 点"
       "なので、データは 5 行目から 25 行目までの 21 行が要りますが、ファイルは 15 行 (データ 10 行) です (行は先頭行を0行目として数えます)。"
       "格子点数は点の数ではなく i, j の最後の番号 (点の数 − 1) です: 3 × 2 点なら \"2 1\" と書きます"},
      {"_second_zone_short.dat", {"1 1", "2 1"}, 8,
       "zone[1]の格子点数とファイルの行数が合いません: 格子点数の行 (3行目) の \"2 1\" は 3 × 2 = 6 点、全領域で 10 点"
       "なので、データは 5 行目から 14 行目までの 10 行が要りますが、ファイルは 13 行 (データ 8 行) です (行は先頭行を0行目として数えます)"},
  };
  for (const auto& c : cases) {
    const std::string path = write(c.name, c.sizes, c.points);
    Load l(path, SmallLayout(static_cast<int>(c.sizes.size())));
    EXPECT_FALSE(l.result) << c.name;
    EXPECT_EQ(l.notifier.warnings, std::vector<std::string>{c.warning}) << c.name;
  }
}
