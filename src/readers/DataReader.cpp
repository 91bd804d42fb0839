#include "readers/DataReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <new>

#include "base/BothCores.h"
#include "readers/AsciiCase.h"
#include "readers/StructuredLoad.h"
#include "readers/DecimalNumber.h"
#include "base/Errors.h"
#include "readers/LineIndex.h"
#include "readers/LineSplitters.h"
#include "readers/MappedFile.h"
#include "readers/NodeLines.h"
#include "base/TextEncoding.h"

namespace corvane {
namespace {

constexpr std::int64_t kMaxNodes = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kChunk = 16384;          // nodes between two progress reports
constexpr std::int64_t kSplitNodes = 1 << 15;   // fewer nodes are read on one thread

// Integer of a size line; nullopt when it is not an integer, `tooLarge` when it is one beyond
// 64 bits.
std::optional<long long> ParseInteger(std::string_view text, bool& tooLarge) {
  text = split_detail::Trim(text);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  long long v = 0;
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, v);
  if (text.empty() || p != end || ec == std::errc::invalid_argument) return std::nullopt;
  tooLarge = ec == std::errc::result_out_of_range;
  return v;
}

// Decides how the file's text is read: UTF-8 when its head (everything before the data, where
// the names are) is valid UTF-8, else CP932. Data lines are numbers and need no decoding.
class TextDecoder {
 public:
  explicit TextDecoder(std::string_view head) {
    ascii_ = std::all_of(head.begin(), head.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    utf8_ = ascii_ || IsValidUtf8(head);
  }
  std::string Decode(std::string_view bytes) const {
    bool asUtf8 = ascii_ ? IsValidUtf8(bytes) : utf8_;
    return asUtf8 ? std::string(bytes) : Cp932ToUtf8(bytes);
  }

 private:
  bool ascii_ = true;
  bool utf8_ = true;
};

// Shows a text found in a file within a message: control characters replaced, long texts cut.
std::string Shown(const TextDecoder& decoder, std::string_view bytes) {
  constexpr std::size_t kMax = 60;
  bool cut = bytes.size() > kMax;
  std::string text = decoder.Decode(bytes.substr(0, kMax));
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 32 || c == 127) c = '?';
  }
  return cut ? text + "…" : text;
}

struct ReadContext {
  std::string path;
  std::string_view bytes;
  const std::vector<ZoneGrid>* zones = nullptr;
  std::int64_t dataStartLine = 0;
  std::int64_t sizeLine = 0;
  std::size_t dataStart = 0;             // offset of the first data line
  std::vector<std::uint64_t> breaks;     // breaks ending the data lines, in order
  int columns = 0;
  Separator separator = Separator::Spaces;
  LoopOrder order = LoopOrder::IJ;

  // Line `rel` counted from the first data line (it exists).
  std::string_view DataLine(std::int64_t rel) const {
    std::size_t start = rel == 0 ? dataStart
                                 : static_cast<std::size_t>(breaks[static_cast<std::size_t>(rel - 1)]) +
                                       BreakLength(bytes, static_cast<std::size_t>(breaks[static_cast<std::size_t>(rel - 1)]));
    std::size_t end = static_cast<std::size_t>(rel) < breaks.size()
                          ? static_cast<std::size_t>(breaks[static_cast<std::size_t>(rel)])
                          : bytes.size();
    return bytes.substr(start, end - start);
  }
  // Data line of node (i, j) of a zone by the loop order of the file.
  std::int64_t RelativeLine(const ZoneGrid& z, std::int64_t i, std::int64_t j) const {
    return order == LoopOrder::IJ ? std::int64_t{z.FirstNode} + z.NJ * i + j : std::int64_t{z.FirstNode} + z.NI * j + i;
  }
};

// Checks the nodes in node order and gives the first whose line has too few fields or a field that
// is not a number (-1: none), reporting progress every kChunk nodes. Used only to name the fault
// of a file the parallel read found faulty, so it needs no speed.
std::int64_t FirstFaultyNode(const ReadContext& c, Progress& progress) {
  const std::vector<ZoneGrid>& zones = *c.zones;
  std::vector<double> fields(static_cast<std::size_t>(c.columns));
  double* f = fields.data();
  const int columns = c.columns;
  std::int64_t n = 0;
  for (const ZoneGrid& zone : zones) {
    for (std::int64_t i = 0; i < zone.NI; ++i) {
      for (std::int64_t j = 0; j < zone.NJ; ++j, ++n) {
        std::string_view line = c.DataLine(c.RelativeLine(zone, i, j));
        int count = 0;
        bool bad = false;
        ForEachField(line, c.separator, [&](std::string_view text) {
          if (!ParseDataNumber(text, f[count])) bad = true;
          return ++count < columns;
        });
        if (count < columns || bad) return n;
        if (n % kChunk == 0) {
          progress.SetPosition(n);
        }
      }
    }
  }
  return -1;
}

