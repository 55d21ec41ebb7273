// Who wins a finished hand and for how many points, from the pips each seat
// still holds. The end of a hand in play and the expert player's look-ahead
// both score with this one function, so the two can never disagree.
#pragma once

#include "model/game_state.h"

namespace tarvelis {

struct HandScore {
  int Winner = 0;  // pair 1..2 or seat 1..4; 0 when the hand is played again
  bool Tied = false;
  bool Repeated = false;  // tied, and the tie rule replays the hand
  int Points = 0;         // units
};

// `pips[seat]` is what each seat still holds; `dominoSeat` is the seat that
// went out, 0 for a blocked chain. Reads RuleMode, RuleCountedPips,
// RuleTieWinner and LeadSeat.
HandScore ScoreHand(const GameState& rules, const PerSeat<int>& pips, int dominoSeat);

// The tie rule in force: a value the mode does not offer ("La pareja que no
// salió" in individual mode) counts as "Se repite el juego", as the settings
// window itself turns it back.
int TieRule(const GameState& state);

// Tens of a hand's points: 0 for 0, 1 for 1..10, 2 for 11..20, ...
int Tens(int points);

// The points the hand is worth in the scoring in force (tens or units).
inline int ScoredValue(const GameState& rules, int points) {
  return rules.RuleScoring == kScoreUnits ? points : Tens(points);
}

}  // namespace tarvelis
