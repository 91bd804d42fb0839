// Streamlines on the awkward places of real grids: seeds lying exactly on a grid line or a node,
// and zones that overlap without sharing nodes (patched grids) next to a zone that ends at a body.
#include <gtest/gtest.h>

#include "FlowData.h"

namespace corvane {
namespace {

using testing::MakeFlow;
using testing::MakeView;
using testing::Rect;
using testing::Uniform;

// The path traced from (x, y) through `data` seen in `view`.
StreamPath Trace(const FieldDataSet& data, const ViewTransform& view, double x, double y) {
  StreamField field(data, view, testing::FlowSetup());
  return TraceFromPoint(field, x, y);
}

std::pair<double, double> At(const PathVertex& v) { return {v.x, v.y}; }

TEST(SeedOnAGridLine, StartsInTheCellTheFlowEnters) {
  // 5 x 4 nodes a unit apart; the flow runs along +x (and once slanting up).
  const ViewTransform view = MakeView(400, 300, 50, 2, 1.5);
  // On the line x = 1, which the first cell found has as its far edge.
  const StreamPath onEdge = Trace(MakeFlow({Rect(5, 4, 0, 0)}, Uniform(1, 0)), view, 1.0, 0.5);
  ASSERT_GE(onEdge.vertices.size(), 2u);
  EXPECT_DOUBLE_EQ(onEdge.vertices[1].x, 2.0);
  EXPECT_EQ(At(onEdge.vertices.back()), std::pair(4.0, 0.5));
  // Against the flow's direction the first cell found is the right one, as before.
  EXPECT_DOUBLE_EQ(Trace(MakeFlow({Rect(5, 4, 0, 0)}, Uniform(-1, 0)), view, 3.0, 0.5).vertices.back().x, 0.0);
  // On node (2, 1), shared by four cells; the flow leaves it up and to the right.
  const StreamPath onNode = Trace(MakeFlow({Rect(5, 4, 0, 0)}, Uniform(1, 0.5)), view, 2.0, 1.0);
  ASSERT_GE(onNode.vertices.size(), 3u);
  EXPECT_EQ(At(onNode.vertices[1]), std::pair(3.0, 1.5));
  EXPECT_DOUBLE_EQ(onNode.vertices.back().x, 4.0);
}

TEST(PatchedZones, TraceGoesOnInAnOverlappingZoneButNeverThroughABody) {
  // Zone 0 covers 0..2 x 0..2; zone 1 (0.5 apart) 1.5..4.5 x -0.25..2.75: no edge in common.
  const testing::FlowZone patch{7, 7, [](int i, int j) { return std::make_pair(1.5 + 0.5 * i, -0.25 + 0.5 * j); }};
  const StreamPath path = Trace(MakeFlow({Rect(3, 3, 0, 0), patch}, Uniform(1, 0)), MakeView(600, 400, 100, 2.25, 1.25), 0.5, 0.7);
  ASSERT_GE(path.vertices.size(), 3u);
  EXPECT_NEAR(path.vertices.back().x, 4.5, 1e-12);
  EXPECT_EQ(path.vertices.back().zone, 1);
  for (const PathVertex& v : path.vertices) EXPECT_NEAR(v.y, 0.7, 1e-12);
  // A zone beside the first one with a gap between them (a body): the trace ends at x = 2.
  const FieldDataSet apart = MakeFlow({Rect(3, 3, 0, 0), Rect(3, 3, 3, 0)}, Uniform(1, 0));
  EXPECT_NEAR(Trace(apart, MakeView(600, 400, 100, 2.5, 1), 0.5, 0.7).vertices.back().x, 2.0, 1e-12);
}

}  // namespace
}  // namespace corvane
