// The two end points of the analysis segment and how the segment is shown: resolving a point
// from its node or its typed coordinates, the segment layer of the picture, and the small pure
// helpers the analysis tab and the plot window use for quick drawing and picking with the mouse.
//
// How the windows use them (the handlers named after the controls):
//   P1ZoneChange / P2ZoneChange  NodeBoxMaxima(data, zone): the new maxima of the point's i and j
//                                boxes (the boxes' values are left as they are).
//   P1iChange (quick redraw)     repaint the plot window from its bitmap; then, when
//                                WantsQuickSegment(display), QuickSegment(data, analysis) gives
//                                the figure to draw on the plot window's own surface with
//                                DrawSegmentFigure (keep it for paint events until the next
//                                repaint from the bitmap). It throws CorvaneError for typed text
//                                that is not a number: show it as the default error box.
//   Image1MouseUp while picking  PickSegmentPoint(view, x, y): the texts for the point's x and y
//                                edits (both turn black); then the quick redraw as above.
//   Scene renderer               DrawAnalysisSegment(context, analysis, canvas) once after the axes when
//                                WantsSceneSegment(display).
#pragma once
#include <optional>
#include <string>

#include "analysis/AnalysisOptions.h"
#include "field/FieldDataSet.h"
#include "render/Canvas.h"
#include "render/DisplayOptions.h"
#include "render/LayerContext.h"
#include "render/ViewTransform.h"
#include "field/WorldPoint.h"

namespace corvane {

enum class SegmentPoint { First, Second };

// One end point as the analysis and the drawing use it. A node end point is invalid when no zone
// is selected, the zone does not exist or (i, j) lies outside it; `problem` then says so in a
// sentence fit for a warning box.
struct ResolvedEndpoint {
  bool valid = false;
  WorldPoint point;
  std::string problem;
};

// The typed coordinates when the point's 直接指定 box is checked, else x and y of its node.
// Typed text that is not a finite number throws CorvaneError naming the edit box.
ResolvedEndpoint ResolveEndpoint(const FieldDataSet& data, const AnalysisOptions& options, SegmentPoint which);

// What is drawn for the segment: both end points in world units and the colour.
struct SegmentFigure {
  WorldPoint p1;
  WorldPoint p2;
  Colour colour = MakeColour(255, 0, 0);
};

// The figure of the current options, or nothing when a node end point has no valid node (such a
// segment is not drawn). Throws CorvaneError for typed text that is not a finite number.
std::optional<SegmentFigure> QuickSegment(const FieldDataSet& data, const AnalysisOptions& options);

// Pen width 2 in the figure's colour; an 8-pixel circle (filled with the canvas's current brush)
// round P1, the line P1-P2, the same circle round P2. Pixels come from the view transform.
void DrawSegmentFigure(Canvas& canvas, const ViewTransform& view, const SegmentFigure& figure,
                       const QRect& area = QRect());

// The segment layer of the picture: the figure of context.options.analysis, drawn unshifted
// (the segment is drawn once, not per overlay copy). Draws nothing for an invalid node end point;
// typed text that is not a number throws CorvaneError (the drawing stops there).
void DrawAnalysisSegment(const LayerContext& context, const AnalysisOptions& analysis, Canvas& canvas);

// The scene renderer draws the segment into the picture: ShowSegment with RealDrawSegment.
inline bool WantsSceneSegment(const DisplayOptions& display) { return display.ShowSegment && display.RealDrawSegment; }
// The plot window draws it over its bitmap only: ShowSegment with QuickDrawSegment.
inline bool WantsQuickSegment(const DisplayOptions& display) { return display.ShowSegment && !display.RealDrawSegment; }

// The world point under a mouse position and its texts for the x and y edits (general format,
// up to 15 significant digits).
struct PickedPoint {
  WorldPoint point;
  std::string xText;
  std::string yText;
};
PickedPoint PickSegmentPoint(const ViewTransform& view, int mouseX, int mouseY);

// Largest i and j of a zone, the maxima of the point's i and j boxes; 0 and 0 for a zone that
// does not exist or has no nodes.
struct NodeBoxLimits {
  int iMax = 0;
  int jMax = 0;
};
NodeBoxLimits NodeBoxMaxima(const FieldDataSet& data, int zone);

}  // namespace corvane
