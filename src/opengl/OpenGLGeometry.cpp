#include "opengl/OpenGLGeometry.h"

#include <algorithm>
#include <cmath>

#include "contour/ContourLevels.h"
#include "contour/ContourLines.h"
#include "fieldview/ContourRanges.h"
#include "render/ViewTransform.h"
#include "scene/SceneRenderer.h"

namespace corvane {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kArrowHalfAngle = 0.3490658503988659;  // 20 degrees

// A zone whose nodes all lie inside the coordinate arrays and the value row (if given).
bool ZoneFits(const FieldDataSet& data, const ZoneGrid& zone, std::size_t rowSize) {
  if (zone.NI <= 0 || zone.NJ <= 0 || zone.FirstNode < 0) return false;
  const long long end = static_cast<long long>(zone.FirstNode) + static_cast<long long>(zone.NI) * zone.NJ;
  return end <= static_cast<long long>(std::min({data.X.size(), data.Y.size(), rowSize}));
}

// A point of world (x, y) shifted for the copy, as the float OpenGL is given.
GlPoint Shifted(const FieldDataSet& data, std::int32_t n, double dx, double dy) {
  const std::size_t i = static_cast<std::size_t>(n);
  return {static_cast<float>(data.X[i] + dx), static_cast<float>(data.Y[i] + dy)};
}

}  // namespace

// ---- contour triangles ----

// Level lines a triangle may draw beyond the kept bands on either side.
constexpr double kMaxLinesBeyondRange = 1024.0;

// Checks the levels and colours every band a triangle may use.
TriangleContourer::TriangleContourer(const FieldDataSet& data, const double* values, double dx, double dy,
                                     const OrthoBox& box, const ContourStyle& style)
    : data_(data), v_(values), dx_(dx), dy_(dy), box_(box), style_(style) {
  const double lo = std::min(style.min, style.max), hi = std::max(style.min, style.max);
  const ContourLevelRange range = MakeContourLevelRange(hi, lo, style.step);
  if (!range.valid) return;
  // Bands wholly below the first level or above the last one share the end colours, so one step
  // of margin on each side keeps the picture while bounding the work per triangle.
  bandFloor_ = std::ceil(lo / style.step) - 2.0;
  bandCeil_ = std::ceil(hi / style.step) + 1.0;
  const std::size_t count = static_cast<std::size_t>(bandCeil_ - bandFloor_) + 1;
  bandColours_.resize(count);
  const LevelPalette palette(style.min, style.max, style.step, style.kind);
  for (std::size_t k = 0; k < count; ++k) bandColours_[k] = palette((bandFloor_ + static_cast<double>(k) + 1.0) * style.step);
  valid_ = true;
}

GlPoint TriangleContourer::At(std::int32_t n) const { return Shifted(data_, n, dx_, dy_); }

// Skipped when all three corners lie beyond one side of the box (before any level arithmetic).
bool TriangleContourer::Culled(std::int32_t c1, std::int32_t c2, std::int32_t c3) const {
  const double* x = data_.X.data();
  const double* y = data_.Y.data();
  const double x1 = x[c1] + dx_, x2 = x[c2] + dx_, x3 = x[c3] + dx_;
  const double y1 = y[c1] + dy_, y2 = y[c2] + dy_, y3 = y[c3] + dy_;
  // A corner without a finite position has no place in the picture.
  if (!std::isfinite(x1 + x2 + x3 + y1 + y2 + y3)) return true;
  return (x1 > box_.right && x2 > box_.right && x3 > box_.right) ||
         (x1 < box_.left && x2 < box_.left && x3 < box_.left) ||
         (y1 > box_.top && y2 > box_.top && y3 > box_.top) ||
         (y1 < box_.bottom && y2 < box_.bottom && y3 < box_.bottom);
}

