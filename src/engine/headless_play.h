// A position reached by real play: a new match played headless by the engine
// with every seat automatic, stopped after a number of moves and left as the
// table would find it waiting for the next move. Tests and benchmarks of the
// windows start from such positions.
#pragma once

#include <cstdint>

#include "model/game_state.h"

namespace tarvelis {

// Plays `moves` moves of a new match on `state` (its options and table kept,
// every seat played by the computer), then advances the turn to the next move.
void PlayHeadlessTo(GameState& state, int moves, std::uint32_t seed);

}  // namespace tarvelis
