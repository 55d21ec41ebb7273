// A server's message being read by the mirror: its JSON and the members most
// types carry, already in range (0 where missing or out of range).
#pragma once

#include "protocol/json.h"

namespace tarvelis::net {

struct Incoming {
  const server::Json& J;
  int Hand = 0;
  int Move = 0;
  int Seat = 0;  // local
};

}  // namespace tarvelis::net
