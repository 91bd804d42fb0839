#include "readers/NodeLines.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <memory>
#include <string_view>
#include <thread>

#include "readers/ColumnLayout.h"
#include "readers/DecimalNumber.h"
#include "readers/LineIndex.h"
#include "readers/LineSplitters.h"

namespace corvane {
namespace {

// Bytes read past a window's end, so the line running over it usually needs no second read.
constexpr std::size_t kSlack = 4096;

// Whether c is a blank or control character, which the splitters trim from fields; a line
// break ends the line instead.
inline bool Trimmed(char c) { return static_cast<unsigned char>(c) <= 32 && c != '\n' && c != '\r'; }
inline bool EndsLine(const char* p, const char* end) { return p == end || *p == '\n' || *p == '\r'; }

// Reads `columns` numbers from the line at p laid out the plain way for its separator: single
// numbers between blanks, or between commas or tabs with blanks around them. `end` bounds the
// text held, which may stop inside the line or run past its break. Gives where the reading
// stopped (at the last number's end, or past it at the break), or nullptr for any other line
// (quotes, signs, words, missing fields, stray control characters); the careful splitter then
// reads it, so both ways give the same values.
const char* ReadPlainLine(const char* p, const char* end, Separator separator, int columns, double* f) {
  if (separator == Separator::Spaces) {
    while (p < end && Trimmed(*p)) ++p;
    for (int k = 0;; ++k) {
      p = ReadPlainNumber(p, end, f[k]);
      if (!p) return nullptr;
      if (k + 1 == columns) return EndsLine(p, end) || *p == ' ' ? p : nullptr;
      if (p == end || *p != ' ') return nullptr;
      // Aligned columns put one or two blanks before a number: taken without a branch.
      if (end - p >= 2) {
        p += p[1] == ' ';
        ++p;
      }
      while (p < end && *p == ' ') ++p;
    }
  }
  const char cut = separator == Separator::Commas ? ',' : '\t';
  for (int k = 0;; ++k) {
    while (p < end && Trimmed(*p) && *p != cut) ++p;
    p = ReadPlainNumber(p, end, f[k]);
    if (!p) return nullptr;
    while (p < end && Trimmed(*p) && *p != cut) ++p;
    if (k + 1 == columns) return EndsLine(p, end) || *p == cut ? p : nullptr;
    if (p == end || *p != cut) return nullptr;
    ++p;
  }
}

// The same line read by the splitter the separator selects: false when it has too few fields or
// one that is not a number.
bool ReadSplitLine(std::string_view line, Separator separator, int columns, double* f) {
  int count = 0;
  bool bad = false;
  ForEachField(line, separator, [&](std::string_view text) {
    if (!ParseDataNumber(text, f[count])) bad = true;
    return ++count < columns;
  });
  return count >= columns && !bad;
}

// State both threads share: the next window to take, and for every window the number of lines
// that start in it and all before it, published as soon as the window's breaks are counted.
struct SharedRead {
  explicit SharedRead(std::int64_t windows) : linesThrough(new std::atomic<std::int64_t>[static_cast<std::size_t>(windows)]) {
    for (std::int64_t w = 0; w < windows; ++w) linesThrough[static_cast<std::size_t>(w)].store(-1);
  }
  std::atomic<std::int64_t> nextWindow{0};
  std::unique_ptr<std::atomic<std::int64_t>[]> linesThrough;
  std::atomic<bool> stop{false};    // a fault, an abort or an error: take no more windows
  std::atomic<bool> enough{false};  // every node's line lies in windows already taken
  std::atomic<bool> faulty{false};
  std::atomic<std::int64_t> nodesRead{0};
};

// One thread's reader: its window buffer, its fields and its extents.
class WindowReader {
 public:
  WindowReader(const NodeLinesJob& job, SharedRead& shared)
      : job_(job), shared_(shared), size_(job.file->Bytes().size()), fields_(static_cast<std::size_t>(job.columns)) {}

  // Takes and reads windows until none is needed or left; after each, `windowDone` is called
  // and may return false to stop. A faulty line stops both threads.
  template <class WindowDone>
  void Run(std::int64_t windows, WindowDone&& windowDone) {
    while (!shared_.stop.load(std::memory_order_relaxed) && !shared_.enough.load(std::memory_order_relaxed)) {
      const std::int64_t w = shared_.nextWindow.fetch_add(1);
      if (w >= windows) return;
      if (!ReadWindow(w)) {
        shared_.faulty = true;
        shared_.stop = true;
        return;
      }
      if (!windowDone()) return;
    }
  }

  double xMax = 0.0, yMax = 0.0, xMin = 0.0, yMin = 0.0;

