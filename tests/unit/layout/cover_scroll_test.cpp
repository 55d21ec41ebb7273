#include "layout/cover_scroll.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tarvelis {
namespace {

TEST(CoverScroll, ThreePassesOf351FramesThenDone) {
  CoverScroll scroll;
  int frames = 0;
  int lowest = scroll.Y;
  while (!scroll.Stopped && frames < 10000) {
    ++frames;  // a frame is drawn at scroll.Y, then the scroll moves
    lowest = std::min(lowest, scroll.Y);
    const int before = scroll.Passes;
    scroll.Step();
    if (scroll.Passes != before && !scroll.Stopped) {
      EXPECT_EQ(scroll.Y, kCoverStartY);
    }
  }
  EXPECT_EQ(frames, 3 * 351);
  EXPECT_EQ(lowest, kCoverLastY);
  EXPECT_NEAR(frames * kCoverFrameSeconds, 53, 0.5);
  scroll.Step();
  EXPECT_TRUE(scroll.Stopped);
}

}  // namespace
}  // namespace tarvelis
