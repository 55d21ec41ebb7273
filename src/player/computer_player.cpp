// Interim choice until the full evaluation lands: the forced double six or the
// first tile of the hand to lead, otherwise the first candidate.
#include "player/computer_player.h"

#include "player/move_rules.h"

namespace tarvelis {

void EligeJugada(GameState& s, TablePort*) {
  const int seat = s.CurrentSeat;
  s.PlayEvaluated = false;
  s.PlayPipA = s.PlayPipB = kNoPip;
  s.PlayEnd = kPassEnd;
  if (s.MoveNumber == 1) {
    for (int slot = 1; slot <= kSlots; ++slot) {
      const HandSlot& t = s.Hand[seat][slot];
      if (t.State != 0) continue;
      if (SixDoubleForced(s) && !(t.PipA == 6 && t.PipB == 6)) continue;
      s.PlayPipA = t.PipA;
      s.PlayPipB = t.PipB;
      s.PlayEnd = 1;
      return;
    }
    return;
  }
  CandidateList list = ListCandidates(s, seat);
  if (list.Count > 0) TakeCandidate(s, list.Items[0]);
}

}  // namespace tarvelis
