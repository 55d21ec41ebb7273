#include "engine/consistency.h"

#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "player/move_record.h"

namespace tarvelis {
namespace {

using testing::Table;

// A hand of seed 12 left while move 14 is awaited, as it would be saved.
GameState MidHand() {
  Table t(12);
  t.port.OnEvent = [&](const std::string& e) {
    if (e.rfind("notice ", 0) == 0 && t.s.MoveNumber == 14) t.ctx.Control.ExitRequested = true;
  };
  RunMatch(t.ctx, LoopEntry::kNewMatch);
  return t.s;
}

bool Reports(const GameState& s, const std::string& words, CheckOptions options = {}) {
  for (const std::string& v : CheckState(s, options)) {
    if (v.find(words) != std::string::npos) return true;
  }
  return false;
}

TEST(CheckState, SoundStatesPass) {
  EXPECT_TRUE(CheckState(GameState{}).empty());
  const GameState s = MidHand();
  ASSERT_TRUE(s.HandInProgress);
  EXPECT_TRUE(CheckState(s).empty());
  CheckOptions exact;
  exact.ReplayMarks = true;
  EXPECT_TRUE(CheckState(s, exact).empty());
  Table done(12);
  RunMatch(done.ctx, LoopEntry::kNewMatch);
  EXPECT_TRUE(CheckState(done.s).empty()) << "a finished match";
}

TEST(CheckState, TilesAndCounts) {
  GameState s = MidHand();
  s.Hand[1][1] = s.Hand[2][1];
  EXPECT_TRUE(Reports(s, "dealt 2 times"));
  EXPECT_TRUE(Reports(s, "dealt 0 times"));
  s = MidHand();
  ++s.SeatTileCount[3];
  EXPECT_TRUE(Reports(s, "seat 3 tile count disagrees"));
  s = MidHand();
  s.Hand[2][4].PipA = 8;
  EXPECT_TRUE(Reports(s, "holds no tile"));
  s = MidHand();
  std::swap(s.SeatPipRank[4][1], s.SeatPipRank[4][7]);
  EXPECT_FALSE(CheckState(s).empty());
  s = MidHand();
  s.DoubleHolder[3] = s.DoubleHolder[3] % 4 + 1;
  EXPECT_TRUE(Reports(s, "double 3 holder"));
}

TEST(CheckState, TheRecordAgainstTheChain) {
  GameState s = MidHand();
  s.EndPips[1] = static_cast<i16>((s.EndPips[1] + 1) % 7);
  EXPECT_TRUE(Reports(s, "chain ends disagree"));
  s = MidHand();
  ++s.EndCount[2];
  EXPECT_TRUE(Reports(s, "end count disagrees"));
  s = MidHand();
  s.MoveRecord[5][kFSeat] = static_cast<i16>(s.MoveRecord[5][kFSeat] % 4 + 1);
  EXPECT_TRUE(Reports(s, "move 5: out of turn"));
  // A slot marked played that no move played.
  s = MidHand();
  for (int slot = 1; slot <= kSlots; ++slot) {
    if (s.Hand[1][slot].State == 0) {
      s.Hand[1][slot].State = 1;
      --s.SeatTileCount[1];
      break;
    }
  }
  EXPECT_TRUE(Reports(s, "played state disagrees with the record"));
  s = MidHand();
  ++s.CurrentSeat;
  EXPECT_FALSE(CheckState(s).empty());
}

TEST(CheckState, APassBySeatThatCouldPlay) {
  GameState s = MidHand();
  // Turn the last tile move into a pass: the tile goes back to its seat.
  int k = s.MoveNumber - 1;
  while (s.MoveRecord[k][kFEnd] == kPassEnd) --k;
  ASSERT_GT(k, 1);
  for (int m = s.MoveNumber - 1; m >= k; --m) AplicaJugada(s, kUndo, m);
  s.MoveRecord[k][kFEnd] = kPassEnd;
  s.MoveNumber = static_cast<i16>(k + 1);
  s.CurrentSeat = static_cast<i16>(NextSeat(s.MoveRecord[k][kFSeat], s.DirectionStep));
  EXPECT_TRUE(Reports(s, "a pass by a seat that could play"));
}

TEST(CheckState, TotalsAndMarks) {
  GameState s = MidHand();
  s.PairTotal[1] = 1000;
  EXPECT_TRUE(Reports(s, "pair 1 total out of 0..999"));
  s = MidHand();
  s.SeatTotal[2] = 3;
  EXPECT_TRUE(Reports(s, "seat 2 total disagrees"));
  s = MidHand();
  ++s.SeatPipMark[2][5];
  CheckOptions exact;
  exact.ReplayMarks = true;
  EXPECT_TRUE(Reports(s, "marks disagree", exact));
  EXPECT_TRUE(CheckState(s).empty()) << "marks are replayed only when asked";
}

}  // namespace
}  // namespace tarvelis
