#include "render/ViewTransform.h"

#include <algorithm>
#include <cmath>

namespace corvane {
namespace {

// Round half to even, saturated well inside 32 bits so callers may add a few pixels safely.
// llrint in the default rounding mode rounds as nearbyint does, without nearbyint's costly save
// and restore of the floating-point environment (this runs for every node of every layer).
std::int32_t SaturatePixel(long double v) {
  if (std::isnan(v)) return -kPixelLimit;
  if (v >= static_cast<long double>(kPixelLimit)) return kPixelLimit;
  if (v <= -static_cast<long double>(kPixelLimit)) return -kPixelLimit;
  return static_cast<std::int32_t>(std::llrint(v));
}

bool UsableScale(double s) { return std::isfinite(s) && s != 0.0; }

// A scale kept from before must itself be usable, or the picture would be lost.
double KeptScale(double s) { return UsableScale(s) ? s : 1.0; }

// Pixels per unit that fit `extent` into `pixels`, or 0 when that has no finite answer.
double FitScale(double pixels, double extent) {
  double s = std::max(pixels, 1.0) / extent;
  return std::isfinite(s) && s > 0.0 ? s : 0.0;
}

// The two fitted scales; a direction without a usable fit keeps its scale, or with one scale
// for both takes the other direction's.
void ChooseScales(double fitX, double fitY, bool sameScale, double& scaleX, double& scaleY) {
  if (sameScale && fitX > 0.0 && fitY > 0.0) {
    scaleX = scaleY = std::min(fitX, fitY);
  } else if (sameScale && (fitX > 0.0 || fitY > 0.0)) {
    scaleX = scaleY = fitX > 0.0 ? fitX : fitY;
  } else {
    scaleX = fitX > 0.0 ? fitX : KeptScale(scaleX);
    scaleY = fitY > 0.0 ? fitY : KeptScale(scaleY);
  }
}

double Midpoint(double a, double b, double previous) {
  double m = static_cast<double>((static_cast<long double>(a) + b) * 0.5L);
  return std::isfinite(m) ? m : previous;
}

std::int32_t HalfOf(long long v) { return static_cast<std::int32_t>(std::clamp(v / 2, -(1LL << 31), (1LL << 31) - 1)); }

}  // namespace

Extents WidenForCopies(const Extents& extents, double dx, double dy, int count) {
  Extents e = extents;
  if (count <= 0) return e;
  const double sx = count * dx, sy = count * dy;
  if (std::isfinite(sx)) {
    e.XMax = std::max(e.XMax, e.XMax + sx);
    e.XMin = std::min(e.XMin, e.XMin + sx);
  }
  if (std::isfinite(sy)) {
    e.YMax = std::max(e.YMax, e.YMax + sy);
    e.YMin = std::min(e.YMin, e.YMin + sy);
  }
  return e;
}

std::int32_t ViewTransform::WorldToPixelX(double x) const {
  return SaturatePixel((static_cast<long double>(x) - CentreX) * ScaleX + CentrePixelX);
}

std::int32_t ViewTransform::WorldToPixelY(double y) const {
  return SaturatePixel(CentrePixelY - (static_cast<long double>(y) - CentreY) * ScaleY);
}

double ViewTransform::PixelToWorldX(double px) const {
  return static_cast<double>((static_cast<long double>(px) - CentrePixelX) / ScaleX + CentreX);
}

double ViewTransform::PixelToWorldY(double py) const {
  return static_cast<double>((CentrePixelY - static_cast<long double>(py)) / ScaleY + CentreY);
}

void ViewTransform::SetPictureSize(std::int32_t width, std::int32_t height) {
  PictureWidth = std::max<std::int32_t>(width, 0);
  PictureHeight = std::max<std::int32_t>(height, 0);
  CentrePixelX = PictureWidth / 2;
  CentrePixelY = PictureHeight / 2;
}

void ViewTransform::Rescale(const Extents& extents, bool sameScale, bool showAxes, const NumberFormat& format,
                            const TextMeasure& measure) {
  // Pass 1: fit the extents into the picture less 20 pixels on each side.
  ChooseScales(FitScale(PictureWidth - 40.0, extents.XMax - extents.XMin),
               FitScale(PictureHeight - 40.0, extents.YMax - extents.YMin), sameScale, ScaleX, ScaleY);
  CentrePixelX = PictureWidth / 2;
  CentrePixelY = PictureHeight / 2;
  CentreX = Midpoint(extents.XMax, extents.XMin, CentreX);
  CentreY = Midpoint(extents.YMax, extents.YMin, CentreY);
  if (!showAxes) return;

  // Pass 2: shrink the scales so the axis numbers and titles fit in the left and bottom margins.
  // Sizes are bounded so that no sum below can overflow, whatever the measure reports.
  auto size = [&](double v) {
    TextSize t = measure ? measure(FormatAxisNumber(v, format)) : TextSize{};
    return TextSize{std::clamp(t.width, 0, 1 << 20), std::clamp(t.height, 0, 1 << 20)};
  };
  const TextSize xMax = size(extents.XMax), xMin = size(extents.XMin);
  const int h = std::max(xMax.height, xMin.height);
  const TextSize yMax = size(extents.YMax), yMin = size(extents.YMin);
  const int w = std::max(yMax.width, yMin.width);
  const std::int32_t bottom = h + 14 + 4 + h + 12;
  const std::int32_t left = w + 14 + 4 + yMin.height + 12;
  if (PictureWidth > 0) ScaleX = std::max(PictureWidth - left, 1) * ScaleX / PictureWidth;
  if (PictureHeight > 0) ScaleY = std::max(PictureHeight - bottom, 1) * ScaleY / PictureHeight;
  if (sameScale) ScaleX = ScaleY = std::min(ScaleX, ScaleY);
  CentrePixelX = HalfOf(static_cast<long long>(PictureWidth) + left);
  CentrePixelY = HalfOf(static_cast<long long>(PictureHeight) - bottom);
  AxisMarginLeft = left;
  AxisMarginBottom = bottom;
}

void ViewTransform::ZoomAt(double px, double py, double factor) {
  const double cx = PixelToWorldX(px), cy = PixelToWorldY(py);
  const double sx = ScaleX * factor, sy = ScaleY * factor;
  // A zoom that would leave no finite picture is refused.
  if (!std::isfinite(cx) || !std::isfinite(cy) || !UsableScale(sx) || !UsableScale(sy)) return;
  CentreX = cx;
  CentreY = cy;
  ScaleX = sx;
  ScaleY = sy;
}

void ViewTransform::ZoomToRect(double x1, double y1, double x2, double y2, bool sameScale) {
  if (x1 == x2 || y1 == y2) return;  // no width or no height: no scale to fit
  const double wx1 = PixelToWorldX(x1), wy1 = PixelToWorldY(y1);
  const double wx2 = PixelToWorldX(x2), wy2 = PixelToWorldY(y2);
  double sx = FitScale(PictureWidth - 20.0, std::fabs(wx2 - wx1));
  double sy = FitScale(PictureHeight - 20.0, std::fabs(wy2 - wy1));
  const double cx = Midpoint(wx1, wx2, NAN), cy = Midpoint(wy1, wy2, NAN);
  if (sx <= 0.0 || sy <= 0.0 || !std::isfinite(cx) || !std::isfinite(cy)) return;
  if (sameScale) sx = sy = std::min(sx, sy);
  ScaleX = sx;
  ScaleY = sy;
  CentreX = cx;
  CentreY = cy;
}

}  // namespace corvane
