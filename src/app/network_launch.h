// The ways from the running program to a server's table that other windows
// and the command line take. The program holds the table window and the
// local match; these reach it without holding it.
#pragma once

#include <QStringList>
#include <string>

#include "net/server_address.h"

namespace tarvelis {

// Watches the public table `code` at `address` on the table window, read
// only: every hand by its backs until it closes, nothing clicked plays or
// changes the match, the chat open. The local match is set aside meanwhile
// and comes back after, as after a match played at a server's table. It
// returns once the player stops watching or the match is over and left;
// call it from the window's event loop, as a button's handler does, once
// the caller's own windows are closed. False when no program is running, a
// networked match is on the table already, or the server refused (the
// player was told why).
bool WatchNetworkTable(const net::ServerAddress& address, const std::string& code);

// The words after "--watch" (an address and a code); none when the
// arguments do not ask to watch. "--watch" alone gives one empty word, so
// the player is told how to write it.
QStringList WatchWordsOf(const QStringList& arguments);

}  // namespace tarvelis
