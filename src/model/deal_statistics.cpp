#include "model/deal_statistics.h"

namespace tarvelis {

void ComputeDealStatistics(GameState& s) {
  for (int seat = 1; seat <= kSeats; ++seat) {
    for (int slot = 1; slot <= kSlots; ++slot) {
      const HandSlot& t = s.Hand[seat][slot];
      if (t.PipA < 0 || t.PipA >= kPips || t.PipB < 0 || t.PipB >= kPips) continue;
      ++s.SeatPipCount[seat][t.PipA];
      if (t.PipB != t.PipA) {
        ++s.SeatPipCount[seat][t.PipB];
      } else {
        s.DoubleHolder[t.PipA] = static_cast<i16>(seat);
        ++s.SeatDoubles[seat];
      }
    }
  }
}

void ComputeRanks(GameState& s) {
  for (int seat = 1; seat <= kSeats; ++seat) {
    int rank = 0;
    for (int c = kSlots; c >= 0; --c) {
      for (int p = kPips - 1; p >= 0; --p) {
        if (s.SeatPipCount[seat][p] == c && rank < kSlots) {
          s.SeatPipRank[seat][++rank] = static_cast<i16>(p);
        }
      }
    }
  }
}

}  // namespace tarvelis
