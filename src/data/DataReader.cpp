#include "data/DataReader.h"

#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <future>
#include <limits>
#include <new>

#include "data/BothCores.h"
#include "data/DecimalNumber.h"
#include "data/DerivedQuantities.h"
#include "data/Errors.h"
#include "data/LineIndex.h"
#include "data/LineSplitters.h"
#include "data/MappedFile.h"
#include "data/TextEncoding.h"

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
  std::size_t dataStart = 0;             // offset of the first data line
  std::vector<std::uint64_t> breaks;     // breaks ending the data lines, in order
  int columns = 0;
  Separator separator = Separator::Spaces;
  LoopOrder order = LoopOrder::IJ;
  double* x = nullptr;
  double* y = nullptr;
  std::vector<double*> rows;             // the file variables' rows of Values

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

struct PartResult {
  std::int64_t firstBad = -1;  // first node whose line did not read (the caller re-reads it)
  double xMax = 0.0, yMax = 0.0, xMin = 0.0, yMin = 0.0;
};

// Reads the nodes [begin, end) in node order (only checks them when ctx.x is null). Stops at the first node whose line has too few
// fields or a field that is not a number, leaving it to the caller to report. `chunkDone` is
// called after every kChunk nodes with the count read; it returns false to stop early.
template <class ChunkDone>
void ReadNodes(const ReadContext& c, std::int64_t begin, std::int64_t end, PartResult& out, ChunkDone&& chunkDone) {
  const std::vector<ZoneGrid>& zones = *c.zones;
  std::vector<double> fields(static_cast<std::size_t>(c.columns));
  double* f = fields.data();
  const int columns = c.columns;
  const int variables = columns - 2;
  double xMax = 0.0, yMax = 0.0, xMin = 0.0, yMin = 0.0;
  std::size_t z = 0;
  while (z + 1 < zones.size() && zones[z + 1].FirstNode <= begin) ++z;
  std::int64_t n = begin;
  std::int64_t sinceReport = 0;
  while (n < end && z < zones.size()) {
    const ZoneGrid& zone = zones[z];
    const std::int64_t first = zone.FirstNode;
    const std::int64_t zoneEnd = std::min<std::int64_t>(end, first + std::int64_t{zone.NI} * zone.NJ);
    std::int64_t i = (n - first) / zone.NJ;
    std::int64_t j = (n - first) % zone.NJ;
    for (; n < zoneEnd; ++n) {
      std::string_view line = c.DataLine(c.RelativeLine(zone, i, j));
      int count = 0;
      bool bad = false;
      ForEachField(line, c.separator, [&](std::string_view text) {
        if (!ParseDataNumber(text, f[count])) bad = true;
        return ++count < columns;
      });
      if (count < columns || bad) {
        out.firstBad = n;
        out.xMax = xMax, out.yMax = yMax, out.xMin = xMin, out.yMin = yMin;
        return;
      }
      if (c.x) {  // without storage the lines are only checked
        c.x[n] = f[0];
        c.y[n] = f[1];
        // Comparisons pass NaN over; the box keeps the origin it started from.
        xMax = f[0] > xMax ? f[0] : xMax;
        xMin = f[0] < xMin ? f[0] : xMin;
        yMax = f[1] > yMax ? f[1] : yMax;
        yMin = f[1] < yMin ? f[1] : yMin;
        for (int k = 0; k < variables; ++k) c.rows[static_cast<std::size_t>(k)][n] = f[k + 2];
      }
      if (++j == zone.NJ) {
        j = 0;
        ++i;
      }
      if (++sinceReport == kChunk) {
        if (!chunkDone(sinceReport)) {
          out.xMax = xMax, out.yMax = yMax, out.xMin = xMin, out.yMin = yMin;
          return;
        }
        sinceReport = 0;
      }
    }
    ++z;
  }
  chunkDone(sinceReport);
  out.xMax = xMax, out.yMax = yMax, out.xMin = xMin, out.yMin = yMin;
}

