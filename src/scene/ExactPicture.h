// The vector picture of a smooth drawing: the scene again with its lines and bands at fractions
// of a pixel, for vector files. Only the scene's own drawing uses it.
#pragma once

#include <QPicture>
#include <QRect>
#include <optional>
#include <vector>

#include "contour/ColourBar.h"
#include "contour/ContourLabels.h"
#include "scene/SceneRenderer.h"

namespace corvane {

class Canvas;

// What the exact drawings read of the scene: the scene itself while it draws, or the copies a
// deferred vector picture keeps.
struct ExactInputs {
  const FieldDataSet& data;
  const FieldView& fieldView;
  const ProgramOptions& options;
  const Random& random;
  const ViewTransform& view;
};

struct ExactPass {
  const ExactInputs& state;
  Progress& progress;
  const ViewTransform& plotView;
  QRect plotArea;
  int width, height, copies;
  bool fills, fillAsPixels, lines;
};

// The data set's own extents, before any widening for the copies.
Extents ExtentsOf(const FieldDataSet& data);

// The picture's background: pen and brush in the background colour over the whole picture.
void PaintBackground(Canvas& canvas, Colour background, int width, int height);

// The band polygons of every copy at fractions of a pixel, merged or one per band and triangle.
QPicture DrawFineBands(const ExactPass& pass);

// The whole vector picture over the fine `bands`, the labels and colour bar as the whole-pixel
// drawing placed them.
QPicture DrawExactPicture(const ExactPass& pass, const std::vector<std::vector<ContourLabel>>& labels,
                          const QPicture& bands, const std::optional<ColourBarInput>& colourBar);

}  // namespace corvane
