// A scene holding everything a drawing layer is given, for the tests of the layers.
#pragma once
#include "TestGrids.h"
#include "scene/SceneRenderer.h"
#include "support/RecordingNotifier.h"

namespace corvane::testing {

// A data set in a view with the options, gauge, generator and readout a layer draws with.
struct LayerScene {
  FieldDataSet data;
  FieldView fieldView;
  ViewTransform view = UnitView();
  ProgramOptions options;
  NullProgress progress;
  Random random;
  ContourReadout readout;
  LayerContext Context(Progress& p) { return LayerContextFor(data, fieldView, view, options, p, random, readout); }
  LayerContext Context() { return Context(progress); }
};

// Draws the scene as the program does, its messages unheard; false when the drawing failed.
inline bool DrawQuietly(SceneState& s) {
  NullProgress progress;
  RecordingNotifier notifier;
  return DrawScene(s, progress, notifier);
}

}  // namespace corvane::testing
