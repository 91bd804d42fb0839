#include <gtest/gtest.h>

#include <limits>

#include "render/NumberFormat.h"

using namespace corvane;

namespace {
std::string F(double v, NumberStyle style, int precision = 5, int digits = 4) { return FormatAxisNumber(v, {style, precision, digits}); }
constexpr auto G = NumberStyle::General, X = NumberStyle::Exponent, D = NumberStyle::Fixed;
}  // namespace

TEST(NumberFormat, EachStyleWritesItsDigits) {
  const struct {
    double v;
    NumberStyle style;
    int precision, digits;
    std::string text;
  } cases[] = {
      {0.3, G, 5, 4, "0.3"}, {12345, G, 5, 4, "12345"}, {0.0001, G, 5, 4, "0.0001"}, {123456, G, 5, 4, "1.2346E5"},
      {0.00001, G, 5, 4, "1E-5"}, {-0.0, G, 5, 4, "0"},
      {99999.7, G, 5, 4, "1E5"},    // rounding carries into a new digit
      {0.125, G, 2, 4, "0.13"},     // decimal ties go up
      {1.23456, G, 0, 4, "1.2"},    // precision below 2 acts as 2
      {0.3, X, 5, 4, "3.0000E-1"}, {0.3, X, 5, 3, "3.0000E-001"}, {250, X, 5, 4, "2.5000E+2"},
      {0.0, X, 5, 4, "0.0000E+0"}, {-123.456, X, 5, 2, "-1.2346E+02"},
      {0.3, D, 5, 4, "0.3000"}, {12345, D, 5, 4, "12345.0000"}, {0.00005, D, 5, 4, "0.0001"},
      {123456, D, 5, 4, "1.2346E5"},  // more integer digits than the precision
      {-0.00004, D, 5, 4, "0.0000"},  // no minus sign on a value that rounds to nothing
      {9.99996, D, 6, 4, "10.0000"},
      {2.5, D, 5, 40, "2.5" + std::string(17, '0')},  // at most 18 decimals
  };
  for (const auto& c : cases) EXPECT_EQ(F(c.v, c.style, c.precision, c.digits), c.text) << c.v;
}

TEST(NumberFormat, NonFiniteValuesGiveFixedTextsAndGeneral15WritesEditBoxNumbers) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  for (NumberStyle s : {G, D, X}) {
    EXPECT_EQ(F(nan, s), "NAN");
    EXPECT_EQ(F(-inf, s), "-INF");
  }
  EXPECT_EQ(FormatGeneral15(inf), "INF");
  EXPECT_EQ(FormatGeneral15(0.1 + 0.2), "0.3");
  EXPECT_EQ(FormatGeneral15(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(FormatGeneral15(123456789012345.0), "123456789012345");
  EXPECT_EQ(FormatGeneral15(1234567890123456.0), "1.23456789012346E15");
  EXPECT_EQ(FormatGeneral15(-4.8e-7), "-4.8E-7");
}
