// Who won a finished match. The final message names this winner and the
// history record puts it first, so both come from this one function.
#pragma once

#include "model/game_state.h"

namespace tarvelis {

// The pair or seat that won the match: the winner of the last hand, which
// under "La pareja perdedora" is the pair that did not reach the target. When
// the last hand had no winner (a replayed tie, after the target was lowered),
// the totals decide.
int MatchWinner(const GameState& state);

}  // namespace tarvelis
