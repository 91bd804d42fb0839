#include "contour/ContourFill.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "contour/BandMerge.h"
#include "contour/ColourMap.h"
#include "contour/ContourLevels.h"
#include "contour/Separate.h"
#include "render/PixelLines.h"
#include "render/PixelMapper.h"
#include "base/BothCores.h"

namespace corvane {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Below this pixel area a triangle cannot change what the picture shows.
constexpr double kMinTrianglePixelArea = 0.01;

// Rows of the picture come in stripes of 64; when two threads fill, each owns every other stripe.
constexpr int kStripeShift = 6;

// Whether row y lies in a stripe of the given parity (-1: every row).
inline bool OwnsRow(int parity, int y) { return parity < 0 || ((y >> kStripeShift) & 1) == parity; }

// Whether some row of [y0, y1] lies in a stripe of the given parity.
inline bool OwnsSomeRow(int parity, int y0, int y1) {
  return parity < 0 || (y0 >> kStripeShift) != (y1 >> kStripeShift) || OwnsRow(parity, y0);
}

// An RGB32 image's memory, written row by row without going through QPainter; only the rows of
// the owned stripes are written.
struct PixelTarget {
  std::uint32_t* bits = nullptr;
  qsizetype stride = 0;  // in pixels
  int width = 0;
  int height = 0;
  int stripeParity = -1;
};

// Leftmost and rightmost line pixels of the edge a-b on row y (nothing when the edge misses it).
// Integer coordinates are pixel corners, as QPainter takes them without antialiasing: a steep
// edge lights the pixel its crossing of the row's centre line falls in, a shallow edge lights
// in each column the row its crossing of the column's centre line falls in; both ends are lit.
inline void EdgeRowExtent(const QPoint& a, const QPoint& b, int y, double& lo, double& hi) {
  if (y < std::min(a.y(), b.y()) || y > std::max(a.y(), b.y())) return;
  auto take = [&](double x0, double x1) {
    lo = std::min(lo, x0);
    hi = std::max(hi, x1);
  };
  if (y == a.y()) take(a.x(), a.x());
  if (y == b.y()) take(b.x(), b.x());
  const int dx = b.x() - a.x(), dy = b.y() - a.y();
  if (dy == 0) {
    take(std::min(a.x(), b.x()), std::max(a.x(), b.x()));
    return;
  }
  const double s = static_cast<double>(dx) / dy;  // x per unit of y
  if (std::abs(dy) >= std::abs(dx)) {
    if (y == std::max(a.y(), b.y())) return;  // the row centre lies beyond the edge
    const double x = std::floor(a.x() + (y + 0.5 - a.y()) * s);
    take(x, x);
    return;
  }
  // Column centres X + 0.5 whose crossing lies in [y, y + 1).
  double xa = a.x() + (y - a.y()) * s, xb = a.x() + (y + 1 - a.y()) * s;
  if (xa > xb) std::swap(xa, xb);
  xa = std::max(xa, static_cast<double>(std::min(a.x(), b.x())));
  xb = std::min(xb, static_cast<double>(std::max(a.x(), b.x())));
  const double first = std::ceil(xa - 0.5), last = std::ceil(xb - 0.5) - 1.0;
  if (first <= last) take(first, last);
}

// Fills the polygon row by row: on each row everything between the outermost line pixels of
// its edges. Band polygons are convex, so that is exactly interior plus outline.
void FillPolygon(const PixelTarget& target, const QPoint* p, int count, std::uint32_t argb) {
  if (count <= 0) return;
  int xmin = p[0].x(), xmax = xmin, ymin = p[0].y(), ymax = ymin;
  for (int i = 1; i < count; ++i) {
    xmin = std::min(xmin, p[i].x());
    xmax = std::max(xmax, p[i].x());
    ymin = std::min(ymin, p[i].y());
    ymax = std::max(ymax, p[i].y());
  }
  if (xmax < 0 || ymax < 0 || xmin >= target.width || ymin >= target.height) return;
  if (xmin == xmax && ymin == ymax) return;  // a polygon without extent draws nothing
  if (xmax - xmin <= 1 && ymax - ymin <= 1) {
    // The usual case on a dense grid. Within a 2 x 2 box the edges light little more than
    // their ends and no pixel centre lies inside, so the vertices stand for the polygon.
    for (int i = 0; i < count; ++i) {
      const int x = p[i].x(), y = p[i].y();
      if (x >= 0 && y >= 0 && x < target.width && y < target.height && OwnsRow(target.stripeParity, y))
        target.bits[y * target.stride + x] = argb;
    }
    return;
  }
  const int y0 = std::max(ymin, 0), y1 = std::min(ymax, target.height - 1);
  const double right = target.width - 1;
  for (int y = y0; y <= y1; ++y) {
    if (!OwnsRow(target.stripeParity, y)) continue;
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    for (int i = 0; i < count; ++i) EdgeRowExtent(p[i], p[i + 1 == count ? 0 : i + 1], y, lo, hi);
    lo = std::max(lo, 0.0);
    hi = std::min(hi, right);
    if (!(lo <= hi)) continue;
    std::uint32_t* row = target.bits + y * target.stride;
    std::fill(row + static_cast<int>(lo), row + static_cast<int>(hi) + 1, argb);
  }
}

// EdgeFraction of two node values, inlined: the fill asks it for millions of edges.
inline double Fraction(double va, double vb, double level) { return vb == va ? 2.0 : (level - va) / (vb - va); }

// A crossing point in single precision (as the band polygons hold them) and its pixel.
struct BandPoint {
  float x = 0.0f, y = 0.0f;
  QPoint pixel;
};

// Where the bands of the current copy go: polygons on the canvas, or pixels in the bitmap.
// Triangles too small for a polygon become single pixels: in the bitmap, or on the canvas's
// side in `specks` (an image laid under the polygons), or nowhere when there is neither.
class BandWriter {
 public:
  // `canvas` may be null when every band goes to `pixels`.
  BandWriter(Canvas* canvas, const PixelTarget* pixels, const PixelTarget* specks = nullptr)
      : canvas_(canvas), pixels_(pixels), specks_(pixels ? pixels : specks) {}
  // One band polygon, filled and outlined in its colour.
  void Polygon(Colour colour, const QPoint* points, int count) {
    if (pixels_) {
      FillPolygon(*pixels_, points, count, ArgbOf(colour));
      return;
    }
    if (!canvas_) return;
    canvas_->SetPen(colour, canvas_->PenWidth());
    canvas_->SetBrush(colour, BrushStyle::Solid);
    canvas_->Polygon(points, count);
  }
  bool WritesPixels() const { return pixels_ != nullptr; }
  // The corner pixels of a band polygon within a 2 x 2 box, as FillPolygon sets them.
  void Corners(Colour colour, const QPoint& a, const QPoint& b, const QPoint& c) {
    const PixelTarget& t = *pixels_;
    const std::uint32_t argb = ArgbOf(colour);
    for (const QPoint* p : {&a, &b, &c}) {
      const int x = p->x(), y = p->y();
      if (x >= 0 && y >= 0 && x < t.width && y < t.height && OwnsRow(t.stripeParity, y))
        t.bits[static_cast<qsizetype>(y) * t.stride + x] = argb;
    }
  }
  // One pixel of a triangle too small to draw as a polygon.
  void Pixel(Colour colour, std::int32_t x, std::int32_t y) {
    const PixelTarget* t = specks_;
    if (!t || x < 0 || y < 0 || x >= t->width || y >= t->height || !OwnsRow(t->stripeParity, y)) return;
    t->bits[static_cast<qsizetype>(y) * t->stride + x] = ArgbOf(colour);
  }

