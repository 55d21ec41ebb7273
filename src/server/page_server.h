// The port's front door: one listening socket for both the browser's page
// (plain HTTP, or HTTPS with the server's certificate) and the tables'
// WebSocket. Each connection's request head is peeked, never read: a
// WebSocket upgrade is handed whole to the QWebSocketServer, anything else
// gets one of the page's own files and is closed.
//
// The page's files are read into memory when the server starts, from one
// folder, under fixed names; a request only picks among them, so nothing a
// client writes in a path ever reaches the file system.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QSslConfiguration>
#include <QString>
#include <QTcpServer>
#include <string>
#include <unordered_map>

#include "server/page_ledger.h"

class QHostAddress;
class QTcpSocket;
class QWebSocketServer;

namespace tarvelis::server {

// One answer to a request head: status line, headers and body.
struct PageAnswer {
  int Status = 404;
  QByteArray Head;  // the whole head, blank line included
  QByteArray Body;
};

// The page's files by the path that asks for them.
class PageFiles {
 public:
  // Reads the page's files from `folder`; false when its index is missing.
  bool Load(const QString& folder);
  bool Loaded() const { return !files_.isEmpty(); }
  // The answer to a request head (its first line and headers, up to the
  // blank line): only GET and HEAD, only the page's own paths.
  PageAnswer Answer(const QByteArray& head) const;
  // The bytes every file of the page adds up to.
  qint64 TotalBytes() const;

 private:
  struct File {
    QByteArray Type;
    QByteArray Cache;
    QByteArray Body;
  };
  QHash<QByteArray, File> files_;
};

// Whether a request head asks for a WebSocket.
bool IsWebSocketUpgrade(const QByteArray& head);

// The address a connection counts against: an IPv4 address, or an IPv6
// address's /64, which one subscriber usually holds whole.
std::string AddressKey(const QHostAddress& peer);

// What one address may cost the port before its WebSocket is Qt's.
struct PortLimits {
  int PageConnectionsPerAddress = PageLedger::kDefaultOpen;
  int PageRequestsPerMinute = PageLedger::kDefaultRequestsPerMinute;
  // Pings a WebSocket may send a second (bursts of twice as many), as for
  // its messages.
  double PingsPerSecond = 20;
};

class PageServer : public QTcpServer {
 public:
  // Requests larger than this, or not whole within kHeadMs, are dropped.
  static constexpr int kMaxHeadBytes = 8192;
  static constexpr int kHeadMs = 5000;
  // Connections still being read before a WebSocket or a page is chosen.
  static constexpr int kMaxWaiting = 512;

  PageServer(QWebSocketServer& sockets, const PageFiles& files, QObject* parent = nullptr);
  // With a configuration every connection speaks TLS first.
  void SetTls(const QSslConfiguration& tls) {
    tls_ = tls;
    useTls_ = true;
  }
  void SetLimits(const PortLimits& limits);

 protected:
  void incomingConnection(qintptr descriptor) override;

 private:
  void Peek(QTcpSocket* socket);
  void Forget(QTcpSocket* socket);
  // The connection no longer counts against its address's page share.
  void Release(QTcpSocket* socket);

  QWebSocketServer& sockets_;
  const PageFiles& files_;
  QSslConfiguration tls_;
  bool useTls_ = false;
  int waiting_ = 0;
  PortLimits limits_;
  PageLedger ledger_;
  std::unordered_map<QTcpSocket*, std::string> held_;  // each held one's address
  QElapsedTimer clock_;
  qint64 prunedAt_ = 0;
};

// Where the page lies when no folder is given: beside the binary, as it is
// installed, or in the build's own folder.
QString DefaultPageFolder(const QString& binaryFolder);

}  // namespace tarvelis::server
