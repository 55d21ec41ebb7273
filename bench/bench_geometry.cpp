// The layout runs once per tile in play and in the simulator, and the pointer
// rule on every mouse move; both should cost next to nothing.
#include <benchmark/benchmark.h>

#include "layout/pointer_rules.h"
#include "model/board_geometry.h"
#include "model/name_fit.h"

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

// Four names of `length` characters as a hostile server may send them, alike
// but for one letter in the middle, fitted into rooms of twelve: the worst
// case of telling them apart, every round of it, as a redraw of the names does.
void BM_FitHostileNames(benchmark::State& st) {
  const auto length = static_cast<std::size_t>(st.range(0));
  std::vector<std::string> names;
  for (char letter : {'x', 'y', 'z', 'w'}) {
    std::string name(length, 'a');
    name[length / 2] = letter;
    names.push_back(name);
  }
  const NameWidth even = [](int, const std::string& text) { return CharacterCount(text); };
  for (auto _ : st) benchmark::DoNotOptimize(FitNames(names, {12, 12, 12, 12}, even));
}
BENCHMARK(BM_FitHostileNames)->Arg(20)->Arg(256);

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
