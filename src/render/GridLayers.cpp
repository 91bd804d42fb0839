#include "render/GridLayers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "base/BothCores.h"
#include "render/PixelLines.h"
#include "render/PixelMapper.h"

namespace corvane {
namespace {

// The pixel of a node without a finite position: no segment to or from it is drawn, so a node
// at NaN or infinity leaves a gap instead of a line to the picture's edge.
const QPoint kNoPixel(std::numeric_limits<int>::min(), std::numeric_limits<int>::min());

// Walks one polyline of node pixels and sends only the segments that can touch the picture to
// the sink (a Canvas, or a PixelSink). A segment is drawn when its bounding box reaches the
// interior [1, W) x [1, H); a drawn segment that starts outside is resumed with a MoveTo at its
// start, so no stray line joins the points where the polyline left and re-entered the picture.
template <class Sink>
class ClippedLine {
 public:
  ClippedLine(Sink& canvas, std::int32_t width, std::int32_t height, bool gridLine)
      : canvas_(canvas), w_(width), h_(height), grid_(gridLine) {}

  void Start(QPoint p0) {
    Flush();
    Move(p0);
    prev_ = p0;
    broken_ = p0 == kNoPixel;
  }

  void Next(QPoint cur) {
    if (grid_ && cur == prev_) return;  // a grid segment of no length lights nothing new
    if (cur == kNoPixel || prev_ == kNoPixel) {
      prev_ = cur;
      broken_ = true;  // the pen no longer stands at prev
      return;
    }
    if (!Touches(prev_, cur)) {
      prev_ = cur;
      return;
    }
    if (Outside(prev_) || broken_) {
      Flush();
      Move(prev_);
      broken_ = false;
    }
    if (grid_) {
      // Grid lines: a step continuing a straight horizontal, vertical or diagonal run extends
      // the pending LineTo; the pixels are the same and a dense grid sends far fewer calls.
      const QPoint step = Step(prev_, cur);
      if (pending_ && step == direction_ && step != QPoint()) {
        end_ = cur;
      } else {
        Flush();
        pending_ = true;
        end_ = cur;
        direction_ = step;
      }
    } else {
      canvas_.LineTo(cur.x(), cur.y());
    }
    prev_ = cur;
  }

  void Flush() {
    if (pending_) run_.push_back(end_);
    pending_ = false;
  }

  // Ends the polyline: grid runs go to the canvas as one Polyline each.
  void Finish() {
    Flush();
    if (run_.size() >= 2) canvas_.Polyline(run_.data(), static_cast<int>(run_.size()));
    run_.clear();
  }

 private:
  // Boundaries move the canvas pen as the lines are walked; grid lines gather runs of points,
  // a bare MoveTo (a run without a segment) drawing nothing.
  void Move(QPoint p) {
    if (!grid_) {
      if (p != kNoPixel) canvas_.MoveTo(p.x(), p.y());
      return;
    }
    if (run_.size() >= 2) canvas_.Polyline(run_.data(), static_cast<int>(run_.size()));
    run_.clear();
    if (p != kNoPixel) run_.push_back(p);
  }

  bool Touches(QPoint a, QPoint b) const {
    return std::min(a.x(), b.x()) < w_ && std::max(a.x(), b.x()) >= 1 && std::min(a.y(), b.y()) < h_ &&
           std::max(a.y(), b.y()) >= 1;
  }
  bool Outside(QPoint p) const { return p.x() >= w_ || p.x() < 1 || p.y() >= h_ || p.y() < 1; }
  // The unit direction of a horizontal, vertical or 45-degree segment; (0, 0) for any other.
  static QPoint Step(QPoint a, QPoint b) {
    const long long dx = static_cast<long long>(b.x()) - a.x(), dy = static_cast<long long>(b.y()) - a.y();
    if (dx != 0 && dy != 0 && std::llabs(dx) != std::llabs(dy)) return QPoint();
    return QPoint((dx > 0) - (dx < 0), (dy > 0) - (dy < 0));
  }

