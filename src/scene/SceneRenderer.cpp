#include "scene/SceneRenderer.h"

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
#include "data/DerivedQuantities.h"
#include "data/RoundLevels.h"
#include "data/VariableRows.h"
#include "render/Axes.h"
#include "render/GridLayers.h"
#include "render/PainterCanvas.h"
#include "render/Supersample.h"
#include "render/VectorLayer.h"
#include "streamline/StreamLayer.h"

namespace corvane {

LayerContext LayerContextFor(const FieldDataSet& data, const ViewTransform& view, const ProgramOptions& options,
                             Progress& progress, Random& random, ContourReadout& readout) {
  LayerContext context{data, view, options.display, options.load, progress, random, readout};
  context.row = options.RGroup;
  return context;
}

namespace {

Extents ExtentsOf(const FieldDataSet& data) { return Extents{data.XMin, data.XMax, data.YMin, data.YMax}; }

void SetExtents(FieldDataSet& data, const Extents& e) {
  data.XMin = e.XMin;
  data.XMax = e.XMax;
  data.YMin = e.YMin;
  data.YMax = e.YMax;
}

// Holds the drawing flag and the widened extents for one drawing; puts the data set's own
// extents back and lowers the flag however the drawing ends, exceptions included.
class DrawingScope {
 public:
  explicit DrawingScope(SceneState& state) : state_(state), saved_(ExtentsOf(state.data)) { state_.drawing = true; }
  ~DrawingScope() {
    SetExtents(state_.data, saved_);
    state_.drawing = false;
  }
  DrawingScope(const DrawingScope&) = delete;
  DrawingScope& operator=(const DrawingScope&) = delete;

