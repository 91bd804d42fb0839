#include "scene/ExactPicture.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <optional>

#include "analysis/SegmentEndpoints.h"
#include "contour/BandMerge.h"
#include "contour/ColourBar.h"
#include "contour/ContourFill.h"
#include "contour/ContourLevels.h"
#include "contour/ContourLines.h"
#include "field/VariableRows.h"
#include "render/Axes.h"
#include "render/GridLayers.h"
#include "render/PainterCanvas.h"
#include "render/SubpixelCanvas.h"
#include "render/Supersample.h"
#include "render/VectorLayer.h"
#include "streamline/StreamLayer.h"

namespace corvane {

namespace {

// The layer contexts of the view kSubpixelUnits times finer than the plot, copy by copy. Labels
// are not placed and the readout is not kept by these drawings: they get their own.
class FineContexts {
 public:
  explicit FineContexts(const ExactPass& pass)
      : pass_(pass), view_(FineView(pass.plotView, kSubpixelUnits)), random_(pass.state.random) {}
  LayerContext operator()(int copy) { return In(view_, FineArea(pass_.plotArea, kSubpixelUnits), copy); }
  // Copy 0 at the plot's own scale.
  LayerContext Plain() { return In(pass_.plotView, pass_.plotArea, 0); }

 private:
  LayerContext In(const ViewTransform& view, const QRect& area, int copy) {
    const ExactInputs& state = pass_.state;
    const DisplayOptions& d = state.options.display;
    LayerContext c = LayerContextFor(state.data, state.fieldView, view, state.options, pass_.progress, random_, readout_);
    c.offsetX = copy * d.copyOffsetX;
    c.offsetY = copy * d.copyOffsetY;
    c.foreground = ForegroundColour(d);
    c.background = BackgroundColour(d);
    c.plotArea = area;
    return c;
  }
  const ExactPass& pass_;
  ViewTransform view_;
  Random random_;
  ContourReadout readout_;
};

// Labels placed on the whole-pixel picture, for the finer view.
std::vector<ContourLabel> FineLabels(std::vector<ContourLabel> labels) {
  for (ContourLabel& label : labels) label.x *= kSubpixelUnits, label.y *= kSubpixelUnits;
  return labels;
}

}  // namespace

Extents ExtentsOf(const FieldDataSet& data) { return Extents{data.XMin, data.XMax, data.YMin, data.YMax}; }

void PaintBackground(Canvas& canvas, Colour background, int width, int height) {
  canvas.SetBrush(background, BrushStyle::Solid);
  canvas.SetPen(background, 1);
  canvas.Rectangle(0, 0, width, height);
}

// The band polygons of every copy at fractions of a pixel, merged or one per band and triangle.
// A smooth drawing draws them once: its bitmap and its vector files share them.
QPicture DrawFineBands(const ExactPass& pass) {
  const ExactInputs& state = pass.state;
  const Colour foreground = ForegroundColour(state.options.display);
  FineContexts fine(pass);
  QPicture bands;
  if (state.options.display.MergeBandsCheck) {
    BandMergingCanvas merging;
    merging.SetPen(foreground, 1);
    for (int c = 0; c <= pass.copies; ++c) DrawContourFill(fine(c), state.options.contour.colourMap, merging, nullptr, 1);
    QPainter painter(&bands);
    merging.WriteTo(painter, 1.0 / kSubpixelUnits);
  } else {
    PainterCanvas bandCanvas(&bands);
    SubpixelCanvas fineBands(bandCanvas, kSubpixelUnits);
    fineBands.SetPen(foreground, 1);
    for (int c = 0; c <= pass.copies; ++c) DrawContourFill(fine(c), state.options.contour.colourMap, fineBands, nullptr, 1);
    fineBands.Flush();
    bandCanvas.Finish();
  }
  return bands;
}

// The scene again for vector files, its grid, contour lines, vectors, zone edges and streamlines
// drawn through the finer view and written at fractions of a pixel over the fine `bands`;
// labels, axes, the segment and the colour bar as the whole-pixel drawing placed them, the
// labels over every other layer of the plot.
// Warnings were given by that drawing and are not repeated.
QPicture DrawExactPicture(const ExactPass& pass, const std::vector<std::vector<ContourLabel>>& labels,
                          const QPicture& bands, const std::optional<ColourBarInput>& colourBar) {
  const ExactInputs& state = pass.state;
  const DisplayOptions& d = state.options.display;
  const FieldDataSet& data = state.data;
  constexpr int units = kSubpixelUnits;
  const Colour foreground = ForegroundColour(d), background = BackgroundColour(d);
  FineContexts fine(pass);
  SilentNotifier silent;

  QPicture picture;
  PainterCanvas canvas(&picture);
  if (!pass.fillAsPixels) PaintBackground(canvas, background, pass.width, pass.height);
  canvas.SetPen(foreground, 1);
  if (pass.fills && !pass.fillAsPixels) canvas.Draw(bands, 0, 0);

  {
    SubpixelCanvas lines(canvas, units);
    for (int c = 0; c <= pass.copies; ++c) {
      const LayerContext layer = fine(c);
      lines.SetFont(d.axisFont);
      if (d.ShowGrid && !d.GridForward) DrawGridLines(layer, lines);
      if (pass.lines) {
        const std::vector<ContourLabel> placed = FineLabels(labels[static_cast<std::size_t>(c)]);
        DrawContourLines(layer, state.options.contour, lines, &placed, false);
      }
      if (d.ShowVec) DrawVelocityVectors(layer, lines, silent);
      lines.SetBrushStyle(BrushStyle::Hollow);
      DrawZoneBoundaries(layer, lines);
      if (d.ShowGrid && d.GridForward) DrawGridLines(layer, lines);
      lines.SetBrushStyle(BrushStyle::Solid);
    }
  }
  const LayerContext plain = fine.Plain();
  if (d.ShowXYLabel) DrawAxes(canvas, plain, ExtentsOf(data), nullptr);
  if (WantsSceneSegment(d)) DrawAnalysisSegment(plain, state.options.analysis, canvas);
  if (d.DrawStreamLineCheck) {
    SubpixelCanvas lines(canvas, units);
    DrawStreamlines(plain, state.options.stream, lines, units);
  }
  if (pass.lines) {
    SubpixelCanvas fineLabels(canvas, units);
    for (int c = 0; c <= pass.copies; ++c)
      WritePlacedLabels(fine(c), state.options.contour, fineLabels, FineLabels(labels[static_cast<std::size_t>(c)]));
    fineLabels.SetBrushStyle(BrushStyle::Solid);
  }
  if (colourBar && (pass.fills || pass.lines))
    DrawColourBar(canvas, *colourBar, pass.width, pass.height, d.ShowXYLabel ? state.view.AxisMarginBottom : 0);
  canvas.Finish();
  picture.setBoundingRect(QRect(0, 0, pass.width, pass.height));
  return picture;
}

}  // namespace corvane
