#include "contour/ContourLines.h"

#include <cmath>
#include <limits>

#include "contour/ColourMap.h"
#include "contour/Separate.h"

namespace corvane {
namespace {

// Grids of fewer nodes are walked on one thread.
constexpr std::size_t kBothCoresFrom = 1 << 16;

}  // namespace

// The three stages: segments from the cell walk, then (unless aborted) chaining, drawing and
// labels. Unusable levels draw nothing and say so.
std::vector<ContourLabel> DrawContourLines(const LayerContext& context, const ContourOptions& contour, Canvas& canvas,
                                           const std::vector<ContourLabel>* placed, bool writeLabels) {
  const FieldDataSet& data = context.data;
  const FieldView& shown = context.fieldView;
  const int k = context.row;
  if (k < 0 || static_cast<std::size_t>(k) >= data.Values.size() || static_cast<std::size_t>(k) >= shown.ContourMax.size() ||
      static_cast<std::size_t>(k) >= shown.ContourMin.size() || static_cast<std::size_t>(k) >= shown.ContourStep.size())
    return {};
  const NodeRow& values = data.Values[static_cast<std::size_t>(k)];
  if (values.size() < std::min(data.X.size(), data.Y.size())) return {};
  const double max = shown.ContourMax[static_cast<std::size_t>(k)];
  const double min = shown.ContourMin[static_cast<std::size_t>(k)];
  const double step = shown.ContourStep[static_cast<std::size_t>(k)];

  const ContourLevelRange range = MakeContourLevelRange(max, min, step);
  if (!range.valid) {
    context.progress.SetStatus(kContourStepInvalidText);
    return {};
  }
  context.progress.SetStatus(kContourDrawingText);
  context.readout = ContourReadout{max, min, true};

  // Stage 1 and 2: the cell walk and the segments of every triangle. An abort leaves the
  // picture as it is and the status text saying the drawing is under way.
  ContourSegmentStore store;
  if (!CollectContourSegments(context, values, step, min, max, range, store)) return {};

  // Stage 3: polylines, colours and labels.
  std::vector<ContourLabel> labels;
  if (context.display.LineCheck) labels = AssembleContourLines(context, contour, canvas, store, range, step, min, max, placed, writeLabels);
  context.progress.SetStatus(kContourDoneText);
  return labels;
}

// The walk with the segment handler, then the grouping by level.
bool CollectContourSegments(const LayerContext& context, const NodeRow& values, double step, double min,
                            double max, const ContourLevelRange& range, ContourSegmentStore& store) {
  store.Reset(range);
  if (range.levelCount > 0) {
    const FieldDataSet& data = context.data;
    TriangleGeometry g;
    g.X = data.X.data();
    g.Y = data.Y.data();
    g.values = values.data();
    g.offsetX = context.offsetX;
    g.offsetY = context.offsetY;
    g.view = &context.view;
    g.step = step;
    g.min = min;
    g.max = max;
    g.range = range;
    std::vector<std::uint8_t> outside;
    if (!MakePictureCull(context.view, g.cull)) {
      outside = NodeOutsideBits(data.X, data.Y, context.offsetX, context.offsetY, context.view);
      g.outside = outside.data();
    }
    // Most cells of a large grid lie between two levels: they are passed over before their
    // diagonal is chosen. A cell with a non-finite value is always looked at.
    const double* v = values.data();
    const double lowest = static_cast<double>(range.firstLevelIndex);
    const double highest = lowest + static_cast<double>(range.levelCount) - 1.0;
    auto crossed = [&](std::int32_t A, std::int32_t B, std::int32_t C, std::int32_t D) {
      const double a = v[A], b = v[B], c = v[C], d = v[D];
      if (!(std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d))) return true;
      const double lo = std::min(std::min(a, b), std::min(c, d)), hi = std::max(std::max(a, b), std::max(c, d));
      return std::min(std::floor(hi / step), highest) >= std::max(std::ceil(lo / step), lowest);
    };
    auto walk = [&](ContourSegmentStore& into, Progress& progress, CellStrips strips) {
      return ForEachContourTriangle(
          data, context.fieldView.Masks, v, progress, [&](std::int32_t p, std::int32_t q, std::int32_t r) { CollectTriangleSegments(g, into, p, q, r); },
          crossed, strips);
    };
    if (data.X.size() < kBothCoresFrom) {
      if (!walk(store, context.progress, {})) return false;
    } else {
      // The first half of the walk here, the second on a helper thread into a store of its own,
      // appended after: the segments come out in the order of one walk.
      const std::int64_t half = HalfWayStrip(data);
      ContourSegmentStore later;
      later.Reset(range);
      const bool finished = WalkOnBothCores(
          context.progress, [&](Progress& progress) { return walk(store, progress, {0, half}); },
          [&](Progress& progress) { return walk(later, progress, {half, std::numeric_limits<std::int64_t>::max()}); });
      if (!finished) return false;
      store.Append(later);
    }
  }
  store.Finish();
  return true;
}

