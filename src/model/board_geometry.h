// Where each tile of the chain is laid: the spiral rule. Pure arithmetic on the
// game state; the window draws what the move record says and decides nothing.
#pragma once

#include "model/game_state.h"

namespace tarvelis {

// Lays the move in hand (PlayPipA, PlayPipB, PlayEnd, PlayIsDouble, already
// oriented) on the arm of PlayEnd at move MoveNumber: writes the drawing
// fields 5..17, the cursor before and after (18..21) and the heading before
// and after (24, 25) into `entry`, and moves the end's EndCol, EndRow and
// EndHeading. Reads earlier moves of state.MoveRecord to find the arm's
// previous tile, so the result depends on the record alone. A pass lays
// nothing.
void LayTile(GameState& state, MoveEntry& entry);

// Resets both ends' cursors and headings for a new hand.
void ResetChainCursors(GameState& state);

}  // namespace tarvelis
