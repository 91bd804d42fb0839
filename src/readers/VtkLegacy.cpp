#include "readers/VtkLegacy.h"

#include <charconv>
#include <limits>
#include <set>
#include <utility>

#include "readers/AsciiCase.h"
#include "field/CellAverage.h"
#include "base/Errors.h"
#include "readers/FortranNumber.h"
#include "base/TextEncoding.h"

namespace corvane {
namespace {

constexpr std::int64_t kMaxNodes = std::numeric_limits<std::int32_t>::max();

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// Names in legacy files write a blank and other special characters as %XX.
std::string DecodeName(const std::string& name) {
  std::string out;
  for (std::size_t k = 0; k < name.size(); ++k) {
    unsigned value = 0;
    if (name[k] == '%' && k + 2 < name.size() &&
        std::from_chars(name.data() + k + 1, name.data() + k + 3, value, 16).ptr == name.data() + k + 3) {
      out += static_cast<char>(value);
      k += 2;
    } else {
      out += name[k];
    }
  }
  return IsValidUtf8(out) ? out : Cp932ToUtf8(out);
}

class LegacyReader {
 public:
  LegacyReader(std::string_view s, const std::string& path, VtkBudget& budget) : s_(s), path_(path), budget_(budget) {}

  VtkPiece Read(std::string& layout) {
    const std::string banner = Line();
    if (!LooksLikeLegacyVtk(banner)) Fail("VTK の見出し (# vtk DataFile Version) がありません");
    piece_.name = Line();
    if (!IsValidUtf8(piece_.name)) piece_.name = Cp932ToUtf8(piece_.name);
    layout = AsciiUpper(Word());
    if (layout != "ASCII" && layout != "BINARY") Fail("ASCII か BINARY があるはずのところに " + layout + " があります");
    binary_ = layout == "BINARY";
    if (AsciiUpper(Word()) != "DATASET") Fail("DATASET がありません");
    kind_ = AsciiUpper(Word());
    if (kind_ != "STRUCTURED_GRID" && kind_ != "RECTILINEAR_GRID" && kind_ != "STRUCTURED_POINTS")
      Fail("構造格子 (STRUCTURED_GRID、RECTILINEAR_GRID、STRUCTURED_POINTS) ではなく " + kind_ + " です。構造格子だけが読めます");
    for (;;) {
      const std::string key = AsciiUpper(Word());
      if (key.empty()) break;
      // A second size would leave the arrays read so far sized for the first one.
      if ((key == "DIMENSIONS" || key == "POINTS" || key == "POINT_DATA" || key == "CELL_DATA" || key == "ORIGIN" ||
           key == "SPACING" || key == "ASPECT_RATIO" || key == "X_COORDINATES" || key == "Y_COORDINATES" || key == "Z_COORDINATES") &&
          !seen_.insert(key == "ASPECT_RATIO" ? "SPACING" : key).second)
        Fail(key + " が二度あります");
      if (key == "DIMENSIONS") {
        for (std::int64_t& n : dims_) {
          n = Count();
          if (n < 1) Fail("DIMENSIONS の値は 1 以上が必要です");
          if (n > kMaxNodes) Fail("格子点数が大きすぎます");
        }
        if (!FoldDimensions(dims_, piece_.ni, piece_.nj))
          Fail("DIMENSIONS が " + std::to_string(dims_[0]) + " × " + std::to_string(dims_[1]) + " × " + std::to_string(dims_[2]) +
               " の3次元の格子です。どれか一方向が 1 面の格子だけが読めます");
        if (piece_.ni * piece_.nj > kMaxNodes) Fail("格子点数が大きすぎます");
      } else if (key == "POINTS" && kind_ == "STRUCTURED_GRID") {
        if (piece_.ni == 0) Fail("POINTS の前に DIMENSIONS がありません");
        const std::int64_t n = Count();
        if (n != piece_.ni * piece_.nj) Fail("POINTS の点数 " + std::to_string(n) + " が DIMENSIONS と合いません");
        const std::string type = Word();
        piece_.points = Values(n * 3, type);
      } else if (kind_ == "RECTILINEAR_GRID" && key.size() == 13 && key.ends_with("_COORDINATES") && key[0] >= 'X' && key[0] <= 'Z') {
        if (piece_.ni == 0) Fail(key + " の前に DIMENSIONS がありません");
        const int axis = key[0] - 'X';
        const std::int64_t n = Count();
        if (n != dims_[axis]) Fail(key + " の数 " + std::to_string(n) + " が DIMENSIONS の " + std::to_string(dims_[axis]) + " と合いません");
        coordinates_[axis] = Values(n, Word());
      } else if (kind_ == "STRUCTURED_POINTS" && (key == "ORIGIN" || key == "SPACING" || key == "ASPECT_RATIO")) {
        for (double& v : key == "ORIGIN" ? origin_ : spacing_) {
          const std::string word = Word();
          if (!ParseFortranNumber(word, v)) Fail(key + " に数でない \"" + word + "\" があります");
        }
      } else if (key == "POINT_DATA" || key == "CELL_DATA") {
        if (piece_.ni == 0) Fail(key + " の前に DIMENSIONS がありません");
        cells_ = key == "CELL_DATA";
        const std::int64_t n = Count();
        tuples_ = cells_ ? CellCount(piece_.ni, piece_.nj) : piece_.ni * piece_.nj;
        if (n != tuples_) Fail(key + " の数 " + std::to_string(n) + " が格子の " + std::to_string(tuples_) + " と合いません");
      } else if (key == "SCALARS") {
        const std::string name = Word(), type = Word();
        // The number of components is optional and ends the line.
        const std::string rest = Line();
        const std::size_t digit = rest.find_first_not_of(" \t");
        const std::int64_t components = digit == std::string::npos ? 1 : Number(rest.substr(digit, rest.find_last_not_of(" \t") + 1 - digit));
        if (components < 1 || components > 4) Fail("SCALARS " + name + " の成分数が不正です");
        const std::size_t before = p_;
        if (AsciiUpper(Word()) == "LOOKUP_TABLE") {
          Word();
        } else {
          p_ = before;
          lineStart_ = true;
        }
        Array(name, static_cast<int>(components), type);
      } else if (key == "VECTORS" || key == "NORMALS") {
        const std::string name = Word(), type = Word();
        Array(name, 3, type);
      } else if (key == "TENSORS" || key == "TENSORS6") {
        const std::string name = Word(), type = Word();
        Array(name, key == "TENSORS" ? 9 : 6, type);
      } else if (key == "TEXTURE_COORDINATES") {
        const std::string name = Word();
        const std::int64_t dim = Count();
        if (dim < 1 || dim > 3) Fail("TEXTURE_COORDINATES の次元が不正です");
        Array(name, static_cast<int>(dim), Word());
      } else if (key == "COLOR_SCALARS") {
        const std::string name = Word();
        const std::int64_t n = Count();
        if (n < 1 || n > 4) Fail("COLOR_SCALARS の成分数が不正です");
        Array(name, static_cast<int>(n), binary_ ? "unsigned_char" : "float");
      } else if (key == "LOOKUP_TABLE") {
        Word();
        const std::int64_t n = Count();
        if (n > kMaxNodes) Fail("LOOKUP_TABLE が大きすぎます");
        Values(n * 4, binary_ ? "unsigned_char" : "float");
      } else if (key == "FIELD") {
        Word();
        const std::int64_t arrays = Count();
        for (std::int64_t a = 0; a < arrays; ++a) {
          std::string name = Word();
          // Writers of version 5 put each array's information between the arrays.
          while (AsciiUpper(name) == "METADATA") {
            SkipMetadata();
            name = Word();
          }
          if (name == "NULL_ARRAY") continue;
          const std::int64_t components = Count(), tuples = Count();
          const std::string type = Word();
          if (components < 1 || components > 1000 || tuples > kMaxNodes) Fail("FIELD の配列 " + name + " の大きさが不正です");
          if (tuples_ >= 0 && tuples == tuples_) {
            Array(name, static_cast<int>(components), type);
          } else {
            Values(components * tuples, type);  // data of the data set as a whole (a time), not of nodes
          }
        }
      } else if (key == "METADATA") {
        SkipMetadata();
      } else {
        Fail("知らない語 " + key + " があります");
      }
    }
    MakePoints();
    if (kind_ != "STRUCTURED_GRID") layout += ", " + kind_;
    return std::move(piece_);
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw CorvaneError("VTK ファイル " + path_ + " (" + std::to_string(p_) + " バイト目): " + what);
  }

