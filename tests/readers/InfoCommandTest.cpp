#include <gtest/gtest.h>

#include <tuple>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QFile>
#include <QTemporaryDir>

#include "readers/AsciiCase.h"
#include "readers/DataFileLoader.h"
#include "readers/DataFormats.h"

#include "TestSupport.h"

namespace {

using InfoRun = corvane::testing::CommandRun;

InfoRun Info(const char* file, const QStringList& extra) {
  return corvane::testing::RunCorvane(QStringList{"info", QString(CORVANE_TEST_DATA) + "/" + file, "--settings", "/dev/null"} + extra);
}

// The standard output read as one JSON object, which must be valid.
QJsonObject Json(const InfoRun& r) {
  QJsonParseError error;
  const QJsonObject o = QJsonDocument::fromJson(r.output.toUtf8(), &error).object();
  EXPECT_EQ(error.error, QJsonParseError::NoError) << r.output.toStdString();
  return o;
}

const QStringList kTwoZones = {"--set", "ZCountBox=2", "--set", "LabelLineBox=4", "--set", "DataStartLineBox=5"};
const QStringList kOneZone = {"--set", "ZCountBox=1", "--set", "LabelLineBox=3", "--set", "DataStartLineBox=4"};

}  // namespace

TEST(InfoCommand, JsonDescribesZonesRowsAndNodes) {
  InfoRun r = Info("ji_two_zones.dat", kTwoZones + QStringList{"--set", "DataJI=1", "--set", "IncludeVelCheck=1", "--json",
                                                           "--node", "1,1,0", "--node", "0,2,1"});
  ASSERT_EQ(r.status, 0) << r.errors.toStdString();
  const QJsonObject o = Json(r);
  // A, マッハ数, 全圧, 渦度, 速さ
  EXPECT_EQ((std::vector<qsizetype>{o["nodeCount"].toInt(), o["columnCount"].toInt(),
                                    o["zones"].toArray()[1].toObject()["firstNode"].toInt(), o["variables"].toArray().size()}),
            (std::vector<qsizetype>{10, 3, 6, 5}));
  EXPECT_EQ(o["extents"].toObject()["xmax"].toDouble(), 6.0);
  QJsonArray rows = o["rows"].toArray();
  ASSERT_EQ(rows.size(), 5);
  EXPECT_EQ(rows[1].toObject()["name"].toString(), QString::fromUtf8("マッハ数"));
  // The step's shortest text reads back exactly.
  EXPECT_EQ(std::pair(rows[0].toObject()["max"].toDouble(), rows[0].toObject()["step"].toDouble()), std::pair(111.0, 111.0 / 50));
  QJsonArray nodes = o["nodes"].toArray();
  ASSERT_EQ(nodes.size(), 2);
  EXPECT_EQ(std::pair(nodes[0].toObject()["values"].toArray()[0].toDouble(), nodes[1].toObject()["x"].toDouble()), std::pair(110.0, 2.0));
}

TEST(InfoCommand, NonFiniteNumbersStayValidJson) {
  InfoRun r = Info("nan_inf_values.dat", kOneZone + QStringList{"--json", "--node", "0,0,0"});
  ASSERT_EQ(r.status, 0) << r.errors.toStdString();
  const QJsonObject o = Json(r);
  EXPECT_EQ(o["nodes"].toArray()[0].toObject()["x"].toString(), "NaN");
  // The automatic range passes over infinite values as over NaN; the node at NaN is counted and
  // left out of the extents.
  const QJsonObject row = o["rows"].toArray()[0].toObject();
  EXPECT_EQ(std::tuple(row["max"].toDouble(), row["min"].toDouble(), o["nonFiniteNodes"].toInt(), o["extents"].toObject()["ymin"].toDouble()),
            std::tuple(4.0, 4.0, 1, 0.0));
}

TEST(InfoCommand, WarningsAndErrorsGoToStderrWithStatusOne) {
  for (const char* file : {"short_line.dat", "word_in_number.dat"}) EXPECT_EQ(Info(file, kOneZone).status, 1) << file;
  InfoRun three = Info("three_size_fields.dat", kOneZone);
  EXPECT_TRUE(three.status == 0 && three.errors.contains("領域点数はxi,eta方向合わせて２点で指定して下さい"));
  InfoRun badNode = Info("three_size_fields.dat", kOneZone + QStringList{"--node", "0,2,0"});
  EXPECT_TRUE(badNode.status == 1 && badNode.errors.contains("0,2,0")) << badNode.errors.toStdString();
  EXPECT_EQ(Info("three_size_fields.dat", kOneZone + QStringList{"--node", "0;1"}).status, 1);
}

// A series is only as good as its files: one refused fails the command, naming it.
TEST(InfoCommand, ASeriesWithARefusedFileFails) {
  QTemporaryDir dir;
  const QString good = dir.filePath("a.dat"), bad = dir.filePath("b.dat");
  ASSERT_TRUE(corvane::testing::WriteFile(good, "VARIABLES = X Y\nZONE I=2\n0 0\n1 0\n"));
  ASSERT_TRUE(corvane::testing::WriteFile(bad, "VARIABLES = X Y\nZONE I=2\n0 0\n1 zero\n"));
  const InfoRun both = corvane::testing::RunCorvane({"info", good, bad, "--settings", "/dev/null"});
  EXPECT_TRUE(both.status == 1 && both.errors.contains(bad)) << both.errors.toStdString();
  EXPECT_EQ(corvane::testing::RunCorvane({"info", good, good, "--settings", "/dev/null"}).status, 0);
}

