// An invitation to a seat at a server's table, as a friend passes it on: the
// arguments "--join ADDRESS CODE SEAT [NAME]", or a link
// "tarvelis://host:port/CODE/SEAT" that the desktop hands to the game when it
// is clicked in a chat. A link comes from anybody, so it is only read, never
// trusted: anything out of its shape gives nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/server_address.h"

namespace tarvelis::net {

inline constexpr std::string_view kInvitationScheme = "tarvelis://";

struct Invitation {
  ServerAddress Address;
  std::string Code;  // ten characters, in capitals
  int Seat = 0;      // 1..4
  std::string Name;  // empty: the player's own name
  bool operator==(const Invitation&) const = default;
};

// "host:port/CODE/SEAT" after the scheme, a trailing "/" allowed; the host
// may be "[v6]". The code is read as the network window reads a typed one.
std::optional<Invitation> ParseInvitationLink(std::string_view link);

// The words after "--join": an address (or a whole link), a code and a
// seat, and maybe a name.
std::optional<Invitation> ParseJoinArguments(const std::vector<std::string>& words);

// The link to pass on for seat `seat` of table `code` at `address`.
std::string InvitationLink(const ServerAddress& address, std::string_view code, int seat);

}  // namespace tarvelis::net
