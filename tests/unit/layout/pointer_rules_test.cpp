#include "layout/pointer_rules.h"

#include <gtest/gtest.h>

namespace tarvelis {
namespace {

// Seat 4 (manual) to move in a running hand, ends 3 and 5.
class PointerTest : public ::testing::Test {
 protected:
  GameState s;
  TableModes modes;
  PointerFlags flags;

  void SetUp() override {
    s.Table = ComputeTableGeometry(800, 600);
    for (int seat = 1; seat <= kSeats; ++seat) {
      s.SeatControl[seat] = kAutomatic;
      s.SeatTilesShown[seat] = kTilesHidden;
      for (int slot = 1; slot <= kSlots; ++slot) s.Hand[seat][slot] = HandSlot{6, 6, 0};
    }
    s.SeatControl[4] = kManual;
    s.SeatTilesShown[4] = kTilesVisible;
    s.Hand[4][1] = HandSlot{3, 1, 0};  // fits end 1
    s.Hand[4][2] = HandSlot{6, 2, 0};  // fits nothing
    s.Hand[4][3] = HandSlot{5, 0, 1};  // played
    s.MatchInProgress = s.HandInProgress = true;
    s.CurrentSeat = 4;
    s.MoveNumber = 5;
    s.EndPips = {0, 3, 5};
  }

  // The middle of a bottom-hand slot's tile.
  Point Bottom(int slot) const {
    return Point{s.Table.L4 + 44 * (slot - 1) + 20, s.Table.ScreenHeightPx - 40};
  }
  Point Left(int slot) const { return Point{20, s.Table.T1 + 39 * (slot - 1) + 18}; }

  CursorKind At(Point p) const { return ChoosePointer(s, modes, p, flags); }
};

TEST_F(PointerTest, GreenOverPlayableRedOverHeldUnplayable) {
  EXPECT_EQ(At(Bottom(1)), kCursorManoVerde);
  EXPECT_EQ(At(Bottom(2)), kCursorManoRoja);
  EXPECT_EQ(At(Point{400, 300}), kCursorNormal);
  EXPECT_EQ(At(Left(1)), kCursorNormal);  // another seat's tile
  // Between two tiles nothing would happen on a click, so no hand either.
  EXPECT_EQ(At(Point{s.Table.L4 + 42, s.Table.ScreenHeightPx - 40}), kCursorNormal);
  for (i16 rule : {kPlayedInverted, kPlayedVanish}) {
    s.RulePlayedTilesShown = rule;
    EXPECT_EQ(At(Bottom(3)), kCursorNormal) << "a played tile, never the red hand";
  }
}

TEST_F(PointerTest, NoPlayPointerWhileSomethingElseOwnsTheMouse) {
  flags.ArrowsShowing = true;
  EXPECT_EQ(At(Bottom(1)), kCursorNormal);
  flags.ArrowsShowing = false;
  s.RecorderBusy = true;
  EXPECT_EQ(At(Bottom(1)), kCursorNormal);
  s.RecorderBusy = false;
  s.CurrentSeat = 3;
  EXPECT_EQ(At(Bottom(1)), kCursorNormal);
  s.CurrentSeat = 4;
  s.SeatControl[4] = kAutomatic;
  EXPECT_EQ(At(Bottom(1)), kCursorNormal);
}

TEST_F(PointerTest, ArrangingVisibleHands) {
  modes.OrderMode = true;
  EXPECT_EQ(At(Bottom(2)), kCursorOrdenar);
  EXPECT_EQ(At(Left(1)), kCursorNormal);  // seat 1's tiles are hidden
  s.SeatTilesShown[1] = kTilesVisible;
  EXPECT_EQ(At(Left(1)), kCursorOrdenar);  // any visible hand, whoever moves
  s.RulePlayedTilesShown = kPlayedInverted;
  EXPECT_EQ(At(Bottom(3)), kCursorNormal);  // an inverted played tile stays put
  s.RulePlayedTilesShown = kPlayedVanish;
  EXPECT_EQ(At(Bottom(3)), kCursorOrdenar);  // its empty slot can take a tile
  modes.DragActive = true;
  EXPECT_EQ(At(Point{400, 300}), kCursorManoCerrada);
  modes.DragActive = false;
  modes.OrderMode = false;
  modes.TurnMode = true;
  EXPECT_EQ(At(Bottom(1)), kCursorGirar);
  EXPECT_EQ(At(Point{s.Table.L4 + 42, s.Table.ScreenHeightPx - 40}), kCursorNormal);
}

TEST_F(PointerTest, ChoosingTheLeaderPointsAtAnyHand) {
  s.HandInProgress = false;
  modes.ChoosingLeader = true;
  EXPECT_EQ(At(Left(3)), kCursorManoIndice);
  EXPECT_EQ(At(Point{20, s.Table.T1 + 35}), kCursorManoIndice);  // gaps count
  EXPECT_EQ(At(Point{400, 300}), kCursorNormal);
  modes.ChoosingLeader = false;
  EXPECT_EQ(At(Left(3)), kCursorNormal);
}

TEST_F(PointerTest, ManualDeal) {
  s.HandInProgress = false;
  modes.AllTilesFaceUp = true;
  s.Hand[1][4].PipA = kNoPip;  // not dealt yet
  EXPECT_EQ(At(Left(3)), kCursorManoVerde);
  EXPECT_EQ(At(Left(4)), kCursorNormal);
  const Rect cell = DealingCell(s.Table, 2, 3);
  const Point onCell{cell.x + 5, cell.y + 5};
  EXPECT_EQ(At(onCell), kCursorNormal);  // the window knows no tiles yet
  flags.DealCellHoldsTile = [](int row, int col) { return row == 2 && col == 3; };
  EXPECT_EQ(At(onCell), kCursorOrdenar);
  EXPECT_EQ(At(Point{cell.x + 25, cell.y + 5}), kCursorNormal);  // the gap after it
  flags.CarryingTile = true;
  EXPECT_EQ(At(Point{400, 300}), kCursorManoCerrada);
}

}  // namespace
}  // namespace tarvelis

namespace tarvelis {
namespace {

// Over a picture button the pointing hand shows in every situation, except
// while a tile is carried: the closed hand goes wherever the tile goes.
TEST_F(PointerTest, PointingHandOverButtonsUnlessATileIsCarried) {
  flags.OverControl = true;
  struct Case {
    const char* what;
    bool order, turn, leader, drag, carrying;
    CursorKind want;
  };
  const Case cases[] = {
      {"normal play", false, false, false, false, false, kCursorManoIndice},
      {"ordering the hand", true, false, false, false, false, kCursorManoIndice},
      {"turning tiles", false, true, false, false, false, kCursorManoIndice},
      {"choosing the leader", false, false, true, false, false, kCursorManoIndice},
      {"dragging a tile", true, false, false, true, false, kCursorManoCerrada},
      {"carrying a dealt tile", false, false, false, false, true, kCursorManoCerrada},
  };
  for (const Case& c : cases) {
    modes.OrderMode = c.order;
    modes.TurnMode = c.turn;
    modes.ChoosingLeader = c.leader;
    modes.DragActive = c.drag;
    modes.AllTilesFaceUp = c.carrying;
    flags.CarryingTile = c.carrying;
    EXPECT_EQ(At(Point{400, 300}), c.want) << c.what;
  }
}

}  // namespace
}  // namespace tarvelis
