// The streamline layer as the scene renderer calls it: which seeds are traced, the pen, the
// status texts and the gauge.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FlowData.h"
#include "TestSupport.h"
#include "scene/SceneRenderer.h"
#include "streamline/StreamLayer.h"
#include "support/LayerScene.h"
#include "support/LoggingCanvas.h"

namespace corvane {
namespace {

struct Scene : testing::LayerScene {
  testing::RecordingProgress progress;
  Scene() {
    data = testing::MakeFlow({testing::Rect(10, 5, 0, 0)}, testing::Uniform(1, 0));
    view = testing::MakeView(640, 480, 40, 4.5, 2);
    options.load.xvecbox = 0, options.load.yvecbox = 1;
  }
  LayerContext Context() { return LayerScene::Context(progress); }
  std::string Move(double x, double y) const {
    return "MoveTo " + std::to_string(view.WorldToPixelX(x)) + "," + std::to_string(view.WorldToPixelY(y));
  }
};

TEST(StreamLayer, TracesGoodNodeSeedsThenEverySegmentPointWithTheTabsPenOnlyWithBothVelocityRows) {
  Scene scene;
  StreamOptions& o = scene.options.stream;
  o.StreamList.seeds = {{0, 0, 2, 2}, {0, -1, 0, 0}, {0, 0, 50, 0}, {0, 3, 1, 1}, {0, 0, 3, 1}};
  o.StreamLineGridSelect = true, o.StreamLineSegment = true;
  o.StreamXa = 0.5, o.StreamYa = 0.5, o.StreamXb = 0.5, o.StreamYb = 3.5, o.StreamDevide = 2;
  o.streamLineColour = MakeColour(10, 20, 30), o.StreamLineWid = 3;

  const std::vector<StreamPath> paths = TraceStreamlines(scene.Context(), scene.options.stream);
  ASSERT_EQ(paths.size(), 8u);
  for (int bad : {1, 2, 3}) EXPECT_TRUE(paths[static_cast<std::size_t>(bad)].vertices.empty());
  scene.progress.log.clear();
  scene.progress.positions.clear();

  LoggingCanvas canvas;
  DrawStreamlines(scene.Context(), scene.options.stream, canvas);
  EXPECT_EQ(std::pair(canvas.PenColour(), canvas.PenWidth()), std::pair(MakeColour(10, 20, 30), 3));
  // A line starts at each good seed: nodes (2, 2) and (3, 1), and A, the midpoint, B.
  const std::vector<std::string> moves = canvas.Only({"MoveTo"});
  for (const WorldPoint& start : {WorldPoint{2, 2}, {3, 1}, {0.5, 0.5}, {0.5, 2.0}, {0.5, 3.5}})
    EXPECT_NE(std::find(moves.begin(), moves.end(), scene.Move(start.x, start.y)), moves.end()) << start.x << "," << start.y;
  EXPECT_EQ(scene.progress.log, (std::vector<std::string>{"流線を描画しています・・・", "max 5", "max 2", "流線描画終了"}));
  EXPECT_EQ(scene.progress.positions, (std::vector<std::int64_t>{0, 1, 2, 3, 4, 5, 0, 0, 1, 2}));
  // Without both velocity rows nothing is traced, and the end is still reported.
  scene.options.load.yvecbox = -1;
  LoggingCanvas none;
  DrawStreamlines(scene.Context(), scene.options.stream, none);
  EXPECT_TRUE(none.Only({"MoveTo", "LineTo"}).empty());
  EXPECT_EQ(scene.progress.log.back(), "流線描画終了");
}

}  // namespace
}  // namespace corvane
