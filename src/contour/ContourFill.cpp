#include "contour/ContourFill.h"

namespace corvane {

void DrawContourFill(const LayerContext& context, Canvas& canvas, QImage* bitmap) {
  (void)context;
  (void)canvas;
  (void)bitmap;
}

}  // namespace corvane
