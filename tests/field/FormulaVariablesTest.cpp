// Variables from formulas, vorticity and speed: values on constant and linear fields, refusals
// that add nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "TestGrids.h"
#include "TestSupport.h"
#include "field/FlowDerivatives.h"
#include "field/FormulaVariables.h"
#include "field/VariableRows.h"
#include "fieldview/ContourRanges.h"

namespace corvane {
namespace {

using testing::ErrorText;
using testing::MakeZones;
using testing::Rect;

// Two zones; rows U = 2x + 3y, V = x - y, P = 5, then Mach and total pressure (zeros).
FieldDataSet LinearData() {
  FieldDataSet d = MakeZones({Rect(4, 3, 0.0, 0.0, 0.5), Rect(3, 5, 3.0, -1.0, 0.25)}, {"U", "V", "P"},
                             [](double x, double y) { return std::vector<double>{2 * x + 3 * y, x - y, 5.0}; }, 2);
  return d;
}

// Contour ranges of zero for every row of `d`.
FieldView ZeroRanges(const FieldDataSet& d) {
  FieldView v;
  v.ContourMax = v.ContourMin = v.ContourStep = std::vector<double>(d.Values.size(), 0.0);
  return v;
}

TEST(FormulaVariables, ValuesOfConstantAndLinearFormulasAtEveryNode) {
  FieldDataSet d = LinearData();
  FieldView v = ZeroRanges(d);
  const int mach = d.MachNumberRow();
  const int cp = AddShownFormula(d, v, ParseFormulaText(" Cp = (U - 2*x) / 3 + P^2 - max(x, 1e9) * 0 "));
  const int flat = AddShownFormula(d, v, ParseFormulaText("k=sqrt(16)+abs(-1)+exp(0)+log(1)+min(2,3)"));
  const int pick = AddShownFormula(d, v, ParseFormulaText("sel = if(x > 1, y, -y) + Cp * 0"));
  // Formulas stand after the file's columns, before the Mach number, which moves down.
  EXPECT_EQ(std::tuple(cp, flat, pick), std::tuple(3, 4, 5));
  EXPECT_EQ(d.MachNumberRow(), mach + 3);
  EXPECT_EQ(d.VariableNames, (std::vector<std::string>{"U", "V", "P", "Cp", "k", "sel"}));
  EXPECT_EQ(d.Values.size(), static_cast<std::size_t>(d.ColumnCount));
  EXPECT_EQ(RowCaption(d, d.MachNumberRow()), std::optional<std::string>("マッハ数"));
  for (std::size_t n = 0; n < d.X.size(); ++n) {
    const double x = d.X[n], y = d.Y[n];
    EXPECT_DOUBLE_EQ(d.Values[3][n], y + 25.0);
    EXPECT_DOUBLE_EQ(d.Values[4][n], 8.0);
    EXPECT_DOUBLE_EQ(d.Values[5][n], x > 1 ? y : -y);
  }
  EXPECT_DOUBLE_EQ(v.ContourMax[4], 8.0);
  EXPECT_DOUBLE_EQ(v.ContourStep[4], 1.0);  // a flat row
  EXPECT_EQ(v.ContourMax.size(), d.Values.size());
}

TEST(FormulaVariables, ABadFormulaNamesItsPlaceAndAddsNothing) {
  FieldDataSet d = LinearData();
  FieldView v = ZeroRanges(d);
  const FieldDataSet before = d;
  const std::string unknown = ErrorText([&] { AddShownFormula(d, v, ParseFormulaText("Cp = (P - 101325) / Qinf^2")); });
  EXPECT_TRUE(unknown.find("16 文字目") != std::string::npos && unknown.find("\"Qinf\"") != std::string::npos) << unknown;
  // Japanese text before the name counts in characters, not bytes.
  const std::string wide = ErrorText([&] { AddShownFormula(d, v, ParseFormulaText("a = マッハ数 + zz")); });
  EXPECT_NE(wide.find("8 文字目"), std::string::npos) << wide;
  const std::pair<const char*, const char*> refused[] = {{"a = U = 3", "代入"}, {"a = (U + 1", ""},   {"U = V", "すでに"},
                                                        {"no equals sign", "="}, {"2a = 1", "2a"}, {"a = ", ""}};
  for (const auto& [text, named] : refused) {
    const std::string error = ErrorText([&] { AddShownFormula(d, v, ParseFormulaText(text)); });
    EXPECT_TRUE(error != "(no error)" && error.find(named) != std::string::npos) << text << ": " << error;
  }
  EXPECT_TRUE(d.ColumnCount == before.ColumnCount && d.VariableNames == before.VariableNames && d.Values == before.Values);
  // Several at once: the bad one is reported with its text, the good ones are added.
  RecordingNotifier notifier;
  EXPECT_EQ(AddShownFormulas(d, v, {"a = U + 1", "b = nope", "c = a * 2"}, notifier), 2);
  ASSERT_EQ(notifier.warnings.size(), 1u);
  EXPECT_NE(notifier.warnings[0].find("nope"), std::string::npos) << notifier.warnings[0];
  EXPECT_DOUBLE_EQ(d.Values[4][7], 2 * (d.Values[0][7] + 1));
}

// Solid-body rotation u = -Ωy, v = Ωx on a curved, stretched grid: the vorticity is 2Ω at every
// node, edges included; a linear field gives its constant exactly; speed is |(u, v)|. (A zone a
// node wide gives NaN: DeferredRows in tests/fieldview.)
TEST(FlowDerivatives, VorticityOfSolidBodyRotationAndLinearFieldsOnACurvedGrid) {
  const double omega = 3.5;
  testing::ZoneSpec ring{9, 6, [](int i, int j) {
                           const double r = 1.0 + 0.3 * j + 0.02 * j * j, t = 0.2 * i + 0.01 * i * i;
                           return std::make_pair(r * std::cos(t), r * std::sin(t));
                         }};
  FieldDataSet d = MakeZones({ring, Rect(3, 4, 5.0, 5.0, 0.5)}, {"u", "v", "a", "b"}, [&](double x, double y) {
    return std::vector<double>{-omega * y, omega * x, 4 * x - 7 * y + 1, 0.5 * x + 2 * y};
  }, 2);
  const NodeRow w = ComputeVorticity(d, 0, 1);
  const NodeRow linear = ComputeVorticity(d, 2, 3);  // dv/dx - du/dy = 0.5 + 7
  for (std::size_t n = 0; n < w.size(); ++n) {
    EXPECT_NEAR(w[n], 2 * omega, 1e-9) << n;
    EXPECT_NEAR(linear[n], 7.5, 1e-9) << n;
  }
  ASSERT_TRUE(AddDeferredFlowRows(d, 0, 1));
  EnsureAllRows(d);
  ASSERT_TRUE(HasFlowRows(d));
  EXPECT_EQ(std::pair(RowCaption(d, VorticityRow(d)), RowCaption(d, SpeedRow(d))),
            std::pair(std::optional<std::string>("渦度"), std::optional<std::string>("速さ")));
  EXPECT_NEAR(d.Values[static_cast<std::size_t>(SpeedRow(d))][5], omega * std::hypot(d.X[5], d.Y[5]), 1e-12);
  EXPECT_EQ(RGroupItemsOf(d, true).back(), "速さ");
  EXPECT_EQ(RGroupItemsOf(d, false).size(), 4u);
}

}  // namespace
}  // namespace corvane
