#include "engine/game_state.h"

#include <gtest/gtest.h>

namespace tarvelis {
namespace {

TEST(TurnOrder, DirectWrapsFourToOne) {
  GameState s;
  ApplyDefaults(s);
  s.CurrentSeat = 3;
  s.MoveNumber = 5;
  AdvanceTurn(s);
  EXPECT_EQ(s.CurrentSeat, 4);
  AdvanceTurn(s);
  EXPECT_EQ(s.CurrentSeat, 1);
  EXPECT_EQ(s.MoveNumber, 7);
  TurnBack(s);
  EXPECT_EQ(s.CurrentSeat, 4);
  EXPECT_EQ(s.MoveNumber, 6);
}

TEST(TurnOrder, ReverseGoesFourThreeTwoOne) {
  GameState s;
  ApplyDefaults(s);
  s.RuleDirection = kReverse;
  SyncDirectionStep(s);
  ASSERT_EQ(s.DirectionStep, -1);
  s.CurrentSeat = 1;
  std::vector<int> seen;
  for (int i = 0; i < 5; ++i) {
    AdvanceTurn(s);
    seen.push_back(s.CurrentSeat);
  }
  EXPECT_EQ(seen, (std::vector<int>{4, 3, 2, 1, 4}));
}

TEST(TurnOrder, FirstAdvanceFromBeforeTheLeaderReachesTheLeader) {
  // The deal leaves CurrentSeat one step before the leader without wrapping,
  // so it may be 0 or 5.
  GameState s;
  s.DirectionStep = 1;
  s.CurrentSeat = 0;
  AdvanceTurn(s);
  EXPECT_EQ(s.CurrentSeat, 1);
  s.DirectionStep = -1;
  s.CurrentSeat = 5;
  AdvanceTurn(s);
  EXPECT_EQ(s.CurrentSeat, 4);
}

TEST(Pairs, PartnersAndPairNumbers) {
  GameState s;
  EXPECT_EQ(s.Partner[1], 3);
  EXPECT_EQ(s.Partner[2], 4);
  EXPECT_EQ(s.Partner[3], 1);
  EXPECT_EQ(s.Partner[4], 2);
  EXPECT_EQ(PairOfSeat(2), 1);
  EXPECT_EQ(PairOfSeat(4), 1);
  EXPECT_EQ(PairOfSeat(1), 2);
  EXPECT_EQ(PairOfSeat(3), 2);
}

}  // namespace
}  // namespace tarvelis