// A row of n values the reader writes every one of, left unset: its pages are first touched by
// the thread that reads their nodes, not all on one beforehand. Not on huge
// pages: in the virtual machines this runs on, the host takes back large freed blocks, and a
// fresh huge page then costs far more to fault in than the small pages it holds (640 MB of
// rows: 1.7 s against 0.27 s; only when a huge page was freed a moment ago is it cheaper, 0.04 s).
void AllocateRow(NodeRow& v, std::size_t n) {
  NodeRow().swap(v);
  v.resize(n);  // left unset: RowAllocator
}

// Room for the breaks of `bytes` bytes of data lines, at most `limit` of them.
void ReserveBreaks(std::vector<std::uint64_t>& breaks, std::size_t bytes, std::size_t limit) {
  const std::size_t estimate = std::min(limit, bytes / 16 + 1024);
  breaks.reserve(estimate);
}

std::string ZoneText(std::size_t z) { return "zone[" + std::to_string(z) + "]"; }

// The warning for a file with fewer data lines than its size lines ask for: what the size line
// of the first zone that runs short says, how many lines that makes, and how many there are.
// Sizes that are the point counts where the last index is meant are the usual cause; then the
// lines are exactly what the counts would need, and the warning says how to write them.
std::string ShortFileMessage(const std::vector<ZoneGrid>& zones, std::int64_t sizeLine, std::int64_t dataStartLine,
                             std::int64_t available, std::int64_t fileLines) {
  std::int64_t total = 0, asCounts = 0;
  for (const ZoneGrid& zone : zones) {
    total += std::int64_t{zone.NI} * zone.NJ;
    asCounts += std::int64_t{zone.NI - 1} * (zone.NJ - 1);
  }
  for (std::size_t z = 0; z < zones.size(); ++z) {
    const ZoneGrid& zone = zones[z];
    if (zone.FirstNode + std::int64_t{zone.NI} * zone.NJ <= available) continue;
    const std::string a = std::to_string(zone.NI - 1), b = std::to_string(zone.NJ - 1);
    std::string text = ZoneText(z) + "の格子点数とファイルの行数が合いません: 格子点数の行 (" +
                       std::to_string(sizeLine + static_cast<std::int64_t>(z)) + "行目) の \"" + a + " " + b + "\" は " +
                       std::to_string(zone.NI) + " × " + std::to_string(zone.NJ) + " = " +
                       std::to_string(std::int64_t{zone.NI} * zone.NJ) + " 点";
    if (zones.size() > 1) text += "、全領域で " + std::to_string(total) + " 点";
    text += "なので、データは " + std::to_string(dataStartLine) + " 行目から " + std::to_string(dataStartLine + total - 1) +
            " 行目までの " + std::to_string(total) + " 行が要りますが、ファイルは " + std::to_string(fileLines) +
            " 行 (データ " + std::to_string(available) + " 行) です (行は先頭行を0行目として数えます)";
    if (available == asCounts && asCounts > 0)
      text += "。格子点数は点の数ではなく i, j の最後の番号 (点の数 − 1) です: " + a + " × " + b + " 点なら \"" +
              std::to_string(zone.NI - 2) + " " + std::to_string(zone.NJ - 2) + "\" と書きます";
    return text;
  }
  return {};
}

