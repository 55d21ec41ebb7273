// Seat roles and the individual ranking.
#include "player/evaluation.h"

#include <gtest/gtest.h>

#include <tuple>

#include "table_builder.h"

namespace tarvelis {
namespace {

using test::TableBuilder;

TEST(SeatRoles, KeySeatIsCloserToGoingOutAndOpponentsSwapFromLevel21) {
  TableBuilder t;
  t.Give(3, "6-6 6-5").Give(4, "5-5 5-4").Deal();
  EXPECT_EQ(PairRoles(t.s, 1).Key, 1) << "equal counts keep the deciding seat";
  t.Played("6-6 6-5 5-5 5-4");  // the partner and seat 4 hold fewer tiles now
  const auto roles = [&](int level) {
    t.Level(1, level);
    const SeatRoles r = PairRoles(t.s, 1);
    return std::make_tuple(r.Key, r.Second, r.FirstOpponent, r.SecondOpponent);
  };
  EXPECT_EQ(roles(20), std::make_tuple(3, 1, 2, 4));
  EXPECT_EQ(roles(21), std::make_tuple(3, 1, 4, 2));
  t.Reverse();  // seat 4 is next anyway: nothing to swap
  EXPECT_EQ(roles(21), std::make_tuple(3, 1, 4, 2));
}

TEST(SeatRoles, IndividualRankingFewestTilesFirstThenTurnOrder) {
  TableBuilder t;
  t.Give(3, "6-6 6-5 6-4 6-3").Give(4, "5-5 5-4 5-3 5-2").Give(2, "4-4 4-3").Deal();
  t.Played("6-6 6-5 6-4 6-3 5-5 5-4 5-3 5-2 4-4 4-3");  // seats 2, 3, 4 hold 5, 3, 3
  EXPECT_EQ(RankOthers(t.s, 1), (std::array<int, 3>{3, 4, 2}));
  t.Reverse();  // seat 4 now plays right after seat 1
  EXPECT_EQ(RankOthers(t.s, 1), (std::array<int, 3>{4, 3, 2}));
}

}  // namespace
}  // namespace tarvelis
