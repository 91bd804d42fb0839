#include <gtest/gtest.h>
#include <zlib.h>

#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "data/DataFileLoader.h"
#include "TestSupport.h"

using namespace corvane;
using namespace corvane::testing;

namespace {

// The field of every file: 3 × 2 nodes, x = i, y = 10 j, P = 100 i + j, V = (i, -j, 0), and
// per cell C = 4 and 8.
constexpr int kNI = 3, kNJ = 2;
std::vector<double> Points() {
  std::vector<double> v;
  for (int j = 0; j < kNJ; ++j)
    for (int i = 0; i < kNI; ++i) v.insert(v.end(), {double(i), 10.0 * j, 0.0});
  return v;
}
std::vector<double> Pressure() {
  std::vector<double> v;
  for (int j = 0; j < kNJ; ++j)
    for (int i = 0; i < kNI; ++i) v.push_back(100 * i + j);
  return v;
}
std::vector<double> Velocity() {
  std::vector<double> v;
  for (int j = 0; j < kNJ; ++j)
    for (int i = 0; i < kNI; ++i) v.insert(v.end(), {double(i), -double(j), 0.0});
  return v;
}
const std::vector<double> kCells = {4, 8};

void ExpectField(const LoadedFile& f, bool cells = true) {
  ASSERT_TRUE(f.result);
  const FieldDataSet& d = f.d();
  std::vector<std::string> names = {"P", "V_X", "V_Y", "V_Z"};
  if (cells) names.push_back("C");
  ASSERT_EQ(d.VariableNames, names);
  ASSERT_EQ(d.Zones[0].NI, kNI);
  ASSERT_EQ(d.Zones[0].NJ, kNJ);
  for (int i = 0; i < kNI; ++i)
    for (int j = 0; j < kNJ; ++j) {
      const std::size_t n = static_cast<std::size_t>(NodeIndex(d, 0, i, j));
      EXPECT_DOUBLE_EQ(d.X[n], i);
      EXPECT_DOUBLE_EQ(d.Y[n], 10 * j);
      EXPECT_DOUBLE_EQ(f.At(0, 0, i, j), 100 * i + j);
      EXPECT_DOUBLE_EQ(f.At(1, 0, i, j), i);
      EXPECT_DOUBLE_EQ(f.At(2, 0, i, j), -j);
      if (cells) {
        EXPECT_DOUBLE_EQ(f.At(4, 0, i, j), i == 0 ? 4 : i == 1 ? 6 : 8);
      }
    }
}

// Big-endian bytes of the values as `T`.
template <class T>
std::string BigEndian(const std::vector<double>& values) {
  std::string out;
  for (double v : values) {
    const T t = static_cast<T>(v);
    char b[sizeof(T)];
    std::memcpy(b, &t, sizeof(T));
    std::reverse(b, b + sizeof(T));
    out.append(b, sizeof(T));
  }
  return out;
}

std::string Legacy(bool binary) {
  auto values = [&](const std::vector<double>& v, bool single) {
    if (binary) return (single ? BigEndian<float>(v) : BigEndian<double>(v)) + "\n";
    std::string text;
    for (double x : v) text += std::to_string(x) + " ";
    return text + "\n";
  };
  return std::string("# vtk DataFile Version 3.0\nfield\n") + (binary ? "BINARY" : "ASCII") +
         "\nDATASET STRUCTURED_GRID\nFIELD FieldData 1\nTIME 1 1 double\n" + values({0.25}, false) +
         "DIMENSIONS 3 2 1\nPOINTS 6 double\n" + values(Points(), false) +
         "CELL_DATA 2\nSCALARS C float 1\nLOOKUP_TABLE default\n" + values(kCells, true) + "POINT_DATA 6\n" +
         (binary  // as writers of version 5 write arrays: a field, with information between its arrays
              ? "FIELD FieldData 2\nP 1 6 float\n" + values(Pressure(), true) +
                    "METADATA\nINFORMATION 1\nNAME L2_NORM_RANGE LOCATION vtkDataArray\nDATA 2 0 1\n\nV 3 6 double\n" +
                    values(Velocity(), false)
              : "SCALARS P float\nLOOKUP_TABLE default\n" + values(Pressure(), true) + "VECTORS V double\n" +
                    values(Velocity(), false));
}

enum class Encoding { Ascii, Base64, AppendedRaw, AppendedBase64 };

// A .vts of the field as VTK's XML writer lays it out.
std::string Vts(Encoding encoding, bool zlib, bool header64) {
  std::string appended;
  auto header = [&](std::uint64_t n) {
    if (header64) return std::string(reinterpret_cast<const char*>(&n), 8);
    const std::uint32_t m = static_cast<std::uint32_t>(n);
    return std::string(reinterpret_cast<const char*>(&m), 4);
  };
  auto array = [&](const char* name, const char* type, int components, const std::vector<double>& v) {
    std::string raw;
    for (double x : v) {
      if (std::strcmp(type, "Float32") == 0) {
        const float f = static_cast<float>(x);
        raw.append(reinterpret_cast<const char*>(&f), 4);
      } else {
        raw.append(reinterpret_cast<const char*>(&x), 8);
      }
    }
    std::string head, body = raw;
    if (zlib) {
      // Two blocks: the second one partial.
      const std::size_t block = raw.size() / 2 + 4;
      std::vector<std::string> parts;
      for (std::size_t at = 0; at < raw.size(); at += block) {
        const std::string piece = raw.substr(at, block);
        uLongf size = compressBound(piece.size());
        std::string out(size, '\0');
        compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(piece.data()), piece.size(), 6);
        out.resize(size);
        parts.push_back(out);
      }
      head = header(parts.size()) + header(block) + header(raw.size() - block);
      body.clear();
      for (const std::string& p : parts) {
        head += header(p.size());
        body += p;
      }
    } else {
      head = header(raw.size());
    }
    std::string element = std::string("<DataArray type=\"") + type + "\" Name=\"" + name + "\" NumberOfComponents=\"" +
                          std::to_string(components) + "\" format=\"";
    auto b64 = [](const std::string& s) { return QByteArray::fromStdString(s).toBase64().toStdString(); };
    switch (encoding) {
      case Encoding::Ascii: {
        element += "ascii\">\n";
        for (double x : v) element += std::to_string(x) + " ";
        return element + "\n</DataArray>\n";
      }
      case Encoding::Base64:
        // As newer writers do: the array's range in an InformationKey before its data.
        return element + "binary\">\n<InformationKey name=\"L2_NORM_RANGE\" location=\"vtkDataArray\" length=\"2\">"
                         "<Value index=\"0\">0</Value><Value index=\"1\">1</Value></InformationKey>\n" +
               b64(head) + b64(body) + "\n</DataArray>\n";
      case Encoding::AppendedRaw:
      case Encoding::AppendedBase64:
        element += "appended\" offset=\"" + std::to_string(appended.size()) + "\"/>\n";
        appended += encoding == Encoding::AppendedRaw ? head + body : b64(head) + b64(body);
        return element;
    }
    return element;
  };
  std::string xml = std::string("<?xml version=\"1.0\"?>\n<VTKFile type=\"StructuredGrid\" version=\"1.0\" byte_order=\"LittleEndian\"") +
                    (header64 ? " header_type=\"UInt64\"" : "") + (zlib ? " compressor=\"vtkZLibDataCompressor\"" : "") +
                    ">\n<StructuredGrid WholeExtent=\"0 2 0 1 0 0\">\n<Piece Extent=\"0 2 0 1 0 0\">\n<PointData>\n";
  xml += array("P", "Float32", 1, Pressure());
  xml += array("V", "Float64", 3, Velocity());
  xml += "</PointData>\n<CellData>\n" + array("C", "Float32", 1, kCells) + "</CellData>\n<Points>\n" +
         array("Points", "Float64", 3, Points()) + "</Points>\n</Piece>\n</StructuredGrid>\n";
  if (encoding == Encoding::AppendedRaw || encoding == Encoding::AppendedBase64)
    xml += std::string("<AppendedData encoding=\"") + (encoding == Encoding::AppendedRaw ? "raw" : "base64") + "\">\n   _" +
           appended + "\n</AppendedData>\n";
  return xml + "</VTKFile>\n";
}

