#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "readers/DecimalNumber.h"

using namespace corvane;

namespace {

// The double std::from_chars reads from the whole text, or nothing.
std::optional<std::uint64_t> FromCharsBits(const std::string& text) {
  double v = 0.0;
  auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || p != text.data() + text.size()) return std::nullopt;
  return std::bit_cast<std::uint64_t>(v);
}

}  // namespace

// The shortcut either declines or gives exactly the bits std::from_chars gives.
TEST(DecimalNumber, PlainNumbersReadToTheSameBitsAsFromChars) {
  auto check = [](const std::string& text) {
    double v = 0.0;
    const char* end = text.data() + text.size();
    const char* p = ReadPlainNumber(text.data(), end, v);
    if (p != end) return false;  // declined (or stopped early): from_chars decides
    EXPECT_EQ(FromCharsBits(text), std::bit_cast<std::uint64_t>(v)) << text;
    return true;
  };
  int taken = 0;
  for (const char* text : {"0", "-0", "-0.0", "0e999", "0.000e-400", "5.", ".5", "-.25", "1e5", "1E+05", "2.5e-3",
                           "9007199254740992", "9007199254740993", "1e22", "1e23", "1.5e-22", "123456789012345678",
                           "1234567890123456789", "12345678901234567890", "0.30000000000000004", "4.9e-324",
                           "1.7976931348623157e308", "00000000000000000000001", "-1.22464680e-16", "3.14159265e+00"})
    taken += check(text);
  EXPECT_GT(taken, 10);
  // Random doubles in the forms data files use.
  std::uint64_t seed = 99;
  for (int k = 0; k < 200000; ++k) {
    seed = seed * 6364136223846793005ull + 1442695040888963407ull;
    const double v = static_cast<double>(static_cast<std::int64_t>(seed >> 11) - (std::int64_t{1} << 52)) /
                     static_cast<double>(std::uint64_t{1} << (seed % 64));
    static const char* const kForms[6] = {"%.8e", "%.17g", "%.3f", "%.12E", "%g", "%.0f"};
    char text[400];
    std::snprintf(text, sizeof text, kForms[k % 6], v * (k % 7 == 0 ? 1e-15 : 1.0));
    taken += check(text);
  }
  EXPECT_GT(taken, 100000);  // the usual forms do take the shortcut
}

TEST(DecimalNumber, OtherFormsAreLeftToFromChars) {
  double v = 0.0;
  for (const char* text : {"", "-", ".", "e5", "1e", "1e+", "+1", "nan", "inf", "0x10", "1e123456", "--1", " 1"}) {
    const char* end = text + std::strlen(text);
    EXPECT_NE(ReadPlainNumber(text, end, v), end) << text;
  }
}
