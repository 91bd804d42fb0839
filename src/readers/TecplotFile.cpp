#include "readers/TecplotFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <set>

#include "readers/AsciiCase.h"
#include "field/CellAverage.h"
#include "base/Errors.h"
#include "readers/FortranNumber.h"
#include "readers/StructuredLoad.h"
#include "base/TextEncoding.h"

namespace corvane {
namespace {

constexpr std::int64_t kMaxNodes = std::numeric_limits<std::int32_t>::max();


bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsNumberStart(char c) { return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.'; }

bool IsRecordKeyword(const std::string& upper) {
  return upper == "TITLE" || upper == "VARIABLES" || upper == "ZONE" || upper == "TEXT" || upper == "GEOMETRY" ||
         upper == "DATASETAUXDATA" || upper == "VARAUXDATA" || upper == "FILETYPE" || upper == "CUSTOMLABELS";
}

std::string Utf8(std::string_view s) { return IsValidUtf8(s) ? std::string(s) : Cp932ToUtf8(s); }

// A value token of the data: a number, or n*value (n copies).
bool IsValueToken(std::string_view token) {
  double v;
  if (ParseFortranNumber(token, v)) return true;
  const std::size_t star = token.find('*');
  return star != std::string_view::npos && star > 0 && ParseFortranNumber(token.substr(star + 1), v);
}

// Walks the records of the file. Separators are blanks, line breaks and commas; `#` starts a
// comment that runs to the end of its line.
class Scanner {
 public:
  Scanner(std::string_view s, const std::string& path) : s_(s), path_(path) {}

  TecplotFile Scan() {
    TecplotFile file;
    for (;;) {
      SkipSpace();
      if (p_ >= s_.size()) break;
      if (!IsLetter(s_[p_])) Fail("ここに値やレコードがあるはずはありません (" + Excerpt() + ")");
      const std::size_t at = p_;
      const std::string key = AsciiUpper(Word());
      if (key == "TITLE") {
        Equals();
        file.title = Utf8(Value());
      } else if (key == "FILETYPE") {
        Equals();
        if (AsciiUpper(Value()) == "SOLUTION") Fail("解だけのファイル (FILETYPE=SOLUTION) には座標がなく、読めません");
      } else if (key == "VARIABLES") {
        if (!file.zones.empty()) Fail("VARIABLES は最初の ZONE より前にしか書けません");
        Equals();
        ReadVariables(file);
      } else if (key == "ZONE") {
        if (file.variables.size() < 2) Fail("ZONE の前に二つ以上の変数 (VARIABLES) が必要です");
        ReadZone(file, at);
      } else if (key == "TEXT" || key == "GEOMETRY") {
        SkipRecord();
      } else if (key == "DATASETAUXDATA") {
        std::string name = Word();
        Equals();
        file.auxData.emplace_back(Utf8(name), Utf8(Value()));
      } else if (key == "VARAUXDATA") {
        Word();
        Word();
        Equals();
        Value();
      } else if (key == "CUSTOMLABELS") {
        for (SkipSpace(); p_ < s_.size() && s_[p_] == '"'; SkipSpace()) Value();
      } else {
        Fail("知らないレコード " + key + " があります");
      }
    }
    if (file.zones.empty()) Fail("領域 (ZONE) がありません");
    if (std::all_of(file.zones.begin(), file.zones.end(), [](const TecplotZone& z) { return !z.leftOut.empty(); }))
      throw CorvaneError("Tecplot ファイル " + path_ + " には読める領域がありません。" + TecplotLeftOutText(file));
    return file;
  }

 private:
  // Line number (1-based) of byte `at`, counted on from the last position asked for.
  std::size_t LineOf(std::size_t at) {
    if (at < countedTo_) countedTo_ = 0, countedLine_ = 1;
    countedLine_ += static_cast<std::size_t>(std::count(s_.begin() + static_cast<std::ptrdiff_t>(countedTo_),
                                                        s_.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
    countedTo_ = at;
    return countedLine_;
  }

  [[noreturn]] void Fail(const std::string& what) {
    throw CorvaneError("Tecplot ファイル " + path_ + " の " + std::to_string(LineOf(std::min(p_, s_.size()))) + " 行目: " + what);
  }
  [[noreturn]] void FailZone(const TecplotFile& file, const TecplotZone& z, const std::string& what) {
    throw CorvaneError("Tecplot ファイル " + path_ + " の " + ZoneLabel(file.zones.size(), z.title) + " (" +
                       std::to_string(z.line) + " 行目): " + what);
  }

  std::string Excerpt() const {
    std::size_t e = p_;
    while (e < s_.size() && e - p_ < 20 && s_[e] != '\n' && s_[e] != '\r') ++e;
    return Utf8(s_.substr(p_, e - p_));
  }

  void SkipSpace() {
    while (p_ < s_.size()) {
      const char c = s_[p_];
      if (c == '#') {
        while (p_ < s_.size() && s_[p_] != '\n') ++p_;
      } else if (IsValueSeparator(c)) {
        ++p_;
      } else {
        break;
      }
    }
  }

  // A bare word: up to a separator, `=`, a parenthesis or a quote.
  std::string Word() {
    SkipSpace();
    const std::size_t b = p_;
    while (p_ < s_.size() && !IsValueSeparator(s_[p_]) && s_[p_] != '=' && s_[p_] != '(' && s_[p_] != ')' && s_[p_] != '"')
      ++p_;
    return std::string(s_.substr(b, p_ - b));
  }

  bool PeekEquals() {
    std::size_t q = p_;
    while (q < s_.size() && (s_[q] == ' ' || s_[q] == '\t')) ++q;
    return q < s_.size() && s_[q] == '=';
  }

  void Equals() {
    SkipSpace();
    if (p_ >= s_.size() || s_[p_] != '=') Fail("= があるはずのところに " + Excerpt() + " があります");
    ++p_;
  }

  // A quoted text (\" stands for a quote), a parenthesised list (returned without its
  // parentheses) or a bare word.
  std::string Value() {
    SkipSpace();
    if (p_ >= s_.size()) Fail("値がありません");
    if (s_[p_] == '"') {
      std::string out;
      for (++p_; p_ < s_.size() && s_[p_] != '"'; ++p_) {
        if (s_[p_] == '\\' && p_ + 1 < s_.size() && s_[p_ + 1] == '"') ++p_;
        out += s_[p_];
      }
      if (p_ >= s_.size()) Fail("引用符 \" が閉じていません");
      ++p_;
      return out;
    }
    if (s_[p_] == '(') {
      const std::size_t b = ++p_;
      int depth = 1;
      bool quoted = false;
      for (; p_ < s_.size(); ++p_) {
        const char c = s_[p_];
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '(') ++depth;
        if (c == ')' && --depth == 0) break;
      }
      if (p_ >= s_.size()) Fail("括弧 ( が閉じていません");
      return std::string(s_.substr(b, p_++ - b));
    }
    return Word();
  }

  void ReadVariables(TecplotFile& file) {
    file.variables.clear();
    for (;;) {
      SkipSpace();
      if (p_ >= s_.size()) break;
      if (s_[p_] == '"') {
        file.variables.push_back(Utf8(Value()));
        continue;
      }
      if (!IsLetter(s_[p_]) && s_[p_] != '_') break;
      const std::size_t at = p_;
      const std::string name = Word();
      if (IsRecordKeyword(AsciiUpper(name)) || name.empty()) {
        p_ = at;
        break;
      }
      file.variables.push_back(Utf8(name));
    }
    if (file.variables.size() > 100000) Fail("変数が多すぎます");
  }

  // Positions of the variables (1-based ranges "[1-3,5]" or single numbers) in `list`.
  std::vector<int> Positions(std::string_view list, std::size_t count) {
    std::vector<int> out;
    std::size_t k = 0;
    while (k < list.size()) {
      if (!(list[k] >= '0' && list[k] <= '9')) {
        ++k;
        continue;
      }
      std::int64_t a = 0, b = 0;
      auto r = std::from_chars(list.data() + k, list.data() + list.size(), a);
      k = static_cast<std::size_t>(r.ptr - list.data());
      b = a;
      if (k < list.size() && list[k] == '-') {
        auto r2 = std::from_chars(list.data() + k + 1, list.data() + list.size(), b);
        if (r2.ec == std::errc()) k = static_cast<std::size_t>(r2.ptr - list.data());
      }
      if (r.ec != std::errc() || a < 1 || b < a || b > static_cast<std::int64_t>(count))
        Fail("変数の番号 " + std::string(list) + " が変数の数 " + std::to_string(count) + " を超えています");
      for (std::int64_t v = a; v <= b; ++v) out.push_back(static_cast<int>(v - 1));
    }
    return out;
  }

  // VARLOCATION=([3-5]=CELLCENTERED, [6]=NODAL) or the older list of one location per variable.
  void ReadLocations(TecplotZone& z, const std::string& list) {
    if (list.find('[') == std::string::npos) {
      std::size_t v = 0, k = 0;
      while (k < list.size()) {
        while (k < list.size() && IsValueSeparator(list[k])) ++k;
        std::size_t e = k;
        while (e < list.size() && !IsValueSeparator(list[e])) ++e;
        if (e > k && v < z.variables.size()) z.variables[v++].cellCentred = AsciiUpper(list.substr(k, e - k)) == "CELLCENTERED";
        k = e;
      }
      return;
    }
    for (std::size_t k = list.find('['); k != std::string::npos; k = list.find('[', k)) {
      const std::size_t close = list.find(']', k);
      const std::size_t eq = close == std::string::npos ? close : list.find('=', close);
      if (eq == std::string::npos) Fail("VARLOCATION=(" + list + ") が読めません");
      std::size_t e = eq + 1;
      while (e < list.size() && IsValueSeparator(list[e])) ++e;
      const std::size_t b = e;
      while (e < list.size() && IsLetter(list[e])) ++e;
      const std::string where = AsciiUpper(std::string_view(list).substr(b, e - b));
      if (where != "CELLCENTERED" && where != "NODAL") Fail("VARLOCATION の位置 " + where + " が読めません");
      for (int v : Positions(std::string_view(list).substr(k + 1, close - k - 1), z.variables.size()))
        z.variables[static_cast<std::size_t>(v)].cellCentred = where == "CELLCENTERED";
      k = e;
    }
  }

  // VARSHARELIST=([1-2]=1, [4]) : variables taken from a zone (1-based; the previous one when
  // not given).
  void ReadSharing(TecplotFile& file, TecplotZone& z, const std::string& list) {
    for (std::size_t k = list.find('['); k != std::string::npos; k = list.find('[', k)) {
      const std::size_t close = list.find(']', k);
      if (close == std::string::npos) Fail("VARSHARELIST=(" + list + ") が読めません");
      std::size_t e = close + 1;
      while (e < list.size() && (list[e] == ' ' || list[e] == '\t')) ++e;
      std::int64_t from = static_cast<std::int64_t>(file.zones.size());
      if (e < list.size() && list[e] == '=') {
        ++e;
        while (e < list.size() && IsValueSeparator(list[e])) ++e;
        auto r = std::from_chars(list.data() + e, list.data() + list.size(), from);
        if (r.ec != std::errc()) Fail("VARSHARELIST=(" + list + ") の領域番号が読めません");
        e = static_cast<std::size_t>(r.ptr - list.data());
      }
      if (from < 1 || from > static_cast<std::int64_t>(file.zones.size()))
        Fail("VARSHARELIST の領域 " + std::to_string(from) + " はこの領域より前にありません");
      for (int v : Positions(std::string_view(list).substr(k + 1, close - k - 1), z.variables.size()))
        z.variables[static_cast<std::size_t>(v)].sharedFrom = static_cast<int>(from - 1);
      k = e;
    }
  }

  std::int64_t Count(const std::string& key, const std::string& value) {
    std::int64_t n = 0;
    auto r = std::from_chars(value.data(), value.data() + value.size(), n);
    if (r.ec != std::errc() || r.ptr != value.data() + value.size() || n < 1)
      Fail(key + "=" + value + " は 1 以上の整数ではありません");
    return n;
  }

  void ReadZone(TecplotFile& file, std::size_t at) {
    TecplotZone z;
    z.line = LineOf(at);
    z.variables.resize(file.variables.size());
    std::int64_t nk = 1;
    bool finite = false;
    std::string passive, shared, locations;
    std::set<std::string> sizesGiven;
    for (;;) {
      SkipSpace();
      if (p_ >= s_.size() || !IsLetter(s_[p_])) break;
      const std::size_t keyAt = p_;
      const std::string word = Word();
      const std::string key = AsciiUpper(word);
      if (key == "AUXDATA") {
        std::string name = Word();
        Equals();
        z.auxData.emplace_back(Utf8(name), Utf8(Value()));
        continue;
      }
      if (!PeekEquals()) {
        if (IsValueToken(word) || IsRecordKeyword(key)) {
          p_ = keyAt;
          break;
        }
        p_ = keyAt;
        Fail("ZONE の指定 " + Excerpt() + " が読めません");
      }
      Equals();
      const std::string value = Value();
      const std::string upper = AsciiUpper(value);
      // A size given twice leaves the zone's shape in doubt.
      if (key == "I" || key == "J" || key == "K") {
        if (!sizesGiven.insert(key).second) FailZone(file, z, key + "= が二度書かれています");
      }
      if (key == "T") z.title = Utf8(value);
      else if (key == "I") z.ni = Count(key, value);
      else if (key == "J") z.nj = Count(key, value);
      else if (key == "K") nk = Count(key, value);
      else if (key == "ZONETYPE") finite = finite || upper != "ORDERED";
      else if (key == "DATAPACKING" || key == "F") {
        if (upper == "FEPOINT" || upper == "FEBLOCK") finite = true;
        else if (upper == "BLOCK") z.block = true;
        else if (upper == "POINT") z.block = false;
        else Fail(key + "=" + value + " は POINT でも BLOCK でもありません");
      } else if (key == "N" || key == "E" || key == "ET" || key == "NODES" || key == "ELEMENTS" || key == "FACES") {
        finite = true;
      } else if (key == "VARLOCATION") locations = value;
      else if (key == "VARSHARELIST") shared = value;
      else if (key == "PASSIVEVARLIST") passive = value;
      else if (key == "SOLUTIONTIME") {
        double t = 0.0;
        if (!ParseFortranNumber(value, t)) Fail("SOLUTIONTIME=" + value + " は数ではありません");
        // The steps are sorted by time; NaN has no place among them.
        if (!std::isfinite(t)) Fail("SOLUTIONTIME=" + value + " は有限の数ではありません");
        z.time = t;
      } else if (key == "STRANDID") {
        std::int64_t n = 0;
        auto r = std::from_chars(value.data(), value.data() + value.size(), n);
        if (r.ec != std::errc() || n < 0 || n > 1000000000) Fail("STRANDID=" + value + " が読めません");
        z.strand = static_cast<int>(n);
      } else if (key == "CONNECTIVITYSHAREZONE") {
        finite = true;
      } else if (key == "D") {
        Fail("D= (前の領域の値の流用) の古い書き方には対応していません");
      }
      // DT, C, PARENTZONE and the like do not change what is read.
    }
    z.dataBegin = std::min(p_, s_.size());
    z.dataEnd = DataEnd(z.dataBegin);
    p_ = z.dataEnd;
    // Zones this program cannot show are passed over; the others are still read.
    if (finite) z.leftOut = "有限要素の領域です。構造格子 (ZONETYPE=ORDERED) の領域だけが読めます";
    else if (nk > 1) z.leftOut = "K=" + std::to_string(nk) + " の三次元の領域です。K=1 の二次元の領域だけが読めます";
    if (!z.leftOut.empty()) {
      z.ni = z.nj = 1;
      for (TecplotVariableSource& v : z.variables) v.passive = true;
      file.zones.push_back(std::move(z));
      return;
    }
    if (z.ni > kMaxNodes || z.nj > kMaxNodes || z.ni * z.nj > kMaxNodes)
      FailZone(file, z, "格子点数 (" + std::to_string(z.ni) + " × " + std::to_string(z.nj) + ") が大きすぎます");
    if (!locations.empty()) ReadLocations(z, locations);
    if (!shared.empty()) ReadSharing(file, z, shared);
    if (!passive.empty())
      for (int v : Positions(passive, z.variables.size())) z.variables[static_cast<std::size_t>(v)].passive = true;
    for (std::size_t v = 0; v < z.variables.size() && z.leftOut.empty(); ++v) {
      TecplotVariableSource& src = z.variables[v];
      if (src.cellCentred && !z.block && !src.passive && src.sharedFrom < 0)
        FailZone(file, z, "セル中心の変数は BLOCK 形式でしか書けません (変数 " + file.variables[v] + ")");
      if (src.sharedFrom >= 0) {
        const TecplotZone& from = file.zones[static_cast<std::size_t>(src.sharedFrom)];
        if (!from.leftOut.empty()) {
          z.leftOut = "変数 " + file.variables[v] + " を共有する " + ZoneLabel(static_cast<std::size_t>(src.sharedFrom), from.title) +
                      " を読まないため、読めません";
          break;
        }
        if (from.ni != z.ni || from.nj != z.nj || from.variables[v].cellCentred != src.cellCentred)
          FailZone(file, z, "変数 " + file.variables[v] + " を共有する " + ZoneLabel(static_cast<std::size_t>(src.sharedFrom), from.title) +
                                " と格子点数が合いません");
        // The zone shared from may share the variable in turn: the values lie where the chain
        // ends, found here once so that nobody follows the chain again.
        const TecplotVariableSource& root = from.variables[v];
        if (root.passive) src.passive = true, src.sharedFrom = -1;
        else if (root.sharedFrom >= 0) src.sharedFrom = root.sharedFrom;
      }
    }
    // Every value takes at least one character and a separator.
    const std::int64_t values = z.ValueCount();
    const std::int64_t room = static_cast<std::int64_t>(z.dataEnd - z.dataBegin + 1) / 2;
    if (z.leftOut.empty() && values > room)
      FailZone(file, z, "値が足りません。" + std::to_string(values) + " 個の値が必要ですが、データは高々 " + std::to_string(room) +
                            " 個です");
    // A zone without values of its own would be nodes made from nothing: a few bytes could
    // claim any number of them.
    if (z.leftOut.empty() && values == 0) z.leftOut = "値が一つもありません (どの変数も共有か PASSIVEVARLIST の変数です)";
    if (z.leftOut.empty()) {
      for (std::size_t v = 0; v < z.variables.size(); ++v) {
        const TecplotVariableSource& src = z.variables[v];
        if (src.sharedFrom >= 0) file.zones[static_cast<std::size_t>(src.sharedFrom)].variables[v].sharedLater = true;
        file.anyCellCentred = file.anyCellCentred || src.cellCentred;
      }
      (z.block ? file.anyBlock : file.anyPoint) = true;
    } else {
      z.ni = z.nj = 1;
      for (TecplotVariableSource& v : z.variables) v = TecplotVariableSource{false, true, -1, false};
    }
    file.zones.push_back(std::move(z));
  }

  // The end of the values that start at `begin`: the first line after it that starts with a
  // word that is not a number (the next record), or the end of the file.
  std::size_t DataEnd(std::size_t begin) const {
    std::size_t p = begin;
    if (p < s_.size() && !IsNumberStart(s_[p])) {
      std::size_t e = p;
      while (e < s_.size() && !IsValueSeparator(s_[e])) ++e;
      if (!IsValueToken(s_.substr(p, e - p))) return begin;
    }
    for (;;) {
      const void* nl = std::memchr(s_.data() + p, '\n', s_.size() - p);
      if (!nl) return s_.size();
      p = static_cast<std::size_t>(static_cast<const char*>(nl) - s_.data());
      const std::size_t line = ++p;
      while (p < s_.size() && (s_[p] == ' ' || s_[p] == '\t' || s_[p] == ',')) ++p;
      if (p >= s_.size()) return s_.size();
      const char c = s_[p];
      if (IsNumberStart(c) || c == '#' || c == '\n' || c == '\r') continue;
      std::size_t e = p;
      while (e < s_.size() && !IsValueSeparator(s_[e])) ++e;
      if (!IsValueToken(s_.substr(p, e - p))) return line;
    }
  }

  // A TEXT or GEOMETRY record: its settings, then (for a geometry) lines of numbers.
  void SkipRecord() {
    for (;;) {
      SkipSpace();
      if (p_ >= s_.size() || !IsLetter(s_[p_])) break;
      const std::size_t at = p_;
      const std::string key = AsciiUpper(Word());
      if (!PeekEquals()) {
        p_ = at;
        break;
      }
      Equals();
      Value();
    }
    if (p_ < s_.size() && !IsLetter(s_[p_])) p_ = DataEnd(p_);
  }

  std::string_view s_;
  const std::string& path_;
  std::size_t p_ = 0;
  std::size_t countedTo_ = 0, countedLine_ = 1;
};

}  // namespace

std::int64_t TecplotZone::ValueCount() const {
  std::int64_t n = 0;
  for (const TecplotVariableSource& v : variables)
    if (!v.passive && v.sharedFrom < 0) n += v.cellCentred ? CellCount(ni, nj) : ni * nj;
  return n;
}

bool LooksLikeTecplot(std::string_view head) {
  std::size_t p = 0;
  // The first record keyword after blank lines and comments.
  for (;;) {
    while (p < head.size() && IsValueSeparator(head[p])) ++p;
    if (p < head.size() && head[p] == '#') {
      while (p < head.size() && head[p] != '\n') ++p;
      continue;
    }
    break;
  }
  std::size_t e = p;
  while (e < head.size() && IsLetter(head[e])) ++e;
  const std::string first = AsciiUpper(head.substr(p, e - p));
  if (first != "TITLE" && first != "VARIABLES" && first != "FILETYPE" && first != "ZONE" && first != "DATASETAUXDATA")
    return false;
  if (first != "ZONE") {
    std::size_t q = e;
    while (q < head.size() && (head[q] == ' ' || head[q] == '\t')) ++q;
    if (q >= head.size() || (head[q] != '=' && first != "DATASETAUXDATA")) return false;
  }
  // A line that starts with ZONE.
  for (std::size_t line = p; line < head.size();) {
    std::size_t q = line;
    while (q < head.size() && (head[q] == ' ' || head[q] == '\t')) ++q;
    if (head.size() - q >= 4 && AsciiUpper(head.substr(q, 4)) == "ZONE" &&
        (head.size() - q == 4 || !IsLetter(head[q + 4])))
      return true;
    const std::size_t next = head.find('\n', q);
    if (next == std::string_view::npos) break;
    line = next + 1;
  }
  return false;
}

TecplotFile ScanTecplot(std::string_view bytes, const std::string& path) { return Scanner(bytes, path).Scan(); }

std::vector<double> TecplotStepTimes(const TecplotFile& file) {
  std::vector<double> times;
  for (const TecplotZone& z : file.zones)
    if (z.time && z.leftOut.empty()) times.push_back(*z.time);
  std::sort(times.begin(), times.end());
  times.erase(std::unique(times.begin(), times.end()), times.end());
  return times;
}

std::string TecplotLeftOutText(const TecplotFile& file) {
  constexpr std::size_t kNamed = 10;
  std::string text;
  std::size_t count = 0;
  for (std::size_t z = 0; z < file.zones.size(); ++z) {
    const TecplotZone& zone = file.zones[z];
    if (zone.leftOut.empty()) continue;
    if (++count <= kNamed)
      text += (count > 1 ? "、" : "") + ZoneLabel(z, zone.title) + " (" + std::to_string(zone.line) + " 行目): " + zone.leftOut;
  }
  if (count == 0) return {};
  if (count > kNamed) text += "、ほか " + std::to_string(count - kNamed) + " 個の領域";
  return "読まなかった領域 (" + std::to_string(count) + " 個): " + text;
}

}  // namespace corvane
