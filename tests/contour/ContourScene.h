// A small data set with x = i, y = j and a chosen value per node, a view of 10 pixels per unit
// with the world origin at pixel (0, 100), and everything a contour layer is given.
#pragma once
#include <functional>
#include <vector>

#include "TestGrids.h"
#include "TestImages.h"
#include "contour/ColourMap.h"
#include "contour/ContourFill.h"
#include "contour/ContourLines.h"
#include "base/Progress.h"
#include "render/LayerContext.h"
#include "render/PainterCanvas.h"
#include "scene/SceneRenderer.h"
#include "support/LayerScene.h"

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
    fieldView.Masks.resize(1);
    fieldView.Masks[0].ILineMask.assign(static_cast<std::size_t>(ni), true);
    fieldView.Masks[0].JLineMask.assign(static_cast<std::size_t>(nj), true);
    fieldView.ContourMax = {max}, fieldView.ContourMin = {min}, fieldView.ContourStep = {step};
  }

  // `scale` pixels per unit with world (0, 1) at the top-left pixel of a width x height picture.
  ContourScene& Zoom(double scale, int width, int height) {
    view.ScaleX = view.ScaleY = scale, view.CentrePixelY = static_cast<std::int32_t>(scale);
    view.PictureWidth = width, view.PictureHeight = height;
    return *this;
  }
};

// The scene's bands filled straight into a white bitmap through a painter canvas.
inline QImage FilledBitmap(ContourScene& scene, int width = 200, int height = 200) {
  QImage image = testing::FilledImage(width, height);
  PainterCanvas canvas(&image);
  DrawContourFill(scene.Context(), scene.options.contour.colourMap, canvas, &image);
  canvas.Finish();
  return image;
}

// The rainbow colour of v in lo..hi.
inline Colour Rainbow(double v, double lo, double hi) {
  return LevelColour(static_cast<float>(v), static_cast<float>(lo), static_cast<float>(hi), ColourMapKind::Rainbow);
}

// 150 x 40 nodes a tenth of a pixel apart in x: nine rows three pixels high, twenty rows a tenth
// of a pixel high (triangles of 0.005 square pixels), nine rows three pixels high, seen at 10
// pixels per unit from (3, 92) in a 24 x 140 picture: the thin rows lie on pixel rows 63 to 65,
// across the boundary of two fill stripes. Value 2x + 0.5y + 0.0137, levels 0 .. 6 by 0.2 (no
// node on a level); filling on.
inline ContourScene ThinRowScene() {
  const auto y = [](int j) { return j <= 9 ? 0.3 * j : (j <= 29 ? 2.7 + 0.01 * (j - 9) : 2.9 + 0.3 * (j - 29)); };
  const int ni = 150, nj = 40;
  ContourScene s(ni, nj, [&](int i, int j) { return 0.02 * i + 0.5 * y(j) + 0.0137; }, 0.0, 6.0, 0.2);
  for (int i = 0; i < ni; ++i)
    for (int j = 0; j < nj; ++j) {
      s.data.X[static_cast<std::size_t>(i * nj + j)] = 0.01 * i;
      s.data.Y[static_cast<std::size_t>(i * nj + j)] = y(j);
    }
  s.view.CentrePixelX = 3, s.view.CentrePixelY = 92, s.view.PictureWidth = 24, s.view.PictureHeight = 140;
  s.options.display.BrushCheck = true;
  return s;
}

// Node values listed j fastest, as a value function for ContourScene.
inline std::function<double(int, int)> Listed(std::vector<double> values, int nj) {
  return [values = std::move(values), nj](int i, int j) { return values[static_cast<std::size_t>(i * nj + j)]; };
}

}  // namespace corvane::test
