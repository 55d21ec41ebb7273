#include "layout/hand_layout.h"

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
// in the seat's hand area, or a click would land on the wrong tile. The
// thinking hand covers the tile; the tutor's marker stands outside the hand.
TEST(HandLayout, DrawnTilesAndHitTestAgree) {
  for (auto [w, h] : {std::pair{640, 480}, {800, 600}, {1920, 1080}}) {
    GameState s = Dealt(w, h);
    for (int seat = 1; seat <= kSeats; ++seat) {
      const Rect area = HandArea(s.Table, seat);
      for (int slot = 1; slot <= kSlots; ++slot) {
        s.SeatTilesShown[seat] = kTilesVisible;
        const HandTileLook up = LookOfHandTile(s, seat, slot);
        ASSERT_EQ(up.Show, TileShow::FaceUp);
        EXPECT_TRUE(Within(up.Face, area)) << seat << "/" << slot;
        const HandHit hit = HitTestHand(s.Table, Centre(up.Face), true);
        EXPECT_EQ(hit.HitSeat, seat);
        EXPECT_EQ(hit.HitSlot, slot);
        s.SeatTilesShown[seat] = kTilesHidden;
        const HandTileLook down = LookOfHandTile(s, seat, slot);
        ASSERT_EQ(down.Show, TileShow::FaceDown);
        EXPECT_TRUE(Within(down.Back, area)) << seat << "/" << slot;
        EXPECT_EQ(down.BackMaskSrc.x, down.BackSrc.x + 81);
        const Point thinking = ThinkingHandPoint(s.Table, seat, slot);
        EXPECT_TRUE(
            Within(Rect{thinking.x, thinking.y, kThinkingHandSize, kThinkingHandSize}, area));
        EXPECT_FALSE(area.Contains(TutorMarkerPoint(s.Table, seat, slot)));
      }
    }
  }
}

// A click in the gap between two tiles plays nothing; the loose test (used to
// drop a dragged tile) still finds a slot there, never a slot 0.
TEST(HandHitTest, GapsBetweenTilesHitNoSlotOnlyWhenStrict) {
  const TableGeometry g = ComputeTableGeometry(800, 600);
  // Seat and slot as one number: 41 is seat 4, slot 1; 40 its gap.
  auto hit = [&](int x, int y, bool strict) {
    const HandHit h = HitTestHand(g, Point{x, y}, strict);
    return h.HitSeat * 10 + h.HitSlot;
  };
  struct Probe {
    int x, y;
    bool strict;
    int hit;
  };
  // clang-format off
  const Probe probes[] = {
      {20, g.T1 + 38, true, 10}, {20, g.T1 + 38, false, 11},  // seat 1: tile 1 runs 8..29 below T1
      {20, g.T1 + 47, true, 12},                             // tile 2 from 47
      {g.L2 + 30, 10, true, 20}, {g.L2 + 29, 10, true, 21},
      {790, g.T1 + 8 + 39 * 6, true, 37}, {790, g.T1 + 7, false, 0},
      {g.L4 + 2, 560, true, 40}, {g.L4 + 2, 560, false, 41},  // the bottom hand starts 4 px before its first tile
      {g.L4 + 40, 560, true, 41}, {g.L4 + 41, 560, true, 40}, {g.L4 + 48, 560, true, 42},
      {g.L4 + 309, 560, false, 47}, {g.L4 + 310, 560, false, 0}, {g.L4 + 100, 600 - 78, false, 0},
  };
  // clang-format on
  for (const Probe& p : probes) EXPECT_EQ(hit(p.x, p.y, p.strict), p.hit) << p.x << "," << p.y;
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
  EXPECT_EQ(HallaFilyCol(g, Point{273 + 20, 109}).Col, 9);  // the gaps between cells
  EXPECT_EQ(HallaFilyCol(g, Point{273, 109 + 42}).Row, 9);
  EXPECT_EQ(HallaFilyCol(g, Point{272, 200}).Col, 9);  // outside the area
  // The area clears the top and bottom hands even on the smallest table.
  const TableGeometry n = ComputeTableGeometry(640, 480);
  EXPECT_GE(DealingArea(n).y, 43);
  EXPECT_LE(DealingArea(n).y + 342, 480 - 77);
}

// A laid tile in a written name's place ends the name's room before it (after
// it for seat 3, whose name keeps to the edge); a tile elsewhere changes nothing.
TEST(NameAreaClearOf, EndsAtATileInThePlace) {
  const TableGeometry g = ComputeTableGeometry(640, 480);
  for (int seat = 1; seat <= kSeats; ++seat) {
    const Rect whole = WholeNameArea(g, seat);
    const Rect tile{whole.x + 20, whole.y - 30, 40, 36};
    EXPECT_EQ(NameAreaClearOf(g, seat, {Rect{whole.x, whole.y + 40, 40, 20}}), whole);
    const Rect clear = NameAreaClearOf(g, seat, {tile});
    EXPECT_EQ(seat == 3 ? clear.x : clear.x + clear.w, seat == 3 ? tile.x + 42 : tile.x - 2);
    EXPECT_EQ(seat == 3 ? clear.x + clear.w : clear.x, seat == 3 ? whole.x + whole.w : whole.x);
  }
}

}  // namespace
}  // namespace tarvelis
