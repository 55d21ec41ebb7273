// Where the table puts the pieces that lie over the game for a while: the
// domino picture at a hand's end and the tile travelling to the chain. Pure
// arithmetic on rectangles, so it is tested without a window.
#pragma once

#include <vector>

#include "layout/hand_layout.h"
#include "model/game_state.h"
#include "model/table_geometry.h"

namespace tarvelis {

// The place for a picture of w x h on the table that covers none of
// `keepClear` (laid tiles, hands, buttons), the nearest one to `preferred`
// when several do. When every place covers something, the one that covers
// the smallest area, again the nearest to `preferred` among equals.
Rect PlaceClearOf(const TableGeometry& g, int w, int h, const std::vector<Rect>& keepClear,
                  Point preferred);

// The domino picture at a hand's end: clear of the laid tiles, the hands and
// their names, the bar buttons, the continue button and the recorder panel;
// while the chain leaves room there, just above the continue button.
Rect DominoPlace(const GameState& s, const Rect& continueButton);

// The area of `a` that `b` covers.
long long CoveredArea(const Rect& a, const Rect& b);

// A picture of w x h at p, moved the least so that it lies wholly on the
// table. A travelling tile's ends go through this: a chain end read from a
// damaged file never sends a tile (and the wait for it) off the screen.
Point KeepOnTable(const TableGeometry& g, Point p, int w, int h);

}  // namespace tarvelis
