// A user may reorder and turn the tiles of a hand in the middle of a hand; the
// match must still hold together and survive being saved and loaded.
#include <gtest/gtest.h>

#include <sstream>
#include <utility>

#include "engine/headless_play.h"
#include "model/consistency.h"
#include "storage/state_file.h"

namespace tarvelis {
namespace {

TEST(ArrangedHand, StaysConsistentAndLoadsBack) {
  for (std::uint32_t seed : {3u, 8u, 13u}) {
    GameState s;
    ApplyDefaults(s);
    PlayHeadlessTo(s, 9, seed);
    ASSERT_TRUE(s.HandInProgress);
    // Turn every tile of seat 4, played ones included, and reverse the hand.
    for (int slot = 1; slot <= kSlots; ++slot) {
      std::swap(s.Hand[4][slot].PipA, s.Hand[4][slot].PipB);
    }
    for (int slot = 1; slot <= 3; ++slot) std::swap(s.Hand[4][slot], s.Hand[4][kSlots + 1 - slot]);
    EXPECT_TRUE(CheckState(s).empty()) << seed;
    EXPECT_EQ(ResumeFault(s), "") << seed;

    GameState loaded;
    std::istringstream in(StateFileText(s));
    ReadState(loaded, in);
    EXPECT_TRUE(loaded.MatchInProgress && loaded.HandInProgress) << seed;
    EXPECT_EQ(loaded.Hand[4][1].PipA, s.Hand[4][1].PipA);
  }
}

}  // namespace
}  // namespace tarvelis
