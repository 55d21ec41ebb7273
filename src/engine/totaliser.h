// The totaliser of the "+" key: the pips already on the table, the pips still
// to come, and the tiles not yet played.
#pragma once

#include <string>

#include "model/game_state.h"
#include "model/texts.h"

namespace tarvelis {

// Pips of every played tile of the hands.
int PipsOnTable(const GameState& state);

// The totaliser's text, lines joined with CR LF.
std::string TotaliserText(const GameState& state);

}  // namespace tarvelis