// The triangle of the smooth fill, unless culled or without a value.
void TriangleContourer::FillTriangleGouraud(std::int32_t c1, std::int32_t c2, std::int32_t c3,
                                            std::int64_t vertexOffset, GlFrame& frame) const {
  if (Culled(c1, c2, c3)) return;
  if (!std::isfinite(v_[c1]) || !std::isfinite(v_[c2]) || !std::isfinite(v_[c3])) return;
  frame.IndexedTriangle(static_cast<std::uint32_t>(c1 + vertexOffset), static_cast<std::uint32_t>(c2 + vertexOffset),
                        static_cast<std::uint32_t>(c3 + vertexOffset));
}

// Walks the levels of one triangle from its lowest corner up: a polygon or a line per band.
void TriangleContourer::DrawTriangleBands(std::int32_t c1, std::int32_t c2, std::int32_t c3,
                                          GeometrySink& sink) const {
  if (!valid_ || Culled(c1, c2, c3)) return;
  const double v1 = v_[c1], v2 = v_[c2], v3 = v_[c3];
  // An infinite value is a hole like a NaN: it has no place among the levels.
  if (!std::isfinite(v1) || !std::isfinite(v2) || !std::isfinite(v3)) return;
  const double vmin = std::min({v1, v2, v3}), vmax = std::max({v1, v2, v3});

  // Corner roles: lo and hi are the last corners holding the least and greatest value.
  std::int32_t lo = c1, mid = c2, hi = c3;
  if (vmin != vmax) {
    lo = v3 == vmin ? c3 : (v2 == vmin ? c2 : c1);
    hi = v3 == vmax ? c3 : (v2 == vmax ? c2 : c1);
    mid = (c3 != lo && c3 != hi) ? c3 : ((c2 != lo && c2 != hi) ? c2 : c1);
  }

  // Level range of the triangle, limited to the bands that can differ in colour.
  const double s = style_.step;
  double kLo = std::floor(vmin / s), kHi = std::ceil(vmax / s);
  if (kLo == kHi) {
    kLo -= 1.0;
    kHi += 1.0;
  }
  if (!(kHi - 1.0 >= kLo)) return;
  // Bands beyond the kept ones only repeat the end colours: a fill merges them into the first
  // and last kept band. Lines are drawn at every level of the triangle, in the end colour beyond
  // the range, only bounded so absurd values cannot ask for billions of them.
  const double lineMargin = style_.fill ? 0.0 : kMaxLinesBeyondRange;
  const double mLo = std::clamp(kLo, bandFloor_ - lineMargin, bandCeil_ + lineMargin);
  const double mHi = std::clamp(kHi - 1.0, bandFloor_ - lineMargin, bandCeil_ + lineMargin);
  // When bands above were cut away, the last one kept reaches the top corner (fills only).
  const bool stretchTop = style_.fill && mHi < kHi - 1.0;

  const double vlo = v_[lo], vmid = v_[mid];
  const GlPoint pLo = At(lo), pMid = At(mid), pHi = At(hi);
  auto along = [](GlPoint a, GlPoint b, double t) {
    return GlPoint{static_cast<float>(a.x + t * (static_cast<double>(b.x) - a.x)),
                   static_cast<float>(a.y + t * (static_cast<double>(b.y) - a.y))};
  };

  GlPoint a = pLo, b = pLo;
  // The walk lo -> mid -> hi passes the middle corner once: it is a corner of the band whose
  // upper crossing is the first one beyond it.
  bool midPassed = false;
  const std::int64_t first = static_cast<std::int64_t>(mLo), last = static_cast<std::int64_t>(mHi);
  for (std::int64_t m = first; m <= last; ++m) {
    const double upper = static_cast<double>(m + 1) * s;
    const double level = stretchTop && m == last ? vmax : upper;
    const double t1 = std::clamp(EdgeFraction(v_, lo, hi, level), 0.0, 1.0);
    const GlPoint p1 = along(pLo, pHi, t1);
    double t2 = vlo != vmid ? EdgeFraction(v_, lo, mid, level) : 2.0;
    GlPoint p2;
    bool beyondMid = false;
    if (t2 <= 1.0) {
      p2 = along(pLo, pMid, std::max(t2, 0.0));
    } else {
      const double t3 = std::clamp(EdgeFraction(v_, mid, hi, level), 0.0, 1.0);
      p2 = along(pMid, pHi, t3);
      beyondMid = true;
    }
    const Colour colour =
        bandColours_[static_cast<std::size_t>(std::clamp(static_cast<double>(m), bandFloor_, bandCeil_) - bandFloor_)];
    if (style_.fill) {
      GlPoint polygon[5];
      int n = 0;
      polygon[n++] = a;
      polygon[n++] = p1;
      polygon[n++] = p2;
      if (beyondMid && !midPassed) polygon[n++] = pMid;
      polygon[n++] = b;
      sink.Polygon(polygon, n, colour);
    } else {
      sink.Line(p2, p1, style_.fixLineColour ? style_.lineColour : colour);
    }
    midPassed = midPassed || beyondMid || t2 == 1.0;
    a = p1;
    b = p2;
  }
}

