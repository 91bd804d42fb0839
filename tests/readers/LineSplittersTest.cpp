#include <gtest/gtest.h>

#include <cmath>

#include "readers/DecimalNumber.h"
#include "readers/LineSplitters.h"

using namespace corvane;
using Fields = std::vector<std::string>;

namespace {
Fields Split(std::string_view line, Separator s) {
  Fields f;
  int n = SplitLine(line, s, f);
  EXPECT_EQ(n, static_cast<int>(f.size()));
  return f;
}
}  // namespace

TEST(LineSplitters, BlanksCutAtRunsOfSpacesButNotAtTabs) {
  EXPECT_EQ(Split("   1.5    -2e3  7 ", Separator::Spaces), (Fields{"1.5", "-2e3", "7"}));
  EXPECT_EQ(Split("\t 1\t2 3\r", Separator::Spaces), (Fields{"1\t2", "3"}));
  EXPECT_TRUE(Split("    ", Separator::Spaces).empty() && Split("", Separator::Spaces).empty());
  Fields f{"stale"};
  EXPECT_EQ(SplitBySpaces("a b", f), 2);
  EXPECT_EQ(f, (Fields{"a", "b"}));
}

TEST(LineSplitters, CommasReadQuotedFieldsAndKeepEmptyEnds) {
  EXPECT_EQ(Split("1.5,\"2.0\",3", Separator::Commas), (Fields{"1.5", "2.0", "3"}));
  // Every name quoted: the walk ends after the last quote and adds the empty remainder.
  EXPECT_EQ(Split("\"x\",\"y\",\"U\"", Separator::Commas), (Fields{"x", "y", "U", ""}));
  EXPECT_EQ(Split("a, b ,", Separator::Commas), (Fields{"a", " b ", ""}));
  EXPECT_EQ(Split("", Separator::Commas), (Fields{""}));
  EXPECT_EQ(Split("\"say \"\"hi\"\"\",2", Separator::Commas), (Fields{"say \"hi\"", "2"}));
  EXPECT_EQ(Split("\"open", Separator::Commas), (Fields{"open", ""}));
}

TEST(LineSplitters, TabsGiveEmptyFieldsExceptAtTheEnd) {
  EXPECT_EQ(Split("a\t\tb", Separator::Tabs), (Fields{"a", "", "b"}));
  EXPECT_EQ(Split("\ta", Separator::Tabs), (Fields{"", "a"}));
  EXPECT_EQ(Split("a\t", Separator::Tabs), (Fields{"a"}));
  EXPECT_EQ(Split(" a \t b", Separator::Tabs), (Fields{" a ", " b"}));
  EXPECT_TRUE(Split("", Separator::Tabs).empty());
}

TEST(DataNumbers, AcceptsWhatAUserWritesAndRefusesWords) {
  const std::pair<const char*, double> good[] = {
      {" +1.5E+2 ", 150.0}, {".5", 0.5}, {"-0", -0.0}, {"123456789012345678901234567890", 123456789012345678901234567890.0},
      {"1.5e-400", 0.0}, {"4.9e-324", 4.9e-324}, {"-Infinity", -INFINITY}};
  double v = 1.0;
  for (auto [text, expected] : good)
    EXPECT_TRUE(ParseDataNumber(text, v) && v == expected && std::signbit(v) == std::signbit(expected)) << text;
  for (const char* bad : {"", "abc", "1e999", "+-5", "--5", "1.5.2", "1e", "1,5", "0x10", "1D+03", "."})
    EXPECT_FALSE(ParseDataNumber(bad, v)) << bad;
}