 private:
  // Holds file bytes [from, to) in the buffer.
  void Hold(std::size_t from, std::size_t to) {
    if (to - from > capacity_) {
      capacity_ = std::max(to - from, capacity_ * 2);
      buffer_.reset(new char[capacity_]);  // left uninitialised: filled by the read
    }
    job_.file->ReadAt(from, buffer_.get(), to - from);
    from_ = from;
    to_ = to;
  }
  // Holds bytes up to `to` as well, reading on from the end of what is held.
  void HoldTo(std::size_t to) {
    to = std::min(to, size_);
    if (to <= to_) return;
    const std::size_t held = to_ - from_;
    if (to - from_ > capacity_) {
      capacity_ = std::max(to - from_, capacity_ * 2);
      std::unique_ptr<char[]> bigger(new char[capacity_]);
      std::copy(buffer_.get(), buffer_.get() + held, bigger.get());
      buffer_ = std::move(bigger);
    }
    job_.file->ReadAt(to_, buffer_.get() + held, to - to_);
    to_ = to;
  }
  const char* At(std::size_t offset) const { return buffer_.get() + (offset - from_); }
  std::size_t Offset(const char* p) const { return from_ + static_cast<std::size_t>(p - buffer_.get()); }

  // The lines that start in window w: counts them, waits for the count of the windows before,
  // publishes its own, and reads the lines that hold nodes. False for a line that does not read.
  bool ReadWindow(std::int64_t w) {
    const std::size_t a = job_.dataStart + static_cast<std::size_t>(w) * job_.windowBytes;
    const std::size_t b = std::min(a + job_.windowBytes, size_);
    // A line starts after every break end in [a - 1, b - 1), and at offset 0 (a break at the
    // very end of the file starts none). The byte after the last one tells a CR from a CR LF.
    const std::size_t first = a > 0 ? a - 1 : 0;
    const std::size_t last = b - 1;
    Hold(first, std::min(b + kSlack, size_));
    std::int64_t count = last > first ? static_cast<std::int64_t>(CountBreakEnds(At(first), At(last))) : 0;
    if (a == 0) ++count;

    std::int64_t before = 0;
    if (w > 0) {
      std::atomic<std::int64_t>& previous = shared_.linesThrough[static_cast<std::size_t>(w - 1)];
      while ((before = previous.load(std::memory_order_acquire)) < 0) {
        if (shared_.stop.load(std::memory_order_relaxed)) return true;
        std::this_thread::yield();
      }
    }
    shared_.linesThrough[static_cast<std::size_t>(w)].store(before + count, std::memory_order_release);
    if (before + count >= job_.nodeCount) shared_.enough = true;
    if (count == 0 || before >= job_.nodeCount) return true;

    // The first line start: a itself, or after the first break end from a - 1 on.
    std::size_t s = a;
    if (a > 0) {
      std::size_t q = Offset(FindLineBreak(At(a - 1), At(last)));
      if (*At(q) == '\r' && *At(q + 1) == '\n') ++q;
      s = q + 1;
    }
    const std::int64_t lines = std::min(count, job_.nodeCount - before);
    StartZone(before);
    for (std::int64_t k = 0; k < lines; ++k) {
      // The line runs to the next break or the end of the file: read it where it lies, and
      // once more after reading on when the text held ends inside it.
      const char* lineEnd = nullptr;
      if (layout_.columns && to_ - s >= static_cast<std::size_t>(layout_.readBytes) &&
          ReadLaidOutLine(layout_, At(s), fields_.data())) {
        lineEnd = At(s) + layout_.lineBytes;
        ++layoutHits_;
      } else {
        if (layout_.columns) LayoutMissed();
        const char* stop = nullptr;
        for (;;) {
          stop = ReadPlainLine(At(s), At(to_), job_.separator, job_.columns, fields_.data());
          lineEnd = FindLineBreak(stop ? stop : At(s), At(to_));
          if (lineEnd != At(to_) || to_ == size_) break;
          HoldTo(to_ + std::max<std::size_t>(to_ - from_, 1u << 16));
        }
        if (!stop && !ReadSplitLine(std::string_view(At(s), static_cast<std::size_t>(lineEnd - At(s))), job_.separator,
                                    job_.columns, fields_.data()))
          return false;
        if (stop) MaybeLearnLayout(At(s), lineEnd);
      }
      StoreNode();
      if (k + 1 < lines) {
        const std::size_t e = Offset(lineEnd);
        HoldTo(e + 2);
        s = e + (*At(e) == '\r' && e + 1 < size_ && *At(e + 1) == '\n' ? 2 : 1);
      }
    }
    shared_.nodesRead.fetch_add(lines, std::memory_order_relaxed);
    return true;
  }

  // After a plain line: learns its layout when the last tries allow, so the lines after it
  // that keep it take the shortcut. Failed tries wait ever longer before the next.
  void MaybeLearnLayout(const char* line, const char* lineEnd) {
    if (!layoutPossible_) return;
    if (learnCountdown_ > 0) {
      --learnCountdown_;
      return;
    }
    layoutHits_ = 0;
    if (!LearnColumnLayout(line, lineEnd, At(to_), job_.columns, layout_)) LearnLater();
  }
  // A line that left the learnt layout: a layout that served many lines is learnt again from
  // the next plain line, one that kept failing waits.
  void LayoutMissed() {
    if (layoutHits_ >= 16) {
      learnBackoff_ = 1;
    } else {
      LearnLater();
    }
    layoutHits_ = 0;
  }
  // Waits twice as many plain lines as last time before the next try.
  void LearnLater() {
    learnBackoff_ = std::min(learnBackoff_ * 2, 4096);
    learnCountdown_ = learnBackoff_;
  }

