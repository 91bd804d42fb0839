#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "readers/ColumnLayout.h"
#include "readers/DecimalNumber.h"
#include "readers/LineSplitters.h"

using namespace corvane;

namespace {

// A line with room after it for the reads of the shortcut, as the reader's buffers have.
struct Held {
  explicit Held(const std::string& text) : bytes(text) { bytes.resize(text.size() + ColumnLayout::kMaxBytes + 32, 'Z'); }
  const char* begin() const { return bytes.data(); }
  std::string bytes;
};

// The numbers of a line as the plain reader's splitter and number reader take them; empty when a
// field does not read or the count differs.
std::vector<double> CarefulRead(const std::string& line, int columns) {
  std::vector<double> values;
  bool read = true;
  ForEachField(line, Separator::Spaces, [&](std::string_view field) {
    read = read && ParseDataNumber(field, values.emplace_back());
    return true;
  });
  return read && static_cast<int>(values.size()) == columns ? values : std::vector<double>{};
}

// Reads `line` (break included) with the layout; checks that a taken line gives the careful
// reader's bits. Gives whether the shortcut took it.
bool TakenAlike(const ColumnLayout& layout, const std::string& line, const std::string& what) {
  const Held held(line);
  std::vector<double> fields(static_cast<std::size_t>(layout.columns));
  const std::size_t used = ReadLaidOutLine(layout, held.begin(), fields.data());
  if (used == 0) return false;
  const std::size_t body = line.find_first_of("\r\n");
  const std::vector<double> careful = CarefulRead(line.substr(0, body), layout.columns);
  EXPECT_EQ(used, line.size()) << what;
  EXPECT_EQ(careful.size(), fields.size()) << what << ": the careful reader refuses " << line;
  for (std::size_t k = 0; k < careful.size() && k < fields.size(); ++k)
    EXPECT_EQ(std::bit_cast<std::uint64_t>(careful[k]), std::bit_cast<std::uint64_t>(fields[k])) << what << " field " << k;
  return true;
}

bool Learn(const std::string& line, int columns, ColumnLayout& layout) {
  const Held held(line);
  const std::size_t body = line.find_first_of("\r\n");
  return LearnColumnLayout(held.begin(), held.begin() + (body == std::string::npos ? line.size() : body),
                           held.begin() + line.size(), columns, layout);
}

}  // namespace

// Printed the way Fortran and C print columns (widths, digits, e or E, LF or CR LF), every line
// the shortcut takes gives the bits of each number read alone; those it leaves are the ones
// beyond an exact power of ten.
TEST(ColumnLayout, LaidOutLinesGiveTheBitsOfEachNumberReadAlone) {
  if (!ColumnLayoutSupported()) GTEST_SKIP() << "no SSE4.1";
  std::mt19937_64 random(7);
  struct Form { int width, fraction; const char* mark; const char* lineBreak; };
  for (const Form f : {Form{16, 8, "e", "\n"}, Form{15, 7, "E", "\r\n"}, Form{12, 1, "e", "\n"}, Form{24, 14, "e", "\n"},
                       Form{13, 4, "E", "\r"}, Form{11, 3, "e", "\n"}}) {
    const std::string what = "width " + std::to_string(f.width) + " fraction " + std::to_string(f.fraction);
    auto line = [&] {
      std::string text;
      for (int k = 0; k < 5; ++k) {
        const double magnitude = std::ldexp(std::uniform_real_distribution<double>(1.0, 2.0)(random),
                                            static_cast<int>(random() % 140) - 70);
        const double v = random() % 7 == 0 ? 0.0 : (random() % 2 ? -magnitude : magnitude);
        char number[64];
        std::snprintf(number, sizeof number, f.mark[0] == 'e' ? "%*.*e" : "%*.*E", f.width, f.fraction, v);
        text += number;
      }
      return text + f.lineBreak;
    };
    ColumnLayout layout;
    std::string first = line();
    ASSERT_TRUE(Learn(first, 5, layout)) << what << ": " << first;
    int taken = 0, lines = 3000;
    for (int n = 0; n < lines; ++n) taken += TakenAlike(layout, line(), what);
    // Values from 2^-70 to 2^70: those within 10^-22 .. 10^22 of the significand are taken.
    EXPECT_GT(taken, lines / 20) << what;
  }
}

// No change of a laid-out line makes the shortcut give other values than the careful reader:
// every byte replaced by every kind of character is either refused or read alike.
TEST(ColumnLayout, ADepartureFromTheLayoutIsNeverReadDifferently) {
  if (!ColumnLayoutSupported()) GTEST_SKIP() << "no SSE4.1";
  const std::string line = "  1.25000000e+00 -3.50000000e-02  0.00000000e+00 -7.12345678e+01\n";
  ColumnLayout layout;
  ASSERT_TRUE(Learn(line, 4, layout));
  ASSERT_TRUE(TakenAlike(layout, line, "as learnt"));
  int refused = 0;
  for (std::size_t at = 0; at < line.size(); ++at) {
    for (const char c : std::string("0159 -+.eExE\t\r\n,") + '\0' + '\xC0') {
      std::string changed = line;
      changed[at] = c;
      refused += !TakenAlike(layout, changed, "byte " + std::to_string(at) + " as " + std::to_string(static_cast<int>(c)));
    }
  }
  EXPECT_GT(refused, 0);
  // A number that cannot be one exact operation is left too.
  EXPECT_FALSE(TakenAlike(layout, "  1.25000000e+00 -3.50000000e-02  0.00000000e+00 -7.12345678e-21\n", "tiny"));
}

// Lines of another form teach no layout; the first column may start the line.
TEST(ColumnLayout, OnlyBlankSeparatedExponentFormsAreLearnt) {
  ColumnLayout layout;
  for (const char* line : {"1.5 2.5\n", "1.5e+00\t2.5e+00\n", "1.5e+00 2.5e+00 3.5e+00\n", "1.5e+00 2.5e+00",
                           "1.5e+00 +2.5e+00\n", "1.5e+00 2.5e+0001\n", "15.0e+00 2.5e+00\n", "1.5e+00 2.5e5\n"})
    EXPECT_FALSE(Learn(line, 2, layout)) << line;
  EXPECT_TRUE(Learn("1.5e+00 -2.5E-01\r\n", 2, layout));
  EXPECT_EQ(layout.lineBytes, 16);
  EXPECT_EQ(layout.breakBytes, 2);
}