 private:
  Canvas* canvas_;
  const PixelTarget* pixels_;
  const PixelTarget* specks_;
};

// Everything one copy's fill needs per triangle, worked out once per drawing.
class BandFiller {
 public:
  BandFiller(const LayerContext& context, ColourMapKind kind, const double* values, double step, double min, double max,
             const ContourLevelRange& range, bool cacheNodes)
      : context_(context), view_(context.view), map_(context.view, 0.0, 0.0), values_(values), step_(step), min_(min), max_(max) {
    const FieldDataSet& data = context.data;
    x_ = data.X.data();
    y_ = data.Y.data();
    // Band n (from n*step to (n+1)*step) matters only near the level range; every band below
    // or above it has the same end colour, so those are merged into one (and a huge value
    // can never make a triangle loop over billions of bands).
    // Bands up to bandLo_ have upper levels below min, bands from bandHi_ on upper levels above max.
    bandLo_ = static_cast<double>(range.firstLevelIndex) - 2.0;
    bandHi_ = static_cast<double>(range.firstLevelIndex) + range.levelCount - 1.0;
    const std::size_t bands = static_cast<std::size_t>(bandHi_ - bandLo_) + 1;
    colours_.resize(bands);
    const LevelPalette palette(min, max, step, kind);
    for (std::size_t i = 0; i < bands; ++i) colours_[i] = palette((bandLo_ + 1.0 + static_cast<double>(i)) * step);
    if (cacheNodes) CacheNodePixels();
  }

