// One connection to a table server: text messages out, and the messages
// that arrive kept in order until taken, so a window that reads up to a
// certain message (the start of a match) leaves the rest for the next reader.
// Nothing a server sends can make the link hold more than a few megabytes: a
// frame or message longer than any of the server's, or more waiting messages
// than a whole match sends, ends the connection (Overflowed()).
#pragma once

#include <QObject>
#include <cstddef>
#include <deque>
#include <memory>
#include <string>

#include "net/server_address.h"

class QWebSocket;

namespace tarvelis {

class NetLink : public QObject {
  Q_OBJECT

 public:
  explicit NetLink(QObject* parent = nullptr);
  ~NetLink() override;

  // Opens a new connection, dropping any earlier one and the messages it
  // left untaken. Connected() turns true once the server answers; Dropped()
  // once the attempt fails or a connection ends.
  void Open(const net::ServerAddress& address);
  void Close();

  bool Connected() const { return connected_; }
  bool Dropped() const { return dropped_; }
  // The connection ended because the server sent more than the link takes:
  // such a server is not tried again.
  bool Overflowed() const { return overflowed_; }
  // Why the last attempt failed or the connection ended, for the log; the
  // player reads the game's own words.
  std::string LastError() const { return error_; }

  // Sent at once when connected; otherwise dropped (the protocol resumes a
  // seat with its token, so nothing needs replaying).
  bool Send(const std::string& text);

  bool HasMessage() const { return !inbox_.empty(); }
  // The oldest message not yet taken; empty when there is none.
  const std::string& Peek() const;
  bool Take(std::string& text);

 signals:
  // A message arrived, or the connection opened or ended.
  void Changed();

 private:
  void Forget();
  void Overflow(const std::string& why);

  std::unique_ptr<QWebSocket> socket_;
  std::deque<std::string> inbox_;
  std::size_t inboxBytes_ = 0;
  bool connected_ = false;
  bool dropped_ = false;
  bool overflowed_ = false;
  std::string error_;
};

}  // namespace tarvelis
