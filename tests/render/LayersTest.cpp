// Grid, boundary and arrow layers: the pixels the grid and boundaries light (clipping, resumed
// lines, bad nodes), the arrow heads' points.
#include <QImage>
#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>

#include "GridData.h"
#include "TestImages.h"
#include "render/GridLayers.h"
#include "render/PainterCanvas.h"
#include "render/PixelMapper.h"
#include "render/VectorLayer.h"
#include "scene/SceneRenderer.h"
#include "support/LayerScene.h"
#include "support/LoggingCanvas.h"
#include "support/RecordingNotifier.h"

namespace corvane {
namespace {

using testing::MakeGrid;
using testing::UnitView;

// Black on white, shifted by dx.
struct Fixture : testing::LayerScene {
  explicit Fixture(FieldDataSet d) { data = std::move(d); }
  LayerContext Context(double dx = 0.0) {
    LayerContext c = LayerScene::Context();
    c.offsetX = dx, c.foreground = kBlack, c.background = kWhite;
    return c;
  }
};

// The boundary of `f` drawn into a white 100 x 100 picture, shifted by dx.
QImage BoundaryPicture(Fixture& f, double dx = 0.0) {
  QImage image = testing::FilledImage(100, 100);
  PainterCanvas canvas(&image);
  DrawZoneBoundaries(f.Context(dx), canvas);
  canvas.Finish();
  return image;
}

TEST(ZoneBoundaries, EdgesFollowTheirFlagsAndTheOverlayShiftAndResumeWhereTheyReenterThePicture) {
  const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
  // A square from pixel (10, 60) to (30, 90): the middle of each edge, and of the square.
  const QPoint bottom(20, 90), right(30, 75), top(20, 60), left(10, 75), middle(20, 75);
  const struct {
    BoundaryFlags flags;
    double dx;
    std::vector<QPoint> lit, dark;
  } cases[] = {
      {{true, true, true, true}, 0.0, {bottom, right, top, left}, {middle}},
      {{false, false, false, false}, 0.0, {}, {bottom, right, top, left}},
      {{false, false, true, false}, 5.0, {{16, 90}, {33, 90}}, {{12, 90}, {20, 60}, {35, 75}}},  // j = 0 only, moved
  };
  for (const auto& c : cases) {
    Fixture f(MakeGrid({{2, 2, [](int i, int j) { return std::pair{10.0 + 20 * i, 10.0 + 30 * j}; }}}));
    f.fieldView.Boundaries = {c.flags};
    const QImage image = BoundaryPicture(f, c.dx);
    for (QPoint at : c.lit) EXPECT_EQ(image.pixel(at), black) << at.x() << "," << at.y();
    for (QPoint at : c.dark) EXPECT_EQ(image.pixel(at), white) << at.x() << "," << at.y();
    if (c.lit.empty()) {
      EXPECT_EQ(testing::CountPixels(image, black), 0);
    }
  }
  // Edge j = 0 runs right along row 10, leaves the picture past x = 100 and comes back along
  // row 50: no line joins the place it left to the place it came back.
  const std::pair<double, double> edge[] = {{10, 90}, {150, 90}, {160, 50}, {20, 50}};
  Fixture f(MakeGrid({{4, 2, [&](int i, int j) { return std::pair{edge[i].first, edge[i].second - 70.0 * j}; }}}));
  f.fieldView.Boundaries = {BoundaryFlags{false, false, true, false}};
  const QImage image = BoundaryPicture(f);
  int stray = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) stray += y != 10 && y != 50 && image.pixel(x, y) == black;
  EXPECT_EQ(stray, 0);
  EXPECT_EQ((std::vector<QRgb>{image.pixel(50, 10), image.pixel(99, 10), image.pixel(50, 50), image.pixel(99, 50), image.pixel(15, 50)}),
            (std::vector<QRgb>{black, black, black, black, white}));
}

TEST(GridLines, BatchedLinesLightTheSamePixelsAsSegmentBySegmentDrawing) {
  // A wavy grid folded over itself many times, crossing the picture edges, with runs of nodes
  // sharing pixels; large enough for its node pixels to be worked out on both cores.
  Fixture f(MakeGrid({{400, 170, [](int i, int j) {
                         return std::pair{-15.0 + 2.2 * (i % 60) + 0.01 * i + 6 * std::sin(j * 0.3), -10.0 + 2.9 * (j % 45) + 4 * std::cos(i * 0.21)};
                       }},
                      {30, 3, [](int i, int) { return std::pair{40.0 + 0.1 * i, 40.0}; }}}));
  QImage layer = testing::FilledImage(100, 100), reference = testing::FilledImage(100, 100);
  {
    PainterCanvas canvas(&layer);
    DrawGridLines(f.Context(), canvas);
  }
  {
    QPainter p(&reference);
    QPen pen(Qt::black, 1, Qt::SolidLine, Qt::FlatCap);
    pen.setCosmetic(true);
    p.setPen(pen);
    auto px = [&](int n) { return QPoint(f.view.WorldToPixelX(f.data.X[n]), f.view.WorldToPixelY(f.data.Y[n])); };
    for (const ZoneGrid& z : f.data.Zones) {
      for (int i = 0; i < z.NI; ++i)
        for (int j = 1; j < z.NJ; ++j) p.drawLine(px(z.FirstNode + z.NJ * i + j - 1), px(z.FirstNode + z.NJ * i + j));
      for (int j = 0; j < z.NJ; ++j)
        for (int i = 1; i < z.NI; ++i) p.drawLine(px(z.FirstNode + z.NJ * (i - 1) + j), px(z.FirstNode + z.NJ * i + j));
    }
  }
  int differing = 0;
  for (int y = 1; y < 100; ++y)
    for (int x = 1; x < 100; ++x) differing += layer.pixel(x, y) != reference.pixel(x, y);
  EXPECT_EQ(differing, 0);
  // Set straight into the pixels (the pan preview): the same pixels on one thread and on two as
  // through the canvas in its direct mode.
  QImage direct = testing::FilledImage(100, 100), one = direct, two = direct;
  {
    PainterCanvas canvas(&direct);
    canvas.SetDirectLines(true);
    DrawGridLines(f.Context(), canvas);
  }
  DrawGridLinesInto(f.Context(), one, 1);
  DrawGridLinesInto(f.Context(), two, 2);
  EXPECT_TRUE(one == direct && two == direct);
}

TEST(GridLines, FastNodePixelsAgreeWithTheViewTransformEverywhere) {
  ViewTransform view = UnitView();
  view.ScaleX = 2.5, view.ScaleY = 1e-3, view.CentreX = 0.2;  // x = 0.2 + k/5 lands on exact halves
  const PixelMapper map(view, 0.0, 0.0);
  Random random(7);
  std::vector<double> xs = {NAN, INFINITY, -INFINITY, 1e300, -1e300, 4.29e8, -4.29e8, 0.0, -0.0};
  for (int k = -2000; k <= 2000; ++k) xs.push_back(0.2 + k / 5.0);
  for (int k = 0; k < 20000; ++k) xs.push_back((random.Next(2000000) - 1000000) * 1e-3 * (1 + random.Next(5)));
  for (double x : xs) {
    EXPECT_EQ(map.X(x), view.WorldToPixelX(x)) << x;
    EXPECT_EQ(map.Y(x), view.WorldToPixelY(x)) << x;
  }
  const PixelMapper shifted(view, 3.0, -2.0);
  EXPECT_EQ(std::pair(shifted.X(1.1), shifted.Y(1.1)), std::pair(view.WorldToPixelX(1.1 + 3.0), view.WorldToPixelY(1.1 - 2.0)));
}

TEST(Arrows, ShaftThenFilledHeadTenDegreesOffAFifthOfTheLengthNothingBelowOnePixelAndOnePerNode) {
  const double nan = std::nan("");
  const struct {
    double scale, u, v;
    std::vector<std::string> calls;
    QRect plotArea = QRect();  // with the axes shown, the arrow keeps inside
  } cases[] = {
      {1.0, 30.0, 0.0, {"MoveTo 50,50", "LineTo 80,50", "Polygon 80,50 74,49 74,51"}},
      {0.5, 0.0, -40.0, {"MoveTo 50,50", "LineTo 50,70", "Polygon 50,70 51,66 49,66"}},  // down, half scale
      {1.0, 0.0, 0.0, {}}, {1.0, 0.3, -0.2, {}}, {1.0, nan, 3.0, {}}, {1.0, 3.0, INFINITY, {}},
      {1.0, 30.0, 0.0, {"MoveTo 50,50", "LineTo 70,50"}, QRect(QPoint(0, 0), QPoint(70, 99))},  // the head lies beyond
      {1.0, 30.0, 0.0, {"MoveTo 50,50", "LineTo 80,50", "Polygon 80,50 74,49 74,51"}, QRect(QPoint(0, 0), QPoint(90, 99))},
  };
  for (const auto& c : cases) {
    LoggingCanvas canvas;
    DrawArrow(canvas, UnitView(), c.scale, c.u, c.v, 50.0, 50.0, c.plotArea);
    EXPECT_EQ(canvas.calls, c.calls) << c.scale << " " << c.u << " " << c.v << " " << c.plotArea.right();
  }
  // The vector layer: one arrow per node from the chosen rows, or a warning.
  Fixture f(MakeGrid({{2, 3, [](int i, int j) { return std::pair{20.0 + 30 * i, 20.0 + 20 * j}; }}}));
  f.options.display.arrowScale = 0.2;  // u = x, v = y: arrows point away from the origin
  LoggingCanvas canvas;
  RecordingNotifier notifier;
  DrawVelocityVectors(f.Context(), canvas, notifier);  // no rows chosen yet
  EXPECT_EQ(notifier.warnings, std::vector<std::string>{"ベクトルに使用する量を選択してください"});
  EXPECT_TRUE(canvas.Only({"Polygon"}).empty());
  f.options.load.xvecbox = 0, f.options.load.yvecbox = 1;
  DrawVelocityVectors(f.Context(), canvas, notifier);
  EXPECT_EQ(canvas.Only({"Polygon"}).size(), 6u);
  EXPECT_EQ(canvas.Only({"MoveTo"}).front() + " " + canvas.Only({"LineTo"}).front(), "MoveTo 20,80 LineTo 24,76");
  EXPECT_EQ(notifier.warnings.size(), 1u);
}

TEST(NonFiniteNodes, GridAndBoundaryLinesLeaveOutEverySegmentOfABadNode) {
  // 3 x 3 nodes at (10 + 20i, 10 + 20j): node (1, 1) has x = NaN, node (2, 2) y = infinity.
  Fixture f(MakeGrid({{3, 3, [](int i, int j) { return std::pair{10.0 + 20 * i, 10.0 + 20 * j}; }}}));
  f.data.X[4] = std::nan("");
  f.data.Y[8] = INFINITY;
  QImage image = testing::FilledImage(100, 100);
  DrawGridLinesInto(f.Context(), image, 1);
  const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
  // Segments of the bad nodes are gone, the others stay.
  EXPECT_EQ((std::vector<QRgb>{image.pixel(30, 80), image.pixel(40, 70), image.pixel(50, 60)}),
            (std::vector<QRgb>{white, white, white}));
  EXPECT_EQ((std::vector<QRgb>{image.pixel(10, 80), image.pixel(20, 90), image.pixel(20, 50)}),
            (std::vector<QRgb>{black, black, black}));
  // Nothing runs to the picture's edges.
  int edge = 0;
  for (int k = 0; k < 100; ++k)
    edge += (image.pixel(k, 0) == black) + (image.pixel(0, k) == black) + (image.pixel(k, 99) == black) +
            (image.pixel(99, k) == black);
  EXPECT_EQ(edge, 0);
  // The same through the canvas, and for the zone's outline round the bad corner (2, 2).
  LoggingCanvas canvas;
  DrawGridLines(f.Context(), canvas);
  DrawZoneBoundaries(f.Context(), canvas);
  EXPECT_FALSE(canvas.Only({"LineTo", "Polyline"}).empty());
  for (const std::string& call : canvas.calls)
    EXPECT_TRUE(call.find("1073741824") == std::string::npos && call.find("2147483648") == std::string::npos) << call;
}

}  // namespace
}  // namespace corvane
