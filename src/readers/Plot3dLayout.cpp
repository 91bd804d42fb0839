#include "readers/Plot3dLayout.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

#include "base/Errors.h"

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
  const Plot3dNumbers* numbers = nullptr;  // set for formatted files
  bool big = false;
  // What sizes are checked against: the bytes of a binary file; the numbers written out in a
  // formatted one (a repeat count is one), with those of the grid when a solution is read.
  std::uint64_t capacity = 0;

  std::uint64_t Size() const { return numbers ? numbers->Count() : bytes.size(); }
  std::uint64_t IntUnits() const { return numbers ? 1 : 4; }
  // The integer at `pos`; nullopt beyond the end or for a number that is not a whole one.
  std::optional<std::int64_t> Int(std::uint64_t pos) const {
    if (pos + IntUnits() > Size()) return std::nullopt;
    if (!numbers) return static_cast<std::int32_t>(Load32(bytes, pos, big));
    const double v = numbers->At(pos);
    if (!(std::fabs(v) < 9e15) || v != std::floor(v)) return std::nullopt;
    return static_cast<std::int64_t>(v);
  }
};

struct Attempt {
  std::optional<Plot3dScan> scan;
  std::uint64_t reached = 0;  // how far the file made sense
  std::string why;
  std::string solid;  // set when the sizes read as a 3-D block of more than one plane
};

// What the sizes of a file were checked against, for a message.
std::string CapacityText(const Source& s) {
  if (!s.numbers) return "ファイルの長さ (" + std::to_string(s.bytes.size()) + " バイト)";
  return "ファイルに書かれた数の個数 (" + std::to_string(s.numbers->values.size()) + ")";
}

std::string BlockText(std::size_t b) { return "ブロック" + std::to_string(b + 1) + " (zone[" + std::to_string(b) + "])"; }

// The block count (at `countAt`, several blocks only) and the sizes from `sizesAt`; `end` is
// where the sizes end. `unitsPerNode` is the least a node can take, so no size the file cannot
// hold gets through.
bool ReadSizes(const Source& s, std::optional<std::uint64_t> countAt, std::uint64_t sizesAt, std::vector<Plot3dBlock>& blocks,
               Attempt& a, std::uint64_t unitsPerNode, int dims, std::uint64_t& end) {
  const std::uint64_t iu = s.IntUnits();
  std::int64_t count = 1;
  if (countAt) {
    std::optional<std::int64_t> nb = s.Int(*countAt);
    if (!nb || *nb < 1) {
      a.why = "ブロック数がありません";
      return false;
    }
    if (static_cast<std::uint64_t>(*nb) > s.capacity / (2 * iu)) {
      a.why = "ブロック数 " + std::to_string(*nb) + " が" + CapacityText(s) + "を超えます";
      return false;
    }
    count = *nb;
  }
  std::uint64_t total = 0;
  std::uint64_t pos = sizesAt;
  for (std::int64_t b = 0; b < count; ++b) {
    std::optional<std::int64_t> ni = s.Int(pos), nj = s.Int(pos + iu);
    const std::optional<std::int64_t> nk = dims == 3 ? s.Int(pos + 2 * iu) : std::optional<std::int64_t>(1);
    pos += static_cast<std::uint64_t>(dims) * iu;
    if (!ni || !nj || !nk || *ni < 1 || *nj < 1 || *ni > (1ll << 31) || *nj > (1ll << 31)) {
      a.why = BlockText(static_cast<std::size_t>(b)) + " の格子点数がありません";
      return false;
    }
    if (*nk != 1) {
      a.why = a.solid = BlockText(static_cast<std::size_t>(b)) + " は3次元 (nk = " + std::to_string(*nk) +
                        ") です。読めるのは2次元と nk = 1 の3次元だけです";
      return false;
    }
    const std::uint64_t nodes = static_cast<std::uint64_t>(*ni * *nj);
    total += nodes;
    if (total > s.capacity / unitsPerNode) {
      a.why = BlockText(static_cast<std::size_t>(b)) + " の格子点数 (" + std::to_string(*ni) + " × " + std::to_string(*nj) +
              ") が" + CapacityText(s) + "を超えます";
      return false;
    }
    blocks.push_back({{*ni, *nj}, 0, 0});
  }
  end = pos;
  return true;
}

