// How the expert reads another expert's moves. No seat can replay an expert
// cheaply, but its choices lean in ways a few traits of each candidate show:
// it follows the computer player's scores loosely, sheds doubles and heavy
// tiles, opens the suits it still holds, and opens suits already well spent.
// A small choice model over those traits, fitted to the expert's own moves
// in level-100 play, says how likely the move seen is under each imagined
// deal; it reads the deal's hand of the seat that moved and the table alone.
#pragma once

#include "model/game_state.h"

namespace tarvelis::expert {

// The chance that the expert at `seat`, holding what `state` gives it, lays
// the tile `tile` (0..27) with pip `matching` against the chain, among its
// candidates in `state`; 1 when it had no choice, or when the move is not
// among its candidates (nothing to read), never 0.
double ExpertMoveLikelihood(const GameState& state, int seat, int tile, int matching);

}  // namespace tarvelis::expert