  // The plot window's value readout follows the range of the fill being drawn.
  void SetReadout() const {
    context_.readout.ReadoutMax = max_;
    context_.readout.ReadoutMin = min_;
    context_.readout.valid = true;
  }

  // Whether cell A, B, C, D can write a pixel in the rows of the given stripe parity: its node
  // pixels (one row of slack for the single-precision corners) meet those rows of the picture.
  bool CellReachesRows(std::int32_t A, std::int32_t B, std::int32_t C, std::int32_t D, int parity) const {
    int y0 = std::numeric_limits<int>::max(), y1 = std::numeric_limits<int>::min();
    for (const std::int32_t n : {A, B, C, D}) {
      const NodePixels node = nodes_ ? nodes_[n].Pixels() : ExactPixels(n);
      y0 = std::min({y0, node.y, node.cornerY});
      y1 = std::max({y1, node.y, node.cornerY});
    }
    --y0;
    ++y1;
    if (y1 < 0 || y0 >= view_.PictureHeight) return false;
    return OwnsSomeRow(parity, std::max(y0, 0), std::min(y1, view_.PictureHeight - 1));
  }

  // Fills the bands of triangle (p, q, r).
  void Triangle(std::int32_t p, std::int32_t q, std::int32_t r, BandWriter& out, bool setReadout = true) const {
    if (setReadout) SetReadout();

    // Pass 1: culls. Triangles below a hundredth of a pixel are not worth a polygon, but side
    // by side (a wall-resolved grid seen whole) they cover whole pixels: each still paints the
    // pixels it lies on. Triangles wholly off the picture are skipped.
    const double area = std::fabs((x_[q] - x_[p]) * (y_[r] - y_[p]) - (x_[r] - x_[p]) * (y_[q] - y_[p])) / 2.0;
    if (area * view_.ScaleX * view_.ScaleY < kMinTrianglePixelArea) {
      Speck(p, q, r, out);
      return;
    }
    const QPoint pp = VertexPixel(p), pq = VertexPixel(q), pr = VertexPixel(r);
    const int w = view_.PictureWidth, h = view_.PictureHeight;
    if ((pp.x() > w && pq.x() > w && pr.x() > w) || (pp.x() < 0 && pq.x() < 0 && pr.x() < 0) ||
        (pp.y() > h && pq.y() > h && pr.y() > h) || (pp.y() < 0 && pq.y() < 0 && pr.y() < 0))
      return;

    // Pass 2: lowest, middle and highest vertex (a flat triangle keeps p, q, r).
    const double vp = values_[p], vq = values_[q], vr = values_[r];
    // A value that is not a finite number has no crossings: an infinite one would put NaN
    // crossing points (saturated to the far corner) into the band polygons.
    if (!std::isfinite(vp) || !std::isfinite(vq) || !std::isfinite(vr)) return;
    const double vmin = std::min({vp, vq, vr}), vmax = std::max({vp, vq, vr});
    std::int32_t L = p, M = q, H = r;
    if (vmax != vmin) {
      L = p;
      if (vq == vmin) L = q;
      if (vr == vmin) L = r;
      H = p;
      if (vq == vmax) H = q;
      if (vr == vmax) H = r;
      M = p;
      if (q != L && q != H) M = q;
      if (r != L && r != H) M = r;
    }
    const double vL = values_[L], vM = values_[M], vH = values_[H];

    // Pass 3: the bands from Floor(vmin/step) to Ceil(vmax/step), one polygon each.
    double nLo = std::floor(vmin / step_), nHi = std::ceil(vmax / step_);
    const bool flat = nLo == nHi;
    if (flat) {  // flat on a level: both bands beside it
      nLo -= 1.0;
      nHi += 1.0;
    }
    // A triangle wholly beyond the range still gets its end band (clamping one side only
    // would leave it empty).
    nLo = std::clamp(nLo, bandLo_, bandHi_);
    nHi = std::clamp(nHi, bandLo_ + 1.0, bandHi_ + 1.0);
    if (!(nLo <= nHi - 1.0)) return;
    const int first = static_cast<int>(nLo - bandLo_), last = static_cast<int>(nHi - bandLo_) - 1;
    const int bottom = 0, top = static_cast<int>(bandHi_ - bandLo_);
    if (!flat && first == last && out.WritesPixels()) {
      // Most triangles of a dense grid lie inside one band. When it holds every value of the
      // triangle, the loop below would make its polygon of the corners alone (L, H, H or M,
      // M, L); a polygon within a 2 x 2 box lights just its corners, so those are set here.
      const double n = bandLo_ + first;
      const double lower = first == bottom ? -kInfinity : n * step_, upper = first == top ? kInfinity : (n + 1.0) * step_;
      if (lower <= vL && vH <= upper) {
        const int x0 = std::min({pp.x(), pq.x(), pr.x()}), x1 = std::max({pp.x(), pq.x(), pr.x()});
        const int y0 = std::min({pp.y(), pq.y(), pr.y()}), y1 = std::max({pp.y(), pq.y(), pr.y()});
        if (x1 - x0 <= 1 && y1 - y0 <= 1) {
          if (x0 != x1 || y0 != y1) out.Corners(colours_[static_cast<std::size_t>(first)], pp, pq, pr);
          return;
        }
      }
    }

    BandPoint prevL = Vertex(L), prevO = prevL;
    const QPoint pixelM = VertexPixel(M);
    for (int b = first; b <= last; ++b) {
      const double n = bandLo_ + b;
      // The bottom and top bands also stand for every band beyond them.
      const double lower = b == bottom ? -kInfinity : n * step_, upper = b == top ? kInfinity : (n + 1.0) * step_;
      if (flat) prevL = prevO = Vertex(L);  // each of the two bands covers the whole triangle
      // A band reaching past the highest value ends at H: the clamped fractions towards H are
      // then 1 (upper >= vH makes each numerator at least its denominator), no division needed.
      const bool reachesH = upper >= vH;
      const BandPoint nextL = reachesH ? Vertex(H) : Along(L, H, std::clamp(Fraction(vL, vH, upper), 0.0, 1.0));
      const double u = Fraction(vL, vM, upper);
      const BandPoint nextO = u <= 1.0   ? Along(L, M, u)
                              : reachesH ? Vertex(H)
                                         : Along(M, H, std::clamp(Fraction(vM, vH, upper), 0.0, 1.0));
      const Colour colour = colours_[static_cast<std::size_t>(b)];
      if (lower <= vM && vM <= upper) {
        const QPoint poly[5] = {prevL.pixel, nextL.pixel, nextO.pixel, pixelM, prevO.pixel};
        out.Polygon(colour, poly, 5);
      } else {
        const QPoint poly[4] = {prevL.pixel, nextL.pixel, nextO.pixel, prevO.pixel};
        out.Polygon(colour, poly, 4);
      }
      prevL = nextL;
      prevO = nextO;
    }
  }

