#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "render/NumberFormat.h"

using namespace corvane;

namespace {
NumberFormat Style(NumberStyle style, int precision = 5, int digits = 4) { return {style, precision, digits}; }
}  // namespace

TEST(NumberFormat, GeneralFormWritesShortestText) {
  const NumberFormat f;  // general, P = 5, D = 4
  EXPECT_EQ(FormatAxisNumber(0.3, f), "0.3");
  EXPECT_EQ(FormatAxisNumber(12345, f), "12345");
  EXPECT_EQ(FormatAxisNumber(0.0001, f), "0.0001");
  EXPECT_EQ(FormatAxisNumber(123456, f), "1.2346E5");
  EXPECT_EQ(FormatAxisNumber(0.00001, f), "1E-5");
  EXPECT_EQ(FormatAxisNumber(0.0, f), "0");
  EXPECT_EQ(FormatAxisNumber(-0.0, f), "0");
  EXPECT_EQ(FormatAxisNumber(-2.5, f), "-2.5");
  EXPECT_EQ(FormatAxisNumber(100, f), "100");
  EXPECT_EQ(FormatAxisNumber(99999.7, f), "1E5");  // rounding carries into a new digit
  EXPECT_EQ(FormatAxisNumber(-1.5e-7, f), "-1.5E-7");
  EXPECT_EQ(FormatAxisNumber(0.125, Style(NumberStyle::General, 2)), "0.13");  // decimal ties go up
  EXPECT_EQ(FormatAxisNumber(0.1 + 0.2, f), "0.3");
}

TEST(NumberFormat, ExponentFormKeepsDigitsAndPadsShortExponents) {
  EXPECT_EQ(FormatAxisNumber(0.3, Style(NumberStyle::Exponent)), "3.0000E-1");
  EXPECT_EQ(FormatAxisNumber(0.3, Style(NumberStyle::Exponent, 5, 3)), "3.0000E-001");
  EXPECT_EQ(FormatAxisNumber(250, Style(NumberStyle::Exponent)), "2.5000E+2");
  EXPECT_EQ(FormatAxisNumber(0.0, Style(NumberStyle::Exponent)), "0.0000E+0");
  EXPECT_EQ(FormatAxisNumber(-123.456, Style(NumberStyle::Exponent, 5, 2)), "-1.2346E+02");
  EXPECT_EQ(FormatAxisNumber(9.99999, Style(NumberStyle::Exponent, 3)), "1.00E+1");
}

TEST(NumberFormat, FixedFormWritesDecimalsOrFallsBackToGeneral) {
  EXPECT_EQ(FormatAxisNumber(0.3, Style(NumberStyle::Fixed)), "0.3000");
  EXPECT_EQ(FormatAxisNumber(123456, Style(NumberStyle::Fixed)), "1.2346E5");
  EXPECT_EQ(FormatAxisNumber(12345, Style(NumberStyle::Fixed)), "12345.0000");
  EXPECT_EQ(FormatAxisNumber(0.0, Style(NumberStyle::Fixed)), "0.0000");
  EXPECT_EQ(FormatAxisNumber(-1.23456, Style(NumberStyle::Fixed)), "-1.2346");
  EXPECT_EQ(FormatAxisNumber(0.00004, Style(NumberStyle::Fixed)), "0.0000");
  EXPECT_EQ(FormatAxisNumber(-0.00004, Style(NumberStyle::Fixed)), "0.0000");
  EXPECT_EQ(FormatAxisNumber(0.00005, Style(NumberStyle::Fixed)), "0.0001");
  EXPECT_EQ(FormatAxisNumber(9.99996, Style(NumberStyle::Fixed, 6)), "10.0000");
  EXPECT_EQ(FormatAxisNumber(2.5, Style(NumberStyle::Fixed, 5, 40)), "2.5" + std::string(17, '0'));
}

TEST(NumberFormat, PrecisionOutsideItsRangeIsClamped) {
  EXPECT_EQ(FormatAxisNumber(1.23456, Style(NumberStyle::General, 0)), "1.2");
  EXPECT_EQ(FormatAxisNumber(0.1, Style(NumberStyle::General, 99)), "0.100000000000000006");
}

TEST(NumberFormat, NonFiniteValuesGiveFixedTexts) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  for (NumberStyle s : {NumberStyle::General, NumberStyle::Fixed, NumberStyle::Exponent}) {
    EXPECT_EQ(FormatAxisNumber(nan, Style(s)), "NAN");
    EXPECT_EQ(FormatAxisNumber(inf, Style(s)), "INF");
    EXPECT_EQ(FormatAxisNumber(-inf, Style(s)), "-INF");
  }
}

TEST(NumberFormat, General15WritesEditBoxNumbers) {
  EXPECT_EQ(FormatGeneral15(120.5), "120.5");
  EXPECT_EQ(FormatGeneral15(0.1 + 0.2), "0.3");
  EXPECT_EQ(FormatGeneral15(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(FormatGeneral15(123456789012345.0), "123456789012345");
  EXPECT_EQ(FormatGeneral15(1234567890123456.0), "1.23456789012346E15");
  EXPECT_EQ(FormatGeneral15(-4.8e-7), "-4.8E-7");
  EXPECT_EQ(FormatGeneral15(0.0), "0");
  EXPECT_EQ(FormatGeneral15(1e300), "1E300");
}
