// Whole matches on the headless table with every check off: the speed of the
// engine and the computer player together, as tarvelis-sim runs them. The
// rate is reported as items per second, one item a match.
#include <benchmark/benchmark.h>

#include "engine/headless_port.h"
#include "engine/turn_loop.h"

namespace {

using namespace tarvelis;

void PlayMatches(benchmark::State& st, i16 mode) {
  GameState s;
  ApplyDefaults(s);
  s.RuleMode = mode;
  HeadlessPort port(&s);
  Random rng(1);
  EngineContext ctx(s, port, rng);
  ctx.SeedFromClock = false;
  long hands = 0;
  for (auto _ : st) {
    RunMatch(ctx, LoopEntry::kNewMatch);
    hands += s.HandNumber;
  }
  st.SetItemsProcessed(st.iterations());
  st.counters["hands/match"] = static_cast<double>(hands) / static_cast<double>(st.iterations());
}

void BM_MatchPairs(benchmark::State& st) {
  PlayMatches(st, kModePairs);
}
void BM_MatchIndividual(benchmark::State& st) {
  PlayMatches(st, kModeIndividual);
}
BENCHMARK(BM_MatchPairs);
BENCHMARK(BM_MatchIndividual);

}  // namespace

BENCHMARK_MAIN();