  // Places the node cursor on data line `line`.
  void StartZone(std::int64_t line) {
    const std::vector<ZoneGrid>& zones = *job_.zones;
    zone_ = 0;
    while (zone_ + 1 < zones.size() && zones[zone_ + 1].FirstNode <= line) ++zone_;
    const ZoneGrid& z = zones[zone_];
    zoneEnd_ = std::int64_t{z.FirstNode} + std::int64_t{z.NI} * z.NJ;
    line_ = line;
    const std::int64_t local = line - z.FirstNode;
    // Written j outer, a zone's line NI * j + i holds node (i, j).
    i_ = local % z.NI;
    j_ = local / z.NI;
  }

  // Stores the numbers read from the current line into its node and moves the cursor on.
  void StoreNode() {
    const double* f = fields_.data();
    if (line_ == zoneEnd_) StartZone(line_);
    std::int64_t n = line_;
    if (job_.order == LoopOrder::JI) {
      const ZoneGrid& z = (*job_.zones)[zone_];
      n = z.FirstNode + std::int64_t{z.NJ} * i_ + j_;
      if (++i_ == z.NI) {
        i_ = 0;
        ++j_;
      }
    }
    ++line_;
    job_.x[n] = f[0];
    job_.y[n] = f[1];
    // A node at NaN or infinity is passed over (its cells are holes); the box keeps the origin
    // it started from.
    if (std::isfinite(f[0]) && std::isfinite(f[1])) {
      xMax = f[0] > xMax ? f[0] : xMax;
      xMin = f[0] < xMin ? f[0] : xMin;
      yMax = f[1] > yMax ? f[1] : yMax;
      yMin = f[1] < yMin ? f[1] : yMin;
    }
    const double* values = f + 2;
    for (std::size_t k = 0; k < job_.rows.size(); ++k) job_.rows[k][n] = values[k];
  }

  const NodeLinesJob& job_;
  SharedRead& shared_;
  const std::size_t size_;
  std::vector<double> fields_;
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = 0;
  std::size_t from_ = 0, to_ = 0;  // file bytes held
  std::size_t zone_ = 0;
  std::int64_t zoneEnd_ = 0, line_ = 0, i_ = 0, j_ = 0;
  // The layout of the lines, when they repeat one.
  const bool layoutPossible_ = job_.separator == Separator::Spaces && ColumnLayoutSupported();
  ColumnLayout layout_;
  int layoutHits_ = 0, learnCountdown_ = 0, learnBackoff_ = 1;
};

}  // namespace

NodeLinesResult ReadNodeLines(const NodeLinesJob& job, Progress& progress) {
  NodeLinesResult result;
  const std::size_t size = job.file->Bytes().size();
  if (job.nodeCount <= 0 || job.dataStart >= size || job.windowBytes == 0) return result;
  const std::int64_t windows = static_cast<std::int64_t>((size - job.dataStart + job.windowBytes - 1) / job.windowBytes);
  SharedRead shared(windows);
  // An abort flag left over from before the read is not this read's.
  const bool abortAtStart = progress.AbortRequested();
  bool aborted = false;

  WindowReader own(job, shared), other(job, shared);
  std::exception_ptr helperError;
  std::thread helper;
  if (job.threads > 1 && windows > 1) {
    helper = std::thread([&] {
      try {
        other.Run(windows, [] { return true; });
      } catch (...) {
        helperError = std::current_exception();
        shared.stop = true;
      }
    });
  }
  std::exception_ptr ownError;
  try {
    own.Run(windows, [&] {
      progress.SetPosition(shared.nodesRead.load(std::memory_order_relaxed));
      if (!abortAtStart && progress.AbortRequested()) {
        aborted = true;
        shared.stop = true;
        return false;
      }
      return true;
    });
  } catch (...) {
    ownError = std::current_exception();
    shared.stop = true;
  }
  if (helper.joinable()) helper.join();
  if (ownError) std::rethrow_exception(ownError);
  if (helperError) std::rethrow_exception(helperError);

  result.xMax = std::max(own.xMax, other.xMax);
  result.yMax = std::max(own.yMax, other.yMax);
  result.xMin = std::min(own.xMin, other.xMin);
  result.yMin = std::min(own.yMin, other.yMin);
  if (aborted) {
    result.outcome = NodeLinesOutcome::Aborted;
  } else if (!shared.faulty && shared.nodesRead.load() == job.nodeCount) {
    result.outcome = NodeLinesOutcome::Complete;
  }
  progress.SetPosition(shared.nodesRead.load());
  return result;
}

}  // namespace corvane
