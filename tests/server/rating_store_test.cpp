// The ratings database: a real SQLite file in a temporary folder.
#include "server/rating_store.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <filesystem>
#include <fstream>

#include "server/hall.h"
#include "server/ratings_thread.h"
#include "support/temp_folder.h"

namespace tarvelis::server {
namespace {

FinishedMatch PairsMatch(const std::string& a, const std::string& b, int totalA, int totalB) {
  FinishedMatch m;
  m.Date = "2026-12-07T10:00:00Z";
  m.Rules = "parejas, 10 decenas";
  m.Pairs = true;
  m.Hands = 9;
  // Seats 1 and 3 are the people, each partnered with a computer seat.
  m.Seats[0] = {KeyHash(a), "Ana", {}, totalA, 5};
  m.Seats[1] = {"", "Ordenador", {1600, 50, 0.06}, totalB, 4};
  m.Seats[2] = {KeyHash(b), "Beatriz", {}, totalA, 5};
  m.Seats[3] = {"", "Ordenador", {1600, 50, 0.06}, totalB, 4};
  return m;
}

TEST(RatingStore, KeepsRatingsAndMatchesAcrossARestart) {
  testing::TempFolder folder;
  const std::string path = (folder.path() / "ratings.db").string();
  std::string error;
  {
    auto store = RatingStore::Open(path, error);
    ASSERT_TRUE(store) << error;
    ASSERT_TRUE(store->Enter(KeyHash("key-a"), "Ana"));
    ASSERT_TRUE(store->Record(PairsMatch("key-a", "key-b", 10, 6)));
  }
  auto store = RatingStore::Open(path, error);
  ASSERT_TRUE(store) << error;
  const auto ana = store->Find(KeyHash("key-a"));
  const auto beatriz = store->Find(KeyHash("key-b"));
  ASSERT_TRUE(ana && beatriz);
  EXPECT_GT(ana->Rated.Value, 1500);
  EXPECT_EQ(ana->Rated, beatriz->Rated);  // partners move together
  EXPECT_EQ(ana->Matches, 1);
  EXPECT_EQ(ana->Hands, 9);
  EXPECT_EQ(ana->HandsWon, 5);
  const auto board = store->Leaderboard(10);
  ASSERT_EQ(board.size(), 2u);
  const auto history = store->History(KeyHash("key-a"), 10);
  ASSERT_EQ(history.size(), 1u);
  EXPECT_EQ(history[0].Before, 1500);
  EXPECT_EQ(history[0].After, ana->Rated.Value);
  // The key itself never reaches the file.
  std::ifstream file(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), {});
  EXPECT_EQ(bytes.find("key-a"), std::string::npos);
}

TEST(RatingStore, ANameChangeKeepsTheRating) {
  testing::TempFolder folder;
  std::string error;
  auto store = RatingStore::Open((folder.path() / "r.db").string(), error);
  ASSERT_TRUE(store) << error;
  ASSERT_TRUE(store->Record(PairsMatch("k1", "k2", 3, 10)));
  const auto before = store->Find(KeyHash("k1"));
  const auto renamed = store->Enter(KeyHash("k1"), "Ana María");
  ASSERT_TRUE(before && renamed);
  EXPECT_EQ(renamed->Name, "Ana María");
  EXPECT_EQ(renamed->Rated, before->Rated);
  EXPECT_LT(renamed->Rated.Value, 1500);
}

TEST(RatingStore, RefusesWhatItCannotUse) {
  testing::TempFolder folder;
  std::string error;
  // Not a database at all.
  const auto junk = folder.path() / "junk.db";
  std::ofstream(junk) << std::string(4096, 'x');
  EXPECT_FALSE(RatingStore::Open(junk.string(), error));
  EXPECT_FALSE(error.empty());
  // A database of a newer server: its schema is not guessed at.
  const auto newer = (folder.path() / "newer.db").string();
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "newer");
    db.setDatabaseName(QString::fromStdString(newer));
    ASSERT_TRUE(db.open());
    QSqlQuery(db).exec(QString("PRAGMA user_version = %1").arg(RatingStore::SchemaVersion() + 1));
    db.close();
  }
  QSqlDatabase::removeDatabase("newer");
  error.clear();
  EXPECT_FALSE(RatingStore::Open(newer, error));
  EXPECT_NE(error.find("newer"), std::string::npos);
  // A folder that does not exist.
  EXPECT_FALSE(RatingStore::Open((folder.path() / "none" / "r.db").string(), error));
}

// A server's hall over the real database, stopped in the middle of a match
// and started again: its tables from their files, its ratings from the
// database. Seats 1 and 3 are people who entered the room.
class Server {
 public:
  Server(const std::filesystem::path& folder, std::string& error)
      : ratings(RatingsThread::Open((folder / "ratings.sqlite").string(), error)),
        hall(Options(folder, ratings.get())) {}
  static HallOptions Options(const std::filesystem::path& folder, RatingsPort* ratings) {
    HallOptions o;
    o.Folder = folder / "tables";
    o.Ratings = ratings;
    o.Seed = 5;
    return o;
  }
  std::optional<Json> Last(int conn, const std::string& type) {
    std::optional<Json> last;
    for (auto& [to, text] : hall.TakeSends()) {
      auto j = ParseJson(text, {1 << 20, 8, 512});
      if (to == conn && j && j->StringAt("type", 32) == type) last = j;
    }
    return last;
  }
  // Moves left to the computer, `most` of them or to the match's end.
  void Play(const std::string& code, int most) {
    ServerTable& t = *hall.Find(code);
    for (int i = 0; i < most && !t.Finished(); ++i) {
      const GameState& s = t.State();
      hall.Received(s.CurrentSeat,
                    R"({"v":1,"type":"move","hand":)" + std::to_string(s.HandNumber) +
                        R"(,"move":)" + std::to_string(s.MoveNumber) + R"(,"auto":true})",
                    0);
    }
    hall.TakeSends();
  }
  // Every changed table's file written, as the server does before it stops.
  void WriteFiles() {
    for (const Hall::FileJob& job : hall.TakeFileJobs(100, 1 << 30))
      hall.FileWritten(job.Code, WriteFileJob(job), 1 << 30);
  }
  std::unique_ptr<RatingsThread> ratings;
  Hall hall;
};

