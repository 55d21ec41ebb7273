#include "server/page_server.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QPointer>
#include <QSslSocket>
#include <QTimer>
#include <QWebSocketServer>

#include "protocol/protocol.h"
#include "server/guarded_socket.h"

namespace tarvelis::server {
namespace {

// The page loads its script, the module and its pictures from this server
// alone; the WebSocket goes back to the same host and port.
constexpr const char* kPolicy =
    "default-src 'none'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; img-src 'self'; "
    "connect-src 'self'; base-uri 'none'; form-action 'self'; frame-ancestors 'none'";

constexpr const char* kStrips[] = {"marmol",   "dibujos", "punneg", "puntitos", "dorsos",
                                   "bmpvario", "piezas",  "manos",  "mensajes"};

QByteArray Reason(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 400:
      return "Bad Request";
    case 404:
      return "Not Found";
    case 405:
      return "Method Not Allowed";
    case 429:
      return "Too Many Requests";
    case 431:
      return "Request Header Fields Too Large";
    default:
      return "Error";
  }
}

QByteArray HeadOf(int status, const QByteArray& type, const QByteArray& cache, qint64 length) {
  QByteArray h = "HTTP/1.1 " + QByteArray::number(status) + ' ' + Reason(status) + "\r\n";
  h += "Content-Type: " + type + "\r\n";
  h += "Content-Length: " + QByteArray::number(length) + "\r\n";
  h += "Cache-Control: " + cache + "\r\n";
  h += "Content-Security-Policy: " + QByteArray(kPolicy) + "\r\n";
  h += "X-Content-Type-Options: nosniff\r\n";
  h += "Referrer-Policy: no-referrer\r\n";
  h += "Connection: close\r\n\r\n";
  return h;
}

PageAnswer Refusal(int status) {
  PageAnswer a;
  a.Status = status;
  a.Body = QByteArray::number(status) + ' ' + Reason(status) + '\n';
  a.Head = HeadOf(status, "text/plain; charset=utf-8", "no-store", a.Body.size());
  return a;
}

bool IsTablePath(const QByteArray& path) {
  constexpr auto kLength = static_cast<qsizetype>(3 + kCodeLength);
  if (path.size() != kLength || !path.startsWith("/t/")) return false;
  for (qsizetype i = 3; i < kLength; ++i) {
    const char c = path[i];
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

}  // namespace

bool PageFiles::Load(const QString& folder) {
  files_.clear();
  const QDir dir(folder);
  const auto add = [&](const QByteArray& path, const QString& name, const QByteArray& type,
                       const QByteArray& cache) {
    QFile f(dir.filePath(name));
    // Only regular files of a sane size: the page is a few hundred kilobytes.
    if (!QFileInfo(f).isFile() || f.size() > (16 << 20) || !f.open(QIODevice::ReadOnly)) return;
    files_.insert(path, File{type, cache, f.readAll()});
  };
  // The page's own address and the table's always get the newest page;
  // the rest may be kept a few minutes.
  const QByteArray fresh = "no-cache";
  const QByteArray kept = "public, max-age=300";
  add("/", "index.html", "text/html; charset=utf-8", fresh);
  if (!files_.contains("/")) return false;
  add("/page.js", "page.js", "text/javascript; charset=utf-8", fresh);
  add("/page.css", "page.css", "text/css; charset=utf-8", fresh);
  add("/tarvelis.js", "tarvelis.js", "text/javascript; charset=utf-8", fresh);
  add("/tarvelis.wasm", "tarvelis.wasm", "application/wasm", fresh);
  add("/tarvelis.png", "tarvelis.png", "image/png", kept);
  for (const char* strip : kStrips) {
    const QString name = QString::fromLatin1(strip) + ".png";
    add("/strips/" + QByteArray(strip) + ".png", "strips/" + name, "image/png", kept);
    add("/strips/x3/" + QByteArray(strip) + ".png", "strips/x3/" + name, "image/png", kept);
  }
  return true;
}

qint64 PageFiles::TotalBytes() const {
  qint64 total = 0;
  for (const File& f : files_) total += f.Body.size();
  return total;
}

PageAnswer PageFiles::Answer(const QByteArray& head) const {
  const int lineEnd = head.indexOf("\r\n");
  const QList<QByteArray> parts = head.left(lineEnd < 0 ? head.size() : lineEnd).split(' ');
  if (parts.size() != 3 || !parts[2].startsWith("HTTP/1.")) return Refusal(400);
  const QByteArray& method = parts[0];
  if (method != "GET" && method != "HEAD") return Refusal(405);
  QByteArray path = parts[1];
  // A query or fragment never chooses a file.
  const int query = path.indexOf('?');
  if (query >= 0) path.truncate(query);
  if (IsTablePath(path)) path = "/";
  const auto it = files_.constFind(path);
  if (it == files_.constEnd()) return Refusal(404);
  PageAnswer a;
  a.Status = 200;
  a.Head = HeadOf(200, it->Type, it->Cache, it->Body.size());
  if (method == "GET") a.Body = it->Body;
  return a;
}

bool IsWebSocketUpgrade(const QByteArray& head) {
  for (const QByteArray& line : head.split('\n')) {
    const int colon = line.indexOf(':');
    if (colon < 0) continue;
    if (line.left(colon).trimmed().toLower() == "upgrade" &&
        line.mid(colon + 1).trimmed().toLower() == "websocket")
      return true;
  }
  return false;
}

std::string AddressKey(const QHostAddress& peer) {
  bool isV4 = false;
  const quint32 v4 = peer.toIPv4Address(&isV4);
  if (isV4) return QHostAddress(v4).toString().toStdString();
  Q_IPV6ADDR v6 = peer.toIPv6Address();
  for (int i = 8; i < 16; ++i) v6[i] = 0;
  return QHostAddress(v6).toString().toStdString() + "/64";
}

PageServer::PageServer(QWebSocketServer& sockets, const PageFiles& files, QObject* parent)
    : QTcpServer(parent), sockets_(sockets), files_(files) {
  clock_.start();
}

void PageServer::SetLimits(const PortLimits& limits) {
  limits_ = limits;
  ledger_ = PageLedger(limits.PageConnectionsPerAddress, limits.PageRequestsPerMinute);
}

void PageServer::incomingConnection(qintptr descriptor) {
  const qint64 now = clock_.elapsed();
  if (now - prunedAt_ >= 10000) {
    prunedAt_ = now;
    ledger_.Prune(now);
  }
  // A connection refused is closed before anything is made for it: a storm
  // of them from one address costs the loop a system call or two each, and
  // the other clients' messages do not wait behind it.
  sockaddr_storage peer{};
  socklen_t peerLength = sizeof peer;
  if (::getpeername(static_cast<int>(descriptor), reinterpret_cast<sockaddr*>(&peer),
                    &peerLength) != 0) {
    ::close(static_cast<int>(descriptor));
    return;
  }
  std::string address = AddressKey(QHostAddress(reinterpret_cast<const sockaddr*>(&peer)));
  if (waiting_ >= kMaxWaiting || !ledger_.Open(address, now)) {
    ::close(static_cast<int>(descriptor));
    return;
  }
  // Every connection is read through the frame guard, TLS or not (see
  // guarded_socket.h for what it sees of each).
  auto* socket = new GuardedSocket(limits_.PingsPerSecond, limits_.PingsPerSecond * 2, this);
  if (!socket->setSocketDescriptor(descriptor)) {
    ledger_.Close(address, now);
    delete socket;
    return;
  }
  held_.emplace(socket, std::move(address));
  connect(socket, &QObject::destroyed, this, [this, socket] { Release(socket); });
  if (useTls_) {
    socket->setSslConfiguration(tls_);
    connect(socket, &QSslSocket::sslErrors, socket, [socket] { socket->abort(); });
    socket->startServerEncryption();
  }
  ++waiting_;
  socket->setProperty("tarvelisWaiting", true);
  // Whatever happens, a connection that has not said what it wants within
  // the time is dropped.
  QPointer<QTcpSocket> guard(socket);
  QTimer::singleShot(kHeadMs, this, [this, guard] {
    if (guard && guard->property("tarvelisWaiting").toBool()) {
      Forget(guard);
      guard->abort();
      guard->deleteLater();
    }
  });
  connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Peek(socket); });
  connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
    if (socket->property("tarvelisWaiting").toBool()) {
      Forget(socket);
      socket->deleteLater();
    }
  });
}

