#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "server/hall.h"
#include "server/ratings_port.h"

namespace tarvelis::server {
namespace {

// The players' store as a map: the "hash" is the key read backwards.
class MapRatings : public RatingsPort {
 public:
  std::optional<StoredPlayer> EnterWithKey(const std::string& key,
                                           const std::string& name) override {
    const std::string hash(key.rbegin(), key.rend());
    StoredPlayer& p = players[hash];
    p.KeyHash = hash;
    p.Name = name;
    return p;
  }
  std::optional<StoredPlayer> Find(const std::string& keyHash) const override {
    const auto it = players.find(keyHash);
    return it == players.end() ? std::nullopt : std::optional<StoredPlayer>(it->second);
  }
  bool Record(const FinishedMatch&) override { return true; }
  std::vector<StoredPlayer> Leaderboard(int) const override { return {}; }
  std::vector<RatedEntry> History(const std::string&, int) const override { return {}; }

  std::map<std::string, StoredPlayer> players;
};

std::string Key(char digit) {
  return std::string(64, digit);
}

class RoomHall {
 public:
  explicit RoomHall(HallOptions options = {}) : hall(WithRatings(options)) {}

  HallOptions WithRatings(HallOptions options) {
    options.Ratings = &ratings;
    return options;
  }
  void Send(int conn, const std::string& text) {
    if (opened.insert(conn).second) hall.Opened(conn, now);
    hall.Received(conn, text, now);
    Collect();
  }
  void Enter(int conn, const std::string& name) {
    Send(conn, R"({"v":1,"type":"enter","key":")" + Key(static_cast<char>('0' + conn % 10)) +
                   R"(","name":")" + name + "\"}");
  }
  void Collect() {
    for (auto& [conn, text] : hall.TakeSends()) inbox[conn].push_back(text);
  }
  // Every message of `type` a connection got, oldest first.
  std::vector<Json> All(int conn, const std::string& type) {
    Collect();
    std::vector<Json> found;
    for (const std::string& text : inbox[conn]) {
      auto j = ParseJson(text, {1 << 20, 8, 4096});
      if (j && j->StringAt("type", 32) == type) found.push_back(*j);
    }
    return found;
  }
  std::optional<Json> Last(int conn, const std::string& type) {
    auto all = All(conn, type);
    return all.empty() ? std::nullopt : std::optional<Json>(all.back());
  }
  std::string ErrorOf(int conn) {
    const auto e = Last(conn, "error");
    return e ? e->StringAt("error", 32).value_or("") : "";
  }
  std::string Quick(int conn, const std::string& rules = "{}") {
    Send(conn, R"({"v":1,"type":"quick","rules":)" + rules + "}");
    const auto seated = Last(conn, "seated");
    return seated ? seated->StringAt("code", 16).value_or("") : "";
  }

