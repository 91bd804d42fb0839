// Which columns the Mach number and total pressure come from, and which names give doubts.
#include <gtest/gtest.h>

#include "field/DerivedColumns.h"

using namespace corvane;

TEST(DerivedColumns, NamesThatLookLikeTheirQuantityPassAndOthersAreDoubted) {
  const struct {
    FlowRole role;
    std::vector<const char*> right, wrong;
  } cases[] = {
      {FlowRole::U, {"U", "u", "Vx", "velocity_x", "X-Velocity", "x方向速度"}, {"V", "P", "rho", "MomentumX"}},
      {FlowRole::V, {"V", "vy", "VelocityY", "速度y"}, {"U", "T", "Vx"}},
      {FlowRole::T, {"T", "t", "Temperature", "TEMP", "T_static", "温度"}, {"P", "T0", "rho", "Mach"}},
      {FlowRole::P, {"P", "p", "Pressure", "pres", "Ps", "静圧力"}, {"T", "P0", "Cp", "rho"}},
  };
  for (const auto& c : cases) {
    const std::size_t r = static_cast<std::size_t>(c.role);
    for (bool right : {true, false})
      for (const char* name : right ? c.right : c.wrong) {
        std::array<int, 4> chosen = {-1, -1, -1, -1};
        chosen[r] = 0;
        const auto columns = DerivedColumnsOf({name}, chosen);
        EXPECT_EQ(columns[r].looksRight, right) << FlowRoleText(c.role) << " " << name;
        EXPECT_EQ(DerivedColumnDoubts(columns).size(), right ? 0u : 1u) << name;
      }
  }
}

TEST(DerivedColumns, TheTextNamesEveryColumnAndTheDoubtTheOneStandingInForTemperature) {
  // A file without a temperature column: P stands in the temperature's place.
  const auto columns = DerivedColumnsOf({"U", "V", "P"}, {0, 1, 2, 2});
  EXPECT_EQ(DerivedColumnsText(columns), "マッハ数・全圧の計算に使う列: x方向速度 \"U\", ｙ方向速度 \"V\", 温度 \"P\", 圧力 \"P\"");
  const std::vector<std::string> doubts = DerivedColumnDoubts(columns);
  ASSERT_EQ(doubts.size(), 1u);
  EXPECT_EQ(doubts[0].rfind("温度として使う列 \"P\"", 0), 0u) << doubts[0];
  // Out of range is no column: the pressure then defaults, and nothing is doubted.
  const auto none = DerivedColumnsOf({"U", "V", "T"}, {0, 1, 2, 7});
  EXPECT_EQ(DerivedColumnsText(none), "マッハ数・全圧の計算に使う列: x方向速度 \"U\", ｙ方向速度 \"V\", 温度 \"T\", 圧力 なし (101325 Pa)");
  EXPECT_TRUE(DerivedColumnDoubts(none).empty());
}