// Names the first fault of data lines the read could not take, in node order as a user counts
// them: a file too short for its nodes (warning), a line with too few fields (warning), or a
// field that is not a number (thrown).
void ReportFaultyNodes(ReadContext& ctx, bool startExists, HeadLines& head, const std::vector<std::string>& labels,
                       const TextDecoder& decoder, Notifier& notifier, Progress& progress) {
  const std::vector<ZoneGrid>& zones = *ctx.zones;
  const std::int64_t nodeCount = zones.empty() ? 0 : std::int64_t{zones.back().FirstNode} + std::int64_t{zones.back().NI} * zones.back().NJ;
  const std::size_t remaining = ctx.bytes.size() - ctx.dataStart;
  bool enough = startExists && remaining >= static_cast<std::uint64_t>(nodeCount);  // a line takes a byte at least
  if (enough) {
    const std::size_t limit = static_cast<std::size_t>(nodeCount);
    ReserveBreaks(ctx.breaks, remaining, limit);
    CollectLineBreaks(ctx.bytes, ctx.dataStart, ctx.bytes.size(), limit, ctx.breaks);
    // The last node's line needs no break of its own when text follows the last break.
    const std::size_t afterLast =
        ctx.breaks.empty() ? ctx.dataStart : ctx.breaks.back() + BreakLength(ctx.bytes, ctx.breaks.back());
    enough = ctx.breaks.size() >= limit || (ctx.breaks.size() + 1 == limit && afterLast < ctx.bytes.size());
  }
  if (!enough) {
    const std::int64_t fileLines = head.Count();
    const std::int64_t available = std::max<std::int64_t>(0, fileLines - ctx.dataStartLine);
    notifier.Warning(ShortFileMessage(zones, ctx.sizeLine, ctx.dataStartLine, available, fileLines));
    return;
  }
  const std::int64_t bad = FirstFaultyNode(ctx, progress);
  if (bad < 0) throw CorvaneError("データファイル " + ctx.path + " のデータが格子点数に足りません");
  // Re-read the first node that failed to say exactly what is wrong with it.
  std::size_t z = 0;
  while (z + 1 < zones.size() && zones[z + 1].FirstNode <= bad) ++z;
  const ZoneGrid& zone = zones[z];
  const std::int64_t i = (bad - zone.FirstNode) / zone.NJ, j = (bad - zone.FirstNode) % zone.NJ;
  const std::int64_t rel = ctx.RelativeLine(zone, i, j);
  const std::string_view line = ctx.DataLine(rel);
  std::vector<std::string> fields;
  if (SplitLine(line, ctx.separator, fields) < ctx.columns) {
    notifier.Warning(ZoneText(z) + "の点(" + std::to_string(i) + "," + std::to_string(j) + ")で、データの個数が不足しています");
    return;
  }
  for (int k = 0; k < ctx.columns; ++k) {
    double v = 0.0;
    if (!ParseDataNumber(fields[static_cast<std::size_t>(k)], v)) {
      throw CorvaneError("データファイル " + ctx.path + " の" + std::to_string(ctx.dataStartLine + rel) +
                         "行目(先頭行を0行目として)、" + std::to_string(k) + "番目の項目(" + labels[static_cast<std::size_t>(k)] +
                         ")の \"" + Shown(decoder, fields[static_cast<std::size_t>(k)]) + "\" は数値ではありません");
    }
  }
  throw CorvaneError("データファイル " + ctx.path + " の" + std::to_string(ctx.dataStartLine + rel) + "行目を読めません");
}

}  // namespace

std::optional<FileContents> LoadDataFile(const std::string& path, const LoadOptions& options,
                                         Notifier& notifier, Progress& progress) {
  progress.SetPosition(0);
  const MappedFile file(path);
  return LoadDataFile(file, options, notifier, progress);
}