// Fortran unformatted: every record between two equal length markers.
Attempt ScanRecords(const Source& s, Plot3dKind kind, bool multi, int dims, int markerBytes) {
  Attempt a;
  const std::uint64_t n = s.Size();
  std::uint64_t pos = 0;
  const std::uint64_t m = static_cast<std::uint64_t>(markerBytes);
  auto marker = [&](std::uint64_t at) { return m == 8 ? Load64(s.bytes, at, s.big) : Load32(s.bytes, at, s.big); };
  auto record = [&](std::uint64_t& start, std::uint64_t& length) {
    if (n - pos < 2 * m) return false;
    length = marker(pos);
    if (length > n - pos - 2 * m || marker(pos + m + length) != length) return false;
    start = pos + m;
    pos += length + 2 * m;
    return true;
  };
  std::uint64_t start = 0, length = 0;
  Plot3dScan scan;
  scan.layout = {Plot3dEncoding::FortranRecords, s.big, multi, 4, false, dims, markerBytes};
  // The sizes: a record of the block count (several blocks), then one of all the sizes.
  std::optional<std::uint64_t> countAt;
  if (multi) {
    if (!record(start, length) || length != 4) return a;
    countAt = start;
  }
  if (!record(start, length)) return a;
  // The record holds dims sizes per block: a 3-D file says so here, before its sizes are read.
  const std::optional<std::int64_t> count = countAt ? s.Int(*countAt) : std::optional<std::int64_t>(1);
  if (!count || length != 4u * static_cast<std::uint64_t>(dims) * static_cast<std::uint64_t>(*count)) {
    a.why = "格子点数のレコード長が合いません";
    return a;
  }
  std::uint64_t end = 0;
  if (!ReadSizes(s, countAt, start, scan.blocks, a, 8, dims, end)) return a;
  a.reached = pos;
  // Bytes per node of a grid record: the coordinates in 4- or 8-byte reals, then maybe iblank.
  const std::uint64_t reals = static_cast<std::uint64_t>(dims), variables = reals + 2;
  auto gridBytes = [&](std::uint64_t per) {
    return per == 4 * reals || per == 4 * reals + 4 || per == 8 * reals || per == 8 * reals + 4;
  };
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
      if (!record(start, length) || length != variables * nodes * static_cast<std::uint64_t>(per)) {
        a.why = BlockText(b) + " の解のレコードが壊れているか、途中で終わっています";
        return a;
      }
    } else {
      if (!record(start, length) || length % nodes || (per && length / nodes != static_cast<std::uint64_t>(per)) ||
          !gridBytes(length / nodes)) {
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
    const std::uint64_t bytes = static_cast<std::uint64_t>(per);
    scan.layout.realBytes = bytes >= 8 * reals ? 8 : 4;
    scan.layout.iblank = bytes == 4 * reals + 4 || bytes == 8 * reals + 4;
  }
  a.scan = std::move(scan);
  return a;
}