// ---- layers ----

// The shaft and the filled head of one arrow.
void DrawOpenGLArrow(GlFrame& frame, float scale, float u, float v, float x, float y, Colour colour) {
  const double tipX = static_cast<double>(x) + static_cast<double>(u) * scale;
  const double tipY = static_cast<double>(y) + static_cast<double>(v) * scale;
  if (tipX == x && tipY == y) return;
  // A velocity that is not a number has no tip.
  if (!std::isfinite(tipX) || !std::isfinite(tipY)) return;
  const double theta = std::atan2(static_cast<double>(v), static_cast<double>(u));
  const double head = std::sqrt(static_cast<double>(u) * u + static_cast<double>(v) * v) * scale / 5.0;
  const double a1 = theta - kArrowHalfAngle + kPi, a2 = theta + kArrowHalfAngle - kPi;
  const GlPoint tip{static_cast<float>(tipX), static_cast<float>(tipY)};
  const GlPoint corner1{static_cast<float>(tipX + head * std::cos(a1)), static_cast<float>(tipY + head * std::sin(a1))};
  const GlPoint corner2{static_cast<float>(tipX + head * std::cos(a2)), static_cast<float>(tipY + head * std::sin(a2))};
  frame.Line(GlPoint{x, y}, tip, colour);
  frame.Triangle(tip, corner1, corner2, colour, colour, colour);
}

namespace {

// Feeds one grid line to the frame as strips, leaving out the segments that lie wholly beyond
// one side of the box: they cover no pixel, and a zoomed-in view then replays only what shows.
class CulledStrip {
 public:
  CulledStrip(GlFrame& frame, const OrthoBox& box, Colour colour)
      : frame_(frame), box_(box), colour_(colour), cull_(!box.Degenerate()) {}
  void Point(GlPoint p) {
    if (!cull_) {
      if (!std::isfinite(p.x) || !std::isfinite(p.y)) {  // a node without a place ends the strip
        Finish();
        return;
      }
      if (!open_) frame_.StripBegin();
      open_ = true;
      frame_.StripVertex(p, colour_);
      return;
    }
    const int side = Side(p);
    if (havePrevious_) {
      if ((side & previousSide_) != 0 || ((side | previousSide_) & kNotFinite) != 0) {
        Finish();
      } else {
        if (!open_) {
          frame_.StripBegin();
          frame_.StripVertex(previous_, colour_);
          open_ = true;
        }
        frame_.StripVertex(p, colour_);
      }
    }
    previous_ = p;
    previousSide_ = side;
    havePrevious_ = true;
  }
  void Finish() {
    if (open_) frame_.StripEnd();
    open_ = false;
  }
  void Restart() {
    Finish();
    havePrevious_ = false;
  }

