#include "layout/hand_layout.h"

#include <algorithm>

#include "layout/artwork_layout.h"
#include "layout/button_bar.h"

namespace tarvelis {
namespace {

constexpr int kSidePitch = 39;    // slots of seats 1..3
constexpr int kBottomPitch = 44;  // slots of seat 4
constexpr int kSideDepth = 42;    // width of the side hands, height of the top hand

// Integer division rounding towards minus infinity, so points just before the
// first tile fall before slot 1 rather than into it.
int FloorDiv(int a, int b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// Along-the-hand offset of slot i's tile (i = slot - 1) for each seat.
int SideY(const TableGeometry& g, int i) {
  return g.T1 + kSidePitch * i;
}
int TopX(const TableGeometry& g, int i) {
  return g.L2 + kSidePitch * i;
}
int BottomX(const TableGeometry& g, int i) {
  return g.L4 + kBottomPitch * i;
}

// The face-up look of each seat; the pips follow the face's own point.
void FaceOfSideSeat(HandTileLook& t, Point at, Point src, const HandSlot& h, int dxA, int dxB,
                    int dyB, int row) {
  t.Face = Rect{at.x, at.y, row == 0 ? 42 : 20, row == 0 ? 21 : 42};
  t.FaceStrip = Strip::Puntitos;
  t.FaceSrc = src;
  t.PipA = SmallPipCell(h.PipA, Point{at.x + dxA, at.y}, row);
  t.PipB = SmallPipCell(h.PipB, Point{at.x + dxB, at.y + dyB}, row);
  t.Invert = t.Face;
}

void FaceUp(HandTileLook& t, const TableGeometry& g, int seat, int i, const HandSlot& h) {
  switch (seat) {
    case 1:
      FaceOfSideSeat(t, Point{0, SideY(g, i) + 8}, Point{97, 22}, h, 0, 21, 0, 0);
      break;
    case 2:
      FaceOfSideSeat(t, Point{TopX(g, i) + 8, 0}, Point{140, 0}, h, 0, 0, 21, 1);
      break;
    case 3:
      FaceOfSideSeat(t, Point{g.ScreenWidthPx - kSideDepth, SideY(g, i) + 8}, Point{97, 0}, h, 1,
                     22, 0, 0);
      break;
    default: {
      const Point at{BottomX(g, i), g.ScreenHeightPx - 77};
      t.Face = Rect{at.x, at.y, 44, 77};
      t.FaceStrip = Strip::Dibujos;
      t.FaceSrc = Point{kBottomPitch * i, 0};
      t.FaceMasked = true;
      t.FaceMaskSrc = Point{kBottomPitch * i, 80};
      t.PipA = TablePipCell(h.PipA, Point{at.x + 4, at.y + 4}, 1);
      t.PipB = TablePipCell(h.PipB, Point{at.x + 4, at.y + 41}, 1);
      // The tile, not the whole face cell: the picture leaves a margin on its left.
      t.Invert = Rect{at.x + art::kSeatFaceTile.x, at.y, art::kSeatFaceTile.w, 77};
      break;
    }
  }
}

void FaceDown(HandTileLook& t, const TableGeometry& g, int seat, int i) {
  switch (seat) {
    case 1:
      t.Back = Rect{0, SideY(g, i), 42, 38};
      break;
    case 2:
      t.Back = Rect{TopX(g, i), 0, 36, 42};
      break;
    case 3:
      t.Back = Rect{g.ScreenWidthPx - kSideDepth, SideY(g, i), 42, 38};
      break;
    default:
      t.Back = Rect{BottomX(g, i), g.ScreenHeightPx - 77, 36, 77};
      break;
  }
  t.BackSrc = Point{art::kBack[seat].x, art::kBack[seat].y};
  t.BackMaskSrc = Point{art::kBackMask[seat].x, art::kBackMask[seat].y};
}

bool ShownFaceUp(const GameState& s, const TableModes& m, int seat, const HandSlot& h) {
  if (m.AllTilesFaceUp) return true;
  return s.SeatTilesShown[seat] == kTilesVisible &&
         (h.State == 0 || s.RulePlayedTilesShown == kPlayedInverted);
}

// Hit testing along one hand: `off` is the offset from the hand's start,
// `first` where slot 1's tile begins, `pitch` the slot pitch and `last` the
// tile's last offset within its slot.
int SlotAlong(int off, int first, int pitch, int last, bool strict) {
  const int slot = std::clamp(FloorDiv(off - first, pitch) + 1, 1, kSlots);
  if (!strict) return slot;
  const int from = (slot - 1) * pitch + first;
  return off >= from && off <= from + last - first ? slot : 0;
}

}  // namespace

PipCell TablePipCell(int pips, Point at, int orientation) {
  if (pips < 1 || pips > 6) return PipCell{};
  return PipCell{true, Strip::PunNeg, Point{(pips - 1) * 30, orientation * 30},
                 Rect{at.x + 3, at.y + 3, 30, 30}};
}

PipCell SmallPipCell(int pips, Point at, int row) {
  if (pips < 1 || pips > 6) return PipCell{};
  return PipCell{true, Strip::Puntitos, Point{(pips - 1) * 16, row * 17},
                 Rect{at.x + 2, at.y + 2, 16, 16}};
}

Rect HandArea(const TableGeometry& g, int seat) {
  switch (seat) {
    case 1:
      return Rect{0, g.T1, kSideDepth, 273};
    case 2:
      return Rect{g.L2, 0, 271, kSideDepth};
    case 3:
      return Rect{g.ScreenWidthPx - kSideDepth, g.T1, kSideDepth, 273};
    default:
      return Rect{g.L4, g.ScreenHeightPx - 77, 309, 77};
  }
}

HandTileLook LookOfHandTile(const GameState& s, int seat, int slot, const TableModes& m) {
  HandTileLook t;
  const HandSlot& h = s.Hand[seat][slot];
  if (h.PipA == kNoPip) return t;  // an empty slot during the manual deal
  const int i = slot - 1;
  if (ShownFaceUp(s, m, seat, h)) {
    if (m.DragActive && seat == m.DragSeat && slot == m.DragSlot) return t;
    t.Show = TileShow::FaceUp;
    FaceUp(t, s.Table, seat, i, h);
    t.Inverted = h.State == 1;
    return t;
  }
  if (h.State != 0) return t;  // a hidden hand's played tile is simply gone
  t.Show = TileShow::FaceDown;
  FaceDown(t, s.Table, seat, i);
  return t;
}

Rect FaceUpRect(const TableGeometry& g, int seat, int slot) {
  HandTileLook t;
  FaceUp(t, g, seat, slot - 1, HandSlot{});
  return t.Face;
}

Point TravelStartPoint(const GameState& s, int seat, int slot) {
  const TableGeometry& g = s.Table;
  const int i = slot - 1;
  const bool visible = s.SeatTilesShown[seat] == kTilesVisible;
  switch (seat) {
    case 1:
      return Point{visible ? 0 : 23, SideY(g, i)};
    case 2:
      return Point{TopX(g, i), visible ? 0 : 23};
    case 3:
      return Point{g.ScreenWidthPx - 39, SideY(g, i)};
    default:
      return Point{BottomX(g, i), g.ScreenHeightPx - 77};
  }
}

Point ThinkingHandPoint(const TableGeometry& g, int seat, int slot) {
  const int i = slot - 1;
  switch (seat) {
    case 1:
      return Point{1, SideY(g, i) + 5};
    case 2:
      return Point{TopX(g, i) + 5, 0};
    case 3:
      return Point{g.ScreenWidthPx - 33, SideY(g, i) + 5};
    default:
      return Point{BottomX(g, i) + 4, g.ScreenHeightPx - 32};
  }
}

Point ThinkingHandImage(int seat) {
  return Point{kThinkingHandSize * (seat - 1), 0};
}
Point ThinkingHandMask(int seat) {
  return Point{kThinkingHandSize * (seat - 1), 32};
}

Point TutorMarkerPoint(const TableGeometry& g, int seat, int slot) {
  const int i = slot - 1;
  switch (seat) {
    case 1:
      return Point{43, SideY(g, i) + 3};
    case 2:
      return Point{TopX(g, i) + 2, 43};
    case 3:
      return Point{g.ScreenWidthPx - 76, SideY(g, i) + 3};
    default:
      return Point{BottomX(g, i) + 7, g.ScreenHeightPx - 110};
  }
}

Point EndArrowPoint(int heading, int x, int y) {
  switch (heading) {
    case kHeadLeft:
      return Point{x - 34, y + 2};
    case kHeadUp:
      return Point{x + 4, y - 34};
    case kHeadRight:
      return Point{x + 2, y + 2};
    default:
      return Point{x + 6, y + 2};
  }
}

Point EndArrowPointOf(const GameState& s, int end) {
  return EndArrowPoint(s.EndHeading[end], s.EndCol[end], s.EndRow[end]);
}

HandHit HitTestHand(const TableGeometry& g, Point p, bool strict) {
  const int w = g.ScreenWidthPx;
  const int h = g.ScreenHeightPx;
  const bool sideRows = p.y >= g.T1 + 8 && p.y <= g.T1 + 263;
  if (p.x <= 42 && sideRows) return HandHit{1, SlotAlong(p.y - g.T1, 8, kSidePitch, 29, strict)};
  if (p.x >= g.L2 + 8 && p.x <= g.L2 + 263 && p.y < 43) {
    return HandHit{2, SlotAlong(p.x - g.L2, 8, kSidePitch, 29, strict)};
  }
  if (p.x >= w - 42 && sideRows)
    return HandHit{3, SlotAlong(p.y - g.T1, 8, kSidePitch, 29, strict)};
  if (p.x >= g.L4 && p.x <= g.L4 + 309 && p.y >= h - 77) {
    return HandHit{4, SlotAlong(p.x - g.L4, 4, kBottomPitch, 40, strict)};
  }
  return HandHit{};
}

Rect DealingArea(const TableGeometry& g) {
  // Centred across the table and, vertically, centred then raised 20 px so it
  // clears the bottom hand.
  return Rect{NearestEven((g.ScreenWidthPx - 254) / 2.0),
              NearestEven((g.ScreenHeightPx - 342) / 2.0) - 20, 254, 342};
}

Rect DealingCell(const TableGeometry& g, int row, int col) {
  const Rect a = DealingArea(g);
  return Rect{a.x + 39 * col, a.y + 50 * row, 20, 42};
}

DealCell HallaFilyCol(const TableGeometry& g, Point p) {
  const Rect a = DealingArea(g);
  if (!a.Contains(p)) return DealCell{};
  const int dx = p.x - a.x;
  const int dy = p.y - a.y;
  DealCell c;
  c.Row = dy % 50 > 41 ? 9 : dy / 50;
  c.Col = dx % 39 > 19 ? 9 : dx / 39;
  return c;
}

Point SpacedLetterPoint(const TableGeometry& g, int seat, int letter) {
  const int step = 10 + 16 * (letter - 1);
  switch (seat) {
    case 1:
      return Point{3, g.T1 + step};
    case 2:
      return Point{g.L2 + step, 3};
    case 3:
      return Point{g.ScreenWidthPx - 13, g.T1 + step};
    default:
      // The bottom hand's backs fill its area, so its name goes just above.
      return Point{g.L4 + step, g.ScreenHeightPx - 93};
  }
}

int SpacedLetterRoom(int seat) {
  // As many letters as the hand's length holds after the first 10 pixels.
  const int length = seat == 4 ? 300 : seat == 2 ? 271 : 273;
  return (length - 10) / 16;
}

Rect SpacedNameStrip(const TableGeometry& g, int seat) {
  const int length = 10 + 16 * SpacedLetterRoom(seat);
  switch (seat) {
    case 1:
      return Rect{3, g.T1, 18, length};
    case 2:
      return Rect{g.L2, 0, length, 18};
    case 3:
      return Rect{g.ScreenWidthPx - 18, g.T1, 18, length};
    default:
      return Rect{g.L4, g.ScreenHeightPx - 95, 300, 18};
  }
}

// Seats 1 and 3 write their names above their hands, seat 1 two pixels in so
// that a letter reaching left of its own box (the tail of a "J") is not cut
// by the table's edge; the top and bottom names go just right of their hands.
Point WholeNamePoint(const TableGeometry& g, int seat) {
  switch (seat) {
    case 1:
      return Point{2, g.T1 - 14};
    case 2:
      return Point{g.L2 + 275, 2};
    case 3:
      return Point{g.ScreenWidthPx - 47, g.T1 - 14};
    default:
      return Point{g.L4 + 313, g.ScreenHeightPx - 16};
  }
}

// The room a whole name has: the side names 64 px up to the table's edge; the top name up to the
// tutor button, the bottom one up to the recorder panel, so that a long name never runs across
// them.
Rect WholeNameArea(const TableGeometry& g, int seat) {
  const Point p = WholeNamePoint(g, seat);
  constexpr int kHeight = 14;
  constexpr int kClearance = 4;
  // Each area starts kNameInkBefore left of where its name is written, so
  // that restoring it takes away a tail reaching back (a "J") too; seat 1's
  // name is written that far in from the edge.
  const int x = p.x - kNameInkBefore;
  switch (seat) {
    case 1:
      return Rect{0, p.y, 64, kHeight};
    case 3:
      return Rect{g.ScreenWidthPx - 64 - kNameInkBefore, p.y, 64 + kNameInkBefore, kHeight};
    case 2:
      return Rect{x, p.y, std::max(PlaceOfButton(kTutorButton, g).x - kClearance - x, 0), kHeight};
    default:
      return Rect{x, p.y, std::max(g.ScreenWidthPx - 58 - kClearance - x, 0), kHeight};
  }
}

Rect NameAreaClearOf(const TableGeometry& g, int seat, const std::vector<Rect>& laid) {
  Rect a = WholeNameArea(g, seat);
  constexpr int kGap = 2;
  for (const Rect& t : laid) {
    if (t.y >= a.y + a.h || t.y + t.h <= a.y || t.x >= a.x + a.w || t.x + t.w <= a.x) continue;
    if (seat == 3) {
      const int right = a.x + a.w;
      a.x = std::min(t.x + t.w + kGap, right);
      a.w = right - a.x;
    } else {
      a.w = std::max(t.x - kGap - a.x, 0);
    }
  }
  return a;
}

}  // namespace tarvelis
