// The ways to a server's table before its match is read: a seat joined (and
// the match started once every person sits), or a public table watched.
#include <QElapsedTimer>

#include "app/network_match.h"
#include "app/network_wait.h"
#include "model/texts.h"
#include "platform/net_link.h"
#include "protocol/json.h"
#include "protocol/protocol.h"

namespace tarvelis {
namespace {

using server::Json;

// Waiting for the friends to sit and the host to start.
constexpr qint64 kStartWaitMs = 30LL * 60 * 1000;
// How long a server may take to open and to answer a watch.
constexpr int kOpenMs = 10000;
constexpr int kWatchMs = 10000;

// Whether every person's seat of a "seats" or "table" message is taken.
bool AllPeopleSeated(const std::string& text) {
  const auto j = server::ParseJson(text, server::JsonLimits{1 << 16, 8, 256});
  if (!j) return false;
  const Json* seats = j->Find("seats");
  if (seats == nullptr || !seats->IsArray()) return false;
  for (const Json& s : seats->Items()) {
    const Json* taken = s.Find("taken");
    if (s.StringAt("kind", 16).value_or("") == "person" &&
        (taken == nullptr || !taken->IsBool() || !taken->AsBool())) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool JoinTable(NetLink& link, const net::ServerAddress& address, const std::string& code, int seat,
               const std::string& name, net::JoinedTable& joined, std::string& why,
               const std::function<bool()>& stop) {
  link.Open(address);
  if (!WaitFor([&] { return link.Connected() || link.Dropped(); }, stop, 10000) ||
      !link.Connected()) {
    why = NetNoServerMessage(address.Text());
    return false;
  }
  link.Send(Json::Object()
                .Set("v", server::kProtocolVersion)
                .Set("type", "join")
                .Set("code", code)
                .Set("seat", seat)
                .Set("name", name)
                .Dump());
  joined = net::JoinedTable{address, code, seat, "", false};
  bool startSent = false;
  QElapsedTimer clock;
  clock.start();
  // Until the match's first message: the seat, the table, who sits down.
  while (clock.elapsed() < kStartWaitMs) {
    if (!WaitFor([&] { return link.HasMessage() || link.Dropped(); }, stop, kStartWaitMs)) break;
    if (!link.HasMessage()) {
      why = link.Overflowed() ? kNetServerTooMuch : NetNoServerMessage(address.Text());
      return false;
    }
    const std::string type = TypeOf(link.Peek());
    if (type == "started") return !joined.Token.empty();
    std::string text;
    link.Take(text);
    const auto j = server::ParseJson(text, server::JsonLimits{1 << 16, 8, 256});
    if (!j) continue;
    if (type == "error") {
      const std::string error = j->StringAt("error", 64).value_or("");
      // A start sent too early, or by a friend first, is no fault.
      if (error == "not_ready" || (error == "started" && startSent)) continue;
      why = NetRefusedMessage(j->StringAt("text", 1024).value_or(error));
      return false;
    }
    if (type == "seated") {
      joined.Token = j->StringAt("token", 64).value_or("");
      joined.Seat = j->IntAt("seat", 1, kSeats).value_or(seat);
    } else if (type == "table" || type == "seats") {
      const Json* started = j->Find("started");
      if (started != nullptr && started->IsBool() && started->AsBool()) {
        // Already under way: this view is the match's first message.
        why = kNetAlreadyStarted;
        return false;
      }
      if (!startSent && AllPeopleSeated(text)) {
        link.Send(Request("start"));
        startSent = true;
      }
    }
  }
  why = NetNoServerMessage(address.Text());
  return false;
}

bool WatchTable(NetLink& link, const net::ServerAddress& address, const std::string& code,
                net::JoinedTable& watched, std::string& why, const std::function<bool()>& stop) {
  link.Open(address);
  if (!WaitFor([&] { return link.Connected() || link.Dropped(); }, stop, kOpenMs) ||
      !link.Connected()) {
    why = NetNoServerMessage(address.Text());
    return false;
  }
  if (!link.Send(WatchRequest(code))) {
    why = NetNoServerMessage(address.Text());
    return false;
  }
  watched = net::JoinedTable{address, code, 0, "", false};
  // "watching" first; the table's view follows and is the match's first
  // message, left unread for the mirror.
  if (!WaitFor([&] { return link.HasMessage() || link.Dropped(); }, stop, kWatchMs) ||
      !link.HasMessage()) {
    why = link.Overflowed() ? kNetServerTooMuch : NetNoServerMessage(address.Text());
    return false;
  }
  std::string first;
  link.Take(first);
  const auto j = server::ParseJson(first, server::JsonLimits{1 << 16, 8, 256});
  const std::string type = TypeOf(first);
  if (type == "watching") return true;
  const std::string words = j ? j->StringAt("text", 1024).value_or("") : std::string();
  why = NetRefusedMessage(words.empty() ? std::string(kNetworkRefused) : words);
  return false;
}

std::string WatchRequest(const std::string& code) {
  return Json::Object()
      .Set("v", server::kProtocolVersion)
      .Set("type", "watch")
      .Set("code", code)
      .Dump();
}

}  // namespace tarvelis
