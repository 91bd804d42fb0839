// Derived rows computed on demand. The Mach number, total pressure, vorticity and speed each cost
// a pass over every node and a row of memory; a load only notes that they can be made, and
// whatever first reads one of them (the drawn variable, a profile, a node listing, the Python
// module, the segment analysis, a formula naming it) asks for it here. The rows' names are known
// from the start, so lists of variables are the same either way, and the values are those the
// load used to compute.
#pragma once
#include "field/FieldDataSet.h"
#include "field/LoadOptions.h"

namespace corvane {

// The row of a derived kind (DerivedRowKind) in `data`, or -1 when the data set has no such row.
int DerivedRowOf(const FieldDataSet& data, int kind);

// Leaves the rows マッハ数 and 全圧 empty and pending, to be made from rows iu, iv, iT and ip
// (file variables; ip -1: no pressure) with the gas constants of `options`; both rows are zero
// when iu, iv or iT is not a file variable. False (nothing done) when `data` has no such rows.
bool DeferGasRows(FieldDataSet& data, int iu, int iv, int iT, int ip, const LoadOptions& options);

// Appends the empty rows 渦度 and 速さ after the total pressure (replacing them if they are there),
// pending, made from rows iu and iv. Nothing happens (false) when iu or iv is not a file variable.
bool AddDeferredFlowRows(FieldDataSet& data, int iu, int iv);

// Whether `row` holds no values yet because nothing has asked for them.
bool RowPending(const FieldDataSet& data, int row);
bool AnyRowPending(const FieldDataSet& data);
// Computes `row` if it is pending; true when this call computed it. Two threads may ask at once
// (the data set's lock); a thread reading the row meanwhile must have asked first.
bool EnsureRowValues(FieldDataSet& data, int row);
void EnsureAllRows(FieldDataSet& data);

}  // namespace corvane
