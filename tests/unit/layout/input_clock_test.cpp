#include "layout/input_clock.h"

#include <gtest/gtest.h>

namespace tarvelis {
namespace {

// The window system's clock runs 5000 ms behind the table's here.
constexpr std::int64_t kAhead = 5000;

TEST(InputClock, InputMadeBeforeAStepEndedIsDroppedAndLaterInputCounts) {
  InputClock clock;
  EXPECT_FALSE(clock.Stale(1000, 1000 + kAhead));  // a move, handled at once
  clock.Settle(2000 + kAhead);                     // a run begins
  // A click made during the run arrives in the run's next pause: it counts
  // (and stops the run).
  EXPECT_FALSE(clock.Stale(2500, 2900 + kAhead));
  clock.Settle(4000 + kAhead);  // the run ends
  // Clicks made in the run's last step arrive after it, late: dropped.
  EXPECT_TRUE(clock.Stale(3700, 4001 + kAhead));
  EXPECT_TRUE(clock.Stale(3999, 4002 + kAhead));
  // The next click counts even when the table is slow to take it.
  EXPECT_FALSE(clock.Stale(4100, 4600 + kAhead));
}

TEST(InputClock, AFirstLateEventNeverMakesFreshInputStale) {
  InputClock clock;
  clock.Settle(1000 + kAhead);
  // The first event the table sees waited 800 ms: the gap is taken too large,
  // which can only let stale input through, never drop fresh input.
  EXPECT_FALSE(clock.Stale(900, 1700 + kAhead));
  EXPECT_FALSE(clock.Stale(1001, 1002 + kAhead));
  // Once an event handled at once shows the true gap, late ones are dropped.
  clock.Settle(3000 + kAhead);
  EXPECT_TRUE(clock.Stale(2950, 3100 + kAhead));
}

TEST(InputClock, TheWindowSystemsClockStartingAgainDropsNothing) {
  InputClock clock;
  EXPECT_FALSE(clock.Stale(4'294'967'000, 4'294'967'000 + kAhead));
  clock.Settle(4'294'967'100 + kAhead);
  // Its 32-bit milliseconds wrapped: the next click reads as made long ago.
  EXPECT_FALSE(clock.Stale(200, 4'294'967'500 + kAhead));
  EXPECT_FALSE(clock.Stale(300, 4'294'967'600 + kAhead));
}

}  // namespace
}  // namespace tarvelis
