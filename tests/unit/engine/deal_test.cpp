#include "engine/deal.h"

#include <gtest/gtest.h>

#include <set>

#include "engine/consistency.h"
#include "engine_fixture.h"

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

TEST(Shuffle, EverySeatSevenTilesAndTheWholeSetOnce) {
  for (std::uint32_t seed = 1; seed <= 200; ++seed) {
    const GameState s = DealtFrom(seed);
    std::set<std::pair<int, int>> all;
    for (int seat = 1; seat <= kSeats; ++seat) {
      ASSERT_EQ(s.SeatTileCount[seat], 7);
      for (auto [a, b] : TilesOf(s, seat)) {
        EXPECT_GE(a, b) << "dealt tiles carry the higher pips first";
        all.emplace(a, b);
      }
    }
    ASSERT_EQ(all.size(), 28u) << "seed " << seed;
  }
}

TEST(Shuffle, SameSeedSameDealAndTheDrawsAreTheGames) {
  EXPECT_EQ(TilesOf(DealtFrom(9), 3), TilesOf(DealtFrom(9), 3));
  EXPECT_NE(TilesOf(DealtFrom(9), 3), TilesOf(DealtFrom(10), 3));
  // Pinned: a change to the order of the draws (slots for 0-0, 1-0, 1-1, ...,
  // then slot and seat per tile) would deal other hands from the same seed.
  const GameState s = DealtFrom(1);
  EXPECT_EQ(TilesOf(s, 1), (std::vector<std::pair<int, int>>{
                               {5, 5}, {2, 2}, {5, 2}, {5, 1}, {4, 4}, {4, 3}, {5, 3}}));
}

TEST(Statistics, ADoubleCountsOnceAndRanksOrderByCountThenPip) {
  GameState s;
  testing::DealInOrder(s);
  ComputeDealStatistics(s);
  ComputeRanks(s);
  // Seat 1: 0-0 1-0 1-1 2-0 2-1 2-2 3-0.
  EXPECT_EQ(s.SeatPipCount[1][0], 4);  // 0-0 once, 1-0, 2-0, 3-0
  EXPECT_EQ(s.SeatPipCount[1][1], 3);
  EXPECT_EQ(s.SeatPipCount[1][2], 3);
  EXPECT_EQ(s.SeatPipCount[1][3], 1);
  EXPECT_EQ(s.SeatDoubles[1], 3);
  EXPECT_EQ(s.DoubleHolder[2], 1);
  EXPECT_EQ(s.DoubleHolder[6], 4);
  // Counts 4, 3, 3, 1, 0, 0, 0: the tie of 1 and 2 goes to 2, of 4..6 to 6.
  EXPECT_EQ((std::vector<int>(s.SeatPipRank[1].begin() + 1, s.SeatPipRank[1].end())),
            (std::vector<int>{0, 2, 1, 3, 6, 5, 4}));
}

TEST(Statistics, DoublesDoNotPileUpAcrossDeals) {
  GameState s = DealtFrom(3);
  const int doubles = s.SeatDoubles[1] + s.SeatDoubles[2] + s.SeatDoubles[3] + s.SeatDoubles[4];
  EXPECT_EQ(doubles, 7);
  ClearHands(s);
  Random rng(4);
  ShuffleAndDeal(s, rng);
  ComputeDealStatistics(s);
  EXPECT_EQ(s.SeatDoubles[1] + s.SeatDoubles[2] + s.SeatDoubles[3] + s.SeatDoubles[4], 7);
}

TEST(DealHand, LeavesTheHandReadyForTheLead) {
  Table t(5);
  t.s.MatchInProgress = true;
  ASSERT_TRUE(DealHand(t.ctx));
  EXPECT_TRUE(t.s.HandInProgress);
  EXPECT_EQ(t.s.HandNumber, 1);
  EXPECT_EQ(t.s.MoveNumber, 0);
  EXPECT_EQ(t.s.EndPips[1], kNoPip);
  EXPECT_EQ(t.s.EndPips[2], kNoPip);
  EXPECT_EQ(t.s.MoveRecord.size(), 41u);
  EXPECT_EQ(t.s.CurrentSeat, t.s.LeadSeat - 1) << "one step before the leader, unwrapped";
  EXPECT_TRUE(CheckState(t.s).empty());
  EXPECT_EQ(t.EventsStarting("sound 15").size(), 1u);
  EXPECT_EQ(t.EventsStarting("sound 2").size(), 4u);
}

