// A seat taken at a server's table: what the window that creates or joins a
// table hands to the table window, which then plays the match there.
#pragma once

#include <string>

#include "net/server_address.h"

namespace tarvelis::net {

struct JoinedTable {
  ServerAddress Address;
  std::string Code;   // the table's ten-character code
  int Seat = 0;       // 1..4: the seat this game plays, drawn at the bottom
  std::string Token;  // the seat's secret: the way back after a drop
  bool Host = false;  // this game created the table
};

}  // namespace tarvelis::net