  // The points of a grid given by its coordinate lines or by origin and spacing.
  void MakePoints() {
    if (piece_.ni == 0) Fail("DIMENSIONS がありません");
    if (kind_ == "STRUCTURED_GRID") {
      if (piece_.points.empty()) Fail("POINTS がありません");
      return;
    }
    for (int axis = 0; axis < 3; ++axis)
      if (kind_ == "RECTILINEAR_GRID" && coordinates_[axis].empty()) Fail(std::string(1, static_cast<char>('X' + axis)) + "_COORDINATES がありません");
    const std::int64_t n = dims_[0] * dims_[1] * dims_[2];
    budget_.Spend(static_cast<std::uint64_t>(n) * 3, path_);
    piece_.points.resize(static_cast<std::size_t>(n) * 3);
    std::size_t at = 0;
    for (std::int64_t k = 0; k < dims_[2]; ++k)
      for (std::int64_t j = 0; j < dims_[1]; ++j)
        for (std::int64_t i = 0; i < dims_[0]; ++i) {
          const std::int64_t index[3] = {i, j, k};
          for (int axis = 0; axis < 3; ++axis)
            piece_.points[at++] = kind_ == "RECTILINEAR_GRID" ? coordinates_[axis][static_cast<std::size_t>(index[axis])]
                                                              : origin_[axis] + static_cast<double>(index[axis]) * spacing_[axis];
        }
  }

