// The hall's side of the ratings: a match that ends is handed to the ratings
// once, with every seat's person (a key hash) or the computer's fixed rating,
// and the room's "leaderboard" and "player" read them back.
#include <array>
#include <chrono>
#include <cmath>
#include <ctime>

#include "protocol/rules_line.h"
#include "server/computer_ratings.h"
#include "server/hall.h"
#include "server/ratings_port.h"
#include "server/room.h"

namespace tarvelis::server {
namespace {

// The matches a player's own page lists, newest first.
constexpr int kHistoryLength = 50;

int Rounded(double value) {
  return static_cast<int>(std::lround(value));
}

std::string UtcNow() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

Json PlayerJson(const StoredPlayer& p) {
  return Json::Object()
      .Set("name", p.Name)
      .Set("tag", TagOf(p.KeyHash))
      .Set("rating", Rounded(p.Rated.Value))
      .Set("deviation", Rounded(p.Rated.Deviation))
      .Set("matches", p.Matches)
      .Set("hands", p.Hands)
      .Set("hands_won", p.HandsWon);
}

}  // namespace

FinishedMatch FinishedMatchOf(const ServerTable& table) {
  const GameState& s = table.State();
  FinishedMatch m;
  m.Date = UtcNow();
  m.Rules = RoomRulesLine(s);
  m.Pairs = s.RuleMode == kModePairs;
  m.Hands = s.HandNumber;
  for (int seat = 1; seat <= kSeats; ++seat) {
    const SeatPlace& p = table.Seat(seat);
    FinishedSeat& f = m.Seats[static_cast<std::size_t>(seat - 1)];
    f.Name = p.Name;
    f.Total = m.Pairs ? s.PairTotal[PairOfSeat(seat)] : s.SeatTotal[seat];
    f.HandsWon = table.HandsWon(seat);
    if (p.Kind == SeatKind::kPerson) {
      // A person who never entered the room is met as a newcomer: the
      // starting rating, as unsure as it comes.
      f.KeyHash = p.KeyHash;
    } else {
      f.Fixed = FixedRating(p.Kind == SeatKind::kExpert, p.Level);
    }
  }
  return m;
}

void Hall::Identified(int conn, std::string keyHash) {
  const auto it = conns_.find(conn);
  if (it == conns_.end()) return;
  it->second.KeyHash = std::move(keyHash);
  // Already seated: the seat is this person's from now on.
  if (const auto place = tables_.find(it->second.Code);
      it->second.Seat != 0 && place != tables_.end())
    place->second.Table->SetKeyHash(it->second.Seat, it->second.KeyHash);
}

void Hall::RecordMatch(Place& place) {
  place.Recorded = true;
  if (options_.Ratings == nullptr) return;
  FinishedMatch match = FinishedMatchOf(*place.Table);
  // One person at two seats plays against (or beside) himself: a rating he
  // could raise at will. Neither seat is rated.
  std::array<bool, 4> twice{};
  for (std::size_t i = 0; i < twice.size(); ++i) {
    for (std::size_t j = 0; j < twice.size(); ++j) {
      const std::string& hash = match.Seats[i].KeyHash;
      if (i != j && !hash.empty() && hash == match.Seats[j].KeyHash) twice[i] = true;
    }
  }
  bool rated = false;
  for (std::size_t i = 0; i < twice.size(); ++i) {
    if (twice[i]) match.Seats[i].KeyHash.clear();
    rated = rated || !match.Seats[i].KeyHash.empty();
  }
  // A match with nobody rated changes no rating: it is not kept either.
  if (rated) options_.Ratings->Record(match);
}

void Hall::OnLeaderboard(int conn, const Request& r) {
  Json players = Json::Array();
  if (options_.Ratings != nullptr) {
    for (const StoredPlayer& p : options_.Ratings->Leaderboard(r.Most)) players.Push(PlayerJson(p));
  }
  sends_.emplace_back(conn, Json::Object()
                                .Set("v", kProtocolVersion)
                                .Set("type", "leaderboard")
                                .Set("players", std::move(players))
                                .Dump());
}

void Hall::OnPlayer(int conn, const Conn& c) {
  if (c.KeyHash.empty()) {
    Error(conn, ErrorCode::kNotInRoom);
    return;
  }
  StoredPlayer player;
  player.KeyHash = c.KeyHash;
  Json history = Json::Array();
  if (options_.Ratings != nullptr) {
    if (auto found = options_.Ratings->Find(c.KeyHash)) player = std::move(*found);
    for (const RatedEntry& e : options_.Ratings->History(c.KeyHash, kHistoryLength)) {
      history.Push(Json::Object()
                       .Set("date", e.Date)
                       .Set("total", e.Total)
                       .Set("before", Rounded(e.Before))
                       .Set("after", Rounded(e.After)));
    }
  }
  Json page = PlayerJson(player);
  page.Set("v", kProtocolVersion).Set("type", "player").Set("history", std::move(history));
  sends_.emplace_back(conn, page.Dump());
}

}  // namespace tarvelis::server
