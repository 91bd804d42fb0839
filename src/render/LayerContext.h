// What a drawing layer is given: the data, the mapping, the options, the shift of the overlay
// copy being drawn, progress and abort, and the generator for label positions. Layers draw copy c
// at x + offsetX, y + offsetY; the data set itself is never moved.
#pragma once
#include "data/FieldDataSet.h"
#include "data/Progress.h"
#include "data/Random.h"
#include "render/Colour.h"
#include "scene/ProgramOptions.h"
#include "render/ViewTransform.h"

namespace corvane {

// The range of the last contour drawing, kept for the plot window's value readout.
struct ContourReadout {
  double ReadoutMax = 0.0;
  double ReadoutMin = 0.0;
  bool valid = false;
};

struct LayerContext {
  const FieldDataSet& data;
  const ViewTransform& view;
  const ProgramOptions& options;
  Progress& progress;
  Random& random;
  ContourReadout& readout;
  double offsetX = 0.0;
  double offsetY = 0.0;
  Colour foreground = kWhite;  // ForegroundColour: black on a white background, white otherwise
  Colour background = kBlack;

  std::int32_t PixelX(std::int32_t node) const { return view.WorldToPixelX(data.X[static_cast<std::size_t>(node)] + offsetX); }
  std::int32_t PixelY(std::int32_t node) const { return view.WorldToPixelY(data.Y[static_cast<std::size_t>(node)] + offsetY); }
};

}  // namespace corvane