  // Information about the arrays (names of keys, ranges), up to an empty line.
  void SkipMetadata() {
    Line();
    while (p_ < s_.size()) {
      const std::string line = Line();
      if (line.find_first_not_of(" \t\r") == std::string::npos) break;
    }
  }

  std::string Line() {
    const std::size_t b = p_;
    while (p_ < s_.size() && s_[p_] != '\n') ++p_;
    std::string line(s_.substr(b, p_ - b));
    if (p_ < s_.size()) ++p_;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }

  std::string Word() {
    while (p_ < s_.size() && IsBlank(s_[p_])) ++p_;
    const std::size_t b = p_;
    while (p_ < s_.size() && !IsBlank(s_[p_]) && p_ - b < 1024) ++p_;
    return std::string(s_.substr(b, p_ - b));
  }

  std::int64_t Number(const std::string& word) const {
    std::int64_t n = 0;
    auto r = std::from_chars(word.data(), word.data() + word.size(), n);
    if (word.empty() || r.ec != std::errc() || r.ptr != word.data() + word.size() || n < 0)
      Fail("個数があるはずのところに \"" + word + "\" があります");
    return n;
  }
  std::int64_t Count() { return Number(Word()); }

  // `count` values of `type`: binary ones start after the end of the current line.
  std::vector<double> Values(std::int64_t count, const std::string& type) {
    bool real = false, sign = false;
    const int size = VtkTypeSize(type, real, sign);
    if (size == 0) Fail("値の型 " + type + " は読めません");
    const std::size_t left = s_.size() - p_;
    std::vector<double> out;
    const bool atStart = std::exchange(lineStart_, false);
    if (binary_) {
      if (!atStart) {
        while (p_ < s_.size() && s_[p_] != '\n') ++p_;
        if (p_ < s_.size()) ++p_;
      }
      const std::size_t room = s_.size() - p_;
      if (count < 0 || static_cast<std::uint64_t>(count) > room / static_cast<std::size_t>(size))
        Fail(std::to_string(count) + " 個の値 (" + type + ") の途中でファイルが終わっています");
      out.resize(static_cast<std::size_t>(count));
      const unsigned char* p = reinterpret_cast<const unsigned char*>(s_.data() + p_);
      for (std::size_t k = 0; k < out.size(); ++k) out[k] = VtkValue(p + k * static_cast<std::size_t>(size), size, real, sign, true);
      p_ += out.size() * static_cast<std::size_t>(size);
      return out;
    }
    if (count < 0 || static_cast<std::uint64_t>(count) > left / 2 + 1)
      Fail(std::to_string(count) + " 個の値の途中でファイルが終わっています");
    out.resize(static_cast<std::size_t>(count));
    for (double& v : out) {
      const std::string word = Word();
      if (word.empty()) Fail(std::to_string(count) + " 個の値の途中でファイルが終わっています");
      if (!ParseFortranNumber(word, v)) Fail("\"" + word + "\" は数ではありません");
    }
    return out;
  }

  void Array(const std::string& name, int components, const std::string& type) {
    if (tuples_ < 0) Fail("配列 " + name + " の前に POINT_DATA も CELL_DATA もありません");
    VtkArray array;
    array.name = DecodeName(name);
    array.components = components;
    array.cells = cells_;
    array.values = Values(tuples_ * components, type);
    piece_.arrays.push_back(std::move(array));
  }

  std::string_view s_;
  const std::string& path_;
  VtkBudget& budget_;
  std::size_t p_ = 0;
  std::string kind_;
  std::set<std::string> seen_;
  std::int64_t dims_[3] = {0, 0, 0};
  std::vector<double> coordinates_[3];
  double origin_[3] = {0, 0, 0}, spacing_[3] = {1, 1, 1};
  bool binary_ = false;
  bool lineStart_ = false;  // the binary values start here, the line before them already read
  bool cells_ = false;
  std::int64_t tuples_ = -1;
  VtkPiece piece_;
};

}  // namespace

bool LooksLikeLegacyVtk(std::string_view head) {
  static constexpr std::string_view kBanner = "# vtk DataFile Version";
  return head.size() >= kBanner.size() && head.substr(0, kBanner.size()) == kBanner;
}

VtkPiece ReadLegacyVtk(std::string_view bytes, const std::string& path, std::string& layout, VtkBudget& budget) {
  return LegacyReader(bytes, path, budget).Read(layout);
}

}  // namespace corvane