// Level by level: chain, draw, place the label; then write the labels over all lines.
std::vector<ContourLabel> AssembleContourLines(const LayerContext& context, const ContourOptions& contour, Canvas& canvas,
                                               const ContourSegmentStore& store, const ContourLevelRange& range,
                                               double step, double min, double max,
                                               const std::vector<ContourLabel>* placed, bool writeLabels) {
  const ContourOptions& o = contour;
  const QRect picture(0, 0, context.view.PictureWidth, context.view.PictureHeight);
  // With round levels a label carries just the decimals of the step.
  NumberFormat labelFormat = context.display.numberFormat;
  if (context.load.RoundLevelsCheck) labelFormat.roundStep = step;
  const LabelRules rules{o, context.readout, labelFormat, context.plotArea.isNull() ? picture : context.plotArea};
  canvas.SetBrushStyle(BrushStyle::Hollow);
  std::vector<ContourLabel> labels;
  LevelPolylineBuffer buffer;
  ChainWorkspace work;
  std::vector<PolylineFigure> polylines;
  // A level's buffer has two slots per segment, which must stay countable in 32 bits.
  constexpr std::int64_t kMaxLevelSegments = std::numeric_limits<std::int32_t>::max() / 2;
  const LevelPalette palette(min, max, step, o.colourMap);
  const Colour fixedColour = FixedLineColourFor(o, context.display.WhiteBack);
  for (std::int32_t l = 0; l < store.LevelCount(); ++l) {
    const std::int64_t count = std::min(store.Count(l), kMaxLevelSegments);
    if (count == 0) continue;
    const double level = ContourLevelValue(range, l, step);
    const Colour colour = o.FixLineColor ? fixedColour : palette(level);
    ChainLevelSegments(store.Level(l), static_cast<std::int32_t>(count), buffer, work);
    DrawLevelPolylines(canvas, buffer, colour, o.ContLineWid, polylines);
    if (!placed) PlaceLevelLabel(canvas, labels, buffer, polylines, level, rules, context.random);
  }
  if (placed) labels = *placed;
  // Held back, the labels still leave the canvas in the state writing them would.
  WritePlacedLabels(context, o, canvas, writeLabels ? labels : std::vector<ContourLabel>());
  canvas.SetBrushStyle(BrushStyle::Solid);
  return labels;
}

void WritePlacedLabels(const LayerContext& context, const ContourOptions& contour, Canvas& canvas,
                       const std::vector<ContourLabel>& labels) {
  DrawContourLabels(canvas, labels, LabelFontFor(contour, context.display.WhiteBack), contour.BackClear,
                    context.background, context.display.axisFont);
}

// Pen-up slots start polylines; each polyline goes to the canvas in one call.
void DrawLevelPolylines(Canvas& canvas, const LevelPolylineBuffer& buffer, Colour colour, int width,
                        std::vector<PolylineFigure>& polylines) {
  canvas.SetPen(colour, width);
  polylines.clear();
  const QPoint* pt = buffer.points.data();
  std::int32_t i = 0;
  while (i < buffer.filled) {
    const std::int32_t first = i++;
    double length = 0.0;
    for (; i < buffer.filled && buffer.penDown[static_cast<std::size_t>(i)]; ++i) {
      const double dx = static_cast<double>(pt[i].x()) - pt[i - 1].x();
      const double dy = static_cast<double>(pt[i].y()) - pt[i - 1].y();
      length += std::sqrt(dx * dx + dy * dy);
    }
    canvas.Polyline(pt + first, i - first);
    polylines.push_back({first, i - first - 1, length});
  }
}

}  // namespace corvane
