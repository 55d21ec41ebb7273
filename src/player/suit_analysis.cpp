#include "player/suit_analysis.h"

namespace tarvelis {

int SideOf(const GameState& s, int decider, int seat) {
  return seat == decider || seat == s.Partner[decider] ? kOwnSide : kOtherSide;
}

std::array<SuitAnalysis, kPips> AnalizaPalos(const GameState& s, int decider) {
  std::array<SuitAnalysis, kPips> all{};
  PerSeat<int> seatPips{};
  std::array<int, 3> sidePips{};
  for (int seat = 1; seat <= kSeats; ++seat) {
    const int side = SideOf(s, decider, seat);
    for (int slot = 1; slot <= kSlots; ++slot) {
      const HandSlot& t = s.Hand[seat][slot];
      const bool played = t.State != 0;
      if (!played) {
        seatPips[seat] += t.PipA + t.PipB;
        sidePips[side] += t.PipA + t.PipB;
      }
      const bool isDouble = t.PipA == t.PipB;
      for (const int x : {t.PipA, t.PipB}) {
        if (x < 0 || x >= kPips) continue;
        SuitAnalysis& a = all[x];
        if (played) {
          ++a.Played;
          a.Seen[t.PipA == x ? t.PipB : t.PipA] = true;
          if (isDouble) a.DoublePlayed = true;
        } else {
          ++a.Held[seat];
          if (isDouble) a.DoubleSide = side;
        }
        if (isDouble) break;  // a double counts once in its suit
      }
    }
  }
  for (SuitAnalysis& a : all) {
    a.SeatPips = seatPips;
    a.SidePips = sidePips;
  }
  return all;
}

}  // namespace tarvelis
