#include "server/rating_store.h"

#include <QCryptographicHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <atomic>
#include <utility>

namespace tarvelis::server {
namespace {

// Each entry brings the schema from its index to the next version; a database
// is walked up from the version it records (SQLite's user_version), so an old
// file is never rebuilt, only extended.
const std::vector<std::vector<const char*>> kMigrations = {
    {
        "CREATE TABLE players ("
        " id INTEGER PRIMARY KEY,"
        " key_hash TEXT NOT NULL UNIQUE,"
        " name TEXT NOT NULL,"
        " rating REAL NOT NULL, deviation REAL NOT NULL, volatility REAL NOT NULL,"
        " matches INTEGER NOT NULL DEFAULT 0,"
        " hands INTEGER NOT NULL DEFAULT 0,"
        " hands_won INTEGER NOT NULL DEFAULT 0)",
        "CREATE INDEX players_by_rating ON players (rating DESC)",
        "CREATE TABLE matches ("
        " id INTEGER PRIMARY KEY,"
        " finished TEXT NOT NULL, rules TEXT NOT NULL,"
        " pairs INTEGER NOT NULL, hands INTEGER NOT NULL)",
        "CREATE TABLE match_seats ("
        " match_id INTEGER NOT NULL REFERENCES matches (id),"
        " seat INTEGER NOT NULL,"
        " player_id INTEGER REFERENCES players (id),"
        " name TEXT NOT NULL, total INTEGER NOT NULL, hands_won INTEGER NOT NULL,"
        " rating_before REAL NOT NULL, rating_after REAL NOT NULL,"
        " PRIMARY KEY (match_id, seat))",
        "CREATE INDEX seats_by_player ON match_seats (player_id)",
    },
};

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

std::string Text(const QVariant& value) {
  return value.toString().toStdString();
}

StoredPlayer PlayerOf(const QSqlQuery& row) {
  StoredPlayer p;
  p.KeyHash = Text(row.value(0));
  p.Name = Text(row.value(1));
  p.Rated = {row.value(2).toDouble(), row.value(3).toDouble(), row.value(4).toDouble()};
  p.Matches = row.value(5).toInt();
  p.Hands = row.value(6).toInt();
  p.HandsWon = row.value(7).toInt();
  return p;
}

constexpr const char* kPlayerColumns =
    "key_hash, name, rating, deviation, volatility, matches, hands, hands_won";

}  // namespace

std::string KeyHash(const std::string& key) {
  const QByteArray hash =
      QCryptographicHash::hash(QByteArray::fromStdString(key), QCryptographicHash::Sha256);
  return hash.toHex().toStdString();
}

int RatingStore::SchemaVersion() {
  return static_cast<int>(kMigrations.size());
}

std::unique_ptr<RatingStore> RatingStore::Open(const std::string& path, std::string& error) {
  static std::atomic<int> opened{0};
  std::unique_ptr<RatingStore> store(new RatingStore("ratings-" + std::to_string(++opened)));
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", Q(store->connection_));
    db.setDatabaseName(Q(path));
    if (!db.open()) {
      error = "cannot open " + path + ": " + db.lastError().text().toStdString();
      return nullptr;
    }
    QSqlQuery pragma(db);
    // WAL: readers (the leaderboard) never wait for the writer of a finished
    // match, and a crash mid-write leaves the last committed state.
    if (!pragma.exec("PRAGMA journal_mode = WAL") || !pragma.exec("PRAGMA foreign_keys = ON")) {
      error = path + ": " + pragma.lastError().text().toStdString();
      return nullptr;
    }
  }
  if (!store->Migrate(error)) return nullptr;
  return store;
}

RatingStore::~RatingStore() {
  {
    QSqlDatabase db = QSqlDatabase::database(Q(connection_), false);
    db.close();
  }
  QSqlDatabase::removeDatabase(Q(connection_));
}

bool RatingStore::Migrate(std::string& error) {
  QSqlDatabase db = QSqlDatabase::database(Q(connection_), false);
  QSqlQuery query(db);
  if (!query.exec("PRAGMA user_version") || !query.next()) {
    error = "not a database: " + query.lastError().text().toStdString();
    return false;
  }
  const int version = query.value(0).toInt();
  if (version > SchemaVersion()) {
    error = "the database is of a newer server (schema " + std::to_string(version) + ")";
    return false;
  }
  for (int step = version; step < SchemaVersion(); ++step) {
    db.transaction();
    bool ok = true;
    for (const char* statement : kMigrations[step]) ok = ok && query.exec(statement);
    ok = ok && query.exec(QString("PRAGMA user_version = %1").arg(step + 1));
    if (!ok || !db.commit()) {
      error = "schema " + std::to_string(step + 1) + ": " + query.lastError().text().toStdString();
      db.rollback();
      return false;
    }
  }
  return true;
}

std::optional<StoredPlayer> RatingStore::Find(const std::string& keyHash) const {
  QSqlQuery query(QSqlDatabase::database(Q(connection_), false));
  query.prepare(QString("SELECT %1 FROM players WHERE key_hash = ?").arg(kPlayerColumns));
  query.addBindValue(Q(keyHash));
  if (!query.exec() || !query.next()) return std::nullopt;
  return PlayerOf(query);
}

