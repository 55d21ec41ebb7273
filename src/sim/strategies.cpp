#include "sim/strategies.h"

#include <algorithm>
#include <bit>

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

// How a simple player ranks a tile it may lay; the highest rank is laid.
using Rank = int (*)(const GameState& s, int a, int b);

int DoublesFirstRank(const GameState&, int a, int b) {
  return (a == b ? 1000 : 0) + a + b;
}

// Distinct suits the seat holds once tile a-b has left its hand.
int SuitsKept(const GameState& s, int a, int b) {
  bool skipped = false;
  unsigned suits = 0;
  for (int slot = 1; slot <= kSlots; ++slot) {
    const HandSlot& t = s.Hand[s.CurrentSeat][slot];
    if (t.State != 0) continue;
    if (!skipped && ((t.PipA == a && t.PipB == b) || (t.PipA == b && t.PipB == a))) {
      skipped = true;
      continue;
    }
    suits |= (1u << t.PipA) | (1u << t.PipB);
  }
  return std::popcount(suits);
}

int VarietyRank(const GameState& s, int a, int b) {
  return (a == b ? 1000 : 0) + 20 * SuitsKept(s, a, b) + a + b;
}

void ChooseRanked(GameState& s, Rank rank) {
  Pass(s);
  if (s.MoveNumber == 1) {
    std::array<int, kSlots> slots{};
    const int count = LeadSlots(s, slots);
    int best = -1;
    int bestRank = -1;
    for (int i = 0; i < count; ++i) {
      const HandSlot& t = s.Hand[s.CurrentSeat][slots[i]];
      const int r = rank(s, t.PipA, t.PipB);
      if (r > bestRank) {
        bestRank = r;
        best = slots[i];
      }
    }
    if (best > 0) Lead(s, best);
    return;
  }
  const CandidateList list = ListCandidates(s, s.CurrentSeat);
  int best = -1;
  int bestRank = -1;
  for (int i = 0; i < list.Count; ++i) {
    const int r = rank(s, list.Items[i].Matching, list.Items[i].Other);
    if (r > bestRank) {
      bestRank = r;
      best = i;
    }
  }
  if (best >= 0) TakeCandidate(s, list.Items[best]);
}

}  // namespace

void ChooseDoublesFirst(GameState& s) {
  ChooseRanked(s, DoublesFirstRank);
}

void ChooseVariety(GameState& s) {
  ChooseRanked(s, VarietyRank);
}

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
  // The first held tile of the greatest weight that fits an end, on the
  // side of its pip A when that fits: the first such candidate of the list,
  // found without making the list.
  const int e1 = s.EndPips[1];
  const int e2 = s.EndPips[2];
  // Scored without a branch on the tiles, as fits are as good as random: a
  // fitting tile's weight, above every slot after it; nothing for the rest.
  const unsigned ends = (1u << e1) | (1u << e2);
  int bestScore = 0;
  int bestSlot = 0;
  for (int slot = 1; slot <= kSlots; ++slot) {
    const HandSlot& t = s.Hand[s.CurrentSeat][slot];
    const int fits = static_cast<int>(((ends >> t.PipA) | (ends >> t.PipB)) & 1u) & (t.State == 0);
    const int score = fits * ((t.PipA + t.PipB + 1) * 8 + (kSlots - slot));
    bestSlot = score > bestScore ? slot : bestSlot;
    bestScore = std::max(score, bestScore);
  }
  if (bestSlot == 0) return;
  const HandSlot& t = s.Hand[s.CurrentSeat][bestSlot];
  const bool aFits = t.PipA == e1 || t.PipA == e2;
  TakeCandidate(s, aFits ? Candidate{t.PipA, t.PipB} : Candidate{t.PipB, t.PipA});
}

}  // namespace tarvelis::sim
