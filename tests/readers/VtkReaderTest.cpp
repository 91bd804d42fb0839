#include <gtest/gtest.h>
#include <lz4.h>
#include <lzma.h>
#include <zlib.h>

#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "fieldview/LoadedView.h"
#include "readers/DataSeries.h"
#include "TestSupport.h"

using namespace corvane;
using namespace corvane::testing;

namespace {

// The field of every file: 3 × 2 nodes, x = i, y = 10 j, P = 100 i + j, V = (i, -j, 0), and
// per cell C = 4 and 8.
constexpr int kNI = 3, kNJ = 2;
// The components `f` gives each node, i fastest.
std::vector<double> PerNode(std::vector<double> (*f)(double i, double j)) {
  std::vector<double> v;
  for (int j = 0; j < kNJ; ++j)
    for (int i = 0; i < kNI; ++i) std::ranges::copy(f(i, j), std::back_inserter(v));
  return v;
}
const std::vector<double> kPoints = PerNode([](double i, double j) { return std::vector<double>{i, 10 * j, 0}; });
const std::vector<double> kPressure = PerNode([](double i, double j) { return std::vector<double>{100 * i + j}; });
const std::vector<double> kVelocity = PerNode([](double i, double j) { return std::vector<double>{i, -j, 0}; });
const std::vector<double> kCells = {4, 8};

// The field with V and C as well.
void ExpectField(const LoadedFile& f) {
  ExpectSmallField(f);
  if (::testing::Test::HasFatalFailure()) return;
  ASSERT_EQ(f.d().VariableNames, (std::vector<std::string>{"P", "V_X", "V_Y", "V_Z", "C"}));
  for (int i = 0; i < kNI; ++i)
    for (int j = 0; j < kNJ; ++j) {
      EXPECT_DOUBLE_EQ(f.At(1, 0, i, j), i);
      EXPECT_DOUBLE_EQ(f.At(2, 0, i, j), -j);
      EXPECT_DOUBLE_EQ(f.At(4, 0, i, j), i == 0 ? 4 : i == 1 ? 6 : 8);
    }
}

// The bytes of the values as `T`, least significant first unless `big` (on this little-endian
// machine).
template <class T>
std::string Packed(const std::vector<double>& values, bool big) {
  std::string out;
  for (double v : values) {
    const T t = static_cast<T>(v);
    char b[sizeof(T)];
    std::memcpy(b, &t, sizeof(T));
    if (big) std::reverse(b, b + sizeof(T));
    out.append(b, sizeof(T));
  }
  return out;
}

// Values as an ascii list.
std::string Numbers(const std::vector<double>& v) {
  std::string text;
  for (double x : v) text += std::to_string(x) + " ";
  return text;
}

std::string AsciiArray(const std::string& name, const std::vector<double>& v, int components = 1, const char* type = "Float64") {
  return std::string("<DataArray type=\"") + type + "\" Name=\"" + name + "\" NumberOfComponents=\"" + std::to_string(components) +
         "\" format=\"ascii\">" + Numbers(v) + "</DataArray>\n";
}

std::string Legacy(bool binary) {
  auto values = [&](const std::vector<double>& v, bool single) {
    return (!binary ? Numbers(v) : single ? Packed<float>(v, true) : Packed<double>(v, true)) + "\n";
  };
  return std::string("# vtk DataFile Version 3.0\nfield\n") + (binary ? "BINARY" : "ASCII") +
         "\nDATASET STRUCTURED_GRID\nFIELD FieldData 1\nTIME 1 1 double\n" + values({0.25}, false) +
         "DIMENSIONS 3 2 1\nPOINTS 6 double\n" + values(kPoints, false) +
         "CELL_DATA 2\nSCALARS C float 1\nLOOKUP_TABLE default\n" + values(kCells, true) + "POINT_DATA 6\n" +
         (binary  // as writers of version 5 write arrays: a field, with information between its arrays
              ? "FIELD FieldData 2\nP 1 6 float\n" + values(kPressure, true) +
                    "METADATA\nINFORMATION 1\nNAME L2_NORM_RANGE LOCATION vtkDataArray\nDATA 2 0 1\n\nV 3 6 double\n" +
                    values(kVelocity, false)
              : "SCALARS P float\nLOOKUP_TABLE default\n" + values(kPressure, true) + "VECTORS V double\n" +
                    values(kVelocity, false));
}

enum class Encoding { Ascii, Base64, AppendedRaw, AppendedBase64 };
enum class Packing { None, Zlib, Lz4, Lzma };
const char* const kCompressors[] = {"", "vtkZLibDataCompressor", "vtkLZ4DataCompressor", "vtkLZMADataCompressor"};

// One block compressed as VTK's compressors do it.
std::string Compress(const std::string& in, Packing packing) {
  std::string out;
  if (packing == Packing::Zlib) {
    uLongf size = compressBound(in.size());
    out.resize(size);
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(in.data()), in.size(), 6);
    out.resize(size);
  } else if (packing == Packing::Lz4) {
    out.resize(static_cast<std::size_t>(LZ4_compressBound(static_cast<int>(in.size()))));
    out.resize(static_cast<std::size_t>(LZ4_compress_default(in.data(), out.data(), static_cast<int>(in.size()), static_cast<int>(out.size()))));
  } else {
    out.resize(lzma_stream_buffer_bound(in.size()));
    std::size_t size = 0;
    lzma_easy_buffer_encode(6, LZMA_CHECK_CRC64, nullptr, reinterpret_cast<const std::uint8_t*>(in.data()), in.size(),
                            reinterpret_cast<std::uint8_t*>(out.data()), &size, out.size());
    out.resize(size);
  }
  return out;
}