class VtkReader : public ::testing::Test {
 protected:
  std::string Write(const std::string& text, const std::string& name) {
    const QString path = dir.filePath(QString::fromStdString(name));
    EXPECT_TRUE(WriteFile(path, QByteArray::fromStdString(text)));
    return path.toStdString();
  }
  QTemporaryDir dir;
};

TEST_F(VtkReader, LegacyAsciiAndBigEndianBinary) {
  for (bool binary : {false, true}) {
    LoadedFile f(Write(Legacy(binary), binary ? "b.vtk" : "a.vtk"));
    ExpectField(f);
    EXPECT_EQ(f.result->source.format, DataFileFormat::Vtk);
    EXPECT_EQ(f.result->source.layout, binary ? "legacy BINARY" : "legacy ASCII");
    EXPECT_TRUE(f.result->source.cellCentred);
  }
}

TEST_F(VtkReader, XmlInEveryEncodingWithAndWithoutZlib) {
  int n = 0;
  for (Encoding e : {Encoding::Ascii, Encoding::Base64, Encoding::AppendedRaw, Encoding::AppendedBase64})
    for (bool zlib : {false, true})
      for (bool header64 : {false, true}) {
        SCOPED_TRACE(::testing::Message() << "encoding " << int(e) << " zlib " << zlib << " UInt64 " << header64);
        LoadedFile f(Write(Vts(e, zlib, header64), "f" + std::to_string(n++) + ".vts"));
        ExpectField(f);
      }
}

