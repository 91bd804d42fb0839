// Reading the decimal numbers of data lines. Every value is the correctly rounded double of its
// text, as std::from_chars gives it; the usual short forms ("-1.23456789e+02") take a shortcut
// that is exact by construction and about a third cheaper.
#pragma once
#include <cstdint>
#include <cstring>
#include <string_view>

namespace corvane {

// Reads one number of a data line: optional sign, digits, full stop, fraction, exponent with
// e or E; blanks around it are allowed, and so are nan and inf. A number too small for a double
// reads as zero (or the nearest denormal); one too large is refused.
bool ParseDataNumber(std::string_view text, double& value);

namespace number_detail {

inline constexpr double kPowersOfTen[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                            1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

inline bool IsDigit(char c) { return static_cast<unsigned>(c - '0') < 10u; }

// The value of eight decimal digits at p, or false when one of them is not a digit.
inline bool EightDigits(const char* p, std::uint64_t& out) {
  std::uint64_t v = 0;
  std::memcpy(&v, p, 8);
  // Each byte must be 0x30..0x39: its high nibble 3, and adding 6 must not carry into it.
  const std::uint64_t high = v & 0xF0F0F0F0F0F0F0F0ull;
  const std::uint64_t carried = ((v + 0x0606060606060606ull) & 0xF0F0F0F0F0F0F0F0ull) >> 4;
  if ((high | carried) != 0x3333333333333333ull) return false;
  v -= 0x3030303030303030ull;
  v = v * 10 + (v >> 8);  // pairs of digits (little-endian: the first digit is the low byte)
  v = ((v & 0x000000FF000000FFull) * (100 + (1000000ull << 32)) +
       ((v >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32))) >>
      32;
  out = v;
  return true;
}

}  // namespace number_detail

// Reads a number written as [-]digits[.digits][(e|E)[+|-]digits] at the start of [p, end) and
// returns where it ends. Gives nullptr, leaving the decision to std::from_chars, for any other
// form and for values one multiplication or division by a power of ten cannot give exactly:
// more than 19 digits, a significand beyond 2^53 or a power beyond 10^22. Within those bounds
// both operands are exact doubles, so the one rounding of the operation is the correct one.
[[gnu::always_inline]] inline const char* ReadPlainNumber(const char* p, const char* end, double& value) {
  using namespace number_detail;
  const bool negative = p < end && *p == '-';
  if (negative) ++p;
  std::uint64_t m = 0;
  const char* start = p;
  while (p < end && IsDigit(*p)) m = m * 10 + static_cast<unsigned>(*p++ - '0');
  const int integerDigits = static_cast<int>(p - start);
  int fractionDigits = 0;
  if (p < end && *p == '.') {
    const char* fraction = ++p;
    std::uint64_t eight = 0;
    if (integerDigits <= 11 && end - p >= 8 && EightDigits(p, eight)) {
      m = m * 100000000ull + eight;
      p += 8;
    }
    while (p < end && IsDigit(*p) && p - fraction < 19) m = m * 10 + static_cast<unsigned>(*p++ - '0');
    fractionDigits = static_cast<int>(p - fraction);
  }
  const int digits = integerDigits + fractionDigits;
  if (digits == 0 || digits > 19 || (p < end && IsDigit(*p))) return nullptr;
  int exponent = 0;
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    const bool down = p < end && *p == '-';
    if (p < end && (*p == '+' || *p == '-')) ++p;
    const char* first = p;
    while (p < end && IsDigit(*p) && p - first < 5) exponent = exponent * 10 + (*p++ - '0');
    if (p == first || (p < end && IsDigit(*p))) return nullptr;
    if (down) exponent = -exponent;
  }
  exponent -= fractionDigits;
  if (m == 0) {
    value = negative ? -0.0 : 0.0;
    return p;
  }
  if (m > (std::uint64_t{1} << 53) || exponent < -22 || exponent > 22) return nullptr;
  double v = static_cast<double>(m);
  v = exponent < 0 ? v / kPowersOfTen[-exponent] : v * kPowersOfTen[exponent];
  value = negative ? -v : v;
  return p;
}

}  // namespace corvane
