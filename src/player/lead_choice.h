// The tile a computer seat leads a hand with, chosen from what the deal told
// it about its own hand: its doubles, its suit counts and their ranking.
#pragma once

#include <cstdint>

#include "model/game_state.h"

namespace tarvelis {

// Which step of the choice named the tile.
enum class LeadStep : std::uint8_t {
  kNone = 0,         // the hand holds no tile
  kOneDouble = 1,    // the only double, or the tile pairing its suit with the second suit
  kTwoDoubles = 2,   // the double of the longer suit of the two
  kManyDoubles = 3,  // the highest double with a second tile of its suit
  kLongestSuit = 4,  // the longest suit together with the best-ranked suit beside it
  kFallback = 5,     // none of the above named a tile the hand holds
};

struct LeadChoice {
  int Slot = 0;  // 1..7, 0 only for an empty hand
  LeadStep Step = LeadStep::kNone;
};

// Chooses the lead of `seat` when the double six is not forced. The steps can
// name a tile the hand does not hold, or none at all (a hand of doubles whose
// longest suit shows only on its double); then the seat leads the double of
// its best-ranked suit, or, holding no double, its heaviest tile.
LeadChoice ChooseLead(const GameState& state, int seat);

}  // namespace tarvelis
