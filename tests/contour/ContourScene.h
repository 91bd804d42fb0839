// A small data set with x = i, y = j and a chosen value per node, a view of 10 pixels per unit
// with the world origin at pixel (0, 100), and everything a contour layer is given.
#pragma once
#include <functional>
#include <vector>

#include "TestGrids.h"
#include "contour/ColorMap.h"
#include "contour/ContourLines.h"
#include "data/Progress.h"
#include "render/LayerContext.h"
#include "scene/SceneRenderer.h"

namespace corvane::test {

struct ContourScene : testing::LayerScene {
  // One zone of ni x nj nodes; value(i, j) fills row 0; range min..max by step.
  ContourScene(int ni, int nj, const std::function<double(int, int)>& value, double min, double max, double step) {
    random.Seed(12345);
    view = ViewTransform{};
    view.PictureWidth = view.PictureHeight = 1000;
    view.CentrePixelX = 0, view.CentrePixelY = 100;
    view.ScaleX = view.ScaleY = 10.0;
    data = testing::MakeZones({{ni, nj, [](int i, int j) { return std::pair{double(i), double(j)}; }}}, {"f"},
                              [&value](double x, double y) {  // x = i and y = j exactly
                                return std::vector<double>{value(static_cast<int>(x), static_cast<int>(y))};
                              });
    data.Zones[0].ILineMask.assign(static_cast<std::size_t>(ni), true);
    data.Zones[0].JLineMask.assign(static_cast<std::size_t>(nj), true);
    data.ContourMax = {max}, data.ContourMin = {min}, data.ContourStep = {step};
  }

  // `scale` pixels per unit with world (0, 1) at the top-left pixel of a width x height picture.
  ContourScene& Zoom(double scale, int width, int height) {
    view.ScaleX = view.ScaleY = scale, view.CentrePixelY = static_cast<std::int32_t>(scale);
    view.PictureWidth = width, view.PictureHeight = height;
    return *this;
  }
};

// The rainbow colour of v in lo..hi.
inline Colour Rainbow(double v, double lo, double hi) {
  return LevelColor(static_cast<float>(v), static_cast<float>(lo), static_cast<float>(hi), ColorMapKind::Rainbow);
}

// Node values listed j fastest, as a value function for ContourScene.
inline std::function<double(int, int)> Listed(std::vector<double> values, int nj) {
  return [values = std::move(values), nj](int i, int j) { return values[static_cast<std::size_t>(i * nj + j)]; };
}

}  // namespace corvane::test
