// The room: who entered (found by the key's hash in the ratings), the public
// tables as the room lists them, the quick seat, the free chairs given to the
// computer, and the chat. What the room holds and sends is room.h's; this
// file decides who may do what.
#include <cmath>
#include <optional>

#include "protocol/rules_line.h"
#include "server/hall.h"
#include "server/ratings_port.h"
#include "storage/clean_text.h"

namespace tarvelis::server {
namespace {

// The computer's level on the chairs a public table's people gave it.
constexpr int kFillLevel = 50;
constexpr int kNewcomerRating = 1500;
constexpr const char* kDefaultRoomName = "Jugador";
constexpr const char* kRoomFullText = "La sala está llena; inténtelo más tarde.";

Json RoomMessage(const char* type) {
  return Json::Object().Set("v", kProtocolVersion).Set("type", type);
}

}  // namespace

void Hall::OnRoom(int conn, Conn& c, const Request& r, std::int64_t now) {
  switch (r.Type) {
    case RequestType::kEnter:
      OnEnter(conn, c, r);
      break;
    case RequestType::kLeaveRoom:
      if (!c.InRoom) {
        Error(conn, ErrorCode::kNotInRoom);
        return;
      }
      c.InRoom = false;
      room_.Leave(conn);
      break;
    case RequestType::kQuick:
      OnQuick(conn, c, r, now);
      break;
    case RequestType::kFill:
      OnFill(conn, c, now);
      break;
    case RequestType::kWatch:
      OnWatch(conn, c, r);
      break;
    case RequestType::kSay:
      OnSay(conn, c, r, now);
      break;
    default:
      Error(conn, ErrorCode::kBadMessage);
      break;
  }
}

void Hall::OnEnter(int conn, Conn& c, const Request& r) {
  if (!c.InRoom && room_.People() >= options_.MaxRoom) {
    SendError(conn, ErrorCode::kFull, kRoomFullText);
    return;
  }
  std::string name = BoundedName(r.Name);
  if (name.find_first_not_of(' ') == std::string::npos) name = kDefaultRoomName;
  c.KeyHash.clear();
  c.Rating = kNewcomerRating;
  c.Name = name;
  // A store that cannot be reached leaves the player a newcomer for the
  // session: the room works without its ratings.
  if (options_.Ratings != nullptr) {
    if (auto stored = options_.Ratings->EnterWithKey(r.Key, name)) {
      c.KeyHash = stored->KeyHash;
      c.Rating = static_cast<int>(std::lround(stored->Rated.Value));
    }
  }
  c.InRoom = true;
  room_.Enter(conn, RoomPerson{c.Name, c.KeyHash, c.Rating, WhereOf(c)});
  // A person already seated shows the rating at the table's chair.
  if (const auto it = tables_.find(c.Code); c.Seat != 0 && it != tables_.end()) {
    it->second.Rating[c.Seat] = c.Rating;
    Publish(it->second);
  }
}

void Hall::OnQuick(int conn, Conn& c, const Request& r, std::int64_t now) {
  if (!c.InRoom) {
    Error(conn, ErrorCode::kNotInRoom);
    return;
  }
  if (c.Seat != 0) {
    Error(conn, ErrorCode::kBadMessage);
    return;
  }
  Place* place = nullptr;
  int seat = 1;
  if (const auto choice = QuickSeat(room_, RoomRulesLine(r.Setup.Rules))) {
    place = &tables_.at(choice->Code);
    seat = choice->Seat;
  } else {
    TableSetup setup = r.Setup;
    for (int s = 1; s <= kSeats; ++s) setup.Seats[s].Kind = SeatKind::kPerson;
    place = MakeTable(conn, c, setup, true, now);
    if (place == nullptr) return;
  }
  const std::string token = NewToken();
  ErrorCode error = ErrorCode::kBadMessage;
  if (!place->Table->Join(seat, c.Name, token, error)) {
    Error(conn, error);
    return;
  }
  StopWatching(conn, c);
  Bind(*place, conn, seat, now);
  Seated(conn, *place, seat, token);
  StartWhenFull(*place, now);
}

void Hall::OnFill(int conn, Conn& c, std::int64_t now) {
  const auto found = SeatedTable(conn, c);
  if (found == tables_.end()) return;
  Place& place = found->second;
  ServerTable& table = *place.Table;
  if (!place.Public) {
    Error(conn, ErrorCode::kBadMessage);
  } else if (table.Started()) {
    Error(conn, ErrorCode::kStarted);
  } else if (now - place.MadeAt < options_.FillMs) {
    Error(conn, ErrorCode::kNotReady);
  } else {
    table.GiveFreeSeatsToComputer(kFillLevel);
    ErrorCode error = ErrorCode::kBadMessage;
    if (!table.Start(error, now)) Error(conn, error);
    Deliver(place);
  }
}

void Hall::StartWhenFull(Place& place, std::int64_t now) {
  ServerTable& table = *place.Table;
  if (!place.Public || table.Started() || !table.SeatsTaken()) return;
  ErrorCode error = ErrorCode::kBadMessage;
  table.Start(error, now);
  Deliver(place);
}

void Hall::TellFill(Place& place, int conn) {
  Post(place, conn, RoomMessage("can_fill").Set("code", place.Table->Code()).Dump());
}

void Hall::OnSay(int conn, Conn& c, const Request& r, std::int64_t now) {
  const auto table = tables_.find(c.Seat != 0 ? c.Code : c.Watching);
  // A watcher has no seat's name: it speaks at a table under its room's.
  std::optional<ErrorCode> refused;
  if (r.ToRoom) {
    if (!c.InRoom) refused = ErrorCode::kNotInRoom;
  } else if (table == tables_.end()) {
    refused = ErrorCode::kNotSeated;
  } else if (c.Seat == 0 && !c.InRoom) {
    refused = ErrorCode::kNotInRoom;
  }
  if (refused) {
    Error(conn, *refused);
    return;
  }
  const std::string text = CleanChatText(r.Text, Room::kMaxChatBytes);
  if (text.empty()) {
    Error(conn, ErrorCode::kBadMessage);
    return;
  }
  if (!c.Chat.Admit(now)) {
    Error(conn, ErrorCode::kTooFast);
    return;
  }
  if (r.ToRoom) {
    room_.Say(conn, text);
    return;
  }
  Place& place = table->second;
  const std::string name = c.InRoom ? c.Name : place.Table->Seat(c.Seat).Name;
  const std::string line = RoomMessage("chat")
                               .Set("code", place.Table->Code())
                               .Set("to", "table")
                               .Set("from", room_.IdOf(conn))
                               .Set("name", name)
                               .Set("tag", TagOf(c.KeyHash))
                               .Set("text", text)
                               .Dump();
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (place.Conn[seat] != 0) Post(place, place.Conn[seat], line);
  }
  for (const int watcher : place.Watchers) Post(place, watcher, line);
}

