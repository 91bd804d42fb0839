#include "contour/ContourLabels.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace corvane {

namespace {

// Round half to even, saturated to 32 bits (NaN gives 0).
std::int32_t RoundToInt32(double value) {
  const double r = std::nearbyint(value);
  if (!(r == r)) return 0;
  if (r >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (r <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(r);
}

double SlotDistance(const QPoint& a, const QPoint& b) {
  const double dx = static_cast<double>(b.x()) - a.x();
  const double dy = static_cast<double>(b.y()) - a.y();
  return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

// Pass 1 decides whether the level may have a label at all and on which polyline; pass 2 walks
// that polyline to a random distance; pass 3 keeps the spot unless it crowds an earlier label.
void PlaceLevelLabel(Canvas& canvas, std::vector<ContourLabel>& labels, const LevelPolylineBuffer& buffer,
                     const std::vector<PolylineFigure>& polylines, double level, const LabelRules& rules,
                     Random& random) {
  const ContourOptions& o = rules.options;
  // Pass 1: switches, the allowed part of the range, the longest polyline (first on ties).
  if (!o.ShowLabel) return;
  if (o.LabelRegulate) {
    const double pct = (level - rules.readout.ReadoutMin) / (rules.readout.ReadoutMax - rules.readout.ReadoutMin) * 100.0;
    if (pct < o.LabelMin || pct > o.LabelMax) return;
  }
  const PolylineFigure* best = nullptr;
  for (const PolylineFigure& f : polylines)
    if (best == nullptr || f.length > best->length) best = &f;
  if (best == nullptr || best->segments < 5) return;

  // Pass 2: the first interior point at which the walked length exceeds a target between
  // about 10 % and 90 % of the line.
  const double target = random.Next(RoundToInt32(0.8 * best->length)) + 0.1 * best->length;
  const std::int32_t lastSlot = best->firstSlot + best->segments;
  if (best->firstSlot < 0 || lastSlot >= buffer.filled) return;
  const QPoint* pt = buffer.points.data();
  double walked = 0.0;
  std::int32_t spot = -1;
  for (std::int32_t i = best->firstSlot + 1; i < lastSlot; ++i) {
    walked += SlotDistance(pt[i - 1], pt[i]);
    if (walked > target) {
      spot = i;
      break;
    }
  }
  if (spot < 0) return;

  // Pass 3: centre and direction from the spot's two neighbours, then the spacing rule, which
  // compares axis-parallel distances with the size of the new text only.
  const std::string text = FormatAxisNumber(level, rules.numberFormat);
  const QPoint before = pt[spot - 1], after = pt[spot + 1];
  const std::int32_t cx = RoundToInt32((static_cast<double>(before.x()) + after.x()) / 2.0);
  const std::int32_t cy = RoundToInt32((static_cast<double>(before.y()) + after.y()) / 2.0);
  const double dx = static_cast<double>(after.x()) - before.x();
  const double dy = static_cast<double>(after.y()) - before.y();
  const double w = canvas.TextWidth(text), h = canvas.TextHeight(text);
  const double gap = o.LabelSukima;
  for (const ContourLabel& l : labels) {
    if (std::fabs(static_cast<double>(cx) - l.x) < w + gap && std::fabs(static_cast<double>(cy) - l.y) < h + gap)
      return;
  }
  // Text upright whichever way the line runs.
  std::int32_t angle = RoundToInt32(std::atan2(-dy, dx) / std::numbers::pi * 180.0 * 10.0);
  if (angle > 900) angle -= 1800;
  if (angle < -900) angle += 1800;
  labels.push_back({text, cx, cy, angle});
}

// Pass 1 measures every text in the upright label font; pass 2 writes each one rotated, moved so
// that the middle of its rotated box lies on the label's centre.
void DrawContourLabels(Canvas& canvas, const std::vector<ContourLabel>& labels, const FontSpec& labelFont,
                       bool backClear, Colour background, const FontSpec& axisFont) {
  canvas.SetFont(labelFont);
  std::vector<std::pair<int, int>> sizes;
  sizes.reserve(labels.size());
  for (const ContourLabel& l : labels) sizes.emplace_back(canvas.TextWidth(l.text), canvas.TextHeight(l.text));

  if (backClear)
    canvas.SetBrushStyle(BrushStyle::Hollow);
  else
    canvas.SetBrush(background, BrushStyle::Solid);
  FontSpec rotated = labelFont;
  for (std::size_t n = 0; n < labels.size(); ++n) {
    const ContourLabel& l = labels[n];
    const double w = sizes[n].first, h = sizes[n].second;
    const double theta = l.angle / 10.0 / 180.0 * std::numbers::pi;
    const double x = static_cast<double>(l.x) - RoundToInt32(w / 2.0 * std::cos(theta)) - RoundToInt32(h / 2.0 * std::sin(theta));
    const double y = static_cast<double>(l.y) + RoundToInt32(w / 2.0 * std::sin(theta)) - RoundToInt32(h / 2.0 * std::cos(theta));
    rotated.angleTenths = l.angle;
    canvas.SetFont(rotated);
    canvas.TextOut(RoundToInt32(x), RoundToInt32(y), l.text);
  }
  canvas.SetFont(axisFont);
}

}  // namespace corvane
