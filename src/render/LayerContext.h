// What a drawing layer is given: the data and how it is shown (contour ranges, edge flags, line
// masks), the mapping, the display and data-layout options, the
// variable drawn, the shift of the overlay copy being drawn, progress and abort, and the
// generator for label positions. Layers draw copy c at x + offsetX, y + offsetY; the data set
// itself is never moved. Layers above this folder take their own options (contour, streamline,
// analysis) as a parameter beside the context.
#pragma once
#include <QRect>

#include "field/FieldDataSet.h"
#include "fieldview/FieldView.h"
#include "base/Progress.h"
#include "base/Random.h"
#include "field/LoadOptions.h"
#include "render/Colour.h"
#include "render/DisplayOptions.h"
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
  const FieldView& fieldView;
  const ViewTransform& view;
  const DisplayOptions& display;
  const LoadOptions& load;
  Progress& progress;
  Random& random;
  ContourReadout& readout;
  int row = 0;  // the variable drawn (RGroup)
  double offsetX = 0.0;
  double offsetY = 0.0;
  Colour foreground = kWhite;  // ForegroundColour: black on a white background, white otherwise
  Colour background = kBlack;
  // With the axes shown, the plot area the line layers drawn over them keep to; null otherwise.
  QRect plotArea = QRect();

  std::int32_t PixelX(std::int32_t node) const { return view.WorldToPixelX(data.X[static_cast<std::size_t>(node)] + offsetX); }
  std::int32_t PixelY(std::int32_t node) const { return view.WorldToPixelY(data.Y[static_cast<std::size_t>(node)] + offsetY); }
};

}  // namespace corvane
