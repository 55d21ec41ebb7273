#include "sim/strategies.h"

#include "model/move_rules.h"

namespace tarvelis::sim {
namespace {

void Pass(GameState& s) {
  s.PlayEvaluated = false;
  s.PlayPipA = s.PlayPipB = kNoPip;
  s.PlayEnd = kPassEnd;
}

void Lead(GameState& s, int slot) {
  const HandSlot& t = s.Hand[s.CurrentSeat][slot];
  s.PlayPipA = t.PipA;
  s.PlayPipB = t.PipB;
  s.PlayEnd = 1;
}

// The slots the seat may lead from, in slot order.
int LeadSlots(const GameState& s, std::array<int, kSlots>& slots) {
  int count = 0;
  for (int slot = 1; slot <= kSlots; ++slot) {
    if (EsJugable(s, s.CurrentSeat, slot)) slots[count++] = slot;
  }
  return count;
}

}  // namespace

void ChooseRandom(GameState& s, Random& rng) {
  Pass(s);
  if (s.MoveNumber == 1) {
    std::array<int, kSlots> slots{};
    const int count = LeadSlots(s, slots);
    if (count > 0) Lead(s, slots[rng.Draw(count) - 1]);
    return;
  }
  const CandidateList list = ListCandidates(s, s.CurrentSeat);
  if (list.Count > 0) TakeCandidate(s, list.Items[rng.Draw(list.Count) - 1]);
}

void ChooseHeaviest(GameState& s) {
  Pass(s);
  if (s.MoveNumber == 1) {
    std::array<int, kSlots> slots{};
    const int count = LeadSlots(s, slots);
    int best = -1;
    int bestPips = -1;
    for (int i = 0; i < count; ++i) {
      const HandSlot& t = s.Hand[s.CurrentSeat][slots[i]];
      if (t.PipA + t.PipB > bestPips) {
        bestPips = t.PipA + t.PipB;
        best = slots[i];
      }
    }
    if (best > 0) Lead(s, best);
    return;
  }
  const CandidateList list = ListCandidates(s, s.CurrentSeat);
  int best = -1;
  for (int i = 0; i < list.Count; ++i) {
    const Candidate& c = list.Items[i];
    if (best < 0 || c.Matching + c.Other > list.Items[best].Matching + list.Items[best].Other) {
      best = i;
    }
  }
  if (best >= 0) TakeCandidate(s, list.Items[best]);
}

}  // namespace tarvelis::sim
