// Reading the parts of a server's messages that several of the mirror's
// readers share: tiles, numbers, flags, the seats and a chat line. Every
// value comes back in the range the table's state holds, or not at all: a
// server's text is a stranger's.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/game_state.h"
#include "net/chat_text.h"
#include "protocol/json.h"

namespace tarvelis::net {

// Hand numbers, totals and points go into the state's 16-bit fields.
inline constexpr int kMaxHand = 32767;
inline constexpr int kMaxTotal = 32767;
inline constexpr int kMaxPoints = 9999;

// kComputer: nobody sat at the seat (the computer's, or a person's not taken).
enum class SeatPresence : std::uint8_t { kPresent, kAway, kComputer };

std::optional<HandSlot> TileOf(const server::Json* j);
bool SameTile(const HandSlot& t, int a, int b);
// One more tile of a seat's hand: the set holds every tile once, so a tile
// named twice (a damaged message) is taken once, or the seat's count and the
// tiles it holds would part at its next move.
void AddTile(std::vector<HandSlot>& tiles, const HandSlot& t);
std::vector<HandSlot> TilesOf(const server::Json* j);
// The whole numbers of an array of `n`, each in [lo, hi]; nothing when the
// array is missing, shorter, or holds anything else.
std::optional<std::vector<int>> NumbersOf(const server::Json* j, std::size_t n, int lo, int hi);
bool FlagOf(const server::Json& j, std::string_view key);

// A "seats" array, in the server's numbers.
struct SeatsView {
  PerSeat<std::string> Name;
  PerSeat<SeatPresence> Presence{};
  PerSeat<bool> Person{};
  PerSeat<bool> Expert{};
  PerSeat<i16> Level{0, 50, 50, 50, 50};  // a computer seat's, 0..100
  bool Valid = false;
};
SeatsView ReadSeatsView(const server::Json* j);

}  // namespace tarvelis::net
