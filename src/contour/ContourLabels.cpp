#include "contour/ContourLabels.h"

#include <algorithm>
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

// Whether two label boxes (centre, width and height, angle in tenths of a degree counter-
// clockwise on screen), each widened by `margin` on every side, overlap: they do unless one of
// the four side directions separates them.
bool BoxesOverlap(double x1, double y1, double w1, double h1, std::int32_t angle1, double x2, double y2, double w2,
                  double h2, std::int32_t angle2, double margin) {
  const double t1 = angle1 / 1800.0 * std::numbers::pi, t2 = angle2 / 1800.0 * std::numbers::pi;
  // Directions along and across each text, in screen pixels (y grows downwards).
  const double axes[4][2] = {{std::cos(t1), -std::sin(t1)}, {std::sin(t1), std::cos(t1)},
                             {std::cos(t2), -std::sin(t2)}, {std::sin(t2), std::cos(t2)}};
  const double half1[2] = {w1 / 2.0 + margin, h1 / 2.0 + margin}, half2[2] = {w2 / 2.0 + margin, h2 / 2.0 + margin};
  for (const auto& n : axes) {
    const double reach1 = half1[0] * std::fabs(axes[0][0] * n[0] + axes[0][1] * n[1]) +
                          half1[1] * std::fabs(axes[1][0] * n[0] + axes[1][1] * n[1]);
    const double reach2 = half2[0] * std::fabs(axes[2][0] * n[0] + axes[2][1] * n[1]) +
                          half2[1] * std::fabs(axes[3][0] * n[0] + axes[3][1] * n[1]);
    if (std::fabs((x2 - x1) * n[0] + (y2 - y1) * n[1]) >= reach1 + reach2) return false;
  }
  return true;
}

// Whether the box of a label (centre, width, height, angle in tenths of a degree) lies wholly
// inside `area`, every corner of it turned like the text.
bool BoxInside(const QRect& area, double cx, double cy, double w, double h, std::int32_t angle) {
  if (area.isNull()) return true;  // no limit given
  const double t = angle / 1800.0 * std::numbers::pi;
  const double ux = std::cos(t) * w / 2.0, uy = -std::sin(t) * w / 2.0;  // along the text
  const double vx = std::sin(t) * h / 2.0, vy = std::cos(t) * h / 2.0;   // across it
  for (const double a : {-1.0, 1.0})
    for (const double b : {-1.0, 1.0}) {
      const double x = cx + a * ux + b * vx, y = cy + a * uy + b * vy;
      if (x < area.left() || x > area.right() + 1.0 || y < area.top() || y > area.bottom() + 1.0) return false;
    }
  return true;
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

  // Pass 3: centre and direction from the spot's two neighbours, then the spacing rule: the
  // new label's box, turned like its text, must stay `labelGap` pixels (and one more for the
  // rounding of where text is written) clear of every label kept so far, turned like its own.
  // The boxes are measured in the label font the texts are written in.
  const std::string text = FormatAxisNumber(level, rules.numberFormat);
  const QPoint before = pt[spot - 1], after = pt[spot + 1];
  const std::int32_t cx = RoundToInt32((static_cast<double>(before.x()) + after.x()) / 2.0);
  const std::int32_t cy = RoundToInt32((static_cast<double>(before.y()) + after.y()) / 2.0);
  const double dx = static_cast<double>(after.x()) - before.x();
  const double dy = static_cast<double>(after.y()) - before.y();
  // Text upright whichever way the line runs.
  std::int32_t angle = RoundToInt32(std::atan2(-dy, dx) / std::numbers::pi * 180.0 * 10.0);
  if (angle > 900) angle -= 1800;
  if (angle < -900) angle += 1800;
  const FontSpec held = canvas.Font();
  FontSpec upright = o.LabelExp;
  upright.angleTenths = 0;
  canvas.SetFont(upright);
  const double margin = (std::max(o.labelGap, 0) + 1) / 2.0;
  // A label cut by the picture's edge or lying over the axis margins is no label.
  bool crowded = !BoxInside(rules.area, cx, cy, canvas.TextWidth(text), canvas.TextHeight(text), angle);
  for (const ContourLabel& l : labels) {
    if (crowded) break;
    crowded = BoxesOverlap(cx, cy, canvas.TextWidth(text), canvas.TextHeight(text), angle, l.x, l.y,
                           canvas.TextWidth(l.text), canvas.TextHeight(l.text), l.angle, margin);
    if (crowded) break;
  }
  canvas.SetFont(held);
  if (!crowded) labels.push_back({text, cx, cy, angle});
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
