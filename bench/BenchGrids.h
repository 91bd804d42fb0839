// Large data sets for the benchmarks: zones of nodes laid out by a function of (zone, i, j), and
// the scene a layer is drawn in (data, view, options and the rest of a layer's context).
#pragma once
#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "field/FieldDataSet.h"
#include "base/Progress.h"
#include "render/LayerContext.h"
#include "scene/SceneRenderer.h"

namespace corvane::bench {

// One node: its position and its values, one per value row.
struct BenchNode {
  double x = 0.0, y = 0.0;
  std::array<double, 4> values{};
};

// Zones of ni x nj nodes (j fastest) from node(zone, i, j), with `rows` value rows and the file's
// `columns` (x, y and the rows read). Every grid line is shown (a view without masks shows all).
template <class NodeFn>
FieldDataSet BenchGrid(const std::vector<std::pair<int, int>>& zones, int columns, int rows, NodeFn node) {
  FieldDataSet d;
  d.ColumnCount = columns;
  d.Values.resize(static_cast<std::size_t>(rows));
  std::size_t total = 0;
  for (const auto& [ni, nj] : zones) total += static_cast<std::size_t>(ni) * static_cast<std::size_t>(nj);
  d.X.reserve(total);
  d.Y.reserve(total);
  for (auto& row : d.Values) row.reserve(total);
  for (int z = 0; z < static_cast<int>(zones.size()); ++z) {
    const auto [ni, nj] = zones[static_cast<std::size_t>(z)];
    ZoneGrid zone;
    zone.NI = ni;
    zone.NJ = nj;
    zone.FirstNode = d.NodeCount;
    for (int i = 0; i < ni; ++i)
      for (int j = 0; j < nj; ++j) {
        const BenchNode n = node(z, i, j);
        d.X.push_back(n.x);
        d.Y.push_back(n.y);
        for (std::size_t r = 0; r < d.Values.size(); ++r) d.Values[r].push_back(n.values[r]);
      }
    d.NodeCount += ni * nj;
    d.Zones.push_back(zone);
  }
  d.ZoneCount = static_cast<int>(d.Zones.size());
  return d;
}

// The data's extents over every node.
inline void SetExtents(FieldDataSet& d) {
  for (std::size_t n = 0; n < d.X.size(); ++n) {
    d.XMin = std::min(d.XMin, d.X[n]);
    d.XMax = std::max(d.XMax, d.X[n]);
    d.YMin = std::min(d.YMin, d.Y[n]);
    d.YMax = std::max(d.YMax, d.Y[n]);
  }
}

// A data set with everything a layer is drawn with; the view is the caller's to set.
struct BenchScene {
  FieldDataSet data;
  FieldView fieldView;
  ViewTransform view;
  ProgramOptions options;
  NullProgress progress;
  Random random;
  ContourReadout readout;

  BenchScene(FieldDataSet d, std::uint32_t seed) : data(std::move(d)), random(seed) {}
  LayerContext Context() { return LayerContextFor(data, fieldView, view, options, progress, random, readout); }
};

// A view of `scale` pixels per unit with world (cx, cy) at the middle of a 1000 x 800 picture.
inline ViewTransform BenchView(double scale, double cx, double cy) {
  ViewTransform v;
  v.SetPictureSize(1000, 800);
  v.CentreX = cx;
  v.CentreY = cy;
  v.ScaleX = v.ScaleY = scale;
  return v;
}

}  // namespace corvane::bench
