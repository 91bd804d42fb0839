#include "scene/SceneRenderer.h"

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
#include "field/DeferredRows.h"
#include "fieldview/ContourRanges.h"
#include "field/VariableRows.h"
#include "render/Axes.h"
#include "render/GridLayers.h"
#include "render/PainterCanvas.h"
#include "render/SubpixelCanvas.h"
#include "render/Supersample.h"
#include "render/VectorLayer.h"
#include "streamline/StreamLayer.h"

namespace corvane {

LayerContext LayerContextFor(const FieldDataSet& data, const FieldView& fieldView, const ViewTransform& view,
                             const ProgramOptions& options, Progress& progress, Random& random,
                             ContourReadout& readout) {
  LayerContext context{data, fieldView, view, options.display, options.load, progress, random, readout};
  context.row = options.RGroup;
  return context;
}

namespace {

// Holds the drawing flag for one drawing; lowers it however the drawing ends, exceptions included.
class DrawingScope {
 public:
  explicit DrawingScope(SceneState& state) : state_(state) { state_.drawing = true; }
  ~DrawingScope() { state_.drawing = false; }
  DrawingScope(const DrawingScope&) = delete;
  DrawingScope& operator=(const DrawingScope&) = delete;

 private:
  SceneState& state_;
};

// What one drawing reads and writes: the data set read only, the rest the drawing's own copies.
struct Drawing {
  const FieldDataSet& data;
  FieldView& fieldView;
  ViewTransform& view;
  const ProgramOptions& options;
  ContourReadout& readout;
  Random& random;
};

Drawing DrawingOf(SceneState& state) {
  return Drawing{state.data, state.fieldView, state.view, state.options, state.readout, state.random};
}

Extents WidenedExtents(const Drawing& state) {
  const DisplayOptions& d = state.options.display;
  return WidenForCopies(ExtentsOf(state.data), d.copyOffsetX, d.copyOffsetY, d.overlayCopies);
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
std::string ContourProblemOf(const FieldDataSet& data, const FieldView& shown, int row) {
  const std::size_t k = static_cast<std::size_t>(row);
  if (row < 0 || k >= data.Values.size() || k >= shown.ContourMax.size() || k >= shown.ContourMin.size() ||
      k >= shown.ContourStep.size())
    return {};
  return ContourRangeProblem(shown.ContourMax[k], shown.ContourMin[k], shown.ContourStep[k]);
}

// The colour bar's input for the picture's variable.
std::optional<ColourBarInput> ColourBarFor(const Drawing& state) {
  return ColourBarOf(state.options, state.data, state.fieldView);
}

// Pixels at the picture's right edge that the colour bar takes from the plot area.
int ColourBarStrip(const Drawing& state) {
  const std::optional<ColourBarInput> in = ColourBarFor(state);
  if (!in) return 0;
  return ColourBarStripIn(*in, state.view.PictureWidth);
}

// The rescale, fitted into the plot area: the picture less the colour bar's strip.
void RescaleIntoPlotArea(Drawing& state, const Extents& extents) {
  const DisplayOptions& d = state.options.display;
  const int strip = ColourBarStrip(state);
  ViewTransform fitted = state.view;
  fitted.PictureWidth -= strip;
  fitted.Rescale(extents, d.XYSameScale, d.ShowXYLabel, d.numberFormat, AxisTextMeasure(d.axisFont));
  fitted.PictureWidth += strip;
  state.view = fitted;
}

}  // namespace

int ColourBarStripOf(const SceneState& state) {
  const std::optional<ColourBarInput> in = ColourBarOf(state.options, state.data, state.fieldView);
  return in ? ColourBarStripIn(*in, state.view.PictureWidth) : 0;
}

Colour ForegroundColour(const DisplayOptions& display) { return display.WhiteBack ? kBlack : kWhite; }
Colour BackgroundColour(const DisplayOptions& display) { return display.WhiteBack ? kWhite : kBlack; }

std::optional<ColourBarInput> ColourBarOf(const ProgramOptions& o, const FieldDataSet& data, const FieldView& shown) {
  if (!o.display.ColourBarCheck || !o.display.ShowContour || o.RGroup < 0) return std::nullopt;
  const std::size_t row = static_cast<std::size_t>(o.RGroup);
  if (row >= shown.ContourMax.size() || row >= shown.ContourMin.size() || row >= shown.ContourStep.size())
    return std::nullopt;
  ColourBarInput in;
  in.lo = shown.ContourMin[row];
  in.hi = shown.ContourMax[row];
  in.step = shown.ContourStep[row];
  in.kind = o.contour.colourMap;
  in.format = o.display.numberFormat;
  if (o.load.RoundLevelsCheck) in.format.roundStep = in.step;
  in.title = RowCaption(data, o.RGroup).value_or(std::string());
  in.font = o.display.axisFont;
  in.foreground = ForegroundColour(o.display);
  in.background = BackgroundColour(o.display);
  return in;
}

int ColourBarStripIn(const ColourBarInput& in, int width) {
  const TextMeasure measure = AxisTextMeasure(in.font);
  return ColourBarStripWidth(in, width, [&](const std::string& s) {
    const TextSize t = measure(s);
    return std::pair<int, int>{t.width, t.height};
  });
}

TextMeasure AxisTextMeasure(const FontSpec& font) {
  const QFont qfont = MakeQFont(font);
  return [qfont](const std::string& text) {
    const QFontMetrics metrics(qfont);
    return TextSize{metrics.horizontalAdvance(QString::fromStdString(text)), metrics.height()};
  };
}

void FitView(SceneState& state) {
  Drawing drawing = DrawingOf(state);
  RescaleIntoPlotArea(drawing, WidenedExtents(drawing));
}
void FitViewTo(SceneState& state, const Extents& extents) {
  Drawing drawing = DrawingOf(state);
  RescaleIntoPlotArea(drawing, extents);
}


SceneSnapshot SnapshotOf(SceneState& state) {
  return SceneSnapshot{&state.data,  state.fieldView, state.view, state.options, state.readout,
                       state.random, state.toldContourProblem};
}

DrawingResult DrawSnapshot(const SceneSnapshot& snapshot, Progress& progress, Notifier& notifier) {
  DrawingResult result;
  result.fieldView = snapshot.fieldView;
  result.view = snapshot.view;
  result.readout = snapshot.readout;
  result.random = snapshot.random;
  // The drawn row is computed the first time it is drawn, and its automatic range taken.
  EnsureRowValues(*snapshot.data, snapshot.options.RGroup);
  TakeComputedRanges(*snapshot.data, result.fieldView, snapshot.options.load);
  Drawing state{*snapshot.data, result.fieldView, result.view, snapshot.options, result.readout, result.random};
  const DisplayOptions& d = state.options.display;
  const int copies = std::clamp(d.overlayCopies, 0, 10);
  const double dx = d.copyOffsetX, dy = d.copyOffsetY;

  // The axes and a fit of a zero scale take the extents widened to cover every copy.
  const Extents widened = WidenedExtents(state);
  if (state.view.ScaleX == 0.0 || state.view.ScaleY == 0.0) RescaleIntoPlotArea(state, widened);

  const int width = std::max(state.view.PictureWidth, 1), height = std::max(state.view.PictureHeight, 1);
  const Colour foreground = ForegroundColour(d), background = BackgroundColour(d);
  bool fills = d.ShowContour && d.BrushCheck, lines = d.ShowContour && d.LineCheck;
  std::string& contourProblem = result.contourProblem;
  if (fills || lines) {
    // The contour layers walk the shown cells and colour by the step; both are derived here, in
    // the view, so the layers can take the data set as it is.
    UpdateLineMasks(state.data, state.fieldView, state.options.load.ICompress2, state.options.load.JCompress2);
    if (state.options.load.AutoStepCheck) AutoStep(state.fieldView, state.options.load.StepBar);
    ApplyRoundLevels(state.fieldView, state.options.load);
    // A range or step the levels cannot come from leaves the contour layers out, and the user
    // is told why rather than left with a picture without them.
    contourProblem = ContourProblemOf(state.data, state.fieldView, state.options.RGroup);
    if (!contourProblem.empty()) {
      fills = lines = false;
      progress.SetStatus(kContourStepInvalidText);
      if (contourProblem != snapshot.toldContourProblem) notifier.Warning(contourProblem);
    }
  }

  // With a colour bar the layers draw into the plot area, the picture less the bar's strip.
  const std::optional<ColourBarInput> colourBar = ColourBarFor(state);
  ViewTransform plotView = state.view;
  plotView.PictureWidth -= ColourBarStrip(state);

  const FieldDataSet& data = state.data;
  // With the axes shown, labels, vectors, the segment and the streamlines keep off the margins.
  const QRect plotArea = d.ShowXYLabel ? AxisPlotArea(plotView, widened) : QRect();
  auto contextIn = [&](const ViewTransform& view, int copy) {
    LayerContext c = LayerContextFor(data, state.fieldView, view, state.options, progress, state.random, state.readout);
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

  const ExactInputs inputs{state.data, state.fieldView, state.options, state.random, state.view};
  const ExactPass pass{inputs, progress, plotView, plotArea, width, height, copies, fills, fillAsPixels, lines};
  QPicture fineBands;  // a smooth drawing's bands, at fractions of a pixel
  QPicture picture;
  // Without a vector file to make, the layers are painted straight into the bitmap: recording
  // them into the picture and playing it back costs a fifth of a million-node drawing.
  const bool direct = !snapshot.vectorPicture && factor == 1;
  QImage bitmap;
  if (direct) {
    // The bands' own bitmap is wanted only by a vector file: the picture takes it over.
    bitmap = fillAsPixels ? std::move(fillBitmap) : QImage(width, height, QImage::Format_RGB32);
    if (!fillAsPixels) bitmap.fill(ToQColor(background));
  }
  PainterCanvas canvas(direct ? static_cast<QPaintDevice*>(&bitmap) : &picture);
  canvas.SetAsPlayed(direct);
  // A smooth drawing keeps the background and the bands apart from the lines: the bands are
  // supersampled without anti-aliasing, so they meet without seams, and the lines, arrows and
  // texts are anti-aliased at the picture's own size, so they keep their width.
  QPicture underlay;
  PainterCanvas underlayCanvas(d.SmoothCheck ? &underlay : nullptr);
  PainterCanvas& under = d.SmoothCheck ? underlayCanvas : canvas;
  if (!fillAsPixels) PaintBackground(under, background, width, height);
  under.SetPen(foreground, 1);

  if (fills && !fillAsPixels) {
    // Vector mode: the band polygons go into the picture; triangles too small for a polygon
    // are gathered as pixels into one bitmap laid under them, cut to the pixels they touch.
    QImage specks(width, height, QImage::Format_RGB32);
    specks.fill(ToQColor(kUncovered));
    QPicture bands;
    if (d.SmoothCheck) {
      bands = fineBands = DrawFineBands(pass);
    } else if (d.MergeBandsCheck) {
      // One path per region of a band instead of one polygon per band and triangle.
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
      under.Draw(part, touched.x(), touched.y());
    }
    under.Draw(bands, 0, 0);
    // The coverage: the specks with the band polygons played over them.
    {
      QPainter painter(&specks);
      painter.drawPicture(0, 0, bands);
    }
    coverage = TakeCoverage(specks, ToQColor(background).rgb());
  }
  if (d.SmoothCheck) {
    underlayCanvas.Finish();
    canvas.SetSmoothLines(true);
    canvas.SetPen(foreground, 1);
  }

  // Line layers, copy by copy; copy c is drawn shifted by c * (dx, dy) without moving the data.
  std::vector<std::vector<ContourLabel>> labels(static_cast<std::size_t>(copies) + 1);
  for (int c = 0; c <= copies; ++c) {
    const LayerContext layer = context(c);
    canvas.SetFont(d.axisFont);
    if (d.ShowGrid && !d.GridForward) DrawGridLines(layer, canvas);
    if (lines) labels[static_cast<std::size_t>(c)] = DrawContourLines(layer, state.options.contour, canvas, nullptr, false);
    if (d.ShowVec) DrawVelocityVectors(layer, canvas, notifier);
    canvas.SetBrushStyle(BrushStyle::Hollow);
    DrawZoneBoundaries(layer, canvas);
    if (d.ShowGrid && d.GridForward) DrawGridLines(layer, canvas);
    canvas.SetBrushStyle(BrushStyle::Solid);
  }

  // Once, over all copies.
  if (d.ShowXYLabel) DrawAxes(canvas, context(0), widened, &notifier);
  if (WantsSceneSegment(d)) DrawAnalysisSegment(context(0), state.options.analysis, canvas);
  if (d.DrawStreamLineCheck) DrawStreamlines(context(0), state.options.stream, canvas);
  // The labels over every line of the plot, streamlines included, so none is crossed out.
  if (lines) {
    for (int c = 0; c <= copies; ++c)
      WritePlacedLabels(context(c), state.options.contour, canvas, labels[static_cast<std::size_t>(c)]);
    canvas.SetBrushStyle(BrushStyle::Solid);
  }
  if (colourBar && (fills || lines)) DrawColourBar(canvas, *colourBar, width, height, d.ShowXYLabel ? state.view.AxisMarginBottom : 0);
  canvas.Finish();
  if (!direct) picture.setBoundingRect(QRect(0, 0, width, height));

  progress.SetStatus("ビットマップに転送中…");
  auto makeBitmap = [&] {
    if (direct) return;
    if (factor == 1) {
      bitmap = fillAsPixels ? fillBitmap.copy() : QImage(width, height, QImage::Format_RGB32);
      if (!fillAsPixels) bitmap.fill(ToQColor(background));
      QPainter painter(&bitmap);
      painter.drawPicture(0, 0, picture);
      return;
    }
    // The bands averaged down from the large size, the lines played over them anti-aliased.
    if (fillAsPixels) {
      bitmap = fillBitmap.copy();
    } else if (fills) {
      QImage large(width * factor, height * factor, QImage::Format_RGB32);
      large.fill(ToQColor(background));
      {
        QPainter painter(&large);
        painter.scale(factor, factor);
        painter.drawPicture(0, 0, underlay);
      }
      bitmap = AverageDown(large, factor);
    } else {
      bitmap = QImage(width, height, QImage::Format_RGB32);
      bitmap.fill(ToQColor(background));
    }
    QPainter painter(&bitmap);
    painter.drawPicture(0, 0, picture);
    // The picture keeps the lines alone: vector files take the exact picture, which has all.
  };
  // A smooth drawing is meant for print: its vector files get their own picture whose lines and
  // bands lie at fractions of a pixel. Drawing it costs about as much as the bitmap, and only a
  // vector file wants it, so what it is drawn from is kept and it is drawn when one is saved.
  // It tells no progress then.
  DeferredPicture exact;
  if (d.SmoothCheck) {
    struct Kept {
      FieldView fieldView;
      ProgramOptions options;
      Random random;
      ViewTransform view, plotView;
      QRect plotArea;
      int width, height, copies;
      bool fills, fillAsPixels, lines;
      std::vector<std::vector<ContourLabel>> labels;
      QPicture fineBands;
      std::optional<ColourBarInput> colourBar;
    };
    auto kept = std::make_shared<const Kept>(Kept{state.fieldView, state.options, state.random, state.view, plotView,
                                                  plotArea, width, height, copies, fills, fillAsPixels, lines, labels,
                                                  fineBands, colourBar});
    exact = DeferredPicture([kept](const FieldDataSet& shownData) {
      NullProgress quiet;
      const ExactInputs keptInputs{shownData, kept->fieldView, kept->options, kept->random, kept->view};
      const ExactPass keptPass{keptInputs, quiet, kept->plotView, kept->plotArea, kept->width, kept->height,
                               kept->copies, kept->fills, kept->fillAsPixels, kept->lines};
      return DrawExactPicture(keptPass, kept->labels, kept->fineBands, kept->colourBar);
    });
  }
  makeBitmap();
  result.picture = picture;
  result.exactPicture = exact;
  result.bands = fillBitmap;
  // The readout stays blank over the margins the axes blanked.
  if (!coverage.isNull() && !plotArea.isNull())
    for (int y = 0; y < coverage.height(); ++y) {
      uchar* row = coverage.scanLine(y);
      for (int x = 0; x < coverage.width(); ++x)
        if (!plotArea.contains(x, y)) row[x] = 0;
    }
  result.bandCoverage = coverage;
  result.plotArea = plotArea;
  result.bitmap = bitmap;
  progress.SetStatus("ビットマップ転送完了.描画完了.");
  return result;
}

void ApplyDrawing(SceneState& state, DrawingResult&& result) {
  state.fieldView = std::move(result.fieldView);
  state.view = result.view;
  state.drawnView = result.view;
  state.readout = result.readout;
  state.random = result.random;
  state.picture = std::move(result.picture);
  state.exactPicture = std::move(result.exactPicture);
  state.bands = std::move(result.bands);
  state.bitmap = std::move(result.bitmap);
  state.bandCoverage = std::move(result.bandCoverage);
  state.plotArea = result.plotArea;
  state.contourProblem = result.contourProblem;
  state.toldContourProblem = std::move(result.contourProblem);
}

bool DrawScene(SceneState& state, Progress& progress, Notifier& notifier, bool vectorPicture) {
  if (state.drawing) return false;
  DrawingScope scope(state);
  SceneSnapshot snapshot = SnapshotOf(state);
  snapshot.vectorPicture = vectorPicture;
  DrawingResult result = DrawSnapshot(snapshot, progress, notifier);
  ApplyDrawing(state, std::move(result));
  return true;
}

bool ReadoutCovers(const SceneState& state, int x, int y) {
  const QImage& c = state.bandCoverage;
  if (c.isNull() || x < 0 || y < 0 || x >= c.width() || y >= c.height()) return false;
  return c.constScanLine(y)[x] != 0;
}

DeferredPicture::DeferredPicture(QPicture picture) {
  if (picture.isNull()) return;
  shared_ = std::make_shared<Shared>();
  shared_->picture = std::move(picture);
}

DeferredPicture::DeferredPicture(std::function<QPicture(const FieldDataSet&)> draw) : shared_(std::make_shared<Shared>()) {
  shared_->draw = std::move(draw);
}

bool DeferredPicture::isNull() const { return !shared_; }

QPicture DeferredPicture::Get(const FieldDataSet& data) const {
  if (!shared_) return QPicture();
  const std::lock_guard<std::mutex> lock(shared_->mutex);
  if (shared_->draw) {
    shared_->picture = shared_->draw(data);
    shared_->draw = nullptr;
  }
  return shared_->picture;
}

QPicture CompletePicture(const SceneState& state) {
  const QPicture exact = state.exactPicture.Get(state.data);
  const QPicture& picture = exact.isNull() ? state.picture : exact;
  if (state.bands.isNull()) return picture;
  QPicture complete;
  {
    PainterCanvas canvas(&complete);
    canvas.Draw(state.bands, 0, 0);
    canvas.Draw(picture, 0, 0);
    canvas.Finish();
  }
  complete.setBoundingRect(state.picture.boundingRect());
  return complete;
}

std::pair<QPoint, QPoint> ZoomCornersInPlot(const SceneState& state, QPoint a, QPoint b) {
  const int right = std::max(state.view.PictureWidth - ColourBarStripOf(state), 1) - 1;
  a.setX(std::min(a.x(), right));
  b.setX(std::min(b.x(), right));
  return {a, b};
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
  LayerContext context = LayerContextFor(state.data, state.fieldView, state.view, state.options, progress, random, readout);
  context.foreground = ForegroundColour(d);
  context.background = BackgroundColour(d);
  DrawGridLinesInto(context, work);
}

}  // namespace corvane
