// The computer player's cost: one weighed decision (two or more candidates at
// level 100) on positions taken from real play, and whole matches with every
// seat at full strength. A decision should take well under 20 microseconds,
// and one core should play at least a thousand matches a second.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "engine/headless_port.h"
#include "engine/turn_loop.h"
#include "model/move_rules.h"
#include "player/computer_player.h"

namespace {

using namespace tarvelis;

void FullStrength(GameState& s, i16 mode) {
  ApplyDefaults(s);
  s.RuleMode = mode;
  for (int seat = 1; seat <= kSeats; ++seat) {
    s.SeatLevel[seat] = 100;
    s.SeatControl[seat] = kAutomatic;
  }
}

// Keeps a copy of the state before every decision that has something to weigh.
class PositionCollector : public EngineHooks {
 public:
  explicit PositionCollector(std::size_t wanted) : wanted_(wanted) {}
  bool ChooseMove(GameState& s, TablePort*) override {
    if (Positions.size() < wanted_ && s.MoveNumber > 1 &&
        ListCandidates(s, s.CurrentSeat).Count >= 2) {
      Positions.push_back(std::make_unique<GameState>(s));
    }
    return false;
  }
  std::vector<std::unique_ptr<GameState>> Positions;

 private:
  std::size_t wanted_;
};

const std::vector<std::unique_ptr<GameState>>& Positions() {
  static const auto positions = [] {
    GameState s;
    FullStrength(s, kModePairs);
    HeadlessPort port(&s);
    Random rng(11);
    EngineContext ctx(s, port, rng);
    ctx.SeedFromClock = false;
    PositionCollector collector(256);
    ctx.Hooks = &collector;
    while (collector.Positions.size() < 256) RunMatch(ctx, LoopEntry::kNewMatch);
    return std::move(collector.Positions);
  }();
  return positions;
}

void BM_WeighedDecision(benchmark::State& st) {
  const auto& positions = Positions();
  std::vector<GameState*> states;
  for (const auto& p : positions) states.push_back(p.get());
  std::size_t i = 0;
  for (auto _ : st) {
    GameState& s = *states[i];
    benchmark::DoNotOptimize(EligeJugada(s, nullptr).End);
    i = (i + 1) % states.size();
  }
  st.SetItemsProcessed(st.iterations());
}
BENCHMARK(BM_WeighedDecision)->Repetitions(5)->ReportAggregatesOnly(true);

void PlayMatches(benchmark::State& st, i16 mode) {
  GameState s;
  FullStrength(s, mode);
  HeadlessPort port(&s);
  Random rng(1);
  EngineContext ctx(s, port, rng);
  ctx.SeedFromClock = false;
  for (auto _ : st) RunMatch(ctx, LoopEntry::kNewMatch);
  st.SetItemsProcessed(st.iterations());
}

void BM_MatchPairsLevel100(benchmark::State& st) {
  PlayMatches(st, kModePairs);
}
void BM_MatchIndividualLevel100(benchmark::State& st) {
  PlayMatches(st, kModeIndividual);
}
BENCHMARK(BM_MatchPairsLevel100);
BENCHMARK(BM_MatchIndividualLevel100);

}  // namespace

BENCHMARK_MAIN();
