#include "model/move_rules.h"

#include <bit>
#include <cstdint>
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
  // Every side is written and counted only when it fits, without a branch
  // on the tiles: which sides fit is as good as random, and this list is
  // made at every move.
  CandidateList list;
  const int e1 = s.EndPips[1];
  const int e2 = s.EndPips[2];
  int count = 0;
  for (int slot = 1; slot <= kSlots; ++slot) {
    const HandSlot& t = s.Hand[seat][slot];
    const bool held = t.State == 0;
    const bool aFits = held & ((t.PipA == e1) | (t.PipA == e2));
    const bool bFits = held & (t.PipA != t.PipB) & ((t.PipB == e1) | (t.PipB == e2));
    // At most 13 sides come before the last one written, so both stay inside.
    list.Items[count] = Candidate{t.PipA, t.PipB};
    count += aFits;
    list.Items[count] = Candidate{t.PipB, t.PipA};
    count += bFits;
  }
  // What was written past the count is cleared, as the list promises nothing there.
  for (int i = count; i < kMaxCandidates; ++i) list.Items[i] = Candidate{};
  list.Count = count;
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
  if (a != static_cast<i16>(a) || b != static_cast<i16>(b)) return 0;
  // Each slot's two pips as one word, held either way round, and a bit for
  // each slot that matches; the lowest is the first. No branch on the tiles:
  // this runs twice a move, and which slot matches is as good as random.
  const auto word = [](int x, int y) {
    return static_cast<std::uint32_t>(static_cast<std::uint16_t>(x)) |
           static_cast<std::uint32_t>(static_cast<std::uint16_t>(y)) << 16;
  };
  const std::uint32_t one = word(a, b);
  const std::uint32_t other = word(b, a);
  unsigned matches = 0;
  for (int slot = 1; slot <= kSlots; ++slot) {
    const HandSlot& t = s.Hand[seat][slot];
    const std::uint32_t held = word(t.PipA, t.PipB);
    matches |= static_cast<unsigned>((held == one) | (held == other)) << slot;
  }
  // No match: the bit past the last slot, which the mask turns into 0.
  static_assert(kSlots < 8);
  return std::countr_zero(matches | (1u << 8)) & 7;
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
      n += (t.State == 1) & ((t.PipA == p) | (t.PipB == p));
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