  MapRatings ratings;
  Hall hall;
  std::int64_t now = 1000;
  std::set<int> opened;
  std::map<int, std::vector<std::string>> inbox;
};

TEST(HallRoom, RequestsNeedTheirPlaceAndAreRefusedWithTheirCodes) {
  RoomHall h;
  h.Send(1, R"({"v":1,"type":"create","seats":[{"kind":"person"},{"kind":"computer"},)"
            R"({"kind":"computer"},{"kind":"computer"}]})");
  const std::string closed = h.Last(1, "created")->StringAt("code", 16).value();
  h.Enter(2, "Ana");
  const std::string open = h.Quick(2);
  ASSERT_FALSE(open.empty());
  h.Send(3, R"({"v":1,"type":"join","code":")" + closed + R"(","seat":1,"name":"Eva"})");
  struct Refusal {
    const char* What;
    int Conn;
    std::string Text;
    const char* Error;
  };
  const std::vector<Refusal> refusals = {
      {"quick outside the room", 9, R"({"v":1,"type":"quick"})", "not_in_room"},
      {"quick while seated", 2, R"({"v":1,"type":"quick"})", "bad_message"},
      {"room chat outside", 9, R"({"v":1,"type":"say","to":"room","text":"hola"})", "not_in_room"},
      {"table chat at no table", 9, R"({"v":1,"type":"say","to":"table","text":"hola"})",
       "not_seated"},
      {"an empty line", 2, R"({"v":1,"type":"say","to":"room","text":" \u200e\t "})",
       "bad_message"},
      {"leave the room unentered", 9, R"({"v":1,"type":"leave_room"})", "not_in_room"},
      {"fill unseated", 9, R"({"v":1,"type":"fill"})", "not_seated"},
      {"fill too soon", 2, R"({"v":1,"type":"fill"})", "not_ready"},
      {"fill a private table", 3, R"({"v":1,"type":"fill"})", "bad_message"},
      {"watch a private table", 9, R"({"v":1,"type":"watch","code":")" + closed + "\"}",
       "no_table"},
      {"watch nothing", 9, R"({"v":1,"type":"watch","code":"ZZZZZZZZZZ"})", "no_table"},
      {"watch while seated", 2, R"({"v":1,"type":"watch","code":")" + open + "\"}", "bad_message"},
      {"a short key", 9, R"({"v":1,"type":"enter","key":"abc","name":"x"})", "bad_message"},
      {"a key not hex", 9,
       R"({"v":1,"type":"enter","key":")" + std::string(64, 'g') + R"(","name":"x"})",
       "bad_message"},
      {"chat nowhere", 9, R"({"v":1,"type":"say","to":"hall","text":"x"})", "bad_message"},
      {"public not a truth", 9,
       R"({"v":1,"type":"create","public":1,"seats":[{"kind":"person"},{"kind":"person"},)"
       R"({"kind":"person"},{"kind":"person"}]})",
       "bad_message"},
  };
  for (const Refusal& r : refusals) {
    h.inbox.clear();
    h.Send(r.Conn, r.Text);
    EXPECT_EQ(h.ErrorOf(r.Conn), r.Error) << r.What;
  }
}

TEST(HallRoom, EnteringListsThePersonWithTheStoredRatingAndNeverAPrivateCode) {
  HallOptions options;
  options.MaxRoom = 2;
  RoomHall h(options);
  h.Enter(1, "Ana");
  h.ratings.players[std::string(64, '2')].Rated.Value = 1712.4;
  h.Enter(2, "  ");
  const auto room = h.Last(2, "room");
  ASSERT_TRUE(room);
  EXPECT_EQ(room->Find("people")->Items().size(), 2u);
  const auto ana = h.Last(2, "room_person");
  EXPECT_FALSE(ana);  // the listing holds those already there
  const auto seen = h.Last(1, "room_person");
  ASSERT_TRUE(seen);
  const Json* person = seen->Find("person");
  EXPECT_EQ(person->StringAt("name", 64), "Jugador");
  EXPECT_EQ(person->IntAt("rating", 0, 9999), 1712);
  EXPECT_EQ(person->StringAt("tag", 8), "2222");
  // The room is full for a third.
  h.Enter(3, "Eva");
  EXPECT_EQ(h.ErrorOf(3), "full");
  // A private table's people stay where nobody looks.
  h.Send(1, R"({"v":1,"type":"create","seats":[{"kind":"person"},{"kind":"person"},)"
            R"({"kind":"computer"},{"kind":"computer"}]})");
  const std::string closed = h.Last(1, "created")->StringAt("code", 16).value();
  h.Send(1, R"({"v":1,"type":"join","code":")" + closed + R"(","seat":1,"name":"Ana"})");
  for (const std::string& text : h.inbox[2]) EXPECT_EQ(text.find(closed), std::string::npos);
  // Closing the connection leaves the room.
  h.hall.Closed(1, h.now);
  const auto gone = h.Last(2, "room_person");
  EXPECT_EQ(gone->Find("gone")->AsBool(), true);
}

