#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cmath>
#include <filesystem>
#include <functional>

#include "readers/DataFileLoader.h"
#include "base/Errors.h"
#include "CgnsFiles.h"
#include "TestSupport.h"

using namespace corvane;

namespace {

using ZoneSpec = corvane::testing::CgnsZone;
using corvane::testing::WriteCgns;
constexpr auto X = corvane::testing::CgnsX;
constexpr auto Y = corvane::testing::CgnsY;
constexpr auto F = corvane::testing::CgnsF;

using Loaded = corvane::testing::LoadedFile;

const std::vector<std::string> kPrimitive = {"Pressure", "VelocityX", "VelocityY", "Temperature"};

}  // namespace

// Conversions from 2-D formats write 3-D zones of one k-plane: the plane is read, z left out.
TEST(CgnsReader, VertexZonesKeepFileOrderNodesAndStandardSelectorsAlsoAsPlanesOf3DZones) {
  QTemporaryDir dir;
  for (int nk : {0, 1}) {
    SCOPED_TRACE(nk);
    const std::string path = dir.filePath(QString("two%1.cgns").arg(nk)).toStdString();
    // Written "Wake" before "Body": the library numbers zones by name, the file keeps them as written.
    WriteCgns(path, {{"Wake", 4, 3, false, kPrimitive, nullptr, true, nk}, {"Body", 3, 2, false, kPrimitive, nullptr, true, nk}});
    Loaded l(path);
    ASSERT_TRUE(l.result);
    const FieldDataSet& d = l.result->data;
    EXPECT_EQ(l.result->source.format, DataFileFormat::Cgns);
    EXPECT_EQ(l.result->source.zoneNames, (std::vector<std::string>{"Wake", "Body"}));
    ASSERT_EQ(d.ZoneCount, 2);
    EXPECT_EQ((std::vector<int>{d.Zones[0].NI, d.Zones[0].NJ, d.Zones[1].FirstNode}), (std::vector<int>{4, 3, 12}));
    EXPECT_EQ(d.VariableNames, kPrimitive);
    EXPECT_EQ((std::vector<int>{l.result->choices.velocityX, l.result->choices.velocityY, l.result->choices.temperature, l.result->choices.pressure}), (std::vector<int>{1, 2, 3, 0}));
    for (auto [zone, i, j] : {std::tuple{0, 3, 1}, std::tuple{0, 1, 2}, std::tuple{1, 2, 0}}) {
      const std::size_t n = static_cast<std::size_t>(NodeIndex(d, zone, i, j));
      EXPECT_EQ((std::vector<double>{d.X[n], d.Y[n], l.At(0, zone, i, j), l.At(1, zone, i, j), l.At(2, zone, i, j), l.At(3, zone, i, j)}),
                (std::vector<double>{X(i, j), Y(i, j), F(0, i, j), F(1, i, j), F(2, i, j), F(3, i, j)}));
      const double u = F(1, i, j), v = F(2, i, j), t = F(3, i, j);
      EXPECT_NEAR(l.At(d.MachNumberRow(), zone, i, j), std::sqrt((u * u + v * v) / 1.4 / 288.7 / t), 1e-12);
    }
    EXPECT_EQ((std::pair{d.XMax, l.result->view.ContourMax[3]}), (std::pair{X(3, 2), F(3, 3, 2)}));
  }
}

TEST(CgnsReader, CellCentredValuesAreAveragedOntoNodes) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("cells.cgns").toStdString();
  WriteCgns(path, {{"Cells", 4, 3, true, {"Pressure"}}});
  Loaded l(path);
  ASSERT_TRUE(l.result);
  EXPECT_TRUE(l.result->source.cellCentred);
  EXPECT_NE(l.result->source.status.find("セル中心"), std::string::npos);
  auto cell = [](int i, int j) { return F(0, i, j); };
  // Corners take one cell, edges two, inner nodes four.
  EXPECT_EQ((std::vector<double>{l.At(0, 0, 0, 0), l.At(0, 0, 3, 2), l.At(0, 0, 1, 0), l.At(0, 0, 2, 1)}),
            (std::vector<double>{cell(0, 0), cell(2, 1), (cell(0, 0) + cell(1, 0)) / 2,
                                 (cell(1, 0) + cell(2, 0) + cell(1, 1) + cell(2, 1)) / 4}));
}