 private:
  static constexpr int kNotFinite = 16;
  // Outcode of a point: which sides of the box it lies beyond; a point that is not finite
  // ends the strip.
  int Side(GlPoint p) const {
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return kNotFinite;
    return (p.x < box_.left ? 1 : 0) | (p.x > box_.right ? 2 : 0) | (p.y < box_.bottom ? 4 : 0) |
           (p.y > box_.top ? 8 : 0);
  }
  GlFrame& frame_;
  const OrthoBox& box_;
  Colour colour_;
  bool cull_;
  bool open_ = false;
  bool havePrevious_ = false;
  GlPoint previous_;
  int previousSide_ = 0;
};

}  // namespace

// The grid lines of every zone for one copy.
void DrawOpenGLGrid(GlFrame& frame, const FieldDataSet& data, double dx, double dy, Colour colour) {
  const OrthoBox box = frame.box;
  CulledStrip strip(frame, box, colour);
  for (std::size_t z = 0; z < data.Zones.size(); ++z) {
    const ZoneGrid& zone = data.Zones[z];
    if (!ZoneFits(data, zone, data.X.size())) continue;
    // Pass 1: the lines of constant i; pass 2: the lines of constant j.
    for (std::int32_t i = 0; i < zone.NI; ++i) {
      strip.Restart();
      const std::int32_t base = zone.FirstNode + zone.NJ * i;
      for (std::int32_t j = 0; j < zone.NJ; ++j) strip.Point(Shifted(data, base + j, dx, dy));
    }
    for (std::int32_t j = 0; j < zone.NJ; ++j) {
      strip.Restart();
      for (std::int32_t i = 0; i < zone.NI; ++i) strip.Point(Shifted(data, zone.FirstNode + zone.NJ * i + j, dx, dy));
    }
    strip.Restart();
  }
}

// The enabled edges of every zone for one copy.
void DrawOpenGLBoundaries(GlFrame& frame, const FieldDataSet& data, const std::vector<BoundaryFlags>& edges, double dx,
                          double dy, Colour colour) {
  for (std::size_t z = 0; z < data.Zones.size(); ++z) {
    const ZoneGrid& zone = data.Zones[z];
    if (!ZoneFits(data, zone, data.X.size())) continue;
    const BoundaryFlags flags = z < edges.size() ? edges[z] : BoundaryFlags{};
    const std::int32_t imax = zone.NI - 1, jmax = zone.NJ - 1;
    auto node = [&](std::int32_t i, std::int32_t j) {
      return Shifted(data, zone.FirstNode + zone.NJ * i + j, dx, dy);
    };
    // A node without a finite position breaks the edge: the segments on either side of it are
    // left out, as the cells that use it are.
    auto vertex = [&](GlPoint p) {
      if (std::isfinite(p.x) && std::isfinite(p.y)) {
        frame.StripVertex(p, colour);
      } else {
        frame.StripEnd();
        frame.StripBegin();
      }
    };
    // Round the zone: j = 0 forwards, i = imax upwards, j = jmax backwards, i = 0 downwards.
    if (flags.j0) {
      frame.StripBegin();
      for (std::int32_t i = 0; i <= imax; ++i) vertex(node(i, 0));
      frame.StripEnd();
    }
    if (flags.imax) {
      frame.StripBegin();
      for (std::int32_t j = 0; j <= jmax; ++j) vertex(node(imax, j));
      frame.StripEnd();
    }
    if (flags.jmax) {
      frame.StripBegin();
      for (std::int32_t i = imax; i >= 0; --i) vertex(node(i, jmax));
      frame.StripEnd();
    }
    if (flags.i0) {
      frame.StripBegin();
      for (std::int32_t j = jmax; j >= 0; --j) vertex(node(0, j));
      frame.StripEnd();
    }
  }
}