 private:
  // Colour of the band holding `value`; the bands beyond the range share the end colours.
  Colour BandColour(double value) const {
    const double n = std::clamp(std::floor(value / step_), bandLo_, bandHi_);
    return colours_[static_cast<std::size_t>(n - bandLo_)];
  }

  // A triangle too small for a polygon: the pixel under its centroid in the band of its
  // centroid value; a sliver longer than a pixel, the pixels along its longest edge, each in
  // the band of the value there.
  void Speck(std::int32_t p, std::int32_t q, std::int32_t r, BandWriter& out) const {
    const double vp = values_[p], vq = values_[q], vr = values_[r];
    if (!std::isfinite(vp) || !std::isfinite(vq) || !std::isfinite(vr)) return;
    const QPoint pp = VertexPixel(p), pq = VertexPixel(q), pr = VertexPixel(r);
    const int x0 = std::min({pp.x(), pq.x(), pr.x()}), x1 = std::max({pp.x(), pq.x(), pr.x()});
    const int y0 = std::min({pp.y(), pq.y(), pr.y()}), y1 = std::max({pp.y(), pq.y(), pr.y()});
    if (x1 < 0 || y1 < 0 || x0 >= view_.PictureWidth || y0 >= view_.PictureHeight) return;
    if (x1 - x0 <= 1 && y1 - y0 <= 1) {
      const double cx = (WorldX(p) + WorldX(q) + WorldX(r)) / 3.0, cy = (WorldY(p) + WorldY(q) + WorldY(r)) / 3.0;
      out.Pixel(BandColour((vp + vq + vr) / 3.0), map_.X(cx), map_.Y(cy));
      return;
    }
    // The longest edge a-b in pixels.
    const std::int32_t n[3] = {p, q, r};
    int best = 0;
    double bestLength = -1.0;
    for (int k = 0; k < 3; ++k) {
      const std::int32_t a = n[k], b = n[(k + 1) % 3];
      const double dx = (x_[b] - x_[a]) * view_.ScaleX, dy = (y_[b] - y_[a]) * view_.ScaleY;
      const double length = std::max(std::fabs(dx), std::fabs(dy));
      if (length > bestLength) {
        bestLength = length;
        best = k;
      }
    }
    if (!std::isfinite(bestLength)) return;
    const std::int32_t a = n[best], b = n[(best + 1) % 3];
    // Only the part of the edge over the picture (with a pixel to spare) is walked.
    const double ax = (WorldX(a) - view_.CentreX) * view_.ScaleX + view_.CentrePixelX;
    const double ay = view_.CentrePixelY - (WorldY(a) - view_.CentreY) * view_.ScaleY;
    const double bx = (WorldX(b) - view_.CentreX) * view_.ScaleX + view_.CentrePixelX;
    const double by = view_.CentrePixelY - (WorldY(b) - view_.CentreY) * view_.ScaleY;
    double t0 = 0.0, t1 = 1.0;
    auto clip = [&](double from, double delta, double lo, double hi) {
      if (delta == 0.0) {
        if (from < lo || from > hi) t1 = -1.0;
        return;
      }
      double ta = (lo - from) / delta, tb = (hi - from) / delta;
      if (ta > tb) std::swap(ta, tb);
      t0 = std::max(t0, ta);
      t1 = std::min(t1, tb);
    };
    clip(ax, bx - ax, -1.0, view_.PictureWidth + 1.0);
    clip(ay, by - ay, -1.0, view_.PictureHeight + 1.0);
    if (!(t0 <= t1)) return;
    const int steps = std::max(1, static_cast<int>(std::ceil(bestLength * (t1 - t0))));
    const double va = values_[a], vb = values_[b];
    const double wxa = WorldX(a), wya = WorldY(a), wxb = WorldX(b), wyb = WorldY(b);
    for (int k = 0; k <= steps; ++k) {
      const double t = t0 + (t1 - t0) * k / steps;
      out.Pixel(BandColour(va + t * (vb - va)), map_.X(wxa + t * (wxb - wxa)), map_.Y(wya + t * (wyb - wya)));
    }
  }

