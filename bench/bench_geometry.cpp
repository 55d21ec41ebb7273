// The layout runs once per tile in play and in the simulator, and the pointer
// rule on every mouse move; both should cost next to nothing.
#include <benchmark/benchmark.h>

#include "layout/pointer_rules.h"
#include "model/board_geometry.h"

namespace {

using namespace tarvelis;

// A long hand: 25 tiles, ends alternating in runs, a double every fifth tile.
void BM_LayWholeChain(benchmark::State& st) {
  GameState s;
  s.MoveRecord.resize(26);
  for (auto _ : st) {
    ResetChainCursors(s);
    for (int m = 1; m <= 25; ++m) {
      s.MoveNumber = static_cast<i16>(m);
      s.PlayEnd = static_cast<i16>(m == 1 || (m / 3) % 2 ? 1 : 2);
      s.PlayIsDouble = m % 5 == 0;
      MoveEntry& e = s.MoveRecord[m];
      e[kFEnd] = s.PlayEnd;
      LayTile(s, e);
    }
    benchmark::DoNotOptimize(s.EndCol);
  }
  st.SetItemsProcessed(st.iterations() * 25);
}
BENCHMARK(BM_LayWholeChain);

void BM_ChoosePointer(benchmark::State& st) {
  GameState s;
  s.SeatControl = {0, 1, 1, 1, 2};
  s.CurrentSeat = 4;
  s.MatchInProgress = s.HandInProgress = true;
  s.MoveNumber = 3;
  s.EndPips = {0, 3, 5};
  const PointerFlags flags;
  int x = 0;
  for (auto _ : st) {
    x = (x + 7) % 800;
    benchmark::DoNotOptimize(ChoosePointer(s, TableModes{}, Point{x, 560}, flags));
  }
}
BENCHMARK(BM_ChoosePointer);

}  // namespace

BENCHMARK_MAIN();
