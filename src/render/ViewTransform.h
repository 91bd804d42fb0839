// The world-to-pixel mapping every drawing layer shares, the rescale that fits it to the data
// and the two zoom operations of the plot window.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "render/NumberFormat.h"

namespace corvane {

struct Extents {
  double XMin = 0.0, XMax = 0.0, YMin = 0.0, YMax = 0.0;
};

// Extents widened so that overlay copies 0..count shifted by (dx, dy) all fit.
Extents WidenForCopies(const Extents& extents, double dx, double dy, int count);

struct TextSize {
  int width = 0;
  int height = 0;
};
// Measures a text in the axis font (the rescale leaves room for the axis numbers).
using TextMeasure = std::function<TextSize(const std::string&)>;

// Pixel results saturate at +-kPixelLimit (NaN gives -kPixelLimit): far outside any picture,
// yet a layer may add a few pixels to a coordinate without overflowing.
constexpr std::int32_t kPixelLimit = 1 << 30;

struct ViewTransform {
  std::int32_t PictureWidth = 0, PictureHeight = 0;
  std::int32_t CentrePixelX = 0, CentrePixelY = 0;
  double CentreX = 0.0, CentreY = 0.0;
  double ScaleX = 1.0, ScaleY = 1.0;
  std::int32_t AxisMarginLeft = 0, AxisMarginBottom = 0;

  // Round half to even on the extended-precision value, saturated to +-kPixelLimit.
  std::int32_t WorldToPixelX(double x) const;
  std::int32_t WorldToPixelY(double y) const;
  double PixelToWorldX(double px) const;
  double PixelToWorldY(double py) const;

  void SetPictureSize(std::int32_t width, std::int32_t height);
  // Fits the view to the extents; with showAxes, leaves room measured through `measure`.
  // A direction whose extent is zero keeps its scale (or takes the other one with sameScale).
  void Rescale(const Extents& extents, bool sameScale, bool showAxes, const NumberFormat& format,
               const TextMeasure& measure);
  // factor 2 zooms in at the pixel, 0.5 zooms out; the clicked point becomes the centre.
  void ZoomAt(double px, double py, double factor);
  // Fits a dragged pixel rectangle; a drag without width or height changes nothing.
  void ZoomToRect(double x1, double y1, double x2, double y2, bool sameScale);
};

}  // namespace corvane