// The contour layer of one copy, cell by cell, with gauge, status texts and abort.
bool DrawOpenGLContours(GlFrame& frame, const OpenGLSceneHost& host, const ProgramOptions& options, double dx,
                        double dy, const std::vector<Colour>& nodeColours) {
  const FieldDataSet& data = *host.data;
  if (!host.fieldView) return true;
  const FieldView& shown = *host.fieldView;
  Progress& progress = *host.progress;
  const int k = options.RGroup;
  if (k < 0 || static_cast<std::size_t>(k) >= data.Values.size()) return true;
  const std::size_t row = static_cast<std::size_t>(k);
  if (row >= shown.ContourMax.size() || row >= shown.ContourMin.size() || row >= shown.ContourStep.size()) return true;
  if (host.setPlotCaption) host.setPlotCaption(k);

  ContourStyle style;
  style.step = shown.ContourStep[row];
  style.min = shown.ContourMin[row];
  style.max = shown.ContourMax[row];
  style.kind = options.contour.colourMap;
  style.fill = options.display.BrushCheck;
  style.fixLineColour = options.contour.FixLineColor;
  style.lineColour = FixedLineColourFor(options.contour, options.display.WhiteBack);
  const bool quick = options.display.BrushCheck && options.contour.QuickFill;
  const double* values = data.Values[row].data();
  const TriangleContourer contourer(data, values, dx, dy, frame.box, style);
  // The smooth fill needs no levels; the bands and lines do.
  if (!quick && !contourer.valid()) {
    progress.SetStatus(kContourStepInvalidText);
    return true;
  }
  progress.SetStatus(kContourDrawingText);
  if (host.readout) {
    host.readout->ReadoutMax = style.max;
    host.readout->ReadoutMin = style.min;
    host.readout->valid = true;
  }

  for (const ZoneGrid& zone : data.Zones) {
    if (!ZoneFits(data, zone, data.Values[row].size())) continue;
    progress.SetPosition(0);
    progress.SetMaximum(std::max(zone.NI - 2, 0));
    // The smooth fill shares each node's vertex among the six triangles round it.
    std::int64_t vertexOffset = 0;
    if (quick) {
      const std::int64_t nodes = static_cast<std::int64_t>(zone.NI) * zone.NJ;
      vertexOffset = static_cast<std::int64_t>(frame.vertices.size()) - zone.FirstNode;
      for (std::int32_t n = zone.FirstNode; n < zone.FirstNode + nodes; ++n)
        frame.SharedVertex(Shifted(data, n, dx, dy), nodeColours[static_cast<std::size_t>(n)]);
    }
    for (std::int32_t i = 0; i + 1 < zone.NI; ++i) {
      for (std::int32_t j = 0; j + 1 < zone.NJ; ++j) {
        if (progress.AbortRequested()) return false;
        const std::int32_t p00 = zone.FirstNode + zone.NJ * i + j, p01 = p00 + 1;
        const std::int32_t p10 = p00 + zone.NJ, p11 = p10 + 1;
        if (quick) {
          contourer.FillTriangleGouraud(p00, p01, p10, vertexOffset, frame);
          contourer.FillTriangleGouraud(p01, p10, p11, vertexOffset, frame);
        } else {
          contourer.DrawTriangleBands(p00, p01, p10, frame);
          contourer.DrawTriangleBands(p01, p10, p11, frame);
        }
      }
      progress.SetPosition(i);
    }
  }
  progress.SetStatus("メタファイル作成完了");
  return true;
}

// One arrow per node of every zone for one copy.
bool DrawOpenGLVectors(GlFrame& frame, const OpenGLSceneHost& host, const ProgramOptions& options, double dx,
                       double dy) {
  const FieldDataSet& data = *host.data;
  const int iu = options.load.xvecbox, iv = options.load.yvecbox;
  const int rows = static_cast<int>(data.Values.size());
  if (iu < 0 || iv < 0 || iu >= rows || iv >= rows) {
    if (host.notifier) host.notifier->Warning("ベクトルに使用する量を選択してください");
    if (host.raiseMainWindow) host.raiseMainWindow();
    return false;
  }
  const NodeRow& u = data.Values[static_cast<std::size_t>(iu)];
  const NodeRow& v = data.Values[static_cast<std::size_t>(iv)];
  const float scale = static_cast<float>(options.display.arrowScale);
  const Colour colour = options.display.WhiteBack ? kBlack : kWhite;
  for (const ZoneGrid& zone : data.Zones) {
    if (!ZoneFits(data, zone, std::min(u.size(), v.size()))) continue;
    for (std::int32_t i = 0; i < zone.NI; ++i)
      for (std::int32_t j = 0; j < zone.NJ; ++j) {
        const std::size_t n = static_cast<std::size_t>(zone.FirstNode + zone.NJ * i + j);
        DrawOpenGLArrow(frame, scale, static_cast<float>(u[n]), static_cast<float>(v[n]),
                        static_cast<float>(data.X[n] + dx), static_cast<float>(data.Y[n] + dy), colour);
      }
  }
  return true;
}

