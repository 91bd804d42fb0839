// Vorticity and speed left for later: nothing computed until asked, then the values, ranges and
// steps an eager computation gives, bit for bit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "TestGrids.h"
#include "field/DeferredRows.h"
#include "fieldview/ContourRanges.h"
#include "field/DerivedQuantities.h"
#include "field/FlowDerivatives.h"
#include "field/FormulaVariables.h"
#include "field/RoundLevels.h"
#include "field/VariableRows.h"

namespace corvane {
namespace {

using testing::MakeZones;
using testing::Rect;

// A curved zone (non-trivial metrics), a plain one and one a node wide (NaN vorticity).
FieldDataSet SwirlData() {
  testing::ZoneSpec ring{9, 6, [](int i, int j) {
                           const double r = 1.0 + 0.3 * j + 0.02 * j * j, t = 0.2 * i + 0.01 * i * i;
                           return std::make_pair(r * std::cos(t), r * std::sin(t));
                         }};
  return MakeZones({ring, Rect(3, 4, 5.0, 5.0, 0.5), Rect(1, 3, 9.0, 0.0)}, {"u", "v", "T"}, [](double x, double y) {
    return std::vector<double>{-1.5 * y + 0.1 * x * x, 2.0 * x - y * y, 300.0 + x};
  }, 2);
}

bool SameBits(const NodeRow& a, const NodeRow& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

TEST(DeferredRows, PendingUntilAskedThenTheEagerValuesRangesAndSteps) {
  LoadOptions options;
  // The ranges, steps and levels a load gives.
  auto takeRanges = [&](const FieldDataSet& data, FieldView& shown) {
    AutoMaxMin(data, shown);
    AutoStep(shown, options.StepBar);
    ApplyRoundLevels(shown, options);
  };
  FieldDataSet eager = SwirlData();
  FieldView eagerView;
  ASSERT_TRUE(AddShownFlowRows(eager, eagerView, 0, 1));
  EnsureAllRows(eager);
  takeRanges(eager, eagerView);

  FieldDataSet lazy = SwirlData();
  FieldView view;
  ASSERT_TRUE(AddShownFlowRows(lazy, view, 0, 1));
  takeRanges(lazy, view);
  const int w = VorticityRow(lazy), s = SpeedRow(lazy);
  // Named and listed, but holding nothing.
  EXPECT_TRUE(RowPending(lazy, w) && RowPending(lazy, s) && AnyRowPending(lazy));
  EXPECT_FALSE(RowPending(lazy, 0));
  EXPECT_TRUE(lazy.Values[static_cast<std::size_t>(w)].empty() && lazy.Values[static_cast<std::size_t>(s)].empty());
  EXPECT_EQ(RGroupItemsOf(lazy, true), RGroupItemsOf(eager, true));
  EXPECT_FALSE(TakeComputedRanges(lazy, view, options));  // nothing computed, nothing taken

  EXPECT_TRUE(EnsureRowValues(lazy, w));
  EXPECT_FALSE(EnsureRowValues(lazy, w));  // once
  EXPECT_FALSE(EnsureRowValues(lazy, 0));  // a file row is always there
  EXPECT_TRUE(RowPending(lazy, s));
  EnsureAllRows(lazy);
  EXPECT_FALSE(AnyRowPending(lazy));
  EXPECT_TRUE(std::isnan(lazy.Values[static_cast<std::size_t>(w)].back()));  // the thin zone
  for (int row : {w, s}) EXPECT_TRUE(SameBits(lazy.Values[static_cast<std::size_t>(row)], eager.Values[static_cast<std::size_t>(row)])) << row;

  EXPECT_TRUE(TakeComputedRanges(lazy, view, options));
  EXPECT_FALSE(TakeComputedRanges(lazy, view, options));  // taken once
  EXPECT_EQ(view.ContourMax, eagerView.ContourMax);
  EXPECT_EQ(view.ContourMin, eagerView.ContourMin);
  EXPECT_EQ(view.ContourStep, eagerView.ContourStep);
  // A view that does not take automatic ranges gets the zeros an eager load left it.
  FieldView manual;
  FieldDataSet other = SwirlData();
  AddShownFlowRows(other, manual, 0, 1);
  EnsureAllRows(other);
  options.AutoMaxMinCheck = options.AutoStepCheck = false;
  TakeComputedRanges(other, manual, options);
  EXPECT_EQ(manual.ContourMax[static_cast<std::size_t>(w)], 0.0);
  EXPECT_EQ(manual.ContourMin[static_cast<std::size_t>(s)], 0.0);
}

// A formula reads a derived row by its name: that row is computed for it, the other is not.
TEST(DeferredRows, AFormulaNamingADerivedRowComputesIt) {
  FieldDataSet d = SwirlData();
  FieldView view;
  AddShownFlowRows(d, view, 0, 1);
  const int row = AddShownFormula(d, view, ParseFormulaText("w2 = 渦度 * 2"));
  EXPECT_FALSE(RowPending(d, VorticityRow(d)));
  EXPECT_TRUE(RowPending(d, SpeedRow(d)));  // the rows moved down one with the new variable
  FieldDataSet eager = SwirlData();
  const NodeRow w = ComputeVorticity(eager, 0, 1);
  EXPECT_EQ(d.Values[static_cast<std::size_t>(row)][4], 2 * w[4]);
}

}  // namespace
}  // namespace corvane