std::optional<FileContents> LoadDataFile(const MappedFile& file, const LoadOptions& options,
                                         Notifier& notifier, Progress& progress) {
  const std::string& path = file.Path();
  try {
    progress.SetPosition(0);
    const std::string_view bytes = file.Bytes();

    const std::int64_t labelLine = std::clamp(options.LabelLineBox, 0, 999);
    const std::int64_t sizeLine = std::clamp(options.XYNumLineBox, 0, 999);
    const std::int64_t dataStartLine = std::clamp(options.DataStartLineBox, 0, 999);
    const int zoneCount = std::clamp(options.ZCountBox, 0, 100);
    const Separator sep = options.separator;

    HeadLines head(bytes);
    // The head ends where the data start (or after the label and size lines, if later).
    const std::int64_t headEndLine = std::max({dataStartLine, labelLine + 1, sizeLine + zoneCount});
    const std::size_t headEnd = head.Has(headEndLine) ? head.Start(headEndLine) : bytes.size();
    const TextDecoder decoder(bytes.substr(0, headEnd));
    auto lineMissing = [&](std::int64_t line, const char* what) {
      return CorvaneError("データファイル " + path + " に" + what + "(" + std::to_string(line) +
                          "行目、先頭行を0行目として)がありません。ファイルは" + std::to_string(head.Count()) + "行です");
    };

    FileContents result;
    FieldDataSet& data = result.data;

    // Pass 1: the label line gives the columns and the variable names.
    if (!head.Has(labelLine)) throw lineMissing(labelLine, "ラベル行");
    std::vector<std::string> labels;
    SplitLine(decoder.Decode(head.Line(labelLine)), sep, labels);
    if (labels.size() < 2) {
      notifier.Warning("ラベル行(" + std::to_string(labelLine) + "行目)の項目が" + std::to_string(labels.size()) +
                       "個しかありません。x, y の2列以上が必要です");
      return std::nullopt;
    }
    data.ColumnCount = static_cast<std::int32_t>(std::min<std::size_t>(labels.size(), 1u << 20));
    const int columns = data.ColumnCount;
    const int variables = columns - 2;
    data.VariableNames.assign(labels.begin() + 2, labels.begin() + columns);
    for (int k = 0; k < variables; ++k) {
      const std::string upper = AsciiUpper(data.VariableNames[static_cast<std::size_t>(k)]);
      for (std::size_t s = 0; s < 4; ++s)
        if (upper == kPrimitiveNames[s]) result.namedRows[s] = k;  // the last column of a name
    }

    // Pass 2: the zone sizes, checked before anything is allocated for them.
    if (zoneCount == 0) {
      notifier.Warning("領域数が0です。読み込むには領域数を1以上にしてください");
      return std::nullopt;
    }
    data.ZoneCount = zoneCount;
    data.Zones.resize(static_cast<std::size_t>(zoneCount));
    std::int64_t nodeCount = 0;
    std::vector<std::string> fields;
    for (int z = 0; z < zoneCount; ++z) {
      const std::int64_t line = sizeLine + z;
      if (!head.Has(line)) throw lineMissing(line, "格子点数の行");
      const std::string_view text = head.Line(line);
      const int count = SplitLine(text, sep, fields);
      if (count != 2) notifier.Message("領域点数はxi,eta方向合わせて２点で指定して下さい");
      if (count < 2) return std::nullopt;
      long long maxIndex[2] = {0, 0};
      bool tooLarge = false;
      for (int k = 0; k < 2; ++k) {
        std::optional<long long> v = ParseInteger(fields[static_cast<std::size_t>(k)], tooLarge);
        if (!v)
          throw CorvaneError("データファイル " + path + " の" + std::to_string(line) + "行目(先頭行を0行目として)、" +
                             ZoneText(static_cast<std::size_t>(z)) + "の格子点数 \"" +
                             Shown(decoder, fields[static_cast<std::size_t>(k)]) + "\" は整数ではありません");
        maxIndex[k] = *v;
        if (tooLarge) break;
      }
      const std::string where = ZoneText(static_cast<std::size_t>(z)) + "の格子点数(" + std::to_string(line) + "行目の " +
                                Shown(decoder, fields[0]) + ", " + Shown(decoder, fields[1]) + ")";
      if (!tooLarge && (maxIndex[0] < 0 || maxIndex[1] < 0)) {
        notifier.Warning(where + "が不正です。各方向とも0以上の最大インデックス(1点以上)が必要です");
        return std::nullopt;
      }
      const std::int64_t ni = tooLarge ? kMaxNodes + 1 : std::min<long long>(maxIndex[0], kMaxNodes) + 1;
      const std::int64_t nj = tooLarge ? kMaxNodes + 1 : std::min<long long>(maxIndex[1], kMaxNodes) + 1;
      if (ni > kMaxNodes || nj > kMaxNodes || ni * nj > kMaxNodes - nodeCount) {
        notifier.Warning(where + "が大きすぎます。全領域の格子点数の合計は" + std::to_string(kMaxNodes) + "点までです");
        return std::nullopt;
      }
      ZoneGrid& zone = data.Zones[static_cast<std::size_t>(z)];
      zone.NI = static_cast<std::int32_t>(ni);
      zone.NJ = static_cast<std::int32_t>(nj);
      zone.FirstNode = static_cast<std::int32_t>(nodeCount);
      nodeCount += ni * nj;
    }
    data.NodeCount = static_cast<std::int32_t>(nodeCount);

    progress.SetMaximum(nodeCount);
    progress.SetStatus("データ読み込み中…");

    // Pass 3: the nodes, read on both cores straight into their rows. A complete data line
    // holds `columns` numbers and the separators between them, so when the bytes cannot hold
    // that many some node must fail, and no storage is made for it.
    const bool startExists = head.Has(dataStartLine);
    const std::size_t dataStart = startExists ? head.Start(dataStartLine) : bytes.size();
    const std::size_t remaining = bytes.size() - dataStart;
    // A claim far beyond the file (fewer bytes than half its nodes, where each takes a line) is
    // no short file but a wrong size line: refused naming it.
    for (std::size_t z = 0; z < data.Zones.size(); ++z) {
      const ZoneGrid& zone = data.Zones[z];
      const std::int64_t through = std::int64_t{zone.FirstNode} + std::int64_t{zone.NI} * zone.NJ;
      if (through > 2 * static_cast<std::int64_t>(remaining) + 16) {
        notifier.Warning("データファイル " + path + " の" + std::to_string(sizeLine + static_cast<std::int64_t>(z)) +
                         "行目(先頭行を0行目として)、" + ZoneText(z) + "の格子点数 " + std::to_string(zone.NI) + " × " +
                         std::to_string(zone.NJ) + " (" + std::to_string(through - zone.FirstNode) +
                         " 点) は、データ部分の " + std::to_string(remaining) + " バイトに収まりません。1点に1行が必要です");
        return std::nullopt;
      }
    }
    const std::int64_t fewestBytes = nodeCount * (2 * std::int64_t{columns}) - 1;
    bool readable = startExists && static_cast<std::int64_t>(remaining) >= fewestBytes;
    // Rows are usually smaller than the text they come from. When they would be much larger
    // (short lines, or a size line claiming more nodes than the file has lines), the lines are
    // counted first, so a short file never has the rows made and touched for nothing.
    const std::int64_t rowBytes = std::int64_t{columns} * std::int64_t{sizeof(double)} * nodeCount;  // x, y, variables
    if (readable && rowBytes > 2 * static_cast<std::int64_t>(remaining)) {
      const std::int64_t lines =
          1 + static_cast<std::int64_t>(CountBreakEnds(bytes.data() + dataStart, bytes.data() + bytes.size() - 1));
      readable = lines >= nodeCount;
    }
    if (readable) {
      std::vector<NodeRow*> arrays = {&data.X, &data.Y};
      data.Values.resize(static_cast<std::size_t>(columns));
      // The derived rows after the variables stay empty until something asks for them.
      for (int k = 0; k < variables; ++k) arrays.push_back(&data.Values[static_cast<std::size_t>(k)]);
      RunOnBothCores(static_cast<std::int64_t>(arrays.size()), nodeCount >= kSplitNodes ? 2 : 1 << 30,
                     [&](std::int64_t b, std::int64_t e) {
                       for (std::int64_t k = b; k < e; ++k)
                         AllocateRow(*arrays[static_cast<std::size_t>(k)], static_cast<std::size_t>(nodeCount));
                     });
      NodeLinesJob job;
      job.file = &file;
      job.dataStart = dataStart;
      job.zones = &data.Zones;
      job.nodeCount = nodeCount;
      job.columns = columns;
      job.separator = sep;
      job.order = options.loopOrder;
      job.x = data.X.data();
      job.y = data.Y.data();
      for (int k = 0; k < variables; ++k) job.rows.push_back(data.Values[static_cast<std::size_t>(k)].data());
      job.threads = nodeCount >= kSplitNodes ? std::clamp(options.readThreads, 1, 2) : 1;
      job.windowBytes = std::max<std::size_t>(options.readWindow, 1);
      const NodeLinesResult read = ReadNodeLines(job, progress);
      if (read.outcome == NodeLinesOutcome::Aborted) {
        progress.SetStatus(kLoadAbortedText);
        return std::nullopt;
      }
      if (read.outcome == NodeLinesOutcome::Complete) {
        data.XMax = read.xMax;
        data.YMax = read.yMax;
        data.XMin = read.xMin;
        data.YMin = read.yMin;
        return result;
      }
      // Some line did not read: the storage goes, and the fault is looked for below.
      NodeRow().swap(data.X);
      NodeRow().swap(data.Y);
      std::vector<NodeRow>().swap(data.Values);
    }
    ReadContext ctx;
    ctx.path = path;
    ctx.bytes = bytes;
    ctx.zones = &data.Zones;
    ctx.dataStartLine = dataStartLine;
  ctx.sizeLine = sizeLine;
    ctx.dataStart = dataStart;
    ctx.columns = columns;
    ctx.separator = sep;
    ctx.order = options.loopOrder;
    ReportFaultyNodes(ctx, startExists, head, labels, decoder, notifier, progress);
    return std::nullopt;
  } catch (const std::bad_alloc&) {
    throw CorvaneError("データファイル " + path + " を読み込むためのメモリが足りません");
  }
}

}  // namespace corvane