// A .vts of the field as VTK's XML writer lays it out, in either byte order.
std::string Vts(Encoding encoding, Packing packing, bool header64, bool big = false) {
  std::string appended;
  auto header = [&](std::uint64_t n) {
    return header64 ? Packed<std::uint64_t>({double(n)}, big) : Packed<std::uint32_t>({double(n)}, big);
  };
  auto array = [&](const char* name, const char* type, int components, const std::vector<double>& v) {
    const std::string raw = std::strcmp(type, "Float32") == 0 ? Packed<float>(v, big) : Packed<double>(v, big);
    std::string head, body = raw;
    if (packing != Packing::None) {
      // Two blocks: the second one partial.
      const std::size_t block = raw.size() / 2 + 4;
      std::vector<std::string> parts;
      for (std::size_t at = 0; at < raw.size(); at += block) parts.push_back(Compress(raw.substr(at, block), packing));
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
      case Encoding::Ascii:
        return AsciiArray(name, v, components, type);
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
  std::string xml = std::string("<?xml version=\"1.0\"?>\n<VTKFile type=\"StructuredGrid\" version=\"1.0\" byte_order=\"") +
                    (big ? "BigEndian\"" : "LittleEndian\"") + (header64 ? " header_type=\"UInt64\"" : "") +
                    (packing != Packing::None ? std::string(" compressor=\"") + kCompressors[int(packing)] + "\"" : "") +
                    ">\n<StructuredGrid WholeExtent=\"0 2 0 1 0 0\">\n<Piece Extent=\"0 2 0 1 0 0\">\n<PointData>\n";
  xml += array("P", "Float32", 1, kPressure);
  xml += array("V", "Float64", 3, kVelocity);
  xml += "</PointData>\n<CellData>\n" + array("C", "Float32", 1, kCells) + "</CellData>\n<Points>\n" +
         array("Points", "Float64", 3, kPoints) + "</Points>\n</Piece>\n</StructuredGrid>\n";
  if (encoding == Encoding::AppendedRaw || encoding == Encoding::AppendedBase64)
    xml += std::string("<AppendedData encoding=\"") + (encoding == Encoding::AppendedRaw ? "raw" : "base64") + "\">\n   _" +
           appended + "\n</AppendedData>\n";
  return xml + "</VTKFile>\n";
}

// An ascii XML file of one piece of `kind` (StructuredGrid, RectilinearGrid or ImageData).
std::string AsciiXml(const std::string& kind, const std::string& extent, const std::string& attributes, const std::string& body) {
  return "<?xml version=\"1.0\"?>\n<VTKFile type=\"" + kind + "\" version=\"1.0\" byte_order=\"LittleEndian\">\n<" + kind +
         " WholeExtent=\"" + extent + "\"" + attributes + ">\n<Piece Extent=\"" + extent + "\">\n" + body + "</Piece>\n</" + kind +
         ">\n</VTKFile>\n";
}
// The 3 × 2 grid of the field with P scaled by `scale` and `more` inside the piece.
std::string AsciiVts(double scale = 1.0, const std::string& more = {}) {
  std::vector<double> p = kPressure;
  for (double& x : p) x *= scale;
  return AsciiXml("StructuredGrid", "0 2 0 1 0 0", "",
                  "<PointData>" + AsciiArray("P", p) + "</PointData>\n" + more + "<Points>" + AsciiArray("Points", kPoints, 3) + "</Points>\n");
}
const char* const kLegacyHead = "# vtk DataFile Version 3.0\n";

class VtkReader : public ::testing::Test, protected TempFiles {};

TEST_F(VtkReader, LegacyAsciiAndBigEndianBinary) {
  for (bool binary : {false, true}) {
    LoadedFile f(Write(Legacy(binary), binary ? "b.vtk" : "a.vtk"));
    ExpectField(f);
    EXPECT_EQ(f.result->source.format, DataFileFormat::Vtk);
    EXPECT_EQ(f.result->source.layout, binary ? "legacy BINARY" : "legacy ASCII");
    EXPECT_TRUE(f.result->source.cellCentred);
  }
}

TEST_F(VtkReader, XmlInEveryEncodingCompressionAndByteOrder) {
  int n = 0;
  for (Encoding e : {Encoding::Ascii, Encoding::Base64, Encoding::AppendedRaw, Encoding::AppendedBase64})
    for (Packing packing : {Packing::None, Packing::Zlib, Packing::Lz4, Packing::Lzma})
      for (bool header64 : {false, true})
        for (bool big : {false, true}) {
          if (e == Encoding::Ascii && (packing != Packing::None || big)) continue;
          SCOPED_TRACE(::testing::Message() << "encoding " << int(e) << " packing " << int(packing) << " UInt64 " << header64
                                            << " big " << big);
          LoadedFile f(Write(Vts(e, packing, header64, big), "f" + std::to_string(n++) + ".vts"));
          ExpectField(f);
          if (packing != Packing::None) {
            EXPECT_NE(f.result->source.layout.find(std::string(", ") + (packing == Packing::Zlib ? "zlib" : packing == Packing::Lz4 ? "lz4" : "lzma")),
                      std::string::npos);
          }
        }
}

TEST_F(VtkReader, DamagedFilesAreRefusedClearly) {
  // `text` with its first `from` replaced by `to`.
  auto with = [](std::string text, const std::string& from, const std::string& to) { return text.replace(text.find(from), from.size(), to); };
  const std::string binary = Legacy(true), ascii = Legacy(false), xml = Vts(Encoding::AppendedRaw, Packing::None, false);
  const std::string piece = Vts(Encoding::Ascii, Packing::None, false), extent = "<Piece Extent=\"0 2 0 1 0 0\"";
  const std::size_t data = xml.find('_', xml.find("<AppendedData"));
  std::string raw = xml, zipped = Vts(Encoding::AppendedRaw, Packing::Zlib, false), header = Vts(Encoding::AppendedRaw, Packing::None, true);
  raw[data + 2] = '\x7f';  // the first array claims about 2 GB
  zipped[zipped.find('_', zipped.find("<AppendedData")) + 30] ^= 0x55;  // inside the first block
  header.replace(header.find('_', header.find("<AppendedData")) + 1, 8, std::string(8, '\xff'));  // beyond any double
  const struct {
    std::string bytes;
    const char *name, *what;
  } refusals[] = {
      {binary.substr(0, binary.find("POINTS 6 double\n") + 40), "cut.vtk", "ファイルが終わっています"},
      {with(ascii, "DIMENSIONS 3 2 1", "DIMENSIONS 3 2 2"), "thick.vtk", "1 面"},
      {with(ascii, "DIMENSIONS 3 2 1", "DIMENSIONS 99999 99999 1"), "huge.vtk", "大きすぎ"},
      {"# vtk DataFile Version 3.0\nx\nASCII\nDATASET UNSTRUCTURED_GRID\n", "u.vtk", "STRUCTURED_GRID"},
      {with(ascii, "CELL_DATA", "DIMENSIONS 300 300 1\nCELL_DATA"), "twice1.vtk", "DIMENSIONS が二度"},
      {with(ascii, "SCALARS P", "DIMENSIONS 300 300 1\nSCALARS P"), "twice2.vtk", "DIMENSIONS が二度"},
      {raw, "long.vts", "配列 P"},
      {zipped, "zip.vts", ""},
      {with(piece, extent, "<Piece Extent=\"0 2 0 1 0 3\""), "ext.vts", "1 面"},
      {"<VTKFile type=\"UnstructuredGrid\"></VTKFile>", "u.vts", "UnstructuredGrid"},
      {piece.substr(0, piece.size() * 6 / 10), "cut.vts", "途中で終わって"},
      {std::string(xml).erase(xml.rfind("\n</AppendedData>") - 4, 4), "short.vts", "終わっています"},  // a raw block into the closing tag
      {with(piece, extent, "<Piece Extent=\"-9223372036854775807 9223372036854775807 0 1 0 0\""), "overflow.vts", "Extent"},
      {header, "header.vts", "合いません"},
  };
  for (const auto& r : refusals) {
    const std::string text = ErrorText([&] { LoadedFile f(Write(r.bytes, r.name)); });
    EXPECT_TRUE(text.find(r.name) != std::string::npos && text.find(r.what) != std::string::npos) << r.name << ": " << text;
  }
}

TEST_F(VtkReader, RectilinearAndImageGridsInBothFormats) {
  const std::string pressure = "POINT_DATA 6\nSCALARS P float\nLOOKUP_TABLE default\n" + Numbers(kPressure) + "\n";
  const std::string pointData = "<PointData>" + AsciiArray("P", kPressure, 1, "Float32") + "</PointData>\n";
  const struct {
    const char* name;
    std::string bytes;
  } files[] = {
      {"r.vtk", std::string(kLegacyHead) + "r\nASCII\nDATASET RECTILINEAR_GRID\nDIMENSIONS 3 2 1\nX_COORDINATES 3 float\n0 1 2\n"
                    "Y_COORDINATES 2 double\n0 10\nZ_COORDINATES 1 float\n0\n" + pressure},
      {"i.vtk", std::string(kLegacyHead) + "i\nASCII\nDATASET STRUCTURED_POINTS\nDIMENSIONS 3 2 1\nORIGIN 0 0 0\nSPACING 1 10 1\n" + pressure},
      {"r.vtr", AsciiXml("RectilinearGrid", "0 2 0 1 0 0", "",
                         pointData + "<Coordinates>" + AsciiArray("x", {0, 1, 2}) + AsciiArray("y", {0, 10}) + AsciiArray("z", {0}) +
                             "</Coordinates>\n")},
      // an extent that does not start at 0, from an origin left of it
      {"i.vti", AsciiXml("ImageData", "1 3 0 1 0 0", " Origin=\"-1 0 0\" Spacing=\"1 10 1\"", pointData)},
  };
  for (const auto& file : files) {
    SCOPED_TRACE(file.name);
    LoadedFile f(Write(file.bytes, file.name));
    ExpectSmallField(f);
    EXPECT_EQ(f.d().VariableNames, std::vector<std::string>{"P"});
  }
}

TEST_F(VtkReader, TitleBeginningWithZoneAndPointAndCellArraysOfOneName) {
  // As other tools title their files; whatever the file's name, the first line makes it VTK.
  const std::string legacy = std::string(kLegacyHead) + "zone 1 - Flow\nASCII\nDATASET STRUCTURED_GRID\nDIMENSIONS 3 2 1\nPOINTS 6 double\n" +
                             Numbers(kPoints) + "\nPOINT_DATA 6\nSCALARS s double\nLOOKUP_TABLE default\n" + Numbers(kPressure) +
                             "\nCELL_DATA 2\nSCALARS s double\nLOOKUP_TABLE default\n4 8\n";
  for (const char* name : {"zone.vtk", "zone.dat"}) {
    SCOPED_TRACE(name);
    LoadedFile f(Write(legacy, name));
    ASSERT_TRUE(f.result);
    EXPECT_EQ(f.result->source.format, DataFileFormat::Vtk);
    EXPECT_EQ(f.result->source.title, "zone 1 - Flow");
    ASSERT_EQ(f.d().VariableNames, (std::vector<std::string>{"s", "s (セル)"}));
    for (int i = 0; i < kNI; ++i)
      for (int j = 0; j < kNJ; ++j) {
        EXPECT_DOUBLE_EQ(f.At(0, 0, i, j), 100 * i + j);
        EXPECT_DOUBLE_EQ(f.At(1, 0, i, j), i == 0 ? 4 : i == 1 ? 6 : 8);
      }
  }
}

TEST_F(VtkReader, PvdIsASeriesOfItsFilesInTimeOrder) {
  QDir(dir.path()).mkdir("steps");
  for (int k = 0; k < 3; ++k) Write(AsciiVts(k + 1.0), "steps/s" + std::to_string(k) + ".vts");
  // written out of time order, the files relative to the list
  const std::string pvd = Write(
      "<?xml version=\"1.0\"?>\n<VTKFile type=\"Collection\" version=\"0.1\">\n<Collection>\n"
      "<DataSet timestep=\"0.5\" group=\"\" part=\"0\" file=\"steps/s1.vts\"/>\n"
      "<DataSet timestep=\"0\" group=\"\" part=\"0\" file=\"steps/s0.vts\"/>\n"
      "<DataSet timestep=\"2.5\" group=\"\" part=\"0\" file=\"steps/s2.vts\"/>\n</Collection>\n</VTKFile>\n",
      "run.pvd");
  const std::vector<SeriesFrame> frames = SeriesFrames({pvd});
  ASSERT_EQ(frames.size(), 3u);
  const double times[] = {0, 0.5, 2.5};
  for (std::size_t k = 0; k < frames.size(); ++k) {
    EXPECT_EQ(frames[k].time, times[k]);
    RecordingNotifier notifier;
    NullProgress progress;
    const std::optional<LoadResult> r = LoadSeriesFrame(frames[k], LoadOptions(), FieldView(), notifier, progress);
    ASSERT_TRUE(r);
    EXPECT_DOUBLE_EQ(r->data.Values[0][static_cast<std::size_t>(NodeIndex(r->data, 0, 2, 1))], 201.0 * double(k + 1));
    EXPECT_EQ(r->source.times, std::vector<double>(times, times + 3));
    EXPECT_EQ(r->source.step, int(k));
  }
  const CommandRun info = RunCorvane({"info", QString::fromStdString(pvd), "--settings", "/dev/null"});
  EXPECT_EQ(info.status, 0) << info.errors.toStdString();
  EXPECT_TRUE(info.output.contains(QStringLiteral("時刻 (3個): 0 0.5 2.5"))) << info.output.toStdString();
}

TEST_F(VtkReader, MultiblockReadsItsStructuredPartsAndNamesTheOthers) {
  // Zones named by their block, their data set or their file, in a folder below the list; the
  // parts that are no structured grid or are missing are left out with one message.
  Write(AsciiVts(), "piece_0.vts");
  QDir(dir.path()).mkdir("sub");
  Write(AsciiVts(2.0), "sub/piece_1.vts");
  Write(AsciiVts(3.0), "tip.vts");
  Write("<?xml version=\"1.0\"?>\n<VTKFile type=\"UnstructuredGrid\" version=\"1.0\"><UnstructuredGrid/></VTKFile>\n", "body.vtu");
  auto vtm = [&](const std::string& sets, const char* name) {
    return Write("<?xml version=\"1.0\"?>\n<VTKFile type=\"vtkMultiBlockDataSet\" version=\"1.0\">\n<vtkMultiBlockDataSet>\n" + sets +
                     "</vtkMultiBlockDataSet>\n</VTKFile>\n",
                 name);
  };
  LoadedFile f(vtm("<Block index=\"0\" name=\"wing\"><DataSet index=\"0\" file=\"piece_0.vts\"/></Block>\n"
                   "<DataSet index=\"1\" file=\"body.vtu\"/>\n<DataSet index=\"2\" name=\"flap\" file=\"sub/piece_1.vts\"/>\n"
                   "<DataSet index=\"3\" file=\"missing.vts\"/>\n<DataSet index=\"4\" file=\"tip.vts\"/>\n",
                   "mixed.vtm"));
  ExpectSmallField(f);
  EXPECT_EQ(f.result->source.zoneNames, (std::vector<std::string>{"wing", "flap", "tip"}));
  EXPECT_DOUBLE_EQ(f.At(0, 1, 2, 1), 402);
  EXPECT_DOUBLE_EQ(f.At(0, 2, 2, 1), 603);
  ASSERT_EQ(f.notifier.warnings.size(), 1u);  // one message for all parts left out
  const std::string& warning = f.notifier.warnings.front();
  EXPECT_TRUE(warning.find("body.vtu") != std::string::npos && warning.find("UnstructuredGrid") != std::string::npos &&
              warning.find("missing.vts") != std::string::npos)
      << warning;
  const std::string refused = ErrorText([&] { LoadedFile g(vtm("<DataSet index=\"0\" file=\"body.vtu\"/>\n", "none.vtm")); });
  EXPECT_TRUE(refused.find("none.vtm") != std::string::npos && refused.find("body.vtu") != std::string::npos) << refused;
}

TEST_F(VtkReader, BlankingHolesMisfitArraysAndPlanesOtherThanXY) {
  // The point (1, 1) and the cell 0 hidden: the nodes of i = 0 have no visible cell left.
  const std::string blanked = AsciiVts(1.0, "<CellData>" + AsciiArray("C", kCells) + AsciiArray("vtkGhostType", {32, 0}, 1, "UInt8") +
                                                "</CellData>\n");
  std::string ghosts = blanked;
  ghosts.insert(ghosts.find("</PointData>"), AsciiArray("vtkGhostType", {0, 0, 0, 0, 2, 0}, 1, "UInt8"));
  LoadedFile f(Write(ghosts, "ghost.vts"));
  ASSERT_TRUE(f.result);
  ASSERT_EQ(f.d().VariableNames, (std::vector<std::string>{"P", "C"}));
  for (int i = 0; i < kNI; ++i)
    for (int j = 0; j < kNJ; ++j) {
      const bool hole = i == 0 || (i == 1 && j == 1);
      SCOPED_TRACE(::testing::Message() << i << ", " << j);
      EXPECT_EQ(std::isnan(f.At(0, 0, i, j)), hole);
      EXPECT_EQ(std::isnan(f.At(1, 0, i, j)), hole);
      if (!hole) {
        EXPECT_DOUBLE_EQ(f.At(1, 0, i, j), 8);  // the hidden cell's 4 is not averaged in
      }
    }

  // A piece of more values than its extent holds is refused, naming piece, extent and count.
  std::string longer = AsciiVts();
  longer.insert(longer.find("</DataArray>"), " 7");
  const std::string error = ErrorText([&] { LoadedFile g(Write(longer, "long.vts")); });
  for (const char* part : {"long.vts", "Piece 0", "Extent 0 2 0 1 0 0", "7 個", "6 個"})
    EXPECT_NE(error.find(part), std::string::npos) << part << " in " << error;

  // Planes of x and z, and of y and z: the two coordinates that vary become x and y.
  const std::vector<double> xz = PerNode([](double i, double j) { return std::vector<double>{i, 5, 10 * j}; });
  const struct {
    const char* name;
    std::string bytes, plane;
  } planes[] = {
      {"xz.vts", AsciiXml("StructuredGrid", "0 2 0 0 0 1", "",
                          "<PointData>" + AsciiArray("P", kPressure) + "</PointData><Points>" + AsciiArray("Points", xz, 3) + "</Points>\n"),
       "x–z"},
      {"yz.vtk", std::string(kLegacyHead) + "p\nASCII\nDATASET STRUCTURED_POINTS\nDIMENSIONS 1 3 2\nORIGIN 7 0 0\nSPACING 1 1 10\n"
                     "POINT_DATA 6\nSCALARS P double\n" + Numbers(kPressure) + "\n",
       "y–z"},
  };
  for (const auto& p : planes) {
    SCOPED_TRACE(p.name);
    LoadedFile g(Write(p.bytes, p.name));
    ExpectSmallField(g);
    if (g.result) {
      EXPECT_NE(g.result->source.status.find(p.plane), std::string::npos) << g.result->source.status;
    }
  }
}

}  // namespace
