#include "contour/Legend.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "contour/ContourLevels.h"
#include "base/Notifier.h"
#include "render/NumberFormat.h"
#include "render/PainterCanvas.h"

namespace corvane {
namespace {

// Round half to even, saturated so that no data can make the conversion undefined.
int RoundPixel(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(std::nearbyint(v), -1073741824.0, 1073741824.0));
}

// Levels nFirst .. nLast the bar divides at, or false when there is no sensible bar: the same
// ranges and steps the contour layers refuse (ContourRangeProblem says why), so the legend and
// the picture are drawn or refused together.
bool BarLevels(const LegendInput& in, double& nFirst, double& nLast) {
  if (!ContourRangeProblem(in.hi, in.lo, in.step).empty()) return false;  // texts and frame only
  nFirst = std::ceil(in.lo / in.step);
  nLast = std::floor(in.hi / in.step);
  return std::isfinite(nFirst) && std::isfinite(nLast);
}


// Steps shared by both orientations: font, background, text colour. Returns the margin.
int BeginLegend(Canvas& canvas, const LegendOptions& options, const LegendInput& in, Colour& text) {
  FontSpec font = options.font;
  text = in.whiteBack ? kBlack : kWhite;
  font.colour = text;
  canvas.SetFont(font);
  const int m = RoundPixel(options.LegendHeightBox * 0.05) + 1;
  const Colour back = in.whiteBack ? kWhite : kBlack;
  canvas.SetPen(back, 1);
  canvas.SetBrush(back, BrushStyle::Solid);
  canvas.Rectangle(0, 0, options.LegendWidthBox, options.LegendHeightBox);
  return m;
}

// One piece of the bar, pen and brush in its colour.
void Band(Canvas& canvas, Colour colour, int x1, int y1, int x2, int y2) {
  canvas.SetPen(colour, 1);
  canvas.SetBrush(colour, BrushStyle::Solid);
  canvas.Rectangle(x1, y1, x2, y2);
}

}  // namespace

std::string LegendNumberText(double value, const LegendOptions& options) {
  return FormatAxisNumber(value, options.numberFormat);
}

void DrawHorizontalLegend(Canvas& canvas, const LegendOptions& options, const LegendInput& in) {
  const int W = options.LegendWidthBox, H = options.LegendHeightBox;
  Colour text = kBlack;
  const int m = BeginLegend(canvas, options, in, text);
  const std::string tLo = LegendNumberText(in.lo, options), tHi = LegendNumberText(in.hi, options);

  // Texts under the bar at its two ends.
  const int th = canvas.TextHeight(tLo), wLo = canvas.TextWidth(tLo), wHi = canvas.TextWidth(tHi);
  canvas.TextOut(m, H - (th + m), tLo);
  canvas.TextOut(W - (wHi + m), H - (th + m), tHi);

  // The bar, its ends under the middles of the texts: the piece below the first level, then
  // one band per level, the last cut at the bar's end. Each band takes the colour of its upper
  // level, as the filled contours colour it, so bar and picture agree band for band.
  const int x0 = wLo / 2 + m, x1 = W - (wHi / 2 + m), yB = H - (2 * m + th);
  double nFirst = 0.0, nLast = 0.0;
  if (BarLevels(in, nFirst, nLast)) {
    const LevelPalette colourOf(in.lo, in.hi, in.step, in.colourMap);
    const double s = (x1 - x0) / (in.hi - in.lo);
    int xs = RoundPixel((nFirst * in.step - in.lo) * s) + x0;
    Band(canvas, colourOf(nFirst * in.step), x0, m, xs, yB);
    for (double n = nFirst; n <= nLast; n += 1.0) {
      const int xa = xs;
      xs = std::min(RoundPixel(((n + 1.0) * in.step - in.lo) * s) + x0, x1);
      Band(canvas, colourOf((n + 1.0) * in.step), xa, m, xs, yB);
    }
  }

  canvas.SetPen(text, 1);
  canvas.MoveTo(x0, m);
  canvas.LineTo(x0, yB);
  canvas.LineTo(x1, yB);
  canvas.LineTo(x1, m);
  canvas.LineTo(x0, m);
}

void DrawVerticalLegend(Canvas& canvas, const LegendOptions& options, const LegendInput& in) {
  const int W = options.LegendWidthBox, H = options.LegendHeightBox;
  Colour text = kBlack;
  const int m = BeginLegend(canvas, options, in, text);
  const std::string tLo = LegendNumberText(in.lo, options), tHi = LegendNumberText(in.hi, options);

  // Texts at the right, left edges aligned, the maximum at the top.
  const int tw = std::max(canvas.TextWidth(tLo), canvas.TextWidth(tHi)), th = canvas.TextHeight(tHi);
  canvas.TextOut(W - (tw + m), m, tHi);
  canvas.TextOut(W - (tw + m), H - (th + m), tLo);

  // The bar with values growing upwards.
  const int xR = W - (2 * m + tw), yT = th / 2 + m, yB = H - (th / 2 + m);
  double nFirst = 0.0, nLast = 0.0;
  if (BarLevels(in, nFirst, nLast)) {
    const LevelPalette colourOf(in.lo, in.hi, in.step, in.colourMap);
    const double s = (yB - yT) / (in.hi - in.lo);
    int ys = yB - RoundPixel((nFirst * in.step - in.lo) * s);
    Band(canvas, colourOf(nFirst * in.step), m, yB, xR, ys);
    for (double n = nFirst; n <= nLast; n += 1.0) {
      const int ya = ys;
      ys = std::max(yB - RoundPixel(((n + 1.0) * in.step - in.lo) * s), yT);
      Band(canvas, colourOf((n + 1.0) * in.step), m, ya, xR, ys);
    }
  }

  canvas.SetPen(text, 1);
  canvas.MoveTo(m, yB);
  canvas.LineTo(xR, yB);
  canvas.LineTo(xR, yT);
  canvas.LineTo(m, yT);
  canvas.LineTo(m, yB);
}

QPicture BuildLegendPicture(const LegendOptions& options, const LegendInput& input) {
  QPicture picture;
  picture.setBoundingRect(QRect(0, 0, options.LegendWidthBox, options.LegendHeightBox));
  {
    PainterCanvas canvas(&picture);
    if (options.orientation == LegendOrientation::Horizontal)
      DrawHorizontalLegend(canvas, options, input);
    else
      DrawVerticalLegend(canvas, options, input);
    canvas.Finish();
  }
  // The painter shrinks the bounding box to what was drawn; the legend is always W x H.
  picture.setBoundingRect(QRect(0, 0, options.LegendWidthBox, options.LegendHeightBox));
  return picture;
}

QImage LegendBitmap(const QPicture& picture, const LegendOptions& options) {
  QImage image(options.LegendWidthBox, options.LegendHeightBox, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  painter.drawPicture(0, 0, picture);
  painter.end();
  return image;
}

}  // namespace corvane
