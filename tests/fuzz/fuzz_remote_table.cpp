// Any bytes as what a server sends a seated or watching game: one message a
// line, the first byte choosing the seat the game sits at (0: it watches). Whatever the lines,
// reading them never leaves the mirror holding what the table cannot draw: names no longer than a
// player can type, seats, pips, counts and numbers within the state's fields, each seat's count the
// tiles it holds, and a question whose tiles are tiles; a watcher is never asked, and every hand
// kept for the review holds the whole set.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/game_state.h"
#include "model/move_record.h"
#include "model/names.h"
#include "net/kept_hands.h"
#include "net/remote_table.h"

namespace {

using namespace tarvelis;
using namespace tarvelis::net;

std::size_t Characters(const std::string& utf8) {
  std::size_t n = 0;
  for (const char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return n;
}

bool PipOk(int pip) {
  return (pip >= 0 && pip <= 6) || pip == kNoPip;
}

void Check(const GameState& s, const RemoteTable& remote, const std::vector<NetEvent>& events) {
  bool ok = s.HandNumber >= 0 && s.MoveNumber >= 0 && s.MoveNumber <= kMoveRecordLimit &&
            s.MoveRecord.size() <= static_cast<std::size_t>(kMoveRecordLimit) + 1 &&
            s.CurrentSeat >= 0 && s.CurrentSeat <= kSeats && s.LeadSeat >= 0 &&
            s.LeadSeat <= kSeats && remote.MatchWinner() >= 0 && remote.MatchWinner() <= kSeats;
  for (int seat = 1; seat <= kSeats; ++seat) {
    ok = ok && Characters(s.SeatName[seat]) <= static_cast<std::size_t>(kMaxNameLength) &&
         s.SeatTotal[seat] >= 0 && s.SeatTileCount[seat] >= 0 && s.SeatTileCount[seat] <= kSlots;
    int held = 0;
    for (int slot = 1; slot <= kSlots; ++slot) {
      ok = ok && PipOk(s.Hand[seat][slot].PipA) && PipOk(s.Hand[seat][slot].PipB);
      held += s.Hand[seat][slot].State == 0 ? 1 : 0;
    }
    // The count a seat shows is the tiles it holds, in a hand under way.
    ok = ok && (!s.HandInProgress || s.SeatTileCount[seat] == held);
  }
  ok = ok && s.PairTotal[1] >= 0 && s.PairTotal[2] >= 0;
  ok = ok && remote.Playable().size() <= static_cast<std::size_t>(kSlots);
  for (const PlayableTile& t : remote.Playable()) ok = ok && PipOk(t.PipA) && PipOk(t.PipB);
  ok = ok && (!remote.Watching() || (!remote.Asked() && remote.Playable().empty()));
  if (!remote.KeptHands().empty()) {
    GameState hand;
    PutKeptHand(hand, remote.KeptHands().back());
    ok = ok && WholeDeal(hand);
  }
  for (const NetEvent& e : events) {
    ok = ok && (e.Kind != NetEventKind::kChat || e.Text.size() <= kChatTextBytes);
    ok = ok && e.Seat >= 0 && e.Seat <= kSeats && e.Move >= 0 && e.Move <= kMoveRecordLimit;
  }
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  GameState mirror;
  RemoteTable remote(mirror, static_cast<unsigned char>(bytes[0]) % (kSeats + 1));
  bytes.remove_prefix(1);
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    const std::string_view line = bytes.substr(0, end);
    bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
    const std::vector<NetEvent> events = remote.Read(line);
    Check(mirror, remote, events);
  }
  return 0;
}
