// What each address may still ask of the port's page: its connections not
// yet handed to the WebSocket server (those waiting for their request head
// and those being answered a file), and its requests a minute. One address
// loading the page over and over cannot keep another from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "protocol/protocol.h"

namespace tarvelis::server {

class PageLedger {
 public:
  // A page loads in some twenty requests, six at a time at most: the
  // defaults let a household behind one address load it a few times a
  // minute, and open a burst of WebSockets at once (each counts here until
  // its request head is read).
  static constexpr int kDefaultOpen = 32;
  static constexpr int kDefaultRequestsPerMinute = 120;

  explicit PageLedger(int maxOpen = kDefaultOpen, int requestsPerMinute = kDefaultRequestsPerMinute)
      : maxOpen_(maxOpen), perMinute_(requestsPerMinute) {}

  // A connection from `address`; false when it has its share open already,
  // or when it was refused kStrikes requests in a row and has none yet
  // again: a flood is then closed unheard, costing the loop next to
  // nothing, and the address's WebSockets wait with it. An address that
  // only reloads the page a few times too often is answered 429 instead.
  static constexpr int kStrikes = 10;
  bool Open(const std::string& address, std::int64_t now);
  void Close(const std::string& address, std::int64_t now);
  // A request for one of the page's files; false past the address's rate.
  bool Request(const std::string& address, std::int64_t now);
  // Forgets the addresses with nothing open whose requests refilled (a
  // minute after their last): the ledger holds only those seen lately.
  void Prune(std::int64_t now);
  std::size_t Addresses() const { return addresses_.size(); }

 private:
  struct Entry {
    int Open = 0;
    FloodGate Requests;
    int Refused = 0;  // requests refused since the last admitted
    std::int64_t LastAt = 0;
  };
  Entry& At(const std::string& address, std::int64_t now);

  int maxOpen_;
  int perMinute_;
  std::unordered_map<std::string, Entry> addresses_;
};

}  // namespace tarvelis::server
