// Where everything around the hands lies on the table: the hand areas, each
// slot's tile face up or face down, the start of a travelling tile, the
// thinking hand, the tutor's marker, the end arrows, the seat names and the
// manual-dealing area, with the hit tests that map a point back to a seat and
// slot. Pure arithmetic: the window copies pictures to these places and
// decides nothing.
#pragma once

#include <vector>

#include "model/game_state.h"
#include "model/table_geometry.h"
#include "model/table_modes.h"

namespace tarvelis {

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Rect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  bool operator==(const Rect&) const = default;
  bool Contains(Point p) const { return p.x >= x && p.x < x + w && p.y >= y && p.y < y + h; }
};

// The hidden picture strips the tables of pixels refer to.
enum class Strip : int { Dibujos, PunNeg, Puntitos, Manos };

// One pip pattern to copy: a cell of `from` at `src` onto `dst`. Nothing is
// drawn for a half with 0 pips.
struct PipCell {
  bool Draw = false;
  Strip From = Strip::PunNeg;
  Point Src;
  Rect Dst;
};

// A table-size pattern (30 x 30 of Pic_PunNeg) for the pips at (x, y) as the
// move record and the hand table give them; the cell goes 3 px inside.
PipCell TablePipCell(int pips, Point at, int orientation);

// A small pattern (16 x 16 of Pic_Puntitos) for the side seats; 2 px inside.
PipCell SmallPipCell(int pips, Point at, int row);

// The hand area of a seat: seat 1 left, 2 top, 3 right, 4 bottom. On a narrow
// table the side areas sit in fixed rows, y 125..398.
Rect HandArea(const TableGeometry& g, int seat);

// How one slot of a hand is drawn. Face up: `Face` gets the face from
// `FaceStrip` at `FaceSrc` (seat 4 masked: `FaceMaskSrc` ANDed first, then the
// face XORed), then the two pips, then a played tile is inverted over `Invert`.
// Face down: the back from the backs strip at `BackSrc` onto `Back`, its mask
// at `BackMaskSrc` ANDed first.
enum class TileShow : int { None, FaceUp, FaceDown };

struct HandTileLook {
  TileShow Show = TileShow::None;
  Rect Face;
  Strip FaceStrip = Strip::Puntitos;
  Point FaceSrc;
  bool FaceMasked = false;
  Point FaceMaskSrc;
  PipCell PipA;
  PipCell PipB;
  bool Inverted = false;
  Rect Invert;
  Rect Back;
  Point BackSrc;
  Point BackMaskSrc;
};

// The look of (seat, slot) as the state and the table's modes stand: every
// tile is face up while the tiles are dealt by hand, and the slot a tile is
// being dragged from is left empty, in the dragging seat's hand only, so
// redrawing another hand during a drag never drops one of its tiles.
HandTileLook LookOfHandTile(const GameState& s, int seat, int slot, const TableModes& modes = {});

// Where slot `slot` of a seat shows a tile face up: during the manual deal an
// empty slot is outlined there, so the user sees where tiles go.
Rect FaceUpRect(const TableGeometry& g, int seat, int slot);

// Where a tile leaves its hand to travel to the chain (and comes back to when
// a move is stepped back). Visible side hands start at the table's edge.
Point TravelStartPoint(const GameState& s, int seat, int slot);

// The thinking hand drawn over a tile during an automatic seat's pause, and
// its image and mask (32 x 32) in Pic_Manos.
Point ThinkingHandPoint(const TableGeometry& g, int seat, int slot);
Point ThinkingHandImage(int seat);
Point ThinkingHandMask(int seat);
inline constexpr int kThinkingHandSize = 32;

// The tutor's marker beside the suggested tile's slot.
Point TutorMarkerPoint(const TableGeometry& g, int seat, int slot);

// An end arrow beside an end's cursor (x, y) growing towards `heading`.
Point EndArrowPoint(int heading, int x, int y);

// The arrow of one end of the chain as the state stands.
Point EndArrowPointOf(const GameState& s, int end);

// Hand hit test. The loose test gives the seat whose hand area holds the point
// and the nearest slot; the strict one also asks that the point lies on the
// tile itself, else the slot is 0 (the gaps between tiles).
struct HandHit {
  int HitSeat = 0;
  int HitSlot = 0;
};
HandHit HitTestHand(const TableGeometry& g, Point p, bool strict);

// The manual-dealing area and its cells: tiles stand upright (20 x 42) in
// columns 39 px apart and rows 50 px apart.
Rect DealingArea(const TableGeometry& g);
Rect DealingCell(const TableGeometry& g, int row, int col);

// Row and column of the dealing cell under a point; 9 for either when the
// point falls in the gap after a cell or outside the area.
struct DealCell {
  int Row = 9;
  int Col = 9;
};
DealCell HallaFilyCol(const TableGeometry& g, Point p);

// Seat names. Beside face-down tiles a name is spelt one letter every 16 px
// along its hand, as many letters as the hand's length holds
// (SpacedLetterRoom); beside visible tiles it is written just outside the
// hand, in the room WholeNameArea gives. Each area is restored from the
// background before the name is written.
int SpacedLetterRoom(int seat);
// How far a written name's ink may reach left of the point it is written at.
inline constexpr int kNameInkBefore = 2;
Point SpacedLetterPoint(const TableGeometry& g, int seat, int letter);  // letter from 1
Rect SpacedNameStrip(const TableGeometry& g, int seat);
Point WholeNamePoint(const TableGeometry& g, int seat);
Rect WholeNameArea(const TableGeometry& g, int seat);
// The part of WholeNameArea a name is written in once the laid tiles reaching
// into it are kept clear of, as text on a tile cannot be read: left of the
// first such tile, or for seat 3, whose name keeps to the table's edge, right
// of the last one.
Rect NameAreaClearOf(const TableGeometry& g, int seat, const std::vector<Rect>& laid);

}  // namespace tarvelis
