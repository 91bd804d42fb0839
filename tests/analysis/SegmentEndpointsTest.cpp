// End points of the analysis segment: the segment layer's calls, picking with the mouse, and typed
// points read back through their controls.
#include <gtest/gtest.h>

#include "SampleField.h"
#include "analysis/SegmentEndpoints.h"
#include "data/Errors.h"
#include "render/LoggingCanvas.h"

namespace corvane {
namespace {

using testing::UnitView;

TEST(SegmentLayer, DrawsCircleLineCircleFromNodeAndTypedPointsOrNothingForABadNode) {
  const FieldDataSet data = testing::MakeField({testing::UnitZone(2, 2), testing::UnitZone(3, 4)});
  ProgramOptions o;
  NullProgress progress;
  Random random;
  ContourReadout readout;
  const ViewTransform view = UnitView();
  const LayerContext context{data, view, o, progress, random, readout};
  AnalysisOptions& a = o.analysis;
  a.P1Zone = 1, a.P1i = 1, a.P1j = 2;  // node (1, 2)
  a.P2Direct = true, a.P2x = "30", a.P2y = " 60.5 ";  // pixel row 39.5 rounds to even
  LoggingCanvas canvas;
  DrawAnalysisSegment(context, canvas);
  EXPECT_EQ(canvas.Text(), "SetPen 0000FF 2\nEllipse -3,94 5,102\nMoveTo 1,98\nLineTo 30,40\nEllipse 26,36 34,44\n");
  canvas.Clear();
  a.P1j = 4;  // outside zone 1
  DrawAnalysisSegment(context, canvas);
  EXPECT_TRUE(canvas.calls.empty());
  a.P2x = "3O";
  EXPECT_THROW(DrawAnalysisSegment(context, canvas), CorvaneError);
}

TEST(SegmentPoints, PickedPointAndControlValuesReadBackThroughTheOptionTable) {
  ViewTransform v = UnitView();
  v.ScaleX = v.ScaleY = 4.0;
  const PickedPoint p = PickSegmentPoint(v, 53, 45);
  EXPECT_EQ(p.xText, "50.75");
  EXPECT_EQ(p.yText, "51.25");
  const auto& table = ProgramOptionTable();
  ProgramOptions o;
  table.Apply(o, "P2Direct", "1");
  table.Apply(o, "P2x", p.xText);
  table.Apply(o, "P2y", p.yText);
  const ResolvedEndpoint e = ResolveEndpoint(FieldDataSet{}, o.analysis, SegmentPoint::Second);
  EXPECT_TRUE(e.valid && e.point.x == 50.75 && e.point.y == 51.25);
  table.Apply(o, "P1x", "1.");  // half typed: converted only when the point is used
  table.Apply(o, "P1Zone", "-7");
  table.Apply(o, "ShowSegment", "1");
  table.Apply(o, "RealDrawSegment", "1");
  EXPECT_TRUE(WantsSceneSegment(o.display));
  table.Apply(o, "QuickDrawSegment", "1");
  EXPECT_TRUE(WantsQuickSegment(o.display) && !WantsSceneSegment(o.display));
  EXPECT_EQ(o.analysis.P1Zone, -1);
  EXPECT_EQ(ResolveEndpoint(FieldDataSet{}, o.analysis, SegmentPoint::First).problem, "点1の領域が選択されていません");
}

}  // namespace
}  // namespace corvane
