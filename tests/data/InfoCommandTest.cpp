#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "TestSupport.h"

namespace {

using InfoRun = corvane::testing::CommandRun;

InfoRun Info(const char* file, const QStringList& extra) {
  return corvane::testing::RunCorvane(QStringList{"info", QString(CORVANE_TEST_DATA) + "/" + file, "--settings", "/dev/null"} + extra);
}

const QStringList kTwoZones = {"--set", "ZCountBox=2", "--set", "LabelLineBox=4", "--set", "DataStartLineBox=5"};
const QStringList kOneZone = {"--set", "ZCountBox=1", "--set", "LabelLineBox=3", "--set", "DataStartLineBox=4"};

}  // namespace

TEST(InfoCommand, JsonDescribesZonesRowsAndNodes) {
  InfoRun r = Info("ji_two_zones.dat", kTwoZones + QStringList{"--set", "DataJI=1", "--set", "IncludeVelCheck=1", "--json",
                                                           "--node", "1,1,0", "--node", "0,2,1"});
  ASSERT_EQ(r.status, 0) << r.errors.toStdString();
  QJsonParseError error;
  QJsonObject o = QJsonDocument::fromJson(r.output.toUtf8(), &error).object();
  ASSERT_EQ(error.error, QJsonParseError::NoError) << r.output.toStdString();
  EXPECT_EQ(o["nodeCount"].toInt(), 10);
  EXPECT_EQ(o["columnCount"].toInt(), 3);
  EXPECT_EQ(o["zones"].toArray()[1].toObject()["firstNode"].toInt(), 6);
  EXPECT_EQ(o["variables"].toArray().size(), 3);  // A, マッハ数, 全圧
  EXPECT_EQ(o["extents"].toObject()["xmax"].toDouble(), 6.0);
  QJsonArray rows = o["rows"].toArray();
  ASSERT_EQ(rows.size(), 3);
  EXPECT_EQ(rows[1].toObject()["name"].toString(), QString::fromUtf8("マッハ数"));
  EXPECT_EQ(rows[0].toObject()["max"].toDouble(), 111.0);
  EXPECT_EQ(rows[0].toObject()["step"].toDouble(), 111.0 / 50);  // shortest text reads back exactly
  QJsonArray nodes = o["nodes"].toArray();
  ASSERT_EQ(nodes.size(), 2);
  EXPECT_EQ(nodes[0].toObject()["values"].toArray()[0].toDouble(), 110.0);
  EXPECT_EQ(nodes[1].toObject()["x"].toDouble(), 2.0);
}

TEST(InfoCommand, NonFiniteNumbersStayValidJson) {
  InfoRun r = Info("nan_inf_values.dat", kOneZone + QStringList{"--json", "--node", "0,0,0"});
  ASSERT_EQ(r.status, 0) << r.errors.toStdString();
  QJsonParseError error;
  QJsonObject o = QJsonDocument::fromJson(r.output.toUtf8(), &error).object();
  ASSERT_EQ(error.error, QJsonParseError::NoError) << r.output.toStdString();
  EXPECT_EQ(o["rows"].toArray()[0].toObject()["max"].toString(), "Infinity");
  EXPECT_EQ(o["nodes"].toArray()[0].toObject()["x"].toString(), "NaN");
}

TEST(InfoCommand, WarningsAndErrorsGoToStderrWithStatusOne) {
  EXPECT_EQ(Info("short_line.dat", kOneZone).status, 1);
  EXPECT_EQ(Info("word_in_number.dat", kOneZone).status, 1);
  InfoRun three = Info("three_size_fields.dat", kOneZone);
  EXPECT_EQ(three.status, 0);
  EXPECT_TRUE(three.errors.contains("領域点数はxi,eta方向合わせて２点で指定して下さい"));
  InfoRun badNode = Info("three_size_fields.dat", kOneZone + QStringList{"--node", "0,2,0"});
  EXPECT_EQ(badNode.status, 1);
  EXPECT_TRUE(badNode.errors.contains("0,2,0"));
  EXPECT_EQ(Info("three_size_fields.dat", kOneZone + QStringList{"--node", "0;1"}).status, 1);
}