// Asks for huge pages for the memory of a large array before it is first touched: in a virtual
// machine each first touch of a 4 KiB page is dear, and a million-node load touches 20,000 of them.
void PreferHugePages(const void* data, std::size_t bytes) {
  constexpr std::uintptr_t kPage = 4096;
  if (bytes < (4u << 20)) return;
  // The whole pages of the block (a large block is a mapping of its own, so they are ours).
  const auto begin = reinterpret_cast<std::uintptr_t>(data) & ~(kPage - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes + kPage - 1) & ~(kPage - 1);
  ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

// A zeroed array of doubles, on huge pages when large.
void AllocateZeroed(std::vector<double>& v, std::size_t n) {
  std::vector<double>().swap(v);
  v.reserve(n);
  PreferHugePages(v.data(), n * sizeof(double));
  v.resize(n, 0.0);
}

// Room for the breaks of `bytes` bytes of data lines, at most `limit` of them.
void ReserveBreaks(std::vector<std::uint64_t>& breaks, std::size_t bytes, std::size_t limit) {
  const std::size_t estimate = std::min(limit, bytes / 16 + 1024);
  breaks.reserve(estimate);
  PreferHugePages(breaks.data(), estimate * sizeof(std::uint64_t));
}

std::string ZoneText(std::size_t z) { return "zone[" + std::to_string(z) + "]"; }

// The line-count warning for the first node (in reading order) whose line lies at or beyond
// `available` data lines.
std::string ShortFileMessage(const std::vector<ZoneGrid>& zones, LoopOrder order, std::int64_t dataStartLine,
                             std::int64_t available, std::int64_t fileLines) {
  for (std::size_t z = 0; z < zones.size(); ++z) {
    const std::int64_t base = zones[z].FirstNode, ni = zones[z].NI, nj = zones[z].NJ;
    const std::int64_t last = base + ni * nj - 1;
    if (last < available) continue;
    std::int64_t line = 0;
    if (order == LoopOrder::IJ) {
      line = std::max(available, base);
    } else {
      // Node (i, j) is on line base + ni * j + i; i runs outer while reading.
      std::int64_t i0 = std::max<std::int64_t>(0, available - base - ni * (nj - 1));
      std::int64_t rest = available - base - i0;
      std::int64_t j0 = rest <= 0 ? 0 : (rest + ni - 1) / ni;
      line = base + ni * j0 + i0;
    }
    return ZoneText(z) + "行数" + std::to_string(fileLines) + "と格子点数" + std::to_string(dataStartLine + line) +
           "が合いません";
  }
  return {};
}

}  // namespace

