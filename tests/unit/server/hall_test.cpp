#include "server/hall.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/consistency.h"

namespace tarvelis::server {
namespace {

constexpr int kCreator = 9;

// A hall with four clients, one per seat (connections 1..4), driven as the
// bots drive the server: each question answered in turn, one move in two by
// the computer.
class Players {
 public:
  explicit Players(HallOptions options = {}, const char* seats = "pppp",
                   const std::string& rules = "{}", int watcher = 0)
      : hall(options) {
    hall.Opened(kCreator);
    std::string create = R"({"v":1,"type":"create","seats":[)";
    for (int i = 0; i < 4; ++i) {
      create += i > 0 ? "," : "";
      create += seats[i] == 'p'   ? R"({"kind":"person"})"
                : seats[i] == 'e' ? R"({"kind":"expert"})"
                                  : R"({"kind":"computer"})";
    }
    hall.Received(kCreator,
                  create + "],\"rules\":" + rules + (watcher != 0 ? ",\"public\":true}" : "}"),
                  now);
    code = Last(kCreator, "created")->StringAt("code", 16).value();
    // A watcher of a public table, from before its people sit.
    if (watcher != 0) {
      hall.Opened(watcher);
      Send(watcher, R"({"v":1,"type":"watch","code":")" + code + "\"}");
    }
    for (int seat = 1; seat <= 4; ++seat) {
      if (seats[seat - 1] != 'p') continue;
      hall.Opened(seat);
      Send(seat, R"({"v":1,"type":"join","code":")" + code + R"(","seat":)" + std::to_string(seat) +
                     R"(,"name":"P)" + std::to_string(seat) + "\"}");
      token[seat] = Last(seat, "seated")->StringAt("token", 64).value();
    }
  }

  void Send(int conn, const std::string& text) {
    hall.Received(conn, text, now);
    Collect();
  }
  void Collect() {
    for (auto& [conn, text] : hall.TakeSends()) {
      inbox[conn].push_back(text);
      if (OnSent) OnSent(conn, text);
    }
  }
  // The last message of `type` a connection got.
  std::optional<Json> Last(int conn, const std::string& type) {
    Collect();
    for (auto it = inbox[conn].rbegin(); it != inbox[conn].rend(); ++it) {
      auto j = ParseJson(*it, {1 << 20, 8, 512});
      if (j && j->StringAt("type", 32) == type) return j;
    }
    return std::nullopt;
  }
  ServerTable& Table() { return *hall.Find(code); }

  // Answers the question out, if any; false when none is.
  bool AnswerOne(bool byHand) {
    const GameState& s = Table().State();
    const int seat = s.CurrentSeat;
    const std::string q = Table().QuestionFor(seat);
    if (q.empty()) return false;
    const Json asked = ParseJson(q, {1 << 20, 8, 512}).value();
    std::string move = R"({"v":1,"type":"move","hand":)" + std::to_string(s.HandNumber) +
                       R"(,"move":)" + std::to_string(s.MoveNumber);
    const Json& first = asked.Find("playable")->Items().at(0);
    if (byHand) {
      move += R"(,"tile":)" + first.Find("tile")->Dump() + R"(,"end":)" +
              first.Find("ends")->Items().back().Dump() + "}";
    } else {
      move += R"(,"auto":true})";
    }
    Send(seat, move);
    return true;
  }
  // Plays on until the match ends; the number of answers given.
  int PlayToEnd() {
    int answers = 0;
    for (int i = 0; i < 5000 && !Table().Finished(); ++i) {
      if (!AnswerOne(i % 2 == 0)) break;
      ++answers;
    }
    return answers;
  }

  Hall hall;
  std::int64_t now = 1000;
  std::string code;
  PerSeat<std::string> token;
  std::map<int, std::vector<std::string>> inbox;
  std::function<void(int, const std::string&)> OnSent;
};

void CollectTiles(const Json& j, std::vector<std::pair<int, int>>& out) {
  if (j.IsArray() && j.Items().size() == 2 && j.Items()[0].IsNumber() && j.Items()[1].IsNumber()) {
    out.emplace_back(static_cast<int>(j.Items()[0].AsNumber()),
                     static_cast<int>(j.Items()[1].AsNumber()));
  }
  for (const Json& item : j.Items()) CollectTiles(item, out);
  for (const auto& [name, value] : j.Members()) {
    if (name != "ends" && name != "totals") CollectTiles(value, out);
  }
}