 private:
  SceneState& state_;
  Extents saved_;
};

Extents WidenedExtents(const SceneState& state) {
  const DisplayOptions& d = state.options.display;
  return WidenForCopies(ExtentsOf(state.data), d.xoffsetbox, d.yoffsetbox, d.writetimes);
}

// The picture's background: pen and brush in the background colour over the whole picture.
void PaintBackground(Canvas& canvas, Colour background, int width, int height) {
  canvas.SetBrush(background, BrushStyle::Solid);
  canvas.SetPen(background, 1);
  canvas.Rectangle(0, 0, width, height);
}

// A colour no colour map gives (the maps always have a channel at 0 or 255, or three equal
// channels): the bands are drawn over it, so what keeps it was covered by no band.
constexpr Colour kUncovered = MakeColour(1, 2, 3);

// The band coverage of `image` (pixels unlike kUncovered), and kUncovered turned into the
// background colour in the image.
QImage TakeCoverage(QImage& image, QRgb background) {
  QImage coverage(image.size(), QImage::Format_Grayscale8);
  const QRgb uncovered = ToQColor(kUncovered).rgb();
  for (int y = 0; y < image.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    uchar* mask = coverage.scanLine(y);
    for (int x = 0; x < image.width(); ++x) {
      const bool covered = row[x] != uncovered;
      mask[x] = covered ? 255 : 0;
      if (!covered) row[x] = background;
    }
  }
  return coverage;
}

// The smallest rectangle holding every pixel of `image` (RGB32) that differs from `colour`.
QRect PixelsUnlike(const QImage& image, QRgb colour) {
  int left = image.width(), right = -1, top = -1, bottom = -1;
  for (int y = 0; y < image.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x)
      if (row[x] != colour) {
        if (first < 0) first = x;
        last = x;
      }
    if (first < 0) continue;
    if (top < 0) top = y;
    bottom = y;
    left = std::min(left, first);
    right = std::max(right, last);
  }
  return top < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// Why the contour layers cannot draw the selected row's range; empty when they can (or when the
// row does not exist, which the layers pass over by themselves).
std::string ContourProblemOf(const FieldDataSet& data, int row) {
  const std::size_t k = static_cast<std::size_t>(row);
  if (row < 0 || k >= data.Values.size() || k >= data.ContourMax.size() || k >= data.ContourMin.size() ||
      k >= data.ContourStep.size())
    return {};
  return ContourRangeProblem(data.ContourMax[k], data.ContourMin[k], data.ContourStep[k]);
}

// The colour bar's input for the drawn variable, or nothing when the bar is off or the variable
// has no contour range.
std::optional<ColourBarInput> ColourBarFor(const SceneState& state) {
  const ProgramOptions& o = state.options;
  const FieldDataSet& data = state.data;
  if (!o.display.ColourBarCheck || !o.display.ShowContour || o.RGroup < 0) return std::nullopt;
  const std::size_t row = static_cast<std::size_t>(o.RGroup);
  if (row >= data.ContourMax.size() || row >= data.ContourMin.size() || row >= data.ContourStep.size())
    return std::nullopt;
  ColourBarInput in;
  in.lo = data.ContourMin[row];
  in.hi = data.ContourMax[row];
  in.step = data.ContourStep[row];
  in.kind = o.contour.colourMap;
  in.format = o.display.numberFormat;
  if (o.load.RoundLevelsCheck) in.format.roundStep = in.step;
  in.title = RowCaption(data, o.RGroup).value_or(std::string());
  in.font = o.display.axisFont;
  in.foreground = ForegroundColour(o.display);
  in.background = BackgroundColour(o.display);
  return in;
}

// Pixels at the picture's right edge that the colour bar takes from the plot area.
int ColourBarStrip(const SceneState& state) {
  const std::optional<ColourBarInput> in = ColourBarFor(state);
  if (!in) return 0;
  const TextMeasure measure = AxisTextMeasure(in->font);
  return ColourBarStripWidth(*in, state.view.PictureWidth, [&](const std::string& s) {
    const TextSize t = measure(s);
    return std::pair<int, int>{t.width, t.height};
  });
}

// The rescale, fitted into the plot area: the picture less the colour bar's strip.
void RescaleIntoPlotArea(SceneState& state, const Extents& extents) {
  const DisplayOptions& d = state.options.display;
  const int strip = ColourBarStrip(state);
  state.view.PictureWidth -= strip;
  state.view.Rescale(extents, d.XYSameScale, d.ShowXYLabel, d.numberFormat, AxisTextMeasure(d.axisFont));
  state.view.PictureWidth += strip;
}

}  // namespace

Colour ForegroundColour(const DisplayOptions& display) { return display.WhiteBack ? kBlack : kWhite; }
Colour BackgroundColour(const DisplayOptions& display) { return display.WhiteBack ? kWhite : kBlack; }

TextMeasure AxisTextMeasure(const FontSpec& font) {
  const QFont qfont = MakeQFont(font);
  return [qfont](const std::string& text) {
    const QFontMetrics metrics(qfont);
    return TextSize{metrics.horizontalAdvance(QString::fromStdString(text)), metrics.height()};
  };
}

void FitView(SceneState& state) { RescaleIntoPlotArea(state, WidenedExtents(state)); }

bool DrawScene(SceneState& state, Progress& progress, Notifier& notifier) {
  if (state.drawing) return false;
  DrawingScope scope(state);
  const DisplayOptions& d = state.options.display;
  const int copies = std::clamp(d.writetimes, 0, 10);
  const double dx = d.xoffsetbox, dy = d.yoffsetbox;

  // Layers that read the extents (the axes) see them widened to cover every copy; a fit of a
  // zero scale takes the same widened extents (widening the data set's copy again would fit
  // the copies twice over).
  const Extents widened = WidenedExtents(state);
  SetExtents(state.data, widened);
  if (state.view.ScaleX == 0.0 || state.view.ScaleY == 0.0) RescaleIntoPlotArea(state, widened);

  const int width = std::max(state.view.PictureWidth, 1), height = std::max(state.view.PictureHeight, 1);
  const Colour foreground = ForegroundColour(d), background = BackgroundColour(d);
  bool fills = d.ShowContour && d.BrushCheck, lines = d.ShowContour && d.LineCheck;
  state.contourProblem.clear();
  if (fills || lines) {
    // The contour layers walk the shown cells and colour by the step; both are derived here so
    // the layers can take the data set as it is.
    UpdateLineMasks(state.data, state.options.load.ICompress2, state.options.load.JCompress2);
    if (state.options.load.AutoStepCheck) AutoStep(state.data, state.options.load.StepBar);
    ApplyRoundLevels(state.data, state.options.load);
    // A range or step the levels cannot come from leaves the contour layers out, and the user
    // is told why rather than left with a picture without them.
    state.contourProblem = ContourProblemOf(state.data, state.options.RGroup);
    if (!state.contourProblem.empty()) {
      fills = lines = false;
      progress.SetStatus(kContourStepInvalidText);
      if (state.contourProblem != state.toldContourProblem) notifier.Warning(state.contourProblem);
    }
  }
  state.toldContourProblem = state.contourProblem;

  // With a colour bar the layers draw into the plot area, the picture less the bar's strip.
  const std::optional<ColourBarInput> colourBar = ColourBarFor(state);
  ViewTransform plotView = state.view;
  plotView.PictureWidth -= ColourBarStrip(state);

  const FieldDataSet& data = state.data;
  // With the axes shown, labels, vectors, the segment and the streamlines keep off the margins.
  const QRect plotArea = d.ShowXYLabel ? AxisPlotArea(plotView, widened) : QRect();
  auto contextIn = [&](const ViewTransform& view, int copy) {
    LayerContext c = LayerContextFor(data, view, state.options, progress, state.random, state.readout);
    c.offsetX = copy * dx;
    c.offsetY = copy * dy;
    c.foreground = foreground;
    c.background = background;
    c.plotArea = plotArea;
    return c;
  };
  auto context = [&](int copy) { return contextIn(plotView, copy); };
  // Smooth drawing draws everything `factor` times larger and averages it down at the end.
  const int factor = d.SmoothCheck ? kSupersampleFactor : 1;
  const ViewTransform fillView = factor == 1 ? plotView : SupersampledView(plotView, factor);

  // Filled contours of every copy first, behind all lines. In bitmap mode they are painted as
  // pixels into a bitmap of their own, on the background, which lies under the picture (and
  // enters an exported vector file as one image, which keeps it small).
  QImage fillBitmap, fillLarge;
  QImage coverage;
  const bool fillAsPixels = fills && d.BMPModeCheck;
  if (fillAsPixels) {
    QImage& target = factor == 1 ? fillBitmap : fillLarge;
    target = QImage(width * factor, height * factor, QImage::Format_RGB32);
    {
      PainterCanvas fillCanvas(&target);
      PaintBackground(fillCanvas, kUncovered, width * factor, height * factor);
      fillCanvas.SetPen(foreground, 1);
      for (int c = 0; c <= copies; ++c)
        DrawContourFill(contextIn(fillView, c), state.options.contour.colourMap, fillCanvas, &target);
    }
    coverage = TakeCoverage(target, ToQColor(background).rgb());
    if (factor != 1) {
      fillBitmap = AverageDown(fillLarge, factor);
      coverage = coverage.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
  }

  QPicture picture;
  PainterCanvas canvas(&picture);
  if (!fillAsPixels) PaintBackground(canvas, background, width, height);
  canvas.SetPen(foreground, 1);

  if (fills && !fillAsPixels) {
    // Vector mode: the band polygons go into the picture; triangles too small for a polygon
    // are gathered as pixels into one bitmap laid under them, cut to the pixels they touch.
    QImage specks(width, height, QImage::Format_RGB32);
    specks.fill(ToQColor(kUncovered));
    QPicture bands;
    if (d.MergeBandsCheck) {
      // One path per band instead of one polygon per band and triangle.
      BandMergingCanvas merging;
      merging.SetPen(foreground, 1);
      for (int c = 0; c <= copies; ++c)
        DrawContourFill(context(c), state.options.contour.colourMap, merging, nullptr, 1, &specks);
      QPainter painter(&bands);
      merging.WriteTo(painter);
    } else {
      PainterCanvas bandCanvas(&bands);
      bandCanvas.SetPen(foreground, 1);
      for (int c = 0; c <= copies; ++c)
        DrawContourFill(context(c), state.options.contour.colourMap, bandCanvas, nullptr, 1, &specks);
    }
    const QRect touched = PixelsUnlike(specks, ToQColor(kUncovered).rgb());
    if (!touched.isEmpty()) {
      QImage part = specks.copy(touched);
      TakeCoverage(part, ToQColor(background).rgb());
      canvas.Draw(part, touched.x(), touched.y());
    }
    canvas.Draw(bands, 0, 0);
    // The coverage: the specks with the band polygons played over them.
    {
      QPainter painter(&specks);
      painter.drawPicture(0, 0, bands);
    }
    coverage = TakeCoverage(specks, ToQColor(background).rgb());
  }

  // Line layers, copy by copy; copy c is drawn shifted by c * (dx, dy) without moving the data.
  for (int c = 0; c <= copies; ++c) {
    const LayerContext layer = context(c);
    canvas.SetFont(d.axisFont);
    if (d.ShowGrid && !d.GridForward) DrawGridLines(layer, canvas);
    if (lines) DrawContourLines(layer, state.options.contour, canvas);
    if (d.ShowVec) DrawVelocityVectors(layer, canvas, notifier);
    canvas.SetBrushStyle(BrushStyle::Hollow);
    DrawZoneBoundaries(layer, canvas);
    if (d.ShowGrid && d.GridForward) DrawGridLines(layer, canvas);
    canvas.SetBrushStyle(BrushStyle::Solid);
  }

  // Once, over all copies.
  if (d.ShowXYLabel) DrawAxes(canvas, context(0), ExtentsOf(data), &notifier);
  if (WantsSceneSegment(d)) DrawAnalysisSegment(context(0), state.options.analysis, canvas);
  if (d.DrawStreamLineCheck) DrawStreamlines(context(0), state.options.stream, canvas);
  if (colourBar && (fills || lines)) DrawColourBar(canvas, *colourBar, width, height, d.ShowXYLabel ? state.view.AxisMarginBottom : 0);
  canvas.Finish();
  picture.setBoundingRect(QRect(0, 0, width, height));

  progress.SetStatus("ビットマップに転送中…");
  progress.Pump();
  QImage bitmap;
  if (factor == 1) {
    bitmap = fillAsPixels ? fillBitmap.copy() : QImage(width, height, QImage::Format_RGB32);
    if (!fillAsPixels) bitmap.fill(ToQColor(background));
    QPainter painter(&bitmap);
    painter.drawPicture(0, 0, picture);
  } else {
    // The recorded picture played at the large size over the large fill, then averaged down.
    QImage large = fillAsPixels ? std::move(fillLarge) : QImage(width * factor, height * factor, QImage::Format_RGB32);
    if (!fillAsPixels) large.fill(ToQColor(background));
    {
      QPainter painter(&large);
      painter.scale(factor, factor);
      painter.drawPicture(0, 0, picture);
    }
    bitmap = AverageDown(large, factor);
  }
  state.picture = picture;
  state.bands = fillBitmap;
  // The readout stays blank over the margins the axes blanked.
  if (!coverage.isNull() && !plotArea.isNull())
    for (int y = 0; y < coverage.height(); ++y) {
      uchar* row = coverage.scanLine(y);
      for (int x = 0; x < coverage.width(); ++x)
        if (!plotArea.contains(x, y)) row[x] = 0;
    }
  state.bandCoverage = coverage;
  state.plotArea = plotArea;
  state.bitmap = bitmap;
  progress.SetStatus("ビットマップ転送完了.描画完了.");
  return true;
}

bool ReadoutCovers(const SceneState& state, int x, int y) {
  const QImage& c = state.bandCoverage;
  if (c.isNull() || x < 0 || y < 0 || x >= c.width() || y >= c.height()) return false;
  return c.constScanLine(y)[x] != 0;
}

QPicture CompletePicture(const SceneState& state) {
  if (state.bands.isNull()) return state.picture;
  QPicture complete;
  {
    PainterCanvas canvas(&complete);
    canvas.Draw(state.bands, 0, 0);
    canvas.Draw(state.picture, 0, 0);
    canvas.Finish();
  }
  complete.setBoundingRect(state.picture.boundingRect());
  return complete;
}

bool Redraw(SceneState& state, Progress& progress, Notifier& notifier) {
  if (state.options.display.UseOpenGL) return false;
  return DrawScene(state, progress, notifier);
}

bool RescaleAndRedraw(SceneState& state, Progress& progress, Notifier& notifier) {
  if (state.drawing || state.options.display.UseOpenGL) return false;
  // The fit uses the extents widened for the copies; DrawScene widens them again for its own
  // layers, from the data set's own extents, so they are widened once, not twice.
  FitView(state);
  const bool drawn = DrawScene(state, progress, notifier);
  DisplayOptions& d = state.options.display;
  d.x0box = state.view.CentreX;
  d.y0box = state.view.CentreY;
  d.xscalebox = state.view.ScaleX;
  d.yscalebox = state.view.ScaleY;
  return drawn;
}

void DrawGridPreview(const SceneState& state, QImage& work) {
  const int width = std::max(state.view.PictureWidth, 1), height = std::max(state.view.PictureHeight, 1);
  if (work.width() != width || work.height() != height || work.format() != QImage::Format_RGB32)
    work = QImage(width, height, QImage::Format_RGB32);
  const DisplayOptions& d = state.options.display;
  work.fill(ToQColor(BackgroundColour(d)));
  NullProgress progress;
  Random random;
  ContourReadout readout;
  LayerContext context = LayerContextFor(state.data, state.view, state.options, progress, random, readout);
  context.foreground = ForegroundColour(d);
  context.background = BackgroundColour(d);
  DrawGridLinesInto(context, work);
}

}  // namespace corvane
