// Writing and reading the settings-and-state file of a long match: 60 hands in
// the log and a hand of 80 moves. The file is written when the program is left
// and read at start-up; both should stay well under a millisecond.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "../tests/support/sample_game.h"
#include "storage/state_file.h"

namespace tarvelis {
namespace {

// A real hand of 30 moves, carried on to 80 with passes so that the record
// still holds together and the load checks it all.
GameState LongMatch() {
  GameState s = sample::RichState(30, 60);
  while (s.MoveNumber <= 80) {
    if (s.MoveNumber + 1 >= static_cast<int>(s.MoveRecord.size())) {
      s.MoveRecord.resize(s.MoveNumber + 41);
    }
    MoveEntry& m = s.MoveRecord[s.MoveNumber];
    m = MoveEntry{};
    m[kFSeat] = s.CurrentSeat;
    m[kFPipA] = m[kFPipB] = kNoPip;
    m[kFEnd] = kPassEnd;
    m[kFEnd1PipsBefore] = s.EndPips[1];
    m[kFEnd2PipsBefore] = s.EndPips[2];
    AdvanceTurn(s);
  }
  if (!ResumeFault(s).empty()) std::abort();
  return s;
}

const GameState& Sample() {
  static const GameState state = LongMatch();
  return state;
}

void BM_WriteInMemory(benchmark::State& st) {
  for (auto _ : st) benchmark::DoNotOptimize(StateFileText(Sample()));
}
BENCHMARK(BM_WriteInMemory);

void BM_ReadInMemory(benchmark::State& st) {
  const std::string text = StateFileText(Sample());
  GameState s;
  for (auto _ : st) {
    std::istringstream in(text);
    const ReadOutcome outcome = ReadState(s, in);
    if (outcome.ErrorNumber != 0 || !s.HandInProgress) st.SkipWithError("load failed");
  }
}
BENCHMARK(BM_ReadInMemory);

// What the program does: save through a new file and a rename, then load.
void BM_WriteAndReadFile(benchmark::State& st) {
  const auto file = std::filesystem::temp_directory_path() / "tarvelis-bench-state.ini";
  GameState s;
  for (auto _ : st) {
    if (!SaveStateFile(Sample(), file)) st.SkipWithError("save failed");
    const ReadOutcome outcome = LoadStateFile(s, file);
    if (outcome.ErrorNumber != 0 || !s.HandInProgress) st.SkipWithError("load failed");
  }
  std::filesystem::remove(file);
}
BENCHMARK(BM_WriteAndReadFile);

}  // namespace
}  // namespace tarvelis

BENCHMARK_MAIN();
