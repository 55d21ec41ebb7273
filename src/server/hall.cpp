#include "server/hall.h"

#include <algorithm>

#include "server/move_pool.h"

namespace tarvelis::server {
namespace {

namespace fs = std::filesystem;

// An address's record outlives its last connection by this much: its
// buckets, refilled per minute, are full again by then.
constexpr std::int64_t kVisitorMemoryMs = 60000;
// The idle connections and the tables nobody plays are looked for this often.
constexpr std::int64_t kSweepMs = 1000;

FloodGate PerMinute(int count) {
  return FloodGate(static_cast<double>(count) / 60.0, static_cast<double>(count));
}

}  // namespace

ServerTable* Hall::Find(std::string_view code) {
  const auto it = tables_.find(code);
  return it == tables_.end() ? nullptr : it->second.Table.get();
}

HallCounts Hall::Counts() const {
  HallCounts counts = counts_;
  counts.Tables = tables_.size();
  counts.Connections = conns_.size();
  counts.Addresses = visitors_.size();
  counts.People = room_.People();
  return counts;
}

bool Hall::Opened(int conn, std::int64_t now, std::string address) {
  if (!address.empty()) {
    Visitor& v = visitors_
                     .try_emplace(address, Visitor{0, PerMinute(options_.TablesPerMinute),
                                                   PerMinute(options_.FailedLookupsPerMinute), now})
                     .first->second;
    v.SeenAt = now;
    if (v.Open >= options_.MaxConnectionsPerAddress) {
      ++counts_.Refused;
      return false;
    }
    ++v.Open;
  }
  Conn c;
  c.Gate = FloodGate(options_.MessagesPerSecond, options_.MessageBurst);
  c.Chat = FloodGate(options_.ChatPerSecond, options_.ChatBurst);
  c.Address = std::move(address);
  c.HeardAt = now;
  conns_.insert_or_assign(conn, std::move(c));
  return true;
}

Hall::Visitor* Hall::VisitorOf(const Conn& c) {
  if (c.Address.empty()) return nullptr;
  const auto it = visitors_.find(c.Address);
  return it == visitors_.end() ? nullptr : &it->second;
}

void Hall::Error(int conn, ErrorCode code) {
  SendError(conn, code, ErrorText(code));
}

void Hall::SendError(int conn, ErrorCode code, const char* text) {
  sends_.emplace_back(conn, Json::Object()
                                .Set("v", kProtocolVersion)
                                .Set("type", "error")
                                .Set("error", ErrorName(code))
                                .Set("text", text)
                                .Dump());
}

std::vector<std::pair<int, std::string>> Hall::TakeSends() {
  for (auto& send : room_.TakeSends()) sends_.push_back(std::move(send));
  return std::exchange(sends_, {});
}

void Hall::Route(Place& place, Outgoing out, int skipSeat) {
  if (out.Seat == 0) {
    for (const int watcher : place.Watchers) Post(place, watcher, out.Text);
    return;
  }
  const int conn = place.Conn[out.Seat];
  if (conn != 0 && out.Seat != skipSeat) Post(place, conn, std::move(out.Text));
}

void Hall::Post(Place& place, int conn, std::string text) {
  if (place.Holding) {
    place.Held.emplace_back(conn, std::move(text));
  } else {
    sends_.emplace_back(conn, std::move(text));
  }
}

void Hall::Dispatch(ServerTable& table) {
  if (options_.Pool == nullptr) return;
  if (std::optional<MoveJob> job = table.TakeMoveJob()) options_.Pool->Submit(std::move(*job));
}

void Hall::MovesComputed(std::int64_t now) {
  if (options_.Pool == nullptr) return;
  for (const MoveResult& result : options_.Pool->TakeDone()) {
    const auto it = tables_.find(result.Code);
    if (it != tables_.end() && it->second.Table->ApplyMove(result, now)) Deliver(it->second);
  }
}

void Hall::Deliver(Place& place) {
  Dispatch(*place.Table);
  // The news of a closed hand goes out once the table's file is past it.
  if (place.Table->TakeHandClosed() && !options_.Folder.empty()) {
    if (!place.Urgent) urgent_.push_back(place.Table->Code());
    place.Urgent = true;
    place.Holding = true;
  }
  for (Outgoing& out : place.Table->TakeOutbox()) Route(place, std::move(out));
  Publish(place);
  if (place.Table->Finished() && !place.Recorded) RecordMatch(place);
}

bool Hall::Bound(const Place& place) const {
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (place.Conn[seat] != 0) return true;
  }
  return false;
}

