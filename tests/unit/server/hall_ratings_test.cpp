// The hall and the ratings, through an in-memory port: what a finished match
// hands over, and the room's leaderboard and player page.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "server/computer_ratings.h"
#include "server/hall.h"
#include "server/room.h"

namespace tarvelis::server {
namespace {

const std::string kAna(64, 'a');
const std::string kBea = std::string(60, 'b') + "1234";

class FakeRatings : public RatingsPort {
 public:
  std::optional<StoredPlayer> EnterWithKey(const std::string& key,
                                           const std::string& name) override {
    return players[key] = StoredPlayer{key, name, {}, 0, 0, 0};
  }
  std::optional<StoredPlayer> Find(const std::string& keyHash) const override {
    const auto it = players.find(keyHash);
    return it == players.end() ? std::nullopt : std::optional(it->second);
  }
  bool Record(const FinishedMatch& match) override {
    recorded.push_back(match);
    return true;
  }
  std::vector<StoredPlayer> Leaderboard(int most) const override {
    asked = most;
    std::vector<StoredPlayer> board;
    for (const auto& [hash, p] : players) board.push_back(p);
    return board;
  }
  std::vector<RatedEntry> History(const std::string& keyHash, int) const override {
    return keyHash == kAna ? std::vector<RatedEntry>{{"2026-12-07T09:00:00Z", 7, 1500, 1561.6}}
                           : std::vector<RatedEntry>{};
  }

  std::map<std::string, StoredPlayer> players;
  std::vector<FinishedMatch> recorded;
  mutable int asked = 0;
};

struct Table {
  explicit Table(FakeRatings& ratings, const char* seats, const std::string& rules,
                 const std::map<int, std::string>& hashes)
      : hall(Options(ratings)) {
    hall.Opened(9);
    std::string create = R"({"v":1,"type":"create","seats":[)";
    for (int i = 0; i < 4; ++i) {
      create += i > 0 ? "," : "";
      create += seats[i] == 'p'   ? R"({"kind":"person"})"
                : seats[i] == 'e' ? R"({"kind":"expert"})"
                                  : R"({"kind":"computer","level":)" + std::to_string(25 * i) + "}";
    }
    hall.Received(9, create + "],\"rules\":" + rules + "}", 0);
    code = Reply(9).StringAt("code", 16).value();
    for (int seat = 1; seat <= 4; ++seat) {
      if (seats[seat - 1] != 'p') continue;
      hall.Opened(seat);
      if (hashes.count(seat) != 0) hall.Identified(seat, hashes.at(seat));
      hall.Received(seat,
                    R"({"v":1,"type":"join","code":")" + code + R"(","seat":)" +
                        std::to_string(seat) + R"(,"name":"P)" + std::to_string(seat) + "\"}",
                    0);
    }
    hall.Received(1, R"({"v":1,"type":"start"})", 0);
  }
  static HallOptions Options(FakeRatings& ratings) {
    HallOptions o;
    o.Ratings = &ratings;
    o.Seed = 11;
    return o;
  }
  // The last text sent to `conn`, read.
  Json Reply(int conn) {
    std::optional<Json> last;
    for (auto& [to, text] : hall.TakeSends()) {
      if (to == conn) last = ParseJson(text, {1 << 20, 8, 512});
    }
    return last.value_or(Json());
  }
  // Every question answered by the computer, until the match ends.
  void PlayToEnd() {
    ServerTable& t = *hall.Find(code);
    for (int i = 0; i < 5000 && !t.Finished(); ++i) {
      const GameState& s = t.State();
      hall.Received(s.CurrentSeat,
                    R"({"v":1,"type":"move","hand":)" + std::to_string(s.HandNumber) +
                        R"(,"move":)" + std::to_string(s.MoveNumber) + R"(,"auto":true})",
                    0);
    }
    hall.TakeSends();
  }

