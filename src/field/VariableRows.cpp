#include "field/VariableRows.h"

namespace corvane {

std::optional<std::string> RowCaption(const FieldDataSet& data, int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= data.Values.size()) return std::nullopt;
  const std::size_t r = static_cast<std::size_t>(row);
  if (r < data.VariableNames.size()) return data.VariableNames[r];
  if (row == data.MachNumberRow()) return std::string(kMachCaption);
  if (row == data.TotalPressureRow()) return std::string(kTotalPressureCaption);
  if (HasFlowRows(data) && row == VorticityRow(data)) return std::string(kVorticityCaption);
  if (HasFlowRows(data) && row == SpeedRow(data)) return std::string(kSpeedCaption);
  return std::nullopt;
}

int FindRow(const FieldDataSet& data, const std::string& name) {
  for (std::size_t r = 0; r < data.Values.size(); ++r) {
    const std::optional<std::string> caption = RowCaption(data, static_cast<int>(r));
    if (caption && *caption == name) return static_cast<int>(r);
  }
  return -1;
}

std::vector<std::string> RGroupItemsOf(const FieldDataSet& data, bool includeVelocity) {
  std::vector<std::string> items = data.VariableNames;
  if (includeVelocity) {
    items.push_back(kMachCaption);
    items.push_back(kTotalPressureCaption);
    if (HasFlowRows(data)) {
      items.push_back(kVorticityCaption);
      items.push_back(kSpeedCaption);
    }
  }
  return items;
}

}  // namespace corvane
