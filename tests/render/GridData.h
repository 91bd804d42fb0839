// Small data sets for the drawing tests: the value rows "u" = x and "v" = y, no contour ranges.
#pragma once
#include <QImage>

#include "TestGrids.h"
#include "render/Colour.h"

namespace corvane::testing {

inline FieldDataSet MakeGrid(const std::vector<ZoneSpec>& zones) {
  FieldDataSet d = MakeZones(zones, {"u", "v"}, [](double x, double y) { return std::vector<double>{x, y}; });
  d.ContourMax = d.ContourMin = d.ContourStep = std::vector<double>(4, 0.0);
  return d;
}

inline Colour PixelAt(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return MakeColour(qRed(p), qGreen(p), qBlue(p));
}

}  // namespace corvane::testing
