#include "data/VtkXml.h"

#include <zlib.h>

#include <QByteArray>
#include <QXmlStreamReader>

#include <charconv>
#include <functional>
#include <limits>
#include <sstream>

#include "data/CellAverage.h"
#include "data/Errors.h"
#include "data/FortranNumber.h"

namespace corvane {
namespace {

constexpr std::int64_t kMaxNodes = std::numeric_limits<std::int32_t>::max();
// zlib never expands data more than about 1032 times; a block that claims more is damaged.
constexpr std::uint64_t kMaxInflation = 1100;

struct ArrayInfo {
  std::string name, type, format;
  int components = 1;
  std::int64_t offset = -1;
  bool cells = false, points = false;
  std::string text;  // inline content
};

struct PieceInfo {
  std::int64_t ni = 0, nj = 0;
  std::vector<ArrayInfo> arrays;
};

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// Bytes of an array one after another: raw, or decoded from base64 quad by quad (a quad with
// padding ends a segment, so a header and its data encoded apart or together read the same).
class ByteSource {
 public:
  ByteSource(std::string_view s, bool base64, std::function<void(const std::string&)> fail)
      : s_(s), base64_(base64), fail_(std::move(fail)) {}

  // An upper bound of the bytes left.
  std::uint64_t Available() const {
    const std::uint64_t left = s_.size() - p_;
    return base64_ ? left / 4 * 3 + 3 + pending_.size() : left;
  }

  void Take(std::uint64_t n, std::string& out) {
    if (n > Available()) fail_("長さ " + std::to_string(n) + " バイトのデータの途中でファイルが終わっています");
    out.clear();
    out.reserve(static_cast<std::size_t>(n));
    if (!base64_) {
      out.assign(s_.substr(p_, static_cast<std::size_t>(n)));
      p_ += static_cast<std::size_t>(n);
      return;
    }
    while (out.size() < n) {
      if (!pending_.empty()) {
        const std::size_t k = std::min<std::size_t>(pending_.size(), static_cast<std::size_t>(n - out.size()));
        out.append(pending_, 0, k);
        pending_.erase(0, k);
        continue;
      }
      int q[4];
      int got = 0;
      while (got < 4 && p_ < s_.size()) {
        const char c = s_[p_++];
        if (c == '=') {
          q[got++] = -2;
        } else if (static_cast<unsigned char>(c) > 32) {
          q[got] = Base64Value(c);
          if (q[got] < 0) fail_("base64 でない文字 '" + std::string(1, c) + "' があります");
          ++got;
        }
      }
      if (got < 4) fail_("base64 のデータが途中で終わっています");
      if (q[0] < 0 || q[1] < 0) fail_("base64 のデータが壊れています");
      const std::uint32_t bits = (static_cast<std::uint32_t>(q[0]) << 18) | (static_cast<std::uint32_t>(q[1]) << 12) |
                                 (static_cast<std::uint32_t>(q[2] < 0 ? 0 : q[2]) << 6) |
                                 static_cast<std::uint32_t>(q[3] < 0 ? 0 : q[3]);
      pending_ += static_cast<char>(bits >> 16);
      if (q[2] >= 0) pending_ += static_cast<char>((bits >> 8) & 0xFF);
      if (q[2] >= 0 && q[3] >= 0) pending_ += static_cast<char>(bits & 0xFF);
    }
  }

 private:
  std::string_view s_;
  std::size_t p_ = 0;
  bool base64_;
  std::string pending_;
  std::function<void(const std::string&)> fail_;
};

class VtsReader {
 public:
  VtsReader(std::string_view bytes, const std::string& path) : s_(bytes), path_(path) {}

  std::vector<VtkPiece> Read(std::string& layout) {
    std::string_view xmlPart = s_;
    const std::size_t tag = s_.find("<AppendedData");
    if (tag != std::string_view::npos) {
      const std::size_t gt = s_.find('>', tag);
      const std::size_t mark = gt == std::string_view::npos ? gt : s_.find('_', gt);
      if (mark == std::string_view::npos) Fail("AppendedData の始まり (_) がありません");
      const std::string_view open = s_.substr(tag, gt - tag);
      appendedBase64_ = open.find("base64") != std::string_view::npos;
      appended_ = s_.substr(mark + 1);
      if (appendedBase64_) appended_ = appended_.substr(0, appended_.find('<'));
      xmlPart = s_.substr(0, gt + 1);
    }
    std::vector<PieceInfo> pieces = Parse(xmlPart);
    if (pieces.empty()) Fail("Piece がありません");
    std::vector<VtkPiece> out;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
      const PieceInfo& info = pieces[k];
      VtkPiece piece;
      piece.ni = info.ni;
      piece.nj = info.nj;
      bool pointsFound = false;
      for (const ArrayInfo& a : info.arrays) {
        const std::int64_t tuples = a.cells ? CellCount(info.ni, info.nj) : info.ni * info.nj;
        if (layout.empty()) layout = a.format == "appended" ? (appendedBase64_ ? "appended base64" : "appended raw")
                                   : a.format == "binary"   ? "base64"
                                                            : "ascii";
        std::vector<double> values = Decode(a, tuples);
        if (a.points) {
          if (a.components != 3) Fail("Points の成分数が 3 ではありません");
          piece.points = std::move(values);
          pointsFound = true;
        } else {
          piece.arrays.push_back({a.name, a.components, a.cells, std::move(values)});
        }
      }
      if (!pointsFound) Fail("Piece " + std::to_string(k) + " に Points がありません");
      out.push_back(std::move(piece));
    }
    if (!compressor_.empty() && layout != "ascii") layout += ", zlib";
    return out;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const { throw CorvaneError("VTK ファイル " + path_ + ": " + what); }

