#include "engine/deal.h"

#include <gtest/gtest.h>

#include <random>

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

// Every deal a seed has ever given, and so every recorded simulation,
// rests on the twister giving the standard generator's numbers: across
// its blocks, from any seed, and when seeded again part-way through a block.
TEST(Random, GivesTheStandardMersenneTwistersNumbers) {
  for (const std::uint32_t seed : {0u, 1u, 5489u, 0x9908b0dfu, 0xffffffffu}) {
    Mt19937 ours(seed);
    std::mt19937 standard(seed);
    for (int i = 0; i < 3 * 624 + 5; ++i) ASSERT_EQ(ours(), standard()) << seed << " at " << i;
    ours.Seed(seed ^ 77u);
    standard.seed(seed ^ 77u);
    for (int i = 0; i < 700; ++i) ASSERT_EQ(ours(), standard()) << seed << " again at " << i;
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

}  // namespace
}  // namespace tarvelis
