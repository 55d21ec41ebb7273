// What the ratings cost the server: one finished match rated and kept (a
// transaction, synced to the disk in WAL mode), and the reads the room makes.
// The database is made in the current folder, so run it on the disk the
// server would use (/tmp may be memory and hide the sync).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstdio>
#include <string>

#include "server/rating_store.h"

namespace {

using tarvelis::server::FinishedMatch;
using tarvelis::server::KeyHash;
using tarvelis::server::RatingStore;

constexpr const char* kPath = "bench-ratings.sqlite";

std::unique_ptr<RatingStore> Fresh() {
  for (const char* suffix : {"", "-wal", "-shm"})
    std::remove((std::string(kPath) + suffix).c_str());
  std::string error;
  auto store = RatingStore::Open(kPath, error);
  if (!store) std::fprintf(stderr, "%s\n", error.c_str());
  return store;
}

FinishedMatch Match(int n) {
  FinishedMatch m;
  m.Date = "2026-12-07T10:00:00Z";
  m.Rules = "Parejas, partida a 5 puntos, decenas";
  m.Hands = 3;
  // Two people of a thousand at a table with the computer.
  m.Seats[0] = {KeyHash(std::to_string(n % 1000)), "Ana", {}, n % 2 == 0 ? 5 : 2, 2};
  m.Seats[1] = {"", "Ordenador", {1500, 30, 0.06}, n % 2 == 0 ? 2 : 5, 1};
  m.Seats[2] = {KeyHash(std::to_string((n * 7 + 1) % 1000)), "Bea", {}, m.Seats[0].Total, 2};
  m.Seats[3] = {"", "Ordenador", {1500, 30, 0.06}, m.Seats[1].Total, 1};
  return m;
}

void BM_RecordMatch(benchmark::State& state) {
  auto store = Fresh();
  int n = 0;
  for (auto _ : state) benchmark::DoNotOptimize(store->Record(Match(n++)));
}
BENCHMARK(BM_RecordMatch)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_Leaderboard(benchmark::State& state) {
  auto store = Fresh();
  for (int n = 0; n < 2000; ++n) store->Record(Match(n));
  for (auto _ : state) benchmark::DoNotOptimize(store->Leaderboard(20));
}
BENCHMARK(BM_Leaderboard)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);  // Qt SQL finds its SQLite driver through it
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  std::remove(kPath);
  return 0;
}
