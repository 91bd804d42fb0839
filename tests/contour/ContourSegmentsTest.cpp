#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <random>
#include <vector>

#include "ContourScene.h"
#include "contour/Separate.h"

namespace corvane {
namespace {

using test::ContourScene;
using Segments = std::vector<ContourSegment>;

// Segments of every level, in store order.
std::vector<Segments> SegmentsOf(ContourScene& scene) {
  const auto& d = scene.data;
  const ContourLevelRange range = MakeContourLevelRange(d.ContourMax[0], d.ContourMin[0], d.ContourStep[0]);
  ContourSegmentStore store;
  EXPECT_TRUE(CollectContourSegments(scene.Context(), d.Values[0], d.ContourStep[0], d.ContourMin[0],
                                     d.ContourMax[0], range, store));
  std::vector<Segments> levels;
  for (std::int32_t l = 0; l < store.LevelCount(); ++l)
    levels.emplace_back(store.Level(l), store.Level(l) + store.Count(l));
  return levels;
}

TEST(ContourSegments, PlaneOnOneCellGivesExactPixelsAndDropsCornerLevels) {
  // v = i + j: both splits are flat, so the cell splits along A-C into (A,D,C) and (A,B,C).
  // Levels 0 and 2 only touch a corner and store nothing; 2.5 and 7.5 round half to even.
  ContourScene scene(2, 2, [](int i, int j) { return i + j; }, 0.0, 2.0, 0.5);
  const std::vector<Segments> expected = {
      {},
      {{0, 95, 2, 98}, {5, 100, 2, 98}},
      {{0, 90, 5, 95}, {10, 100, 5, 95}},
      {{5, 90, 8, 92}, {10, 95, 8, 92}},
      {},
  };
  EXPECT_EQ(SegmentsOf(scene), expected);
}

TEST(ContourSegments, VerticesOnALevelGiveTheEdgeTwiceFromTheLaterLowVertex) {
  // v = i on 3 x 3 nodes: the grid lines i = 0, 1, 2 lie exactly on the levels. Each edge on a
  // level comes from the triangle that has it as its low (or high) pair, once per side.
  ContourScene scene(3, 3, [](int i, int) { return i; }, 0.0, 2.0, 1.0);
  const std::vector<Segments> expected = {
      {{0, 100, 0, 90}, {0, 90, 0, 80}},
      {{10, 100, 10, 90}, {10, 90, 10, 80}, {10, 100, 10, 90}, {10, 90, 10, 80}},
      {{20, 100, 20, 90}, {20, 90, 20, 80}},
  };
  EXPECT_EQ(SegmentsOf(scene), expected);
}

TEST(ContourSegments, FoldedCellSplitsAlongTheFlatterDiagonalAndTiedLowVerticesTakeTheLaterOne) {
  // A (0,0)=4, B (1,0)=0, C (1,1)=2, D (0,1)=0: B-D folds less, giving (A,D,B) and (D,B,C).
  // B and D tie for lowest in both; the later one, B, is L and D is M. Level 1 crosses B-A at
  // 0.25 and D-A at 0.25 in the first, B-C and D-C at 0.5 in the second.
  ContourScene scene(2, 2, [](int i, int j) { return i + j == 0 ? 4.0 : (i + j == 2 ? 2.0 : 0.0); }, 1.0, 1.0, 1.0);
  EXPECT_EQ(ChooseDiagonal({0, 0, 4}, {1, 0, 0}, {1, 1, 2}, {0, 1, 0}), 1);
  const std::vector<Segments> expected = {{{0, 92, 8, 100}, {5, 90, 10, 95}}};
  EXPECT_EQ(SegmentsOf(scene), expected);
}

TEST(ContourSegments, LevelsOutsideTheRangeAreNeverStored) {
  // Data reach 0..8 but the range is 2.5..5: the levels are 3, 4, 5 only.
  ContourScene scene(5, 5, [](int i, int j) { return i + j; }, 2.5, 5.0, 1.0);
  const std::vector<Segments> levels = SegmentsOf(scene);
  ASSERT_EQ(levels.size(), 3u);
  for (const Segments& level : levels) EXPECT_FALSE(level.empty());
  // Level 5 runs along the diagonal i + j = 5; every end point lies on it.
  for (const ContourSegment& s : levels[2]) {
    EXPECT_EQ(s.x1 + (100 - s.y1), 50);
    EXPECT_EQ(s.x2 + (100 - s.y2), 50);
  }
}

TEST(ContourSegments, NonFiniteValuesAndCoordinatesGiveNoSegmentsAroundThem) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  ContourScene scene(3, 2, [&](int i, int j) { return i == 1 ? (j == 0 ? nan : inf) : i + j; }, 0.0, 4.0, 0.5);
  for (const Segments& level : SegmentsOf(scene)) EXPECT_TRUE(level.empty());