TEST(FiveDoubles, TheRuleAndTheSeatKindDecide) {
  const std::uint32_t seed = SeedWithFiveDoubles();
  const GameState first = DealtFrom(seed);
  const int seat = FirstSeatWithFiveDoubles(first);

  {  // "Debe jugar con ellas": played without a word.
    Table t(seed);
    t.s.MatchInProgress = true;
    ASSERT_TRUE(DealHand(t.ctx));
    EXPECT_EQ(TilesOf(t.s, seat), TilesOf(first, seat));
    EXPECT_TRUE(t.EventsStarting("message Jugador con cinco dobles").empty());
  }
  {  // An automatic seat gives them back, and the deal starts over.
    Table t(seed);
    t.s.MatchInProgress = true;
    t.s.RuleFiveDoubles = kFiveDoublesReturn;
    t.s.SeatControl[seat] = kAutomatic;
    ASSERT_TRUE(DealHand(t.ctx));
    EXPECT_NE(TilesOf(t.s, seat), TilesOf(first, seat));
    EXPECT_EQ(FirstSeatWithFiveDoubles(t.s), 0);
    EXPECT_EQ(t.EventsStarting("sound 15").size(), 2u) << "the whole deal is repeated";
    EXPECT_EQ(t.EventsStarting("message Jugador con cinco dobles").size(), 1u);
  }
  {  // A manual seat that answers yes keeps its tiles.
    Table t(seed);
    t.s.MatchInProgress = true;
    t.s.RuleFiveDoubles = kFiveDoublesReturn;
    t.s.SeatControl[seat] = kManual;
    t.s.RuleFirstLead = kFirstLeadDraw;
    bool asked = false;
    t.port.OnEvent = [&](const std::string& e) {
      if (e == "message Jugador con cinco dobles") {
        asked = true;
        EXPECT_EQ(t.port.LastText,
                  "El jugador Jugador" + std::to_string(seat) +
                      " tiene cinco o más dobles entre sus siete fichas iniciales. ¿Desea "
                      "seguir jugando con ellas (tecla Aceptar) o rechazarlas y repetir el "
                      "juego (tecla Cancelar)?");
      }
    };
    ASSERT_TRUE(DealHand(t.ctx));
    EXPECT_TRUE(asked);
    EXPECT_EQ(TilesOf(t.s, seat), TilesOf(first, seat));
    EXPECT_TRUE(t.s.DialogAnswer);
  }
  {  // ... and one that answers no gets a fresh deal.
    Table t(seed);
    t.s.MatchInProgress = true;
    t.s.RuleFiveDoubles = kFiveDoublesReturn;
    t.s.SeatControl[seat] = kManual;
    t.port.Answers = {false};
    ASSERT_TRUE(DealHand(t.ctx));
    EXPECT_NE(TilesOf(t.s, seat), TilesOf(first, seat));
    EXPECT_FALSE(t.s.DialogAnswer);
  }
}

TEST(FiveDoubles, AnAutomaticSeatSaysWhy) {
  const std::uint32_t seed = SeedWithFiveDoubles();
  const int seat = FirstSeatWithFiveDoubles(DealtFrom(seed));
  Table t(seed);
  t.s.MatchInProgress = true;
  t.s.RuleFiveDoubles = kFiveDoublesReturn;
  t.s.SeatControl[seat] = kAutomatic;
  std::string text;
  t.port.OnEvent = [&](const std::string& e) {
    if (e == "message Jugador con cinco dobles") text = t.port.LastText;
  };
  ASSERT_TRUE(DealHand(t.ctx));
  EXPECT_EQ(text, "El jugador Jugador" + std::to_string(seat) +
                      " tiene cinco o más dobles entre sus siete fichas iniciales y ha optado "
                      "por rechazarlas y repetir el juego.");
}

