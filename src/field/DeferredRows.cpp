#include "field/DeferredRows.h"

#include "field/DerivedQuantities.h"
#include "field/FlowDerivatives.h"
#include "field/VariableRows.h"

namespace corvane {
namespace {

}  // namespace

int DerivedRowOf(const FieldDataSet& data, int kind) {
  if (data.ColumnCount < 2) return -1;
  switch (kind) {
    case kMachRow: return data.MachNumberRow();
    case kTotalPressureRow: return data.TotalPressureRow();
    case kVorticityRow: return HasFlowRows(data) ? VorticityRow(data) : -1;
    case kSpeedRow: return HasFlowRows(data) ? SpeedRow(data) : -1;
    default: return -1;
  }
}

namespace {

// The derived kind of `row`, or -1 for a row the file or a formula gave.
int KindOf(const FieldDataSet& data, int row) {
  for (int kind = 0; kind < kDerivedRowKinds; ++kind)
    if (row >= 0 && row == DerivedRowOf(data, kind)) return kind;
  return -1;
}

// The values of a derived row from the rows noted when it was deferred.
NodeRow ComputeKind(const FieldDataSet& data, int kind) {
  const DeferredRowState& d = data.deferred;
  switch (kind) {
    case kVorticityRow: return ComputeVorticity(data, d.uRow, d.vRow);
    case kSpeedRow: return ComputeSpeed(data, d.uRow, d.vRow);
    default: {
      const auto [u, v, T, p] = d.gasRows;
      return ComputeGasRow(data, u, v, T, p, d.gamma, d.R, kind == kMachRow);
    }
  }
}

}  // namespace

bool DeferGasRows(FieldDataSet& data, int iu, int iv, int iT, int ip, const LoadOptions& options) {
  if (data.ColumnCount < 2 || data.Values.size() < static_cast<std::size_t>(data.ColumnCount)) return false;
  std::lock_guard<std::mutex> hold(*data.deferred.lock);
  DeferredRowState& d = data.deferred;
  const int variables = data.ColumnCount - 2;
  auto selectable = [&](int row) { return row >= 0 && row < variables; };
  const bool fromNodes = selectable(iu) && selectable(iv) && selectable(iT);
  d.gasRows = fromNodes ? std::array<std::int32_t, 4>{iu, iv, iT, selectable(ip) ? ip : -1}
                        : std::array<std::int32_t, 4>{-1, -1, -1, -1};
  d.gamma = options.gammaBox;
  d.R = options.RBox;
  for (int kind : {kMachRow, kTotalPressureRow}) {
    NodeRow().swap(data.Values[static_cast<std::size_t>(DerivedRowOf(data, kind))]);
    d.pending[static_cast<std::size_t>(kind)] = true;
  }
  return true;
}

bool AddDeferredFlowRows(FieldDataSet& data, int iu, int iv) {
  const int variables = data.ColumnCount - 2;
  if (iu < 0 || iv < 0 || iu >= variables || iv >= variables) return false;
  if (data.Values.size() < static_cast<std::size_t>(data.ColumnCount)) return false;
  std::lock_guard<std::mutex> hold(*data.deferred.lock);
  data.Values.resize(static_cast<std::size_t>(data.ColumnCount));
  data.Values.resize(static_cast<std::size_t>(data.ColumnCount) + 2);
  DeferredRowState& d = data.deferred;
  d.uRow = iu;
  d.vRow = iv;
  for (int kind : {kVorticityRow, kSpeedRow}) d.pending[static_cast<std::size_t>(kind)] = true;
  return true;
}

bool RowPending(const FieldDataSet& data, int row) {
  const int kind = KindOf(data, row);
  if (kind < 0) return false;
  std::lock_guard<std::mutex> hold(*data.deferred.lock);
  return data.deferred.pending[static_cast<std::size_t>(kind)];
}

bool AnyRowPending(const FieldDataSet& data) {
  for (int kind = 0; kind < kDerivedRowKinds; ++kind)
    if (RowPending(data, DerivedRowOf(data, kind))) return true;
  return false;
}

bool EnsureRowValues(FieldDataSet& data, int row) {
  const int kind = KindOf(data, row);
  if (kind < 0) return false;
  // Held through the computation: a second thread asking for the same row waits for it rather
  // than computing it again.
  std::lock_guard<std::mutex> hold(*data.deferred.lock);
  bool& pending = data.deferred.pending[static_cast<std::size_t>(kind)];
  if (!pending) return false;
  data.Values[static_cast<std::size_t>(row)] = ComputeKind(data, kind);
  pending = false;
  return true;
}

void EnsureAllRows(FieldDataSet& data) {
  for (int kind = 0; kind < kDerivedRowKinds; ++kind)
    if (const int row = DerivedRowOf(data, kind); row >= 0) EnsureRowValues(data, row);
}

}  // namespace corvane