void PageServer::Release(QTcpSocket* socket) {
  const auto it = held_.find(socket);
  if (it == held_.end()) return;
  ledger_.Close(it->second, clock_.elapsed());
  held_.erase(it);
}

void PageServer::Forget(QTcpSocket* socket) {
  if (socket->property("tarvelisWaiting").toBool()) {
    socket->setProperty("tarvelisWaiting", false);
    --waiting_;
  }
}

void PageServer::Peek(QTcpSocket* socket) {
  if (!socket->property("tarvelisWaiting").toBool()) return;
  const QByteArray head = socket->peek(kMaxHeadBytes);
  const int end = head.indexOf("\r\n\r\n");
  if (end < 0) {
    if (head.size() >= kMaxHeadBytes) {
      Forget(socket);
      const PageAnswer a = Refusal(431);
      socket->write(a.Head + a.Body);
      socket->disconnectFromHost();
      connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
    return;
  }
  Forget(socket);
  if (IsWebSocketUpgrade(head.left(end))) {
    // From here the hall counts the connection against its address.
    Release(socket);
    disconnect(socket, nullptr, this, nullptr);
    static_cast<GuardedSocket*>(socket)->Arm(end + 4);
    // The head is still unread: the WebSocket server reads it as its own.
    socket->setParent(nullptr);
    sockets_.handleConnection(socket);
    return;
  }
  disconnect(socket, &QTcpSocket::readyRead, this, nullptr);
  disconnect(socket, &QTcpSocket::disconnected, this, nullptr);
  // A page answered is held against its address until it is closed.
  const PageAnswer a = ledger_.Request(held_[socket], clock_.elapsed())
                           ? files_.Answer(head.left(end))
                           : Refusal(429);
  socket->read(end + 4);
  socket->write(a.Head);
  socket->write(a.Body);
  socket->disconnectFromHost();
  connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
  // A client that never reads its answer is not kept waiting for.
  QPointer<QTcpSocket> guard(socket);
  QTimer::singleShot(kHeadMs * 6, socket, [guard] {
    if (guard) guard->abort();
  });
}

QString DefaultPageFolder(const QString& binaryFolder) {
  for (const QString& candidate : {binaryFolder + "/page", binaryFolder + "/../share/tarvelis/page",
                                   binaryFolder + "/../page"}) {
    if (QFileInfo(candidate + "/index.html").isFile()) return QDir(candidate).absolutePath();
  }
  return {};
}

}  // namespace tarvelis::server
