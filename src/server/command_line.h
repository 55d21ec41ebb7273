// What the server and the bots share on their command lines and at start:
// reading HOST:PORT, and making room for thousands of sockets.
#pragma once

#include <QString>

namespace tarvelis::server {

// "HOST:PORT", the host in brackets allowed (an IPv6 address); false for
// anything else.
bool SplitHostPort(const QString& text, QString& host, quint16& port);

// Each client holds a socket; a thousand tables need some four thousand.
// Raises the process's limit of open files as far as it may go and returns
// the limit in force.
long RaiseOpenFileLimit();

}  // namespace tarvelis::server
