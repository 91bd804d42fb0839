#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <vector>

#include "ContourScene.h"
#include "contour/Separate.h"

namespace corvane {
namespace {

using test::ContourScene;
using Segments = std::vector<ContourSegment>;

// Segments of every level, in store order, for the copy shifted by (dx, dy).
std::vector<Segments> SegmentsOf(ContourScene& scene, double dx = 0.0, double dy = 0.0) {
  const auto& d = scene.data;
  const FieldView& v = scene.fieldView;
  const ContourLevelRange range = MakeContourLevelRange(v.ContourMax[0], v.ContourMin[0], v.ContourStep[0]);
  LayerContext context = scene.Context();
  context.offsetX = dx, context.offsetY = dy;
  ContourSegmentStore store;
  EXPECT_TRUE(CollectContourSegments(context, d.Values[0], v.ContourStep[0], v.ContourMin[0], v.ContourMax[0], range, store));
  std::vector<Segments> levels;
  for (std::int32_t l = 0; l < store.LevelCount(); ++l) levels.emplace_back(store.Level(l), store.Level(l) + store.Count(l));
  return levels;
}

TEST(ContourSegments, PlaneOnOneCellGivesExactPixelsAndDropsCornerLevels) {
  // v = i + j: both splits are flat, so the cell splits along A-C into (A,D,C) and (A,B,C).
  // Levels 0 and 2 only touch a corner and store nothing; 2.5 and 7.5 round half to even.
  ContourScene scene(2, 2, [](int i, int j) { return i + j; }, 0.0, 2.0, 0.5);
  const std::vector<Segments> expected = {
      {}, {{0, 95, 2, 98}, {5, 100, 2, 98}}, {{0, 90, 5, 95}, {10, 100, 5, 95}}, {{5, 90, 8, 92}, {10, 95, 8, 92}}, {}};
  EXPECT_EQ(SegmentsOf(scene), expected);
  // Copy 1 shifted by (1, -2): every point moves by (10, 20) pixels.
  EXPECT_EQ(SegmentsOf(scene, 1.0, -2.0)[1], (Segments{{10, 115, 12, 118}, {15, 120, 12, 118}}));
}

TEST(ContourSegments, LinesCrossRowsOfSubPixelCellsInOnePiece) {
  // Each level's segments, joined at equal end pixels, form one piece across two pixels of
  // triangles far below a hundredth of a square pixel.
  ContourScene scene = test::ThinRowScene();
  int across = 0;
  for (const Segments& level : SegmentsOf(scene)) {
    std::map<std::pair<int, int>, std::pair<int, int>> up;
    auto root = [&](std::pair<int, int> p) {
      for (up.try_emplace(p, p); up[p] != p;) p = up[p];
      return p;
    };
    int top = 1000, bottom = -1000;
    for (const ContourSegment& s : level) {
      up[root({s.x1, s.y1})] = root({s.x2, s.y2});
      top = std::min({top, s.y1, s.y2}), bottom = std::max({bottom, s.y1, s.y2});
    }
    EXPECT_LE(std::count_if(up.begin(), up.end(), [](const auto& e) { return e.first == e.second; }), 1);
    across += top < 60 && bottom > 68;  // through the thin rows on pixel rows 63 to 65
  }
  EXPECT_GE(across, 10);
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
  EXPECT_EQ(SegmentsOf(scene), (std::vector<Segments>{{{0, 92, 8, 100}, {5, 90, 10, 95}}}));
  // A repeated node makes a zero normal: the NaN fold gives B-D; equal folds give A-C.
  EXPECT_EQ(ChooseDiagonal({0, 0, 0}, {0, 0, 0}, {1, 1, 1}, {0, 1, 2}), 1);
  EXPECT_EQ(ChooseDiagonal({0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}), 2);
}

TEST(ContourSegments, DiagonalsChosenInBatchesAgreeWithOneAtATime) {
  // Random cells, with repeated nodes (zero normals), flat and tilted planes (ties), huge and
  // tiny values and NaN, in batches of every length so each lane and the tail are used.
  std::mt19937 rng(7);
  std::vector<double> X, Y, V;
  for (int n = 0; n < 4000; ++n) {
    const int kind = static_cast<int>(rng() % 8);
    X.push_back(static_cast<double>(rng() % 5));
    Y.push_back(static_cast<double>(rng() % 5));
    V.push_back(kind == 0 ? 0.0 : kind == 1 ? NAN : kind == 2 ? 1e300 : kind == 3 ? 1e-300
                           : std::ldexp(static_cast<double>(rng()), -static_cast<int>(rng() % 40)));
  }
  std::vector<std::int32_t> cells;
  for (int k = 0; k < 4 * 3001; ++k) cells.push_back(static_cast<std::int32_t>(rng() % X.size()));
  for (std::size_t count : {std::size_t{1}, std::size_t{3}, std::size_t{4}, std::size_t{7}, std::size_t{3001}}) {
    std::vector<std::uint8_t> batch(count);
    ChooseDiagonals(X.data(), Y.data(), V.data(), cells.data(), count, batch.data());
    for (std::size_t k = 0; k < count; ++k) {
      const std::int32_t* c = cells.data() + 4 * k;
      auto node = [&](std::int32_t n) { return Vec3{X[static_cast<std::size_t>(n)], Y[static_cast<std::size_t>(n)], V[static_cast<std::size_t>(n)]}; };
      ASSERT_EQ(batch[k], ChooseDiagonal(node(c[0]), node(c[1]), node(c[2]), node(c[3]))) << count << " cell " << k;
    }
  }
}

TEST(ContourSegments, LevelsOutsideTheRangeTinyAndOffPictureTrianglesStoreNothing) {
  // Data reach 0..8 but the range is 2.5..5: the levels are 3, 4, 5 only; 5 is the diagonal.
  ContourScene ranged(5, 5, [](int i, int j) { return i + j; }, 2.5, 5.0, 1.0);
  const std::vector<Segments> levels = SegmentsOf(ranged);
  ASSERT_EQ(levels.size(), 3u);
  ASSERT_FALSE(levels[2].empty());
  for (const ContourSegment& s : levels[2]) EXPECT_TRUE(s.x1 - s.y1 == -50 && s.x2 - s.y2 == -50);

  ContourScene scene(2, 2, [](int i, int j) { return i + j; }, 0.0, 2.0, 0.5);
  scene.view.ScaleX = scene.view.ScaleY = 0.1;  // each triangle covers 0.005 square pixels
  for (const Segments& level : SegmentsOf(scene)) EXPECT_TRUE(level.empty());
  scene.view.ScaleX = scene.view.ScaleY = 10.0;
  scene.view.CentrePixelX = -11;  // every vertex left of the picture
  for (const Segments& level : SegmentsOf(scene)) EXPECT_TRUE(level.empty());
  scene.view.CentrePixelX = -10;  // one vertex on its edge: drawn
  EXPECT_FALSE(SegmentsOf(scene)[2].empty());
}

TEST(ContourSegments, SkippedCellsAndWorldCullMatchThePlainWalkPixelByPixel) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::int64_t stored = 0;
  for (int round = 0; round < 41; ++round) {
    // The last round is large enough to be walked on both cores.
    ContourScene scene(
        round == 40 ? 400 : 12, round == 40 ? 170 : 9, [&](int i, int j) { return unit(rng) < 0.03 ? nan : std::floor(unit(rng) * 8) * 0.5 + i * 0.1 * j; },
        unit(rng) * 3, 3 + unit(rng) * 5, 0.25 + unit(rng));
    scene.view.ScaleX = round % 2 ? 7.5 : 10.0;  // 7.5 puts vertices on half pixels
    scene.view.CentrePixelX = static_cast<int>(rng() % 60) - 30;
    scene.view.CentrePixelY = 60 + static_cast<int>(rng() % 60), scene.view.PictureWidth = 80, scene.view.PictureHeight = 70;
    const auto& d = scene.data;
    const FieldView& v = scene.fieldView;
    const ContourLevelRange range = MakeContourLevelRange(v.ContourMax[0], v.ContourMin[0], v.ContourStep[0]);
    ContourSegmentStore fast, plain;
    ASSERT_TRUE(CollectContourSegments(scene.Context(), d.Values[0], v.ContourStep[0], v.ContourMin[0],
                                       v.ContourMax[0], range, fast));
    // Reference: every cell walked, every vertex converted to pixels.
    const std::vector<std::uint8_t> outside = NodeOutsideBits(d.X, d.Y, 0.0, 0.0, scene.view);
    const TriangleGeometry g{.X = d.X.data(), .Y = d.Y.data(), .values = d.Values[0].data(), .view = &scene.view,
                             .cull = {}, .outside = outside.data(), .step = v.ContourStep[0], .min = v.ContourMin[0],
                             .max = v.ContourMax[0], .range = range};
    plain.Reset(range);
    ForEachContourTriangle(d, v.Masks, g.values, scene.progress,
                           [&](std::int32_t p, std::int32_t q, std::int32_t r) { CollectTriangleSegments(g, plain, p, q, r); });
    plain.Finish();
    ASSERT_EQ(fast.Total(), plain.Total());
    stored += fast.Total();
    for (std::int32_t l = 0; l < fast.LevelCount(); ++l)
      for (std::int64_t s = 0; s < fast.Count(l); ++s) ASSERT_EQ(fast.Level(l)[s], plain.Level(l)[s]);
  }
  EXPECT_GT(stored, 1000);
}

TEST(CellWalk, CellsSpanHiddenLinesAndBrokenZonesAreSkipped) {
  ContourScene scene(3, 3, [](int i, int j) { return i + j; }, 0.0, 4.0, 1.0);
  scene.fieldView.Masks = {{{true, false, true}, {true, false, true}}};
  std::vector<std::array<std::int32_t, 3>> triangles;
  auto record = [&](std::int32_t p, std::int32_t q, std::int32_t r) { triangles.push_back({p, q, r}); };
  EXPECT_TRUE(ForEachContourTriangle(scene.data, scene.fieldView.Masks, scene.data.Values[0].data(), scene.progress, record));
  // One cell: A = node 0, B = node 6 (i = 2), C = node 8, D = node 2; a plane splits along A-C.
  EXPECT_EQ(triangles, (std::vector<std::array<std::int32_t, 3>>{{0, 2, 8}, {0, 6, 8}}));
  scene.data.Zones[0].NJ = 50;  // claims more nodes than there are: skipped, not read
  triangles.clear();
  EXPECT_TRUE(ForEachContourTriangle(scene.data, scene.fieldView.Masks, scene.data.Values[0].data(), scene.progress, record));
  EXPECT_TRUE(triangles.empty());
}

// Two threads share a walk by strips: every split gives, part after part, the triangles of one
// walk, across zones and hidden lines.
TEST(CellWalk, PartsOfTheWalkJoinIntoTheWholeWalk) {
  ContourScene scene(12, 9, [](int i, int j) { return std::sin(i * 0.7) * j; }, -8.0, 8.0, 1.0);
  scene.data.Zones = {ZoneGrid{5, 9, 0}, ZoneGrid{7, 9, 45}};
  scene.fieldView.Masks = {{{true, false, true, true, false}, {true, true, false, true, true, true, false, true, true}},
                           {{true, true, false, false, true, true, true}, {}}};
  using Triangles = std::vector<std::array<std::int32_t, 3>>;
  auto walk = [&](CellStrips strips) {
    Triangles triangles;
    auto record = [&](std::int32_t p, std::int32_t q, std::int32_t r) { triangles.push_back({p, q, r}); };
    auto all = [](std::int32_t, std::int32_t, std::int32_t, std::int32_t) { return true; };
    EXPECT_TRUE(ForEachContourTriangle(scene.data, scene.fieldView.Masks, scene.data.Values[0].data(), scene.progress, record, all, strips));
    return triangles;
  };
  const Triangles whole = walk({});
  ASSERT_FALSE(whole.empty());
  for (std::int64_t h = 0; h <= 11; ++h) {
    Triangles joined = walk({0, h});
    const Triangles later = walk({h, std::numeric_limits<std::int64_t>::max()});
    joined.insert(joined.end(), later.begin(), later.end());
    EXPECT_EQ(joined, whole) << "split at strip " << h;
  }
  const std::int64_t half = HalfWayStrip(scene.data);
  EXPECT_TRUE(half > 0 && half < 11) << half;
}

}  // namespace
}  // namespace corvane
