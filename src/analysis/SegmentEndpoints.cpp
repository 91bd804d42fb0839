#include "analysis/SegmentEndpoints.h"

#include <cmath>
#include <cstdint>

#include "base/Errors.h"
#include "render/ClipArea.h"
#include "render/NumberFormat.h"

namespace corvane {
namespace {

// The controls of one point, so both points share one resolver.
struct PointControls {
  const char* name;  // "点1" / "点2"
  int zone, i, j;
  bool direct;
  const std::string& xText;
  const std::string& yText;
  const char* xControl;
  const char* yControl;
};

PointControls ControlsOf(const AnalysisOptions& o, SegmentPoint which) {
  if (which == SegmentPoint::First) return {"点1", o.P1Zone, o.P1i, o.P1j, o.P1Direct, o.P1x, o.P1y, "P1x", "P1y"};
  return {"点2", o.P2Zone, o.P2i, o.P2j, o.P2Direct, o.P2x, o.P2y, "P2x", "P2y"};
}

// A typed coordinate; "nan" and "inf" parse as numbers but place no point.
double TypedCoordinate(const char* control, const std::string& text) {
  const double v = ParseDoubleValue(control, text);
  if (!std::isfinite(v)) throw CorvaneError(std::string(control) + " の値 \"" + text + "\" は有限の数値ではありません");
  return v;
}

}  // namespace

// Typed point or node coordinates; a node outside its zone (the i and j boxes keep their values
// when the zone changes) is reported instead of being read.
ResolvedEndpoint ResolveEndpoint(const FieldDataSet& data, const AnalysisOptions& options, SegmentPoint which) {
  const PointControls c = ControlsOf(options, which);
  ResolvedEndpoint e;
  if (c.direct) {
    e.point.x = TypedCoordinate(c.xControl, c.xText);
    e.point.y = TypedCoordinate(c.yControl, c.yText);
    e.valid = true;
    return e;
  }
  const std::string name = c.name;
  if (c.zone < 0) {
    e.problem = name + "の領域が選択されていません";
    return e;
  }
  if (c.zone >= data.ZoneCount || static_cast<std::size_t>(c.zone) >= data.Zones.size()) {
    e.problem = name + "の領域 " + std::to_string(c.zone) + " はありません（領域数 " +
                std::to_string(data.ZoneCount) + "）";
    return e;
  }
  const ZoneGrid& z = data.Zones[static_cast<std::size_t>(c.zone)];
  const std::string where = name + "の格子点 (i=" + std::to_string(c.i) + ", j=" + std::to_string(c.j) + ")";
  if (c.i < 0 || c.j < 0 || c.i >= z.NI || c.j >= z.NJ) {
    e.problem = where + " は領域 " + std::to_string(c.zone) + " の範囲 (i 0.." + std::to_string(z.NI - 1) +
                ", j 0.." + std::to_string(z.NJ - 1) + ") の外です";
    return e;
  }
  const std::int64_t node = std::int64_t{z.FirstNode} + std::int64_t{z.NJ} * c.i + c.j;
  if (node < 0 || static_cast<std::uint64_t>(node) >= data.X.size() || static_cast<std::uint64_t>(node) >= data.Y.size()) {
    e.problem = where + " の座標がありません";
    return e;
  }
  e.point = {data.X[static_cast<std::size_t>(node)], data.Y[static_cast<std::size_t>(node)]};
  e.valid = true;
  return e;
}

std::optional<SegmentFigure> QuickSegment(const FieldDataSet& data, const AnalysisOptions& options) {
  const ResolvedEndpoint a = ResolveEndpoint(data, options, SegmentPoint::First);
  const ResolvedEndpoint b = ResolveEndpoint(data, options, SegmentPoint::Second);
  if (!a.valid || !b.valid) return std::nullopt;
  return SegmentFigure{a.point, b.point, options.segmentColour};
}

// Circle, line, circle; pixel coordinates saturate far inside the int range, so the +-4 is safe.
void DrawSegmentFigure(Canvas& canvas, const ViewTransform& view, const SegmentFigure& figure, const QRect& area) {
  // An end at a node without a finite position has no place: no line to the picture's edge.
  if (!std::isfinite(figure.p1.x) || !std::isfinite(figure.p1.y) || !std::isfinite(figure.p2.x) ||
      !std::isfinite(figure.p2.y))
    return;
  canvas.SetPen(figure.colour, 2);
  const int x1 = view.WorldToPixelX(figure.p1.x), y1 = view.WorldToPixelY(figure.p1.y);
  const int x2 = view.WorldToPixelX(figure.p2.x), y2 = view.WorldToPixelY(figure.p2.y);
  ClippedPen pen(canvas, area);
  pen.Ellipse(x1 - 4, y1 - 4, x1 + 4, y1 + 4);
  pen.MoveTo(x1, y1);
  pen.LineTo(x2, y2);
  pen.Ellipse(x2 - 4, y2 - 4, x2 + 4, y2 + 4);
}

void DrawAnalysisSegment(const LayerContext& context, const AnalysisOptions& analysis, Canvas& canvas) {
  if (std::optional<SegmentFigure> f = QuickSegment(context.data, analysis))
    DrawSegmentFigure(canvas, context.view, *f, context.plotArea);
}

PickedPoint PickSegmentPoint(const ViewTransform& view, int mouseX, int mouseY) {
  PickedPoint p;
  p.point = {view.PixelToWorldX(mouseX), view.PixelToWorldY(mouseY)};
  p.xText = FormatGeneral15(p.point.x);
  p.yText = FormatGeneral15(p.point.y);
  return p;
}

NodeBoxLimits NodeBoxMaxima(const FieldDataSet& data, int zone) {
  if (zone < 0 || static_cast<std::size_t>(zone) >= data.Zones.size()) return {};
  const ZoneGrid& z = data.Zones[static_cast<std::size_t>(zone)];
  return {z.NI > 0 ? z.NI - 1 : 0, z.NJ > 0 ? z.NJ - 1 : 0};
}

}  // namespace corvane
