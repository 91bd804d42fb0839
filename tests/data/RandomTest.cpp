#include <gtest/gtest.h>

#include "data/Random.h"

using namespace corvane;

TEST(Random, FollowsTheLinearCongruentialSequence) {
  Random r(0);
  EXPECT_EQ(r.Next(100), 0);  // seed 1: 100 * 1 >> 32
  EXPECT_EQ(r.State(), 1u);
  EXPECT_EQ(r.Next(100), 3);  // seed 134775814: 13477581400 / 2^32 = 3.14
  EXPECT_EQ(r.State(), 134775814u);
  EXPECT_EQ(r.Next(100), 86);  // seed 3698175007: 369817500700 / 2^32 = 86.1
  EXPECT_EQ(r.State(), 3698175007u);
}

TEST(Random, WrapsModulo2To32AndStaysInRange) {
  Random r(0xFFFFFFFFu);
  EXPECT_EQ(r.Next(2147483647), 2080095741);  // seed 4160191484
  EXPECT_EQ(r.State(), 4160191484u);
  EXPECT_EQ(r.Next(0), 0);
  EXPECT_EQ(r.Next(-5), 0);
  Random a(12345), b(12345);
  for (int i = 0; i < 1000; ++i) {
    int v = a.Next(7);
    ASSERT_GE(v, 0);
    ASSERT_LT(v, 7);
    ASSERT_EQ(v, b.Next(7));
  }
}
