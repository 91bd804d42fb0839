#include "data/Plot3dLayout.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

#include "data/Errors.h"

namespace corvane {
namespace {

constexpr bool kHostBig = std::endian::native == std::endian::big;

std::uint32_t Swap32(std::uint32_t v) {
  return (v >> 24) | ((v >> 8) & 0xff00u) | ((v << 8) & 0xff0000u) | (v << 24);
}

std::uint64_t Swap64(std::uint64_t v) {
  return (std::uint64_t{Swap32(static_cast<std::uint32_t>(v))} << 32) | Swap32(static_cast<std::uint32_t>(v >> 32));
}

std::uint32_t Load32(std::string_view b, std::size_t pos, bool big) {
  std::uint32_t v;
  std::memcpy(&v, b.data() + pos, 4);
  return big == kHostBig ? v : Swap32(v);
}

std::uint64_t Load64(std::string_view b, std::size_t pos, bool big) {
  std::uint64_t v;
  std::memcpy(&v, b.data() + pos, 8);
  return big == kHostBig ? v : Swap64(v);
}

// The file seen as a row of units: bytes of a binary file, or the numbers of a formatted one.
struct Source {
  std::string_view bytes;
  const std::vector<double>* numbers = nullptr;  // set for formatted files
  bool big = false;

