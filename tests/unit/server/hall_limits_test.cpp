// What one address, or one connection, may cost the hall: connections,
// tables, guesses of codes, idle time, and what is kept on disk.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "server/hall.h"

namespace tarvelis::server {
namespace {

namespace fs = std::filesystem;

const std::string kCreate =
    R"({"v":1,"type":"create","seats":[{"kind":"person"},{"kind":"computer"},)"
    R"({"kind":"computer"},{"kind":"computer"}]})";

std::string Join(const std::string& code) {
  return R"({"v":1,"type":"join","code":")" + code + R"(","seat":1,"name":"Ana"})";
}

std::string Resume(const std::string& code, const std::string& token) {
  return R"({"v":1,"type":"resume","code":")" + code + R"(","token":")" + token + "\"}";
}

// A hall and what it sent, by connection: the type of each message, and the
// error code of errors.
struct Box {
  explicit Box(HallOptions o = {}) : hall(std::move(o)) {}
  std::vector<std::string> Send(int conn, const std::string& text) {
    hall.Received(conn, text, now);
    return Answers(conn);
  }
  std::vector<std::string> Answers(int conn) {
    std::vector<std::string> out;
    for (auto& [to, text] : hall.TakeSends()) {
      const Json j = ParseJson(text, {1 << 20, 8, 512}).value();
      last[to] = j;
      if (to == conn)
        out.push_back(j.StringAt("error", 32).value_or(j.StringAt("type", 32).value_or("")));
    }
    return out;
  }
  std::string Create(int conn) {
    Send(conn, kCreate);
    return last[conn].StringAt("code", 16).value_or("");
  }
  Hall hall;
  std::int64_t now = 1000;
  std::map<int, Json> last;
};

using Answers = std::vector<std::string>;

TEST(HallLimits, AnAddressHasItsShareOfConnectionsTablesAndGuesses) {
  HallOptions o;
  o.MaxConnectionsPerAddress = 3;
  o.TablesPerMinute = 2;
  o.FailedLookupsPerMinute = 3;
  Box b(o);
  for (int conn = 1; conn <= 3; ++conn) EXPECT_TRUE(b.hall.Opened(conn, b.now, "127.0.0.2"));
  EXPECT_FALSE(b.hall.Opened(4, b.now, "127.0.0.2"));
  EXPECT_TRUE(b.hall.Opened(5, b.now, "127.0.0.3"));
  // A closed connection makes room for one more, no more.
  b.hall.Closed(3, b.now);
  EXPECT_TRUE(b.hall.Opened(6, b.now, "127.0.0.2"));
  EXPECT_FALSE(b.hall.Opened(7, b.now, "127.0.0.2"));

  // Two tables a minute, on any of the address's connections.
  const std::string code = b.Create(1);
  EXPECT_EQ(b.Send(2, kCreate), Answers{"created"});
  EXPECT_EQ(b.Send(6, kCreate), Answers{"too_fast"});
  EXPECT_EQ(b.Send(5, kCreate), Answers{"created"});
  b.now += 30000;
  EXPECT_EQ(b.Send(6, kCreate), Answers{"created"});

  // A wrong code and a wrong secret of a right code read the same.
  const std::string wrongCode(kCodeLength, 'A');
  const std::string wrongToken(kTokenLength, 'a');
  EXPECT_EQ(b.Send(1, Join(wrongCode)), Answers{"no_table"});
  EXPECT_EQ(b.Send(1, Resume(code, wrongToken)), Answers{"no_table"});
  // Reconnecting does not start the count again.
  b.hall.Closed(1, b.now);
  ASSERT_TRUE(b.hall.Opened(8, b.now, "127.0.0.2"));
  EXPECT_EQ(b.Send(8, Resume(wrongCode, wrongToken)), Answers{"no_table"});
  // Three guesses a minute: even the right code is not looked up now, so
  // nothing of the answer tells a guess right.
  EXPECT_EQ(b.Send(8, Join(code)), Answers{"too_fast"});
  EXPECT_EQ(b.Send(5, Join(code))[0], "seated");
  b.now += 20000;
  EXPECT_EQ(b.Send(8, Join(code)), Answers{"seat_taken"});
  EXPECT_EQ(b.hall.Counts().FailedLookups, 3u);
  EXPECT_EQ(b.hall.Counts().Refused, 2u);
}

TEST(HallLimits, IdleConnectionsAndTablesNobodyPlaysAreLetGo) {
  HallOptions o;
  o.UnseatedIdleMs = 60000;
  o.UnstartedTableMs = 600000;
  Box b(o);
  for (int conn = 1; conn <= 4; ++conn) b.hall.Opened(conn, b.now, "127.0.0.2");
  const std::string lonely = b.Create(1);  // nobody ever sits at it
  const std::string waiting = b.Create(2);
  const std::string played = b.Create(3);
  const std::string left = b.Create(4);
  b.Send(2, Join(waiting));
  b.Send(3, Join(played));
  b.Send(3, R"({"v":1,"type":"start"})");
  b.Send(4, Join(left));
  // A table whose people all left before it started goes at once.
  b.Send(4, R"({"v":1,"type":"leave"})");
  EXPECT_EQ(b.hall.Find(left), nullptr);
  EXPECT_EQ(b.hall.TableCount(), 3u);

  // The connections without a seat are closed once idle; the seated stay.
  b.hall.Tick(b.now + 59000);
  EXPECT_TRUE(b.hall.TakeCloses().empty());
  b.hall.Tick(b.now + 61000);
  std::vector<int> closes = b.hall.TakeCloses();
  std::sort(closes.begin(), closes.end());
  EXPECT_EQ(closes, (std::vector<int>{1, 4}));
  EXPECT_EQ(b.hall.Counts().Connections, 2u);

  // A table never started, and with nobody seated, is gone after the time;
  // one with a person waiting at it, or one started, stays.
  b.hall.Tick(b.now + 600000);
  EXPECT_EQ(b.hall.Find(lonely), nullptr);
  EXPECT_NE(b.hall.Find(waiting), nullptr);
  b.hall.Closed(2, b.now + 700000);
  b.hall.Closed(3, b.now + 700000);
  b.hall.Tick(b.now + 1299000);
  EXPECT_NE(b.hall.Find(waiting), nullptr);
  b.hall.Tick(b.now + 1301000);
  EXPECT_EQ(b.hall.Find(waiting), nullptr);
  EXPECT_NE(b.hall.Find(played), nullptr);
  EXPECT_EQ(b.hall.Counts().Expired, 3u);
}

class HallFiles : public testing::Test {
 protected:
  void SetUp() override {
    // Each test its own folder: ctest runs the tests of one fixture at once.
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    folder = fs::path(testing::TempDir()) /
             ("hall-files-" + std::to_string(getpid()) + "-" + test->name());
    fs::remove_all(folder);
    ASSERT_EQ(PrepareFolder(folder), "");
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
  fs::path folder;
};

TEST_F(HallFiles, AFailedWriteIsTriedAgainAndAGoneTableTakesItsFileAlong) {
  HallOptions o;
  o.Folder = folder;
  o.UnstartedTableMs = 600000;
  Box b(o);
  b.hall.Opened(1, b.now, "127.0.0.2");
  const std::string code = b.Create(1);
  auto jobs = b.hall.TakeFileJobs(10, b.now);
  ASSERT_EQ(jobs.size(), 1u);
  // Nothing changed since, but the disk refused: the same file comes again.
  b.hall.FileWritten(code, false, b.now);
  EXPECT_TRUE(b.hall.TakeFileJobs(10, b.now + 500).empty());
  jobs = b.hall.TakeFileJobs(10, b.now + 1000);
  ASSERT_EQ(jobs.size(), 1u);
  ASSERT_TRUE(WriteFileJob(jobs[0]));
  b.hall.FileWritten(code, true, b.now + 1000);
  EXPECT_TRUE(b.hall.TakeFileJobs(10, b.now + 60000).empty());
  EXPECT_EQ(b.hall.Counts().FailedWrites, 1u);
  // The table expires; its file is removed by the next jobs.
  b.hall.Tick(b.now + 700000);
  jobs = b.hall.TakeUrgentFileJobs(b.now + 700000);
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_TRUE(jobs[0].Text.empty());
  ASSERT_TRUE(WriteFileJob(jobs[0]));
  EXPECT_FALSE(fs::exists(jobs[0].Path));
  // A folder that cannot be written is refused, with its reason.
  std::ofstream(folder / "plain") << "x";
  EXPECT_NE(PrepareFolder(folder / "plain" / "tables"), "");
  EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);
}

TEST_F(HallFiles, AClosedHandIsOnDiskBeforeAnyoneHearsOfIt) {
  HallOptions o;
  o.Folder = folder;
  Box b(o);
  b.hall.Opened(1, b.now, "127.0.0.3");
  const std::string code = b.Create(1);
  b.Send(1, Join(code));
  b.Send(1, R"({"v":1,"type":"start"})");
  ServerTable& table = *b.hall.Find(code);
  // Seat 1 lets the computer play for it until a hand closes.
  bool held = false;
  for (int i = 0; i < 200 && !held; ++i) {
    const GameState& s = table.State();
    const std::string move = R"({"v":1,"type":"move","hand":)" + std::to_string(s.HandNumber) +
                             R"(,"move":)" + std::to_string(s.MoveNumber) + R"(,"auto":true})";
    const Answers got = b.Send(1, move);
    ASSERT_TRUE(std::find(got.begin(), got.end(), "hand_closed") == got.end());
    held = table.State().HandNumber > 1 || !table.State().HandInProgress;
    b.now += 100;
  }
  ASSERT_TRUE(held);
  // The news waits for the file; a failed write keeps it waiting.
  auto jobs = b.hall.TakeUrgentFileJobs(b.now);
  ASSERT_EQ(jobs.size(), 1u);
  b.hall.FileWritten(code, false, b.now);
  EXPECT_TRUE(b.Answers(1).empty());
  EXPECT_TRUE(b.hall.TakeUrgentFileJobs(b.now + 500).empty());
  jobs = b.hall.TakeUrgentFileJobs(b.now + 1000);
  ASSERT_EQ(jobs.size(), 1u);
  ASSERT_TRUE(WriteFileJob(jobs[0]));
  b.hall.FileWritten(code, true, b.now + 1000);
  const Answers got = b.Answers(1);
  EXPECT_TRUE(std::find(got.begin(), got.end(), "hand_closed") != got.end());
  // A hall started from that file is past the closed hand.
  Hall back(o);
  ASSERT_EQ(back.Load(0), 1);
  EXPECT_EQ(back.Find(code)->State().HandNumber, table.State().HandNumber);
}

TEST_F(HallFiles, ADamagedFileIsMovedAsideWithItsReason) {
  std::ofstream(folder / "ABCDEFGHJK.table") << "TARVELIS-TABLE 1\ncode ABCDEFGHJK\nstarted 2\n";
  std::ofstream(folder / "short.table") << "x";
  HallOptions o;
  o.Folder = folder;
  Hall hall(o);
  std::vector<std::string> problems;
  EXPECT_EQ(hall.Load(0, &problems), 0);
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_NE(problems[0].find("moved into damaged/"), std::string::npos) << problems[0];
  EXPECT_TRUE(fs::exists(folder / "damaged" / "ABCDEFGHJK.table"));
  EXPECT_TRUE(fs::exists(folder / "damaged" / "short.table"));
  EXPECT_FALSE(fs::exists(folder / "short.table"));
}

}  // namespace
}  // namespace tarvelis::server
