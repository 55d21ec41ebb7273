// The computer player: chooses the lead, one candidate or a pass for the seat
// to move. Deterministic: the same position always gives the same move.
#pragma once

#include "engine/game_state.h"

namespace tarvelis {

class TablePort;

// Chooses the move of CurrentSeat into PlayPipA, PlayPipB, PlayEnd (9 for a
// pass) and PlayEvaluated. `port` shows the thinking pause of an automatic seat;
// it may be null (no pause), and no pause is shown while SuggestionAsked is set.
void EligeJugada(GameState& state, TablePort* port);

}  // namespace tarvelis
