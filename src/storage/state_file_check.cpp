#include "storage/state_file_check.h"

#include <array>

namespace tarvelis {
namespace {

bool IsSeat(int v) {
  return v >= 1 && v <= kSeats;
}
bool IsPip(int v) {
  return v >= 0 && v < kPips;
}
bool IsHeading(int v) {
  return v >= kHeadLeft && v <= kHeadDown;
}

// One bit per tile, the lower pip first, so {a, b} and {b, a} are one tile.
using TileSet = std::array<bool, kPips * kPips>;
int TileIndex(int a, int b) {
  return a < b ? a * kPips + b : b * kPips + a;
}

// Every tile once in the 4 x 7 slots, with slot states 0 or 1.
std::string_view SlotFault(const GameState& s) {
  TileSet dealt{};
  for (int seat = 1; seat <= kSeats; ++seat) {
    for (int k = 1; k <= kSlots; ++k) {
      const HandSlot& slot = s.Hand[seat][k];
      if (!IsPip(slot.PipA) || !IsPip(slot.PipB)) return "a hand holds a pip out of range";
      if (slot.State != 0 && slot.State != 1) return "a slot state is neither held nor played";
      bool& seen = dealt[TileIndex(slot.PipA, slot.PipB)];
      if (seen) return "a tile is dealt twice";
      seen = true;
    }
  }
  return {};
}

// The counts kept beside the hands agree with the tiles dealt.
std::string_view CountFault(const GameState& s) {
  PerPip<int> holder{};
  for (int seat = 1; seat <= kSeats; ++seat) {
    int held = 0;
    int doubles = 0;
    PerPip<int> count{};
    for (int k = 1; k <= kSlots; ++k) {
      const HandSlot& slot = s.Hand[seat][k];
      held += slot.State == 0;
      ++count[slot.PipA];
      if (slot.PipA == slot.PipB) {
        ++doubles;
        holder[slot.PipA] = seat;
      } else {
        ++count[slot.PipB];
      }
    }
    if (s.SeatTileCount[seat] != held) return "a tile count disagrees with the slots";
    if (s.SeatDoubles[seat] != doubles) return "a count of doubles disagrees with the hand";
    std::array<bool, kPips> ranked{};
    for (int k = 1; k <= kSlots; ++k) {
      const int pip = s.SeatPipRank[seat][k];
      if (!IsPip(pip) || ranked[pip]) return "a suit ranking is not the seven pip values";
      ranked[pip] = true;
    }
    for (int pip = 0; pip < kPips; ++pip) {
      if (s.SeatPipCount[seat][pip] != count[pip]) return "a suit count disagrees with the hand";
    }
  }
  for (int pip = 0; pip < kPips; ++pip) {
    if (s.DoubleHolder[pip] != holder[pip]) return "a double's holder disagrees with the hands";
  }
  return {};
}

int FindSlot(const GameState& s, int seat, int a, int b) {
  for (int k = 1; k <= kSlots; ++k) {
    const HandSlot& slot = s.Hand[seat][k];
    if ((slot.PipA == a && slot.PipB == b) || (slot.PipA == b && slot.PipB == a)) return k;
  }
  return 0;
}

// Replays the ends through the record: each tile meets the end it was laid on,
// was dealt to the seat that played it and is marked played, once; and every
// played slot has its record.
std::string_view RecordFault(const GameState& s) {
  PerEnd<int> pips{0, kNoPip, kNoPip};
  PerEnd<int> laid{};
  TileSet recorded{};
  int tiles = 0;
  for (int n = 1; n < s.MoveNumber; ++n) {
    const MoveEntry& m = s.MoveRecord[n];
    if (!IsSeat(m[kFSeat])) return "a move's seat is out of range";
    const int end = m[kFEnd];
    if (end == kPassEnd && n == 1) return "the lead is a pass";
    if (n > 1 && (m[kFEnd1PipsBefore] != pips[1] || m[kFEnd2PipsBefore] != pips[2])) {
      return "a move's ends disagree with the moves before it";
    }
    if (end == kPassEnd) continue;
    if (end != 1 && end != 2) return "a move's end is out of range";
    if (n == 1 && end != 1) return "the lead is not on end 1";
    const int a = m[kFPipA];
    const int b = m[kFPipB];
    if (!IsPip(a) || !IsPip(b)) return "a move's tile is out of range";
    if (!IsHeading(m[kFHeadingBefore]) || !IsHeading(m[kFHeadingAfter])) {
      return "a move's heading is out of range";
    }
    if (n == 1) {
      pips[2] = a;  // the lead's pip A shows at end 2 at once
    } else if (a != pips[end]) {
      return "a tile does not meet the end it was laid on";
    }
    pips[end] = b;
    ++laid[end];
    const int slot = FindSlot(s, m[kFSeat], a, b);
    if (slot == 0) return "a recorded tile was not dealt to the seat that played it";
    if (s.Hand[m[kFSeat]][slot].State != 1) return "a recorded tile is still held";
    bool& seen = recorded[TileIndex(a, b)];
    if (seen) return "a tile is recorded twice";
    seen = true;
    ++tiles;
  }
  int played = 0;
  for (int seat = 1; seat <= kSeats; ++seat) played += kSlots - s.SeatTileCount[seat];
  if (played != tiles) return "a played tile is missing from the move record";
  for (int end = 1; end <= 2; ++end) {
    if (s.EndCount[end] != laid[end]) return "an arm's tile count disagrees with the record";
    if (tiles > 0 && s.EndPips[end] != pips[end]) return "an end disagrees with the record";
  }
  return {};
}

std::string_view HandFault(const GameState& s) {
  if (s.HandNumber < 1) return "a hand is in progress before the first deal";
  if (s.MoveNumber < 1 || s.MoveNumber >= static_cast<int>(s.MoveRecord.size())) {
    return "the move number is out of range";
  }
  if (!IsSeat(s.CurrentSeat) || !IsSeat(s.LeadSeat)) return "a seat number is out of range";
  if (s.DirectionStep != 1 && s.DirectionStep != -1) return "the direction is out of range";
  for (int end = 1; end <= 2; ++end) {
    if (!IsHeading(s.EndHeading[end])) return "an arm's heading is out of range";
    if (!IsPip(s.EndPips[end]) && s.EndPips[end] != kNoPip) return "an end is out of range";
  }
  for (auto check : {SlotFault, CountFault, RecordFault}) {
    if (auto fault = check(s); !fault.empty()) return fault;
  }
  return {};
}

}  // namespace

std::string_view MatchFault(const GameState& s) {
  if (!s.MatchInProgress) return s.HandInProgress ? "a hand is in progress without a match" : "";
  if (s.HandNumber < 0 || s.HandNumber > kHandLogSize) return "the hand number is out of range";
  if (s.HandWinner < 0 || s.HandWinner > kSeats) return "the last winner is out of range";
  if (s.HandNumber >= 1 && !IsSeat(s.LeadSeat)) return "the leading seat is out of range";
  return s.HandInProgress ? HandFault(s) : std::string_view{};
}

}  // namespace tarvelis