// The unplayed tiles of any seat but `viewer` (0: a watcher, who holds none)
// named in a message, judged against the table as it stands when sent.
int Leaks(const Json& j, const GameState& s, int viewer) {
  // News of a hand already closed (sent in the batch that dealt the next) is
  // judged with that hand's closing, not against the new deal; a tied hand
  // is dealt again under its own number, so a move beyond the new deal's
  // tells it too.
  if (j.StringAt("type", 32) == "hand_closed" || !s.HandInProgress ||
      j.IntAt("hand", 1, 1000).value_or(s.HandNumber) != s.HandNumber ||
      j.IntAt("move", 0, 1000).value_or(0) > s.MoveNumber)
    return -1;
  std::vector<std::pair<int, int>> tiles;
  CollectTiles(j, tiles);
  int leaks = 0;
  for (const auto& [a, b] : tiles) {
    for (int seat = 1; seat <= kSeats; ++seat) {
      if (seat == viewer) continue;
      for (int slot = 1; slot <= kSlots; ++slot) {
        const HandSlot& t = s.Hand[seat][slot];
        const bool same = (t.PipA == a && t.PipB == b) || (t.PipA == b && t.PipB == a);
        if (same && t.State == 0) ++leaks;
      }
    }
  }
  return leaks;
}

TEST(Hall, WholeMatchesShowASeatOrAWatcherNoUnplayedTileOfAnotherBeforeTheHandEnds) {
  constexpr int kWatcher = 7;
  int checked = 0;
  int watcherChecked = 0;
  for (int match = 0; match < 3; ++match) {
    Players p({}, "pppp", "{}", kWatcher);
    ASSERT_TRUE(p.Last(kWatcher, "watching"));
    int leaks = 0;
    int asks = 0;
    // Every text to seat 2 and to the watcher.
    const auto judge = [&](int conn, const std::string& text) {
      if (conn != 2 && conn != kWatcher) return;
      const Json j = ParseJson(text, {1 << 20, 8, 512}).value();
      const std::string type = j.StringAt("type", 32).value_or("");
      if (conn == kWatcher) asks += type == "asked" ? 1 : 0;
      const int found = Leaks(j, p.Table().State(), conn == kWatcher ? 0 : conn);
      if (found < 0) return;
      leaks += found;
      (conn == kWatcher ? watcherChecked : checked) += 1;
    };
    // The table is public: it started by itself once the last chair was
    // taken, and waits for the leader's first tile, nothing laid yet.
    ASSERT_TRUE(p.Table().Started());
    ASSERT_EQ(p.Table().State().MoveNumber, 1);
    for (const int conn : {2, kWatcher}) {
      for (const std::string& text : p.inbox[conn]) judge(conn, text);
    }
    EXPECT_TRUE(p.Last(kWatcher, "dealt"));
    p.OnSent = judge;
    p.PlayToEnd();
    ASSERT_TRUE(p.Table().Finished());
    EXPECT_EQ(leaks, 0);
    EXPECT_EQ(asks, 0);
    // The watcher hears whom each question put to a seat waited for.
    const auto count = [&p](int conn, std::string_view type) {
      return std::count_if(p.inbox[conn].begin(), p.inbox[conn].end(), [&](const std::string& t) {
        return t.find("\"type\":\"" + std::string(type) + "\"") != std::string::npos;
      });
    };
    EXPECT_GT(count(kWatcher, "turn"), 0);
    EXPECT_EQ(count(kWatcher, "turn"),
              count(1, "asked") + count(2, "asked") + count(3, "asked") + count(4, "asked"));
    EXPECT_EQ(p.Table().Violations(), 0);
    EXPECT_TRUE(p.Last(3, "match_end").has_value());
    EXPECT_TRUE(p.Last(kWatcher, "match_end").has_value());
  }
  // The tiles it did see: its own, and those laid.
  EXPECT_GT(checked, 20);
  EXPECT_GT(watcherChecked, 60);
}

TEST(Hall, ASeatActsOnlyForItselfOnlyWhenAskedAndOnlyLegally) {
  Players p;
  p.Send(1, R"({"v":1,"type":"start"})");
  const GameState& s = p.Table().State();
  const int asked = s.CurrentSeat;
  const int other = asked % 4 + 1;
  const GameState before = s;
  const std::string head = R"({"v":1,"type":"move","hand":)" + std::to_string(s.HandNumber) +
                           R"(,"move":)" + std::to_string(s.MoveNumber);
  const HandSlot& theirs = s.Hand[other][1];
  const std::string theirTile =
      "[" + std::to_string(theirs.PipA) + "," + std::to_string(theirs.PipB) + "]";
  constexpr int kStranger = 20;
  p.hall.Opened(kStranger);
  struct Refusal {
    const char* What;
    int Conn;
    std::string Text;
    const char* Error;
  };
  const std::vector<Refusal> refusals = {
      {"a seat not asked", other, head + R"(,"auto":true})", "not_asked"},
      {"a tile of another seat", asked, head + ",\"tile\":" + theirTile + "}", "illegal"},
      {"a move already past", asked, R"({"v":1,"type":"move","hand":1,"move":7,"auto":true})",
       "stale"},
      {"no seat at all", kStranger, head + R"(,"auto":true})", "not_seated"},
      {"a start twice", asked, R"({"v":1,"type":"start"})", "started"},
      {"a second seat", asked,
       R"({"v":1,"type":"join","code":")" + p.code + R"(","seat":1,"name":"x"})", "bad_message"},
      {"a taken seat", kStranger,
       R"({"v":1,"type":"join","code":")" + p.code + R"(","seat":1,"name":"x"})", "seat_taken"},
      {"another version", asked, R"({"v":2,"type":"start"})", "version"},
      {"not a message", asked, "{}", "bad_message"},
  };
  for (const Refusal& r : refusals) {
    p.Send(r.Conn, r.Text);
    const auto error = p.Last(r.Conn, "error");
    ASSERT_TRUE(error.has_value()) << r.What;
    EXPECT_EQ(error->StringAt("error", 32), r.Error) << r.What;
    p.inbox.clear();
  }
  EXPECT_EQ(FirstCarriedDifference(before, p.Table().State()), "");
}

