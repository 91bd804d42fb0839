// Small data sets and views for the tests of every folder: zones of nodes placed by (i, j) ->
// (x, y), the value rows computed from each node's position, extents
// (which include the origin); views of a picture.
#pragma once
#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "field/FieldDataSet.h"
#include "render/ViewTransform.h"

namespace corvane::testing {

using Place = std::function<std::pair<double, double>(int i, int j)>;
using Rows = std::function<std::vector<double>(double x, double y)>;

struct ZoneSpec {
  int ni, nj;
  Place place;
  Rows rows = nullptr;  // this zone's own values instead of the data set's
};

// The zones with the rows `names` as read from a file, valued by `rows` (or the zone's own),
// followed by `derived` rows of zeros.
inline FieldDataSet MakeZones(const std::vector<ZoneSpec>& zones, std::vector<std::string> names, const Rows& rows,
                              int derived = 0) {
  FieldDataSet d;
  d.ColumnCount = 2 + static_cast<int>(names.size());
  d.Values.resize(names.size() + static_cast<std::size_t>(derived));
  d.VariableNames = std::move(names);
  for (const ZoneSpec& z : zones) {
    d.Zones.push_back({z.ni, z.nj, d.NodeCount});
    for (int i = 0; i < z.ni; ++i)
      for (int j = 0; j < z.nj; ++j) {
        const auto [x, y] = z.place(i, j);
        const std::vector<double> v = (z.rows ? z.rows : rows)(x, y);
        d.X.push_back(x), d.Y.push_back(y);
        for (std::size_t r = 0; r < d.Values.size(); ++r) d.Values[r].push_back(r < v.size() ? v[r] : 0.0);
        d.XMin = std::min(d.XMin, x), d.XMax = std::max(d.XMax, x);
        d.YMin = std::min(d.YMin, y), d.YMax = std::max(d.YMax, y);
      }
    d.NodeCount += z.ni * z.nj;
  }
  d.ZoneCount = static_cast<int>(d.Zones.size());
  return d;
}

// A rectangular zone with nodes every `h` from (x0, y0).
inline ZoneSpec Rect(int ni, int nj, double x0, double y0, double h = 1.0) {
  return {ni, nj, [=](int i, int j) { return std::make_pair(x0 + i * h, y0 + j * h); }};
}

// Pixels per world unit `scale`, world (cx, cy) at the middle of a w x h picture.
inline ViewTransform MakeView(int w, int h, double scale, double cx, double cy) {
  ViewTransform view;
  view.SetPictureSize(w, h);
  view.ScaleX = view.ScaleY = scale, view.CentreX = cx, view.CentreY = cy;
  return view;
}

// A 100 x 100 picture where world (x, y) lands on pixel (x, 100 - y).
inline ViewTransform UnitView() { return MakeView(100, 100, 1.0, 50.0, 50.0); }

}  // namespace corvane::testing