std::optional<LoadResult> LoadDataFile(const std::string& path, const LoadOptions& options,
                                       const FieldDataSet& previous, int previousZoneListCount,
                                       Notifier& notifier, Progress& progress) {
  try {
    progress.SetPosition(0);
    MappedFile file(path);
    const std::string_view bytes = file.Bytes();
    progress.Pump();

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

    LoadResult result;
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
    int preselected[4] = {-1, -1, -1, -1};
    static const char* const kNames[4] = {"U", "V", "T", "P"};
    for (int k = 0; k < variables; ++k) {
      std::string upper = data.VariableNames[static_cast<std::size_t>(k)];
      for (char& ch : upper) ch = (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
      for (int s = 0; s < 4; ++s) {
        if (upper == kNames[s]) preselected[s] = k;
      }
    }
    const int chosen[4] = {options.xvecbox, options.yvecbox, options.tmpbox, options.prsBox};
    for (int s = 0; s < 4; ++s) {
      if (chosen[s] >= 0 && chosen[s] < variables) preselected[s] = chosen[s];
      if (preselected[s] < 0 && variables > 0) preselected[s] = 0;
    }
    result.selectorItems = data.VariableNames;
    result.rgroupItems = data.VariableNames;
    if (options.IncludeVelCheck) {
      result.rgroupItems.push_back("マッハ数");
      result.rgroupItems.push_back("全圧");
    }
    result.xvecIndex = preselected[0];
    result.yvecIndex = preselected[1];
    result.tmpIndex = preselected[2];
    result.prsIndex = preselected[3];

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

    // Pass 3: the data lines, indexed once on both cores; a file that cannot hold every node
    // is refused before the node arrays exist.
    ReadContext ctx;
    ctx.path = path;
    ctx.bytes = bytes;
    ctx.zones = &data.Zones;
    ctx.dataStartLine = dataStartLine;
    ctx.columns = columns;
    ctx.separator = sep;
    ctx.order = options.loopOrder;
    const bool startExists = head.Has(dataStartLine);
    ctx.dataStart = startExists ? head.Start(dataStartLine) : bytes.size();
    const std::size_t remaining = bytes.size() - ctx.dataStart;
    bool enough = startExists && remaining >= static_cast<std::uint64_t>(nodeCount);  // a line takes a byte at least
    if (enough) {
      const std::size_t limit = static_cast<std::size_t>(nodeCount);
      if (remaining < (4u << 20)) {
        ReserveBreaks(ctx.breaks, remaining, limit);
        CollectLineBreaks(bytes, ctx.dataStart, bytes.size(), limit, ctx.breaks);
      } else {
        // Each half of the bytes on its own core; the second half's breaks follow the first's.
        const std::size_t mid = ctx.dataStart + remaining / 2;
        std::vector<std::uint64_t> second;
        RunOnBothCores(2, 2, [&](std::int64_t b, std::int64_t) {
          if (b == 0) {
            ReserveBreaks(ctx.breaks, mid - ctx.dataStart, limit);
            CollectLineBreaks(bytes, ctx.dataStart, mid, limit, ctx.breaks);
          } else {
            ReserveBreaks(second, remaining - remaining / 2, limit);
            CollectLineBreaks(bytes, mid, bytes.size(), limit, second);
          }
        });
        if (ctx.breaks.size() < limit) {
          ctx.breaks.insert(ctx.breaks.end(), second.begin(),
                            second.begin() + static_cast<std::ptrdiff_t>(std::min(second.size(), limit - ctx.breaks.size())));
        }
      }
      // The last node's line needs no break of its own when text follows the last break.
      std::size_t afterLast =
          ctx.breaks.empty() ? ctx.dataStart : ctx.breaks.back() + BreakLength(bytes, ctx.breaks.back());
      enough = ctx.breaks.size() >= limit || (ctx.breaks.size() + 1 == limit && afterLast < bytes.size());
    }
    if (!enough) {
      const std::int64_t fileLines = head.Count();
      const std::int64_t available = std::max<std::int64_t>(0, fileLines - dataStartLine);
      notifier.Warning(ShortFileMessage(data.Zones, options.loopOrder, dataStartLine, available, fileLines));
      return std::nullopt;
    }

    auto carry = [&](std::vector<double>& to, const std::vector<double>& from) {
      to = from;
      to.resize(static_cast<std::size_t>(columns), 0.0);
    };
    carry(data.ContourMax, previous.ContourMax);
    carry(data.ContourMin, previous.ContourMin);
    carry(data.ContourStep, previous.ContourStep);
    for (ZoneGrid& zone : data.Zones) {
      zone.ILineMask.assign(static_cast<std::size_t>(zone.NI), true);
      zone.JLineMask.assign(static_cast<std::size_t>(zone.NJ), true);
    }
    result.zoneListCount = zoneCount;
    result.zoneListsRebuilt = zoneCount != previousZoneListCount;
    if (result.zoneListsRebuilt) {
      data.Boundaries.assign(static_cast<std::size_t>(zoneCount), BoundaryFlags{});
    } else {
      data.Boundaries = previous.Boundaries;
      data.Boundaries.resize(static_cast<std::size_t>(zoneCount));
    }
    progress.SetMaximum(nodeCount);
    progress.SetStatus("データ読み込み中…");
    progress.Pump();
    std::atomic<std::int64_t> done{0};
    PartResult parts[2];

    // A complete data line holds `columns` numbers and the separators between them. When the
    // bytes cannot hold that many, some node must fail: find it by checking the lines in order,
    // without storage, rather than allocating arrays the file could never fill.
    const std::int64_t fewestBytes = nodeCount * (2 * std::int64_t{columns}) - 1;
    if (static_cast<std::int64_t>(remaining) < fewestBytes) {
      ReadNodes(ctx, 0, nodeCount, parts[0], [&](std::int64_t count) {
        done += count;
        progress.SetPosition(done.load());
        progress.Pump();
        return true;
      });
    } else {
      // Pass 4: storage, shared out between both cores as the arrays are zeroed.
      std::vector<std::vector<double>*> arrays = {&data.X, &data.Y};
      data.Values.resize(static_cast<std::size_t>(columns));
      for (auto& row : data.Values) arrays.push_back(&row);
      RunOnBothCores(static_cast<std::int64_t>(arrays.size()), nodeCount >= kSplitNodes ? 2 : 1 << 30,
                     [&](std::int64_t b, std::int64_t e) {
                       for (std::int64_t k = b; k < e; ++k)
                         AllocateZeroed(*arrays[static_cast<std::size_t>(k)], static_cast<std::size_t>(nodeCount));
                     });

      // Pass 5: the nodes, the first half here (with the progress reports) and the second on a
      // helper thread.
      ctx.x = data.X.data();
      ctx.y = data.Y.data();
      for (int k = 0; k < variables; ++k) ctx.rows.push_back(data.Values[static_cast<std::size_t>(k)].data());
      std::atomic<bool> firstHalfFailed{false};
      const std::int64_t half = nodeCount >= kSplitNodes ? nodeCount / 2 : nodeCount;
      std::future<void> helper;
      if (half < nodeCount) {
        helper = std::async(std::launch::async, [&] {
          ReadNodes(ctx, half, nodeCount, parts[1], [&](std::int64_t count) {
            done += count;
            return !firstHalfFailed.load(std::memory_order_relaxed);
          });
        });
      }
      try {
        ReadNodes(ctx, 0, half, parts[0], [&](std::int64_t count) {
          done += count;
          progress.SetPosition(done.load());
          progress.Pump();
          return true;
        });
      } catch (...) {
        firstHalfFailed = true;
        if (helper.valid()) helper.wait();
        throw;
      }
      if (parts[0].firstBad >= 0) firstHalfFailed = true;
      if (helper.valid()) {
        // Keep the window alive while the helper finishes its half.
        while (helper.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
          progress.SetPosition(done.load());
          progress.Pump();
        }
        helper.get();
      }
    }
    progress.SetPosition(nodeCount);

    const std::int64_t bad = parts[0].firstBad >= 0 ? parts[0].firstBad : parts[1].firstBad;
    if (bad >= 0) {
      // Re-read the first node that failed to say exactly what is wrong with it.
      std::size_t z = 0;
      while (z + 1 < data.Zones.size() && data.Zones[z + 1].FirstNode <= bad) ++z;
      const ZoneGrid& zone = data.Zones[z];
      const std::int64_t i = (bad - zone.FirstNode) / zone.NJ, j = (bad - zone.FirstNode) % zone.NJ;
      const std::int64_t rel = ctx.RelativeLine(zone, i, j);
      const std::string_view line = ctx.DataLine(rel);
      if (SplitLine(line, sep, fields) < columns) {
        notifier.Warning(ZoneText(z) + "の点(" + std::to_string(i) + "," + std::to_string(j) +
                         ")で、データの個数が不足しています");
        return std::nullopt;
      }
      for (int k = 0; k < columns; ++k) {
        double v = 0.0;
        if (!ParseDataNumber(fields[static_cast<std::size_t>(k)], v)) {
          throw CorvaneError("データファイル " + path + " の" + std::to_string(dataStartLine + rel) +
                             "行目(先頭行を0行目として)、" + std::to_string(k) + "番目の項目(" + labels[static_cast<std::size_t>(k)] +
                             ")の \"" + Shown(decoder, fields[static_cast<std::size_t>(k)]) + "\" は数値ではありません");
        }
      }
      throw CorvaneError("データファイル " + path + " の" + std::to_string(dataStartLine + rel) + "行目を読めません");
    }
    if (!ctx.x) throw CorvaneError("データファイル " + path + " のデータが格子点数に足りません");
    data.XMax = std::max(parts[0].xMax, parts[1].xMax);
    data.YMax = std::max(parts[0].yMax, parts[1].yMax);
    data.XMin = std::min(parts[0].xMin, parts[1].xMin);
    data.YMin = std::min(parts[0].yMin, parts[1].yMin);
    std::vector<std::uint64_t>().swap(ctx.breaks);

    // Pass 6: derived rows and, when switched on, the automatic contour ranges.
    ComputeDerivedQuantities(data, result.xvecIndex, result.yvecIndex, result.tmpIndex, result.prsIndex,
                             options.gammaBox, options.RBox, notifier);
    if (options.AutoMaxMinCheck) AutoMaxMin(data);
    if (options.AutoStepCheck) AutoStep(data, options.StepBar);
    return result;
  } catch (const std::bad_alloc&) {
    throw CorvaneError("データファイル " + path + " を読み込むためのメモリが足りません");
  }
}

}  // namespace corvane
