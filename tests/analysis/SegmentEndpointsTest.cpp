// End points of the analysis segment: the segment layer's calls and pixels, picking with the
// mouse, the control names and the zone boxes.
#include <QImage>
#include <gtest/gtest.h>

#include "SampleField.h"
#include "analysis/SegmentEndpoints.h"
#include "data/Errors.h"
#include "render/LoggingCanvas.h"
#include "render/PainterCanvas.h"

namespace corvane {
namespace {

using testing::MakeField;
using testing::UnitZone;

// A 100 x 100 picture where world (x, y) lands on pixel (x, 100 - y).
ViewTransform UnitView() {
  ViewTransform v;
  v.PictureWidth = v.PictureHeight = 100;
  v.CentrePixelX = v.CentrePixelY = 50;
  v.CentreX = v.CentreY = 50.0;
  return v;
}

struct Scene {
  FieldDataSet data = MakeField({UnitZone(2, 2), UnitZone(3, 4)});
  ViewTransform view = UnitView();
  ProgramOptions options;
  NullProgress progress;
  Random random;
  ContourReadout readout;
  LayerContext Context() { return LayerContext{data, view, options, progress, random, readout}; }
};

TEST(SegmentLayer, DrawsCircleLineCircleFromNodeAndTypedPoints) {
  Scene s;
  s.options.analysis.P1Zone = 1;
  s.options.analysis.P1i = 1;
  s.options.analysis.P1j = 2;  // node (1, 2)
  s.options.analysis.P2Direct = true;
  s.options.analysis.P2x = "30";
  s.options.analysis.P2y = " 60.5 ";  // pixel 39.5 rounds to even
  LoggingCanvas canvas;
  DrawAnalysisSegment(s.Context(), canvas);
  EXPECT_EQ(canvas.Text(), "SetPen 0000FF 2\nEllipse -3,94 5,102\nMoveTo 1,98\nLineTo 30,40\nEllipse 26,36 34,44\n");

  // A node outside its zone is not drawn; typed text that is not a number stops the drawing.
  canvas.Clear();
  s.options.analysis.P1j = 4;
  DrawAnalysisSegment(s.Context(), canvas);
  EXPECT_TRUE(canvas.calls.empty());
  s.options.analysis.P2x = "3O";
  EXPECT_THROW(DrawAnalysisSegment(s.Context(), canvas), CorvaneError);
}

TEST(SegmentLayer, LineAndCirclesLightPixelsInTheSegmentColour) {
  Scene s;
  s.options.analysis = {};
  s.options.analysis.P1Direct = s.options.analysis.P2Direct = true;
  s.options.analysis.P1x = "20", s.options.analysis.P1y = "50";
  s.options.analysis.P2x = "80", s.options.analysis.P2y = "50";
  std::optional<SegmentFigure> figure = QuickSegment(s.data, s.options.analysis);
  ASSERT_TRUE(figure);
  figure->colour = MakeColour(0, 160, 0);
  QImage image(100, 100, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    PainterCanvas canvas(&image);
    canvas.SetBrush(MakeColour(0, 0, 200), BrushStyle::Solid);
    DrawSegmentFigure(canvas, s.view, *figure);
  }
  EXPECT_EQ(image.pixel(50, 50), qRgb(0, 160, 0));
  EXPECT_EQ(image.pixel(18, 48), qRgb(0, 0, 200));  // circle filled with the current brush
  EXPECT_EQ(image.pixel(50, 40), qRgb(255, 255, 255));
}

TEST(SegmentPoints, PickedPointReadsBackThroughTheEditBoxes) {
  ViewTransform v = UnitView();
  v.ScaleX = v.ScaleY = 4.0;
  const PickedPoint p = PickSegmentPoint(v, 53, 45);
  EXPECT_EQ(p.xText, "50.75");
  EXPECT_EQ(p.yText, "51.25");
  const auto& table = ProgramOptionTable();
  ProgramOptions all;
  table.Apply(all, "P2Direct", "1");
  table.Apply(all, "P2x", p.xText);
  table.Apply(all, "P2y", p.yText);
  const ResolvedEndpoint e = ResolveEndpoint(FieldDataSet{}, all.analysis, SegmentPoint::Second);
  EXPECT_TRUE(e.valid);
  EXPECT_EQ(e.point.x, 50.75);
  EXPECT_EQ(e.point.y, 51.25);
}

TEST(SegmentPoints, ControlNamesTakeWhatTheControlsHold) {
  const auto& table = ProgramOptionTable();
  ProgramOptions o;
  table.Apply(o, "P1x", "1.");  // half typed: only using the point converts it
  table.Apply(o, "P1Zone", "-7");
  table.Apply(o, "SegmentColor", "255");
  table.Apply(o, "OpenAnalyzed", "0");
  table.Apply(o, "RealDrawSegment", "1");
  EXPECT_TRUE(WantsSceneSegment(o.display) == false && o.display.RealDrawSegment);
  table.Apply(o, "QuickDrawSegment", "1");
  o.display.ShowSegment = true;
  EXPECT_TRUE(WantsQuickSegment(o.display));
  EXPECT_EQ(o.analysis.P1Zone, -1);
  EXPECT_EQ(o.analysis.SegmentColor, MakeColour(0, 0, 255));
  EXPECT_FALSE(o.analysis.OpenAnalyzed);
  EXPECT_THROW(table.Apply(o, "P1i", "x"), CorvaneError);

  const FieldDataSet data = MakeField({UnitZone(2, 2), UnitZone(3, 4)});
  EXPECT_EQ(NodeBoxMaxima(data, 1).iMax, 2);
  EXPECT_EQ(NodeBoxMaxima(data, 1).jMax, 3);
  EXPECT_EQ(NodeBoxMaxima(data, -1).iMax, 0);
  EXPECT_EQ(NodeBoxMaxima(data, 2).jMax, 0);
}

}  // namespace
}  // namespace corvane
