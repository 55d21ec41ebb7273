// Whole matches on the headless table with every check off: the speed of the
// engine and the computer player together, as tarvelis-sim runs them. The
// rate is reported as items per second, one item a match, with the heap
// allocations made per move (the deal's and the hand's end's messages
// included; a move itself makes none).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "engine/headless_port.h"
#include "engine/turn_loop.h"

namespace {

std::atomic<long> allocations{0};

}  // namespace

// The replaced pair allocates with malloc and frees with free; the compiler
// cannot see that they match.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace {

using namespace tarvelis;

// Counts the moves, and the allocations made from one move of a hand to the
// next of the same hand: the turn loop's own, with no deal or hand's end
// between.
class MoveCounter : public EngineHooks {
 public:
  void MoveMade(GameState& s) override {
    ++Moves;
    const long now = allocations.load();
    if (s.HandNumber == hand_ && s.MoveNumber == move_ + 1) {
      ++Between;
      InLoop += now - last_;
    }
    hand_ = s.HandNumber;
    move_ = s.MoveNumber;
    last_ = allocations.load();
  }
  long Moves = 0;
  long Between = 0;
  long InLoop = 0;

 private:
  int hand_ = -1;
  int move_ = -1;
  long last_ = 0;
};

void PlayMatches(benchmark::State& st, i16 mode) {
  GameState s;
  ApplyDefaults(s);
  s.RuleMode = mode;
  HeadlessPort port(&s);
  Random rng(1);
  EngineContext ctx(s, port, rng);
  ctx.SeedFromClock = false;
  MoveCounter counter;
  ctx.Hooks = &counter;
  long hands = 0;
  const long before = allocations.load();
  for (auto _ : st) {
    RunMatch(ctx, LoopEntry::kNewMatch);
    hands += s.HandNumber;
  }
  const double made = static_cast<double>(allocations.load() - before);
  st.SetItemsProcessed(st.iterations());
  st.counters["hands/match"] = static_cast<double>(hands) / static_cast<double>(st.iterations());
  st.counters["allocations/move"] = made / static_cast<double>(counter.Moves);
  st.counters["loop allocations/move"] =
      static_cast<double>(counter.InLoop) / static_cast<double>(counter.Between);
  st.counters["allocations/hand"] = made / static_cast<double>(hands);
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
