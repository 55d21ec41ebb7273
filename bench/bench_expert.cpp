// The expert player's cost on one core: a decision with two or more moves to
// weigh (leads included) on positions of real play, reported as the median
// and the 90th percentile of single decisions; and the review of a whole
// hand of 28 moves or more. Single decisions are timed on the thread's own
// CPU clock, so a machine shared with other work does not inflate them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <vector>

#include "engine/headless_port.h"
#include "engine/turn_loop.h"
#include "model/move_rules.h"
#include "player/expert.h"

namespace {

using namespace tarvelis;

class Collector : public EngineHooks {
 public:
  bool ChooseMove(GameState& s, TablePort*) override {
    const bool choice =
        s.MoveNumber == 1 ? !SixDoubleForced(s) : ListCandidates(s, s.CurrentSeat).Count >= 2;
    if (choice && Positions.size() < 400) Positions.push_back(std::make_unique<GameState>(s));
    return false;
  }
  void HandScored(const GameState& s, const HandSummary&) override {
    if (s.MoveNumber >= 28 && Hands.size() < 5) Hands.push_back(std::make_unique<GameState>(s));
  }
  std::vector<std::unique_ptr<GameState>> Positions;
  std::vector<std::unique_ptr<GameState>> Hands;
};

const Collector& Played() {
  static const auto collector = [] {
    auto c = std::make_unique<Collector>();
    GameState s;
    ApplyDefaults(s);
    for (int seat = 1; seat <= kSeats; ++seat) {
      s.SeatLevel[seat] = 100;
      s.SeatControl[seat] = kAutomatic;
    }
    HeadlessPort port(&s);
    Random rng(23);
    EngineContext ctx(s, port, rng);
    ctx.SeedFromClock = false;
    ctx.Hooks = c.get();
    while (c->Positions.size() < 400 || c->Hands.size() < 5) RunMatch(ctx, LoopEntry::kNewMatch);
    return c;
  }();
  return *collector;
}

double ThreadMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

void BM_ExpertDecision(benchmark::State& st) {
  const auto& positions = Played().Positions;
  expert::ExpertOptions options;
  options.Deals = static_cast<int>(st.range(0));
  std::vector<double> ms;
  std::size_t i = 0;
  for (auto _ : st) {
    GameState s = *positions[i];
    const double start = ThreadMs();
    expert::ChooseExpertMove(s, options, i + 1);
    ms.push_back(ThreadMs() - start);
    benchmark::DoNotOptimize(s.PlayEnd);
    i = (i + 1) % positions.size();
  }
  std::sort(ms.begin(), ms.end());
  st.counters["median_ms"] = ms[ms.size() / 2];
  st.counters["p90_ms"] = ms[ms.size() * 9 / 10];
  st.counters["max_ms"] = ms.back();
}
BENCHMARK(BM_ExpertDecision)->Arg(250)->Arg(500)->Iterations(400)->Unit(benchmark::kMillisecond);

void BM_SampledDecision(benchmark::State& st) {
  const auto& positions = Played().Positions;
  const expert::ExpertOptions options = expert::SampledSearchOptions(1000);
  std::size_t i = 0;
  for (auto _ : st) {
    GameState s = *positions[i];
    expert::ChooseExpertMove(s, options, i + 1);
    benchmark::DoNotOptimize(s.PlayEnd);
    i = (i + 1) % positions.size();
  }
}
BENCHMARK(BM_SampledDecision)
    ->Iterations(200)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

void BM_ReviewWholeHand(benchmark::State& st) {
  const auto& hands = Played().Hands;
  expert::ExpertOptions options;
  options.Deals = static_cast<int>(st.range(0));
  std::size_t i = 0;
  for (auto _ : st) {
    const GameState& s = *hands[i];
    auto reviews = expert::ReviewHand(s, s.MoveNumber, options);
    benchmark::DoNotOptimize(reviews.data());
    i = (i + 1) % hands.size();
  }
}
BENCHMARK(BM_ReviewWholeHand)
    ->Arg(500)
    ->Iterations(10)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
