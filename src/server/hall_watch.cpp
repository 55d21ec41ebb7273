// Watchers of a public table: they get the table as nobody's seat sees it
// and then every message the seats get that tells no seat's tiles. A watcher
// holds no tile and is never asked; a connection watches one table at most.
#include "server/hall.h"

namespace tarvelis::server {
namespace {

constexpr const char* kWatchersFullText = "Esta mesa no admite más mirones.";

}  // namespace

void Hall::OnWatch(int conn, Conn& c, const Request& r) {
  if (c.Seat != 0) {
    Error(conn, ErrorCode::kBadMessage);
    return;
  }
  const auto found = tables_.find(r.Code);
  // A private table is not watched, and is not told apart from none.
  if (found == tables_.end() || !found->second.Public) {
    Error(conn, ErrorCode::kNoTable);
    return;
  }
  Place& place = found->second;
  if (c.Watching != r.Code) {
    if (place.Watchers.size() >= options_.MaxWatchers) {
      SendError(conn, ErrorCode::kFull, kWatchersFullText);
      return;
    }
    StopWatching(conn, c);
    place.Watchers.push_back(conn);
    c.Watching = r.Code;
  }
  ServerTable& table = *place.Table;
  table.SetWatched(true);
  Post(place, conn,
       Json::Object()
           .Set("v", kProtocolVersion)
           .Set("type", "watching")
           .Set("code", table.Code())
           .Dump());
  Post(place, conn, table.ViewFor(0));
  room_.Moved(conn, WhereOf(c));
  Publish(place);
}

void Hall::StopWatching(int conn, Conn& c) {
  const auto found = tables_.find(c.Watching);
  c.Watching.clear();
  if (found == tables_.end()) return;
  Place& place = found->second;
  std::erase(place.Watchers, conn);
  place.Table->SetWatched(!place.Watchers.empty());
  room_.Moved(conn, WhereOf(c));
  Publish(place);
}

void Hall::DropWatchers(Place& place) {
  for (const int watcher : std::exchange(place.Watchers, {})) {
    if (const auto it = conns_.find(watcher); it != conns_.end()) {
      it->second.Watching.clear();
      room_.Moved(watcher, "");
    }
  }
}

}  // namespace tarvelis::server