TEST_F(VtkReader, MultiblockListsPiecesAsZones) {
  Write(Vts(Encoding::AppendedRaw, true, false), "piece_0.vts");
  QDir(dir.path()).mkdir("sub");
  Write(Vts(Encoding::Base64, false, false), "sub/piece_1.vts");
  const std::string vtm = Write(
      "<?xml version=\"1.0\"?>\n<VTKFile type=\"vtkMultiBlockDataSet\" version=\"1.0\">\n<vtkMultiBlockDataSet>\n"
      "<Block index=\"0\" name=\"wing\"><DataSet index=\"0\" file=\"piece_0.vts\"/></Block>\n"
      "<DataSet index=\"1\" name=\"flap\" file=\"sub/piece_1.vts\"/>\n</vtkMultiBlockDataSet>\n</VTKFile>\n",
      "case.vtm");
  LoadedFile f(vtm);
  ExpectField(f);
  ASSERT_EQ(f.d().ZoneCount, 2);
  EXPECT_EQ(f.result->source.zoneNames, (std::vector<std::string>{"wing", "flap"}));
  EXPECT_DOUBLE_EQ(f.At(0, 1, 2, 1), 201);
}

TEST_F(VtkReader, SameFieldFromEveryFormat) {
  // The text grid, Tecplot and VTK files of one field give the same nodes and values.
  std::string text = "field\n\n2 1\n\n\nx y P V_X V_Y V_Z\n";
  std::string tecplot = "VARIABLES = X Y P V_X V_Y V_Z\nZONE I=3 J=2\n";
  for (int i = 0; i < kNI; ++i)
    for (int j = 0; j < kNJ; ++j)
      text += std::to_string(i) + " " + std::to_string(10 * j) + " " + std::to_string(100 * i + j) + " " + std::to_string(i) +
              " " + std::to_string(-j) + " 0\n";
  for (int j = 0; j < kNJ; ++j)
    for (int i = 0; i < kNI; ++i)
      tecplot += std::to_string(i) + " " + std::to_string(10 * j) + " " + std::to_string(100 * i + j) + " " + std::to_string(i) +
                 " " + std::to_string(-j) + " 0\n";
  LoadOptions one;
  one.ZCountBox = 1;
  LoadedFile fromText(Write(text, "grid.txt"), one);
  LoadedFile fromTecplot(Write(tecplot, "grid.tec"));
  ExpectField(fromText, false);
  ExpectField(fromTecplot, false);
  std::string vts = Vts(Encoding::Ascii, false, false);
  vts.erase(vts.find("<CellData>"), vts.find("<Points>") - vts.find("<CellData>"));
  LoadedFile fromVtk(Write(vts, "grid.vts"));
  ExpectField(fromVtk, false);
}

TEST_F(VtkReader, DamagedFilesAreRefusedClearly) {
  auto error = [&](const std::string& bytes, const char* name) { return ErrorText([&] { LoadedFile f(Write(bytes, name)); }); };
  std::string legacy = Legacy(true);
  EXPECT_NE(error(legacy.substr(0, legacy.find("POINTS 6 double\n") + 40), "cut.vtk").find("ファイルが終わっています"), std::string::npos);
  std::string thick = Legacy(false);
  thick.replace(thick.find("DIMENSIONS 3 2 1"), 16, "DIMENSIONS 3 2 2");
  EXPECT_NE(error(thick, "thick.vtk").find("1 面"), std::string::npos);
  std::string huge = Legacy(false);
  huge.replace(huge.find("DIMENSIONS 3 2 1"), 16, "DIMENSIONS 99999 99999 1");
  EXPECT_NE(error(huge, "huge.vtk").find("大きすぎ"), std::string::npos);
  EXPECT_NE(error("# vtk DataFile Version 3.0\nx\nASCII\nDATASET UNSTRUCTURED_GRID\n", "u.vtk").find("STRUCTURED_GRID"),
            std::string::npos);

  std::string raw = Vts(Encoding::AppendedRaw, false, false);
  const std::size_t mark = raw.find('_', raw.find("<AppendedData"));
  raw[mark + 2] = '\x7f';  // the first array claims about 2 GB
  EXPECT_NE(error(raw, "long.vts").find("配列 P"), std::string::npos);
  std::string zipped = Vts(Encoding::AppendedRaw, true, false);
  zipped[zipped.find('_', zipped.find("<AppendedData")) + 30] ^= 0x55;  // inside the first block
  EXPECT_NE(error(zipped, "zip.vts"), "(no error)");
  std::string extent = Vts(Encoding::Ascii, false, false);
  extent.replace(extent.find("<Piece Extent=\"0 2 0 1 0 0\""), 27, "<Piece Extent=\"0 2 0 1 0 3\"");
  EXPECT_NE(error(extent, "ext.vts").find("1 面"), std::string::npos);
  EXPECT_NE(error("<VTKFile type=\"ImageData\"></VTKFile>", "img.vts").find("ImageData"), std::string::npos);
}

}  // namespace
