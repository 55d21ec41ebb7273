// What a table keeps for the ratings: who is rated at each seat (a key hash,
// never the key) and the hands each seat won. Both go into the table's file,
// so a server restarted in the middle of a match still rates it whole; a
// file written before they existed simply has neither line.
#include <charconv>
#include <ostream>

#include "server/server_table.h"

namespace tarvelis::server {
namespace {

// A key hash is SHA-256 in lowercase hex.
constexpr std::size_t kKeyHashLength = 64;

bool IsKeyHashText(std::string_view text) {
  return text.size() == kKeyHashLength &&
         text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// The next number of `line` after a blank, within 0..most.
bool NextNumber(std::string_view& line, int most, int& value) {
  if (line.empty() || line.front() != ' ') return false;
  line.remove_prefix(1);
  const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), value);
  if (ec != std::errc() || value < 0 || value > most) return false;
  line.remove_prefix(static_cast<std::size_t>(end - line.data()));
  return true;
}

}  // namespace

void ServerTable::SetKeyHash(int seat, std::string keyHash) {
  if (seat < 1 || seat > kSeats || !IsKeyHashText(keyHash)) return;
  if (seats_[seat].KeyHash == keyHash) return;
  seats_[seat].KeyHash = std::move(keyHash);
  dirty_ = true;
}

void ServerTable::SetPublic(bool open) {
  if (public_ == open) return;
  public_ = open;
  dirty_ = true;
}

void ServerTable::CountHandWon(int winner) {
  const bool pairs = state_.RuleMode == kModePairs;
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (winner != 0 && (pairs ? PairOfSeat(seat) == winner : seat == winner)) ++handsWon_[seat];
  }
}

void ServerTable::WriteRatedLines(std::ostream& out) const {
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (!seats_[seat].KeyHash.empty()) out << "key " << seat << ' ' << seats_[seat].KeyHash << '\n';
  }
  if (public_) out << "public\n";
  out << "won";
  for (int seat = 1; seat <= kSeats; ++seat) out << ' ' << handsWon_[seat];
  out << '\n';
}

bool ServerTable::ReadRatedLine(std::string_view line) {
  int seat = 0;
  if (line == "public") {
    public_ = true;
    return true;
  }
  if (line.substr(0, 3) == "key") {
    line.remove_prefix(3);
    if (!NextNumber(line, kSeats, seat) || seat < 1 || line.empty() || line.front() != ' ')
      return false;
    line.remove_prefix(1);
    if (!IsKeyHashText(line)) return false;
    seats_[seat].KeyHash = std::string(line);
    return true;
  }
  if (line.substr(0, 3) != "won") return false;
  line.remove_prefix(3);
  // No match has more hands than its log holds.
  for (seat = 1; seat <= kSeats; ++seat) {
    if (!NextNumber(line, kHandLogSize, handsWon_[seat])) return false;
  }
  return line.empty();
}

}  // namespace tarvelis::server
