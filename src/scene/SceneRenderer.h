// Draws one complete picture of the data set: background, filled contours, then per overlay
// copy grid, contour lines, vectors and boundaries, then axes, segment and streamlines. The
// picture is recorded as a vector picture (kept for EMF export) and played into the bitmap the
// plot window shows. The plot window, the main window's commands and `corvane render` all draw
// through these functions.
#pragma once
#include <QImage>
#include <QPicture>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "contour/ColourBar.h"
#include "field/FieldDataSet.h"
#include "fieldview/FieldView.h"
#include "base/Notifier.h"
#include "base/Progress.h"
#include "base/Random.h"
#include "render/LayerContext.h"
#include "scene/ProgramOptions.h"
#include "render/ViewTransform.h"

namespace corvane {

// A vector picture that may be drawn only the first time it is asked for, from the data set it
// was made for and what its drawing kept; then kept. Copies share the one drawing.
class DeferredPicture {
 public:
  DeferredPicture() = default;
  DeferredPicture(QPicture picture);  // NOLINT: an already drawn picture stands for itself
  explicit DeferredPicture(std::function<QPicture(const FieldDataSet&)> draw);
  // Neither drawn nor drawable.
  bool isNull() const;
  // The picture, drawn now from `data` if it has not been yet.
  QPicture Get(const FieldDataSet& data) const;