  std::vector<PieceInfo> Parse(std::string_view xmlPart) {
    QXmlStreamReader xml(QByteArray::fromRawData(xmlPart.data(), static_cast<qsizetype>(xmlPart.size())));
    std::vector<PieceInfo> pieces;
    int where = 0;  // 1 PointData, 2 CellData, 3 Points
    bool sawFile = false;
    while (!xml.atEnd()) {
      const QXmlStreamReader::TokenType token = xml.readNext();
      if (token == QXmlStreamReader::EndElement) {
        const QStringView n = xml.name();
        if (n == u"PointData" || n == u"CellData" || n == u"Points") where = 0;
        continue;
      }
      if (token != QXmlStreamReader::StartElement) continue;
      const QStringView n = xml.name();
      const QXmlStreamAttributes at = xml.attributes();
      auto attr = [&](const char* key) { return at.value(QLatin1String(key)).toString().toStdString(); };
      if (n == u"VTKFile") {
        sawFile = true;
        if (attr("type") != "StructuredGrid")
          Fail("構造格子 (StructuredGrid) ではなく " + attr("type") + " です。構造格子だけが読めます");
        bigEndian_ = attr("byte_order") == "BigEndian";
        headerBytes_ = attr("header_type") == "UInt64" ? 8 : 4;
        compressor_ = attr("compressor");
        if (!compressor_.empty() && compressor_ != "vtkZLibDataCompressor")
          Fail("圧縮方式 " + compressor_ + " には対応していません。zlib (vtkZLibDataCompressor) だけが読めます");
      } else if (n == u"Piece") {
        PieceInfo piece;
        std::istringstream extent(attr("Extent"));
        std::int64_t e[6];
        for (std::int64_t& v : e)
          if (!(extent >> v)) Fail("Piece の Extent が読めません");
        const std::int64_t ni = e[1] - e[0] + 1, nj = e[3] - e[2] + 1, nk = e[5] - e[4] + 1;
        if (ni < 1 || nj < 1 || nk < 1 || ni > kMaxNodes || nj > kMaxNodes || ni * nj > kMaxNodes)
          Fail("Piece の Extent (" + attr("Extent") + ") が不正か大きすぎます");
        if (nk != 1) Fail("z 方向が " + std::to_string(nk) + " 面の格子です。z 方向が 1 面の格子だけが読めます");
        piece.ni = ni;
        piece.nj = nj;
        pieces.push_back(std::move(piece));
      } else if (n == u"PointData") {
        where = 1;
      } else if (n == u"CellData") {
        where = 2;
      } else if (n == u"Points") {
        where = 3;
      } else if (n == u"DataArray" && where != 0 && !pieces.empty()) {
        ArrayInfo a;
        a.name = attr("Name");
        a.type = attr("type");
        a.format = attr("format");
        a.cells = where == 2;
        a.points = where == 3;
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
    if (xml.hasError() && xml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
      Fail(std::to_string(xml.lineNumber()) + " 行目の XML が読めません: " + xml.errorString().toStdString());
    if (!sawFile) Fail("VTKFile 要素がありません");
    return pieces;
  }

  std::uint64_t Header(ByteSource& source, std::string& buffer) {
    source.Take(static_cast<std::uint64_t>(headerBytes_), buffer);
    return static_cast<std::uint64_t>(
        VtkValue(reinterpret_cast<const unsigned char*>(buffer.data()), headerBytes_, false, false, bigEndian_));
  }

  std::vector<double> Decode(const ArrayInfo& a, std::int64_t tuples) {
    const std::string what = "配列 " + (a.points ? std::string("Points") : a.name) + ": ";
    bool real = false, sign = false;
    const int size = VtkTypeSize(a.type, real, sign);
    if (size == 0) Fail(what + "値の型 " + a.type + " は読めません");
    const std::uint64_t count = static_cast<std::uint64_t>(tuples) * static_cast<std::uint64_t>(a.components);
    std::vector<double> out;
    if (a.format == "ascii") {
      if (count > a.text.size() / 2 + 1) Fail(what + std::to_string(count) + " 個の値が必要ですが、足りません");
      out.resize(static_cast<std::size_t>(count));
      std::size_t p = 0;
      for (double& v : out) {
        while (p < a.text.size() && IsValueSeparator(a.text[p])) ++p;
        const std::size_t b = p;
        while (p < a.text.size() && !IsValueSeparator(a.text[p])) ++p;
        if (b == p) Fail(what + std::to_string(count) + " 個の値が必要ですが、足りません");
        if (!ParseFortranNumber(std::string_view(a.text).substr(b, p - b), v))
          Fail(what + "\"" + a.text.substr(b, std::min<std::size_t>(p - b, 30)) + "\" は数ではありません");
      }
      return out;
    }
    std::string_view data;
    bool base64 = true;
    if (a.format == "binary") {
      data = a.text;
    } else {
      if (static_cast<std::uint64_t>(a.offset) > appended_.size()) Fail(what + "offset が AppendedData の外を指しています");
      data = appended_.substr(static_cast<std::size_t>(a.offset));
      base64 = appendedBase64_;
    }
    ByteSource source(data, base64, [&](const std::string& text) { Fail(what + text); });
    const std::uint64_t wanted = count * static_cast<std::uint64_t>(size);
    std::string bytes, buffer;
    if (compressor_.empty()) {
      const std::uint64_t n = Header(source, buffer);
      if (n != wanted)
        Fail(what + "長さ " + std::to_string(n) + " バイトが格子の " + std::to_string(wanted) + " バイトと合いません");
      source.Take(n, bytes);
    } else {
      const std::uint64_t blocks = Header(source, buffer), blockSize = Header(source, buffer), last = Header(source, buffer);
      if (blocks > source.Available() / static_cast<std::uint64_t>(headerBytes_)) Fail(what + "圧縮ブロックの数が不正です");
      std::vector<std::uint64_t> sizes(static_cast<std::size_t>(blocks));
      std::uint64_t compressed = 0;
      for (std::uint64_t& c : sizes) {
        c = Header(source, buffer);
        if (c > source.Available()) Fail(what + "圧縮ブロックの長さ " + std::to_string(c) + " がファイルに収まりません");
        compressed += c;
      }
      if (blocks > 0 && (blockSize == 0 || (last > blockSize)))
        Fail(what + "圧縮ブロックの大きさが不正です");
      if (blocks > 1 && blockSize > wanted / (blocks - 1)) Fail(what + "圧縮ブロックの大きさが不正です");
      const std::uint64_t total = blocks == 0 ? 0 : (blocks - 1) * blockSize + (last ? last : blockSize);
      if (total != wanted)
        Fail(what + "展開後の長さ " + std::to_string(total) + " バイトが格子の " + std::to_string(wanted) + " バイトと合いません");
      if (compressed > source.Available() || total > compressed * kMaxInflation + 65536)
        Fail(what + "圧縮データの長さが不正です");
      bytes.resize(static_cast<std::size_t>(total));
      std::uint64_t at = 0;
      for (std::uint64_t k = 0; k < blocks; ++k) {
        source.Take(sizes[static_cast<std::size_t>(k)], buffer);
        const std::uint64_t expect = k + 1 == blocks && last ? last : blockSize;
        uLongf length = static_cast<uLongf>(expect);
        if (uncompress(reinterpret_cast<Bytef*>(bytes.data() + at), &length, reinterpret_cast<const Bytef*>(buffer.data()),
                       static_cast<uLong>(buffer.size())) != Z_OK ||
            length != expect)
          Fail(what + "圧縮ブロック " + std::to_string(k) + " を展開できません");
        at += expect;
      }
    }
    out.resize(static_cast<std::size_t>(count));
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t k = 0; k < out.size(); ++k)
      out[k] = VtkValue(p + k * static_cast<std::size_t>(size), size, real, sign, bigEndian_);
    return out;
  }

  std::string_view s_;
  const std::string& path_;
  std::string_view appended_;
  bool appendedBase64_ = false;
  bool bigEndian_ = false;
  int headerBytes_ = 4;
  std::string compressor_;
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

std::vector<VtkPiece> ReadVts(std::string_view bytes, const std::string& path, std::string& layout) {
  return VtsReader(bytes, path).Read(layout);
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

}  // namespace corvane
