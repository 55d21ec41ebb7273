#include "player/lead_choice.h"

#include <array>

#include "model/move_rules.h"

namespace tarvelis {
namespace {

struct Hand {
  const GameState& s;
  int seat;

  int Count(int pip) const { return s.SeatPipCount[seat][pip]; }
  int Rank(int k) const { return s.SeatPipRank[seat][k]; }

  // The slot of {a, b} when the seat still holds it, else 0.
  int Held(int a, int b) const {
    const int slot = BuscaHueco(s, a, b, seat);
    return slot != 0 && s.Hand[seat][slot].State == 0 ? slot : 0;
  }
};

// The pip values of the seat's doubles, lowest first; returns how many.
int DoublesOf(const Hand& h, std::array<int, kPips>& pips) {
  int n = 0;
  for (int p = 0; p < kPips; ++p) {
    if (h.s.DoubleHolder[p] == h.seat) pips[n++] = p;
  }
  return n;
}

// A tile named by steps 1 to 3, which may not be in the hand.
struct Named {
  int a = -1;
  int b = -1;
  bool Any() const { return a >= 0; }
};

// One double: lead it when its suit is neither bare nor dominant. With
// five or more of that suit and a full spread of suits, open the suit beside
// the second suit instead, keeping the double to regain the lead.
Named OneDouble(const Hand& h, int x) {
  const int n = h.Count(x);
  if (n >= 2 && n <= 4) return {x, x};
  if (n < 5) return {};
  bool noMissingSuit = true;
  for (int p = 0; p < kPips; ++p) noMissingSuit = noMissingSuit && h.Count(p) > 0;
  const int second = h.Rank(2);
  if (noMissingSuit && h.Count(second) == 3) return {x, second};
  return {x, x};
}

// Two doubles: the one of the longer suit, the higher on a draw, unless
// both are bare.
Named TwoDoubles(const Hand& h, int low, int high) {
  if (h.Count(low) < 2 && h.Count(high) < 2) return {};
  const int x = h.Count(low) > h.Count(high) ? low : high;
  return {x, x};
}

// Three or more doubles: the highest one that is not bare.
Named ManyDoubles(const Hand& h, const std::array<int, kPips>& pips, int n) {
  for (int i = n - 1; i >= 0; --i) {
    if (h.Count(pips[i]) >= 2) return {pips[i], pips[i]};
  }
  return {};
}

// Open the longest suit, on the tile that pairs it with the best-ranked
// other suit the hand holds it with.
int LongestSuit(const Hand& h) {
  const int longest = h.Rank(1);
  int chosen = 0;
  for (int k = kSlots; k >= 1; --k) {
    if (h.Rank(k) == longest) continue;
    const int slot = h.Held(longest, h.Rank(k));
    if (slot != 0) chosen = slot;
  }
  return chosen;
}

// When no step names a held tile: a double never loses the seat a choice of
// ends, and the best-ranked suit is the one it wants showing; with no double,
// the heaviest tile sheds the most pips should the hand block.
int Fallback(const Hand& h) {
  for (int k = 1; k <= kSlots; ++k) {
    const int x = h.Rank(k);
    if (x < 0 || x >= kPips) continue;
    const int slot = h.Held(x, x);
    if (slot != 0) return slot;
  }
  int best = 0;
  for (int slot = 1; slot <= kSlots; ++slot) {
    const HandSlot& t = h.s.Hand[h.seat][slot];
    if (t.State != 0) continue;
    const HandSlot* b = best == 0 ? nullptr : &h.s.Hand[h.seat][best];
    if (b == nullptr || t.PipA + t.PipB > b->PipA + b->PipB) best = slot;
  }
  return best;
}

}  // namespace

LeadChoice ChooseLead(const GameState& s, int seat) {
  const Hand h{s, seat};
  std::array<int, kPips> doubles{};
  const int found = DoublesOf(h, doubles);
  const int declared = s.SeatDoubles[seat];
  Named named;
  LeadStep step = LeadStep::kNone;
  if (declared == 1 && found == 1) {
    named = OneDouble(h, doubles[0]);
    step = LeadStep::kOneDouble;
  } else if (declared == 2 && found == 2) {
    named = TwoDoubles(h, doubles[0], doubles[1]);
    step = LeadStep::kTwoDoubles;
  } else if (declared >= 3 && found >= 3) {
    named = ManyDoubles(h, doubles, found);
    step = LeadStep::kManyDoubles;
  }
  LeadChoice lead;
  if (named.Any()) {
    lead = {h.Held(named.a, named.b), step};
  } else {
    lead = {LongestSuit(h), LeadStep::kLongestSuit};
  }
  if (lead.Slot == 0) lead = {Fallback(h), LeadStep::kFallback};
  if (lead.Slot == 0) lead.Step = LeadStep::kNone;
  return lead;
}

}  // namespace tarvelis
