// The hands of a networked match kept for the review once they are closed:
// at `hand_closed` every tile of the deal is known (those laid and those
// shown), so each closed hand can be put back on the table whole and
// weighed by the expert as a hand played at home is.
#pragma once

#include <vector>

#include "model/game_state.h"

namespace tarvelis::net {

// How a seat played, as the review reads the others' moves: a person, the
// computer at a level, or the expert.
struct SeatPlay {
  bool Person = false;
  bool Expert = false;
  i16 Level = 50;
};

struct KeptHand {
  MatchFlags Flags;
  DealtHands Hands;
  ChainEnds Ends;
  std::vector<MoveEntry> Record;
  PerSeat<float> PipsLeft{};
  PerSeat<i16> Control{};
  PerSeat<i16> Level{};
  PerSeat<bool> Expert{};
};

// Whether the closed hand in `state` holds the whole deal: every seat seven
// tiles, the 28 tiles each once.
bool WholeDeal(const GameState& state);

// The closed hand in `state` as it is kept, the seats played as `play` says
// (local seats).
KeptHand KeepHand(const GameState& state, const PerSeat<SeatPlay>& play);

// Puts a kept hand on the table in `state`, closed at its last move, so the
// recorder steps through it and the review weighs it; the match's names,
// rules and totals stay as they are.
void PutKeptHand(GameState& state, const KeptHand& hand);

}  // namespace tarvelis::net
