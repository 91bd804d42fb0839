#include "contour/ColourBar.h"

#include <algorithm>
#include <cmath>

#include "field/RoundLevels.h"

namespace corvane {
namespace {

constexpr int kGap = 8;         // between the plot area and the bar, and around the strip
constexpr int kBarWidth = 18;   // the band rectangle's width
constexpr int kTick = 5;        // tick length
constexpr int kMaxLevels = 10000;

std::string LevelText(const ColourBarInput& in, double value) { return FormatAxisNumber(value, in.format); }

// The format of numbers written `stride` levels apart. With round levels they carry the
// decimals of their own spacing when that is a round step too: every other level of 0.025
// reads 0.85, as a label of a 0.05 step does, not 0.850.
NumberFormat SpacedFormat(const ColourBarInput& in, long long stride) {
  NumberFormat f = in.format;
  if (!(f.roundStep > 0.0) || stride <= 1 || !std::isfinite(f.roundStep)) return f;
  const double spacing = f.roundStep * static_cast<double>(stride);
  if (!std::isfinite(spacing)) return f;
  const double round = NearestRoundStep(spacing).Value();
  if (std::abs(round - spacing) <= 1e-9 * spacing) f.roundStep = round;
  return f;
}

// Index range of the levels n * step that lie within [lo, hi].
std::pair<long long, long long> LevelIndices(const ColourBarInput& in) {
  const double first = std::ceil(in.lo / in.step - 1e-9), last = std::floor(in.hi / in.step + 1e-9);
  return {static_cast<long long>(first), static_cast<long long>(last)};
}

}  // namespace

bool ColourBarDrawable(const ColourBarInput& in) {
  if (!std::isfinite(in.lo) || !std::isfinite(in.hi) || !(in.hi > in.lo)) return false;
  if (!std::isfinite(in.step) || !(in.step > 0.0)) return false;
  const double levels = (in.hi - in.lo) / in.step;
  return std::isfinite(levels) && levels <= kMaxLevels;
}

int ColourBarStripWidth(const ColourBarInput& in, int width, const BarTextMeasure& measure) {
  if (!ColourBarDrawable(in) || width < 30) return 0;
  int numbers = std::max(measure(LevelText(in, in.lo)).first, measure(LevelText(in, in.hi)).first);
  const auto [first, last] = LevelIndices(in);
  for (long long n = first; n <= last; ++n)
    numbers = std::max(numbers, measure(LevelText(in, static_cast<double>(n) * in.step)).first);
  const int title = measure(in.title).first;
  const int wanted = kGap + std::max(kBarWidth + kTick + 3 + numbers, title) + kGap;
  return std::min(wanted, width / 3);
}

ColourBarLayout LayoutColourBar(const ColourBarInput& in, int width, int height, int bottomMargin,
                                const BarTextMeasure& measure) {
  ColourBarLayout l;
  l.stripWidth = ColourBarStripWidth(in, width, measure);
  if (l.stripWidth == 0) return l;
  l.stripLeft = width - l.stripWidth;
  const int textHeight = std::max(measure("0").second, 1);
  l.titleX = l.stripLeft + kGap;
  l.titleY = kGap;
  l.barLeft = l.stripLeft + kGap;
  l.barRight = l.barLeft + kBarWidth;
  // The top number stands half a line above the bar; the title a line above that.
  l.barTop = kGap + textHeight / 2 + (in.title.empty() ? 0 : textHeight + 4);
  l.barBottom = std::max(height - std::max(bottomMargin, kGap + textHeight / 2), l.barTop + 2);
  const double scale = (l.barBottom - l.barTop) / (in.hi - in.lo);
  auto rowOf = [&](double v) { return l.barBottom - static_cast<int>(std::lround((v - in.lo) * scale)); };

  const auto [first, last] = LevelIndices(in);
  const long long count = last - first + 1;
  if (count <= 0) return l;
  // Ticks: every level unless they would be closer than three pixels.
  const double spacing = in.step * scale;
  long long tickStride = 1;
  while (spacing * tickStride < 3.0 && tickStride < count) tickStride *= 2;
  // Numbers: the smallest 1-2-5 stride at which two numbers are a text height and more apart.
  long long stride = 1;
  for (long long decade = 1; spacing * stride < textHeight + 2 && stride < count; decade *= 10) {
    for (long long m : {1, 2, 5}) {
      stride = m * decade;
      if (spacing * stride >= textHeight + 2) break;
    }
  }
  int lastTop = height + textHeight;  // the top row of the number written last (lower on the bar)
  const NumberFormat numberFormat = SpacedFormat(in, stride);
  for (long long n = first; n <= last; ++n) {
    const bool labelled = n % stride == 0;
    if (!labelled && n % tickStride != 0) continue;
    ColourBarTick t;
    t.level = static_cast<double>(n) * in.step;
    t.y = rowOf(t.level);
    if (labelled) {
      const int top = t.y - textHeight / 2;
      if (top + textHeight < lastTop && top >= 0) {
        t.text = FormatAxisNumber(t.level, numberFormat);
        lastTop = top;
      }
    }
    l.ticks.push_back(t);
  }
  return l;
}

void DrawColourBar(Canvas& canvas, const ColourBarInput& in, int width, int height, int bottomMargin) {
  const FontSpec held = canvas.Font();
  FontSpec font = in.font;
  font.colour = in.foreground;
  font.angleTenths = 0;
  canvas.SetFont(font);
  const BarTextMeasure measure = [&canvas](const std::string& s) {
    return std::pair<int, int>{canvas.TextWidth(s), canvas.TextHeight(s)};
  };
  const ColourBarLayout l = LayoutColourBar(in, width, height, bottomMargin, measure);
  if (l.stripWidth == 0) {
    canvas.SetFont(held);
    return;
  }
  // The strip is the bar's own: whatever the plot layers drew into it goes.
  canvas.SetPen(in.background, 1);
  canvas.SetBrush(in.background, BrushStyle::Solid);
  // One pixel past the picture's edges, so a vector viewer's rounding shows no sliver under it.
  canvas.Rectangle(l.stripLeft, -1, width + 1, height + 1);

  // Bands from the bottom (lo) up, each cut to the bar; the piece below the first level takes
  // the colour of the band it belongs to, as in the picture.
  const double scale = (l.barBottom - l.barTop) / (in.hi - in.lo);
  auto rowOf = [&](double v) { return l.barBottom - static_cast<int>(std::lround((v - in.lo) * scale)); };
  long long n = static_cast<long long>(std::floor(in.lo / in.step));
  // Band n takes the colour the fill gives it: that of its upper level (n + 1) * step.
  const LevelPalette palette(in.lo, in.hi, in.step, in.kind);
  for (int guard = 0; guard <= kMaxLevels + 2; ++guard, ++n) {
    const double lower = std::max(static_cast<double>(n) * in.step, in.lo);
    const double upper = std::min(static_cast<double>(n + 1) * in.step, in.hi);
    if (lower >= in.hi) break;
    if (upper <= lower) continue;
    const Colour c = palette(static_cast<double>(n + 1) * in.step);
    canvas.SetPen(c, 1);
    canvas.SetBrush(c, BrushStyle::Solid);
    canvas.Rectangle(l.barLeft, rowOf(upper), l.barRight, rowOf(lower));
  }

  canvas.SetPen(in.foreground, 1);
  canvas.SetBrushStyle(BrushStyle::Hollow);
  const QPoint frame[5] = {{l.barLeft, l.barTop}, {l.barRight, l.barTop}, {l.barRight, l.barBottom},
                           {l.barLeft, l.barBottom}, {l.barLeft, l.barTop}};
  canvas.Polyline(frame, 5);
  for (const ColourBarTick& t : l.ticks) {
    canvas.MoveTo(l.barRight, t.y);
    canvas.LineTo(l.barRight + kTick, t.y);
    if (!t.text.empty()) canvas.TextOut(l.barRight + kTick + 3, t.y - canvas.TextHeight(t.text) / 2, t.text);
  }
  if (!in.title.empty()) canvas.TextOut(l.titleX, l.titleY, in.title);
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.SetFont(held);
}

}  // namespace corvane
