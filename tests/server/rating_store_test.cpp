// The ratings database: a real SQLite file in a temporary folder.
#include "server/rating_store.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <filesystem>
#include <fstream>

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

}  // namespace
}  // namespace tarvelis::server

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);  // Qt SQL finds its SQLite driver through it
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
