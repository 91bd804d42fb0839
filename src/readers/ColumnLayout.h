// Data lines that repeat one fixed layout: numbers in exponent form ("-1.23456789e+02") in
// columns that keep their places from line to line, as Fortran and C programs print them. The
// layout is learnt from one line; a line that keeps it exactly is checked and converted sixteen
// bytes at a time, and any other line is left to the plain reader. Both give the same values:
// every number here is one exact significand and one exact power of ten, so the single rounding
// of their product or quotient is the correctly rounded value of the text.
#pragma once
#include <cstddef>
#include <cstdint>

namespace corvane {

struct ColumnLayout {
  static constexpr int kMaxBytes = 512;  // a line and its break
  static constexpr int kMaxColumns = 32;

  struct Column {
    std::int16_t first = 0;      // the leading digit
    std::int16_t sign = 0;       // the place a minus sign may take
    std::int16_t exponent = 0;   // the first exponent digit (its sign stands before it)
    std::int8_t fractionDigits = 0;
    std::int8_t exponentDigits = 0;
    alignas(16) std::uint8_t gather[16] = {};  // moves the significand's digits to the right end
  };

  int columns = 0;     // 0: nothing learnt
  int lineBytes = 0;   // up to the break
  int breakBytes = 0;  // 1 (LF or CR) or 2 (CR LF)
  int readBytes = 0;   // bytes a read looks at from the line start (at least the line and break)
  int chunks = 0;      // 16-byte pieces checked
  std::uint16_t lastCare = 0;  // the bytes of the last piece that belong to the line or break
  alignas(16) std::uint8_t allowed[kMaxBytes] = {};  // kinds of character each place may hold
  Column column[kMaxColumns];
};

// Learns the layout of the line [line, lineEnd) of `columns` numbers separated by blanks; the
// break that ends it starts at lineEnd, and `end` bounds the text held. False when the line is
// not of that form (other number forms, tabs, extra fields, no break, too long).
bool LearnColumnLayout(const char* line, const char* lineEnd, const char* end, int columns, ColumnLayout& layout);

// Reads a line of exactly the learnt layout into fields[0 .. columns), looking at
// layout.readBytes bytes from p. Gives the bytes of the line and its break, or 0 when the line
// differs from the layout or holds a number the shortcut cannot convert exactly.
std::size_t ReadLaidOutLine(const ColumnLayout& layout, const char* p, double* fields);

// Whether this processor can take the shortcut at all.
bool ColumnLayoutSupported();

}  // namespace corvane
