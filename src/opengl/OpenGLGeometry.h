// The OpenGL view's frame without any GL calls: the orthographic box and its navigation, and the
// layers (contour bands or smooth fill, grid, vectors, boundaries) turned into one list of lines
// and triangles in world coordinates. The window replays that list with GL 1.1 vertex arrays, so
// everything here can be checked without a GL context.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "contour/ColourBar.h"
#include "contour/ColourMap.h"
#include "field/FieldDataSet.h"
#include "base/Notifier.h"
#include "base/Progress.h"
#include "render/Colour.h"
#include "render/LayerContext.h"
#include "scene/ProgramOptions.h"

namespace corvane {

// The world rectangle shown (orthographic projection); all zeros until the first fit.
struct OrthoBox {
  double left = 0.0, right = 0.0, bottom = 0.0, top = 0.0, nearZ = 0.0, farZ = 0.0;
  // A box that cannot be a projection: no width or height, or not finite.
  bool Degenerate() const;
};

// Fits the box to an extent in a width x height client area at one scale for x and y: the data
// centred, touching two opposite sides. An extent without width and height gets a unit box.
OrthoBox FitOrthoBox(double xmax, double ymax, double xmin, double ymin, int width, int height);
// Scales the box about its centre: 0.95 zooms in, 1.05 zooms out.
void ZoomOrthoBox(OrthoBox& box, double factor);

enum class PanDirection { Left, Right, Up, Down };
// Moves the box by a fiftieth of its width or height (the step rounded to single precision).
void PanOrthoBox(OrthoBox& box, PanDirection direction);

struct GlPoint {
  float x = 0.0f, y = 0.0f;
  friend bool operator==(const GlPoint&, const GlPoint&) = default;
};

// Where the contour routines put what they draw; the frame collects it, tests record it.
class GeometrySink {
 public:
  virtual ~GeometrySink() = default;
  // A convex polygon filled in one colour, corners in order round it (repeats allowed).
  virtual void Polygon(const GlPoint* points, int count, Colour colour) = 0;
  virtual void Line(GlPoint a, GlPoint b, Colour colour) = 0;
};

// IndexedTriangles draw with glDrawElements from `indices`; the others with glDrawArrays.
enum class GlMode : std::uint8_t { Lines, LineStrip, Triangles, IndexedTriangles };

// A run of vertices (or of indices, for IndexedTriangles) drawn with one call.
struct GlBatch {
  GlMode mode = GlMode::Lines;
  std::int32_t first = 0;
  std::int32_t count = 0;
};

// One frame: the box, the clear colour and the primitives in drawing order. Colours are one per
// vertex in the 0x00BBGGRR layout, which is the byte order R, G, B that glColorPointer reads.
class GlFrame : public GeometrySink {
 public:
  OrthoBox box;
  Colour background = kBlack;
  std::vector<GlPoint> vertices;
  std::vector<Colour> colours;
  std::vector<GlBatch> batches;
  std::vector<std::uint32_t> indices;  // corners of the indexed triangles
  // The colour bar the window shows at its right edge beside the box, when it is on.
  std::optional<ColourBarInput> colourBar;

  void Clear();
  void Polygon(const GlPoint* points, int count, Colour colour) override;
  void Line(GlPoint a, GlPoint b, Colour colour) override;
  // A triangle with a colour per corner (the smooth fill blends them).
  void Triangle(GlPoint a, GlPoint b, GlPoint c, Colour ca, Colour cb, Colour cc);
  // Vertices shared by indexed triangles (not drawn by themselves); returns the first one's index.
  std::uint32_t SharedVertex(GlPoint p, Colour colour) {
    Push(p, colour);
    return static_cast<std::uint32_t>(vertices.size() - 1);
  }
  void IndexedTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c);
  // A line strip: StripBegin, one StripVertex per point, StripEnd (a strip of one point is dropped).
  void StripBegin();
  void StripVertex(GlPoint p, Colour colour);
  void StripEnd();

 private:
  void Open(GlMode mode);
  void Push(GlPoint p, Colour c) {
    vertices.push_back(p);
    colours.push_back(c);
  }
};

