// tarvelis-bots' command line (see bots_main.cpp for what each option does).
#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace tarvelis::server {

struct BotsOptions {
  QString Host;
  int Port = 0;
  int Tables = 1;
  bool JsonOut = false;
  double Drop = 0;
  int Target = 0;  // 0 keeps the rules' own
  unsigned Seed = 1;
  int TimeoutSeconds = 600;
  int ThinkMs = 0;
  std::string Seats = "pppp";
  bool AllAuto = false;
  bool Room = false;
  bool Probe = false;
  int Arrivals = 40;  // people a second coming into the room
  // The number of this process's first bot: several processes filling one
  // room give their bots keys (and names) of their own.
  int First = 0;
};

// False for an option unknown, a value out of bounds, or a server that is
// not on this machine.
bool ParseBotsOptions(const QStringList& args, BotsOptions& o);

}  // namespace tarvelis::server
