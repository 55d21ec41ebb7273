// Whether a match read from a file can be resumed. The file carries the hands,
// the chain and the move record separately; a hand edited by hand or damaged on
// disk can contradict itself (a tile dealt twice, a played tile missing from
// the record, ends that the record does not lead to), and resuming it would
// play a corrupt hand or index outside the tables.
#pragma once

#include <string_view>

#include "model/game_state.h"

namespace tarvelis {

// Empty when the match holds together (or there is none); otherwise a short
// description of the first contradiction found.
std::string_view MatchFault(const GameState& state);

}  // namespace tarvelis