void Hall::Bind(Place& place, int conn, int seat, std::int64_t now) {
  const int old = place.Conn[seat];
  // The seat's secret came from another connection: the one it replaces is
  // told why, and let go.
  if (old != 0 && old != conn) {
    if (auto it = conns_.find(old); it != conns_.end()) {
      it->second.Code.clear();
      it->second.Seat = 0;
      room_.Moved(old, "");
      Error(old, ErrorCode::kTakenOver);
      closes_.push_back(old);
    }
  }
  place.Conn[seat] = conn;
  place.SeatedAt = now;
  Conn& c = conns_[conn];
  c.Code = place.Table->Code();
  c.Seat = seat;
  place.Rating[seat] = c.InRoom ? c.Rating : 0;
  room_.Moved(conn, WhereOf(c));
  // A connection that has not entered the room leaves the seat's person as
  // it was: the same person back without the room, or nobody rated.
  if (!c.KeyHash.empty()) place.Table->SetKeyHash(seat, c.KeyHash);
}

Hall::Tables::iterator Hall::SeatedTable(int conn, const Conn& c) {
  const auto found = c.Seat == 0 ? tables_.end() : tables_.find(c.Code);
  if (found == tables_.end()) Error(conn, ErrorCode::kNotSeated);
  return found;
}

void Hall::Closed(int conn, std::int64_t now) {
  const auto it = conns_.find(conn);
  if (it == conns_.end()) return;
  const Conn c = std::move(it->second);
  conns_.erase(it);
  if (Visitor* v = VisitorOf(c); v != nullptr) {
    v->Open = std::max(0, v->Open - 1);
    v->SeenAt = now;
  }
  room_.Leave(conn);
  if (const auto watched = tables_.find(c.Watching); watched != tables_.end()) {
    std::erase(watched->second.Watchers, conn);
    watched->second.Table->SetWatched(!watched->second.Watchers.empty());
    Publish(watched->second);
  }
  if (c.Seat == 0) return;
  const auto place = tables_.find(c.Code);
  if (place == tables_.end() || place->second.Conn[c.Seat] != conn) return;
  place->second.Conn[c.Seat] = 0;
  place->second.SeatedAt = now;
  place->second.Table->Dropped(c.Seat, now);
  Deliver(place->second);
}

void Hall::Received(int conn, std::string_view text, std::int64_t now) {
  const auto it = conns_.find(conn);
  if (it == conns_.end()) return;
  Conn& c = it->second;
  // One refusal tells a client it is too fast; answering every message of
  // a flood would only make the server the one flooding.
  if (!c.Gate.Admit(now)) {
    if (!c.Warned) Error(conn, ErrorCode::kTooFast);
    c.Warned = true;
    return;
  }
  c.Warned = false;
  const ReadOutcome read = ReadRequest(text);
  if (!read.Ok) {
    Error(conn, read.Error);
    return;
  }
  c.HeardAt = now;
  const Request& r = read.Value;
  switch (r.Type) {
    case RequestType::kCreate:
      OnCreate(conn, c, r, now);
      break;
    case RequestType::kJoin:
      OnJoin(conn, c, r, now);
      break;
    case RequestType::kResume:
      OnResume(conn, c, r, now);
      break;
    case RequestType::kLook:
      OnLook(conn, c, r, now);
      break;
    case RequestType::kLeaderboard:
      OnLeaderboard(conn, r);
      break;
    case RequestType::kPlayer:
      OnPlayer(conn, c);
      break;
    case RequestType::kStart:
    case RequestType::kMove:
    case RequestType::kLeave:
      OnSeated(conn, c, r, now);
      break;
    default:
      OnRoom(conn, c, r, now);
      break;
  }
}