 private:
  struct Shared {
    std::mutex mutex;
    std::function<QPicture(const FieldDataSet&)> draw;
    QPicture picture;
  };
  std::shared_ptr<Shared> shared_;
};

// What drawing needs and leaves behind; the main window owns one for the whole run.
struct SceneState {
  FieldDataSet data;
  // How the data is shown: contour ranges, edge flags, line masks. Drawing writes these (the
  // automatic step, the masks), never the data set.
  FieldView fieldView;
  ViewTransform view;
  ProgramOptions options;
  ContourReadout readout;
  Random random;
  // ScenePicture, the last drawing as a vector picture (PictureWidth x PictureHeight). When the
  // bands were painted as pixels they are kept apart in `bands`, which lies under `picture` and
  // holds the background too: recorded in the picture an image is compressed, and played from
  // it decompressed, which costs a large picture more than its lines. CompletePicture joins them.
  // A smooth drawing keeps only its lines here (its bands went into the bitmap supersampled);
  // its vector files take `exactPicture`, which holds everything.
  QPicture picture;
  // With smooth drawing, the same picture with its lines and bands at fractions of a pixel, for
  // vector files (CompletePicture takes it); null otherwise. Only a vector file needs it, so it
  // is drawn when one is first saved, from the data set as it is then.
  DeferredPicture exactPicture;
  QImage bands;
  QImage bitmap;  // the whole drawing in pixels (RGB32), what the plot window shows
  ViewTransform drawnView;  // the view `bitmap` was drawn in (a zoom's preview moves it from there)
  bool drawing = false;  // a drawing is under way
  // Why the last drawing left its contour layers out (unusable range or step); empty when they
  // were drawn or not asked for. The drawing has said it through the notifier.
  std::string contourProblem;
  // The problem last told to the user: a redraw or zoom with the same unusable range only
  // repeats it in the status bar, not in another message box.
  std::string toldContourProblem;
  // Pixels of the last drawing that a filled band covers (Grayscale8, nonzero: covered), inside
  // the plot area; null when no bands were drawn. The value readout is blank elsewhere.
  QImage bandCoverage;
  // The plot area of the last drawing with the axes shown (null without them): the quick segment
  // on the plot window keeps to it as the picture's layers do.
  QRect plotArea;
};

// Whether the value readout has a band under pixel (x, y) of the last drawing: not over the
// background, a hole or the axis margins.
bool ReadoutCovers(const SceneState& state, int x, int y);

// The context the layers draw copy 0 with: the data and how it is shown, the view and the options
// of one drawing.
LayerContext LayerContextFor(const FieldDataSet& data, const FieldView& fieldView, const ViewTransform& view,
                             const ProgramOptions& options, Progress& progress, Random& random,
                             ContourReadout& readout);

// Black lines on a white background, white on black.
Colour ForegroundColour(const DisplayOptions& display);
Colour BackgroundColour(const DisplayOptions& display);

// Text sizes in the axis font, for the rescale's axis margins.
TextMeasure AxisTextMeasure(const FontSpec& font);

// The colour bar's input for the drawn variable, or nothing when the bar is off, contours are
// hidden or the variable has no contour range.
std::optional<ColourBarInput> ColourBarOf(const ProgramOptions& options, const FieldDataSet& data,
                                          const FieldView& fieldView);
// Pixels the bar's strip takes at the right of a picture or view `width` pixels wide.
int ColourBarStripIn(const ColourBarInput& in, int width);

// Fits the view to the data extents widened for the overlay copies (the data is not touched).
void FitView(SceneState& state);
// The same for a chosen part of the world (the axis margins and colour bar as FitView leaves them).
void FitViewTo(SceneState& state, const Extents& extents);

// The inputs of one drawing, taken on the thread that owns the scene: the drawing may then run on
// another thread while that one goes on. The data set is read through the pointer and must stay
// unchanged until the drawing is over, except that the drawing computes the drawn row if it is
// pending (under the data set's lock); everything else is the snapshot's own copy.
struct SceneSnapshot {
  FieldDataSet* data = nullptr;
  FieldView fieldView;
  ViewTransform view;
  ProgramOptions options;
  ContourReadout readout;
  Random random;
  std::string toldContourProblem;
  // False when only the bitmap is wanted (a raster file, pixels): the picture stays empty.
  bool vectorPicture = true;
};

// What one drawing leaves behind, for ApplyDrawing to take into the scene: the pictures, the
// view (fitted when its scale was zero), the field view with its masks and steps brought up to
// date, the readout's range and coverage, and the generator as the labels left it.
struct DrawingResult {
  FieldView fieldView;
  ViewTransform view;
  ContourReadout readout;
  Random random;
  QPicture picture;
  DeferredPicture exactPicture;
  QImage bands, bitmap, bandCoverage;
  QRect plotArea;
  std::string contourProblem;
};

SceneSnapshot SnapshotOf(SceneState& state);
// Draws the snapshot; reads nothing else and writes nothing shared. The layers stop early when
// progress.AbortRequested() turns true; the result is then incomplete.
DrawingResult DrawSnapshot(const SceneSnapshot& snapshot, Progress& progress, Notifier& notifier);
void ApplyDrawing(SceneState& state, DrawingResult&& result);

// Pixels the colour bar takes at the right of the scene's picture (0 without a bar).
int ColourBarStripOf(const SceneState& state);

// Draws the scene into state.picture and state.bitmap (SnapshotOf, DrawSnapshot, ApplyDrawing). Returns false, drawing nothing, when a
// drawing is already under way. An error inside a layer propagates; the previous picture and
// bitmap then stay. The data set is only read; the line masks and, with AutoStepCheck, the
// steps of state.fieldView are brought up to date.
// The caller clears the abort flag before and after (the layers poll progress.AbortRequested()).
bool DrawScene(SceneState& state, Progress& progress, Notifier& notifier, bool vectorPicture = true);

// The last drawing as one vector picture, for vector files: the bands' image, if any, then the
// picture (its sub-pixel version when there is one).
QPicture CompletePicture(const SceneState& state);
// Whether CompletePicture holds coordinates at fractions of a pixel.
inline bool HasExactPicture(const SceneState& state) { return !state.exactPicture.isNull(); }

// The corners of a rectangle dragged for a zoom, from a to b, with x cut to the plot area: the
// colour bar's strip at the right shows no world coordinates.
std::pair<QPoint, QPoint> ZoomCornersInPlot(const SceneState& state, QPoint a, QPoint b);

// The pan preview: the grid lines alone, drawn straight into `work` (resized to the picture and
// cleared to the background); no vector picture is recorded.
void DrawGridPreview(const SceneState& state, QImage& work);

}  // namespace corvane