  Sink& canvas_;
  std::int32_t w_, h_;
  bool grid_;
  QPoint prev_;
  bool broken_ = false;
  bool pending_ = false;
  QPoint end_, direction_;
  std::vector<QPoint> run_;
};

// Grid lines set straight into an image's pixels; one per thread.
struct PixelSink {
  PixelRows target;
  std::uint32_t colour;
  void Polyline(const QPoint* points, int count) { LightPolyline(target, colour, points, count); }
  void MoveTo(int x, int y) { position = QPoint(x, y); }
  void LineTo(int x, int y) {
    const QPoint segment[2] = {position, QPoint(x, y)};
    Polyline(segment, 2);
    position = segment[1];
  }
  QPoint position;
};

constexpr std::size_t kTile = 32;

QPoint NodePixel(const LayerContext& context, std::int32_t node) {
  const std::size_t n = static_cast<std::size_t>(node);
  if (!std::isfinite(context.data.X[n]) || !std::isfinite(context.data.Y[n])) return kNoPixel;
  return QPoint(context.PixelX(node), context.PixelY(node));
}

// True when a zone's nodes all lie inside the data set's arrays.
bool ZoneFits(const FieldDataSet& data, const ZoneGrid& zone) {
  if (zone.NI <= 0 || zone.NJ <= 0 || zone.FirstNode < 0) return false;
  const long long end = static_cast<long long>(zone.FirstNode) + static_cast<long long>(zone.NI) * zone.NJ;
  return end <= static_cast<long long>(data.X.size()) && end <= static_cast<long long>(data.Y.size());
}

// The grid lines of every zone as polylines of node pixels: every line of constant i, then every
// line of constant j. `lines(block, count, length)` receives `count` polylines of `length`
// points each, stored one after the other.
template <class Lines>
void WalkGridLines(const LayerContext& context, Lines&& lines) {
  const PixelMapper map(context.view, context.offsetX, context.offsetY);
  std::vector<QPoint> pixels;
  std::vector<QPoint> transposed;
  for (const ZoneGrid& zone : context.data.Zones) {
    if (!ZoneFits(context.data, zone)) continue;
    // Pass 1: every node's pixel once, on both cores; each node lies on one line of each family.
    const std::size_t count = static_cast<std::size_t>(zone.NI) * static_cast<std::size_t>(zone.NJ);
    pixels.resize(count);
    const double* x = context.data.X.data() + zone.FirstNode;
    const double* y = context.data.Y.data() + zone.FirstNode;
    RunOnBothCores(static_cast<std::int64_t>(count), 1 << 16, [&](std::int64_t begin, std::int64_t end) {
      for (std::int64_t n = begin; n < end; ++n)
        pixels[static_cast<std::size_t>(n)] =
            std::isfinite(x[n]) && std::isfinite(y[n]) ? QPoint(map.X(x[n]), map.Y(y[n])) : kNoPixel;
    });
    const std::size_t ni = static_cast<std::size_t>(zone.NI), nj = static_cast<std::size_t>(zone.NJ);
    // Pass 2: lines of constant i (j runs, contiguous).
    lines(pixels.data(), ni, nj);
    // Pass 3: the pixels transposed tile by tile, so the lines of constant j read them in order.
    transposed.resize(count);
    const std::int64_t tileRows = static_cast<std::int64_t>((ni + kTile - 1) / kTile);
    RunOnBothCores(tileRows, count >= (1u << 16) ? 2 : 1 << 30, [&](std::int64_t first, std::int64_t last) {
      for (std::size_t i0 = static_cast<std::size_t>(first) * kTile; i0 < std::min(static_cast<std::size_t>(last) * kTile, ni); i0 += kTile)
        for (std::size_t j0 = 0; j0 < nj; j0 += kTile)
          for (std::size_t i = i0; i < std::min(i0 + kTile, ni); ++i)
            for (std::size_t j = j0; j < std::min(j0 + kTile, nj); ++j) transposed[j * ni + i] = pixels[i * nj + j];
    });
    // Pass 4: lines of constant j (i runs).
    lines(transposed.data(), nj, ni);
  }
}

// Sends polylines [first, last) of a block through a clipped line into the sink.
template <class Sink>
void ClipPolylines(ClippedLine<Sink>& line, const QPoint* block, std::size_t first, std::size_t last, std::size_t length) {
  for (std::size_t k = first; k < last; ++k) {
    const QPoint* points = block + k * length;
    line.Start(points[0]);
    for (std::size_t p = 1; p < length; ++p) line.Next(points[p]);
    line.Finish();
  }
}

}  // namespace

void DrawGridLines(const LayerContext& context, Canvas& canvas) {
  canvas.SetPen(context.foreground, 1);
  ClippedLine<Canvas> line(canvas, context.view.PictureWidth, context.view.PictureHeight, true);
  WalkGridLines(context, [&](const QPoint* block, std::size_t count, std::size_t length) {
    ClipPolylines(line, block, 0, count, length);
  });
}

void DrawGridLinesInto(const LayerContext& context, QImage& image, int threads) {
  if (image.format() != QImage::Format_RGB32 || image.isNull()) return;
  const PixelRows target = PixelRowsOf(image);
  const std::uint32_t colour = ArgbOf(context.foreground);
  WalkGridLines(context, [&](const QPoint* block, std::size_t count, std::size_t length) {
    // The pixels a line lights do not depend on the order the lines are drawn in.
    RunOnBothCores(static_cast<std::int64_t>(count),
                   threads > 1 && count * length >= (1u << 14) ? 2 : std::numeric_limits<std::int64_t>::max(),
                   [&](std::int64_t first, std::int64_t last) {
                     PixelSink sink{target, colour, QPoint()};
                     ClippedLine<PixelSink> line(sink, context.view.PictureWidth, context.view.PictureHeight, true);
                     ClipPolylines(line, block, static_cast<std::size_t>(first), static_cast<std::size_t>(last), length);
                   });
  });
}

void DrawZoneBoundaries(const LayerContext& context, Canvas& canvas) {
  canvas.SetPen(context.foreground, 1);
  ClippedLine<Canvas> line(canvas, context.view.PictureWidth, context.view.PictureHeight, false);
  const FieldDataSet& data = context.data;
  for (std::size_t z = 0; z < data.Zones.size(); ++z) {
    const ZoneGrid& zone = data.Zones[z];
    if (!ZoneFits(data, zone)) continue;
    const std::vector<BoundaryFlags>& edges = context.fieldView.Boundaries;
    const BoundaryFlags flags = z < edges.size() ? edges[z] : BoundaryFlags{};
    const std::int32_t zi = static_cast<std::int32_t>(z);
    const std::int32_t imax = zone.NI - 1, jmax = zone.NJ - 1;
    auto at = [&](std::int32_t i, std::int32_t j) { return NodePixel(context, NodeIndex(data, zi, i, j)); };
    // Round the zone: j = 0 forwards, i = imax upwards, j = jmax backwards, i = 0 downwards.
    if (flags.j0) {
      line.Start(at(0, 0));
      for (std::int32_t i = 1; i <= imax; ++i) line.Next(at(i, 0));
    }
    if (flags.imax) {
      line.Start(at(imax, 0));
      for (std::int32_t j = 1; j <= jmax; ++j) line.Next(at(imax, j));
    }
    if (flags.jmax) {
      line.Start(at(imax, jmax));
      for (std::int32_t i = imax - 1; i >= 0; --i) line.Next(at(i, jmax));
    }
    if (flags.i0) {
      line.Start(at(0, jmax));
      for (std::int32_t j = jmax - 1; j >= 0; --j) line.Next(at(0, j));
    }
  }
}

}  // namespace corvane
