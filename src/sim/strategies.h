// Baselines to measure the computer player against. They never reach the
// game's own seats.
#pragma once

#include "model/game_state.h"
#include "model/random.h"

namespace tarvelis::sim {

// A uniformly random candidate, or a uniformly random tile that may lead.
void ChooseRandom(GameState& state, Random& rng);

// The candidate or lead tile with the most pips, the first one on ties.
void ChooseHeaviest(GameState& state);

// A double if there is one, then the heaviest tile.
void ChooseDoublesFirst(GameState& state);

// A double if there is one, then the tile that leaves the hand the most
// suits, then the heaviest.
void ChooseVariety(GameState& state);

}  // namespace tarvelis::sim