  std::uint64_t Size() const { return numbers ? numbers->size() : bytes.size(); }
  std::uint64_t IntUnits() const { return numbers ? 1 : 4; }
  // The integer at `pos`; nullopt beyond the end or for a number that is not a whole one.
  std::optional<std::int64_t> Int(std::uint64_t pos) const {
    if (pos + IntUnits() > Size()) return std::nullopt;
    if (!numbers) return static_cast<std::int32_t>(Load32(bytes, pos, big));
    const double v = (*numbers)[pos];
    if (!(std::fabs(v) < 9e15) || v != std::floor(v)) return std::nullopt;
    return static_cast<std::int64_t>(v);
  }
};

struct Attempt {
  std::optional<Plot3dScan> scan;
  std::uint64_t reached = 0;  // how far the file made sense
  std::string why;
};

std::string BlockText(std::size_t b) { return "ブロック" + std::to_string(b + 1) + " (zone[" + std::to_string(b) + "])"; }

// The block count (at `countAt`, several blocks only) and the sizes from `sizesAt`; `end` is
// where the sizes end. `unitsPerNode` is the least a node can take, so no size the file cannot
// hold gets through.
bool ReadSizes(const Source& s, std::optional<std::uint64_t> countAt, std::uint64_t sizesAt, std::vector<Plot3dBlock>& blocks,
               Attempt& a, std::uint64_t unitsPerNode, std::uint64_t& end) {
  const std::uint64_t iu = s.IntUnits();
  std::int64_t count = 1;
  if (countAt) {
    std::optional<std::int64_t> nb = s.Int(*countAt);
    if (!nb || *nb < 1 || static_cast<std::uint64_t>(*nb) > s.Size() / (2 * iu)) {
      a.why = "ブロック数がありません";
      return false;
    }
    count = *nb;
  }
  std::uint64_t total = 0;
  std::uint64_t pos = sizesAt;
  for (std::int64_t b = 0; b < count; ++b) {
    std::optional<std::int64_t> ni = s.Int(pos), nj = s.Int(pos + iu);
    pos += 2 * iu;
    if (!ni || !nj || *ni < 1 || *nj < 1 || *ni > (1ll << 31) || *nj > (1ll << 31)) {
      a.why = BlockText(static_cast<std::size_t>(b)) + " の格子点数がありません";
      return false;
    }
    const std::uint64_t nodes = static_cast<std::uint64_t>(*ni * *nj);
    total += nodes;
    if (total > s.Size() / unitsPerNode) {
      a.why = BlockText(static_cast<std::size_t>(b)) + " の格子点数 (" + std::to_string(*ni) + " × " + std::to_string(*nj) +
              ") がファイルの長さを超えます";
      return false;
    }
    blocks.push_back({{*ni, *nj}, 0, 0});
  }
  end = pos;
  return true;
}

// Fortran unformatted: every record between two equal length markers.
Attempt ScanRecords(const Source& s, Plot3dKind kind, bool multi) {
  Attempt a;
  const std::uint64_t n = s.Size();
  std::uint64_t pos = 0;
  auto record = [&](std::uint64_t& start, std::uint64_t& length) {
    if (pos + 4 > n) return false;
    length = Load32(s.bytes, pos, s.big);
    if (pos + 8 + length > n || Load32(s.bytes, pos + 4 + length, s.big) != length) return false;
    start = pos + 4;
    pos += length + 8;
    return true;
  };
  std::uint64_t start = 0, length = 0;
  Plot3dScan scan;
  scan.layout = {Plot3dEncoding::FortranRecords, s.big, multi, 4, false};
  // The sizes: a record of the block count (several blocks), then one of all the sizes.
  std::optional<std::uint64_t> countAt;
  if (multi) {
    if (!record(start, length) || length != 4) return a;
    countAt = start;
  }
  if (!record(start, length)) return a;
  std::uint64_t end = 0;
  if (!ReadSizes(s, countAt, start, scan.blocks, a, 8, end)) return a;
  if (length != 8 * scan.blocks.size()) {
    a.why = "格子点数のレコード長が合いません";
    return a;
  }
  a.reached = pos;
  int per = 0;
  for (std::size_t b = 0; b < scan.blocks.size(); ++b) {
    Plot3dBlock& block = scan.blocks[b];
    const std::uint64_t nodes = static_cast<std::uint64_t>(block.size.ni * block.size.nj);
    if (kind == Plot3dKind::Solution) {
      if (!record(start, length) || (length != 16 && length != 32) || (per && length != 4u * per)) {
        a.why = BlockText(b) + " の一様流の値 (mach, alpha, re, time) のレコードが壊れています";
        return a;
      }
      per = static_cast<int>(length / 4);
      block.header = start;
      if (!record(start, length) || length != 4 * nodes * per) {
        a.why = BlockText(b) + " の解のレコードが壊れているか、途中で終わっています";
        return a;
      }
    } else {
      if (!record(start, length) || length % nodes || (per && length / nodes != static_cast<std::uint64_t>(per)) ||
          (length / nodes != 8 && length / nodes != 12 && length / nodes != 16 && length / nodes != 20)) {
        a.why = BlockText(b) + " の座標のレコードが壊れているか、途中で終わっています";
        return a;
      }
      per = static_cast<int>(length / nodes);
    }
    block.data = start;
    a.reached = pos;
  }
  if (pos != n) {
    a.why = "最後のブロックの後に余分なデータがあります";
    return a;
  }
  if (kind == Plot3dKind::Solution) {
    scan.layout.realBytes = per;
  } else {
    scan.layout.realBytes = per >= 16 ? 8 : 4;
    scan.layout.iblank = per == 12 || per == 20;
  }
  a.scan = std::move(scan);
  return a;
}

// Plain binary or formatted: the numbers follow one another, so the length decides the rest.
Attempt ScanPlain(const Source& s, Plot3dKind kind, bool multi) {
  Attempt a;
  const bool formatted = s.numbers != nullptr;
  Plot3dScan scan;
  scan.layout = {formatted ? Plot3dEncoding::Formatted : Plot3dEncoding::PlainBinary, s.big, multi, 8, false};
  std::uint64_t pos = 0;
  const std::uint64_t iu = s.IntUnits();
  if (!ReadSizes(s, multi ? std::optional<std::uint64_t>(0) : std::nullopt, multi ? iu : 0, scan.blocks, a, formatted ? 2 : 8,
                 pos))
    return a;
  std::uint64_t nodes = 0;
  for (const Plot3dBlock& b : scan.blocks) nodes += static_cast<std::uint64_t>(b.size.ni * b.size.nj);
  const std::uint64_t rest = s.Size() - pos;
  const std::uint64_t blocks = scan.blocks.size();
  std::uint64_t per = 0;  // units per node (grid) or per real (solution)
  if (kind == Plot3dKind::Grid) {
    per = rest % nodes ? 0 : rest / nodes;
    const bool fits = formatted ? per == 2 || per == 3 : per == 8 || per == 12 || per == 16 || per == 20;
    if (!fits) {
      a.why = "格子点数と座標の個数がファイルの長さと合いません";
      return a;
    }
    scan.layout.realBytes = formatted ? 8 : per >= 16 ? 8 : 4;
    scan.layout.iblank = formatted ? per == 3 : per == 12 || per == 20;
  } else {
    const std::uint64_t reals = 4 * blocks + 4 * nodes;
    per = rest % reals ? 0 : rest / reals;
    if (!(formatted ? per == 1 : per == 4 || per == 8)) {
      a.why = "格子点数と解の個数がファイルの長さと合いません";
      return a;
    }
    scan.layout.realBytes = formatted ? 8 : static_cast<int>(per);
  }
  for (Plot3dBlock& b : scan.blocks) {
    const std::uint64_t n = static_cast<std::uint64_t>(b.size.ni * b.size.nj);
    if (kind == Plot3dKind::Grid) {
      b.data = pos;
      pos += n * per;
    } else {
      b.header = pos;
      b.data = pos + 4 * per;
      pos += (4 + 4 * n) * per;
    }
  }
  a.reached = pos;
  a.scan = std::move(scan);
  return a;
}

// Every byte printable or a blank: a formatted file, not a binary one.
bool LooksLikeText(std::string_view bytes) {
  for (unsigned char c : bytes)
    if (!(c >= 0x20 && c < 0x7f) && !(c >= 0x09 && c <= 0x0d)) return false;
  return true;
}

// The numbers of a formatted file, in order (Fortran's D exponent included).
std::vector<double> ReadNumbers(std::string_view bytes, const std::string& path, const char* what) {
  auto separator = [](char c) { return c == ' ' || c == ',' || (c >= 0x09 && c <= 0x0d); };
  std::size_t count = 0;
  for (std::size_t k = 0; k < bytes.size(); ++k)
    if (!separator(bytes[k]) && (k == 0 || separator(bytes[k - 1]))) ++count;
  std::vector<double> numbers;
  numbers.reserve(count);
  std::size_t k = 0;
  while (k < bytes.size()) {
    while (k < bytes.size() && separator(bytes[k])) ++k;
    const std::size_t begin = k;
    while (k < bytes.size() && !separator(bytes[k])) ++k;
    if (begin == k) break;
    std::string token(bytes.substr(begin, k - begin));
    for (char& c : token)
      if (c == 'd' || c == 'D') c = 'e';
    const char* first = token.data() + (token.size() > 1 && token[0] == '+' ? 1 : 0);
    double v = 0.0;
    auto [end, ec] = std::from_chars(first, token.data() + token.size(), v);
    if (ec != std::errc() || end != token.data() + token.size()) {
      std::string shown(bytes.substr(begin, std::min<std::size_t>(k - begin, 40)));
      throw CorvaneError("PLOT3D " + std::string(what) + " " + path + " の " + std::to_string(numbers.size() + 1) +
                         "番目の数 \"" + shown + "\" は数値ではありません");
    }
    numbers.push_back(v);
  }
  return numbers;
}

}  // namespace

double Plot3dScan::Real(std::string_view bytes, std::size_t position, std::size_t k) const {
  if (layout.encoding == Plot3dEncoding::Formatted) return numbers[position + k];
  if (layout.realBytes == 4) return std::bit_cast<float>(Load32(bytes, position + 4 * k, layout.bigEndian));
  return std::bit_cast<double>(Load64(bytes, position + 8 * k, layout.bigEndian));
}

std::string DescribeLayout(const Plot3dLayout& l, Plot3dKind kind) {
  std::string text = l.encoding == Plot3dEncoding::FortranRecords ? "Fortran レコード"
                     : l.encoding == Plot3dEncoding::PlainBinary  ? "バイナリ"
                                                                  : "テキスト";
  if (l.encoding != Plot3dEncoding::Formatted) {
    text += ", " + std::to_string(l.realBytes * 8) + " ビット実数";
    text += l.bigEndian ? ", ビッグエンディアン" : ", リトルエンディアン";
  }
  text += l.multiBlock ? ", 複数ブロック" : ", 単一ブロック";
  if (kind == Plot3dKind::Grid) text += l.iblank ? ", iblank あり" : ", iblank なし";
  return text;
}

Plot3dScan ScanPlot3d(std::string_view bytes, Plot3dKind kind, const std::string& path) {
  const char* what = kind == Plot3dKind::Grid ? "格子ファイル" : "解ファイル";
  if (bytes.empty()) throw CorvaneError("PLOT3D " + std::string(what) + " " + path + " は空です");
  Attempt best;
  auto consider = [&](Attempt a) {
    if (a.scan || a.reached > best.reached || best.why.empty()) best = std::move(a);
    return best.scan.has_value();
  };
  for (bool big : {false, true}) {
    const Source s{bytes, nullptr, big};
    for (bool multi : {true, false})
      if (consider(ScanRecords(s, kind, multi))) return std::move(*best.scan);
  }
  const Attempt records = best;  // a broken Fortran file says best where it broke
  for (bool big : {false, true}) {
    const Source s{bytes, nullptr, big};
    for (bool multi : {true, false})
      if (consider(ScanPlain(s, kind, multi))) return std::move(*best.scan);
  }
  if (LooksLikeText(bytes)) {
    std::vector<double> numbers = ReadNumbers(bytes, path, what);
    const Source s{bytes, &numbers, false};
    for (bool multi : {true, false}) {
      Attempt a = ScanPlain(s, kind, multi);
      if (a.scan) {
        a.scan->numbers = std::move(numbers);
        return std::move(*a.scan);
      }
    }
    throw CorvaneError("PLOT3D " + std::string(what) + " " + path + " (テキスト) の数の個数 " +
                       std::to_string(numbers.size()) + " が、先頭の格子点数から求まる個数と合いません。ファイルが途中で終わっているか、2次元の形式ではありません");
  }
  std::string message = "PLOT3D " + std::string(what) + " " + path + " の形式を判別できません。Fortran レコード、バイナリ、テキストの" +
                        "どの書き方 (32/64 ビット実数、両バイト順、単一・複数ブロック" +
                        (kind == Plot3dKind::Grid ? "、iblank の有無" : "") + ") でも、2次元のファイルとして大きさが長さ " +
                        std::to_string(bytes.size()) + " バイトと合いません";
  if (records.reached > 0 && !records.why.empty()) message += " (Fortran レコードとして: " + records.why + ")";
  throw CorvaneError(message);
}

}  // namespace corvane
