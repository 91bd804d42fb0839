// Names of the value rows beyond the file's columns, and the items RGroup offers for a data set.
// Rows: file variables and formula variables (VariableNames), then マッハ数 and 全圧, then, when
// velocity data gave them, 渦度 and 速さ.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "field/FieldDataSet.h"

namespace corvane {

inline constexpr char kMachCaption[] = "マッハ数";
inline constexpr char kTotalPressureCaption[] = "全圧";
inline constexpr char kVorticityCaption[] = "渦度";
inline constexpr char kSpeedCaption[] = "速さ";

// The rows of vorticity and speed sit after the total pressure; they exist only when the data
// set has more rows than its columns.
inline std::int32_t VorticityRow(const FieldDataSet& data) { return data.ColumnCount; }
inline std::int32_t SpeedRow(const FieldDataSet& data) { return data.ColumnCount + 1; }
inline bool HasFlowRows(const FieldDataSet& data) {
  return data.ColumnCount >= 2 && data.Values.size() >= static_cast<std::size_t>(data.ColumnCount) + 2;
}

// The caption of any row that holds values, or nothing.
std::optional<std::string> RowCaption(const FieldDataSet& data, int row);
// The row captioned `name` (file, formula or derived), or -1.
int FindRow(const FieldDataSet& data, const std::string& name);
// RGroup's items: the variables, and with velocity data the derived rows as well.
std::vector<std::string> RGroupItemsOf(const FieldDataSet& data, bool includeVelocity);

}  // namespace corvane
