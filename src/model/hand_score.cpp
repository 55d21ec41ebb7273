#include "model/hand_score.h"

namespace tarvelis {

int TieRule(const GameState& s) {
  if (s.RuleTieWinner == kTieLeaders) return kTieLeaders;
  if (s.RuleTieWinner == kTieNonLeaders && s.RuleMode == kModePairs) return kTieNonLeaders;
  return kTieRepeat;
}

int Tens(int points) {
  return points <= 0 ? 0 : (points - 1) / 10 + 1;
}

HandScore ScoreHand(const GameState& s, const PerSeat<int>& pips, int dominoSeat) {
  HandScore score;
  const bool pairs = s.RuleMode == kModePairs;
  const int pair1 = pips[2] + pips[4];
  const int pair2 = pips[1] + pips[3];
  if (dominoSeat >= 1 && dominoSeat <= kSeats) {
    score.Winner = pairs ? PairOfSeat(dominoSeat) : dominoSeat;
  } else if (pairs) {
    score.Tied = pair1 == pair2;
    if (!score.Tied) score.Winner = pair1 < pair2 ? 1 : 2;
  } else {
    int least = 999;
    int holders = 0;
    for (int seat = 1; seat <= kSeats; ++seat) {
      if (pips[seat] < least) {
        least = pips[seat];
        score.Winner = seat;
        holders = 1;
      } else if (pips[seat] == least) {
        ++holders;
      }
    }
    score.Tied = holders > 1;
    if (score.Tied) score.Winner = 0;
  }
  if (score.Tied) {
    const bool leadersArePair1 = PairOfSeat(s.LeadSeat) == 1;
    switch (TieRule(s)) {
      case kTieLeaders:
        score.Winner = pairs ? (leadersArePair1 ? 1 : 2) : s.LeadSeat;
        break;
      case kTieNonLeaders:
        score.Winner = leadersArePair1 ? 2 : 1;
        break;
      default:
        score.Winner = 0;
        score.Repeated = true;
        return score;
    }
  }
  if (pairs && s.RuleCountedPips == kCountLosers) {
    score.Points = score.Winner == 1 ? pair2 : pair1;
  } else {
    score.Points = pips[1] + pips[2] + pips[3] + pips[4];
  }
  return score;
}

}  // namespace tarvelis