// Colours and levels of the contour layer for one frame.
struct ContourStyle {
  double step = 1.0, min = 0.0, max = 1.0;
  ColourMapKind kind = ColourMapKind::Rainbow;
  bool fill = true;            // BrushCheck: band polygons; otherwise level lines
  bool fixLineColour = false;  // FixLineColor: lines in lineColour
  Colour lineColour = kWhite;  // fixedLineColour
};

// The contour routines for one value row and one overlay copy. The band indices a triangle may
// use are limited to one step beyond the contour range on either side; the bands cut away all
// have the end colours, so the first and last bands kept simply reach to the triangle's corners.
class TriangleContourer {
 public:
  // `valid()` is false when the step or range cannot give levels (step 0, NaN, far too many).
  TriangleContourer(const FieldDataSet& data, const double* values, double dx, double dy, const OrthoBox& box,
                    const ContourStyle& style);
  bool valid() const { return valid_; }
  // One smooth-shaded triangle coloured at its corners. The zone's nodes are already in the
  // frame as shared vertices (with LevelColour of each node): node n is vertex n + vertexOffset.
  void FillTriangleGouraud(std::int32_t c1, std::int32_t c2, std::int32_t c3, std::int64_t vertexOffset,
                           GlFrame& frame) const;
  // The bands of one triangle as flat polygons, or the level lines inside it.
  void DrawTriangleBands(std::int32_t c1, std::int32_t c2, std::int32_t c3, GeometrySink& sink) const;

 private:
  GlPoint At(std::int32_t n) const;
  bool Culled(std::int32_t c1, std::int32_t c2, std::int32_t c3) const;

  const FieldDataSet& data_;
  const double* v_;
  double dx_, dy_;
  OrthoBox box_;
  ContourStyle style_;
  bool valid_ = false;
  double bandFloor_ = 0.0, bandCeil_ = 0.0;  // band indices kept
  std::vector<Colour> bandColours_;          // LevelColour of the upper level of each kept band
};

// What a frame reads from the main window besides the options.
struct OpenGLSceneHost {
  const FieldDataSet* data = nullptr;
  ContourReadout* readout = nullptr;
  Progress* progress = nullptr;
  Notifier* notifier = nullptr;
  std::function<void(int row)> setPlotCaption;  // the plot window's caption: item text + ":等高線"
  std::function<void()> raiseMainWindow;                   // after the vector warning
  FieldView* fieldView = nullptr;  // contour ranges and edge flags; AutoStep may set the steps
};

// Arrow from (x, y) to (x + u*scale, y + v*scale) with a filled head a fifth of its length and
// 20 degrees to each side; nothing when the tip is the base.
void DrawOpenGLArrow(GlFrame& frame, float scale, float u, float v, float x, float y, Colour colour);
// Every i-line, then every j-line of every zone as line strips, shifted by (dx, dy); segments
// wholly beyond one side of the frame's box are left out.
void DrawOpenGLGrid(GlFrame& frame, const FieldDataSet& data, double dx, double dy, Colour colour);
// The enabled zone edges as line strips, in one walk round each zone.
void DrawOpenGLBoundaries(GlFrame& frame, const FieldDataSet& data, const std::vector<BoundaryFlags>& edges, double dx,
                          double dy, Colour colour);
// The contour layer of one copy. Returns false when the abort command stopped it.
bool DrawOpenGLContours(GlFrame& frame, const OpenGLSceneHost& host, const ProgramOptions& options, double dx,
                        double dy, const std::vector<Colour>& nodeColours);
// The vector layer of one copy; false (after the warning) when u or v is not chosen.
bool DrawOpenGLVectors(GlFrame& frame, const OpenGLSceneHost& host, const ProgramOptions& options, double dx,
                       double dy);

// Builds a whole frame into `frame`: background, then per overlay copy contours, grid, vectors
// and boundaries. The data set's coordinates are never moved.
void BuildOpenGLScene(GlFrame& frame, const OrthoBox& box, const OpenGLSceneHost& host, const ProgramOptions& options,
                      bool showContour, bool showGrid, bool showVectors);

// The data extents widened for the overlay copies, as the rescale fits them.
void OverlayExtents(const FieldDataSet& data, const DisplayOptions& display, double& xmax, double& ymax, double& xmin,
                    double& ymin);

}  // namespace corvane