// Plain binary or formatted: the numbers follow one another, so the length decides the rest.
Attempt ScanPlain(const Source& s, Plot3dKind kind, bool multi, int dims) {
  Attempt a;
  const bool formatted = s.numbers != nullptr;
  Plot3dScan scan;
  scan.layout = {formatted ? Plot3dEncoding::Formatted : Plot3dEncoding::PlainBinary, s.big, multi, 8, false, dims};
  std::uint64_t pos = 0;
  const std::uint64_t iu = s.IntUnits();
  if (!ReadSizes(s, multi ? std::optional<std::uint64_t>(0) : std::nullopt, multi ? iu : 0, scan.blocks, a, formatted ? 1 : 8,
                 dims, pos)) {
    a.solid.clear();  // without records, any three numbers read as sizes: no evidence of 3-D
    return a;
  }
  const std::uint64_t coordinates = static_cast<std::uint64_t>(dims), variables = coordinates + 2;
  std::uint64_t nodes = 0;
  for (const Plot3dBlock& b : scan.blocks) nodes += static_cast<std::uint64_t>(b.size.ni * b.size.nj);
  const std::uint64_t rest = s.Size() - pos;
  const std::uint64_t blocks = scan.blocks.size();
  std::uint64_t per = 0;  // units per node (grid) or per real (solution)
  if (kind == Plot3dKind::Grid) {
    per = rest % nodes ? 0 : rest / nodes;
    const std::uint64_t c = coordinates;
    const bool fits = formatted ? per == c || per == c + 1 : per == 4 * c || per == 4 * c + 4 || per == 8 * c || per == 8 * c + 4;
    if (!fits) {
      a.why = "格子点数と座標の個数がファイルの長さと合いません";
      return a;
    }
    scan.layout.realBytes = formatted ? 8 : per >= 8 * c ? 8 : 4;
    scan.layout.iblank = formatted ? per == c + 1 : per == 4 * c + 4 || per == 8 * c + 4;
  } else {
    const std::uint64_t reals = 4 * blocks + variables * nodes;
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
      pos += (4 + variables * n) * per;
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

// Most numbers a formatted file may stand for: far beyond any grid, and exact in a double.
constexpr std::uint64_t kMaxNumbers = std::uint64_t{1} << 52;

// The numbers of a formatted file, in order (Fortran's D exponent and repeat counts included);
// a repeat count is kept as one entry, never expanded.
Plot3dNumbers ReadNumbers(std::string_view bytes, const std::string& path, const char* what) {
  auto separator = [](char c) { return c == ' ' || c == ',' || (c >= 0x09 && c <= 0x0d); };
  std::size_t count = 0;
  for (std::size_t k = 0; k < bytes.size(); ++k)
    if (!separator(bytes[k]) && (k == 0 || separator(bytes[k - 1]))) ++count;
  Plot3dNumbers numbers;
  numbers.values.reserve(count);
  std::uint64_t total = 0;
  std::size_t k = 0;
  while (k < bytes.size()) {
    while (k < bytes.size() && separator(bytes[k])) ++k;
    const std::size_t begin = k;
    while (k < bytes.size() && !separator(bytes[k])) ++k;
    if (begin == k) break;
    std::string token(bytes.substr(begin, k - begin));
    for (char& c : token)
      if (c == 'd' || c == 'D') c = 'e';
    auto refuse = [&](const std::string& reason) {
      std::string shown(bytes.substr(begin, std::min<std::size_t>(k - begin, 40)));
      return CorvaneError("PLOT3D " + std::string(what) + " " + path + " の " + std::to_string(numbers.values.size() + 1) +
                          "番目の数 \"" + shown + "\" " + reason);
    };
    // Fortran's list-directed output writes r equal values as r*value.
    std::uint64_t repeat = 1;
    if (const std::size_t star = token.find('*'); star != std::string::npos) {
      auto [end, ec] = std::from_chars(token.data(), token.data() + star, repeat);
      if (ec != std::errc() || end != token.data() + star || repeat == 0) throw refuse("の繰り返し回数が読めません");
      if (repeat > kMaxNumbers - total) throw refuse("の繰り返しが多すぎます");
      token.erase(0, star + 1);
    }
    const char* first = token.data() + (token.size() > 1 && token[0] == '+' ? 1 : 0);
    double v = 0.0;
    auto [end, ec] = std::from_chars(first, token.data() + token.size(), v);
    if (token.empty() || ec != std::errc() || end != token.data() + token.size()) throw refuse("は数値ではありません");
    if (repeat != 1 && numbers.ends.empty()) {
      // The first repeat: from here on every entry says where it ends.
      numbers.ends.reserve(count);
      for (std::uint64_t e = 1; e <= numbers.values.size(); ++e) numbers.ends.push_back(e);
    }
    numbers.values.push_back(v);
    total += repeat;
    if (!numbers.ends.empty()) numbers.ends.push_back(total);
  }
  return numbers;
}

}  // namespace

double Plot3dNumbers::At(std::uint64_t position) const {
  if (ends.empty()) return values[static_cast<std::size_t>(position)];
  const auto it = std::upper_bound(ends.begin(), ends.end(), position);
  return values[static_cast<std::size_t>(it - ends.begin())];
}

double Plot3dScan::Real(std::string_view bytes, std::size_t position, std::size_t k) const {
  if (layout.encoding == Plot3dEncoding::Formatted) return numbers->At(position + k);
  if (layout.realBytes == 4) return std::bit_cast<float>(Load32(bytes, position + 4 * k, layout.bigEndian));
  return std::bit_cast<double>(Load64(bytes, position + 8 * k, layout.bigEndian));
}

std::string DescribeLayout(const Plot3dLayout& l, Plot3dKind kind) {
  std::string text = l.encoding == Plot3dEncoding::FortranRecords ? (l.markerBytes == 8 ? "Fortran レコード (8 バイトの長さ)" : "Fortran レコード")
                     : l.encoding == Plot3dEncoding::PlainBinary  ? "バイナリ"
                                                                  : "テキスト";
  if (l.encoding != Plot3dEncoding::Formatted) {
    text += ", " + std::to_string(l.realBytes * 8) + " ビット実数";
    text += l.bigEndian ? ", ビッグエンディアン" : ", リトルエンディアン";
  }
  text += l.multiBlock ? ", 複数ブロック" : ", 単一ブロック";
  if (l.dims == 3) text += ", 3次元 (nk = 1)";
  if (kind == Plot3dKind::Grid) text += l.iblank ? ", iblank あり" : ", iblank なし";
  return text;
}

Plot3dScan ScanPlot3d(std::string_view bytes, Plot3dKind kind, const std::string& path,
                      const std::vector<ZoneSize>* expected) {
  const char* what = kind == Plot3dKind::Grid ? "格子ファイル" : "解ファイル";
  if (bytes.empty()) throw CorvaneError("PLOT3D " + std::string(what) + " " + path + " は空です");
  Attempt best;
  std::string solid;  // the first reading as a 3-D block of several planes
  std::shared_ptr<const Plot3dNumbers> numbers;  // a formatted file's numbers, read once
  std::string formattedWhy;                     // where the formatted reading broke down
  // A solution may stand for as many numbers as its grid needs, however it is written.
  std::uint64_t gridNumbers = 0;
  if (expected)
    for (const ZoneSize& z : *expected) gridNumbers += 4 + 5 * static_cast<std::uint64_t>(z.ni) * static_cast<std::uint64_t>(z.nj);
  // Every way of writing in turn, 2-D before 3-D; the first whose sizes `accept` takes wins.
  auto search = [&](auto&& accept) -> std::optional<Plot3dScan> {
    auto consider = [&](Attempt a) {
      if (a.scan && !accept(*a.scan)) a.scan.reset();
      if (solid.empty()) solid = a.solid;
      if (a.scan || a.reached > best.reached || best.why.empty()) best = std::move(a);
      return best.scan.has_value();
    };
    for (int markerBytes : {4, 8})
      for (int dims : {2, 3})
        for (bool big : {false, true})
          for (bool multi : {true, false})
            if (consider(ScanRecords(Source{bytes, nullptr, big, bytes.size()}, kind, multi, dims, markerBytes)))
              return std::move(best.scan);
    const Attempt records = best;  // a broken Fortran file says best where it broke
    for (int dims : {2, 3})
      for (bool big : {false, true})
        for (bool multi : {true, false})
          if (consider(ScanPlain(Source{bytes, nullptr, big, bytes.size()}, kind, multi, dims))) return std::move(best.scan);
    if (LooksLikeText(bytes)) {
      if (!numbers) numbers = std::make_shared<const Plot3dNumbers>(ReadNumbers(bytes, path, what));
      const std::uint64_t capacity = numbers->values.size() + (kind == Plot3dKind::Solution ? gridNumbers : 0);
      for (int dims : {2, 3}) {
        for (bool multi : {true, false}) {
          Attempt a = ScanPlain(Source{bytes, numbers.get(), false, capacity}, kind, multi, dims);
          if (a.scan && accept(*a.scan)) {
            a.scan->numbers = numbers;
            return std::move(a.scan);
          }
          if (dims == 2 && !a.why.empty() && formattedWhy.find(a.why) == std::string::npos)
            formattedWhy += (formattedWhy.empty() ? "" : "、") + std::string(multi ? "複数ブロックとして: " : "単一ブロックとして: ") + a.why;
        }
      }
    }
    best = records;
    return std::nullopt;
  };
  // A solution is first read the way that gives its grid's sizes: a plain binary file has no
  // structure of its own, and another way may fit its length by chance.
  if (expected) {
    std::optional<Plot3dScan> scan = search([&](const Plot3dScan& s) {
      if (s.blocks.size() != expected->size()) return false;
      for (std::size_t b = 0; b < s.blocks.size(); ++b)
        if (s.blocks[b].size.ni != (*expected)[b].ni || s.blocks[b].size.nj != (*expected)[b].nj) return false;
      return true;
    });
    if (scan) return std::move(*scan);
  }
  if (std::optional<Plot3dScan> scan = search([](const Plot3dScan&) { return true; })) return std::move(*scan);
  const Attempt& records = best;
  if (numbers)
    throw CorvaneError("PLOT3D " + std::string(what) + " " + path + " (テキスト) の数の個数 " +
                       std::to_string(numbers->Count()) + " が、先頭の格子点数から求まる個数と合いません。ファイルが途中で終わっているか、2次元 (または nk = 1 の3次元) の形式ではありません" +
                       (formattedWhy.empty() ? "" : " (" + formattedWhy + ")"));
  std::string message = "PLOT3D " + std::string(what) + " " + path + " の形式を判別できません。Fortran レコード、バイナリ、テキストの" +
                        "どの書き方 (32/64 ビット実数、両バイト順、単一・複数ブロック" +
                        (kind == Plot3dKind::Grid ? "、iblank の有無" : "") + ") でも、2次元 (または nk = 1 の3次元) のファイルとして大きさが長さ " +
                        std::to_string(bytes.size()) + " バイトと合いません";
  if (!solid.empty()) {
    message += " (" + solid + ")";
  } else if (records.reached > 0 && !records.why.empty()) {
    message += " (Fortran レコードとして: " + records.why + ")";
  }
  throw CorvaneError(message);
}

}  // namespace corvane