std::string Hall::WhereOf(const Conn& c) const {
  // A private table's code is its only key: the room never shows it.
  const std::string& code = c.Seat != 0 ? c.Code : c.Watching;
  const auto it = tables_.find(code);
  return it != tables_.end() && it->second.Public ? code : std::string();
}

void Hall::Publish(Place& place) {
  if (!place.Public) return;
  const ServerTable& table = *place.Table;
  if (table.Finished()) {
    if (place.Listed) room_.TableGone(table.Code());
    place.Listed = false;
    return;
  }
  if (place.RulesLine.empty()) place.RulesLine = RoomRulesLine(table.State());
  RoomTable listed;
  listed.Code = table.Code();
  listed.Rules = place.RulesLine;
  for (int seat = 1; seat <= kSeats; ++seat) {
    const SeatPlace& p = table.Seat(seat);
    RoomSeat& s = listed.Seats[static_cast<std::size_t>(seat - 1)];
    s.Kind = SeatKindName(p.Kind);
    s.Level = p.Level;
    if (p.Kind == SeatKind::kPerson && !p.Token.empty()) {
      s.Name = p.Name;
      s.Rating = place.Rating[seat];
    }
  }
  listed.Started = table.Started();
  listed.Watchers = static_cast<int>(place.Watchers.size());
  room_.Table(listed);
  place.Listed = true;
}

}  // namespace tarvelis::server
