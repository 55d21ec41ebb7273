#include "engine/deal.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "model/texts.h"
#include "support/engine_fixture.h"

namespace tarvelis {
namespace {

using testing::Table;

std::vector<std::pair<int, int>> TilesOf(const GameState& s, int seat) {
  std::vector<std::pair<int, int>> tiles;
  for (int slot = 1; slot <= kSlots; ++slot) {
    tiles.emplace_back(s.Hand[seat][slot].PipA, s.Hand[seat][slot].PipB);
  }
  return tiles;
}

// Deals as DealHand's first shuffle would, from a generator in state `seed`.
GameState DealtFrom(std::uint32_t seed) {
  GameState s;
  Random rng(seed);
  ClearHands(s);
  ShuffleAndDeal(s, rng);
  ComputeDealStatistics(s);
  return s;
}

// The first seed whose first deal gives some seat five doubles or more.
std::uint32_t SeedWithFiveDoubles() {
  for (std::uint32_t seed = 1;; ++seed) {
    if (FirstSeatWithFiveDoubles(DealtFrom(seed)) != 0) return seed;
  }
}

TEST(FiveDoubles, TheRuleAndTheSeatKindDecide) {
  const std::uint32_t seed = SeedWithFiveDoubles();
  const GameState first = DealtFrom(seed);
  const int seat = FirstSeatWithFiveDoubles(first);
  const std::string name = DefaultSeatName(seat);
  struct Case {
    i16 Rule, Control;
    bool Answer, Kept;
    std::string Text;
  };
  const Case cases[] = {
      {kFiveDoublesPlay, kManual, true, true, ""},  // "Debe jugar con ellas": not a word
      {kFiveDoublesReturn, kAutomatic, true, false, FiveDoublesGivenBack(name)},
      {kFiveDoublesReturn, kManual, true, true, FiveDoublesQuestion(name)},
      {kFiveDoublesReturn, kManual, false, false, FiveDoublesQuestion(name)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    Table t(seed);
    t.s.MatchInProgress = true;
    t.s.RuleFiveDoubles = c.Rule;
    t.s.SeatControl[seat] = c.Control;
    t.port.Answers = {c.Answer};
    std::string text;
    t.port.OnEvent = [&](const std::string& e) {
      if (e == "message Jugador con cinco dobles") text = t.port.LastText;
    };
    ASSERT_TRUE(DealHand(t.ctx));
    EXPECT_EQ(text, c.Text);
    EXPECT_EQ(TilesOf(t.s, seat) == TilesOf(first, seat), c.Kept);
    EXPECT_EQ(t.EventsStarting("sound 15").size(), c.Kept ? 1u : 2u) << "the whole deal again";
    if (!c.Kept) {
      EXPECT_EQ(FirstSeatWithFiveDoubles(t.s), 0);
    }
  }
}

// The winner's (or loser's) pair leads with the seat of the longer top suit,
// then the one with more doubles, then the higher seat; with no winner, or a
// rule individual play does not offer, the rotation decides. Cases apply in
// order to one state: `pair` 0 leaves the suits as they were.
TEST(LaterHands, TheWinningOrLosingPairPicksItsLeader) {
  struct Case {
    i16 mode, rule;
    int winner, pair, countA, doublesA, countB, doublesB, expected;
  };
  // clang-format off
  const Case cases[] = {
      {kModePairs, kNextLeadWinner, 2, 2, 3, 1, 3, 1, 3},  // all equal: the higher seat
      {kModePairs, kNextLeadWinner, 2, 2, 3, 0, 3, 1, 1},  // fewer doubles: the lower seat
      {kModePairs, kNextLeadWinner, 2, 2, 3, 2, 4, 0, 3},  // the longer top suit
      {kModePairs, kNextLeadWinner, 2, 2, 5, 2, 4, 0, 1},
      {kModePairs, kNextLeadWinner, 1, 1, 4, 0, 2, 0, 2},
      {kModePairs, kNextLeadLoser, 1, 0, 0, 0, 0, 0, 1},  // pair 2 leads: counts 5 against 4
      {kModePairs, kNextLeadLoser, 2, 0, 0, 0, 0, 0, 2},
      {kModePairs, kNextLeadWinner, 0, 0, 0, 0, 0, 0, 3},
      {kModePairs, kNextLeadLoser, 0, 0, 0, 0, 0, 0, 3},
      {kModeIndividual, kNextLeadWinner, 0, 0, 0, 0, 0, 0, 3},
      {kModeIndividual, kNextLeadWinner, 4, 0, 0, 0, 0, 0, 4},
      {kModeIndividual, kNextLeadLoser, 4, 0, 0, 0, 0, 0, 3},  // not offered individually
  };
  // clang-format on
  GameState s;
  s.LeadSeat = 2;
  s.DirectionStep = 1;
  for (const Case& c : cases) {
    s.RuleMode = c.mode;
    s.RuleNextLead = c.rule;
    s.HandWinner = static_cast<i16>(c.winner);
    if (c.pair != 0) {
      const int a = c.pair == 1 ? 2 : 1;
      s.SeatPipRank[a][1] = 3;
      s.SeatPipCount[a][3] = static_cast<i16>(c.countA);
      s.SeatDoubles[a] = static_cast<i16>(c.doublesA);
      s.SeatPipRank[a + 2][1] = 5;
      s.SeatPipCount[a + 2][5] = static_cast<i16>(c.countB);
      s.SeatDoubles[a + 2] = static_cast<i16>(c.doublesB);
    }
    EXPECT_EQ(LeaderByRule(s), c.expected) << c.mode << "/" << c.rule << "/" << c.winner;
  }
}

}  // namespace
}  // namespace tarvelis
