#include "readers/LineIndex.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace corvane {

const char* FindLineBreak(const char* p, const char* end) {
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  while (end - p >= 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    int m = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)));
    if (m) return p + __builtin_ctz(static_cast<unsigned>(m));
    p += 16;
  }
#endif
  while (p < end && *p != '\n' && *p != '\r') ++p;
  return p;
}

namespace {

// The LF of a CR LF belongs to the break its CR started.
inline bool StartsBreak(const char* base, std::size_t pos) {
  return !(base[pos] == '\n' && pos > 0 && base[pos - 1] == '\r');
}

// Takes the breaks marked in a 64-bit mask of the 64 bytes at `pos`.
inline void TakeMarked(const char* base, std::size_t pos, std::uint64_t m, std::size_t limit, std::vector<std::uint64_t>& out) {
  while (m && out.size() < limit) {
    const std::size_t at = pos + static_cast<std::size_t>(__builtin_ctzll(m));
    if (StartsBreak(base, at)) out.push_back(at);
    m &= m - 1;
  }
}

#if defined(__x86_64__)
// 64 bytes a step with AVX2 when the processor has it: a data file is mostly digits, so the
// loop is nearly all loads and compares.
__attribute__((target("avx2"))) std::size_t CollectAvx2(const char* base, std::size_t pos, std::size_t to,
                                                      std::size_t limit, std::vector<std::uint64_t>& out) {
  const __m256i lf = _mm256_set1_epi8('\n');
  const __m256i cr = _mm256_set1_epi8('\r');
  while (pos + 64 <= to && out.size() < limit) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(base + pos));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(base + pos + 32));
    const std::uint32_t ma = static_cast<std::uint32_t>(
        _mm256_movemask_epi8(_mm256_or_si256(_mm256_cmpeq_epi8(a, lf), _mm256_cmpeq_epi8(a, cr))));
    const std::uint32_t mb = static_cast<std::uint32_t>(
        _mm256_movemask_epi8(_mm256_or_si256(_mm256_cmpeq_epi8(b, lf), _mm256_cmpeq_epi8(b, cr))));
    const std::uint64_t m = ma | (static_cast<std::uint64_t>(mb) << 32);
    if (m) TakeMarked(base, pos, m, limit, out);
    pos += 64;
  }
  return pos;
}
#endif

#if defined(__x86_64__)
// 32 bytes a step: the LFs, plus the CRs, less the CRs an LF follows.
__attribute__((target("avx2,popcnt"))) std::size_t CountBreakEndsAvx2(const char*& p, const char* end) {
  const __m256i lf = _mm256_set1_epi8('\n');
  const __m256i cr = _mm256_set1_epi8('\r');
  std::size_t count = 0;
  while (end - p >= 32) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 1));  // byte `end` at most
    const auto lfs = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, lf)));
    const __m256i isCr = _mm256_cmpeq_epi8(v, cr);
    const auto crs = static_cast<std::uint32_t>(_mm256_movemask_epi8(isCr));
    if (crs) {
      const auto crlfs = static_cast<std::uint32_t>(
          _mm256_movemask_epi8(_mm256_and_si256(isCr, _mm256_cmpeq_epi8(next, lf))));
      count += static_cast<std::size_t>(__builtin_popcount(crs) - __builtin_popcount(crlfs));
    }
    count += static_cast<std::size_t>(__builtin_popcount(lfs));
    p += 32;
  }
  return count;
}
#endif

}  // namespace

std::size_t CountBreakEnds(const char* p, const char* end) {
  std::size_t count = 0;
#if defined(__x86_64__)
  static const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
  if (avx2) count = CountBreakEndsAvx2(p, end);
#endif
  for (; p < end; ++p) count += *p == '\n' || (*p == '\r' && p[1] != '\n');
  return count;
}

void CollectLineBreaks(std::string_view bytes, std::size_t from, std::size_t to, std::size_t limit,
                       std::vector<std::uint64_t>& out) {
  const char* base = bytes.data();
  std::size_t pos = from;
#if defined(__x86_64__)
  static const bool avx2 = __builtin_cpu_supports("avx2");
  if (avx2) pos = CollectAvx2(base, pos, to, limit, out);
#endif
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  while (pos + 16 <= to && out.size() < limit) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + pos));
    const auto m = static_cast<std::uint64_t>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr))));
    if (m) TakeMarked(base, pos, m, limit, out);
    pos += 16;
  }
#endif
  for (; pos < to && out.size() < limit; ++pos) {
    if ((base[pos] == '\n' || base[pos] == '\r') && StartsBreak(base, pos)) out.push_back(pos);
  }
}

bool HeadLines::Has(std::int64_t n) {
  if (n < 0) return false;
  if (starts_.empty() && !complete_) {
    if (bytes_.empty()) {
      complete_ = true;
      return false;
    }
    starts_.push_back(0);
  }
  while (static_cast<std::int64_t>(starts_.size()) <= n && !complete_) {
    const char* p = bytes_.data() + starts_.back();
    const char* end = bytes_.data() + bytes_.size();
    const char* b = FindLineBreak(p, end);
    if (b == end) {
      complete_ = true;
      break;
    }
    std::size_t pos = static_cast<std::size_t>(b - bytes_.data());
    std::size_t next = pos + BreakLength(bytes_, pos);
    if (next >= bytes_.size()) {
      complete_ = true;  // a break at the very end starts no line
      break;
    }
    starts_.push_back(next);
  }
  return static_cast<std::int64_t>(starts_.size()) > n;
}

std::string_view HeadLines::Line(std::int64_t n) const {
  std::size_t start = starts_[static_cast<std::size_t>(n)];
  const char* b = FindLineBreak(bytes_.data() + start, bytes_.data() + bytes_.size());
  return bytes_.substr(start, static_cast<std::size_t>(b - bytes_.data()) - start);
}

std::int64_t HeadLines::Count() {
  // Counted past the lines indexed, not indexed: a file of nothing but breaks would otherwise
  // take eight bytes of index a byte.
  if (!Has(0)) return 0;
  const std::int64_t indexed = static_cast<std::int64_t>(starts_.size());
  const std::size_t from = starts_.back();
  if (complete_ || from + 1 >= bytes_.size()) return indexed;
  return indexed + static_cast<std::int64_t>(CountBreakEnds(bytes_.data() + from, bytes_.data() + bytes_.size() - 1));
}

}  // namespace corvane
