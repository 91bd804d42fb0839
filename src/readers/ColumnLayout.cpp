#include "readers/ColumnLayout.h"

#include <algorithm>
#include <bit>

#include "readers/DecimalNumber.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace corvane {
namespace {

// Kinds of character, one bit each, so a place may allow several.
enum Kind : std::uint8_t {
  kDigit = 1,
  kBlank = 2,
  kPlus = 4,
  kMinus = 8,
  kDot = 16,
  kExponentMark = 32,  // e or E
  kLineFeed = 64,
  kReturn = 128,
};

inline bool IsDigit(char c) { return static_cast<unsigned>(c - '0') < 10u; }

}  // namespace

bool LearnColumnLayout(const char* line, const char* lineEnd, const char* end, int columns, ColumnLayout& layout) {
  layout.columns = 0;
  if (columns < 1 || columns > ColumnLayout::kMaxColumns || lineEnd >= end) return false;
  const int breakBytes = *lineEnd == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n' ? 2 : 1;
  if (*lineEnd != '\n' && *lineEnd != '\r') return false;
  const long length = lineEnd - line;
  if (length + breakBytes > ColumnLayout::kMaxBytes) return false;
  const int n = static_cast<int>(length);

  std::uint8_t* allowed = layout.allowed;
  std::fill(allowed, allowed + ColumnLayout::kMaxBytes, std::uint8_t{0});
  int furthestRead = 0;
  int pos = 0;
  for (int k = 0; k < columns; ++k) {
    while (pos < n && line[pos] == ' ') allowed[pos++] = kBlank;
    ColumnLayout::Column& c = layout.column[k];
    if (pos < n && line[pos] == '-') ++pos;
    // The place before the leading digit takes a minus sign when a blank or the line start
    // stands before it, so a sign there still leaves the numbers apart.
    const int q = pos - 1;
    // Without such a place the sign is looked for at the leading digit, which is never one.
    c.sign = static_cast<std::int16_t>(pos);
    if (q >= 0 && (line[q] == ' ' || line[q] == '-') && (q == 0 || line[q - 1] == ' ')) {
      c.sign = static_cast<std::int16_t>(q);
      allowed[q] = kBlank | kMinus;
    } else if (q >= 0 && line[q] == '-') {
      return false;
    }
    // d.ddd(e|E)(+|-)dd
    if (pos + 1 >= n || !IsDigit(line[pos]) || line[pos + 1] != '.') return false;
    c.first = static_cast<std::int16_t>(pos);
    allowed[pos] = kDigit;
    allowed[pos + 1] = kDot;
    int p = pos + 2;
    while (p < n && IsDigit(line[p])) allowed[p++] = kDigit;
    const int fraction = p - (pos + 2);
    if (fraction < 1 || fraction > 14) return false;
    if (p + 2 >= n || (line[p] != 'e' && line[p] != 'E') || (line[p + 1] != '+' && line[p + 1] != '-')) return false;
    allowed[p] = kExponentMark;
    allowed[p + 1] = kPlus | kMinus;
    c.exponent = static_cast<std::int16_t>(p + 2);
    p += 2;
    while (p < n && IsDigit(line[p])) allowed[p++] = kDigit;
    const int exponentDigits = p - c.exponent;
    if (exponentDigits < 1 || exponentDigits > 3) return false;
    if (p < n && line[p] != ' ') return false;
    c.fractionDigits = static_cast<std::int8_t>(fraction);
    c.exponentDigits = static_cast<std::int8_t>(exponentDigits);
    // The significand's digits, d0 and the fraction, gathered to the right end of 16 bytes.
    const int digits = fraction + 1;
    for (int lane = 0; lane < 16; ++lane) {
      const int d = lane - (16 - digits);  // 0: the leading digit
      c.gather[lane] = d < 0 ? 0x80 : static_cast<std::uint8_t>(d == 0 ? 0 : d + 1);
    }
    furthestRead = std::max(furthestRead, c.first + 16);
    pos = p;
  }
  while (pos < n && line[pos] == ' ') allowed[pos++] = kBlank;
  if (pos != n) return false;  // more than the columns read
  if (breakBytes == 2) {
    allowed[n] = kReturn;
    allowed[n + 1] = kLineFeed;
  } else {
    allowed[n] = *lineEnd == '\n' ? kLineFeed : kReturn;
  }
  const int total = n + breakBytes;
  layout.lineBytes = n;
  layout.breakBytes = breakBytes;
  layout.chunks = (total + 15) / 16;
  layout.lastCare = static_cast<std::uint16_t>(total % 16 == 0 ? 0xFFFFu : (1u << (total % 16)) - 1u);
  layout.readBytes = std::max(layout.chunks * 16, furthestRead);
  layout.columns = columns;
  return true;
}