  Hall hall;
  std::string code;
};

TEST(HallRatings, AMatchBetweenPeopleIsHandedOverOnceWithItsSeatsAndTotals) {
  FakeRatings ratings;
  Table t(ratings, "pppp", "{}", {{1, kAna}, {2, kBea}});
  t.PlayToEnd();
  const ServerTable& table = *t.hall.Find(t.code);
  ASSERT_TRUE(table.Finished());
  // Leaving afterwards hands nothing over again.
  t.hall.Received(3, R"({"v":1,"type":"leave"})", 0);
  t.hall.Closed(1, 0);
  ASSERT_EQ(ratings.recorded.size(), 1u);
  const FinishedMatch& m = ratings.recorded[0];
  const GameState& s = table.State();
  EXPECT_TRUE(m.Pairs);
  EXPECT_EQ(m.Hands, s.HandNumber);
  EXPECT_EQ(m.Date.size(), 20u);
  EXPECT_NE(m.Rules.find("Parejas"), std::string::npos) << m.Rules;
  EXPECT_EQ(m.Seats[0].KeyHash, kAna);
  EXPECT_EQ(m.Seats[1].KeyHash, kBea);
  // Seats whose people never entered the room are met as newcomers.
  EXPECT_EQ(m.Seats[2].KeyHash, "");
  EXPECT_EQ(m.Seats[3].Fixed, Rating{});
  int won = 0;
  for (int seat = 1; seat <= 4; ++seat) {
    const FinishedSeat& f = m.Seats[static_cast<std::size_t>(seat - 1)];
    EXPECT_EQ(f.Name, "P" + std::to_string(seat));
    EXPECT_EQ(f.Total, s.PairTotal[PairOfSeat(seat)]) << seat;
    won += f.HandsWon;
  }
  // Partners win the same hands; every hand won is counted for its pair.
  EXPECT_EQ(m.Seats[0].HandsWon, m.Seats[2].HandsWon);
  EXPECT_EQ(m.Seats[1].HandsWon, m.Seats[3].HandsWon);
  EXPECT_GT(won, 0);
  EXPECT_LE(won / 2, m.Hands);
  EXPECT_NE(m.Seats[0].Total, m.Seats[1].Total);
}

TEST(HallRatings, TheComputerPlaysAtItsFixedRatingEveryoneForHimself) {
  FakeRatings ratings;
  Table t(ratings, "pcce", R"({"mode":"individual","target":2})", {{1, kAna}});
  t.PlayToEnd();
  ASSERT_EQ(ratings.recorded.size(), 1u);
  const FinishedMatch& m = ratings.recorded[0];
  const GameState& s = t.hall.Find(t.code)->State();
  EXPECT_FALSE(m.Pairs);
  EXPECT_EQ(m.Seats[0].KeyHash, kAna);
  EXPECT_EQ(m.Seats[1].Fixed, FixedRating(false, 25));
  EXPECT_EQ(m.Seats[2].Fixed, FixedRating(false, 50));
  EXPECT_EQ(m.Seats[3].Fixed, FixedRating(true, 100));
  int won = 0;
  for (int seat = 1; seat <= 4; ++seat) {
    EXPECT_EQ(m.Seats[static_cast<std::size_t>(seat - 1)].Total, s.SeatTotal[seat]);
    won += m.Seats[static_cast<std::size_t>(seat - 1)].HandsWon;
  }
  EXPECT_GT(won, 0);
  EXPECT_LE(won, m.Hands);
}

TEST(HallRatings, AMatchWithNobodyRatedIsNotHandedOver) {
  FakeRatings ratings;
  Table t(ratings, "pcpc", R"({"target":1})", {});
  t.PlayToEnd();
  EXPECT_TRUE(t.hall.Find(t.code)->Finished());
  EXPECT_TRUE(ratings.recorded.empty());
}

TEST(HallRatings, OnePersonAtTwoSeatsIsRatedAtNeither) {
  FakeRatings ratings;
  Table t(ratings, "pppp", R"({"target":1})", {{1, kAna}, {2, kAna}, {3, kBea}});
  t.PlayToEnd();
  ASSERT_EQ(ratings.recorded.size(), 1u);
  const FinishedMatch& m = ratings.recorded[0];
  EXPECT_EQ(m.Seats[0].KeyHash, "");
  EXPECT_EQ(m.Seats[1].KeyHash, "");
  EXPECT_EQ(m.Seats[2].KeyHash, kBea);
}

TEST(HallRatings, TheLeaderboardAndThePlayersOwnPage) {
  FakeRatings ratings;
  ratings.players[kAna] = {kAna, "Ana", {1561.6, 80.2, 0.06}, 1, 9, 5};
  ratings.players[kBea] = {kBea, "Bea", {1438.4, 80.2, 0.06}, 1, 9, 4};
  HallOptions o;
  o.Ratings = &ratings;
  Hall hall(o);
  hall.Opened(1);
  const auto reply = [&hall]() {
    auto sends = hall.TakeSends();
    return sends.empty() ? Json() : ParseJson(sends.back().second, {1 << 20, 8, 512}).value();
  };
  struct Refused {
    const char* Text;
    const char* Error;
  };
  // The page needs the room; the count has its bounds.
  for (const Refused& r : {Refused{R"({"v":1,"type":"player"})", "not_in_room"},
                           Refused{R"({"v":1,"type":"leaderboard","most":0})", "bad_message"},
                           Refused{R"({"v":1,"type":"leaderboard","most":101})", "bad_message"},
                           Refused{R"({"v":1,"type":"leaderboard","most":"5"})", "bad_message"},
                           Refused{R"({"v":1,"type":"player","key":"x"})", "bad_message"}}) {
    hall.Received(1, r.Text, 0);
    EXPECT_EQ(reply().StringAt("error", 32).value_or(""), r.Error) << r.Text;
  }
  hall.Received(1, R"({"v":1,"type":"leaderboard"})", 0);
  const Json board = reply();
  EXPECT_EQ(ratings.asked, 20);
  ASSERT_EQ(board.StringAt("type", 32).value_or(""), "leaderboard");
  const Json& first = board.Find("players")->Items().at(0);
  EXPECT_EQ(first.StringAt("name", 32).value_or(""), "Ana");
  EXPECT_EQ(first.StringAt("tag", 32).value_or(""), TagOf(kAna));
  EXPECT_EQ(first.IntAt("rating", 0, 5000).value_or(0), 1562);
  EXPECT_EQ(first.IntAt("hands_won", 0, 99).value_or(0), 5);
  hall.Received(1, R"({"v":1,"type":"leaderboard","most":100})", 0);
  reply();
  EXPECT_EQ(ratings.asked, 100);

  hall.Identified(1, kAna);
  hall.Received(1, R"({"v":1,"type":"player"})", 0);
  const Json page = reply();
  ASSERT_EQ(page.StringAt("type", 32).value_or(""), "player");
  EXPECT_EQ(page.StringAt("name", 32).value_or(""), "Ana");
  EXPECT_EQ(page.IntAt("deviation", 0, 500).value_or(0), 80);
  EXPECT_EQ(page.IntAt("matches", 0, 99).value_or(0), 1);
  const Json& entry = page.Find("history")->Items().at(0);
  EXPECT_EQ(entry.IntAt("before", 0, 5000).value_or(0), 1500);
  EXPECT_EQ(entry.IntAt("after", 0, 5000).value_or(0), 1562);
  EXPECT_EQ(entry.IntAt("total", 0, 999).value_or(0), 7);
}

TEST(HallRatings, ComputerRatingsRiseWithTheLevelAndLieBetweenTheMeasured) {
  for (int level = 0; level < 100; ++level) {
    EXPECT_LE(FixedRating(false, level).Value, FixedRating(false, level + 1).Value + 1e-9) << level;
  }
  EXPECT_DOUBLE_EQ(FixedRating(false, 50).Value, 1500);
  EXPECT_EQ(FixedRating(false, -5), FixedRating(false, 0));
  EXPECT_EQ(FixedRating(false, 130), FixedRating(false, 100));
  EXPECT_GT(FixedRating(true, 0).Value, FixedRating(false, 100).Value);
}

TEST(HallRatings, ATableFileKeepsWhoIsRatedAndTheHandsWonAndOlderFilesLoad) {
  FakeRatings ratings;
  Table t(ratings, "pppp", "{}", {{2, kBea}});
  ServerTable& table = *t.hall.Find(t.code);
  const std::string text = table.FileText();
  auto back = ServerTable::FromFileText(text, 1, {}, 0);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->Seat(2).KeyHash, kBea);
  EXPECT_EQ(back->Seat(1).KeyHash, "");
  EXPECT_EQ(back->FileText(), text);
  // A file written before the seats had key hashes: no such lines at all.
  std::string older = text;
  const std::size_t from = older.find("key ");
  older.erase(from, older.find("state\n") - from);
  auto old = ServerTable::FromFileText(older, 1, {}, 0);
  ASSERT_TRUE(old);
  EXPECT_EQ(old->Seat(2).KeyHash, "");
  EXPECT_EQ(old->HandsWon(1), 0);
  // A damaged line is refused, not skipped.
  std::string damaged = text;
  damaged.replace(damaged.find("key 2 ") + 6, 1, "Z");
  EXPECT_FALSE(ServerTable::FromFileText(damaged, 1, {}, 0));
}

}  // namespace
}  // namespace tarvelis::server
