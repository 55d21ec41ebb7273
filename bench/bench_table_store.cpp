// Where the live tables could be kept: one file a table (written whole beside
// the last and renamed over it, synced: what the server does) or one row a
// table in the ratings' SQLite database (WAL, a transaction a write, synced
// as SQLite's FULL or NORMAL level does). Both write a table's text of the
// size a table in play has, and read a thousand back as a restart does. Run it
// on the disk the server would use: /tmp may be memory and hide the sync.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <filesystem>
#include <string>

#include "storage/file_access.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kFolder = "bench-tables";
constexpr const char* kDatabase = "bench-tables.sqlite";
// A table's file in the middle of a match: its seats, rules and the state.
const std::string kText(6 * 1024, 'x');

void BM_TableFile(benchmark::State& state) {
  fs::create_directories(kFolder);
  int n = 0;
  for (auto _ : state) {
    const fs::path path = fs::path(kFolder) / ("T" + std::to_string(n++ % 1000) + ".mesa");
    benchmark::DoNotOptimize(tarvelis::ReplaceFile(path, kText));
  }
}
BENCHMARK(BM_TableFile)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_TableFilesReadBack(benchmark::State& state) {
  fs::create_directories(kFolder);
  for (int n = 0; n < 1000; ++n) {
    tarvelis::ReplaceFile(fs::path(kFolder) / ("T" + std::to_string(n) + ".mesa"), kText);
  }
  for (auto _ : state) {
    std::size_t bytes = 0;
    for (const auto& entry : fs::directory_iterator(kFolder)) {
      bytes += tarvelis::ReadRegularFile(entry.path(), 1 << 20).Bytes.size();
    }
    benchmark::DoNotOptimize(bytes);
  }
}
BENCHMARK(BM_TableFilesReadBack)->Unit(benchmark::kMillisecond)->UseRealTime();

QSqlDatabase Open(const char* synchronous) {
  fs::remove(kDatabase);
  fs::remove(std::string(kDatabase) + "-wal");
  fs::remove(std::string(kDatabase) + "-shm");
  QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", synchronous);
  db.setDatabaseName(kDatabase);
  db.open();
  QSqlQuery q(db);
  q.exec("PRAGMA journal_mode = WAL");
  q.exec(QString("PRAGMA synchronous = ") + synchronous);
  q.exec("CREATE TABLE IF NOT EXISTS tables (code TEXT PRIMARY KEY, text BLOB NOT NULL)");
  return db;
}

void Upsert(QSqlDatabase& db, int n) {
  db.transaction();
  QSqlQuery q(db);
  q.prepare(
      "INSERT INTO tables (code, text) VALUES (?, ?) "
      "ON CONFLICT(code) DO UPDATE SET text = excluded.text");
  q.addBindValue(QString("T%1").arg(n % 1000));
  q.addBindValue(QByteArray::fromStdString(kText));
  q.exec();
  db.commit();
}

void TableRow(benchmark::State& state, const char* synchronous) {
  {
    QSqlDatabase db = Open(synchronous);
    int n = 0;
    for (auto _ : state) Upsert(db, n++);
    db.close();
  }
  QSqlDatabase::removeDatabase(synchronous);
}
void BM_TableRowFull(benchmark::State& state) {
  TableRow(state, "FULL");
}
void BM_TableRowNormal(benchmark::State& state) {
  TableRow(state, "NORMAL");
}
BENCHMARK(BM_TableRowFull)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_TableRowNormal)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_TableRowsReadBack(benchmark::State& state) {
  {
    QSqlDatabase db = Open("FULL");
    for (int n = 0; n < 1000; ++n) Upsert(db, n);
    for (auto _ : state) {
      QSqlQuery q("SELECT text FROM tables", db);
      std::size_t bytes = 0;
      while (q.next()) bytes += static_cast<std::size_t>(q.value(0).toByteArray().size());
      benchmark::DoNotOptimize(bytes);
    }
    db.close();
  }
  QSqlDatabase::removeDatabase("FULL");
}
BENCHMARK(BM_TableRowsReadBack)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);  // Qt SQL finds its SQLite driver through it
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  fs::remove_all(kFolder);
  for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(std::string(kDatabase) + suffix);
  return 0;
}