TEST(CgnsReader, ConservativeFieldsGiveFlowVariables) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("cons.cgns").toStdString();
  WriteCgns(path, {{"Z", 3, 2, false, {"Density", "MomentumX", "MomentumY", "EnergyStagnationDensity"}}});
  LoadOptions o;
  o.gammaBox = 1.4, o.RBox = 287.0;
  Loaded l(path, o);
  ASSERT_TRUE(l.result);
  ASSERT_EQ(l.result->data.VariableNames.size(), 8u);
  EXPECT_EQ(l.result->data.VariableNames[4], "U");
  EXPECT_EQ((std::vector<int>{l.result->choices.velocityX, l.result->choices.velocityY, l.result->choices.temperature, l.result->choices.pressure}), (std::vector<int>{4, 5, 6, 7}));
  const double rho = F(0, 2, 1), u = F(1, 2, 1) / rho, v = F(2, 2, 1) / rho;
  const double p = 0.4 * (F(3, 2, 1) - rho * (u * u + v * v) / 2);
  for (auto [row, expected] : {std::pair{4, u}, {5, v}, {6, p / (rho * 287.0)}, {7, p}})
    EXPECT_DOUBLE_EQ(l.At(row, 0, 2, 1), expected) << "row " << row;
}

TEST(CgnsReader, UnreadableZonesAreRefusedNamingFileAndZone) {
  QTemporaryDir dir;
  auto wrongSize = [](int fn, int B, int Z) {
    cg_goto(fn, B, "Zone_t", Z, "FlowSolution_t", 1, "end");
    cgsize_t dims[2] = {2, 2};
    double v[4] = {};
    cg_array_write("Temperature", CGNS_ENUMV(RealDouble), 2, dims, v);
  };
  auto unstructured = [](int fn, int B, int) {
    cgsize_t size[3] = {4, 1, 0};
    int Z = 0;
    cg_zone_write(fn, B, "Mesh", size, CGNS_ENUMV(Unstructured), &Z);
  };
  struct Case {
    const char* file;
    std::vector<ZoneSpec> zones;
    const char* expected;  // in the message besides the file name
  } cases[] = {
      {"noy.cgns", {{"A", 3, 2, false, kPrimitive}, {"B", 3, 2, false, kPrimitive, nullptr, false}}, "zone[1] \"B\" の座標 CoordinateY"},
      {"size.cgns", {{"A", 3, 2, false, {"Pressure"}, wrongSize}}, "Temperature の大きさ (2 × 2)"},
      {"missing.cgns", {{"A", 3, 2, false, kPrimitive}, {"B", 3, 2, false, {"Pressure"}}}, "zone[1] \"B\" の解 \"Solution\"に変数 VelocityX"},
      {"mixed.cgns", {{"A", 3, 2, false, {}, unstructured}}, "\"Mesh\" の格子は構造格子ではありません"},
      {"solid.cgns", {{"Block", 2, 2, false, {}, nullptr, true, 2}}, "k 方向 2 点"},
  };
  for (const Case& c : cases) {
    const std::string path = dir.filePath(c.file).toStdString();
    WriteCgns(path, c.zones);
    const std::string e = corvane::testing::ErrorText([&] { Loaded l(path); });
    EXPECT_TRUE(e.find(path) != std::string::npos && e.find(c.expected) != std::string::npos) << e;
  }
  // A file cut short.
  const std::string good = dir.filePath("good.cgns").toStdString(), cut = dir.filePath("cut.cgns").toStdString();
  WriteCgns(good, {{"A", 30, 20, false, kPrimitive}});
  std::filesystem::copy_file(good, cut);
  std::filesystem::resize_file(cut, std::filesystem::file_size(good) / 2);
  EXPECT_THROW(Loaded{cut}, CorvaneError);
}

