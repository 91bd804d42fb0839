// The parts of a FieldView made from the data: automatic contour ranges and steps, round levels,
// the ranges of rows computed or added after the load, and the line masks.
#pragma once
#include <string>
#include <vector>

#include "base/Notifier.h"
#include "field/FieldDataSet.h"
#include "field/FormulaVariables.h"
#include "field/LoadOptions.h"
#include "fieldview/FieldView.h"

namespace corvane {

// ContourMax and ContourMin in `view` of every value row of `data`. NaN values are passed over (a
// row of NaN only gives NaN); infinities count.
void AutoMaxMin(const FieldDataSet& data, FieldView& view);
// The same for one row alone (the same figures AutoMaxMin gives it).
void AutoMaxMinOfRow(const FieldDataSet& data, FieldView& view, int row);
// ContourStep of every row with a range: (max - min) / divisions, 1.0 for a flat row.
void AutoStep(FieldView& view, int divisions);
// Recomputes the line masks of every zone of `data` for the compression steps (1..10).
void UpdateLineMasks(const FieldDataSet& data, FieldView& view, int iStep, int jStep);

// When RoundLevelsCheck is set: for every value row, the automatic range (AutoMaxMinCheck) goes
// out to multiples of the round step and the automatic step (AutoStepCheck) becomes that step.
// Called right after AutoMaxMin / AutoStep wherever those run.
void ApplyRoundLevels(FieldView& view, const LoadOptions& options);

// Gives `view` the range a load gives a row (automatic with AutoMaxMinCheck, else 0) for every
// deferred row computed whose range in `view` is not taken yet, then the automatic steps and
// round levels as a load applies them; true when it did.
bool TakeComputedRanges(const FieldDataSet& data, FieldView& view, const LoadOptions& options);

// AddDeferredFlowRows, and contour entries of 0 in `view` for the new rows until
// TakeComputedRanges takes their ranges once they are computed.
bool AddShownFlowRows(FieldDataSet& data, FieldView& view, int iu, int iv);

// AddFormulaVariable, and the new row's contour range in `view`: its values' smallest and
// largest, 50 steps across. Throws as AddFormulaVariable does, changing neither.
int AddShownFormula(FieldDataSet& data, FieldView& view, const FormulaDefinition& formula);
// Each formula text in order; a failing one is reported through `notifier` (with its text) and
// skipped. Returns the number added.
int AddShownFormulas(FieldDataSet& data, FieldView& view, const std::vector<std::string>& formulas,
                     Notifier& notifier);

}  // namespace corvane
