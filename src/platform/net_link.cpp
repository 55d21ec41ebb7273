#include "platform/net_link.h"

#include <QUrl>
#include <QWebSocket>

#include "net/remote_table.h"

namespace tarvelis {
namespace {

// A server's message is one frame; a frame or message longer than the
// longest the server sends is not the server's.
constexpr qint64 kMaxIncomingBytes = static_cast<qint64>(net::kMaxServerMessageBytes);
// A whole match is some two thousand messages of a few hundred bytes; the
// table reads them as it shows them, so even a player who leaves a dialog
// open for the whole match stays far below these.
constexpr std::size_t kMaxInboxMessages = 20000;
constexpr std::size_t kMaxInboxBytes = std::size_t{16} << 20;

}  // namespace

NetLink::NetLink(QObject* parent) : QObject(parent) {}

NetLink::~NetLink() {
  Forget();
}

void NetLink::Forget() {
  if (!socket_) return;
  // The old socket's signals must not reach this link once it is replaced.
  socket_->disconnect(this);
  socket_->abort();
  socket_.release()->deleteLater();
}

void NetLink::Open(const net::ServerAddress& address) {
  Forget();
  inbox_.clear();
  inboxBytes_ = 0;
  connected_ = false;
  dropped_ = false;
  overflowed_ = false;
  error_.clear();
  socket_ = std::make_unique<QWebSocket>();
  socket_->setMaxAllowedIncomingFrameSize(kMaxIncomingBytes);
  socket_->setMaxAllowedIncomingMessageSize(kMaxIncomingBytes);
  QWebSocket* s = socket_.get();
  connect(s, &QWebSocket::connected, this, [this] {
    connected_ = true;
    emit Changed();
  });
  connect(s, &QWebSocket::disconnected, this, [this, s] {
    connected_ = false;
    dropped_ = true;
    if (error_.empty()) error_ = s->errorString().toStdString();
    // The socket closes itself on a frame or message past the limits.
    if (s->closeCode() == QWebSocketProtocol::CloseCodeTooMuchData) overflowed_ = true;
    emit Changed();
  });
  connect(s, qOverload<QAbstractSocket::SocketError>(&QWebSocket::error), this,
          [this, s](QAbstractSocket::SocketError) {
            error_ = s->errorString().toStdString();
            if (s->closeCode() == QWebSocketProtocol::CloseCodeTooMuchData) overflowed_ = true;
            if (!connected_ && !dropped_) {
              // A failed attempt may never report a disconnection.
              dropped_ = true;
              emit Changed();
            }
          });
  connect(s, &QWebSocket::textMessageReceived, this, [this](const QString& text) {
    if (overflowed_) return;
    inbox_.push_back(text.toStdString());
    inboxBytes_ += inbox_.back().size();
    if (inbox_.size() > kMaxInboxMessages || inboxBytes_ > kMaxInboxBytes) {
      Overflow("too many messages waiting");
      return;
    }
    emit Changed();
  });
  socket_->open(QUrl(QString::fromStdString(address.Url())));
}

void NetLink::Overflow(const std::string& why) {
  // Called from the socket's own signal: the socket goes later, not now.
  overflowed_ = true;
  connected_ = false;
  dropped_ = true;
  error_ = why;
  inbox_.clear();
  inboxBytes_ = 0;
  Forget();
  emit Changed();
}

void NetLink::Close() {
  // What was sent last (a leave) goes out before the socket is dropped.
  if (socket_) {
    socket_->flush();
    socket_->close();
  }
  Forget();
  connected_ = false;
}

bool NetLink::Send(const std::string& text) {
  if (!connected_ || !socket_) return false;
  socket_->sendTextMessage(QString::fromStdString(text));
  return true;
}

const std::string& NetLink::Peek() const {
  static const std::string kNone;
  return inbox_.empty() ? kNone : inbox_.front();
}

bool NetLink::Take(std::string& text) {
  if (inbox_.empty()) return false;
  text = std::move(inbox_.front());
  inbox_.pop_front();
  inboxBytes_ -= text.size();
  return true;
}

}  // namespace tarvelis