TEST(FirstHand, TheSixDoubleLeadsEvenForAManualSeat) {
  Table t(21);
  t.s.MatchInProgress = true;
  for (int seat = 1; seat <= kSeats; ++seat) t.s.SeatControl[seat] = kManual;
  ASSERT_TRUE(DealHand(t.ctx));
  const int holder = t.s.DoubleHolder[6];
  EXPECT_EQ(t.s.LeadSeat, holder);
  EXPECT_EQ(t.port.LastTitle, "Comienza la Partida");
  EXPECT_EQ(t.port.LastText, "Sale el jugador que tiene el seis doble.\r\nSale Jugador" +
                                 std::to_string(holder) + ".");
}

TEST(FirstHand, ByDrawTheGeneratorPicksAndSaysSo) {
  std::set<int> leaders;
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    Table t(seed);
    t.s.MatchInProgress = true;
    t.s.RuleFirstLead = kFirstLeadDraw;
    t.s.SeatName[2] = "  Ana ";
    ASSERT_TRUE(DealHand(t.ctx));
    leaders.insert(t.s.LeadSeat);
    EXPECT_EQ(t.port.LastText, "Se ha sorteado el jugador que comienza la partida.\r\nSale " +
                                   t.s.SeatName[t.s.LeadSeat] + ".");
  }
  EXPECT_EQ(leaders.size(), 4u);
}

TEST(LaterHands, RotationFollowsTheDirectionAndWraps) {
  GameState s;
  s.RuleNextLead = kNextLeadRotate;
  s.LeadSeat = 4;
  s.DirectionStep = 1;
  EXPECT_EQ(LeaderByRule(s), 1);
  s.LeadSeat = 1;
  s.DirectionStep = -1;
  EXPECT_EQ(LeaderByRule(s), 4);
  // A replayed tie moved the leader back without wrapping.
  s.LeadSeat = 0;
  s.DirectionStep = 1;
  EXPECT_EQ(LeaderByRule(s), 1);
  s.LeadSeat = 5;
  s.DirectionStep = -1;
  EXPECT_EQ(LeaderByRule(s), 4);
  // ... and a direction changed since then still gives a seat.
  s.LeadSeat = 0;
  EXPECT_EQ(WrapSeat(LeaderByRule(s)), LeaderByRule(s));
}

// Seat a and b of a pair with top suits of the given lengths and doubles.
void SetPair(GameState& s, int pair, int countA, int doublesA, int countB, int doublesB) {
  const int a = pair == 1 ? 2 : 1;
  const int b = a + 2;
  s.SeatPipRank[a][1] = 3;
  s.SeatPipCount[a][3] = static_cast<i16>(countA);
  s.SeatDoubles[a] = static_cast<i16>(doublesA);
  s.SeatPipRank[b][1] = 5;
  s.SeatPipCount[b][5] = static_cast<i16>(countB);
  s.SeatDoubles[b] = static_cast<i16>(doublesB);
}

TEST(LaterHands, WinningAndLosingPairsPickTheirLeader) {
  GameState s;
  s.RuleMode = kModePairs;
  s.RuleNextLead = kNextLeadWinner;
  s.HandWinner = 2;
  SetPair(s, 2, 3, 1, 3, 1);
  EXPECT_EQ(LeaderByRule(s), 3) << "equal counts and doubles: the higher seat";
  SetPair(s, 2, 3, 0, 3, 1);
  EXPECT_EQ(LeaderByRule(s), 1) << "fewer doubles: the lower seat";
  SetPair(s, 2, 3, 2, 4, 0);
  EXPECT_EQ(LeaderByRule(s), 3) << "the longer top suit";
  SetPair(s, 2, 5, 2, 4, 0);
  EXPECT_EQ(LeaderByRule(s), 1);
  s.HandWinner = 1;
  SetPair(s, 1, 4, 0, 2, 0);
  EXPECT_EQ(LeaderByRule(s), 2);
  s.RuleNextLead = kNextLeadLoser;
  EXPECT_EQ(LeaderByRule(s), 1) << "pair 1 won: pair 2 leads, both counts 5 vs 4";
  s.HandWinner = 2;
  EXPECT_EQ(LeaderByRule(s), 2);
}

