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

// Twice the signed area of a loop: positive for outer loops, which run the way the polygons
// were turned, negative for holes.
double Area2(const std::vector<QPoint>& loop) {
  double sum = 0.0;
  for (std::size_t i = 0, n = loop.size(); i < n; ++i) {
    const QPoint& a = loop[i];
    const QPoint& b = loop[(i + 1) % n];
    sum += static_cast<double>(a.x()) * b.y() - static_cast<double>(b.x()) * a.y();
  }
  return sum;
}

// Whether (x, y) lies inside the loop (crossing count).
bool Inside(const std::vector<QPoint>& loop, double x, double y) {
  bool inside = false;
  for (std::size_t i = 0, n = loop.size(), j = n - 1; i < n; j = i++) {
    const double xi = loop[i].x(), yi = loop[i].y(), xj = loop[j].x(), yj = loop[j].y();
    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
  }
  return inside;
}

// The loops of one band in one group split into regions: every outer loop with the holes whose
// smallest surrounding outer loop it is. A hole no outer loop surrounds (loops touching in a way
// the test cannot tell) keeps every loop of the band in one region, which paints the same.
void SplitRegions(Colour colour, std::vector<std::vector<QPoint>> loops, std::vector<MergedRegion>& out) {
  struct Outer {
    std::size_t loop;
    double area;
    QRect box;
  };
  std::vector<Outer> outers;
  std::vector<std::size_t> holes;
  for (std::size_t k = 0; k < loops.size(); ++k) {
    const double area = Area2(loops[k]);
    if (area > 0) {
      int x0 = loops[k][0].x(), x1 = x0, y0 = loops[k][0].y(), y1 = y0;
      for (const QPoint& p : loops[k]) x0 = std::min(x0, p.x()), x1 = std::max(x1, p.x()), y0 = std::min(y0, p.y()), y1 = std::max(y1, p.y());
      outers.push_back({k, area, QRect(QPoint(x0, y0), QPoint(x1, y1))});
    } else {
      holes.push_back(k);
    }
  }
  std::sort(outers.begin(), outers.end(), [](const Outer& a, const Outer& b) { return a.area < b.area; });
  std::vector<std::vector<std::size_t>> holesOf(outers.size());
  for (std::size_t h : holes) {
    // A point on the hole's first edge, halfway: inside the region's outer loop, off its edges.
    const QPoint a = loops[h][0], b = loops[h][1];
    const double x = (a.x() + b.x()) / 2.0, y = (a.y() + b.y()) / 2.0;
    std::size_t found = outers.size();
    for (std::size_t o = 0; o < outers.size() && found == outers.size(); ++o) {
      const QRect& box = outers[o].box;
      if (x >= box.left() && x <= box.right() && y >= box.top() && y <= box.bottom() && Inside(loops[outers[o].loop], x, y))
        found = o;
    }
    if (found == outers.size()) {
      out.push_back({colour, std::move(loops)});
      return;
    }
    holesOf[found].push_back(h);
  }
  // In the order the loops were found, not by size.
  std::vector<std::size_t> byLoop(outers.size());
  for (std::size_t o = 0; o < outers.size(); ++o) byLoop[o] = o;
  std::sort(byLoop.begin(), byLoop.end(), [&](std::size_t a, std::size_t b) { return outers[a].loop < outers[b].loop; });
  for (std::size_t o : byLoop) {
    MergedRegion region{colour, {std::move(loops[outers[o].loop])}};
    for (std::size_t h : holesOf[o]) region.loops.push_back(std::move(loops[h]));
    out.push_back(std::move(region));
  }
}

}  // namespace

void BandMergingCanvas::Polygon(const QPoint* points, int count) {
  if (count < 3 || brushStyle_ != BrushStyle::Solid) return;
  if (groups_.empty()) NewGroup();
  Group& group = groups_.back();
  auto [it, fresh] = group.bands.try_emplace(brush_);
  if (fresh) group.order.push_back(brush_);
  penWidths_[brush_] = penWidth_;
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

std::vector<MergedRegion> BandMergingCanvas::Regions() const {
  std::vector<MergedRegion> out;
  for (const Group& group : groups_)
    for (Colour c : group.order) SplitRegions(c, ChainLoops(NetEdges(group.bands.at(c).edges)), out);
  return out;
}

void BandMergingCanvas::WriteTo(QPainter& painter, double scale) const {
  painter.save();
  for (const MergedRegion& region : Regions()) {
    if (region.loops.empty()) continue;
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const std::vector<QPoint>& loop : region.loops) {
      path.moveTo(QPointF(loop.front()) * scale);
      for (std::size_t i = 1; i < loop.size(); ++i) path.lineTo(QPointF(loop[i]) * scale);
      path.closeSubpath();
    }
    painter.setPen(QPen(ToQColor(region.colour), std::max(penWidths_.at(region.colour), 1), Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.setBrush(ToQColor(region.colour));
    painter.drawPath(path);
  }
  painter.restore();
}

}  // namespace corvane
