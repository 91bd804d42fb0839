// Small data sets for the drawing tests: zones of nodes from a mapping (i, j) -> (x, y).
#pragma once
#include <QImage>
#include <functional>

#include "data/FieldDataSet.h"
#include "render/Colour.h"

namespace corvane::testing {

struct ZoneSpec {
  int ni, nj;
  std::function<std::pair<double, double>(int i, int j)> place;
};

// Builds the data set with one value row "u" = x and one "v" = y, extents including the origin.
inline FieldDataSet MakeGrid(const std::vector<ZoneSpec>& zones) {
  FieldDataSet d;
  d.ColumnCount = 4;
  d.VariableNames = {"u", "v"};
  d.Values.resize(2);
  for (const ZoneSpec& z : zones) {
    ZoneGrid g;
    g.NI = z.ni;
    g.NJ = z.nj;
    g.FirstNode = d.NodeCount;
    for (int i = 0; i < z.ni; ++i)
      for (int j = 0; j < z.nj; ++j) {
        auto [x, y] = z.place(i, j);
        d.X.push_back(x);
        d.Y.push_back(y);
        d.Values[0].push_back(x);
        d.Values[1].push_back(y);
      }
    d.NodeCount += z.ni * z.nj;
    d.Zones.push_back(g);
    d.Boundaries.push_back(BoundaryFlags{});
  }
  d.ZoneCount = static_cast<int>(d.Zones.size());
  for (std::size_t n = 0; n < d.X.size(); ++n) {
    d.XMin = std::min(d.XMin, d.X[n]);
    d.XMax = std::max(d.XMax, d.X[n]);
    d.YMin = std::min(d.YMin, d.Y[n]);
    d.YMax = std::max(d.YMax, d.Y[n]);
  }
  d.ContourMax = d.ContourMin = d.ContourStep = std::vector<double>(4, 0.0);
  return d;
}

inline Colour PixelAt(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return MakeColour(qRed(p), qGreen(p), qBlue(p));
}

}  // namespace corvane::testing
