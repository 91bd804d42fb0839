// Finding line breaks (CR LF, CR or LF) in the bytes of a file, and the lines they delimit.
// Lines are numbered from 0; a break at the very end of the text does not start another line.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

namespace corvane {

// First CR or LF in [p, end), or end.
const char* FindLineBreak(const char* p, const char* end);

// Length of the break that starts at bytes[pos]: 2 for CR LF, else 1.
inline std::size_t BreakLength(std::string_view bytes, std::size_t pos) {
  return bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n' ? 2 : 1;
}

// Appends to `out` the positions of the breaks that start in [from, to) (the LF of a CR LF does
// not start one), stopping once `out` holds `limit` entries.
void CollectLineBreaks(std::string_view bytes, std::size_t from, std::size_t to, std::size_t limit,
                       std::vector<std::uint64_t>& out);

// Number of bytes in [p, end) that end a break: every LF, and every CR not followed by an LF.
// A line starts after each of them (unless the file ends there). The byte at `end` is read to
// see whether a CR at end - 1 starts a CR LF, so it must be readable.
std::size_t CountBreakEnds(const char* p, const char* end);

// Lines of the head of a file, indexed on demand from the start: the reader asks for a few lines
// (sizes, labels, where the data start) and never indexes more than it asked for.
class HeadLines {
 public:
  explicit HeadLines(std::string_view bytes) : bytes_(bytes) {}
  // Whether line n exists (indexes up to it).
  bool Has(std::int64_t n);
  // Offset of the first byte of line n; Has(n) must be true.
  std::size_t Start(std::int64_t n) const { return starts_[static_cast<std::size_t>(n)]; }
  // Text of line n without its break; Has(n) must be true.
  std::string_view Line(std::int64_t n) const;
  // Number of lines in the whole file (counted; the index grows no further).
  std::int64_t Count();

 private:
  std::string_view bytes_;
  std::vector<std::size_t> starts_;
  bool complete_ = false;
};

}  // namespace corvane
