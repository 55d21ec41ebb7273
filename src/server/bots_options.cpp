#include "server/bots_options.h"

#include "server/command_line.h"

namespace tarvelis::server {

bool ParseBotsOptions(const QStringList& args, BotsOptions& o) {
  for (int i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    const bool hasValue = i + 1 < args.size();
    bool ok = true;
    if (a == "--server" && hasValue) {
      quint16 port = 0;
      ok = SplitHostPort(args[++i], o.Host, port);
      o.Port = port;
    } else if (a == "--tables" && hasValue) {
      o.Tables = args[++i].toInt(&ok);
      ok = ok && o.Tables >= 1 && o.Tables <= 10000;
    } else if (a == "--seats" && hasValue) {
      o.Seats = args[++i].toStdString();
      ok = o.Seats.size() == 4 && o.Seats[0] == 'p' &&
           o.Seats.find_first_not_of("pec") == std::string::npos;
    } else if (a == "--auto") {
      o.AllAuto = true;
    } else if (a == "--room") {
      o.Room = true;
    } else if (a == "--probe") {
      o.Probe = true;
    } else if (a == "--arrivals" && hasValue) {
      o.Arrivals = args[++i].toInt(&ok);
      ok = ok && o.Arrivals >= 4 && o.Arrivals <= 4000;
    } else if (a == "--first" && hasValue) {
      o.First = args[++i].toInt(&ok);
      ok = ok && o.First >= 0 && o.First <= 1000000;
    } else if (a == "--json") {
      o.JsonOut = true;
    } else if (a == "--drop" && hasValue) {
      o.Drop = args[++i].toDouble(&ok);
      ok = ok && o.Drop >= 0 && o.Drop <= 1;
    } else if (a == "--target" && hasValue) {
      o.Target = args[++i].toInt(&ok);
      ok = ok && o.Target >= 1 && o.Target <= 999;
    } else if (a == "--seed" && hasValue) {
      o.Seed = args[++i].toUInt(&ok);
    } else if (a == "--think" && hasValue) {
      o.ThinkMs = args[++i].toInt(&ok);
      ok = ok && o.ThinkMs >= 0 && o.ThinkMs <= 60000;
    } else if (a == "--timeout" && hasValue) {
      o.TimeoutSeconds = args[++i].toInt(&ok);
      ok = ok && o.TimeoutSeconds >= 1;
    } else {
      return false;
    }
    if (!ok) return false;
  }
  if (o.Room && o.Seats != "pppp") return false;
  if (o.Probe && !o.Room) return false;
  return o.Port > 0 && o.Port < 65536 &&
         (o.Host == "127.0.0.1" || o.Host == "::1" || o.Host == "localhost");
}

}  // namespace tarvelis::server
