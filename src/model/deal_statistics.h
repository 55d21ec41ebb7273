// What a deal tells the computer player about the hands: each seat's count of
// every pip, its doubles, who holds each double, and its suits ranked. The
// deal computes them once; the expert computes them again for every deal it
// imagines, so both read the same fields the same way.
#pragma once

#include "model/game_state.h"

namespace tarvelis {

// SeatPipCount, SeatDoubles and DoubleHolder from the hands (added to what the
// fields hold: the deal clears them first).
void ComputeDealStatistics(GameState& state);

// SeatPipRank: each seat's pip values by count, highest first, ties to the
// higher pip value.
void ComputeRanks(GameState& state);

}  // namespace tarvelis
