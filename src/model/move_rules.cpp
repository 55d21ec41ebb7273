#include "model/move_rules.h"

#include <utility>

namespace tarvelis {

bool SixDoubleForced(const GameState& s) {
  return s.HandNumber == 1 && s.RuleFirstLead == kFirstLeadSixDouble &&
         s.RuleNextLead != kNextLeadChoose;
}

bool EsJugable(const GameState& s, int seat, int slot) {
  if (seat < 1 || seat > kSeats || slot < 1 || slot > kSlots) return false;
  const HandSlot& t = s.Hand[seat][slot];
  if (t.State != 0) return false;
  if (s.MoveNumber == 1) {
    return !SixDoubleForced(s) || (t.PipA == 6 && t.PipB == 6);
  }
  return t.PipA == s.EndPips[1] || t.PipA == s.EndPips[2] || t.PipB == s.EndPips[1] ||
         t.PipB == s.EndPips[2];
}

CandidateList ListCandidates(const GameState& s, int seat) {
  CandidateList list;
  for (int slot = 1; slot <= kSlots; ++slot) {
    const HandSlot& t = s.Hand[seat][slot];
    if (t.State != 0) continue;
    const i16 sides[2][2] = {{t.PipA, t.PipB}, {t.PipB, t.PipA}};
    for (int side = 0; side < 2; ++side) {
      if (side == 1 && t.PipA == t.PipB) break;  // a double is one candidate
      i16 m = sides[side][0];
      if (m != s.EndPips[1] && m != s.EndPips[2]) continue;
      list.Items[list.Count++] = Candidate{m, sides[side][1]};
    }
  }
  if (s.SeatTileCount[seat] == 1 && list.Count == 2) list.Count = 1;
  return list;
}

int EndForCandidate(const GameState& s, const Candidate& c) {
  return c.Matching == s.EndPips[2] ? 2 : 1;
}

ChosenMove MoveOfCandidate(const GameState& s, const Candidate& c) {
  return ChosenMove{c.Matching, c.Other, EndForCandidate(s, c)};
}

void PutInHand(GameState& s, const ChosenMove& m) {
  s.PlayPipA = static_cast<i16>(m.PipA);
  s.PlayPipB = static_cast<i16>(m.PipB);
  s.PlayEnd = static_cast<i16>(m.End);
  s.PlayEvaluated = m.Evaluated;
}

void TakeCandidate(GameState& s, const Candidate& c) {
  const ChosenMove m = MoveOfCandidate(s, c);
  s.PlayPipA = static_cast<i16>(m.PipA);
  s.PlayPipB = static_cast<i16>(m.PipB);
  s.PlayEnd = static_cast<i16>(m.End);
}

int BuscaHueco(const GameState& s, int a, int b, int seat) {
  if (seat < 1 || seat > kSeats) return 0;
  for (int slot = 1; slot <= kSlots; ++slot) {
    const HandSlot& t = s.Hand[seat][slot];
    if ((t.PipA == a && t.PipB == b) || (t.PipA == b && t.PipB == a)) return slot;
  }
  return 0;
}

TileOwner DuenoFicha(const GameState& s, int a, int b) {
  for (int seat = 1; seat <= kSeats; ++seat) {
    int slot = BuscaHueco(s, a, b, seat);
    if (slot != 0) return TileOwner{seat, s.Hand[seat][slot].State == 1};
  }
  return TileOwner{};
}

void CambiaFicha(GameState& s) {
  std::swap(s.PlayPipA, s.PlayPipB);
}

void OrientMove(GameState& s) {
  if (s.PlayEnd != kPassEnd && s.MoveNumber != 1) {
    if (s.EndPips[1] == s.EndPips[2]) {
      s.PlayEnd = s.EndCount[1] >= s.EndCount[2] ? 2 : 1;
    }
    if (s.PlayPipA != s.EndPips[s.PlayEnd]) CambiaFicha(s);
  } else if (s.PlayEnd != kPassEnd) {
    s.PlayEnd = 1;
  }
  s.PlayIsDouble = s.PlayPipA == s.PlayPipB;
}

int PlayedWithPip(const GameState& s, int p) {
  int n = 0;
  for (int seat = 1; seat <= kSeats; ++seat) {
    for (int slot = 1; slot <= kSlots; ++slot) {
      const HandSlot& t = s.Hand[seat][slot];
      if (t.State == 1 && (t.PipA == p || t.PipB == p)) ++n;
    }
  }
  return n;
}

bool UserChoosesEnd(const GameState& s, int seat, const HandSlot& t) {
  const int e1 = s.EndPips[1];
  const int e2 = s.EndPips[2];
  if (e1 == e2) return false;
  const bool fitsBoth = (t.PipA == e1 && t.PipB == e2) || (t.PipB == e1 && t.PipA == e2);
  const bool sameEitherWay = PlayedWithPip(s, t.PipA) >= 6 && PlayedWithPip(s, t.PipB) >= 6;
  return s.SeatTileCount[seat] > 1 && fitsBoth && !sameEitherWay;
}

bool ChainBlocked(const GameState& s) {
  return s.EndPips[1] == s.EndPips[2] && s.EndPips[1] != kNoPip &&
         PlayedWithPip(s, s.EndPips[1]) == 7;
}

}  // namespace tarvelis
