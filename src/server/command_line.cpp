#include "server/command_line.h"

#include <sys/resource.h>

namespace tarvelis::server {

bool SplitHostPort(const QString& text, QString& host, quint16& port) {
  const int colon = text.lastIndexOf(':');
  if (colon <= 0) return false;
  host = text.left(colon);
  if (host.startsWith('[') && host.endsWith(']')) host = host.mid(1, host.size() - 2);
  bool ok = false;
  const uint value = text.mid(colon + 1).toUInt(&ok);
  if (!ok || value > 65535) return false;
  port = static_cast<quint16>(value);
  return true;
}

long RaiseOpenFileLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return 1024;
  if (limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
    getrlimit(RLIMIT_NOFILE, &limit);
  }
  return limit.rlim_cur == RLIM_INFINITY ? 1L << 20 : static_cast<long>(limit.rlim_cur);
}

}  // namespace tarvelis::server
