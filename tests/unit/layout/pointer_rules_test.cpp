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

}  // namespace
}  // namespace tarvelis