void Hall::OnCreate(int conn, Conn& c, const Request& r, std::int64_t now) {
  Place* place = MakeTable(conn, c, r.Setup, r.Public, now);
  if (place == nullptr) return;
  Publish(*place);
  sends_.emplace_back(conn, Json::Object()
                                .Set("v", kProtocolVersion)
                                .Set("type", "created")
                                .Set("code", place->Table->Code())
                                .Dump());
}

Hall::Place* Hall::MakeTable(int conn, Conn& c, const TableSetup& setup, bool open,
                             std::int64_t now) {
  if (Visitor* v = VisitorOf(c); v != nullptr && !v->Creates.Admit(now)) {
    Error(conn, ErrorCode::kTooFast);
    return nullptr;
  }
  if (tables_.size() >= options_.MaxTables) {
    Error(conn, ErrorCode::kFull);
    return nullptr;
  }
  std::string code = NewCode();
  while (tables_.count(code) != 0) code = NewCode();
  Place place;
  const std::uint32_t seed = options_.Seed != 0 ? options_.Seed++ : SystemSource()();
  place.Table = std::make_unique<ServerTable>(code, setup, seed, options_.Timers);
  place.Table->DeferMoves(options_.Pool != nullptr);
  place.SeatedAt = now;
  place.MadeAt = now;
  place.Public = open;
  place.Table->SetPublic(open);
  return &tables_.emplace(code, std::move(place)).first->second;
}

bool Hall::MayLookUp(const Conn& c, std::int64_t now) {
  Visitor* v = VisitorOf(c);
  return v == nullptr || v->Lookups.Ready(now);
}

void Hall::LookupFailed(int conn, const Conn& c, std::int64_t now) {
  ++counts_.FailedLookups;
  if (Visitor* v = VisitorOf(c); v != nullptr) v->Lookups.Admit(now);
  // A wrong code and a wrong secret get the same answer: a guess of a
  // secret never tells that its code was right.
  Error(conn, ErrorCode::kNoTable);
}

bool Hall::MaySit(int conn, const Conn& c, std::int64_t now) {
  if (c.Seat != 0) {
    Error(conn, ErrorCode::kBadMessage);
    return false;
  }
  if (!MayLookUp(c, now)) {
    Error(conn, ErrorCode::kTooFast);
    return false;
  }
  return true;
}

void Hall::OnJoin(int conn, Conn& c, const Request& r, std::int64_t now) {
  if (!MaySit(conn, c, now)) return;
  const auto found = tables_.find(r.Code);
  if (found == tables_.end()) {
    LookupFailed(conn, c, now);
    return;
  }
  Place& place = found->second;
  const std::string token = NewToken();
  ErrorCode error = ErrorCode::kBadMessage;
  if (!place.Table->Join(r.Seat, r.Name, token, error)) {
    Error(conn, error);
    return;
  }
  StopWatching(conn, c);
  Bind(place, conn, r.Seat, now);
  Seated(conn, place, r.Seat, token);
  StartWhenFull(place, now);
}

void Hall::OnResume(int conn, Conn& c, const Request& r, std::int64_t now) {
  if (!MaySit(conn, c, now)) return;
  const auto found = tables_.find(r.Code);
  const int seat = found == tables_.end() ? 0 : found->second.Table->SeatOfToken(r.Token);
  if (seat == 0) {
    LookupFailed(conn, c, now);
    return;
  }
  Place& place = found->second;
  StopWatching(conn, c);
  Bind(place, conn, seat, now);
  place.Table->Arrived(seat, now);
  Seated(conn, place, seat, r.Token);
}

