#include "scene/SceneLoad.h"

#include <algorithm>

#include "field/DeferredRows.h"
#include "fieldview/ContourRanges.h"
#include "fieldview/LoadedView.h"

namespace corvane {

void ApplyLoadToScene(SceneState& state, LoadResult& result, bool newZoneList) {
  state.data = std::move(result.data);
  state.fieldView = std::move(result.view);
  const std::size_t zones = static_cast<std::size_t>(std::max(state.data.ZoneCount, 0));
  std::vector<BoundaryFlags>& edges = state.fieldView.Boundaries;
  if (newZoneList) {
    const DisplayOptions& d = state.options.display;
    edges.assign(zones, BoundaryFlags{d.edgeI0, d.edgeIMax, d.edgeJ0, d.edgeJMax});
  } else if (edges.size() != zones) {
    edges.resize(zones);
  }
  PrepareShownRow(state);
}

bool PrepareShownRow(SceneState& state) {
  EnsureRowValues(state.data, state.options.RGroup);
  return TakeComputedRanges(state.data, state.fieldView, state.options.load);
}

}  // namespace corvane
