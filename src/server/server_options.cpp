#include "server/server_options.h"

#include <type_traits>

#include "server/command_line.h"

namespace tarvelis::server {

const char* const kServerUsage =
    "usage: tarvelis-server [--listen HOST:PORT] [--data FOLDER] [--cert FILE --key FILE]\n"
    "  [--absent-seconds S] [--move-seconds S] [--max-tables N] [--stop-after S]\n"
    "  [--max-unsent-kb N] [--connections-per-address N] [--tables-per-minute N]\n"
    "  [--lookups-per-minute N] [--idle-seconds S] [--unstarted-seconds S]\n"
    "  [--reserve-files N] [--log-seconds S] [--move-threads N] [--page FOLDER]\n"
    "  [--page-connections-per-address N] [--page-requests-per-minute N] [--pings-per-second N]\n"
    "  [--max-room N] [--max-watchers N] [--fill-seconds S] [--ratings FILE]\n";

bool ParseServerOptions(const QStringList& args, ServerOptions& o) {
  o.Hall.Folder = "tarvelis-tables";
  // The room's news goes out at each round of the server's 50 ms sweep: at
  // 100 ms a change's p99 over a room of 2,000 was 180 to 210 ms, at 50 ms
  // 100 to 120 ms, for the same processor time.
  o.Hall.RoomNewsMs = 50;
  for (int i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    const bool hasValue = i + 1 < args.size();
    // Every number has bounds: a day of seconds keeps each time in the
    // milliseconds a message carries as a 32-bit number.
    auto number = [&](long long most, long long& out) {
      bool ok = false;
      out = args[++i].toLongLong(&ok);
      return ok && out >= 0 && out <= most;
    };
    long long v = 0;
    auto seconds = [&](std::int64_t& out) {
      if (!number(86400, v)) return false;
      out = v * 1000;
      return true;
    };
    auto count = [&](long long most, auto& out) {
      if (!number(most, v) || v < 1) return false;
      out = static_cast<std::remove_reference_t<decltype(out)>>(v);
      return true;
    };
    if (a == "--listen" && hasValue) {
      if (!SplitHostPort(args[++i], o.Host, o.Port)) return false;
    } else if (a == "--cert" && hasValue) {
      o.Cert = args[++i];
    } else if (a == "--key" && hasValue) {
      o.Key = args[++i];
    } else if (a == "--data" && hasValue) {
      o.Hall.Folder = args[++i].toStdString();
    } else if (a == "--absent-seconds" && hasValue) {
      if (!seconds(o.Hall.Timers.AbsentMs)) return false;
    } else if (a == "--move-seconds" && hasValue) {
      if (!seconds(o.Hall.Timers.MoveMs)) return false;
    } else if (a == "--max-tables" && hasValue) {
      if (!count(1000000, o.Hall.MaxTables)) return false;
    } else if (a == "--move-threads" && hasValue) {
      if (!count(64, o.MoveThreads) || o.MoveThreads < 1) return false;
    } else if (a == "--ratings" && hasValue) {
      o.Ratings = args[++i];
    } else if (a == "--page" && hasValue) {
      o.PageFolder = args[++i];
    } else if (a == "--stop-after" && hasValue) {
      if (!number(10 * 86400, v)) return false;
      o.StopAfterSeconds = static_cast<int>(v);
    } else if (a == "--max-unsent-kb" && hasValue) {
      if (!count(65536, o.MaxUnsentBytes)) return false;
      o.MaxUnsentBytes *= 1024;
    } else if (a == "--connections-per-address" && hasValue) {
      if (!count(1000000, o.Hall.MaxConnectionsPerAddress)) return false;
    } else if (a == "--tables-per-minute" && hasValue) {
      if (!count(100000, o.Hall.TablesPerMinute)) return false;
    } else if (a == "--lookups-per-minute" && hasValue) {
      if (!count(100000, o.Hall.FailedLookupsPerMinute)) return false;
    } else if (a == "--idle-seconds" && hasValue) {
      if (!seconds(o.Hall.UnseatedIdleMs) || o.Hall.UnseatedIdleMs == 0) return false;
    } else if (a == "--unstarted-seconds" && hasValue) {
      if (!seconds(o.Hall.UnstartedTableMs) || o.Hall.UnstartedTableMs == 0) return false;
    } else if (a == "--max-room" && hasValue) {
      if (!count(1000000, o.Hall.MaxRoom)) return false;
    } else if (a == "--max-watchers" && hasValue) {
      if (!count(100000, o.Hall.MaxWatchers)) return false;
    } else if (a == "--fill-seconds" && hasValue) {
      if (!seconds(o.Hall.FillMs)) return false;
    } else if (a == "--reserve-files" && hasValue) {
      if (!count(100000, o.ReserveFiles)) return false;
    } else if (a == "--page-connections-per-address" && hasValue) {
      if (!count(100000, o.Limits.PageConnectionsPerAddress)) return false;
    } else if (a == "--page-requests-per-minute" && hasValue) {
      if (!count(1000000, o.Limits.PageRequestsPerMinute)) return false;
    } else if (a == "--pings-per-second" && hasValue) {
      if (!count(10000, o.Limits.PingsPerSecond)) return false;
    } else if (a == "--log-seconds" && hasValue) {
      if (!count(86400, o.LogSeconds)) return false;
    } else {
      return false;
    }
  }
  return o.Cert.isEmpty() == o.Key.isEmpty();
}

}  // namespace tarvelis::server
