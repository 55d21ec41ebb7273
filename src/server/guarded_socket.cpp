#include "server/guarded_socket.h"

#include <QMetaObject>

namespace tarvelis::server {

void GuardedSocket::Arm(qint64 headBytes) {
  armed_ = true;
  // Nothing is read before the upgrade is known; were it, the frames would
  // start that much sooner.
  if (taken_ <= headBytes) {
    tracker_ = FrameTracker(static_cast<std::uint64_t>(headBytes - taken_));
  } else {
    tracker_ = FrameTracker(0);
    tracker_.Skip(1);  // lost: follows nothing
  }
}

qint64 GuardedSocket::bytesAvailable() const {
  // A connection being closed offers its reader nothing more.
  return doomed_ ? 0 : QSslSocket::bytesAvailable();
}

qint64 GuardedSocket::readData(char* data, qint64 most) {
  if (doomed_) return 0;
  const qint64 got = QSslSocket::readData(data, most);
  if (got <= 0) return got;
  if (!armed_) {
    taken_ += got;
    return got;
  }
  const int pings = tracker_.Feed(data, static_cast<std::size_t>(got));
  if (pings > 0) {
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::steady_clock::now() - start_)
                         .count();
    for (int i = 0; i < pings && !flooded_; ++i) flooded_ = !pings_.Admit(now);
  }
  Judge();
  // Whatever came with a fault is never read: the connection ends here.
  return doomed_ ? 0 : got;
}

qint64 GuardedSocket::skipData(qint64 most) {
  if (doomed_) return 0;
  const qint64 skipped = QSslSocket::skipData(most);
  if (skipped <= 0) return skipped;
  if (!armed_) {
    taken_ += skipped;
  } else {
    tracker_.Skip(static_cast<std::uint64_t>(skipped));
  }
  return skipped;
}

void GuardedSocket::Judge() {
  if (doomed_ || !Faulty()) return;
  doomed_ = true;
  ++closed_;
  // Not closed inside the reader's own call: at the loop's next turn.
  QMetaObject::invokeMethod(
      this, [this] { abort(); }, Qt::QueuedConnection);
}

}  // namespace tarvelis::server
