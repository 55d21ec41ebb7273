// A connection to the port, seen by the front before Qt's WebSocket reader
// sees it. Qt's reader takes a client's unmasked frames, which a server must
// refuse, and answers each ping by itself, however many come: this socket
// follows the frames' headers (frame_tracker.h) as the reader takes the
// bytes, and closes the connection on an unmasked or malformed frame or on
// pings past their rate.
//
// A TCP socket in Qt fills its buffer without passing through readData; a
// QSslSocket that never starts encryption takes each byte from its inner
// socket either through readData or through skipData (which the WebSocket
// server uses to pass over the request head it peeked), once and in order.
// On a TLS connection the decrypted bytes go into the buffer directly: there
// nothing is followed, and the connection is as Qt leaves it.
#pragma once

#include <QSslSocket>
#include <chrono>

#include "protocol/protocol.h"
#include "server/frame_tracker.h"

namespace tarvelis::server {

class GuardedSocket : public QSslSocket {
 public:
  // Pings a second, and the burst admitted at once.
  GuardedSocket(double pingsPerSecond, double pingBurst, QObject* parent = nullptr)
      : QSslSocket(parent), pings_(pingsPerSecond, pingBurst) {}

  // The connection is a WebSocket's from now on, its request head
  // `headBytes` long: frames follow it, and a fault closes the connection.
  void Arm(qint64 headBytes);
  // Connections this front closed for a fault or a ping flood.
  static std::uint64_t Closed() { return closed_; }

  qint64 bytesAvailable() const override;

 protected:
  qint64 readData(char* data, qint64 most) override;
  qint64 skipData(qint64 most) override;

 private:
  bool Faulty() const { return tracker_.Faulty() != FrameTracker::Fault::None || flooded_; }
  // After bytes were followed: closes the connection on a fault.
  void Judge();

  FrameTracker tracker_;
  FloodGate pings_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  qint64 taken_ = 0;  // bytes taken before Arm
  bool armed_ = false;
  bool flooded_ = false;
  bool doomed_ = false;
  static inline std::uint64_t closed_ = 0;
};

}  // namespace tarvelis::server
