#include "table/manual_deal.h"

#include <gtest/gtest.h>

#include <set>

namespace tarvelis {
namespace {

GameState EmptyHands() {
  GameState s;
  for (int seat = 1; seat <= kSeats; ++seat) {
    s.SeatTileCount[seat] = 0;
    for (int slot = 1; slot <= kSlots; ++slot) s.Hand[seat][slot] = HandSlot{kNoPip, kNoPip, 0};
  }
  return s;
}

// Picks the first tile still in the area.
bool PickAny(ManualDeal& deal) {
  for (int r = 0; r < kDealRows; ++r) {
    for (int c = 0; c < kDealCols; ++c) {
      if (deal.PickFromCell(r, c)) return true;
    }
  }
  return false;
}

TEST(ManualDeal, LaysTheWholeSetOnceEach) {
  Random rng(3);
  ManualDeal deal;
  deal.Lay(rng);
  std::set<std::pair<int, int>> tiles;
  for (int r = 0; r < kDealRows; ++r) {
    for (int c = 0; c < kDealCols; ++c) {
      if (deal.CellHoldsTile(r, c)) tiles.insert({deal.Cell(r, c).PipA, deal.Cell(r, c).PipB});
    }
  }
  EXPECT_EQ(tiles.size(), 28u);
  EXPECT_EQ(deal.TilesInArea(), 28);
}

TEST(ManualDeal, DealingEveryTileFillsTheHandsInOrder) {
  Random rng(5);
  ManualDeal deal;
  deal.Lay(rng);
  GameState s = EmptyHands();
  for (int i = 0; i < 28; ++i) {
    ASSERT_TRUE(PickAny(deal));
    EXPECT_FALSE(PickAny(deal)) << "one tile at a time";
    const int seat = i % 4 + 1;
    ASSERT_TRUE(deal.GiveTo(s, seat));
    EXPECT_EQ(s.Hand[seat][s.SeatTileCount[seat]].State, 0);
  }
  EXPECT_TRUE(ManualDeal::Complete(s));
  EXPECT_EQ(deal.TilesInArea(), 0);
}

TEST(ManualDeal, AFullHandRefusesAndTheTileStaysCarried) {
  Random rng(5);
  ManualDeal deal;
  deal.Lay(rng);
  GameState s = EmptyHands();
  for (int i = 0; i < 7; ++i) {
    ASSERT_TRUE(PickAny(deal));
    ASSERT_TRUE(deal.GiveTo(s, 2));
  }
  ASSERT_TRUE(PickAny(deal));
  EXPECT_FALSE(deal.GiveTo(s, 2));
  EXPECT_TRUE(deal.Carrying());
  EXPECT_TRUE(deal.GiveTo(s, 3));
}

TEST(ManualDeal, AGivenTileComesBackAndTheHandCloses) {
  Random rng(9);
  ManualDeal deal;
  deal.Lay(rng);
  GameState s = EmptyHands();
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(PickAny(deal));
    ASSERT_TRUE(deal.GiveTo(s, 1));
  }
  const HandSlot third = s.Hand[1][3];
  const HandSlot first = s.Hand[1][1];
  ASSERT_TRUE(deal.PickFromHand(s, 1, 1));
  EXPECT_EQ(deal.Carried().PipA, first.PipA);
  EXPECT_EQ(s.SeatTileCount[1], 2);
  EXPECT_EQ(s.Hand[1][2].PipA, third.PipA);  // the later tiles moved up
  EXPECT_EQ(s.Hand[1][3].PipA, kNoPip);
  EXPECT_FALSE(deal.PickFromHand(s, 1, 3));  // an empty slot holds nothing
  // Back into the area: its own cell is free again.
  EXPECT_TRUE(deal.PutBack(9, 9));
  EXPECT_EQ(deal.TilesInArea(), 26);
}

TEST(ManualDeal, PutBackPrefersTheCellPointedAt) {
  Random rng(1);
  ManualDeal deal;
  deal.Lay(rng);
  int freeRow = -1, freeCol = -1;
  for (int r = 0; r < kDealRows && freeRow < 0; ++r) {
    for (int c = 0; c < kDealCols; ++c) {
      if (!deal.CellHoldsTile(r, c)) {
        freeRow = r;
        freeCol = c;
        break;
      }
    }
  }
  ASSERT_TRUE(PickAny(deal));
  const DealTile carried = deal.Carried();
  ASSERT_TRUE(deal.PutBack(freeRow, freeCol));
  EXPECT_EQ(deal.Cell(freeRow, freeCol).PipA, carried.PipA);
  EXPECT_FALSE(deal.PutBack(0, 0));  // nothing carried
}

}  // namespace
}  // namespace tarvelis
