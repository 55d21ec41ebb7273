// The house rules a table plays, in one line of Spanish: the mode, the points
// of the match and the scoring; the rest follow the settings window. The
// network window, the server's room and its ratings all show this one line.
#pragma once

#include <string>

#include "model/game_state.h"

namespace tarvelis {

std::string RulesLine(const HouseRules& rules);

}  // namespace tarvelis