TEST(RatingStore, AServerStartedAgainRatesTheMatchItWasPlayingAndKeepsTheRatings) {
  testing::TempFolder folder;
  ASSERT_EQ(PrepareFolder(folder.path() / "tables"), "");
  std::string error;
  std::string code;
  PerSeat<std::string> tokens;
  {
    Server first(folder.path(), error);
    ASSERT_TRUE(first.ratings) << error;
    first.hall.Opened(9);
    first.hall.Received(9,
                        R"({"v":1,"type":"create","seats":[{"kind":"person"},{"kind":"computer"},)"
                        R"({"kind":"person"},{"kind":"computer"}],"rules":{"target":20}})",
                        0);
    code = first.Last(9, "created")->StringAt("code", 16).value();
    for (const int seat : {1, 3}) {
      first.hall.Opened(seat);
      const auto player = first.ratings->EnterWithKey("key-" + std::to_string(seat), "P");
      first.hall.Identified(seat, player->KeyHash);
      first.hall.Received(seat,
                          R"({"v":1,"type":"join","code":")" + code + R"(","seat":)" +
                              std::to_string(seat) + R"(,"name":"P"})",
                          0);
      tokens[seat] = first.Last(seat, "seated")->StringAt("token", 64).value();
    }
    first.hall.Received(1, R"({"v":1,"type":"start"})", 0);
    const ServerTable& table = *first.hall.Find(code);
    for (int i = 0; i < 500 && table.State().HandNumber < 3; ++i) first.Play(code, 1);
    ASSERT_FALSE(table.Finished());
    ASSERT_GT(table.HandsWon(1) + table.HandsWon(2), 0);
    first.WriteFiles();
  }
  std::array<double, 2> rated{};
  {
    Server second(folder.path(), error);
    ASSERT_TRUE(second.ratings) << error;
    ASSERT_EQ(second.hall.Load(0), 1);
    // The people come back without entering the room: the seats keep them.
    for (const int seat : {1, 3}) {
      second.hall.Opened(seat);
      second.hall.Received(
          seat,
          R"({"v":1,"type":"resume","code":")" + code + R"(","token":")" + tokens[seat] + "\"}", 0);
    }
    second.Play(code, 5000);
    const ServerTable& table = *second.hall.Find(code);
    ASSERT_TRUE(table.Finished());
    second.ratings.reset();  // every write handed over is done
    auto store = RatingStore::Open((folder.path() / "ratings.sqlite").string(), error);
    ASSERT_TRUE(store) << error;
    for (const int seat : {1, 3}) {
      const auto p = store->Find(KeyHash("key-" + std::to_string(seat)));
      ASSERT_TRUE(p);
      EXPECT_EQ(p->Matches, 1);
      EXPECT_EQ(p->Hands, table.State().HandNumber);
      // The hands won before the restart count too.
      EXPECT_EQ(p->HandsWon, table.HandsWon(seat));
      EXPECT_NE(p->Rated.Value, 1500);
      rated[seat == 1 ? 0 : 1] = p->Rated.Value;
    }
    EXPECT_EQ(rated[0], rated[1]);
  }
  auto store = RatingStore::Open((folder.path() / "ratings.sqlite").string(), error);
  ASSERT_TRUE(store) << error;
  const auto board = store->Leaderboard(10);
  ASSERT_EQ(board.size(), 2u);
  EXPECT_EQ(board[0].Rated.Value, rated[0]);
}

TEST(RatingsThread, ANewcomerIsAnsweredAtOnceAndWrittenBeforeItCloses) {
  testing::TempFolder folder;
  const std::string path = (folder.path() / "r.db").string();
  std::string error;
  {
    auto ratings = RatingsThread::Open(path, error);
    ASSERT_TRUE(ratings) << error;
    const auto ana = ratings->EnterWithKey("key-a", "Ana");
    ASSERT_TRUE(ana);
    EXPECT_EQ(ana->KeyHash, KeyHash("key-a"));
    EXPECT_EQ(ana->Rated, Rating{});
    EXPECT_TRUE(ratings->Record(PairsMatch("key-a", "key-b", 10, 2)));
  }
  auto store = RatingStore::Open(path, error);
  ASSERT_TRUE(store) << error;
  ASSERT_TRUE(store->Find(KeyHash("key-a")));
  EXPECT_EQ(store->Find(KeyHash("key-a"))->Name, "Ana");
  EXPECT_EQ(store->History(KeyHash("key-b"), 5).size(), 1u);
  // Neither reads nor writes a file that is no database.
  std::ofstream(folder.path() / "junk.db") << std::string(4096, 'x');
  EXPECT_FALSE(RatingsThread::Open((folder.path() / "junk.db").string(), error));
}

}  // namespace
}  // namespace tarvelis::server

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);  // Qt SQL finds its SQLite driver through it
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
