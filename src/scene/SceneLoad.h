// Taking a completed load into the scene, the same for the window, its batch and `corvane render`.
#pragma once
#include "readers/DataReader.h"
#include "fieldview/LoadedView.h"
#include "scene/SceneRenderer.h"

namespace corvane {

// Moves the loaded data set and its view into `state`. With `newZoneList` (the zone count
// changed) every zone's edge flags start from Showi0, Showimax, Showj0, showjmax of
// state.options; otherwise the flags carried over by the load are kept, one per zone.
// The chosen variable's row is then computed if it was left for later (PrepareShownRow).
void ApplyLoadToScene(SceneState& state, LoadResult& result, bool newZoneList);

// Computes the row of the chosen variable if it is pending, and gives the view the automatic
// ranges of rows computed since; true when a range changed.
bool PrepareShownRow(SceneState& state);

}  // namespace corvane
