#include "server/guarded_socket.h"

#include <QMetaObject>

namespace tarvelis::server {

bool GuardedSocket::Arm() {
  armed_ = true;
  if (!Faulty()) return true;
  doomed_ = true;
  ++closed_;
  return false;
}

qint64 GuardedSocket::bytesAvailable() const {
  // A connection being closed offers its reader nothing more.
  return doomed_ ? 0 : QSslSocket::bytesAvailable();
}

qint64 GuardedSocket::readData(char* data, qint64 most) {
  if (doomed_) return 0;
  const qint64 got = QSslSocket::readData(data, most);
  if (got <= 0 || Faulty()) return got;
  const int pings = tracker_.Feed(data, static_cast<std::size_t>(got));
  const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::steady_clock::now() - start_)
                       .count();
  for (int i = 0; i < pings && !flooded_; ++i) flooded_ = !pings_.Admit(now);
  // Before the upgrade is known a fault is only remembered (a page's
  // request is none of the frames' business); Arm looks at it.
  if (!armed_ || !Faulty()) return got;
  // Whatever came with the fault is never read: the connection ends here.
  Doom();
  return 0;
}

void GuardedSocket::Doom() {
  doomed_ = true;
  ++closed_;
  // Not closed inside the reader's own call: at the loop's next turn.
  QMetaObject::invokeMethod(
      this, [this] { abort(); }, Qt::QueuedConnection);
}

}  // namespace tarvelis::server
