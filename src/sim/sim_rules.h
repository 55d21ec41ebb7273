// The house rules as the simulator sets them: by name from the command line,
// or drawn afresh for each match so one run covers every combination.
#pragma once

#include <string>

#include "model/game_state.h"
#include "model/random.h"

namespace tarvelis::sim {

// Sets the rule, MatchTarget or GameSpeed called `name`. False for an unknown
// name; the value is taken as given, so a value out of range reaches the
// engine as a damaged settings file would.
bool SetRule(GameState& state, const std::string& name, int value);

// Draws every rule, the target, the seats' control and levels for a match:
// both modes, both scorings, every tie and lead rule, both directions.
void VaryRules(GameState& state, Random& rng);

}  // namespace tarvelis::sim
