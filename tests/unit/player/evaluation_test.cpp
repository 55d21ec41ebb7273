// Seat roles, the individual ranking, the marks terms and the block margin.
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

TEST(Evaluation, BlockMarginRoundsToTheNearestPip) {
  // 22 at level 0 down to 2 at 100, rounded: 21.4, 21.6, 2.6 and 2.4.
  for (auto [level, margin] : {std::pair{0, 22}, {3, 21}, {2, 22}, {97, 3}, {98, 2}, {100, 2}}) {
    EXPECT_EQ(BlockMargin(level), margin) << level;
  }
}

// Marks with one digit per seat so each seat's weight shows in the sum.
TableBuilder WithMarks() {
  TableBuilder t;
  t.Give(1, "4-5 4-4").Deal().Ends(4, 4);
  for (int seat = 1; seat <= kSeats; ++seat) {
    const int digit = seat == 1 ? 1 : seat == 3 ? 10 : seat == 2 ? 100 : 1000;
    t.Mark(seat, 4, digit).Mark(seat, 5, 2 * digit);
  }
  return t;
}

TEST(Evaluation, PairMarksWeighTheKeySeatSecondSeatAndOpponents) {
  const TableBuilder t = WithMarks();
  const Position p = ReadPosition(t.s, 1);
  const Breakdown b = EvaluateCandidate(p, {4, 5});
  EXPECT_EQ(b.Columns[kColMarksCovered], -6 * 1 - 2 * 10 + 2 * 100 + 1000);
  EXPECT_EQ(b.Columns[kColMarksOpened], 2 * (6 * 1 + 2 * 10 - 2 * 100 - 1000));
  // A double covers nothing new: only the opened side counts.
  const Breakdown d = EvaluateCandidate(p, {4, 4});
  EXPECT_EQ(d.Columns[kColMarksCovered], 0);
  EXPECT_EQ(d.Columns[kColMarksOpened], 6 * 1 + 2 * 10 - 2 * 100 - 1000);
}

TEST(Evaluation, IndividualMarksWeighTheSeatItselfAndTheRankedOthers) {
  TableBuilder t = WithMarks();
  t.Individual().Played("6-6");  // whoever holds 6-6 is ranked first
  const int first = DuenoFicha(t.s, 6, 6).Seat;
  ASSERT_NE(first, 1);
  const Position p = ReadPosition(t.s, 1);
  EXPECT_EQ(p.Roles.Ranked[0], first);
  auto digit = [](int seat) { return seat == 1 ? 1 : seat == 3 ? 10 : seat == 2 ? 100 : 1000; };
  const int r1 = digit(p.Roles.Ranked[0]), r2 = digit(p.Roles.Ranked[1]),
            r3 = digit(p.Roles.Ranked[2]);
  const Breakdown b = EvaluateCandidate(p, {4, 5});
  EXPECT_EQ(b.Columns[kColMarksCovered], -6 + 3 * r1 + 2 * r2 + r3);
  EXPECT_EQ(b.Columns[kColMarksOpened], 2 * (6 - 3 * r1 - 2 * r2 - r3));
}

}  // namespace
}  // namespace tarvelis
