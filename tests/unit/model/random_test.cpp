#include "model/random.h"

#include <gtest/gtest.h>

#include "model/clock.h"

namespace tarvelis {
namespace {

TEST(Random, DrawCoversOneToNEvenly) {
  Random r(7);
  int counts[29] = {};
  for (int i = 0; i < 280000; ++i) {
    int v = r.Draw(28);
    ASSERT_GE(v, 1);
    ASSERT_LE(v, 28);
    ++counts[v];
  }
  for (int v = 1; v <= 28; ++v) EXPECT_NEAR(counts[v], 10000, 500) << v;
}

TEST(WaitSeconds, FollowsTheGameSpeed) {
  EXPECT_DOUBLE_EQ(WaitSeconds(70, 0), 0.7);
  EXPECT_DOUBLE_EQ(WaitSeconds(70, 100), 0.0);
  EXPECT_DOUBLE_EQ(WaitSeconds(100, 50), 0.5);
  EXPECT_DOUBLE_EQ(WaitSeconds(-5, 0), 0.0);
}

}  // namespace
}  // namespace tarvelis