TEST(HallRoom, TheQuickSeatFillsOneTableOfTheSameRulesThatThenStartsByItself) {
  RoomHall h;
  for (int conn = 1; conn <= 5; ++conn) h.Enter(conn, "P" + std::to_string(conn));
  const std::string first = h.Quick(1);
  EXPECT_EQ(h.Last(1, "seated")->IntAt("seat", 1, 4), 1);
  // Another player's rules open a table of their own.
  const std::string other = h.Quick(5, R"({"mode":"individual"})");
  EXPECT_NE(other, first);
  for (int conn = 2; conn <= 4; ++conn) EXPECT_EQ(h.Quick(conn), first);
  EXPECT_TRUE(h.hall.Find(first)->Started());
  EXPECT_TRUE(h.Last(1, "dealt"));
  // Everyone in the room saw the table change, start, and who sat where.
  const auto tables = h.All(5, "room_table");
  ASSERT_FALSE(tables.empty());
  const Json* listed = tables.back().Find("table");
  EXPECT_EQ(listed->StringAt("code", 16), first);
  EXPECT_TRUE(listed->Find("started")->AsBool());
  EXPECT_EQ(listed->Find("seats")->Items()[3].StringAt("name", 64), "P4");
  EXPECT_EQ(listed->Find("seats")->Items()[3].IntAt("rating", 0, 9999), 1500);
  EXPECT_NE(listed->StringAt("rules", 200)->find("Parejas"), std::string::npos);
  bool placed = false;
  for (const Json& p : h.All(5, "room_person")) {
    const Json* person = p.Find("person");
    placed = placed || (person != nullptr && person->StringAt("where", 16) == first);
  }
  EXPECT_TRUE(placed);
}

TEST(HallRoom, FreeChairsGoToTheComputerOnlyOnceTheWaitIsOver) {
  HallOptions options;
  options.FillMs = 60000;
  RoomHall h(options);
  h.Enter(1, "Ana");
  const std::string code = h.Quick(1);
  h.now += 59000;
  h.hall.Tick(h.now);
  h.Collect();
  EXPECT_FALSE(h.Last(1, "can_fill"));
  h.Send(1, R"({"v":1,"type":"fill"})");
  EXPECT_EQ(h.ErrorOf(1), "not_ready");
  h.now += 1000;
  h.hall.Tick(h.now);
  EXPECT_EQ(h.Last(1, "can_fill")->StringAt("code", 16), code);
  // One who sits later is told as well.
  h.Enter(2, "Eva");
  EXPECT_EQ(h.Quick(2), code);
  EXPECT_TRUE(h.Last(2, "can_fill"));
  h.Send(2, R"({"v":1,"type":"fill"})");
  const ServerTable& table = *h.hall.Find(code);
  EXPECT_TRUE(table.Started());
  EXPECT_EQ(table.Seat(3).Kind, SeatKind::kComputer);
  EXPECT_EQ(table.Seat(3).Level, 50);
  EXPECT_EQ(table.Seat(2).Kind, SeatKind::kPerson);
}

TEST(HallRoom, WatchersAreBoundedSeeNoTilesAndLeaveWithLeave) {
  HallOptions options;
  options.MaxWatchers = 1;
  RoomHall h(options);
  h.Enter(1, "Ana");
  const std::string code = h.Quick(1);
  h.Enter(6, "Mira");
  h.Send(6, R"({"v":1,"type":"watch","code":")" + code + "\"}");
  EXPECT_EQ(h.Last(6, "watching")->StringAt("code", 16), code);
  const auto view = h.Last(6, "table");
  EXPECT_EQ(view->IntAt("seat", 0, 4), 0);
  EXPECT_EQ(view->Find("tiles"), nullptr);
  EXPECT_EQ(h.Last(1, "room_table")->Find("table")->IntAt("watchers", 0, 9), 1);
  h.Send(7, R"({"v":1,"type":"watch","code":")" + code + "\"}");
  EXPECT_EQ(h.ErrorOf(7), "full");
  // The table's chat reaches its seat and its watcher, under the room's names.
  h.Send(6, R"({"v":1,"type":"say","to":"table","text":"  suerte\u202e  a todos "})");
  const auto line = h.Last(1, "chat");
  ASSERT_TRUE(line);
  EXPECT_EQ(line->StringAt("text", 200), "suerte a todos");
  EXPECT_EQ(line->StringAt("name", 64), "Mira");
  EXPECT_EQ(line->StringAt("to", 8), "table");
  EXPECT_TRUE(h.Last(6, "chat"));
  h.Send(6, R"({"v":1,"type":"leave"})");
  EXPECT_EQ(h.Last(1, "room_table")->Find("table")->IntAt("watchers", 0, 9), 0);
  h.Send(7, R"({"v":1,"type":"watch","code":")" + code + "\"}");
  EXPECT_TRUE(h.Last(7, "watching"));
}