TEST(Hall, AFloodIsToldOnceAndThenNotAnsweredAtAll) {
  Players p;
  p.hall.Opened(20);
  for (int i = 0; i < 1000; ++i) p.Send(20, R"({"v":1,"type":"start"})");
  // Forty admitted (not seated), then one too_fast for the other 960.
  EXPECT_EQ(p.inbox[20].size(), 41u);
  EXPECT_EQ(p.Last(20, "error")->StringAt("error", 32), "too_fast");
  // Once the bucket has refilled it is answered again, and told again.
  p.now += 1000;
  p.inbox.clear();
  for (int i = 0; i < 100; ++i) p.Send(20, R"({"v":1,"type":"start"})");
  EXPECT_EQ(p.inbox[20].size(), 21u);
}

TEST(Hall, ADroppedSeatResumesWithItsTokenAndIsPlayedByTheComputerMeanwhile) {
  HallOptions options;
  options.Timers.AbsentMs = 60000;
  options.Timers.MoveMs = 0;
  Players p(options);
  p.Send(1, R"({"v":1,"type":"start"})");
  const int asked = p.Table().State().CurrentSeat;
  const int move = p.Table().State().MoveNumber;
  p.hall.Closed(asked, p.now);
  p.Collect();
  // Before the time is up the table waits for the person.
  p.hall.Tick(p.now + 59000);
  EXPECT_EQ(p.Table().State().MoveNumber, move);
  p.hall.Tick(p.now + 60000);
  EXPECT_GT(p.Table().State().MoveNumber, move);
  // The person comes back on a new connection and is asked again at its turn.
  p.hall.Opened(30);
  p.Send(30,
         R"({"v":1,"type":"resume","code":")" + p.code + R"(","token":")" + p.token[asked] + "\"}");
  EXPECT_EQ(p.Last(30, "seated")->IntAt("seat", 1, 4), asked);
  EXPECT_TRUE(p.Last(30, "table").has_value());
  EXPECT_FALSE(p.Table().Seat(asked).Covered);
  p.hall.Opened(31);
  p.Send(31, R"({"v":1,"type":"resume","code":")" + p.code + R"(","token":")" +
                 std::string(32, 'a') + "\"}");
  // A wrong secret is answered as a wrong code is: nothing tells the code was right.
  EXPECT_EQ(p.Last(31, "error")->StringAt("error", 32), "no_table");
  // The seat's old connection is told it was taken over, and let go.
  p.hall.TakeCloses();  // the creator's, idle
  p.hall.Opened(32);
  p.Send(32,
         R"({"v":1,"type":"resume","code":")" + p.code + R"(","token":")" + p.token[asked] + "\"}");
  EXPECT_EQ(p.Last(30, "error")->StringAt("error", 32), "taken_over");
  EXPECT_EQ(p.hall.TakeCloses(), std::vector<int>{30});
}

TEST(Hall, ATableChangedGetsItsFileAgainOnlyAfterTheSpacingAndAHallResumesFromIt) {
  HallOptions options;
  options.Folder =
      std::filesystem::path(testing::TempDir()) / ("hall-files-" + std::to_string(getpid()));
  std::filesystem::remove_all(options.Folder);
  std::filesystem::create_directories(options.Folder);
  Players p(options);
  p.Send(1, R"({"v":1,"type":"start"})");
  for (const auto& job : p.hall.TakeFileJobs(10, 0)) {
    ASSERT_TRUE(WriteFileJob(job));
    p.hall.FileWritten(job.Code, true, 0);
  }
  p.AnswerOne(true);
  EXPECT_TRUE(p.hall.TakeFileJobs(10, options.FileSpacingMs - 1).empty());
  const auto jobs = p.hall.TakeFileJobs(10, options.FileSpacingMs);
  ASSERT_EQ(jobs.size(), 1u);
  ASSERT_TRUE(WriteFileJob(jobs[0]));
  p.hall.FileWritten(jobs[0].Code, true, options.FileSpacingMs);
  // Only its owner may read it: it holds the seats' secrets.
  EXPECT_EQ(std::filesystem::status(jobs[0].Path).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  // The folder holds the one complete file, and a new hall plays on from it.
  Hall back(options);
  ASSERT_EQ(back.Load(0), 1);
  EXPECT_EQ(FirstCarriedDifference(p.Table().State(), back.Find(p.code)->State()), "");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(options.Folder), {}), 1);
}