TEST(LaterHands, WithNoWinnerTheRotationDecides) {
  GameState s;
  s.LeadSeat = 2;
  s.DirectionStep = 1;
  s.HandWinner = 0;
  for (i16 rule : {kNextLeadWinner, kNextLeadLoser}) {
    for (i16 mode : {kModePairs, kModeIndividual}) {
      s.RuleNextLead = rule;
      s.RuleMode = mode;
      EXPECT_EQ(LeaderByRule(s), 3) << rule << " " << mode;
    }
  }
  s.RuleMode = kModeIndividual;
  s.RuleNextLead = kNextLeadWinner;
  s.HandWinner = 4;
  EXPECT_EQ(LeaderByRule(s), 4);
  s.RuleNextLead = kNextLeadLoser;  // not offered in individual mode
  EXPECT_EQ(LeaderByRule(s), 3);
}

TEST(LaterHands, TheUserChoosesWhenTheRuleSaysSo) {
  Table t(3);
  t.s.MatchInProgress = true;
  t.s.RuleNextLead = kNextLeadChoose;
  t.port.Leaders = {3};
  bool choosing = false;
  t.port.OnEvent = [&](const std::string& e) {
    if (e.rfind("leader", 0) == 0) choosing = t.s.ChoosingLeader;
  };
  ASSERT_TRUE(DealHand(t.ctx));
  EXPECT_TRUE(choosing);
  EXPECT_FALSE(t.s.ChoosingLeader);
  EXPECT_EQ(t.s.LeadSeat, 3);
  EXPECT_EQ(t.s.CurrentSeat, 2);
  EXPECT_TRUE(t.EventsStarting("message Comienza").empty()) << "no first-hand message";
}

// A generator whose first Draw(3) is (or is not) 1.
Random GeneratorDrawing(bool one) {
  for (std::uint32_t seed = 1;; ++seed) {
    Random probe(seed);
    if ((probe.Draw(3) == 1) == one) return Random(seed);
  }
}

TEST(LeadPreparation, TwoEqualSuitsTurnTowardsTheDoubleHeld) {
  GameState s;
  s.LeadSeat = 2;
  s.SeatPipRank[2] = {0, 4, 1, 0, 2, 3, 5, 6};
  s.SeatPipCount[2][4] = 3;
  s.SeatPipCount[2][1] = 3;
  s.DoubleHolder[1] = 2;  // holds 1-1, not 4-4
  Random noSwap = GeneratorDrawing(false);
  PrepareLead(s, noSwap);
  EXPECT_EQ(s.SeatPipRank[2][1], 1);
  EXPECT_EQ(s.SeatPipRank[2][2], 4);
  // Holding the first suit's double keeps it first unless the draw swaps.
  s.SeatPipRank[2] = {0, 4, 1, 0, 2, 3, 5, 6};
  s.DoubleHolder[4] = 2;
  Random again = GeneratorDrawing(false);
  PrepareLead(s, again);
  EXPECT_EQ(s.SeatPipRank[2][1], 4);
  Random swap = GeneratorDrawing(true);
  PrepareLead(s, swap);
  EXPECT_EQ(s.SeatPipRank[2][1], 1) << "swapped by the draw; 1-1 held too, so it stays";
  // Different counts are never swapped.
  s.SeatPipRank[2] = {0, 4, 1, 0, 2, 3, 5, 6};
  s.SeatPipCount[2][1] = 2;
  s.DoubleHolder[4] = 0;
  Random any = GeneratorDrawing(true);
  PrepareLead(s, any);
  EXPECT_EQ(s.SeatPipRank[2][1], 4);
}

}  // namespace
}  // namespace tarvelis