// The extents the rescale fits: the data and every overlay copy.
void OverlayExtents(const FieldDataSet& data, const DisplayOptions& display, double& xmax, double& ymax, double& xmin,
                    double& ymin) {
  const Extents e = WidenForCopies(Extents{data.XMin, data.XMax, data.YMin, data.YMax}, display.copyOffsetX,
                                   display.copyOffsetY, display.overlayCopies);
  xmax = e.XMax;
  ymax = e.YMax;
  xmin = e.XMin;
  ymin = e.YMin;
}

// One whole frame, layer by layer and copy by copy.
void BuildOpenGLScene(GlFrame& frame, const OrthoBox& box, const OpenGLSceneHost& host, const ProgramOptions& options,
                      bool showContour, bool showGrid, bool showVectors) {
  frame.Clear();
  frame.box = box;
  const DisplayOptions& d = options.display;
  frame.background = d.WhiteBack ? kWhite : kBlack;
  const Colour foreground = d.WhiteBack ? kBlack : kWhite;
  if (!host.data) return;
  const FieldDataSet& data = *host.data;
  const std::vector<BoundaryFlags> noEdges;
  const std::vector<BoundaryFlags>& edges = host.fieldView ? host.fieldView->Boundaries : noEdges;

  std::vector<Colour> nodeColours;
  if (showContour && host.fieldView) {
    FieldView& shown = *host.fieldView;
    if (options.load.AutoStepCheck) AutoStep(shown, options.load.StepBar);
    ApplyRoundLevels(shown, options.load);
    // The smooth fill colours every node once per frame, not once per triangle corner.
    const std::size_t row = static_cast<std::size_t>(options.RGroup);
    if (d.BrushCheck && options.contour.QuickFill && options.RGroup >= 0 && row < data.Values.size() &&
        row < shown.ContourMax.size() && row < shown.ContourMin.size()) {
      const double step = row < shown.ContourStep.size() ? shown.ContourStep[row] : 0.0;
      const LevelPalette palette(shown.ContourMin[row], shown.ContourMax[row], step, options.contour.colourMap);
      const NodeRow& values = data.Values[row];
      nodeColours.resize(values.size());
      for (std::size_t n = 0; n < values.size(); ++n) nodeColours[n] = palette(values[n]);
    }
  }
  // The bar stays through the pan preview (no contours then), so the box keeps its room.
  if (host.fieldView) frame.colourBar = ColourBarOf(options, data, *host.fieldView);

  const int copies = std::clamp(d.overlayCopies, 0, 10);
  bool vectorsWarned = false;
  for (int c = 0; c <= copies; ++c) {
    const double dx = c * d.copyOffsetX, dy = c * d.copyOffsetY;
    if (showContour) DrawOpenGLContours(frame, host, options, dx, dy, nodeColours);
    if (showGrid) DrawOpenGLGrid(frame, data, dx, dy, foreground);
    // One warning per frame is enough when the velocity rows are missing.
    if (showVectors && !vectorsWarned) vectorsWarned = !DrawOpenGLVectors(frame, host, options, dx, dy);
    DrawOpenGLBoundaries(frame, data, edges, dx, dy, foreground);
  }
}

}  // namespace corvane