#if defined(__x86_64__)

bool ColumnLayoutSupported() {
  static const bool supported = __builtin_cpu_supports("sse4.1");
  return supported;
}

__attribute__((target("sse4.1"))) std::size_t ReadLaidOutLine(const ColumnLayout& layout, const char* p, double* fields) {
  // Pass 1: every byte of the line and its break is of a kind its place allows. The kind of a
  // byte is the common bits of two table entries, one for each half of it.
  const __m128i lowTable = _mm_setr_epi8(kDigit | kBlank, kDigit, kDigit, kDigit, kDigit, kDigit | kExponentMark, kDigit,
                                         kDigit, kDigit, kDigit, kLineFeed, kPlus, 0, static_cast<char>(kMinus | kReturn),
                                         kDot, 0);
  const __m128i highTable = _mm_setr_epi8(static_cast<char>(kLineFeed | kReturn), 0, kBlank | kPlus | kMinus | kDot,
                                          kDigit, kExponentMark, 0, kExponentMark, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  const __m128i nibble = _mm_set1_epi8(0x0F);
  const __m128i zero = _mm_setzero_si128();
  for (int c = 0; c < layout.chunks; ++c) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * c));
    const __m128i kind = _mm_and_si128(_mm_shuffle_epi8(lowTable, _mm_and_si128(v, nibble)),
                                       _mm_shuffle_epi8(highTable, _mm_and_si128(_mm_srli_epi16(v, 4), nibble)));
    const __m128i allowed = _mm_load_si128(reinterpret_cast<const __m128i*>(layout.allowed + 16 * c));
    unsigned wrong = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(kind, allowed), zero)));
    if (c + 1 == layout.chunks) wrong &= layout.lastCare;
    if (wrong) return 0;
  }
  // Pass 2: the numbers. Sixteen digits become two eight-digit halves in three steps of
  // multiply-and-add on neighbouring lanes.
  const __m128i zeroChar = _mm_set1_epi8('0');
  const __m128i tens = _mm_set1_epi16(0x010A);
  const __m128i hundreds = _mm_set1_epi32(0x00010064);
  const __m128i tenThousands = _mm_set1_epi32(0x00012710);
  for (int k = 0; k < layout.columns; ++k) {
    const ColumnLayout::Column& c = layout.column[k];
    const __m128i text = _mm_sub_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + c.first)), zeroChar);
    const __m128i digits = _mm_shuffle_epi8(text, _mm_load_si128(reinterpret_cast<const __m128i*>(c.gather)));
    const __m128i pairs = _mm_maddubs_epi16(digits, tens);
    const __m128i fours = _mm_madd_epi16(pairs, hundreds);
    const __m128i eights = _mm_madd_epi16(_mm_packus_epi32(fours, fours), tenThousands);
    const std::uint64_t m = static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_cvtsi128_si32(eights))) * 100000000u +
                            static_cast<std::uint32_t>(_mm_extract_epi32(eights, 1));
    const char* e = p + c.exponent;
    int exponent = e[0] - '0';
    for (int d = 1; d < c.exponentDigits; ++d) exponent = exponent * 10 + (e[d] - '0');
    exponent = (e[-1] == '-' ? -exponent : exponent) - c.fractionDigits;
    if (exponent < -22 || exponent > 22) return 0;
    double v = static_cast<double>(m);
    v = exponent < 0 ? v / number_detail::kPowersOfTen[-exponent] : v * number_detail::kPowersOfTen[exponent];
    // The sign without a branch: which numbers are negative follows no pattern.
    const std::uint64_t negative = static_cast<std::uint64_t>(p[c.sign] == '-') << 63;
    fields[k] = std::bit_cast<double>(std::bit_cast<std::uint64_t>(v) ^ negative);
  }
  return static_cast<std::size_t>(layout.lineBytes + layout.breakBytes);
}

#else

bool ColumnLayoutSupported() { return false; }
std::size_t ReadLaidOutLine(const ColumnLayout&, const char*, double*) { return 0; }

#endif

}  // namespace corvane
