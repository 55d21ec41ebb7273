// The computer's moves weighed off the hall's thread: a table stops before
// each weighed move and goes on when its result comes back; a result for any
// other wait is refused.
#include "server/move_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "model/consistency.h"
#include "server/hall.h"

namespace tarvelis::server {
namespace {

constexpr int kCreator = 9;

// A table of a person and three experts; the person, on connection 1,
// answers every question with "auto", as the bench's busy tables do.
struct AutoTable {
  explicit AutoTable(MovePool* pool, const std::string& rules = "{}") : hall(Options(pool)) {
    hall.Opened(kCreator);
    hall.Received(kCreator,
                  R"({"v":1,"type":"create","seats":[{"kind":"person"},{"kind":"expert"},)"
                  R"({"kind":"expert"},{"kind":"expert"}],"rules":)" +
                      rules + "}",
                  0);
    auto sends = hall.TakeSends();
    code = ParseJson(sends.at(0).second, {1 << 20, 8, 512})->StringAt("code", 16).value();
    hall.Opened(1);
    hall.Received(1, R"({"v":1,"type":"join","code":")" + code + R"(","seat":1,"name":"P"})", 0);
    hall.Received(1, R"({"v":1,"type":"start"})", 0);
    Collect();
  }
  static HallOptions Options(MovePool* pool) {
    HallOptions options;
    options.Seed = 77;
    options.Pool = pool;
    return options;
  }
  // The texts with the table's own code left out: two halls make two codes.
  void Collect() {
    for (auto& [conn, text] : hall.TakeSends()) {
      if (conn != 1 || text.find("\"seated\"") != std::string::npos) continue;
      for (std::size_t at = text.find(code); at != std::string::npos; at = text.find(code))
        text.replace(at, code.size(), "CODE");
      seen.push_back(text);
    }
  }
  // Weighs, one after another, the moves the table waits for.
  void Settle(MovePool& pool) {
    for (int i = 0; i < 100 && Table().WaitingForMove(); ++i) {
      pool.RunQueued();
      hall.MovesComputed(0);
      Collect();
    }
  }
  ServerTable& Table() { return *hall.Find(code); }
  // Answers the question out, if any.
  bool AnswerAuto() {
    const GameState& s = Table().State();
    if (Table().QuestionFor(1).empty()) return false;
    hall.Received(1,
                  R"({"v":1,"type":"move","hand":)" + std::to_string(s.HandNumber) + R"(,"move":)" +
                      std::to_string(s.MoveNumber) + R"(,"auto":true})",
                  0);
    Collect();
    return true;
  }

  Hall hall;
  std::string code;
  std::vector<std::string> seen;  // what the person's client got
};

TEST(MovePool, MovesWeighedAwayPlayTheSameMatchAsMovesWeighedInline) {
  AutoTable inline_(nullptr, R"({"target":2})");
  for (int i = 0; i < 2000 && !inline_.Table().Finished(); ++i) {
    if (!inline_.AnswerAuto()) break;
  }
  ASSERT_TRUE(inline_.Table().Finished());

  MovePool pool(0);
  AutoTable away(&pool, R"({"target":2})");
  int stops = 0;
  for (int i = 0; i < 20000 && !away.Table().Finished(); ++i) {
    if (away.Table().WaitingForMove()) {
      ++stops;
      // While its move is weighed the table waits and nobody is asked.
      EXPECT_TRUE(away.Table().QuestionFor(1).empty());
      pool.RunQueued();
      away.hall.MovesComputed(0);
      away.Collect();
    } else if (!away.AnswerAuto()) {
      break;
    }
  }
  ASSERT_TRUE(away.Table().Finished());
  EXPECT_GT(stops, 5);
  EXPECT_EQ(away.Table().Violations(), 0);
  EXPECT_EQ(away.seen, inline_.seen);
}

TEST(MovePool, AResultForAnotherWaitOrAGoneTableChangesNothing) {
  MovePool pool(0);
  AutoTable t(&pool);
  t.Settle(pool);
  ASSERT_TRUE(t.AnswerAuto());
  ASSERT_TRUE(t.Table().WaitingForMove());
  const GameState before = t.Table().State();
  // An answer while the computer weighs the person's move is refused.
  t.hall.Received(1,
                  R"({"v":1,"type":"move","hand":)" + std::to_string(before.HandNumber) +
                      R"(,"move":)" + std::to_string(before.MoveNumber) + R"(,"auto":true})",
                  0);
  EXPECT_NE(t.hall.TakeSends().at(0).second.find("not_asked"), std::string::npos);
  pool.RunQueued();
  std::vector<MoveResult> done = pool.TakeDone();
  ASSERT_EQ(done.size(), 1u);
  MoveResult result = done[0];
  // Another wait's ticket, another move, another table: all refused.
  MoveResult other = result;
  ++other.Ticket;
  EXPECT_FALSE(t.Table().ApplyMove(other, 0));
  other = result;
  ++other.Move;
  EXPECT_FALSE(t.Table().ApplyMove(other, 0));
  EXPECT_EQ(FirstCarriedDifference(before, t.Table().State()), "");
  // The right one plays once; given again, it is stale.
  EXPECT_TRUE(t.Table().ApplyMove(result, 0));
  EXPECT_GT(t.Table().State().MoveNumber, before.MoveNumber);
  const GameState after = t.Table().State();
  EXPECT_FALSE(t.Table().ApplyMove(result, 0));
  EXPECT_EQ(FirstCarriedDifference(after, t.Table().State()), "");
  // Results whose table is gone are dropped by the hall.
  pool.RunQueued();
  pool.Submit(MoveJob{"ZZZZZZ", 1, MovePlayer::kExpert, after});
  pool.RunQueued();
  t.hall.MovesComputed(0);
  EXPECT_TRUE(pool.TakeDone().empty());
}

TEST(MovePool, ThreadsPlayAWholeMatchAndWakeTheHall) {
  MovePool pool(2);
  std::atomic<int> wakes{0};
  pool.SetWake([&] { ++wakes; });
  AutoTable t(&pool, R"({"target":2})");
  // Bounded: the match ends long before, on any machine.
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::minutes(2);
  while (!t.Table().Finished() && std::chrono::steady_clock::now() < give_up) {
    t.hall.MovesComputed(0);
    t.Collect();
    if (!t.Table().WaitingForMove() && !t.AnswerAuto()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  pool.Stop();
  ASSERT_TRUE(t.Table().Finished());
  EXPECT_EQ(t.Table().Violations(), 0);
  EXPECT_GT(wakes.load(), 0);
}

}  // namespace
}  // namespace tarvelis::server