void Hall::Seated(int conn, Place& place, int seat, const std::string& token) {
  ServerTable& table = *place.Table;
  Post(place, conn,
       Json::Object()
           .Set("v", kProtocolVersion)
           .Set("type", "seated")
           .Set("code", table.Code())
           .Set("seat", seat)
           .Set("token", token)
           .Dump());
  // The other seats hear who sat down or came back; this one gets the
  // whole table as it may see it, which holds that news, then the news since.
  for (Outgoing& out : table.TakeOutbox()) Route(place, std::move(out), seat);
  Post(place, conn, table.ViewFor(seat));
  if (std::string q = table.QuestionFor(seat); !q.empty()) Post(place, conn, std::move(q));
  if (place.FillSent) TellFill(place, conn);
  Publish(place);
}

void Hall::OnSeated(int conn, Conn& c, const Request& r, std::int64_t now) {
  // A watcher's leave stops the watching.
  if (r.Type == RequestType::kLeave && c.Seat == 0 && !c.Watching.empty()) {
    StopWatching(conn, c);
    return;
  }
  const auto found = SeatedTable(conn, c);
  if (found == tables_.end()) return;
  Place& place = found->second;
  ServerTable& table = *place.Table;
  ErrorCode error = ErrorCode::kBadMessage;
  bool ok = true;
  if (r.Type == RequestType::kStart) {
    ok = table.Start(error, now);
  } else if (r.Type == RequestType::kMove) {
    ok = table.Answer(c.Seat, r, error, now);
  } else {
    place.Conn[c.Seat] = 0;
    place.SeatedAt = now;
    table.Left(c.Seat, now);
    c.Seat = 0;
    c.Code.clear();
    room_.Moved(conn, "");
  }
  if (!ok) Error(conn, error);
  Deliver(place);
  // A table whose people all left before it started is nobody's any more.
  if (r.Type == RequestType::kLeave && !table.Started() && !Bound(place)) {
    ++counts_.Expired;
    Drop(found);
  }
}

Hall::Tables::iterator Hall::Drop(Tables::iterator it) {
  if (!options_.Folder.empty()) removals_.push_back({it->first, FileOf(it->first), {}});
  if (it->second.Listed) room_.TableGone(it->first);
  DropWatchers(it->second);
  return tables_.erase(it);
}

void Hall::RoomRound(std::int64_t now) {
  if (now - newsAt_ < options_.RoomNewsMs) return;
  newsAt_ = now;
  room_.SendNews();
  ContinueListings();
}

void Hall::Tick(std::int64_t now) {
  for (auto& [code, place] : tables_) {
    const std::int64_t due = place.Table->NextDeadline();
    if (due >= 0 && due <= now && place.Table->Tick(now)) Deliver(place);
  }
  RoomRound(now);
  if (now - sweptAt_ < kSweepMs) return;
  sweptAt_ = now;
  std::vector<int> idle;
  for (const auto& [conn, c] : conns_) {
    // People in the room or watching may sit back quietly; a connection
    // that does neither holds its descriptor only while it talks.
    if (c.Seat == 0 && !c.InRoom && c.Watching.empty() &&
        now - c.HeardAt >= options_.UnseatedIdleMs)
      idle.push_back(conn);
  }
  for (const int conn : idle) {
    closes_.push_back(conn);
    Closed(conn, now);
  }
  for (auto it = tables_.begin(); it != tables_.end();) {
    Place& place = it->second;
    if (Bound(place)) place.SeatedAt = now;
    if (place.Public && !place.FillSent && !place.Table->Started() &&
        now - place.MadeAt >= options_.FillMs) {
      place.FillSent = true;
      for (int seat = 1; seat <= kSeats; ++seat) {
        if (place.Conn[seat] != 0) TellFill(place, place.Conn[seat]);
      }
    }
    if (!place.Table->Started() && now - place.SeatedAt >= options_.UnstartedTableMs) {
      ++counts_.Expired;
      it = Drop(it);
    } else {
      ++it;
    }
  }
  std::erase_if(visitors_, [now](const auto& entry) {
    return entry.second.Open == 0 && now - entry.second.SeenAt >= kVisitorMemoryMs;
  });
}

}  // namespace tarvelis::server
