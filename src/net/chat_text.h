// A line of a server's chat, as this game shows it in the room and at the
// table: a stranger's text, cleaned again whatever the server did.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvelis::net {

// The longest line kept, in bytes.
inline constexpr std::size_t kChatTextBytes = 200;

// No control characters nor the marks that turn text around, a byte that
// starts no character made U+FFFD, blanks run together and trimmed, at most
// kChatTextBytes cut at a character's edge.
std::string CleanChatText(std::string_view utf8);

}  // namespace tarvelis::net
