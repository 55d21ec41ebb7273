// tarvelis-server's command line: every option, its bounds and its default.
// An option out of its bounds stops the server with its usage before it
// starts.
#pragma once

#include <QString>
#include <QStringList>

#include "server/hall.h"
#include "server/page_server.h"

namespace tarvelis::server {

extern const char* const kServerUsage;

struct ServerOptions {
  QString Host = "127.0.0.1";
  quint16 Port = 7777;
  QString Cert;
  QString Key;
  HallOptions Hall;
  int StopAfterSeconds = 0;
  // A client that does not read its messages is cut once this much waits.
  qint64 MaxUnsentBytes = 64 * 1024;
  // Descriptors kept for the tables' files, whatever the connections take.
  long ReserveFiles = 64;
  int LogSeconds = 60;
  // The threads that weigh the computer's moves.
  int MoveThreads = 2;
  // The browser's page; empty takes the one installed beside the binary.
  QString PageFolder;
  // The players' ratings; empty keeps them in ratings.sqlite in the tables'
  // folder.
  QString Ratings;
  // What an address may cost the page, and a WebSocket's pings.
  PortLimits Limits;
};

// Reads the arguments (the program's name first) into `o`; false when one
// is unknown, lacks its value or is out of bounds.
bool ParseServerOptions(const QStringList& args, ServerOptions& o);

}  // namespace tarvelis::server