  double WorldX(std::int32_t n) const { return x_[n] + context_.offsetX; }
  double WorldY(std::int32_t n) const { return y_[n] + context_.offsetY; }

  // A node's pixel, the one its band corners use: one rounding for every vertex of every
  // triangle, so triangles sharing a node share its pixel and leave no pinhole between them.
  QPoint VertexPixel(std::int32_t n) const {
    if (nodes_ && !nodes_[n].CornerClamped()) return {nodes_[n].cornerX, nodes_[n].cornerY};
    return Pixel(BandPoint{static_cast<float>(WorldX(n)), static_cast<float>(WorldY(n)), {}});
  }

  // A node as a band corner: in single precision like every crossing point.
  BandPoint Vertex(std::int32_t n) const {
    BandPoint point{static_cast<float>(WorldX(n)), static_cast<float>(WorldY(n)), {}};
    point.pixel = nodes_ && !nodes_[n].CornerClamped() ? QPoint(nodes_[n].cornerX, nodes_[n].cornerY) : Pixel(point);
    return point;
  }

  // The point at fraction t of the edge a-b. The ends are the nodes themselves, so the bands of
  // neighbouring triangles meet exactly at shared nodes.
  BandPoint Along(std::int32_t a, std::int32_t b, double t) const {
    if (t == 0.0) return Vertex(a);
    if (t == 1.0) return Vertex(b);
    const double xa = WorldX(a), ya = WorldY(a);
    BandPoint point{static_cast<float>(xa + t * (WorldX(b) - xa)), static_cast<float>(ya + t * (WorldY(b) - ya)), {}};
    point.pixel = Pixel(point);
    return point;
  }

