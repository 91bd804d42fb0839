#include "render/Axes.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/NiceStep.h"
#include "render/NumberFormat.h"

namespace corvane {
namespace {

// More ticks than this means the range cannot be shown sensibly (non-finite or degenerate).
constexpr double kMaxTicks = 1000;

// Tick numbers k of the multiples of `step` in [lo, hi] after snapping; false when unusable.
bool TickRange(double lo, double hi, double step, long long& first, long long& last) {
  const double a = std::nearbyint(lo / step), b = std::nearbyint(hi / step);
  if (!std::isfinite(a) || !std::isfinite(b) || std::fabs(a) > 1e15 || std::fabs(b) > 1e15 || b - a > kMaxTicks)
    return false;
  first = static_cast<long long>(a);
  last = static_cast<long long>(b);
  return true;
}

}  // namespace

double AxisTickStep(double lo, double hi, Notifier* notifier) {
  if (!(hi > lo)) {
    if (notifier) notifier->Warning("軸の大小が不正です");
    return 1.0;
  }
  double d = (hi - lo) / 5;
  if (!std::isfinite(d)) d = hi / 5 - lo / 5;  // the difference itself overflowed
  // Scale d into [1, 10) or (0.9, 9]; 400 rounds reach that from any finite double.
  int e = 0;
  if (d < 1) {
    while (d < 1 && e < 400) {
      d *= 10;
      ++e;
    }
  } else {
    while (d > 9 && e > -400) {
      d /= 10;
      --e;
    }
  }
  // Never 10: the scaling leaves d below it.
  double step = OneTwoFive(d, 1.5, 3.0, std::numeric_limits<double>::infinity());
  for (int n = 0; n < e; ++n) step /= 10;
  for (int n = 0; n < -e; ++n) step *= 10;
  // A range too small for any double step falls back to the step of an unusable range.
  return std::isfinite(step) && step > 0 ? step : 1.0;
}

QRect AxisPlotArea(const ViewTransform& view, const Extents& extents) {
  const int W = view.PictureWidth, H = view.PictureHeight;
  const int LM = view.AxisMarginLeft, BM = view.AxisMarginBottom;
  // The same figures DrawAxes works with.
  const double Xr = std::min(extents.XMax, view.PixelToWorldX(W - 12));
  const double Yt = std::min(extents.YMax, view.PixelToWorldY(12));
  const int ax = std::max(LM - 10, view.WorldToPixelX(extents.XMin) - 10);
  const int ay = std::min(H - BM + 10, view.WorldToPixelY(extents.YMin) + 10);
  const int left = std::max({LM + 1, ax + 1, 0}), bottom = std::min({H - BM - 1, ay - 1, H - 1});
  const int top = std::max(view.WorldToPixelY(Yt), 0), right = std::min(view.WorldToPixelX(Xr), W - 1);
  if (left > right || top > bottom) return QRect(0, 0, 0, 0).adjusted(0, 0, -1, -1);  // empty, not null
  return QRect(QPoint(left, top), QPoint(right, bottom));
}

void DrawAxes(Canvas& canvas, const LayerContext& context, const Extents& extents, Notifier* notifier) {
  const ViewTransform& view = context.view;
  const DisplayOptions& options = context.display;
  const int W = view.PictureWidth, H = view.PictureHeight;
  const int LM = view.AxisMarginLeft, BM = view.AxisMarginBottom;

  // Visible part of the data range, clear of the margins and of 12 pixels at the right and top.
  double Xr = std::min(extents.XMax, view.PixelToWorldX(W - 12));
  double Yt = std::min(extents.YMax, view.PixelToWorldY(12));
  double Xl = std::max(extents.XMin, view.PixelToWorldX(LM));
  double Yb = std::max(extents.YMin, view.PixelToWorldY(H - BM));

  // The axes stand 10 pixels outside the data box, or 10 pixels inside the margins.
  const int ax = std::max(LM - 10, view.WorldToPixelX(extents.XMin) - 10);
  const int ay = std::min(H - BM + 10, view.WorldToPixelY(extents.YMin) + 10);

  // Blank the left and bottom margins, and everything above and right of the visible range.
  canvas.SetPen(context.background, 1);
  canvas.SetBrush(context.background, BrushStyle::Solid);
  const QPoint margins[] = {{0, 0}, {0, H}, {W, H}, {W, H - BM}, {LM, H - BM}, {LM, 0}};
  canvas.Polygon(margins, 6);
  const int top = view.WorldToPixelY(Yt), right = view.WorldToPixelX(Xr);
  const QPoint outside[] = {{0, 0}, {0, top - 1}, {right + 1, top - 1}, {right + 1, H}, {W, H}, {W, 0}};
  canvas.Polygon(outside, 6);

  canvas.SetPen(context.foreground, 1);
  FontSpec font = options.axisFont;
  font.colour = context.foreground;
  canvas.SetFont(font);
  canvas.MoveTo(ax, view.WorldToPixelY(Yt));
  canvas.LineTo(ax, view.WorldToPixelY(Yb));
  canvas.MoveTo(view.WorldToPixelX(Xl), ay);
  canvas.LineTo(view.WorldToPixelX(Xr), ay);

  // x ticks; a number that would overlap the previous one or leave the picture is skipped.
  double s = AxisTickStep(Xl, Xr, notifier);
  Xr = std::floor(Xr / s) * s;
  Xl = std::ceil(Xl / s) * s;
  long long first = 0, last = -1;
  if (TickRange(Xl, Xr, s, first, last)) {
    int lastRight = 0;
    for (long long k = first; k <= last; ++k) {
      const double value = static_cast<double>(k) * s;
      const int px = view.WorldToPixelX(value);
      canvas.MoveTo(px, ay);
      canvas.LineTo(px, ay - 5);
      const std::string text = FormatAxisNumber(value, options.numberFormat);
      const int w = canvas.TextWidth(text);
      const int lx = px - w / 2;
      if (lx > lastRight && static_cast<long long>(lx) + w < W) {
        canvas.TextOut(lx, ay + 4, text);
        lastRight = lx + w;
      }
    }
  }

  // y ticks, numbers right-aligned 4 pixels left of the axis, skipped upwards on overlap.
  s = AxisTickStep(Yb, Yt, notifier);
  Yt = std::floor(Yt / s) * s;
  Yb = std::ceil(Yb / s) * s;
  int leftMost = ax;
  if (TickRange(Yb, Yt, s, first, last)) {
    int lastTop = H;
    for (long long k = first; k <= last; ++k) {
      const double value = static_cast<double>(k) * s;
      const int py = view.WorldToPixelY(value);
      canvas.MoveTo(ax, py);
      canvas.LineTo(ax + 5, py);
      const std::string text = FormatAxisNumber(value, options.numberFormat);
      const int w = canvas.TextWidth(text), h = canvas.TextHeight(text);
      const int lx = ax - 4 - w;
      const int ly = py - h / 2;
      if (static_cast<long long>(ly) + h < H && static_cast<long long>(ly) + h < lastTop) {
        canvas.TextOut(lx, ly, text);
        lastTop = ly;
        leftMost = std::min(leftMost, lx);
      }
    }
  }

  // Titles: x centred under its numbers, y turned to read upwards left of its numbers.
  if (!options.XTitleBox.empty()) {
    const int w = canvas.TextWidth(options.XTitleBox), h = canvas.TextHeight(options.XTitleBox);
    canvas.TextOut(view.WorldToPixelX((Xl + Xr) / 2) - w / 2, ay + 4 + h + 4, options.XTitleBox);
  }
  if (!options.YTitleBox.empty()) {
    const int w = canvas.TextWidth(options.YTitleBox), h = canvas.TextHeight(options.YTitleBox);
    FontSpec turned = canvas.Font();
    turned.angleTenths = 900;
    canvas.SetFont(turned);
    canvas.TextOut(leftMost - 8 - h, view.WorldToPixelY((Yb + Yt) / 2) + w / 2, options.YTitleBox);
  }
  canvas.SetFont(options.axisFont);
}

}  // namespace corvane
