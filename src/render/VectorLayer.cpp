#include "render/VectorLayer.h"

#include <algorithm>
#include <cmath>

#include "render/ClipArea.h"

namespace corvane {

void DrawArrow(Canvas& canvas, const ViewTransform& view, double scale, double u, double v, double x, double y,
               const QRect& area) {
  const double tipX = x + u * scale, tipY = y + v * scale;
  // A velocity that is not a number has no tip; an arrow to a saturated pixel would be a lie.
  if (!std::isfinite(tipX) || !std::isfinite(tipY)) return;
  const QPoint tail(view.WorldToPixelX(x), view.WorldToPixelY(y));
  const QPoint tip(view.WorldToPixelX(tipX), view.WorldToPixelY(tipY));
  if (tail == tip) return;
  const double theta = std::atan2(v, u);
  const double head = std::sqrt(u * u + v * v) * scale / 5.0;
  constexpr double kTenDegrees = 0.17453292519943295;
  const double pi = 3.14159265358979323846;
  const double a1 = theta - kTenDegrees + pi, a2 = theta + kTenDegrees - pi;
  const QPoint barb1(view.WorldToPixelX(tipX + head * std::cos(a1)), view.WorldToPixelY(tipY + head * std::sin(a1)));
  const QPoint barb2(view.WorldToPixelX(tipX + head * std::cos(a2)), view.WorldToPixelY(tipY + head * std::sin(a2)));
  ClippedPen pen(canvas, area);
  pen.MoveTo(tail.x(), tail.y());
  pen.LineTo(tip.x(), tip.y());
  const QPoint triangle[3] = {tip, barb1, barb2};
  pen.Polygon(triangle, 3);
}

void DrawVelocityVectors(const LayerContext& context, Canvas& canvas, Notifier& notifier) {
  const FieldDataSet& data = context.data;
  const int iu = context.load.xvecbox, iv = context.load.yvecbox;
  const int rows = static_cast<int>(data.Values.size());
  if (iu < 0 || iv < 0 || iu >= rows || iv >= rows) {
    notifier.Warning("ベクトルに使用する量を選択してください");
    notifier.RaiseMainWindow();  // the velocity selectors are there
    return;
  }
  const NodeRow& u = data.Values[static_cast<std::size_t>(iu)];
  const NodeRow& v = data.Values[static_cast<std::size_t>(iv)];
  const double scale = context.display.arrowScale;
  canvas.SetPen(context.foreground, 1);
  canvas.SetBrush(context.foreground, BrushStyle::Solid);
  const std::size_t nodes = std::min({data.X.size(), data.Y.size(), u.size(), v.size()});
  for (const ZoneGrid& zone : data.Zones) {
    if (zone.NI <= 0 || zone.NJ <= 0 || zone.FirstNode < 0) continue;
    for (std::int32_t i = 0; i < zone.NI; ++i)
      for (std::int32_t j = 0; j < zone.NJ; ++j) {
        const long long node = static_cast<long long>(zone.FirstNode) + static_cast<long long>(zone.NJ) * i + j;
        if (node >= static_cast<long long>(nodes)) break;
        const std::size_t n = static_cast<std::size_t>(node);
        DrawArrow(canvas, context.view, scale, u[n], v[n], data.X[n] + context.offsetX, data.Y[n] + context.offsetY,
                  context.plotArea);
      }
  }
}

}  // namespace corvane