TEST(HallRoom, HeldNewsGoesOutWithTheRoundAndTheChatAtOnce) {
  HallOptions options;
  options.RoomNewsMs = 200;
  RoomHall h(options);
  h.hall.RoomRound(h.now);  // a round just went: the next is due in 200 ms
  h.Enter(1, "Ana");
  h.Enter(2, "Eva");
  const std::string code = h.Quick(2);
  h.Send(2, R"({"v":1,"type":"say","to":"room","text":"hola"})");
  EXPECT_TRUE(h.Last(1, "chat"));
  EXPECT_TRUE(h.All(1, "room_person").empty());
  EXPECT_TRUE(h.All(1, "room_table").empty());
  // A round asked for before its time sends nothing; once due, no tick needed.
  h.now += 150;
  h.hall.RoomRound(h.now);
  EXPECT_TRUE(h.All(1, "room_person").empty());
  h.now += 50;
  h.hall.RoomRound(h.now);
  // Eva once, as she stands now: entered and seated.
  const auto people = h.All(1, "room_person");
  ASSERT_EQ(people.size(), 2u);  // Ana's own line, then Eva's
  EXPECT_EQ(people[1].Find("person")->StringAt("where", 16), code);
  EXPECT_EQ(h.All(1, "room_table").size(), 1u);
}

TEST(HallRoom, ChatIsOneLineASecondInBurstsOfFive) {
  RoomHall h;
  h.Enter(1, "Ana");
  h.Enter(2, "Eva");
  for (int i = 0; i < 7; ++i) h.Send(1, R"({"v":1,"type":"say","to":"room","text":"hola"})");
  EXPECT_EQ(h.All(2, "chat").size(), 5u);
  EXPECT_EQ(h.ErrorOf(1), "too_fast");
  const auto heard = h.Last(2, "chat");
  EXPECT_EQ(heard->StringAt("name", 64), "Ana");
  EXPECT_EQ(heard->StringAt("tag", 8), "1111");
  h.now += 1000;
  h.Send(1, R"({"v":1,"type":"say","to":"room","text":"otra"})");
  EXPECT_EQ(h.All(2, "chat").size(), 6u);
  // Out of the room, the room's chat is not heard.
  h.Send(2, R"({"v":1,"type":"leave_room"})");
  h.now += 1000;
  h.inbox.clear();
  h.Send(1, R"({"v":1,"type":"say","to":"room","text":"nadie"})");
  EXPECT_TRUE(h.All(2, "chat").empty());
}

// A public table outlives a restart as public: the hall that reads its file
// back lists it in the room again, and a private one stays unlisted.
TEST(HallRoom, APublicTableIsListedAgainAfterARestart) {
  namespace fs = std::filesystem;
  const fs::path folder =
      fs::path(testing::TempDir()) / ("hall-room-restart-" + std::to_string(getpid()));
  fs::remove_all(folder);
  ASSERT_EQ(PrepareFolder(folder), "");
  HallOptions options;
  options.Folder = folder;
  std::string open;
  std::string closed;
  {
    RoomHall h(options);
    h.Enter(1, "Ana");
    const std::string seats = R"("seats":[{"kind":"person"},{"kind":"person"},)"
                              R"({"kind":"computer"},{"kind":"computer"}])";
    h.Send(1, R"({"v":1,"type":"create","public":true,)" + seats + "}");
    open = h.Last(1, "created")->StringAt("code", 16).value();
    h.Send(1, R"({"v":1,"type":"create",)" + seats + "}");
    closed = h.Last(1, "created")->StringAt("code", 16).value();
    for (const Hall::FileJob& job : h.hall.TakeFileJobs(10, h.now)) ASSERT_TRUE(WriteFileJob(job));
  }
  RoomHall back(options);
  ASSERT_EQ(back.hall.Load(back.now), 2);
  back.Enter(2, "Eva");
  const auto room = back.Last(2, "room");
  ASSERT_TRUE(room);
  const auto& tables = room->Find("tables")->Items();
  ASSERT_EQ(tables.size(), 1u);
  EXPECT_EQ(tables[0].StringAt("code", 16), open);
  EXPECT_EQ(room->Dump().find(closed), std::string::npos);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace tarvelis::server
