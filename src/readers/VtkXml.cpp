#include "readers/VtkXml.h"

#include <QByteArray>
#include <QXmlStreamReader>

#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <sstream>

#include "field/CellAverage.h"
#include "base/Errors.h"
#include "readers/FortranNumber.h"
#include "readers/VtkBlocks.h"

namespace corvane {
namespace {

constexpr std::int64_t kMaxNodes = std::numeric_limits<std::int32_t>::max();

struct ArrayInfo {
  std::string name, type, format;
  int components = 1;
  std::int64_t offset = -1;
  bool cells = false, points = false;
  int axis = -1;     // a coordinate line of a rectilinear grid: 0 x, 1 y, 2 z
  std::string text;  // inline content
};

struct PieceInfo {
  std::int64_t extent[6] = {0, 0, 0, 0, 0, 0};
  std::int64_t n[3] = {1, 1, 1};  // nodes in x, y and z
  std::int64_t ni = 0, nj = 0;    // the plane they make
  std::string label;              // "Piece 0 (Extent 0 2 0 1 0 0)"
  std::vector<ArrayInfo> arrays;
};

// The kinds of structured data sets and the element that holds their pieces.
bool IsStructuredKind(const std::string& kind) {
  return kind == "StructuredGrid" || kind == "RectilinearGrid" || kind == "ImageData";
}

class XmlGridReader {
 public:
  XmlGridReader(std::string_view bytes, const std::string& path, VtkBudget& budget) : s_(bytes), path_(path), budget_(budget) {}

