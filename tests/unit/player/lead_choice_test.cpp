// The lead of a computer seat: by its doubles, by its longest suit, and the
// fallbacks when neither names a tile the hand holds.
#include "player/lead_choice.h"

#include <gtest/gtest.h>

#include <string>

#include "table_builder.h"

namespace tarvelis {
namespace {

using test::TableBuilder;

struct Lead {
  std::string Tile;
  LeadStep Step;
};

Lead LeadOf(const GameState& s, int seat = 1) {
  const LeadChoice c = ChooseLead(s, seat);
  if (c.Slot == 0) return {"", c.Step};
  const HandSlot& t = s.Hand[seat][c.Slot];
  return {std::to_string(t.PipA) + "-" + std::to_string(t.PipB), c.Step};
}

GameState Hand(const char* tiles) {
  TableBuilder t;
  t.Give(1, tiles).Deal().Move(1);
  return t.s;
}

TEST(LeadChoice, ByTheDoublesHeldThenTheLongestSuit) {
  struct Case {
    const char* Hand;
    const char* Tile;
    LeadStep Step;
    const char* Why;
  };
  const Case cases[] = {
      {"1-0 4-4 4-1 2-0 4-2 3-0 5-0", "4-4", LeadStep::kOneDouble, "one double, three fours"},
      // A bare double: the longest suit (0) opens, beside its best-ranked partner.
      {"4-4 1-0 2-0 3-0 5-0 5-1 6-2", "5-0", LeadStep::kLongestSuit, "one bare double"},
      // Five sixes, every suit present, twos at rank 2 with three tiles: open
      // 6-2 and keep the double.
      {"6-6 6-5 6-4 6-3 6-2 2-1 2-0", "6-2", LeadStep::kOneDouble, "dominant suit"},
      {"6-6 6-5 6-4 6-0 6-2 2-1 2-0", "6-6", LeadStep::kOneDouble, "dominant, a suit missing"},
      {"6-6 6-5 6-4 6-3 6-2 2-1 1-0", "6-6", LeadStep::kOneDouble, "dominant, rank 2 of two"},
      {"2-2 2-1 2-0 5-5 5-1 3-0 4-0", "2-2", LeadStep::kTwoDoubles, "three twos, two fives"},
      {"2-2 2-1 5-0 5-5 5-1 3-0 4-0", "5-5", LeadStep::kTwoDoubles, "two twos, three fives"},
      {"2-2 2-1 5-5 5-1 3-0 4-0 6-0", "5-5", LeadStep::kTwoDoubles, "a draw: the higher"},
      {"2-2 5-5 1-0 3-0 4-0 6-0 6-1", "6-0", LeadStep::kLongestSuit, "two bare doubles"},
      {"6-6 4-4 4-0 1-1 1-0 2-1 5-3", "4-4", LeadStep::kManyDoubles, "highest not bare"},
      {"6-6 4-4 1-1 5-0 3-0 2-0 3-2", "3-0", LeadStep::kLongestSuit, "three bare doubles"},
      // Threes and zeros both count three; the three ranks first and opens
      // beside the zero, the best-ranked suit held with it.
      {"1-0 2-0 3-0 3-1 3-2 5-4 6-4", "3-0", LeadStep::kLongestSuit, "no double"},
      // Every suit shows once, on its double: no step names a tile. Rank 1 is
      // the six (higher pip first among equal counts).
      {"0-0 1-1 2-2 3-3 4-4 5-5 6-6", "6-6", LeadStep::kFallback, "all doubles"},
  };
  for (const Case& c : cases) {
    const Lead l = LeadOf(Hand(c.Hand));
    EXPECT_EQ(l.Tile, c.Tile) << c.Why;
    EXPECT_EQ(l.Step, c.Step) << c.Why;
  }
}

// Figures of another hand, naming tiles this hand does not hold: the lead
// falls back to the highest double, or without one to the heaviest tile.
TEST(LeadChoice, ANamedTileNotInTheHandFallsBack) {
  GameState s = Hand("6-6 6-5 6-4 6-3 6-2 2-1 1-0");
  s.SeatPipCount[1][1] = 3;  // three ones at rank 2, but 6-1 is not held
  s.SeatPipRank[1][2] = 1;
  s.SeatPipRank[1][3] = 2;
  EXPECT_EQ(LeadOf(s).Tile, "6-6");
  EXPECT_EQ(LeadOf(s).Step, LeadStep::kFallback);
  s = Hand("1-0 2-0 5-3 6-4 4-2 5-1 3-2");
  for (int k = 1; k <= kSlots; ++k) s.SeatPipRank[1][k] = 6;
  s.SeatDoubles[1] = 0;
  EXPECT_EQ(LeadOf(s).Tile, "6-4");
  EXPECT_EQ(LeadOf(s).Step, LeadStep::kFallback);
}

}  // namespace
}  // namespace tarvelis
