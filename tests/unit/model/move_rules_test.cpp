#include "model/move_rules.h"

#include <gtest/gtest.h>

namespace tarvelis {
namespace {

// Deals the whole set in order to the four seats and marks played the tiles
// that show pip `suit`, `played` of them, taking them in deal order.
GameState WithSuitOut(int suit, int played) {
  GameState s;
  int seat = 1, slot = 1;
  for (int a = 0; a <= 6; ++a) {
    for (int b = a; b <= 6; ++b) {
      s.Hand[seat][slot] = {static_cast<i16>(a), static_cast<i16>(b), 0};
      if (++slot > kSlots) slot = 1, ++seat;
    }
  }
  for (int st = 1; st <= kSeats; ++st) {
    for (int k = 1; k <= kSlots; ++k) {
      HandSlot& t = s.Hand[st][k];
      if (played > 0 && (t.PipA == suit || t.PipB == suit)) t.State = 1, --played;
    }
  }
  s.EndPips = {0, static_cast<i16>(suit), static_cast<i16>(suit)};
  return s;
}

// The slot of a tile is found held either way round, the first of two
// copies (a damaged file may hold both), and never for pips no tile has.
TEST(BuscaHueco, FindsTheFirstSlotHoldingTheTileEitherWayRound) {
  GameState s = WithSuitOut(0, 0);  // seat 1: 0-0 0-1 ... 0-6
  EXPECT_EQ(BuscaHueco(s, 0, 3, 1), 4);
  EXPECT_EQ(BuscaHueco(s, 3, 0, 1), 4);
  EXPECT_EQ(BuscaHueco(s, 0, 6, 1), 7);
  EXPECT_EQ(BuscaHueco(s, 0, 0, 1), 1);
  EXPECT_EQ(BuscaHueco(s, 5, 5, 1), 0);
  EXPECT_EQ(BuscaHueco(s, 0, 3, 2), 0);
  s.Hand[1][6] = {3, 0, 0};
  EXPECT_EQ(BuscaHueco(s, 3, 0, 1), 4);
  s.Hand[1][4] = {2, 2, 0};
  EXPECT_EQ(BuscaHueco(s, 0, 3, 1), 6);
  EXPECT_EQ(BuscaHueco(s, 0, 3, 0), 0);
  EXPECT_EQ(BuscaHueco(s, 0, 3, 5), 0);
  s.Hand[1][2] = {-1, -1, 0};
  EXPECT_EQ(BuscaHueco(s, -1, -1, 1), 2);
  EXPECT_EQ(BuscaHueco(s, 65535, 65535, 1), 0) << "pips past the tiles' own range";
  EXPECT_EQ(BuscaHueco(s, 0, 65536, 1), 0) << "0-0 held, but 65536 is not 0";
}

// A chain is closed only when all seven tiles of the suit at both ends are
// out; with six out the last one may still be played on either end.
TEST(ChainBlocked, OnlyWhenTheSeventhTileOfTheSuitIsOut) {
  for (int suit = 0; suit <= 6; ++suit) {
    EXPECT_FALSE(ChainBlocked(WithSuitOut(suit, 6))) << suit;
    EXPECT_TRUE(ChainBlocked(WithSuitOut(suit, 7))) << suit;
  }
  GameState open = WithSuitOut(3, 7);
  open.EndPips[2] = 5;
  EXPECT_FALSE(ChainBlocked(open)) << "ends that differ never block";
  GameState empty;
  EXPECT_FALSE(ChainBlocked(empty)) << "an empty chain is not blocked";
}

// Seat 4 holds 2-5 with the ends on 2 and 5; `twos` and `fives` tiles of
// those suits (other than 2-5) are out.
GameState TwoFiveAtBothEnds(int twos, int fives, int tilesHeld) {
  GameState s;
  s.EndPips = {0, 2, 5};
  s.SeatTileCount[4] = static_cast<i16>(tilesHeld);
  s.Hand[4][1] = {2, 5, 0};
  int slot = 1;
  for (int other : {0, 1, 3, 4, 6, 2}) {
    if (twos-- > 0) s.Hand[1][slot] = {2, static_cast<i16>(other), 1};
    if (fives-- > 0) s.Hand[2][slot] = {5, static_cast<i16>(other == 2 ? 5 : other), 1};
    ++slot;
  }
  return s;
}

TEST(UserChoosesEnd, AskedOnlyWhenTheEndMakesADifference) {
  const HandSlot tile{2, 5, 0};
  struct Case {
    int twos, fives, held;
    bool asked;
  } cases[] = {
      {0, 0, 5, true},   // an open position
      {5, 6, 5, true},   // six fives out but only five twos
      {6, 5, 5, true},   // six twos out but only five fives
      {6, 6, 5, false},  // six of each out: either end gives the same chain
      {0, 0, 1, false},  // the last tile ends the hand wherever it goes
  };
  for (const Case& c : cases) {
    const GameState s = TwoFiveAtBothEnds(c.twos, c.fives, c.held);
    EXPECT_EQ(UserChoosesEnd(s, 4, tile), c.asked) << c.twos << " " << c.fives << " " << c.held;
  }
  GameState equalEnds = TwoFiveAtBothEnds(0, 0, 5);
  equalEnds.EndPips = {0, 5, 5};
  EXPECT_FALSE(UserChoosesEnd(equalEnds, 4, HandSlot{5, 5, 0})) << "equal ends are one end";
  EXPECT_FALSE(UserChoosesEnd(TwoFiveAtBothEnds(0, 0, 5), 4, HandSlot{2, 6, 0}));
}

}  // namespace
}  // namespace tarvelis