  QPoint Pixel(const BandPoint& point) const { return {map_.X(point.x), map_.Y(point.y)}; }

  // Every node's pixel and corner pixel once: on a dense grid most triangles lie inside one
  // band, and their polygons are then made of nodes only. Six bytes a node (a tenth of the
  // memory of a ten-million-node picture was this cache at twelve): pixels beyond the 16-bit
  // range are kept clamped, which still orders them right for the row test, and recomputed
  // where a polygon needs them. Pictures too large for that go without the cache.
  void CacheNodePixels() {
    if (view_.PictureWidth >= CachedNode::kClamp - 1 || view_.PictureHeight >= CachedNode::kClamp - 1) return;
    const std::size_t count = std::min(context_.data.X.size(), context_.data.Y.size());
    nodes_.reset(new CachedNode[count]);  // left uninitialised: every entry is written below
    RunOnBothCores(static_cast<std::int64_t>(count), 1 << 16, [&](std::int64_t begin, std::int64_t end) {
      for (std::int64_t i = begin; i < end; ++i) nodes_[i] = CachedNode(ExactPixels(static_cast<std::int32_t>(i)));
    });
  }

  // A node's pixel row from its double coordinates (which rows a cell may reach), and its pixel
  // as a band corner in single precision.
  struct NodePixels {
    std::int32_t y, cornerX, cornerY;
  };
  NodePixels ExactPixels(std::int32_t n) const {
    const double x = WorldX(n), y = WorldY(n);
    const std::int32_t row = map_.Y(y);
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    return {row, map_.X(fx), fy == y ? row : map_.Y(fy)};
  }

  const LayerContext& context_;
  const ViewTransform& view_;
  const PixelMapper map_;  // offsets are added by WorldX/WorldY
  const double* values_;
  const double* x_ = nullptr;
  const double* y_ = nullptr;
  double step_, min_, max_;
  double bandLo_ = 0.0, bandHi_ = 0.0;
  std::vector<Colour> colours_;  // colour of band bandLo_ + i: LevelColour of its upper level
  // NodePixels in 16 bits; ±kClamp stands for any pixel at or beyond it.
  struct CachedNode {
    static constexpr int kClamp = 32767;
    CachedNode() = default;
    explicit CachedNode(const NodePixels& p) : y(Clamp(p.y)), cornerX(Clamp(p.cornerX)), cornerY(Clamp(p.cornerY)) {}
    static std::int16_t Clamp(std::int32_t pixel) { return static_cast<std::int16_t>(std::clamp(pixel, -kClamp, kClamp)); }
    NodePixels Pixels() const { return {y, cornerX, cornerY}; }
    bool CornerClamped() const {
      return cornerX == kClamp || cornerX == -kClamp || cornerY == kClamp || cornerY == -kClamp;
    }
    std::int16_t y, cornerX, cornerY;
  };
  std::unique_ptr<CachedNode[]> nodes_;
};

// The selected value row and its levels, or nothing when the fill cannot be drawn.
const double* SelectedRow(const LayerContext& context, double& step, double& min, double& max) {
  const FieldDataSet& data = context.data;
  const FieldView& shown = context.fieldView;
  const int k = context.row;
  if (k < 0 || static_cast<std::size_t>(k) >= data.Values.size()) return nullptr;
  if (static_cast<std::size_t>(k) >= shown.ContourStep.size() || static_cast<std::size_t>(k) >= shown.ContourMin.size() ||
      static_cast<std::size_t>(k) >= shown.ContourMax.size())
    return nullptr;
  const NodeRow& row = data.Values[static_cast<std::size_t>(k)];
  // The cell walk reads one value per coordinate.
  if (row.size() < std::min(data.X.size(), data.Y.size())) return nullptr;
  step = shown.ContourStep[static_cast<std::size_t>(k)];
  min = shown.ContourMin[static_cast<std::size_t>(k)];
  max = shown.ContourMax[static_cast<std::size_t>(k)];
  return row.data();
}

// Pixel fill on two threads. Each walks every cell in the usual order but fills only the rows of
// its own stripes, turning down cells that cannot reach them before their diagonal is chosen;
// every row thus sees the same polygons in the same order as a single walk would paint them.
bool FillOnBothCores(const LayerContext& context, const BandFiller& filler, const PixelTarget& pixels,
                     const double* values) {
  auto fill = [&](Progress& progress, int parity) {
    PixelTarget own = pixels;
    own.stripeParity = parity;
    BandWriter writer(nullptr, &own);
    return ForEachContourTriangle(
        context.data, context.fieldView.Masks, values, progress,
        [&](std::int32_t p, std::int32_t q, std::int32_t r) { filler.Triangle(p, q, r, writer, false); },
        [&](std::int32_t A, std::int32_t B, std::int32_t C, std::int32_t D) {
          if (parity == 0) filler.SetReadout();  // every cell the walk reaches, drawn here or not
          return filler.CellReachesRows(A, B, C, D, parity);
        });
  };
  return WalkOnBothCores(
      context.progress, [&](Progress& progress) { return fill(progress, 0); },
      [&](Progress& progress) { return fill(progress, 1); });
}

}  // namespace