  ContourScene broken(2, 2, [](int i, int j) { return i + j; }, 0.0, 2.0, 0.5);
  broken.data.X[0] = nan;  // both splits put A or C in each triangle
  broken.data.X[3] = nan;
  std::size_t count = 0;
  for (const Segments& level : SegmentsOf(broken)) count += level.size();
  EXPECT_EQ(count, 0u);
}

TEST(ContourSegments, TinyAndOffPictureTrianglesAreCulled) {
  ContourScene tiny(2, 2, [](int i, int j) { return i + j; }, 0.0, 2.0, 0.5);
  tiny.view.ScaleX = tiny.view.ScaleY = 0.1;  // each triangle covers 0.005 square pixels
  for (const Segments& level : SegmentsOf(tiny)) EXPECT_TRUE(level.empty());

  ContourScene away(2, 2, [](int i, int j) { return i + j; }, 0.0, 2.0, 0.5);
  away.view.CentrePixelX = -11;  // every vertex left of the picture
  for (const Segments& level : SegmentsOf(away)) EXPECT_TRUE(level.empty());
  away.view.CentrePixelX = -10;  // one vertex on its edge: drawn
  EXPECT_FALSE(SegmentsOf(away)[2].empty());
}

TEST(ContourSegments, OverlayCopyShiftsEveryPoint) {
  ContourScene scene(4, 4, [](int i, int j) { return i * i + j; }, 0.0, 12.0, 1.0);
  const std::vector<Segments> plain = SegmentsOf(scene);
  const auto& d = scene.data;
  const ContourLevelRange range = MakeContourLevelRange(12.0, 0.0, 1.0);
  LayerContext shifted = scene.Context();
  shifted.offsetX = 1.0;
  shifted.offsetY = -2.0;
  ContourSegmentStore store;
  ASSERT_TRUE(CollectContourSegments(shifted, d.Values[0], 1.0, 0.0, 12.0, range, store));
  for (std::int32_t l = 0; l < store.LevelCount(); ++l) {
    ASSERT_EQ(store.Count(l), static_cast<std::int64_t>(plain[static_cast<std::size_t>(l)].size()));
    for (std::int64_t s = 0; s < store.Count(l); ++s) {
      const ContourSegment a = plain[static_cast<std::size_t>(l)][static_cast<std::size_t>(s)], b = store.Level(l)[s];
      EXPECT_EQ(b, (ContourSegment{a.x1 + 10, a.y1 + 20, a.x2 + 10, a.y2 + 20}));
    }
  }
}

// Records the triangles of the walk and can ask for an abort after some cells.
struct WalkLog : Progress {
  int pumps = 0;
  int abortAfter = -1;
  void Pump() override { ++pumps; }
  bool AbortRequested() const override { return abortAfter >= 0 && pumps > abortAfter; }
};

TEST(CellWalk, SkipsHiddenLinesSoCellsSpanToTheNextShownLine) {
  ContourScene scene(3, 3, [](int i, int j) { return i + j; }, 0.0, 4.0, 1.0);
  scene.data.Zones[0].ILineMask = {true, false, true};
  scene.data.Zones[0].JLineMask = {true, false, true};
  WalkLog log;
  std::vector<std::array<std::int32_t, 3>> triangles;
  EXPECT_TRUE(ForEachContourTriangle(scene.data, scene.data.Values[0].data(), log,
                                     [&](std::int32_t p, std::int32_t q, std::int32_t r) { triangles.push_back({p, q, r}); }));
  // One cell: A = node 0, B = node 6 (i = 2), C = node 8, D = node 2; plane: split A-C.
  const std::vector<std::array<std::int32_t, 3>> expected = {{0, 2, 8}, {0, 6, 8}};
  EXPECT_EQ(triangles, expected);
}

TEST(CellWalk, DegenerateZonesAndCellsDoNotStopTheWalk) {
  ContourScene scene(1, 5, [](int, int j) { return j; }, 0.0, 4.0, 1.0);
  int calls = 0;
  EXPECT_TRUE(ForEachContourTriangle(scene.data, scene.data.Values[0].data(), scene.progress,
                                     [&](std::int32_t, std::int32_t, std::int32_t) { ++calls; }));
  EXPECT_EQ(calls, 0);  // NI = 1: no cells
  scene.data.Zones[0].NJ = 50;  // claims more nodes than there are: skipped, not read
  EXPECT_TRUE(ForEachContourTriangle(scene.data, scene.data.Values[0].data(), scene.progress,
                                     [&](std::int32_t, std::int32_t, std::int32_t) { ++calls; }));
  EXPECT_EQ(calls, 0);
  // A repeated node makes a zero normal: the NaN fold gives B-D; equal folds give A-C.
  EXPECT_EQ(ChooseDiagonal({0, 0, 0}, {0, 0, 0}, {1, 1, 1}, {0, 1, 2}), 1);
  EXPECT_EQ(ChooseDiagonal({0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}), 2);
}

TEST(CellWalk, AbortStopsAtOnceAndTheLayerDrawsNothing) {
  ContourScene scene(20, 20, [](int i, int j) { return i * j; }, 0.0, 361.0, 10.0);
  WalkLog log;
  log.abortAfter = 5;
  int calls = 0;
  EXPECT_FALSE(ForEachContourTriangle(scene.data, scene.data.Values[0].data(), log,
                                      [&](std::int32_t, std::int32_t, std::int32_t) { ++calls; }));
  EXPECT_LE(calls, 2 * 5);
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

TEST(ContourSegments, WorldThresholdsCullExactlyLikeThePixelComparisons) {
  std::mt19937 rng(99);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  for (int round = 0; round < 200; ++round) {
    ViewTransform view;
    view.PictureWidth = 50 + static_cast<int>(rng() % 900);
    view.PictureHeight = 50 + static_cast<int>(rng() % 900);
    view.CentrePixelX = static_cast<int>(rng() % 1000);
    view.CentrePixelY = static_cast<int>(rng() % 1000);
    view.CentreX = unit(rng) * 100;
    view.CentreY = unit(rng) * 100;
    view.ScaleX = std::ldexp(1.0 + unit(rng) * 0.5, static_cast<int>(rng() % 20) - 10);
    view.ScaleY = round % 3 == 0 ? 0.1 : view.ScaleX * 1.3;
    PictureCull cull;
    ASSERT_TRUE(MakePictureCull(view, cull));
    std::vector<double> X, Y;
    for (int k = 0; k < 200; ++k) {
      // Points right at the half-pixel edges, where rounding decides.
      const double px = (static_cast<int>(rng() % 5) - 2 + (rng() % 2 ? view.PictureWidth : 0)) + 0.5 * (rng() % 3) - 0.5;
      const double py = (static_cast<int>(rng() % 5) - 2 + (rng() % 2 ? view.PictureHeight : 0)) + 0.5 * (rng() % 3) - 0.5;
      X.push_back(view.PixelToWorldX(px) + (k % 4 == 0 ? unit(rng) * 1e-12 : 0.0));
      Y.push_back(view.PixelToWorldY(py));
    }
    const std::vector<std::uint8_t> bits = NodeOutsideBits(X, Y, 0.0, 0.0, view);
    for (std::size_t k = 0; k < X.size(); ++k) {
      const int fromThresholds = (X[k] >= cull.rightFrom ? 1 : 0) | (X[k] < cull.leftBelow ? 2 : 0) |
                                 (Y[k] < cull.bottomBelow ? 4 : 0) | (Y[k] >= cull.topFrom ? 8 : 0);
      ASSERT_EQ(fromThresholds, bits[k]) << "round " << round << " point " << k;
    }
  }
  ViewTransform flipped;
  flipped.ScaleX = -1.0;
  PictureCull cull;
  EXPECT_FALSE(MakePictureCull(flipped, cull));  // such views compare pixel by pixel
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

TEST(ContourSegments, SkippingUncrossedCellsAndWorldCullChangeNothing) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::int64_t stored = 0;
  for (int round = 0; round < 30; ++round) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    ContourScene scene(
        12, 9, [&](int i, int j) { return unit(rng) < 0.03 ? nan : std::floor(unit(rng) * 8) * 0.5 + i * 0.1 * j; },
        unit(rng) * 3, 3 + unit(rng) * 5, 0.25 + unit(rng));
    scene.view.CentrePixelX = static_cast<int>(rng() % 60) - 30;  // some cells off the picture
    scene.view.CentrePixelY = 60 + static_cast<int>(rng() % 60);
    scene.view.PictureWidth = 80;
    scene.view.PictureHeight = 70;
    const auto& d = scene.data;
    const ContourLevelRange range = MakeContourLevelRange(d.ContourMax[0], d.ContourMin[0], d.ContourStep[0]);
    ContourSegmentStore fast, plain;
    ASSERT_TRUE(CollectContourSegments(scene.Context(), d.Values[0], d.ContourStep[0], d.ContourMin[0],
                                       d.ContourMax[0], range, fast));
    // Every cell, every pixel compared.
    const std::vector<std::uint8_t> outside = NodeOutsideBits(d.X, d.Y, 0.0, 0.0, scene.view);
    TriangleGeometry g;
    g.X = d.X.data();
    g.Y = d.Y.data();
    g.values = d.Values[0].data();
    g.view = &scene.view;
    g.outside = outside.data();
    g.step = d.ContourStep[0];
    g.min = d.ContourMin[0];
    g.max = d.ContourMax[0];
    g.range = range;
    plain.Reset(range);
    ForEachContourTriangle(d, g.values, scene.progress,
                           [&](std::int32_t p, std::int32_t q, std::int32_t r) { CollectTriangleSegments(g, plain, p, q, r); });
    plain.Finish();
    ASSERT_EQ(fast.Total(), plain.Total());
    stored += fast.Total();
    for (std::int32_t l = 0; l < fast.LevelCount(); ++l)
      for (std::int64_t s = 0; s < fast.Count(l); ++s) ASSERT_EQ(fast.Level(l)[s], plain.Level(l)[s]);
  }
  EXPECT_GT(stored, 1000);
}

}  // namespace
}  // namespace corvane