// The one table of formats is what every list shows: the file list's mask, the Open dialog's
// filters, the README's list of data files and the manual name every extension, and detection
// follows it.
TEST(DataFormats, EveryListNamesEveryExtensionAndDetectionFollowsTheTable) {
  using namespace corvane;
  QFile readmeFile(QString(CORVANE_SOURCE_DIR) + "/README.md");
  ASSERT_TRUE(readmeFile.open(QIODevice::ReadOnly));
  const QString readme = QString::fromUtf8(readmeFile.readAll());
  const qsizetype begin = readme.indexOf("## Data files"), end = readme.indexOf("\n## ", begin + 1);
  const QString section = readme.mid(begin, end - begin);
  QFile manualFile(QString(CORVANE_SOURCE_DIR) + "/manual/index.html");
  ASSERT_TRUE(manualFile.open(QIODevice::ReadOnly));
  const QString manual = QString::fromUtf8(manualFile.readAll());
  const QString mask = QString::fromStdString(DataFileMask()), filter = QString::fromStdString(OpenDialogFilter());
  for (const DataFormatRow& row : DataFormatTable()) {
    EXPECT_TRUE(section.contains(QString("`%1`").arg(row.name))) << row.name;
    for (const char* e : row.extensions) {
      EXPECT_TRUE(mask.split(';').contains(QString("*") + e)) << e;
      EXPECT_TRUE(filter.contains(QString("*") + e + " ") || filter.contains(QString("*") + e + ")")) << e;
      EXPECT_TRUE(section.contains(QString("`%1`").arg(e))) << e;
      EXPECT_TRUE(manual.contains(QString("<code>*%1</code>").arg(e))) << e;
      EXPECT_TRUE(HasExtensionOf(row.id, std::string("/x/Name") + AsciiUpper(e))) << e;
    }
  }
  // A signature first, then the extension: Tecplot by its ZONE record whatever the name (a title
  // line alone makes no Tecplot file; a VTK title beginning "zone" is read in VtkReaderTest), CGNS
  // by HDF5's signature, also after a 512-byte user block.
  const std::string tecplot = "# comment\n\nVariables = x y\nZone I=1\n0 0\n", hdf5("\x89HDF\r\n\x1a\n", 8);
  const std::tuple<const char*, std::string, DataFileFormat> cases[] = {
      {"a.vtk", tecplot, DataFileFormat::Tecplot},
      {"result.txt", tecplot, DataFileFormat::Tecplot},
      {"a.tec", "1 2\n", DataFileFormat::Tecplot},
      {"a.pvd", "<?xml version=\"1.0\"?>\n", DataFileFormat::Vtk},
      {"pair.q", "x", DataFileFormat::Plot3d},
      {"grid.g", "", DataFileFormat::Plot3d},
      {"flow.dat", hdf5 + "rest", DataFileFormat::Cgns},
      {"flow.CGNS", "not hdf5", DataFileFormat::Cgns},
      {"/dev/fd/63", std::string(512, ' ') + hdf5, DataFileFormat::Cgns},
      {"a.csv", "1 2\n", DataFileFormat::Text},
      {"plain.txt", "x", DataFileFormat::Text},
      {"grid.dat", "Title of the run\n\n2 1\n1 1\n0 0\nX Y P\n", DataFileFormat::Text},
      {"titled.dat", "TITLE = run 5\n1 1\nX Y P\n", DataFileFormat::Text},
  };
  for (const auto& [path, bytes, format] : cases) EXPECT_EQ(DetectDataFileFormat(path, bytes), format) << path;
  EXPECT_STREQ(FormatName(DataFileFormat::Tecplot), "tecplot");
}

TEST(InfoCommand, NamesTheColumnsTheMachNumberComesFromAndDoubtsAPressureAsTemperature) {
  QTemporaryDir dir;
  const QString path = dir.filePath("no_t.dat");
  ASSERT_TRUE(corvane::testing::WriteFile(path, "velocity without temperature\n\n1 1\nx y U V P\n0 0 100 0 101325\n"
                                                "0 1 100 1 101325\n1 0 100 2 101325\n1 1 100 3 101325\n"));
  const QStringList args = QStringList{"info", path, "--settings", "/dev/null", "--set", "IncludeVelCheck=1"} + kOneZone;
  const InfoRun json = corvane::testing::RunCorvane(args + QStringList{"--json", "--set", "tmpbox=2"});
  ASSERT_EQ(json.status, 0) << json.errors.toStdString();
  const QJsonObject from = Json(json)["derivedFrom"].toObject();
  EXPECT_EQ((std::vector<QString>{from["u"].toString(), from["v"].toString(), from["T"].toString(), from["p"].toString()}),
            (std::vector<QString>{"U", "V", "P", "P"}));
  EXPECT_TRUE(json.errors.contains(QString::fromUtf8("温度として使う列 \"P\""))) << json.errors.toStdString();
  // Without a choice the first column stands in: the text names it, and doubts it.
  const InfoRun text = corvane::testing::RunCorvane(args);
  ASSERT_EQ(text.status, 0) << text.errors.toStdString();
  EXPECT_TRUE(text.output.contains(QString::fromUtf8("温度 \"U\", 圧力 \"P\""))) << text.output.toStdString();
  EXPECT_TRUE(text.errors.contains(QString::fromUtf8("温度として使う列 \"U\""))) << text.errors.toStdString();
}
