#include "model/consistency.h"

#include <gtest/gtest.h>

#include <functional>

#include "model/move_record.h"
#include "support/engine_fixture.h"

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

::testing::AssertionResult Reports(const GameState& s, const std::string& words,
                                   bool replayMarks = false) {
  std::string all;
  for (const std::string& v : CheckState(s, {-1, replayMarks})) {
    if (v.find(words) != std::string::npos) return ::testing::AssertionSuccess();
    all += v + "; ";
  }
  return ::testing::AssertionFailure() << "reported: " << all;
}

TEST(CheckState, EachDamageIsNamed) {
  const GameState sound = MidHand();
  const std::pair<const char*, std::function<void(GameState&)>> damages[] = {
      {"dealt 2 times", [](GameState& s) { s.Hand[1][1] = s.Hand[2][1]; }},
      {"seat 3 tile count disagrees", [](GameState& s) { ++s.SeatTileCount[3]; }},
      {"holds no tile", [](GameState& s) { s.Hand[2][4].PipA = 8; }},
      {"double 3 holder", [](GameState& s) { s.DoubleHolder[3] = s.DoubleHolder[3] % 4 + 1; }},
      {"chain ends disagree",
       [](GameState& s) { s.EndPips[1] = static_cast<i16>((s.EndPips[1] + 1) % 7); }},
      {"end count disagrees", [](GameState& s) { ++s.EndCount[2]; }},
      {"move 5: out of turn",
       [](GameState& s) {
         s.MoveRecord[5][kFSeat] = static_cast<i16>(s.MoveRecord[5][kFSeat] % 4 + 1);
       }},
      {"pair 1 total out of 0..999", [](GameState& s) { s.PairTotal[1] = 1000; }},
      {"seat 4 pip count of 0", [](GameState& s) { ++s.SeatPipCount[4][0]; }},
      {"seat 1 ranks are not the seven",
       [](GameState& s) { s.SeatPipRank[1][2] = s.SeatPipRank[1][1]; }},
      {"move 4: no seat", [](GameState& s) { s.MoveRecord[4][kFSeat] = 7; }},
      {"move 1: the lead is a pass", [](GameState& s) { s.MoveRecord[1][kFEnd] = kPassEnd; }},
      {"move 1: a tile the seat was not dealt", [](GameState& s) { s.MoveRecord[1][kFEnd] = 3; }},
      {"move 7: recorded ends disagree",
       [](GameState& s) { s.MoveRecord[7][kFEnd1PipsBefore] = 8; }},
      {"tile does not match its end",  // a plain tile turned round
       [](GameState& s) {
         int k = 2;
         while (s.MoveRecord[k][kFEnd] == kPassEnd || s.MoveRecord[k][kFIsDouble]) ++k;
         std::swap(s.MoveRecord[k][kFPipA], s.MoveRecord[k][kFPipB]);
       }},
      {"hand number out of range", [](GameState& s) { s.HandNumber = 501; }},
      {"the leading seat is out of range", [](GameState& s) { s.LeadSeat = 9; }},
      {"a hand in progress without a match", [](GameState& s) { s.MatchInProgress = false; }},
      {"the last winner is out of range", [](GameState& s) { s.HandWinner = 9; }},
      {"no seat to move", [](GameState& s) { s.CurrentSeat = 0; }},
      {"current seat out of turn",
       [](GameState& s) { s.CurrentSeat = static_cast<i16>(s.CurrentSeat % 4 + 1); }},
      {"an arm heads nowhere", [](GameState& s) { s.EndHeading[2] = 7; }},
      {"an arm's cursor disagrees with the record", [](GameState& s) { ++s.EndRow[1]; }},
      {"a hand in progress before the first deal", [](GameState& s) { s.HandNumber = 0; }},
      {"double flag wrong",
       [](GameState& s) {
         s.MoveRecord[1][kFIsDouble] = static_cast<i16>(1 - s.MoveRecord[1][kFIsDouble]);
       }},
      {"seat 2 total disagrees", [](GameState& s) { s.SeatTotal[2] = 3; }},
      {"played state disagrees with the record",  // a slot played that no move played
       [](GameState& s) {
         int slot = 1;
         while (s.Hand[1][slot].State != 0) ++slot;
         s.Hand[1][slot].State = 1;
         --s.SeatTileCount[1];
       }},
      {"a pass by a seat that could play",  // the last tile move turned into a pass
       [](GameState& s) {
         int k = s.MoveNumber - 1;
         while (s.MoveRecord[k][kFEnd] == kPassEnd) --k;
         for (int m = s.MoveNumber - 1; m >= k; --m) AplicaJugada(s, kUndo, m);
         s.MoveRecord[k][kFEnd] = kPassEnd;
         s.MoveNumber = static_cast<i16>(k + 1);
         s.CurrentSeat = static_cast<i16>(NextSeat(s.MoveRecord[k][kFSeat], s.DirectionStep));
       }},
  };
  for (const auto& [words, damage] : damages) {
    GameState s = sound;
    damage(s);
    EXPECT_TRUE(Reports(s, words)) << words;
  }
  GameState s = sound;
  std::swap(s.SeatPipRank[4][1], s.SeatPipRank[4][7]);
  EXPECT_FALSE(CheckState(s).empty());
  s = sound;
  ++s.SeatPipMark[2][5];
  EXPECT_TRUE(Reports(s, "marks disagree", true));
  EXPECT_TRUE(CheckState(s).empty()) << "marks are replayed only when asked";
}

