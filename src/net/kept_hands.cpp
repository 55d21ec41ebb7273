#include "net/kept_hands.h"

#include <set>
#include <utility>

namespace tarvelis::net {

bool WholeDeal(const GameState& s) {
  std::set<std::pair<int, int>> tiles;
  for (int seat = 1; seat <= kSeats; ++seat) {
    for (int slot = 1; slot <= kSlots; ++slot) {
      const HandSlot& t = s.Hand[seat][slot];
      if (t.PipA < 0 || t.PipA > 6 || t.PipB < 0 || t.PipB > 6) return false;
      tiles.insert({std::min(t.PipA, t.PipB), std::max(t.PipA, t.PipB)});
    }
  }
  return tiles.size() == static_cast<std::size_t>(kTiles);
}

KeptHand KeepHand(const GameState& s, const PerSeat<SeatPlay>& play) {
  KeptHand k;
  k.Flags = s;
  k.Hands = s;
  k.Ends = s;
  k.Record = s.MoveRecord;
  k.PipsLeft = s.SeatPipsLeft;
  for (int seat = 1; seat <= kSeats; ++seat) {
    // A person is read as a person; the computer as the level it plays at.
    k.Control[seat] = play[seat].Person ? kManual : kAutomatic;
    k.Level[seat] = play[seat].Level;
    k.Expert[seat] = play[seat].Expert;
  }
  return k;
}

void PutKeptHand(GameState& s, const KeptHand& k) {
  const bool match = s.MatchInProgress;
  const bool notice = s.NoticeShown;
  static_cast<MatchFlags&>(s) = k.Flags;
  s.MatchInProgress = match;
  s.NoticeShown = notice;
  s.HandInProgress = false;
  static_cast<DealtHands&>(s) = k.Hands;
  static_cast<ChainEnds&>(s) = k.Ends;
  s.MoveRecord = k.Record;
  s.SeatPipsLeft = k.PipsLeft;
  s.SeatControl = k.Control;
  s.SeatLevel = k.Level;
  s.SeatExpert = k.Expert;
  s.RecorderOn = false;
  s.RecorderBusy = false;
  s.LiveMoveNumber = 0;
}

}  // namespace tarvelis::net
