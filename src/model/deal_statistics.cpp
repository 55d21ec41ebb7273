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
  // A pip's rank counts the pips held more often, and those held as often
  // that are higher; a count outside 0..kSlots is never ranked. Counted rather
  // than sorted, without a branch on the counts.
  for (int seat = 1; seat <= kSeats; ++seat) {
    const auto& count = s.SeatPipCount[seat];
    for (int p = 0; p < kPips; ++p) {
      if (count[p] < 0 || count[p] > kSlots) continue;
      int rank = 1;
      for (int q = 0; q < kPips; ++q) {
        rank += static_cast<int>(count[q] > count[p]) & static_cast<int>(count[q] <= kSlots);
        rank += static_cast<int>(count[q] == count[p]) & static_cast<int>(q > p);
      }
      if (rank <= kSlots) s.SeatPipRank[seat][rank] = static_cast<i16>(p);
    }
  }
}

}  // namespace tarvelis
