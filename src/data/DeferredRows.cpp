#include "data/DeferredRows.h"

#include "data/DerivedQuantities.h"
#include "data/FlowDerivatives.h"
#include "data/RoundLevels.h"
#include "data/VariableRows.h"

namespace corvane {
namespace {

// The pending flag of `row`, if it is one of the deferred rows.
bool* PendingFlag(FieldDataSet& data, int row) {
  DeferredRowState& d = data.deferred;
  if (!HasFlowRows(data)) return nullptr;
  if (row == VorticityRow(data)) return &d.vorticityPending;
  if (row == SpeedRow(data)) return &d.speedPending;
  return nullptr;
}

}  // namespace

bool AddDeferredFlowRows(FieldDataSet& data, FieldView& view, int iu, int iv) {
  const int variables = data.ColumnCount - 2;
  if (iu < 0 || iv < 0 || iu >= variables || iv >= variables) return false;
  if (data.Values.size() < static_cast<std::size_t>(data.ColumnCount)) return false;
  std::lock_guard<std::mutex> hold(*data.deferred.lock);
  data.Values.resize(static_cast<std::size_t>(data.ColumnCount));
  data.Values.resize(static_cast<std::size_t>(data.ColumnCount) + 2);
  data.deferred.uRow = iu;
  data.deferred.vRow = iv;
  data.deferred.vorticityPending = data.deferred.speedPending = true;
  for (std::vector<double>* c : {&view.ContourMax, &view.ContourMin, &view.ContourStep}) c->resize(data.Values.size(), 0.0);
  view.VorticityRangePending = view.SpeedRangePending = true;
  return true;
}

bool RowPending(const FieldDataSet& data, int row) {
  const bool* pending = PendingFlag(const_cast<FieldDataSet&>(data), row);
  if (!pending) return false;
  std::lock_guard<std::mutex> hold(*data.deferred.lock);
  return *pending;
}

bool AnyRowPending(const FieldDataSet& data) {
  return RowPending(data, VorticityRow(data)) || RowPending(data, SpeedRow(data));
}

bool EnsureRowValues(FieldDataSet& data, int row) {
  bool* pending = PendingFlag(data, row);
  if (!pending) return false;
  // Held through the computation: a second thread asking for the same row waits for it rather
  // than computing it again.
  std::lock_guard<std::mutex> hold(*data.deferred.lock);
  if (!*pending) return false;
  const int iu = data.deferred.uRow, iv = data.deferred.vRow;
  NodeRow values = row == VorticityRow(data) ? ComputeVorticity(data, iu, iv) : ComputeSpeed(data, iu, iv);
  data.Values[static_cast<std::size_t>(row)] = std::move(values);
  *pending = false;
  return true;
}

void EnsureAllRows(FieldDataSet& data) {
  if (!HasFlowRows(data)) return;
  EnsureRowValues(data, VorticityRow(data));
  EnsureRowValues(data, SpeedRow(data));
}

bool TakeComputedRanges(const FieldDataSet& data, FieldView& view, const LoadOptions& options) {
  if (!HasFlowRows(data)) return false;
  bool taken = false;
  for (auto [row, pending] : {std::pair{VorticityRow(data), &view.VorticityRangePending},
                               std::pair{SpeedRow(data), &view.SpeedRangePending}}) {
    if (!*pending || RowPending(data, row)) continue;
    *pending = false;
    if (options.AutoMaxMinCheck) AutoMaxMinOfRow(data, view, row);
    taken = true;
  }
  if (!taken) return false;
  if (options.AutoStepCheck) AutoStep(view, options.StepBar);
  ApplyRoundLevels(view, options);
  return true;
}

}  // namespace corvane
