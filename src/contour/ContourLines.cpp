#include "contour/ContourLines.h"

namespace corvane {

void DrawContourLines(const LayerContext& context, Canvas& canvas) {
  (void)context;
  (void)canvas;
}

}  // namespace corvane
