// Small flow data sets for the streamline tests: zones of nodes placed by (i, j) -> (x, y), with
// the velocity rows "U" and "V" given by a function of the position.
#pragma once
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "data/FieldDataSet.h"
#include "render/ViewTransform.h"

namespace corvane::testing {

using Place = std::function<std::pair<double, double>(int i, int j)>;
using Flow = std::function<std::pair<double, double>(double x, double y)>;

struct FlowZone {
  int ni, nj;
  Place place;
};

inline FieldDataSet MakeFlow(const std::vector<FlowZone>& zones, const Flow& flow) {
  FieldDataSet d;
  d.ColumnCount = 4;
  d.VariableNames = {"U", "V"};
  d.Values.resize(4);
  for (const FlowZone& z : zones) {
    ZoneGrid g;
    g.NI = z.ni;
    g.NJ = z.nj;
    g.FirstNode = d.NodeCount;
    for (int i = 0; i < z.ni; ++i)
      for (int j = 0; j < z.nj; ++j) {
        auto [x, y] = z.place(i, j);
        auto [u, v] = flow(x, y);
        d.X.push_back(x);
        d.Y.push_back(y);
        d.Values[0].push_back(u);
        d.Values[1].push_back(v);
        d.Values[2].push_back(0.0);
        d.Values[3].push_back(0.0);
        d.XMin = std::min(d.XMin, x);
        d.XMax = std::max(d.XMax, x);
        d.YMin = std::min(d.YMin, y);
        d.YMax = std::max(d.YMax, y);
      }
    d.NodeCount += z.ni * z.nj;
    d.Zones.push_back(g);
    d.Boundaries.push_back(BoundaryFlags{});
  }
  d.ZoneCount = static_cast<int>(d.Zones.size());
  return d;
}

// A rectangular zone with nodes every `h` from (x0, y0).
inline FlowZone Rect(int ni, int nj, double x0, double y0, double h = 1.0) {
  return {ni, nj, [=](int i, int j) { return std::make_pair(x0 + i * h, y0 + j * h); }};
}

inline Flow Uniform(double u, double v) {
  return [=](double, double) { return std::make_pair(u, v); };
}

// Pixels per world unit `scale`, world (cx, cy) at the middle of a w x h picture.
inline ViewTransform MakeView(int w, int h, double scale, double cx, double cy) {
  ViewTransform view;
  view.SetPictureSize(w, h);
  view.ScaleX = view.ScaleY = scale;
  view.CentreX = cx;
  view.CentreY = cy;
  return view;
}

}  // namespace corvane::testing
