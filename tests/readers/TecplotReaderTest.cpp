#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <string>

#include "readers/DataFileLoader.h"
#include "base/Errors.h"
#include "readers/TecplotReader.h"
#include "TestSupport.h"

using namespace corvane;
using namespace corvane::testing;

namespace {

// The nodes of the small field written point by point (X Y P).
const std::string kPointZone = "0 0 0\n1 0 100\n2 0 200\n0 10 1\n1 10 101\n2 10 201\n";

// The test files are written as case.dat unless named.
struct TecplotReader : ::testing::Test, TempFiles {
  std::string Write(const std::string& text, const char* name = "case.dat") { return TempFiles::Write(text, name); }
};

TEST_F(TecplotReader, PointAndBlockPackingInEveryWrittenForm) {
  // Quoted names spread over lines, comments, commas, lower-case keywords, Fortran numbers.
  LoadedFile point(Write("# written by a solver\n"
                         "title = \"case\"\nvariables = \"X\",\n  \"Y\"\n \"P\"\n"
                         "zone t=\"inlet\", i=3, j=2, datapacking=point\n"
                         "0 0 0\n1.0D+00 0 1.0E+02\n2, 0, 2.0d2\n"
                         "# a comment among the values\n"
                         "0 1.0+01 1\n1 10 101\n2 10 201\n"));
  ASSERT_TRUE(point.result);
  ExpectSmallField(point);
  EXPECT_EQ(point.result->source.format, DataFileFormat::Tecplot);
  EXPECT_EQ(point.result->source.title, "case");
  EXPECT_EQ(point.result->source.zoneNames.at(0), "inlet");
  EXPECT_EQ(point.d().VariableNames, std::vector<std::string>{"P"});

  // The old F=BLOCK, unquoted names, all values on few lines; x and y found by name.
  LoadedFile block(Write("VARIABLES = P, CoordinateX CoordinateY\nZONE I=3 J=2 F=BLOCK\n"
                         "0 100 200 1 101 201\n0 1 2 0 1 2\n0 0 0 10 10 10\n"));
  ExpectSmallField(block);

  // Exponents without their letter, repeat counts and tiny numbers.
  LoadedFile forms(Write("VARIABLES = X Y P\nZONE I=3, J=2, DATAPACKING=BLOCK\n"
                         "0 1 2 0 1 2\n3*0.0 3*1.0+01\n0.0 1.0+02 2.0+2 1 1.01+2 2.01+02\n"));
  ExpectSmallField(forms);
  LoadedFile tiny(Write("VARIABLES = X Y P\nZONE I=1 J=1\n0 0 1.0-100\n"));
  ASSERT_TRUE(tiny.result);
  EXPECT_DOUBLE_EQ(tiny.At(0, 0, 0, 0), 1e-100);
}

TEST_F(TecplotReader, CellCentredValuesAreAveragedOntoTheNodes) {
  // 3 × 2 nodes have 2 × 1 cells: C = 4 and 8, so the middle column of nodes takes 6.
  LoadedFile f(Write("VARIABLES = X Y P C\nZONE I=3 J=2 DATAPACKING=BLOCK VARLOCATION=([4]=CELLCENTERED)\n"
                     "0 1 2 0 1 2\n0 0 0 10 10 10\n0 100 200 1 101 201\n4 8\n"));
  ASSERT_TRUE(f.result);
  ExpectSmallField(f);
  for (int j = 0; j < 2; ++j) {
    EXPECT_DOUBLE_EQ(f.At(1, 0, 0, j), 4);
    EXPECT_DOUBLE_EQ(f.At(1, 0, 1, j), 6);
    EXPECT_DOUBLE_EQ(f.At(1, 0, 2, j), 8);
  }
  EXPECT_TRUE(f.result->source.cellCentred);
  // Cell-centred values cannot be written point by point.
  EXPECT_NE(ErrorText([&] { LoadedFile(Write("VARIABLES = X Y C\nZONE I=2 J=2 VARLOCATION=([3]=CELLCENTERED)\n0 0 1\n")); })
                .find("BLOCK"),
            std::string::npos);
}

TEST_F(TecplotReader, ZonesAuxiliaryDataSharingAndSkippedRecords) {
  LoadedFile f(Write("TITLE=\"t\"\nVARIABLES=\"X\" \"Y\" \"P\" \"Q\"\nDATASETAUXDATA Mach=\"0.8\"\n"
                     "TEXT X=10 Y=10 T=\"label\"\n"
                     "GEOMETRY X=0 Y=0 T=LINE\n1\n2\n0 0\n1 1\n"
                     "ZONE T=\"a\" I=3 J=2 PASSIVEVARLIST=[4] AUXDATA Re=\"1e6\"\n" +
                     kPointZone +
                     "ZONE T=\"b\" I=3 J=2 DATAPACKING=BLOCK VARSHARELIST=([1-2]=1)\n0 100 200 1 101 201\n5*7 8\n"));
  ASSERT_TRUE(f.result);
  ASSERT_EQ(f.d().ZoneCount, 2);
  ExpectSmallField(f, 0);
  ExpectSmallField(f, 1);  // zone b: x and y from zone a
  EXPECT_DOUBLE_EQ(f.At(1, 0, 2, 1), 0.0);  // passive
  EXPECT_DOUBLE_EQ(f.At(1, 1, 1, 1), 7.0);
  EXPECT_DOUBLE_EQ(f.At(1, 1, 2, 1), 8.0);
  const auto& aux = f.result->source.auxData;
  ASSERT_EQ(aux.size(), 2u);
  EXPECT_EQ(aux[0], (std::pair<std::string, std::string>{"Mach", "0.8"}));
  EXPECT_EQ(aux[1].first, "zone[0] \"a\" Re");
}

TEST_F(TecplotReader, SolutionTimesMakeStepsThatInfoReports) {
  std::string text = "TITLE=\"run\"\nVARIABLES = X Y P\nDATASETAUXDATA Mach=\"0.8\"\n";
  for (double t : {0.5, 0.0, 1.0}) {
    text += "ZONE T=\"s\" I=1 J=2 SOLUTIONTIME=" + std::to_string(t) + " STRANDID=1" + (t == 0.5 ? " AUXDATA Re=\"1e6\"\n" : "\n");
    text += "0 0 " + std::to_string(t * 10) + "\n0 1 " + std::to_string(t * 10) + "\n";
  }
  text += "ZONE T=\"wall\" I=1 J=2\n5 0 -1\n5 1 -1\n";
  const std::string path = Write(text);
  LoadedFile first(path);
  ASSERT_TRUE(first.result);
  EXPECT_EQ(first.result->source.times, (std::vector<double>{0.0, 0.5, 1.0}));
  ASSERT_EQ(first.d().ZoneCount, 2);  // the step and the zone without a time
  EXPECT_DOUBLE_EQ(first.At(0, 0, 0, 0), 0.0);
  RecordingNotifier notifier;
  NullProgress progress;
  auto last = LoadTecplotFile(path, LoadOptions(), notifier, progress, 2);
  ASSERT_TRUE(last);
  EXPECT_DOUBLE_EQ(last->data.Values[0][0], 10.0);
  EXPECT_EQ(last->source.step, 2);
  EXPECT_NE(ErrorText([&] { LoadTecplotFile(path, LoadOptions(), notifier, progress, 3); }), "(no error)");

  const CommandRun run = RunCorvane({"info", QString::fromStdString(path), "--settings", "/dev/null", "--json"});
  ASSERT_EQ(run.status, 0) << run.errors.toStdString();
  const QJsonObject o = QJsonDocument::fromJson(run.output.toUtf8()).object();
  EXPECT_EQ(o["format"].toString(), "tecplot");
  EXPECT_EQ(o["title"].toString(), "run");
  EXPECT_EQ(o["layout"].toString(), "POINT");
  EXPECT_EQ(o["times"].toArray(), (QJsonArray{0.0, 0.5, 1.0}));
  EXPECT_EQ(o["step"].toInt(), 0);
  const QJsonArray aux = o["auxData"].toArray();
  ASSERT_EQ(aux.size(), 1);  // the zone of the step read has no auxiliary data
  EXPECT_EQ(aux[0].toObject()["name"].toString(), "Mach");
  EXPECT_EQ(o["zones"].toArray()[0].toObject()["name"].toString(), "s");
}

TEST_F(TecplotReader, RefusalsNameTheZoneOrLine) {
  auto error = [&](const std::string& text) { return ErrorText([&] { LoadedFile f(Write(text)); }); };
  const std::string onlyFinite = error("VARIABLES = X Y\nZONE T=\"tri\" N=3, E=1, ZONETYPE=FETRIANGLE\n0 0\n1 0\n0 1\n1 2 3\n");
  EXPECT_TRUE(onlyFinite.find("読める領域がありません") != std::string::npos && onlyFinite.find("zone[0] \"tri\"") != std::string::npos &&
              onlyFinite.find("有限要素") != std::string::npos)
      << onlyFinite;
  EXPECT_NE(error("VARIABLES = X Y\nZONE I=1 SOLUTIONTIME=nan\n0 0\n").find("SOLUTIONTIME=nan"), std::string::npos);
  EXPECT_NE(error("VARIABLES = X Y\nZONE I=1 SOLUTIONTIME=-inf\n0 0\n").find("SOLUTIONTIME=-inf"), std::string::npos);
  EXPECT_NE(error("VARIABLES = X Y\nZONE I=2 J=1 I=1\n0 0\n1 0\n").find("I= が二度"), std::string::npos);
  const std::string shortZone = error("VARIABLES = X Y P\nZONE I=3 J=2\n0 0 0 1 0 1 2 0 2 0 1 1 1 1 2\n");
  EXPECT_NE(shortZone.find("18 個の値が必要"), std::string::npos) << shortZone;
  const std::string bad = error("VARIABLES = X Y\nZONE I=2\n0 0\n1 zero\n");
  EXPECT_NE(bad.find("4 行目の zero"), std::string::npos) << bad;
  EXPECT_NE(error("VARIABLES = X Y\nZONE I=9999999999 J=9999999\n0 0\n").find("大きすぎ"), std::string::npos);
  EXPECT_NE(error("VARIABLES = X Y\nZONE I=100000 J=1000\n0 0\n").find("値が足りません"), std::string::npos);
  EXPECT_NE(error("VARIABLES = X Y\nZONE I=1 VARSHARELIST=([1]=4)\n0\n").find("VARSHARELIST"), std::string::npos);
  EXPECT_NE(error("VARIABLES = X Y P\nZONE I=1\n0 0 0\nVARIABLES = X Y\nZONE I=1\n0 0\n").find("VARIABLES"), std::string::npos);
}

// Zones that cannot be shown are passed over, each named with its reason; the ordered zones
// are read as if the others were not there, sharing and steps included.
TEST_F(TecplotReader, FiniteElementAndSolidZonesAreLeftOutWithAWarning) {
  LoadedFile f(Write("VARIABLES = X Y P\n"
                     "ZONE T=\"a\" I=3 J=2 SOLUTIONTIME=1\n" + kPointZone +
                     "ZONE T=\"tri\" N=3 E=1 ZONETYPE=FETRIANGLE DATAPACKING=POINT SOLUTIONTIME=7\n0 0 1\n1 0 2\n0 1 3\n1 2 3\n"
                     "ZONE T=\"cube\" I=2 J=2 K=2\n" + std::string(24, '1') + "\n"
                     "ZONE T=\"onTri\" I=3 J=1 VARSHARELIST=([1-2]=2)\n5 6 7\n"
                     "ZONE T=\"b\" I=3 J=2 DATAPACKING=BLOCK VARSHARELIST=([1-2]=1)\n0 100 200 1 101 201\n"));
  ASSERT_TRUE(f.result);
  ASSERT_EQ(f.d().ZoneCount, 2);
  EXPECT_EQ(f.result->source.zoneNames, (std::vector<std::string>{"a", "b"}));
  ExpectSmallField(f, 0);
  ExpectSmallField(f, 1);
  EXPECT_EQ(f.result->source.times, std::vector<double>{1.0});  // the left-out zone's time is no step
  ASSERT_EQ(f.notifier.warnings.size(), 1u);
  const std::string& w = f.notifier.warnings[0];
  for (const char* part : {"zone[1] \"tri\"", "有限要素", "zone[2] \"cube\"", "K=2", "zone[3] \"onTri\"", "(3 個)"})
    EXPECT_NE(w.find(part), std::string::npos) << part << " in " << w;
  EXPECT_EQ(w.find("\"b\""), std::string::npos) << w;
}

// A chain of zones each sharing from the one before is resolved once, in the scan: the last
// zone's coordinates come from the first, however long the chain.
TEST_F(TecplotReader, LongSharingChainsReachTheFirstZone) {
  std::string text = "VARIABLES = X Y P\nZONE T=\"first\" I=3 J=2\n" + kPointZone;
  constexpr int kChain = 15000;
  for (int z = 1; z <= kChain; ++z) text += "ZONE I=3 J=2 DATAPACKING=BLOCK VARSHARELIST=([1-2])\n0 100 200 1 101 201\n";
  LoadedFile f(Write(text));
  ASSERT_TRUE(f.result);
  ASSERT_EQ(f.d().ZoneCount, kChain + 1);
  ExpectSmallField(f, kChain);
  ExpectSmallField(f, kChain / 2);
}

TEST_F(TecplotReader, DetectionSaysWhatAFileLooksLike) {
  auto error = [&](const std::string& bytes, const char* name) { return ErrorText([&] { LoadedFile f(Write(bytes, name)); }); };
  std::string utf16 = "\xff\xfe";
  for (char c : std::string("x y\n0 0\n")) utf16 += std::string{c, '\0'};
  EXPECT_NE(error(utf16, "wide.dat").find("UTF-16"), std::string::npos);
  std::string bomless;
  for (char c : std::string("VARIABLES = X Y\nZONE I=1\n0 0\n")) bomless += std::string{'\0', c};
  EXPECT_NE(error(bomless, "wide.txt").find("UTF-16"), std::string::npos);
  const std::string cr = error("3 2\rx y p\r0 0 1\r", "mac.dat");
  EXPECT_TRUE(cr.find("CR") != std::string::npos && cr.find("mac.dat") != std::string::npos) << cr;
  // A long title and many variables put the first ZONE far down: still Tecplot.
  std::string far = "TITLE=\"" + std::string(70000, 't') + "\"\nVARIABLES = X Y\nZONE I=2\n0 0\n1 0\n";
  LoadedFile f(Write(far, "far.dat"));
  ASSERT_TRUE(f.result);
  EXPECT_EQ(f.result->source.format, DataFileFormat::Tecplot);
}

}  // namespace