std::optional<StoredPlayer> RatingStore::Enter(const std::string& keyHash,
                                               const std::string& name) {
  QSqlQuery query(QSqlDatabase::database(Q(connection_), false));
  const Rating start;
  query.prepare(
      "INSERT INTO players (key_hash, name, rating, deviation, volatility)"
      " VALUES (?, ?, ?, ?, ?) ON CONFLICT (key_hash) DO UPDATE SET name = excluded.name");
  query.addBindValue(Q(keyHash));
  query.addBindValue(Q(name));
  query.addBindValue(start.Value);
  query.addBindValue(start.Deviation);
  query.addBindValue(start.Volatility);
  if (!query.exec()) return std::nullopt;
  return Find(keyHash);
}

bool RatingStore::Record(const FinishedMatch& match) {
  QSqlDatabase db = QSqlDatabase::database(Q(connection_), false);
  std::array<Rating, 4> before{};
  std::array<std::optional<StoredPlayer>, 4> people{};
  std::array<int, 4> totals{};
  for (int i = 0; i < 4; ++i) {
    const FinishedSeat& seat = match.Seats[i];
    totals[i] = seat.Total;
    before[i] = seat.Fixed;
    if (seat.KeyHash.empty()) continue;
    people[i] = Find(seat.KeyHash);
    if (!people[i]) people[i] = Enter(seat.KeyHash, seat.Name);
    if (!people[i]) return false;
    before[i] = people[i]->Rated;
  }
  const std::array<Rating, 4> after = RatedMatch(before, totals, match.Pairs);

  if (!db.transaction()) return false;
  QSqlQuery query(db);
  query.prepare("INSERT INTO matches (finished, rules, pairs, hands) VALUES (?, ?, ?, ?)");
  query.addBindValue(Q(match.Date));
  query.addBindValue(Q(match.Rules));
  query.addBindValue(match.Pairs ? 1 : 0);
  query.addBindValue(match.Hands);
  bool ok = query.exec();
  const QVariant matchId = query.lastInsertId();
  for (int i = 0; ok && i < 4; ++i) {
    const FinishedSeat& seat = match.Seats[i];
    const Rating& now = people[i] ? after[i] : before[i];
    if (people[i]) {
      QSqlQuery update(db);
      update.prepare(
          "UPDATE players SET rating = ?, deviation = ?, volatility = ?,"
          " matches = matches + 1, hands = hands + ?, hands_won = hands_won + ?"
          " WHERE key_hash = ?");
      update.addBindValue(now.Value);
      update.addBindValue(now.Deviation);
      update.addBindValue(now.Volatility);
      update.addBindValue(match.Hands);
      update.addBindValue(seat.HandsWon);
      update.addBindValue(Q(seat.KeyHash));
      ok = update.exec();
    }
    QSqlQuery row(db);
    row.prepare(
        "INSERT INTO match_seats (match_id, seat, player_id, name, total, hands_won,"
        " rating_before, rating_after)"
        " VALUES (?, ?, (SELECT id FROM players WHERE key_hash = ?), ?, ?, ?, ?, ?)");
    row.addBindValue(matchId);
    row.addBindValue(i + 1);
    row.addBindValue(people[i] ? QVariant(Q(seat.KeyHash)) : QVariant());
    row.addBindValue(Q(seat.Name));
    row.addBindValue(seat.Total);
    row.addBindValue(seat.HandsWon);
    row.addBindValue(before[i].Value);
    row.addBindValue(now.Value);
    ok = ok && row.exec();
  }
  if (ok && db.commit()) return true;
  db.rollback();
  return false;
}

std::vector<StoredPlayer> RatingStore::Leaderboard(int most) const {
  QSqlQuery query(QSqlDatabase::database(Q(connection_), false));
  query.prepare(QString("SELECT %1 FROM players WHERE matches > 0"
                        " ORDER BY rating DESC, key_hash LIMIT ?")
                    .arg(kPlayerColumns));
  query.addBindValue(most);
  std::vector<StoredPlayer> board;
  if (!query.exec()) return board;
  while (query.next()) board.push_back(PlayerOf(query));
  return board;
}

std::vector<RatedEntry> RatingStore::History(const std::string& keyHash, int most) const {
  QSqlQuery query(QSqlDatabase::database(Q(connection_), false));
  query.prepare(
      "SELECT m.finished, s.total, s.rating_before, s.rating_after"
      " FROM match_seats s JOIN matches m ON m.id = s.match_id"
      " JOIN players p ON p.id = s.player_id"
      " WHERE p.key_hash = ? ORDER BY m.id DESC LIMIT ?");
  query.addBindValue(Q(keyHash));
  query.addBindValue(most);
  std::vector<RatedEntry> entries;
  if (!query.exec()) return entries;
  while (query.next()) {
    entries.push_back({Text(query.value(0)), query.value(1).toInt(), query.value(2).toDouble(),
                       query.value(3).toDouble()});
  }
  return entries;
}

}  // namespace tarvelis::server
