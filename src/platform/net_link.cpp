#include "platform/net_link.h"

#include <QUrl>
#include <QWebSocket>

namespace tarvelis {
namespace {

// A server message is far below this; a longer one is not the server's.
constexpr qint64 kMaxIncomingBytes = 1 << 20;

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
  connected_ = false;
  dropped_ = false;
  error_.clear();
  socket_ = std::make_unique<QWebSocket>();
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
    emit Changed();
  });
  connect(s, qOverload<QAbstractSocket::SocketError>(&QWebSocket::error), this,
          [this, s](QAbstractSocket::SocketError) {
            error_ = s->errorString().toStdString();
            if (!connected_ && !dropped_) {
              // A failed attempt may never report a disconnection.
              dropped_ = true;
              emit Changed();
            }
          });
  connect(s, &QWebSocket::textMessageReceived, this, [this](const QString& text) {
    inbox_.push_back(text.toStdString());
    emit Changed();
  });
  socket_->open(QUrl(QString::fromStdString(address.Url())));
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
  return true;
}

}  // namespace tarvelis