void FillPolygonPixels(QImage& image, const QPoint* points, int count, Colour colour) {
  if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32) return;
  PixelTarget target{reinterpret_cast<std::uint32_t*>(image.bits()), image.bytesPerLine() / 4, image.width(),
                     image.height()};
  FillPolygon(target, points, count, ArgbOf(colour));
}

void FillTriangleBands(const LayerContext& context, ColourMapKind colourMap, Canvas& canvas, std::int32_t p,
                       std::int32_t q, std::int32_t r, double step, double min, double max, const double* values) {
  const ContourLevelRange range = MakeContourLevelRange(max, min, step);
  if (!range.valid) return;
  BandFiller filler(context, colourMap, values, step, min, max, range, false);
  BandWriter writer(&canvas, nullptr);
  filler.Triangle(p, q, r, writer);
}

void DrawContourFill(const LayerContext& context, ColourMapKind colourMap, Canvas& canvas, QImage* bitmap, int threads,
                     QImage* specks) {
  if (!context.display.BrushCheck) return;
  double step = 0.0, min = 0.0, max = 0.0;
  const double* values = SelectedRow(context, step, min, max);
  if (!values) return;
  const ContourLevelRange range = MakeContourLevelRange(max, min, step);
  if (!range.valid) {
    context.progress.SetStatus(kContourStepInvalidText);
    return;
  }
  context.progress.SetStatus("等高線のメタファイルを作成中…");

  PixelTarget pixels;
  const bool direct = bitmap && !bitmap->isNull() && bitmap->format() == QImage::Format_RGB32;
  if (direct) pixels = {reinterpret_cast<std::uint32_t*>(bitmap->bits()), bitmap->bytesPerLine() / 4, bitmap->width(),
                        bitmap->height()};
  BandFiller filler(context, colourMap, values, step, min, max, range, true);
  bool finished = false;
  if (direct && threads > 1 && bitmap->height() > (2 << kStripeShift) && context.data.X.size() >= 4096) {
    finished = FillOnBothCores(context, filler, pixels, values);
  } else {
    PixelTarget speckPixels;
    const bool withSpecks = !direct && specks && !specks->isNull() && specks->format() == QImage::Format_RGB32;
    if (withSpecks) speckPixels = {reinterpret_cast<std::uint32_t*>(specks->bits()), specks->bytesPerLine() / 4,
                                   specks->width(), specks->height()};
    BandWriter writer(&canvas, direct ? &pixels : nullptr, withSpecks ? &speckPixels : nullptr);
    // Merged bands are merged zone by zone: the merging canvas hears where each zone begins.
    auto* merging = direct ? nullptr : dynamic_cast<BandMergingCanvas*>(&canvas);
    const std::vector<ZoneGrid>& zones = context.data.Zones;
    std::int64_t zoneFirst = 0, zoneEnd = -1;
    finished = ForEachContourTriangle(context.data, context.fieldView.Masks, values, context.progress,
                                      [&](std::int32_t p, std::int32_t q, std::int32_t r) {
                                        if (merging && (p < zoneFirst || p >= zoneEnd)) {
                                          zoneFirst = p, zoneEnd = p + 1;
                                          for (const ZoneGrid& z : zones) {
                                            const std::int64_t end = z.FirstNode + static_cast<std::int64_t>(z.NI) * z.NJ;
                                            if (p >= z.FirstNode && p < end) zoneFirst = z.FirstNode, zoneEnd = end;
                                          }
                                          merging->NewGroup();
                                        }
                                        filler.Triangle(p, q, r, writer);
                                      });
  }
  if (finished) context.progress.SetStatus("メタファイル作成完了");
}

}  // namespace corvane