TEST(ServerTable, ATableWrittenToItsFileResumesAndPlaysToTheEnd) {
  Players p({}, "pcpe", R"({"target":99})");
  p.Send(1, R"({"v":1,"type":"start"})");
  // Into the second hand, so the file carries a logged hand and a chain.
  const GameState& s = p.Table().State();
  for (int i = 0; i < 200 && (s.HandNumber < 2 || s.MoveNumber < 6); ++i) p.AnswerOne(true);
  ASSERT_EQ(s.HandNumber, 2);
  const std::string file = p.Table().FileText();
  auto back = ServerTable::FromFileText(file, 7, {}, 0);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(FirstCarriedDifference(p.Table().State(), back->State()), "");
  EXPECT_EQ(back->SeatOfToken(p.token[3]), 3);
  EXPECT_EQ(back->QuestionFor(back->State().CurrentSeat),
            p.Table().QuestionFor(p.Table().State().CurrentSeat));
  // Damage anywhere in the seats' lines is refused, not guessed at.
  std::string damaged = file;
  damaged.replace(damaged.find("seat 3 person"), 13, "seat 3 robot ");
  EXPECT_EQ(ServerTable::FromFileText(damaged, 7, {}, 0), nullptr);
  EXPECT_EQ(ServerTable::FromFileText(file.substr(0, file.size() / 2), 7, {}, 0), nullptr);
}

TEST(Hall, ASeatLeftComesBackWithItsTokenAndIsNotFreeMeanwhile) {
  HallOptions options;
  options.Timers.MoveMs = 0;
  Players p(options, "pcpc");
  p.Send(1, R"({"v":1,"type":"start"})");
  p.Send(3, R"({"v":1,"type":"leave"})");
  EXPECT_TRUE(p.Table().Seat(3).Covered);
  // Nobody else sits in it: the token held by the one who left is the way back.
  p.hall.Opened(40);
  p.Send(40, R"({"v":1,"type":"join","code":")" + p.code + R"(","seat":3,"name":"X"})");
  EXPECT_EQ(p.Last(40, "error")->StringAt("error", 32), "seat_taken");
  p.hall.Opened(41);
  p.Send(41, R"({"v":1,"type":"resume","code":")" + p.code + R"(","token":")" + p.token[3] + "\"}");
  EXPECT_EQ(p.Last(41, "seated")->IntAt("seat", 1, 4), 3);
  EXPECT_FALSE(p.Table().Seat(3).Covered);
  EXPECT_TRUE(p.Table().Seat(3).Present);
}

TEST(Hall, ALookShowsTheSeatsByCodeWithoutTokensAndSeatsNobody) {
  Players p({}, "pcpe");
  p.hall.Opened(50);
  p.Send(50, R"({"v":1,"type":"look","code":")" + p.code + "\"}");
  const auto seats = p.Last(50, "seats");
  ASSERT_TRUE(seats);
  EXPECT_EQ(seats->StringAt("code", kCodeLength), p.code);
  for (const std::string& text : p.inbox[50]) {
    EXPECT_EQ(text.find(p.token[1]), std::string::npos);
    EXPECT_EQ(text.find("token"), std::string::npos);
  }
  const auto& items = seats->Find("seats")->Items();
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[0].StringAt("name", 64), "P1");
  EXPECT_EQ(items[1].StringAt("kind", 16), "computer");
  EXPECT_EQ(items[1].IntAt("level", 0, 100), 50);
  EXPECT_EQ(items[3].Find("level"), nullptr);
  // The one who looked is not at the table: a start from it is refused.
  p.Send(50, R"({"v":1,"type":"start"})");
  EXPECT_EQ(p.Last(50, "error")->StringAt("error", 32), "not_seated");
  // An unknown code is a failed look-up; a look with more members is not a look.
  p.Send(50, R"({"v":1,"type":"look","code":"ZZZZZZZZZZ"})");
  EXPECT_EQ(p.Last(50, "error")->StringAt("error", 32), "no_table");
  p.Send(50, R"({"v":1,"type":"look","code":")" + p.code + R"(","seat":1})");
  EXPECT_EQ(p.Last(50, "error")->StringAt("error", 32), "bad_message");
}

}  // namespace
}  // namespace tarvelis::server
