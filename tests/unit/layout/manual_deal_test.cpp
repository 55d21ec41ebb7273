#include "layout/manual_deal.h"

#include <gtest/gtest.h>

#include <set>

namespace tarvelis {
namespace {

// Picks the first tile still in the area.
bool PickAny(ManualDeal& deal) {
  for (int r = 0; r < kDealRows; ++r) {
    for (int c = 0; c < kDealCols; ++c) {
      if (deal.PickFromCell(r, c)) return true;
    }
  }
  return false;
}

// A deal laid from `seed`, and hands with nothing dealt yet.
struct Dealing {
  ManualDeal deal;
  GameState s;
  explicit Dealing(std::uint32_t seed) {
    Random rng(seed);
    deal.Lay(rng);
    for (int seat = 1; seat <= kSeats; ++seat) {
      s.SeatTileCount[seat] = 0;
      for (int slot = 1; slot <= kSlots; ++slot) s.Hand[seat][slot] = HandSlot{kNoPip, kNoPip, 0};
    }
  }
  // Picks the first tile still in the area and gives it to `seat`.
  bool Give(int seat) { return PickAny(deal) && deal.GiveTo(s, seat); }
};

TEST(ManualDeal, DealingEveryTileOnceFillsTheHandsInOrder) {
  Dealing d(5);
  std::set<std::pair<int, int>> tiles;
  for (int r = 0; r < kDealRows; ++r) {
    for (int c = 0; c < kDealCols; ++c) {
      if (d.deal.CellHoldsTile(r, c))
        tiles.insert({d.deal.Cell(r, c).PipA, d.deal.Cell(r, c).PipB});
    }
  }
  EXPECT_EQ(tiles.size(), 28u);
  EXPECT_EQ(d.deal.TilesInArea(), 28);
  for (int i = 0; i < 28; ++i) {
    ASSERT_TRUE(PickAny(d.deal));
    EXPECT_FALSE(PickAny(d.deal)) << "one tile at a time";
    const int seat = i % 4 + 1;
    ASSERT_TRUE(d.deal.GiveTo(d.s, seat));
    EXPECT_EQ(d.s.Hand[seat][d.s.SeatTileCount[seat]].State, 0);
  }
  EXPECT_TRUE(ManualDeal::Complete(d.s));
  EXPECT_EQ(d.deal.TilesInArea(), 0);
}

TEST(ManualDeal, AFullHandRefusesAndTheTileStaysCarried) {
  Dealing d(5);
  for (int i = 0; i < 7; ++i) ASSERT_TRUE(d.Give(2));
  EXPECT_FALSE(d.Give(2));
  EXPECT_TRUE(d.deal.Carrying());
  EXPECT_TRUE(d.deal.GiveTo(d.s, 3));
}

TEST(ManualDeal, AGivenTileComesBackAndGoesWhereItIsPut) {
  Dealing d(9);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(d.Give(1));
  const HandSlot third = d.s.Hand[1][3];
  const HandSlot first = d.s.Hand[1][1];
  ASSERT_TRUE(d.deal.PickFromHand(d.s, 1, 1));
  EXPECT_EQ(d.deal.Carried().PipA, first.PipA);
  EXPECT_EQ(d.s.SeatTileCount[1], 2);
  EXPECT_EQ(d.s.Hand[1][2].PipA, third.PipA);  // the later tiles moved up
  EXPECT_EQ(d.s.Hand[1][3].PipA, kNoPip);
  EXPECT_FALSE(d.deal.PickFromHand(d.s, 1, 3));  // an empty slot holds nothing
  // Back into the area, in the free cell pointed at.
  int row = 0, col = 0;
  while (d.deal.CellHoldsTile(row, col)) {
    if (++col == kDealCols) col = 0, ++row;
  }
  ASSERT_TRUE(d.deal.PutBack(row, col));
  EXPECT_EQ(d.deal.Cell(row, col).PipA, first.PipA);
  EXPECT_EQ(d.deal.TilesInArea(), 26);
  EXPECT_FALSE(d.deal.PutBack(0, 0)) << "nothing carried";
}

}  // namespace
}  // namespace tarvelis
