// Which pointer the table shows for the point under the mouse. The pointer
// tells the user what a click would do there, so it follows the same rules as
// the click handlers: a green hand over a tile the manual seat may play, a red
// one over a held tile it may not, the sorting and turning pointers while the
// hand is arranged, a closed hand while a tile is carried, a pointing hand
// while a seat is to be chosen.
#pragma once

#include <functional>

#include "layout/hand_layout.h"
#include "model/game_state.h"
#include "model/table_modes.h"

namespace tarvelis {

enum CursorKind : int {
  kCursorNormal = 0,
  kCursorManoIndice = 1,
  kCursorManoVerde = 2,
  kCursorManoRoja = 3,
  kCursorOrdenar = 4,
  kCursorGirar = 5,
  kCursorManoCerrada = 6,
  kCursorNoDrop = 7,  // over a control that cannot be used now
};

// What only the window knows.
struct PointerFlags {
  bool ArrowsShowing = false;  // the end-choice arrows are up
  bool CarryingTile = false;   // a tile is being carried during the manual deal
  bool OverControl = false;    // over a bar button or the continue button on show
  // Whether a dealing-area cell still holds a tile; unset means none does.
  std::function<bool(int row, int col)> DealCellHoldsTile;
};

// The pointer wanted at point p; the first rule that applies decides.
CursorKind ChoosePointer(const GameState& s, const TableModes& modes, Point p,
                         const PointerFlags& flags);

}  // namespace tarvelis
