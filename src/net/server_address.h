// Where a table server is, as a player types it: "host:port", "[::1]:port",
// a bare host (the server's usual port), or a ws:// or wss:// address.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvelis::net {

inline constexpr int kDefaultServerPort = 7777;

struct ServerAddress {
  bool Secure = false;  // wss://: the server was started with a certificate
  std::string Host;     // a name or an address, without brackets
  int Port = kDefaultServerPort;

  // The WebSocket address to open.
  std::string Url() const;
  // As a player would type it back: "host:port" ("[::1]:port" for IPv6).
  std::string Text() const;
  bool operator==(const ServerAddress&) const = default;
};

// Nothing is looked up here: the text is only read. Empty, a port out of
// range, a path, blanks or characters no host name has give nothing.
std::optional<ServerAddress> ParseServerAddress(std::string_view text);

}  // namespace tarvelis::net
