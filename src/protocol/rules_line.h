// The house rules of a server's table in one line of Spanish, as the room
// lists its public tables. Two tables have the same line exactly when they
// play the same rules, so the quick seat matches a player's rules by it.
#pragma once

#include <string>

#include "model/game_state.h"

namespace tarvelis::server {

// The mode, the match's points and the scoring, then each rule that is not
// the game's default, by its selector's title and value.
std::string RoomRulesLine(const HouseRules& rules);

}  // namespace tarvelis::server
