#include "data/LineIndex.h"

#if defined(__SSE2__)
#include <emmintrin.h>
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

void CollectLineBreaks(std::string_view bytes, std::size_t from, std::size_t to, std::size_t limit,
                       std::vector<std::uint64_t>& out) {
  const char* base = bytes.data();
  auto take = [&](std::size_t pos) {
    // The LF of a CR LF belongs to the break its CR started.
    if (base[pos] == '\n' && pos > 0 && base[pos - 1] == '\r') return;
    out.push_back(pos);
  };
  std::size_t pos = from;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  while (pos + 16 <= to && out.size() < limit) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + pos));
    unsigned m = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr))));
    while (m && out.size() < limit) {
      take(pos + static_cast<std::size_t>(__builtin_ctz(m)));
      m &= m - 1;
    }
    pos += 16;
  }
#endif
  for (; pos < to && out.size() < limit; ++pos) {
    if (base[pos] == '\n' || base[pos] == '\r') take(pos);
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
  while (!complete_) Has(static_cast<std::int64_t>(starts_.size()));
  return static_cast<std::int64_t>(starts_.size());
}

}  // namespace corvane
