#include "contour/BandMerge.h"

#include <QPainterPath>
#include <algorithm>

#include "render/PainterCanvas.h"

namespace corvane {
namespace {

using Edge = std::pair<QPoint, QPoint>;

bool Less(const QPoint& a, const QPoint& b) { return a.x() < b.x() || (a.x() == b.x() && a.y() < b.y()); }

// The edges that stay when every edge met both ways cancels against its reverse, and every
// edge met twice the same way stays twice (overlapping polygons still count).
std::vector<Edge> NetEdges(const std::vector<Edge>& edges) {
  // Key: the edge with its ends in a fixed order, and +1 or -1 for the way it runs.
  struct Keyed {
    QPoint a, b;
    int sign;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(edges.size());
  for (const Edge& e : edges) {
    if (e.first == e.second) continue;
    if (Less(e.first, e.second)) keyed.push_back({e.first, e.second, 1});
    else keyed.push_back({e.second, e.first, -1});
  }
  std::sort(keyed.begin(), keyed.end(), [](const Keyed& x, const Keyed& y) {
    if (x.a != y.a) return Less(x.a, y.a);
    return Less(x.b, y.b);
  });
  std::vector<Edge> net;
  for (std::size_t i = 0; i < keyed.size();) {
    std::size_t j = i;
    int sum = 0;
    while (j < keyed.size() && keyed[j].a == keyed[i].a && keyed[j].b == keyed[i].b) sum += keyed[j++].sign;
    for (; sum > 0; --sum) net.push_back({keyed[i].a, keyed[i].b});
    for (; sum < 0; ++sum) net.push_back({keyed[i].b, keyed[i].a});
    i = j;
  }
  return net;
}

// Chains directed edges into closed loops (each edge used once), dropping points in the middle
// of straight runs.
std::vector<std::vector<QPoint>> ChainLoops(std::vector<Edge> edges) {
  std::sort(edges.begin(), edges.end(), [](const Edge& x, const Edge& y) { return Less(x.first, y.first); });
  std::vector<bool> used(edges.size(), false);
  auto firstFrom = [&](const QPoint& p) {
    auto it = std::lower_bound(edges.begin(), edges.end(), p, [](const Edge& e, const QPoint& q) { return Less(e.first, q); });
    return static_cast<std::size_t>(it - edges.begin());
  };
  std::vector<std::vector<QPoint>> loops;
  for (std::size_t start = 0; start < edges.size(); ++start) {
    if (used[start]) continue;
    std::vector<QPoint> loop;
    std::size_t e = start;
    while (true) {
      used[e] = true;
      loop.push_back(edges[e].first);
      const QPoint end = edges[e].second;
      std::size_t next = firstFrom(end);
      while (next < edges.size() && edges[next].first == end && used[next]) ++next;
      if (next >= edges.size() || edges[next].first != end) break;  // back at the start (or open)
      e = next;
    }
    // Straight runs: a point between two collinear edges goes.
    std::vector<QPoint> simple;
    const std::size_t n = loop.size();
    for (std::size_t i = 0; i < n; ++i) {
      const QPoint a = loop[(i + n - 1) % n], b = loop[i], c = loop[(i + 1) % n];
      const long long cross = static_cast<long long>(b.x() - a.x()) * (c.y() - b.y()) -
                              static_cast<long long>(b.y() - a.y()) * (c.x() - b.x());
      const long long dot = static_cast<long long>(b.x() - a.x()) * (c.x() - b.x()) +
                            static_cast<long long>(b.y() - a.y()) * (c.y() - b.y());
      if (cross != 0 || dot < 0) simple.push_back(b);
    }
    if (simple.size() >= 3) loops.push_back(std::move(simple));
  }
  return loops;
}

}  // namespace

void BandMergingCanvas::Polygon(const QPoint* points, int count) {
  if (count < 3 || brushStyle_ != BrushStyle::Solid) return;
  auto [it, fresh] = bands_.try_emplace(brush_);
  if (fresh) order_.push_back(brush_);
  it->second.penWidth = penWidth_;
  long long area2 = 0;
  for (int i = 0; i < count; ++i) {
    const QPoint& a = points[i];
    const QPoint& b = points[(i + 1) % count];
    area2 += static_cast<long long>(a.x()) * b.y() - static_cast<long long>(b.x()) * a.y();
  }
  // One way round for every polygon, so shared edges run opposite ways and cancel.
  for (int i = 0; i < count; ++i) {
    const QPoint& a = points[i];
    const QPoint& b = points[(i + 1) % count];
    if (area2 >= 0) it->second.edges.push_back({a, b});
    else it->second.edges.push_back({b, a});
  }
}

std::vector<std::pair<Colour, std::vector<std::vector<QPoint>>>> BandMergingCanvas::Loops() const {
  std::vector<std::pair<Colour, std::vector<std::vector<QPoint>>>> out;
  for (Colour c : order_) out.push_back({c, ChainLoops(NetEdges(bands_.at(c).edges))});
  return out;
}

void BandMergingCanvas::WriteTo(QPainter& painter) const {
  painter.save();
  for (const auto& [colour, loops] : Loops()) {
    if (loops.empty()) continue;
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const std::vector<QPoint>& loop : loops) {
      path.moveTo(loop.front());
      for (std::size_t i = 1; i < loop.size(); ++i) path.lineTo(loop[i]);
      path.closeSubpath();
    }
    painter.setPen(QPen(ToQColor(colour), std::max(bands_.at(colour).penWidth, 1), Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.setBrush(ToQColor(colour));
    painter.drawPath(path);
  }
  painter.restore();
}

}  // namespace corvane