  std::vector<VtkPiece> Read(std::string& layout) {
    std::string_view xmlPart = s_;
    const std::size_t tag = s_.find("<AppendedData");
    if (tag != std::string_view::npos) {
      const std::size_t gt = s_.find('>', tag);
      const std::size_t mark = gt == std::string_view::npos ? gt : s_.find('_', gt);
      if (mark == std::string_view::npos) Fail("AppendedData の始まり (_) がありません");
      // The data end at the closing tag: a block that claims more must not read it as values.
      const std::size_t end = s_.rfind("</AppendedData>");
      if (end == std::string_view::npos || end < mark) Fail("AppendedData の終わりがありません (ファイルが途中で切れています)");
      const std::string_view open = s_.substr(tag, gt - tag);
      format_.base64 = open.find("base64") != std::string_view::npos;
      appended_ = s_.substr(mark + 1, end - mark - 1);
      if (format_.base64) appended_ = appended_.substr(0, appended_.find('<'));
      xmlPart = s_.substr(0, gt + 1);
    }
    std::vector<PieceInfo> pieces = Parse(xmlPart);
    if (pieces.empty()) Fail("Piece がありません");
    // Everything the pieces claim, before any of it is decoded.
    std::uint64_t values = 0;
    for (const PieceInfo& info : pieces) {
      if (kind_ != "StructuredGrid") values += 3 * static_cast<std::uint64_t>(info.ni * info.nj);
      for (const ArrayInfo& a : info.arrays) values += static_cast<std::uint64_t>(Tuples(info, a)) * static_cast<std::uint64_t>(a.components);
    }
    budget_.Spend(values, path_);
    std::vector<VtkPiece> out;
    for (const PieceInfo& info : pieces) {
      VtkPiece piece;
      piece.ni = info.ni;
      piece.nj = info.nj;
      std::vector<double> lines[3];
      for (const ArrayInfo& a : info.arrays) {
        if (layout.empty()) layout = a.format == "appended" ? (format_.base64 ? "appended base64" : "appended raw")
                                   : a.format == "binary"   ? "base64"
                                                            : "ascii";
        std::vector<double> decoded = Decode(info, a);
        if (a.points) {
          if (a.components != 3) Fail(info.label + ": Points の成分数が 3 ではありません");
          piece.points = std::move(decoded);
        } else if (a.axis >= 0) {
          if (a.components != 1) Fail(info.label + ": Coordinates の配列の成分数が 1 ではありません");
          lines[a.axis] = std::move(decoded);
        } else {
          piece.arrays.push_back({a.name, a.components, a.cells, std::move(decoded)});
        }
      }
      if (kind_ == "StructuredGrid" && piece.points.empty()) Fail(info.label + " に Points がありません");
      if (kind_ == "RectilinearGrid" && (lines[0].empty() || lines[1].empty() || lines[2].empty()))
        Fail(info.label + " の Coordinates に x、y、z の 3 つの配列がありません");
      if (kind_ != "StructuredGrid") piece.points = MakePoints(info, lines);
      out.push_back(std::move(piece));
    }
    if (format_.compressor != VtkCompressor::None && layout != "ascii") layout += std::string(", ") + VtkCompressorLabel(format_.compressor);
    if (kind_ != "StructuredGrid") layout = kind_ + ", " + layout;
    return out;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const { throw CorvaneError("VTK ファイル " + path_ + ": " + what); }

  static std::int64_t Tuples(const PieceInfo& info, const ArrayInfo& a) {
    return a.axis >= 0 ? info.n[a.axis] : a.cells ? CellCount(info.ni, info.nj) : info.ni * info.nj;
  }

  // The points of a rectilinear grid from its coordinate lines, or of an image from its
  // origin, spacing and direction.
  std::vector<double> MakePoints(const PieceInfo& info, const std::vector<double> lines[3]) const {
    std::vector<double> points(static_cast<std::size_t>(info.ni * info.nj) * 3);
    std::size_t at = 0;
    for (std::int64_t k = 0; k < info.n[2]; ++k)
      for (std::int64_t j = 0; j < info.n[1]; ++j)
        for (std::int64_t i = 0; i < info.n[0]; ++i) {
          const std::int64_t index[3] = {i, j, k};
          if (kind_ == "RectilinearGrid") {
            for (int axis = 0; axis < 3; ++axis) points[at++] = lines[axis][static_cast<std::size_t>(index[axis])];
            continue;
          }
          double step[3];
          for (int axis = 0; axis < 3; ++axis)
            step[axis] = static_cast<double>(info.extent[2 * axis] + index[axis]) * spacing_[axis];
          for (int row = 0; row < 3; ++row)
            points[at++] = origin_[row] + direction_[3 * row] * step[0] + direction_[3 * row + 1] * step[1] + direction_[3 * row + 2] * step[2];
        }
    return points;
  }

  // The numbers of an attribute such as Origin="0 0 0"; false when there are not `count`.
  static bool Numbers(const std::string& text, double* out, int count) {
    std::istringstream in(text);
    for (int k = 0; k < count; ++k) {
      std::string word;
      if (!(in >> word) || !ParseFortranNumber(word, out[k])) return false;
    }
    return true;
  }

  PieceInfo NewPiece(const std::string& extentText, std::size_t index) {
    PieceInfo piece;
    piece.label = "Piece " + std::to_string(index) + " (Extent " + extentText + ")";
    std::istringstream extent(extentText);
    for (std::int64_t& v : piece.extent)
      if (!(extent >> v) || v < -kMaxNodes || v > kMaxNodes) Fail(piece.label + " の Extent が読めないか大きすぎます");
    for (int d = 0; d < 3; ++d) {
      piece.n[d] = piece.extent[2 * d + 1] - piece.extent[2 * d] + 1;
      if (piece.n[d] < 1 || piece.n[d] > kMaxNodes) Fail(piece.label + " の Extent が不正か大きすぎます");
    }
    if (!FoldDimensions(piece.n, piece.ni, piece.nj))
      Fail(piece.label + " は " + std::to_string(piece.n[0]) + " × " + std::to_string(piece.n[1]) + " × " + std::to_string(piece.n[2]) +
           " の3次元の格子です。どれか一方向が 1 面の格子だけが読めます");
    if (piece.ni * piece.nj > kMaxNodes) Fail(piece.label + " の格子点数が大きすぎます");
    return piece;
  }

  std::vector<PieceInfo> Parse(std::string_view xmlPart) {
    QXmlStreamReader xml(QByteArray::fromRawData(xmlPart.data(), static_cast<qsizetype>(xmlPart.size())));
    std::vector<PieceInfo> pieces;
    int where = 0;  // 1 PointData, 2 CellData, 3 Points, 4 Coordinates
    int axis = 0;
    bool sawFile = false;
    while (!xml.atEnd()) {
      const QXmlStreamReader::TokenType token = xml.readNext();
      if (token == QXmlStreamReader::EndElement) {
        const QStringView n = xml.name();
        if (n == u"PointData" || n == u"CellData" || n == u"Points" || n == u"Coordinates") where = 0;
        continue;
      }
      if (token != QXmlStreamReader::StartElement) continue;
      const QStringView n = xml.name();
      const QXmlStreamAttributes at = xml.attributes();
      auto attr = [&](const char* key) { return at.value(QLatin1String(key)).toString().toStdString(); };
      if (n == u"VTKFile") {
        sawFile = true;
        kind_ = attr("type");
        if (!IsStructuredKind(kind_))
          Fail("構造格子 (StructuredGrid、RectilinearGrid、ImageData) ではなく " + kind_ + " です。構造格子だけが読めます");
        format_.bigEndian = attr("byte_order") == "BigEndian";
        format_.headerBytes = attr("header_type") == "UInt64" ? 8 : 4;
        if (!VtkCompressorNamed(attr("compressor"), format_.compressor))
          Fail("圧縮方式 " + attr("compressor") + " には対応していません。zlib、lz4、lzma の圧縮だけが読めます");
      } else if (n == u"ImageData") {
        if (at.hasAttribute(QLatin1String("Origin")) && !Numbers(attr("Origin"), origin_, 3)) Fail("ImageData の Origin が読めません");
        if (at.hasAttribute(QLatin1String("Spacing")) && !Numbers(attr("Spacing"), spacing_, 3)) Fail("ImageData の Spacing が読めません");
        if (at.hasAttribute(QLatin1String("Direction")) && !Numbers(attr("Direction"), direction_, 9))
          Fail("ImageData の Direction が読めません");
      } else if (n == u"Piece") {
        pieces.push_back(NewPiece(attr("Extent"), pieces.size()));
      } else if (n == u"PointData") {
        where = 1;
      } else if (n == u"CellData") {
        where = 2;
      } else if (n == u"Points") {
        where = 3;
      } else if (n == u"Coordinates") {
        where = 4;
        axis = 0;
      } else if (n == u"DataArray" && where != 0 && !pieces.empty()) {
        ArrayInfo a;
        a.name = attr("Name");
        a.type = attr("type");
        a.format = attr("format");
        a.cells = where == 2;
        a.points = where == 3;
        if (where == 4) {
          if (axis == 3) Fail(pieces.back().label + " の Coordinates に配列が 4 つ以上あります");
          a.axis = axis++;
        }
        const std::string components = attr("NumberOfComponents");
        if (!components.empty()) {
          auto r = std::from_chars(components.data(), components.data() + components.size(), a.components);
          if (r.ec != std::errc() || a.components < 1 || a.components > 1000)
            Fail("配列 " + a.name + " の NumberOfComponents が不正です");
        }
        if (a.format == "appended") {
          const std::string offset = attr("offset");
          auto r = std::from_chars(offset.data(), offset.data() + offset.size(), a.offset);
          if (offset.empty() || r.ec != std::errc() || a.offset < 0) Fail("配列 " + a.name + " の offset が不正です");
        } else if (a.format == "ascii" || a.format == "binary") {
          // Newer writers put InformationKey elements (ranges) inside an array; only its own text counts.
          a.text = xml.readElementText(QXmlStreamReader::SkipChildElements).toStdString();
        } else {
          Fail("配列 " + a.name + " の format \"" + a.format + "\" は読めません");
        }
        pieces.back().arrays.push_back(std::move(a));
      } else if (n == u"AppendedData") {
        break;
      }
    }
    // A file cut short ends in the middle of its XML: arrays after the cut would be missing.
    if (xml.hasError() && xml.error() == QXmlStreamReader::PrematureEndOfDocumentError)
      Fail("XML が " + std::to_string(xml.lineNumber()) + " 行目で途中で終わっています (ファイルが切れています)");
    if (xml.hasError())
      Fail(std::to_string(xml.lineNumber()) + " 行目の XML が読めません: " + xml.errorString().toStdString());
    if (!sawFile) Fail("VTKFile 要素がありません");
    return pieces;
  }

  // "Piece 0 (Extent ...) の配列 P: " for messages about an array.
  static std::string What(const PieceInfo& info, const ArrayInfo& a) {
    return info.label + " の " + (a.points ? std::string("Points") : a.axis >= 0 ? "Coordinates" : "配列 " + a.name) + ": ";
  }

  std::vector<double> Decode(const PieceInfo& info, const ArrayInfo& a) {
    const std::string what = What(info, a);
    bool real = false, sign = false;
    const int size = VtkTypeSize(a.type, real, sign);
    if (size == 0) Fail(what + "値の型 " + a.type + " は読めません");
    const std::uint64_t count = static_cast<std::uint64_t>(Tuples(info, a)) * static_cast<std::uint64_t>(a.components);
    std::vector<double> out;
    if (a.format == "ascii") {
      // Count the numbers first: too few or too many both mean the array is not of this grid.
      std::uint64_t found = 0;
      for (std::size_t p = 0; p < a.text.size();) {
        while (p < a.text.size() && IsValueSeparator(a.text[p])) ++p;
        if (p == a.text.size()) break;
        ++found;
        while (p < a.text.size() && !IsValueSeparator(a.text[p])) ++p;
      }
      if (found != count) Fail(what + "値は " + std::to_string(found) + " 個で、格子の " + std::to_string(count) + " 個と合いません");
      out.resize(static_cast<std::size_t>(count));
      std::size_t p = 0;
      for (double& v : out) {
        while (p < a.text.size() && IsValueSeparator(a.text[p])) ++p;
        const std::size_t b = p;
        while (p < a.text.size() && !IsValueSeparator(a.text[p])) ++p;
        if (!ParseFortranNumber(std::string_view(a.text).substr(b, p - b), v))
          Fail(what + "\"" + a.text.substr(b, std::min<std::size_t>(p - b, 30)) + "\" は数ではありません");
      }
      return out;
    }
    std::string_view data;
    VtkBlockFormat format = format_;
    if (a.format == "binary") {
      data = a.text;
      format.base64 = true;
    } else {
      if (static_cast<std::uint64_t>(a.offset) > appended_.size()) Fail(what + "offset が AppendedData の外を指しています");
      data = appended_.substr(static_cast<std::size_t>(a.offset));
    }
    const std::uint64_t element = static_cast<std::uint64_t>(size);
    const std::string bytes = DecodeVtkBlocks(data, format, count * element, element, [&](const std::string& text) { Fail(what + text); });
    out.resize(static_cast<std::size_t>(count));
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t k = 0; k < out.size(); ++k)
      out[k] = VtkValue(p + k * static_cast<std::size_t>(size), size, real, sign, format_.bigEndian);
    return out;
  }

