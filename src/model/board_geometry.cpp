// The chain grows from the middle of the table as a clockwise spiral: each arm
// runs straight until its cursor passes the turning limit of its heading, turns
// a right angle and runs on. Everything computed here goes into the move record,
// so the chain can be redrawn, stepped back and replayed from the record alone.
//
// A cursor is the attachment point of an arm. Growing left or up it is the first
// pixel of the last tile (its left or top edge); growing right or down it is the
// last pixel (its right or bottom edge). The other coordinate is the left or top
// of the arm's 40-pixel track.
#include "model/board_geometry.h"

#include <algorithm>

namespace tarvelis {
namespace {

constexpr int kLong = 77;              // the long side of a chain tile
constexpr int kShort = 40;             // the short side
constexpr int kHalf = 37;              // from one half's pips to the other's
constexpr int kRightHalfPipShift = 4;  // right-half images carry their pips 4 px right

struct Cursor {
  int x = 0;
  int y = 0;
  int heading = kHeadRight;
};

// What the layout needs to know about the arm's previous tile. An arm with no
// tile yet reads side 0 and not crosswise.
struct ArmPrevious {
  int side = 0;
  bool crosswise = false;
};

struct Placement {
  int left = 0, top = 0, width = 0, height = 0;
  int side = 0, imageX = 0;
  int pipAX = 0, pipAY = 0, pipBX = 0, pipBY = 0;
  int orientation = 0;
  Cursor next;
};

// The most recent earlier move on the same end; passes carry end 9 and
// so never match.
ArmPrevious FindArmPrevious(const GameState& s, int end) {
  const int last = std::min<int>(s.MoveNumber - 1, static_cast<int>(s.MoveRecord.size()) - 1);
  for (int n = last; n >= 1; --n) {
    const MoveEntry& m = s.MoveRecord[n];
    if (m[kFEnd] == end) return ArmPrevious{m[kFTileSide], m[kFCrosswise] != 0};
  }
  return ArmPrevious{};
}

// An arm growing left or up turns once its cursor is below the limit;
// one growing right or down once it is above it.
bool PastLimit(const Cursor& c, int limit) {
  switch (c.heading) {
    case kHeadLeft:
      return c.x < limit;
    case kHeadUp:
      return c.y < limit;
    case kHeadRight:
      return c.x > limit;
    default:
      return c.y > limit;
  }
}

// The turn of an arm, one function per old heading. Three cases each: after a crosswise
// double the new arm runs flush along the double's far side; far past the limit
// the new arm starts beside the end of the last tile; just past it the new arm
// starts beyond the last tile, an L. A double falling on a turn is laid
// lengthwise and centred on the old track (except on a narrow table's vertical
// arms, which stay on their track to keep the spiral compact).
void TurnFromLeft(Cursor& c, int limit, bool prevCross, bool isDouble, bool& crosswise) {
  if (prevCross) {
    c.y -= 18;
  } else if (c.x + kShort < limit) {
    crosswise = false;
  } else {
    c.x -= kShort;
    c.y += kShort;
    if (isDouble) {
      c.y += 19;
      crosswise = false;
    }
  }
}

void TurnFromUp(Cursor& c, int limit, bool prevCross, bool isDouble, bool lowRes, bool& crosswise) {
  if (prevCross) {
    c.x += 58;
  } else if (c.y + kShort < limit) {
    c.x += 39;
    crosswise = false;
  } else {
    c.y -= kShort;
    c.x -= 1;
    if (isDouble) {
      crosswise = false;
      if (!lowRes) c.x -= 19;
    }
  }
}

void TurnFromRight(Cursor& c, int limit, bool prevCross, bool isDouble, bool& crosswise) {
  if (prevCross) {
    c.x -= 39;
    c.y += 58;
  } else if (c.x - kShort > limit) {
    c.x -= 39;
    c.y += 39;
    crosswise = false;
  } else {
    c.x += 1;
    c.y -= 1;
    if (isDouble) {
      c.y -= 19;
      crosswise = false;
    }
  }
}

void TurnFromDown(Cursor& c, int limit, bool prevCross, bool isDouble, bool lowRes,
                  bool& crosswise) {
  if (prevCross) {
    c.y -= 39;
    c.x -= 18;
  } else if (c.y - kShort > limit) {
    c.y -= kShort;
    crosswise = false;
  } else {
    c.x += kShort;
    c.y += 1;
    if (isDouble) {
      crosswise = false;
      if (!lowRes) c.x += 19;
    }
  }
}

// On a narrow table the arms that come back towards the middle are held in
// fixed rows next to the first row, so the spiral stays on the table.
void ClampNarrowRow(Cursor& c, int end, int oldHeading) {
  if (end == 1 && oldHeading == kHeadUp) c.y = std::clamp(c.y, 243, 274);
  if (end == 2 && oldHeading == kHeadDown) c.y = std::clamp(c.y, 127, 161);
}

void Turn(Cursor& c, int end, int limit, const ArmPrevious& prev, bool isDouble, bool lowRes,
          bool& crosswise) {
  const int old = c.heading;
  switch (old) {
    case kHeadLeft:
      TurnFromLeft(c, limit, prev.crosswise, isDouble, crosswise);
      break;
    case kHeadUp:
      TurnFromUp(c, limit, prev.crosswise, isDouble, lowRes, crosswise);
      break;
    case kHeadRight:
      TurnFromRight(c, limit, prev.crosswise, isDouble, crosswise);
      break;
    default:
      TurnFromDown(c, limit, prev.crosswise, isDouble, lowRes, crosswise);
      break;
  }
  c.heading = old % 4 + 1;  // clockwise: left, up, right, down, left
  if (lowRes) ClampNarrowRow(c, end, old);
}

// The image of a horizontal heading: the side of the table decides it
// (right-half images carry their pips further right). Where an arm crosses the
// middle it changes image set, and the first tile in the new half is pulled
// 2 px back over the previous tile so the arm reads as one line across it.
int SideOf(int tentativeLeft, int screenWidth) {
  return tentativeLeft >= screenWidth / 2.0 ? 1 : 2;
}

int MiddleShift(int heading, int side, int prevSide) {
  if (heading == kHeadLeft && side == 2 && prevSide == 1) return 2;
  if (heading == kHeadRight && side == 1 && prevSide == 2) return -2;
  return 0;
}

// A flat tile along a horizontal track or an upright double across it, with
// its pips placed for its side of the table.
void FillHorizontal(Placement& p, int tentativeLeft, int top, bool crosswise,
                    const ArmPrevious& prev, int heading, int screenWidth) {
  p.side = SideOf(tentativeLeft, screenWidth);
  p.left = tentativeLeft + MiddleShift(heading, p.side, prev.side);
  p.top = top;
  const int pipX = p.left + (p.side == 1 ? kRightHalfPipShift : 0);
  if (crosswise) {
    p.width = kShort;
    p.height = kLong;
    p.imageX = p.side == 2 ? 310 : 352;
    p.orientation = 1;
    p.pipAX = pipX;
    p.pipAY = top;
    p.pipBX = pipX;
    p.pipBY = top + kHalf;
    return;
  }
  p.width = kLong;
  p.height = kShort;
  p.imageX = p.side == 2 ? 395 : 474;
  p.orientation = 0;
  // Pip A touches the chain: the right half growing left, the left half growing right.
  const int first = pipX, second = pipX + kHalf;
  p.pipAX = heading == kHeadLeft ? second : first;
  p.pipBX = heading == kHeadLeft ? first : second;
  p.pipAY = p.pipBY = top;
}

Placement PlaceLeft(const Cursor& c, bool crosswise, const ArmPrevious& prev, int w) {
  Placement p;
  const int width = crosswise ? kShort : kLong;
  FillHorizontal(p, c.x - width, crosswise ? c.y - 18 : c.y, crosswise, prev, kHeadLeft, w);
  p.next = Cursor{p.left, c.y, kHeadLeft};
  return p;
}

Placement PlaceRight(const Cursor& c, bool crosswise, const ArmPrevious& prev, int w) {
  Placement p;
  FillHorizontal(p, c.x + 1, crosswise ? c.y - 18 : c.y, crosswise, prev, kHeadRight, w);
  p.next = Cursor{p.left + (crosswise ? 39 : 76), c.y, kHeadRight};
  return p;
}

// Vertical arms compute no side of their own; they carry the arm's previous
// tile's side on, so the next horizontal tile after a turn compares against
// the side the arm was on. Taking it from the record (rather than from
// whichever tile was laid last anywhere) keeps a resumed or replayed hand
// laying out exactly as it did the first time.
Placement PlaceUp(const Cursor& c, bool crosswise, const ArmPrevious& prev) {
  Placement p;
  p.side = prev.side;
  if (crosswise) {
    p.left = c.x - 18;
    p.top = c.y - kShort;
    p.width = kLong;
    p.height = kShort;
    p.imageX = 395;
    p.pipAX = c.x - 18;
    p.pipAY = p.top;
    p.pipBX = c.x + 19;
    p.pipBY = p.top;
    p.orientation = 0;
  } else {
    p.left = c.x;
    p.top = c.y - kLong;
    p.width = kShort;
    p.height = kLong;
    p.imageX = 310;
    p.pipAX = c.x;
    p.pipAY = c.y - kShort;
    p.pipBX = c.x;
    p.pipBY = p.top;
    p.orientation = 1;
  }
  p.next = Cursor{c.x, p.top, kHeadUp};
  return p;
}

Placement PlaceDown(const Cursor& c, bool crosswise, const ArmPrevious& prev) {
  Placement p;
  p.side = prev.side;
  p.top = c.y + 1;
  if (crosswise) {
    p.left = c.x - 18;
    p.width = kLong;
    p.height = kShort;
    p.imageX = 474;
    p.pipAX = p.left + 4;
    p.pipBX = p.left + 41;
    p.pipAY = p.pipBY = p.top;
    p.orientation = 0;
    p.next = Cursor{c.x, p.top + 39, kHeadDown};
  } else {
    p.left = c.x;
    p.width = kShort;
    p.height = kLong;
    p.imageX = 352;
    p.pipAX = p.pipBX = c.x + 4;
    p.pipAY = p.top;
    p.pipBY = p.top + kHalf;
    p.orientation = 1;
    p.next = Cursor{c.x, p.top + 76, kHeadDown};
  }
  return p;
}

Placement Place(const Cursor& c, bool crosswise, const ArmPrevious& prev, int screenWidth) {
  switch (c.heading) {
    case kHeadLeft:
      return PlaceLeft(c, crosswise, prev, screenWidth);
    case kHeadUp:
      return PlaceUp(c, crosswise, prev);
    case kHeadRight:
      return PlaceRight(c, crosswise, prev, screenWidth);
    default:
      return PlaceDown(c, crosswise, prev);
  }
}

void Store(MoveEntry& e, const Placement& p, bool isDouble, bool crosswise) {
  const int values[] = {p.left,  p.top,   p.width, p.height,      p.side,   p.imageX, p.pipAX,
                        p.pipAY, p.pipBX, p.pipBY, p.orientation, isDouble, crosswise};
  int field = kFTileLeft;
  for (int v : values) e[field++] = static_cast<i16>(v);
}

}  // namespace

void LayTile(GameState& s, MoveEntry& entry) {
  const int end = s.PlayEnd;
  if (end != 1 && end != 2) return;  // a pass lays nothing
  const TableGeometry& g = s.Table;
  const ArmPrevious prev = FindArmPrevious(s, end);
  const Cursor before{s.EndCol[end], s.EndRow[end], s.EndHeading[end]};
  Cursor c = before;
  bool crosswise = s.PlayIsDouble;

  if (PastLimit(c, g.TurnLimit[c.heading][end])) {
    Turn(c, end, g.TurnLimit[c.heading][end], prev, s.PlayIsDouble, g.LowResolution, crosswise);
  }
  // On a narrow table a double across a vertical arm would stick out
  // towards the hands; it goes lengthwise instead.
  if (g.LowResolution && (c.heading == kHeadUp || c.heading == kHeadDown)) crosswise = false;

  const Placement p = Place(c, crosswise, prev, g.ScreenWidthPx);
  Store(entry, p, s.PlayIsDouble, crosswise);
  entry[kFColBefore] = static_cast<i16>(before.x);
  entry[kFRowBefore] = static_cast<i16>(before.y);
  entry[kFColAfter] = static_cast<i16>(p.next.x);
  entry[kFRowAfter] = static_cast<i16>(p.next.y);
  entry[kFHeadingBefore] = static_cast<i16>(before.heading);
  entry[kFHeadingAfter] = static_cast<i16>(p.next.heading);

  s.EndCol[end] = static_cast<i16>(p.next.x);
  s.EndRow[end] = static_cast<i16>(p.next.y);
  s.EndHeading[end] = static_cast<i16>(p.next.heading);
}

void ResetChainCursors(GameState& s) {
  const TableGeometry& g = s.Table;
  s.EndCol[1] = static_cast<i16>(g.ChainOriginX);
  s.EndRow[1] = static_cast<i16>(g.ChainOriginY);
  s.EndHeading[1] = kHeadRight;
  s.EndCol[2] = static_cast<i16>(g.ChainOriginX + 3);
  s.EndRow[2] = static_cast<i16>(g.ChainOriginY);
  s.EndHeading[2] = kHeadLeft;
}

}  // namespace tarvelis
