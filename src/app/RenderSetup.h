// The steps `render` shares between single pictures and a time series: the picture size, view
// and random seed from the arguments, and the taking over of a loaded data set.
#pragma once
#include "app/CommandLine.h"
#include "readers/DataReader.h"
#include "fieldview/LoadedView.h"
#include "scene/SceneRenderer.h"

namespace corvane {

// Options, picture size (--size or the plot window's size in the settings), the settings' view
// for --view settings, and the seed of the label positions.
void PrepareRenderState(const CommandArgs& args, const ProgramOptions& options, SceneState& state);

// Takes the load into `state` (ApplyLoadToScene) with the contour boxes of the settings applied, the
// zone edge flags of the check boxes for a new zone list and the reader's velocity rows.
void TakeLoadedData(SceneState& state, LoadResult& loaded, const ProgramOptions& options);

// Fits the view's axis margins while keeping the settings' centre and scales.
void MakeRoomForAxes(SceneState& state);

}  // namespace corvane