  std::string_view s_;
  const std::string& path_;
  VtkBudget& budget_;
  std::string kind_;
  std::string_view appended_;
  VtkBlockFormat format_;
  double origin_[3] = {0, 0, 0}, spacing_[3] = {1, 1, 1};
  double direction_[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
};

}  // namespace

std::string VtkXmlKind(std::string_view head) {
  const std::size_t at = head.find("<VTKFile");
  if (at == std::string_view::npos || at > 1024) return {};
  const std::size_t type = head.find("type=\"", at);
  if (type == std::string_view::npos) return {};
  const std::size_t end = head.find('"', type + 6);
  return end == std::string_view::npos ? std::string() : std::string(head.substr(type + 6, end - type - 6));
}

std::vector<VtkPiece> ReadXmlGrid(std::string_view bytes, const std::string& path, std::string& layout, VtkBudget& budget) {
  return XmlGridReader(bytes, path, budget).Read(layout);
}

std::vector<std::pair<std::string, std::string>> ReadVtmList(std::string_view bytes, const std::string& path) {
  QXmlStreamReader xml(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
  std::vector<std::pair<std::string, std::string>> files;
  std::vector<std::string> blockNames;
  bool multiblock = false;
  while (!xml.atEnd()) {
    const QXmlStreamReader::TokenType token = xml.readNext();
    if (token == QXmlStreamReader::EndElement && xml.name() == u"Block" && !blockNames.empty()) blockNames.pop_back();
    if (token != QXmlStreamReader::StartElement) continue;
    const QXmlStreamAttributes at = xml.attributes();
    if (xml.name() == u"VTKFile") {
      multiblock = at.value(QLatin1String("type")) == u"vtkMultiBlockDataSet";
      if (!multiblock) throw CorvaneError("VTK ファイル " + path + ": マルチブロック (vtkMultiBlockDataSet) ではありません");
    } else if (xml.name() == u"Block") {
      blockNames.push_back(at.value(QLatin1String("name")).toString().toStdString());
    } else if (xml.name() == u"DataSet" && at.hasAttribute(QLatin1String("file"))) {
      std::string name = at.value(QLatin1String("name")).toString().toStdString();
      if (name.empty() && !blockNames.empty()) name = blockNames.back();
      files.emplace_back(at.value(QLatin1String("file")).toString().toStdString(), name);
      if (files.size() > 100000) throw CorvaneError("VTK ファイル " + path + ": 部分が多すぎます");
    }
  }
  if (xml.hasError())
    throw CorvaneError("VTK ファイル " + path + " の " + std::to_string(xml.lineNumber()) +
                       " 行目の XML が読めません: " + xml.errorString().toStdString());
  if (!multiblock) throw CorvaneError("VTK ファイル " + path + ": VTKFile 要素がありません");
  if (files.empty()) throw CorvaneError("VTK ファイル " + path + ": 読み込むデータセット (DataSet) がありません");
  return files;
}

std::vector<VtkCollectionEntry> ReadPvdList(std::string_view bytes, const std::string& path) {
  QXmlStreamReader xml(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
  std::vector<VtkCollectionEntry> entries;
  bool collection = false;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const QXmlStreamAttributes at = xml.attributes();
    if (xml.name() == u"VTKFile") {
      collection = at.value(QLatin1String("type")) == u"Collection";
      if (!collection) throw CorvaneError("VTK ファイル " + path + ": 時系列の一覧 (Collection) ではありません");
    } else if (xml.name() == u"DataSet" && at.hasAttribute(QLatin1String("file"))) {
      VtkCollectionEntry e;
      e.file = at.value(QLatin1String("file")).toString().toStdString();
      e.part = at.value(QLatin1String("part")).toString().toStdString();
      const std::string time = at.value(QLatin1String("timestep")).toString().toStdString();
      if (time.empty()) {
        e.time = static_cast<double>(entries.size());
      } else if (!ParseFortranNumber(time, e.time) || !std::isfinite(e.time)) {
        throw CorvaneError("VTK ファイル " + path + ": " + e.file + " の時刻 (timestep) \"" + time + "\" が有限の数ではありません");
      }
      entries.push_back(std::move(e));
      if (entries.size() > 100000) throw CorvaneError("VTK ファイル " + path + ": 時系列のファイルが多すぎます");
    }
  }
  if (xml.hasError())
    throw CorvaneError("VTK ファイル " + path + " の " + std::to_string(xml.lineNumber()) +
                       " 行目の XML が読めません: " + xml.errorString().toStdString());
  if (!collection) throw CorvaneError("VTK ファイル " + path + ": VTKFile 要素がありません");
  if (entries.empty()) throw CorvaneError("VTK ファイル " + path + ": 読み込むデータセット (DataSet) がありません");
  return entries;
}

}  // namespace corvane
