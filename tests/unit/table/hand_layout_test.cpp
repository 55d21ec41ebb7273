#include "table/hand_layout.h"

#include <gtest/gtest.h>

namespace tarvelis {
namespace {

Point Centre(const Rect& r) {
  return Point{r.x + r.w / 2, r.y + r.h / 2};
}

bool Within(const Rect& inner, const Rect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
         inner.y + inner.h <= outer.y + outer.h;
}

GameState Dealt(int w, int h) {
  GameState s;
  s.Table = ComputeTableGeometry(w, h);
  for (int seat = 1; seat <= kSeats; ++seat) {
    for (int slot = 1; slot <= kSlots; ++slot) {
      s.Hand[seat][slot] = HandSlot{static_cast<i16>(slot - 1), 1, 0};
    }
    s.SeatTilesShown[seat] = kTilesVisible;
  }
  return s;
}

// What is drawn in a slot must be what the hit test finds there, and must lie
// in the seat's hand area, or a click would land on the wrong tile.
TEST(HandLayout, DrawnTilesAndHitTestAgree) {
  for (auto [w, h] : {std::pair{640, 480}, {800, 600}, {1920, 1080}}) {
    GameState s = Dealt(w, h);
    for (int seat = 1; seat <= kSeats; ++seat) {
      const Rect area = HandArea(s.Table, seat);
      for (int slot = 1; slot <= kSlots; ++slot) {
        s.SeatTilesShown[seat] = kTilesVisible;
        const HandTileLook up = LookOfHandTile(s, seat, slot, 0);
        ASSERT_EQ(up.Show, TileShow::FaceUp);
        EXPECT_TRUE(Within(up.Face, area)) << seat << "/" << slot;
        const HandHit hit = HitTestHand(s.Table, Centre(up.Face), true);
        EXPECT_EQ(hit.HitSeat, seat);
        EXPECT_EQ(hit.HitSlot, slot);
        s.SeatTilesShown[seat] = kTilesHidden;
        const HandTileLook down = LookOfHandTile(s, seat, slot, 0);
        ASSERT_EQ(down.Show, TileShow::FaceDown);
        EXPECT_TRUE(Within(down.Back, area)) << seat << "/" << slot;
        EXPECT_EQ(down.BackMaskSrc.x, down.BackSrc.x + 81);
      }
    }
  }
}

TEST(HandLayout, NarrowTableSideHandsSitInFixedRows) {
  for (int h : {480, 1024}) {
    const TableGeometry g = ComputeTableGeometry(700, h);
    EXPECT_EQ(HandArea(g, 1), (Rect{0, 125, 42, 273}));
    EXPECT_EQ(HandArea(g, 3), (Rect{700 - 42, 125, 42, 273}));
  }
  const TableGeometry g = ComputeTableGeometry(800, 600);
  EXPECT_EQ(HandArea(g, 1).y, 164);
  EXPECT_EQ(HandArea(g, 4), (Rect{246, 523, 309, 77}));
}

TEST(HandHitTest, GapsBetweenTilesHitNoSlotOnlyWhenStrict) {
  const TableGeometry g = ComputeTableGeometry(800, 600);
  // Seat 1: tile 1 runs 8..29 below T1, tile 2 from 47.
  const Point gap{20, g.T1 + 38};
  EXPECT_EQ(HitTestHand(g, gap, true).HitSeat, 1);
  EXPECT_EQ(HitTestHand(g, gap, true).HitSlot, 0);
  EXPECT_EQ(HitTestHand(g, gap, false).HitSlot, 1);
  EXPECT_EQ(HitTestHand(g, Point{20, g.T1 + 47}, true).HitSlot, 2);
  // Seat 2 likewise along x.
  EXPECT_EQ(HitTestHand(g, Point{g.L2 + 30, 10}, true).HitSlot, 0);
  EXPECT_EQ(HitTestHand(g, Point{g.L2 + 29, 10}, true).HitSlot, 1);
  // Seat 3.
  EXPECT_EQ(HitTestHand(g, Point{790, g.T1 + 8 + 39 * 6}, true).HitSlot, 7);
  EXPECT_EQ(HitTestHand(g, Point{790, g.T1 + 7}, false).HitSeat, 0);
}

// The bottom hand starts 4 px before its first tile: the loose test (used to
// drop a dragged tile) still finds slot 1 there, never a slot 0.
TEST(HandHitTest, BottomHandEdges) {
  const TableGeometry g = ComputeTableGeometry(800, 600);
  const int y = 600 - 40;
  EXPECT_EQ(HitTestHand(g, Point{g.L4 + 2, y}, true).HitSlot, 0);
  EXPECT_EQ(HitTestHand(g, Point{g.L4 + 2, y}, false).HitSlot, 1);
  EXPECT_EQ(HitTestHand(g, Point{g.L4 + 4, y}, true).HitSlot, 1);
  EXPECT_EQ(HitTestHand(g, Point{g.L4 + 40, y}, true).HitSlot, 1);
  EXPECT_EQ(HitTestHand(g, Point{g.L4 + 41, y}, true).HitSlot, 0);
  EXPECT_EQ(HitTestHand(g, Point{g.L4 + 48, y}, true).HitSlot, 2);
  EXPECT_EQ(HitTestHand(g, Point{g.L4 + 309, y}, false).HitSlot, 7);
  EXPECT_EQ(HitTestHand(g, Point{g.L4 + 310, y}, false).HitSeat, 0);
  EXPECT_EQ(HitTestHand(g, Point{g.L4 + 100, 600 - 78}, false).HitSeat, 0);
}

TEST(HandTileLook, FollowsVisibilityAndThePlayedTilesRule) {
  GameState s = Dealt(800, 600);
  s.Hand[4][3].State = 1;
  s.RulePlayedTilesShown = kPlayedVanish;
  EXPECT_EQ(LookOfHandTile(s, 4, 3, 0).Show, TileShow::None);
  s.RulePlayedTilesShown = kPlayedInverted;
  HandTileLook t = LookOfHandTile(s, 4, 3, 0);
  EXPECT_EQ(t.Show, TileShow::FaceUp);
  EXPECT_TRUE(t.Inverted);
  EXPECT_EQ(t.Invert, (Rect{246 + 88 + 4, 523, 36, 77}));  // the tile, not the 44-px cell
  EXPECT_FALSE(LookOfHandTile(s, 4, 2, 0).Inverted);

  s.SeatTilesShown[4] = kTilesHidden;
  EXPECT_EQ(LookOfHandTile(s, 4, 3, 0).Show, TileShow::None);
  EXPECT_EQ(LookOfHandTile(s, 4, 2, 0).Show, TileShow::FaceDown);
  // During the manual deal every tile shows, played ones inverted whatever the rule.
  s.AllTilesFaceUp = true;
  s.RulePlayedTilesShown = kPlayedVanish;
  t = LookOfHandTile(s, 4, 3, 0);
  EXPECT_EQ(t.Show, TileShow::FaceUp);
  EXPECT_TRUE(t.Inverted);
  s.Hand[4][5].PipA = kNoPip;  // not dealt yet
  EXPECT_EQ(LookOfHandTile(s, 4, 5, 0).Show, TileShow::None);
}

TEST(HandTileLook, DraggedSlotIsLeftEmptyOnlyInItsOwnHand) {
  GameState s = Dealt(800, 600);
  s.DragActive = true;
  s.DragSlot = 2;
  EXPECT_EQ(LookOfHandTile(s, 4, 2, 4).Show, TileShow::None);
  EXPECT_EQ(LookOfHandTile(s, 3, 2, 4).Show, TileShow::FaceUp);
  EXPECT_EQ(LookOfHandTile(s, 4, 3, 4).Show, TileShow::FaceUp);
}

// The thinking hand covers the tile; the tutor's marker stands beside it,
// outside the hand.
TEST(HandLayout, ThinkingHandOverTheTileMarkerBesideIt) {
  const TableGeometry g = ComputeTableGeometry(800, 600);
  for (int seat = 1; seat <= kSeats; ++seat) {
    for (int slot = 1; slot <= kSlots; ++slot) {
      const Point hand = ThinkingHandPoint(g, seat, slot);
      const Rect handImage{hand.x, hand.y, kThinkingHandSize, kThinkingHandSize};
      EXPECT_TRUE(Within(handImage, HandArea(g, seat))) << seat << "/" << slot;
      EXPECT_FALSE(HandArea(g, seat).Contains(TutorMarkerPoint(g, seat, slot)));
    }
  }
  EXPECT_EQ(ThinkingHandImage(3), (Point{64, 0}));
  EXPECT_EQ(ThinkingHandMask(3), (Point{64, 32}));
}

TEST(DealingArea, CellsAndGaps) {
  const TableGeometry g = ComputeTableGeometry(800, 600);
  EXPECT_EQ(DealingArea(g), (Rect{273, 109, 254, 342}));
  for (int row = 0; row < 7; ++row) {
    for (int col = 0; col < 7; ++col) {
      const Rect c = DealingCell(g, row, col);
      EXPECT_TRUE(Within(c, DealingArea(g)));
      const DealCell found = HallaFilyCol(g, Centre(c));
      EXPECT_EQ(found.Row, row);
      EXPECT_EQ(found.Col, col);
    }
  }
  EXPECT_EQ(HallaFilyCol(g, Point{273 + 19, 109 + 41}).Col, 0);
  EXPECT_EQ(HallaFilyCol(g, Point{273 + 19, 109 + 41}).Row, 0);
  EXPECT_EQ(HallaFilyCol(g, Point{273 + 20, 109}).Col, 9);
  EXPECT_EQ(HallaFilyCol(g, Point{273, 109 + 42}).Row, 9);
  EXPECT_EQ(HallaFilyCol(g, Point{272, 200}).Col, 9);  // outside the area
  EXPECT_EQ(HallaFilyCol(g, Point{400, 109 + 342}).Row, 9);
  // The area clears the top and bottom hands even on the smallest table.
  const TableGeometry n = ComputeTableGeometry(640, 480);
  EXPECT_GE(DealingArea(n).y, 43);
  EXPECT_LE(DealingArea(n).y + 342, 480 - 77);
}

TEST(SeatNames, SpacedLettersStayInTheirStrips) {
  for (auto [w, h] : {std::pair{640, 480}, {800, 600}}) {
    const TableGeometry g = ComputeTableGeometry(w, h);
    for (int seat = 1; seat <= kSeats; ++seat) {
      const Rect strip = SpacedNameStrip(g, seat);
      EXPECT_TRUE(Within(strip, Rect{0, 0, w, h}));
      for (int letter = 1; letter <= kSpacedLetters; ++letter) {
        EXPECT_TRUE(strip.Contains(SpacedLetterPoint(g, seat, letter))) << seat << "/" << letter;
      }
      EXPECT_TRUE(Within(WholeNameArea(g, seat), Rect{0, 0, w, h}));
    }
    EXPECT_EQ(WholeNamePoint(g, 3), (Point{w - 47, g.T1 - 14}));
  }
}

}  // namespace
}  // namespace tarvelis