// A laid tile of the record as the table would draw it: every value the
// drawing reads is checked, so a damaged record cannot make the table copy
// from outside its pictures, size a picture from the file, or lay the next
// tile off the table.
TEST(CheckState, EachDrawingFieldIsChecked) {
  const GameState sound = MidHand();
  int k = 1;
  while (sound.MoveRecord[k + 1][kFEnd] == kPassEnd) ++k;
  ++k;  // a tile laid after the lead
  const std::pair<const char*, std::function<void(MoveEntry&)>> damages[] = {
      {"a picture outside the tile strip", [](MoveEntry& e) { e[kFTileImageX] = -40; }},
      {"a tile size its picture does not have",
       [](MoveEntry& e) { e[kFTileWidth] = e[kFTileHeight] = 32767; }},
      {"a pip cell outside its tile", [](MoveEntry& e) { e[kFPipBY] += 20; }},
      {"a flag neither true nor false", [](MoveEntry& e) { e[kFEvaluated] = 2; }},
      {"a side of the table out of range", [](MoveEntry& e) { e[kFTileSide] = 3; }},
      {"a heading out of range", [](MoveEntry& e) { e[kFHeadingAfter] = 5; }},
      {"a tile off the table",
       [](MoveEntry& e) {
         for (int f : {kFTileLeft, kFPipAX, kFPipBX}) e[f] = static_cast<i16>(e[f] + 3000);
       }},
      {"does not run on from its previous tile", [](MoveEntry& e) { e[kFColBefore] += 1; }},
  };
  for (const auto& [words, damage] : damages) {
    GameState s = sound;
    damage(s.MoveRecord[k]);
    EXPECT_TRUE(Reports(s, words)) << words;
  }
}

TEST(TotalsOfLog, SumTheSelectedScoringHeldWithinTheCap) {
  GameState s;
  s.HandNumber = 3;
  for (int h = 1; h <= 3; ++h) {
    s.HandLog[h].PairUnits = {0, 400, 2};
    s.HandLog[h].PairTens = {0, 4, -9};
  }
  s.RuleScoring = kScoreUnits;
  EXPECT_EQ(TotalsOfLog(s).Pair[1], 999);
  EXPECT_EQ(TotalsOfLog(s).Pair[2], 6);
  s.RuleScoring = kScoreTens;
  EXPECT_EQ(TotalsOfLog(s).Pair[1], 12);
  EXPECT_EQ(TotalsOfLog(s).Pair[2], 0);
  EXPECT_TRUE(Reports(s, "pair 1 total disagrees with the hand log"));
  RecomputeTotalsFromLog(s);
  EXPECT_FALSE(Reports(s, "total"));
}

}  // namespace
}  // namespace tarvelis
