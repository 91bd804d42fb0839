#include <gtest/gtest.h>

#include "base/Random.h"

using namespace corvane;

TEST(Random, FollowsTheLinearCongruentialSequence) {
  Random r(0);
  EXPECT_EQ(r.Next(100), 0);   // seed 1: 100 * 1 >> 32
  EXPECT_EQ(r.Next(100), 3);   // seed 134775814: 13477581400 / 2^32 = 3.14
  EXPECT_EQ(r.Next(100), 86);  // seed 3698175007: 369817500700 / 2^32 = 86.1
  EXPECT_EQ(r.State(), 3698175007u);
  Random w(0xFFFFFFFFu);  // wraps modulo 2^32
  EXPECT_EQ(w.Next(2147483647), 2080095741);
  EXPECT_EQ(w.State(), 4160191484u);
  EXPECT_EQ(w.Next(0), 0);
  EXPECT_EQ(w.Next(-5), 0);
}
