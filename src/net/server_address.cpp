#include "net/server_address.h"

#include <algorithm>
#include <cctype>

namespace tarvelis::net {
namespace {

bool IsHostChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return std::isalnum(u) != 0 || c == '.' || c == '-' || c == '_' || c == ':';
}

std::optional<int> ReadPort(std::string_view text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  int port = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    port = port * 10 + (c - '0');
  }
  if (port < 1 || port > 65535) return std::nullopt;
  return port;
}

}  // namespace

std::string ServerAddress::Text() const {
  const bool v6 = Host.find(':') != std::string::npos;
  return (v6 ? "[" + Host + "]" : Host) + ":" + std::to_string(Port);
}

std::string ServerAddress::Url() const {
  return (Secure ? "wss://" : "ws://") + Text();
}

std::optional<ServerAddress> ParseServerAddress(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  ServerAddress a;
  if (text.starts_with("wss://")) {
    a.Secure = true;
    text.remove_prefix(6);
  } else if (text.starts_with("ws://")) {
    text.remove_prefix(5);
  }
  if (text.ends_with('/')) text.remove_suffix(1);
  std::string_view host = text;
  if (text.starts_with('[')) {
    // [v6]:port or [v6]
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    host = text.substr(1, close - 1);
    std::string_view rest = text.substr(close + 1);
    if (!rest.empty()) {
      if (rest.front() != ':') return std::nullopt;
      const auto port = ReadPort(rest.substr(1));
      if (!port) return std::nullopt;
      a.Port = *port;
    }
  } else {
    const std::size_t colon = text.rfind(':');
    // More than one colon without brackets is a bare IPv6 address.
    if (colon != std::string_view::npos && text.find(':') == colon) {
      host = text.substr(0, colon);
      const auto port = ReadPort(text.substr(colon + 1));
      if (!port) return std::nullopt;
      a.Port = *port;
    }
  }
  if (host.empty() || host.size() > 253 || !std::all_of(host.begin(), host.end(), IsHostChar)) {
    return std::nullopt;
  }
  a.Host = std::string(host);
  return a;
}

}  // namespace tarvelis::net
