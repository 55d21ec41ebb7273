// The history viewer's work on a long history: 10,000 matches read from the
// file, ordered newest first, and their totals computed. The viewer does the
// first two when it opens and the totals at a press of its button; together
// they should stay well under 200 ms. Run with --benchmark_repetitions=N for
// the median.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "storage/history_file.h"
#include "storage/history_totals.h"

namespace tarvelis {
namespace {

constexpr int kMatches = 10000;

// Twenty players in changing pairs and seats, pairs and individual matches
// mixed, a match every few minutes.
std::filesystem::path WriteHistory() {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                       ("tarvelis-bench-history-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::ofstream out(folder / kHistoryFileName, std::ios::binary | std::ios::trunc);
  char record[96];
  for (int i = 0; i < kMatches; ++i) {
    const int day = i / 40, minute = (i % 40) * 7;
    int names[4];
    for (int k = 0; k < 4; ++k) names[k] = (i * 7 + k * 5 + (i / 3) * k) % 20;
    std::snprintf(
        record, sizeof record,
        "%04d%02d%02d%02d%02dJugador%-2dJugador%-2dJugador%-2dJugador%-2d%3d%3d%3d%3d%c\r\n",
        2020 + day / 365, day / 31 % 12 + 1, day % 28 + 1, minute / 60, minute % 60, names[0],
        names[1], names[2], names[3], 5 + i % 20, i % 5, i % 4, i % 3, i % 3 == 0 ? 'I' : 'P');
    out << record;
  }
  return folder;
}

const std::filesystem::path& Folder() {
  static const std::filesystem::path folder = WriteHistory();
  return folder;
}

void BM_ReadAndOrder(benchmark::State& st) {
  for (auto _ : st) {
    const auto newest = NewestFirst(ReadHistory(Folder()));
    if (newest.size() != kMatches) st.SkipWithError("records lost");
    benchmark::DoNotOptimize(newest.data());
  }
}
BENCHMARK(BM_ReadAndOrder)->Unit(benchmark::kMillisecond);

void BM_ReadOrderAndTotals(benchmark::State& st) {
  for (auto _ : st) {
    const auto matches = ReadHistory(Folder());
    const auto newest = NewestFirst(matches);
    const auto totals = ComputeTotals(matches);
    if (newest.size() != kMatches || totals.empty()) st.SkipWithError("records lost");
    benchmark::DoNotOptimize(totals.data());
  }
}
BENCHMARK(BM_ReadOrderAndTotals)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvelis

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ec;
  std::filesystem::remove_all(tarvelis::Folder(), ec);
  return 0;
}
