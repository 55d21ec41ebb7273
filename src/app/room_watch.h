// "Mirar" in a server's room: the one place the room hands a public table
// over to be watched.
#pragma once

#include <string>

#include "net/server_address.h"

class QWidget;

namespace tarvelis {

struct GameState;

// Watches table `code` at `address`, read-only, over `over`.
void WatchFromRoom(GameState& state, const net::ServerAddress& address, const std::string& code,
                   QWidget* over);

}  // namespace tarvelis
