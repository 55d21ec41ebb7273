// What the table says about one suit, seen from the seat that is choosing a
// move: how many of its tiles are down, which pips they were paired with,
// where the rest of the suit sits, and how many pips every seat and side still
// holds. The evaluation asks this before every rule that names a suit.
#pragma once

#include <array>

#include "model/game_state.h"

namespace tarvelis {

// Side 1 is the deciding seat and its partner, side 2 the other two seats.
inline constexpr int kOwnSide = 1;
inline constexpr int kOtherSide = 2;

struct SuitAnalysis {
  int Played = 0;                 // tiles of the suit already on the table
  PerPip<bool> Seen{};            // pip values met with the suit on a played tile
  bool DoublePlayed = false;      // the suit's double is on the table
  PerSeat<int> Held{};            // tiles of the suit each seat still holds
  int DoubleSide = 0;             // side holding the unplayed double; 0 once it is down
  PerSeat<int> SeatPips{};        // pips each seat still holds, whatever the suit
  std::array<int, 3> SidePips{};  // the same per side, [1..2]
};

// The side (1 or 2) of `seat` for the deciding seat `decider`.
int SideOf(const GameState& state, int decider, int seat);

// Analyses the seven suits (0..6) for the deciding seat, in one pass over the
// hands: what every decision of the computer player reads first. Reads the
// state only: the pips left are kept in the analysis, not written back into
// SeatPipsLeft, which the hand's end recomputes for itself.
std::array<SuitAnalysis, kPips> AnalizaPalos(const GameState& state, int decider);

}  // namespace tarvelis
