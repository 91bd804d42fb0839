// Small data sets for the drawing tests: the value rows "u" = x and "v" = y.
#pragma once
#include <QImage>

#include "TestGrids.h"
#include "fieldview/FieldView.h"
#include "render/Colour.h"

namespace corvane::testing {

inline FieldDataSet MakeGrid(const std::vector<ZoneSpec>& zones) {
  return MakeZones(zones, {"u", "v"}, [](double x, double y) { return std::vector<double>{x, y}; });
}

// A view with contour ranges of zero for the rows of a MakeGrid data set, for tests to set.
inline FieldView ZeroRanges() {
  FieldView v;
  v.ContourMax = v.ContourMin = v.ContourStep = std::vector<double>(4, 0.0);
  return v;
}

inline Colour PixelAt(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return MakeColour(qRed(p), qGreen(p), qBlue(p));
}

}  // namespace corvane::testing
