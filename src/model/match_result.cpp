#include "model/match_result.h"

namespace tarvelis {

int MatchWinner(const GameState& s) {
  if (s.RuleMode == kModePairs) {
    if (s.HandWinner == 1 || s.HandWinner == 2) return s.HandWinner;
    const int reached = s.PairTotal[1] >= s.PairTotal[2] ? 1 : 2;
    return s.RuleScoringPair == kScoringLosers ? 3 - reached : reached;
  }
  if (s.HandWinner >= 1 && s.HandWinner <= kSeats) return s.HandWinner;
  int best = 1;
  for (int seat = 2; seat <= kSeats; ++seat) {
    if (s.SeatTotal[seat] > s.SeatTotal[best]) best = seat;
  }
  return best;
}

}  // namespace tarvelis
