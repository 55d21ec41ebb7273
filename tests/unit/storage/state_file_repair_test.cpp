// The repairs made after a read: settings back in range, names re-capitalised,
// numbers that do not fit, the holder of the six double, the log of no match.
#include <gtest/gtest.h>

#include <functional>

#include "state_text.h"
#include "storage/settings_file.h"
#include "storage/state_file.h"
#include "support/sample_game.h"

namespace tarvelis {
namespace {

using testing::CrLfLines;
using testing::ReadText;

// The file text of `s` with field `field` (from 0) of line `line` (from 0) replaced.
std::string WithField(const GameState& s, int line, int field, const std::string& value) {
  auto lines = CrLfLines(StateFileText(s));
  std::string& l = lines[line];
  std::size_t start = 0;
  for (int f = 0; f < field; ++f) start = l.find(',', start) + 1;
  const std::size_t end = std::min(l.find(',', start), l.size());
  l.replace(start, end - start, value);
  std::string text;
  for (const auto& each : lines) text += each + "\r\n";
  return text;
}

GameState NewFileState() {
  GameState s;
  ApplyNewFileState(s);
  return s;
}

struct FieldCase {
  const char* name;
  int line;
  int field;
  const char* value;
  std::function<int(const GameState&)> get;
  int expected;
};

TEST(SettingsRepair, OutOfRangeValuesFallBackToTheirDefaults) {
  const FieldCase cases[] = {
      {"level high", 0, 4, "101", [](auto& s) { return s.SeatLevel[1]; }, 50},
      {"level low", 0, 7, "-1", [](auto& s) { return s.SeatLevel[4]; }, 50},
      {"pause", 0, 8, "3", [](auto& s) { return s.RulePauseBetweenMoves; }, 1},
      {"played tiles", 0, 9, "0", [](auto& s) { return s.RulePlayedTilesShown; }, 2},
      {"direction", 0, 10, "3", [](auto& s) { return s.RuleDirection; }, 1},
      {"sound", 0, 11, "0", [](auto& s) { return s.RuleSound; }, 1},
      {"tiles shown", 0, 13, "3", [](auto& s) { return s.SeatTilesShown[2]; }, 1},
      {"control", 0, 18, "0", [](auto& s) { return s.SeatControl[3]; }, 1},
      {"dealing", 0, 20, "7", [](auto& s) { return s.RuleDealing; }, 1},
      {"five doubles", 0, 21, "-2", [](auto& s) { return s.RuleFiveDoubles; }, 1},
      {"first lead", 0, 22, "3", [](auto& s) { return s.RuleFirstLead; }, 1},
      {"scoring", 0, 23, "3", [](auto& s) { return s.RuleScoring; }, 1},
      {"counted pips", 0, 24, "9", [](auto& s) { return s.RuleCountedPips; }, 1},
      {"scoring pair", 0, 25, "0", [](auto& s) { return s.RuleScoringPair; }, 1},
      {"tie winner", 0, 26, "4", [](auto& s) { return s.RuleTieWinner; }, 1},
      {"tie lead", 0, 27, "3", [](auto& s) { return s.RuleTieLead; }, 1},
      {"next lead", 0, 28, "5", [](auto& s) { return s.RuleNextLead; }, 1},
      {"move list", 0, 29, "3", [](auto& s) { return s.RuleMoveList; }, 2},
      {"mode", 0, 30, "0", [](auto& s) { return s.RuleMode; }, 1},
      {"target", 1, 0, "0", [](auto& s) { return s.MatchTarget; }, 7},
      {"speed", 1, 1, "101", [](auto& s) { return s.GameSpeed; }, 50},
      // Beyond 16 bits: treated as missing, so the default again and no error.
      {"huge level", 0, 5, "70000", [](auto& s) { return s.SeatLevel[2]; }, 50},
      {"huge pause", 0, 8, "-40000", [](auto& s) { return s.RulePauseBetweenMoves; }, 1},
      {"huge target", 1, 0, "99999999999999999999", [](auto& s) { return s.MatchTarget; }, 7},
      {"empty speed", 1, 1, "", [](auto& s) { return s.GameSpeed; }, 50},
  };
  for (const FieldCase& c : cases) {
    GameState s = NewFileState();
    s.RulePlayedTilesShown = 1;  // so that the repair to 2 shows
    GameState back;
    const ReadOutcome outcome = ReadText(back, WithField(s, c.line, c.field, c.value));
    EXPECT_EQ(outcome.ErrorNumber, 0) << c.name;
    EXPECT_EQ(c.get(back), c.expected) << c.name;
  }
}

TEST(SettingsRepair, ValuesAtTheEdgesOfTheirRangesAreKept) {
  GameState s = NewFileState();
  s.SeatLevel = {0, 0, 100, 1, 99};
  s.RuleTieWinner = 3;
  s.RuleNextLead = 4;
  s.MatchTarget = 32767;
  s.GameSpeed = 0;
  s.RulePlayedTilesShown = 1;
  GameState back;
  ReadText(back, StateFileText(s));
  testing::ExpectSameSettings(s, back);
  s.MatchTarget = 1;
  s.GameSpeed = 100;
  ReadText(back, StateFileText(s));
  testing::ExpectSameSettings(s, back);
}

TEST(SettingsRepair, NamesComeBackWithEachWordCapitalised) {
  GameState s = NewFileState();
  s.SeatName = {"", "jUAN  pEDRO", "ÁNGEL", "ñoño  güemes", "éL ÚLTIMO"};
  GameState back;
  ReadText(back, StateFileText(s));
  EXPECT_EQ(back.SeatName[1], "Juan  Pedro");
  EXPECT_EQ(back.SeatName[2], "Ángel");
  EXPECT_EQ(back.SeatName[3], "Ñoño  Güemes");
  EXPECT_EQ(back.SeatName[4], "Él Último");
}

TEST(SettingsRepair, ANumberBeyondSixteenBitsCostsOnlyItsOwnField) {
  const GameState s = sample::RichState(10, 3);
  // Line 3 is the log of hand 1; its second field is pair 1's units.
  GameState back;
  const ReadOutcome outcome = ReadText(back, WithField(s, 2, 1, "40000"));
  EXPECT_EQ(outcome.ErrorNumber, 0);
  EXPECT_FALSE(outcome.MatchDropped);
  EXPECT_EQ(back.HandLog[1].PairUnits[1], 0);
  EXPECT_EQ(back.HandLog[1].PairTens[1], s.HandLog[1].PairTens[1]);
  EXPECT_EQ(back.MoveRecord[9], s.MoveRecord[9]);
}

TEST(DirectionRepair, TheStoredStepWinsUnlessItIsNoStepAtAll) {
  GameState s = NewFileState();
  s.RuleDirection = kDirect;
  s.DirectionStep = -1;
  GameState back;
  ReadText(back, StateFileText(s));
  EXPECT_EQ(back.DirectionStep, -1);

  s.RuleDirection = kReverse;
  for (const char* bad : {"0", "5", "-2", "99999", ""}) {
    GameState again;
    ReadText(again, WithField(s, 1, 10, bad));
    EXPECT_EQ(again.DirectionStep, -1) << bad;
  }
}

// The first hand of a match under "Sale el Seis Doble", `moves` moves in.
GameState FirstHand(int moves) {
  GameState s = sample::RichState(moves, 0);
  s.RuleFirstLead = kFirstLeadSixDouble;
  s.RuleNextLead = kNextLeadRotate;
  return s;
}

// A file that has another seat to lead while the six double is still due
// gets its holder to move; nothing else moves the turn.
TEST(SixDoubleHolder, IsTheSeatToMoveWhenTheFirstLeadIsStillDue) {
  GameState base = FirstHand(0);
  const int holder = base.DoubleHolder[6];
  ASSERT_NE(holder, 0);
  const int other = holder % 4 + 1;
  base.LeadSeat = base.CurrentSeat = static_cast<i16>(other);
  GameState due;
  EXPECT_EQ(ReadText(due, StateFileText(base)).ErrorNumber, 0);
  EXPECT_TRUE(due.HandInProgress);
  EXPECT_EQ(due.CurrentSeat, holder);
  const std::function<void(GameState&)> variants[] = {
      [](GameState& s) { s.RuleFirstLead = kFirstLeadDraw; },
      [](GameState& s) { s.RuleNextLead = kNextLeadChoose; },  // the players chose the leader
      [](GameState& s) { s.HandNumber = 2; },
  };
  for (const auto& vary : variants) {
    GameState s = base;
    vary(s);
    GameState back;
    ReadText(back, StateFileText(s));
    EXPECT_EQ(back.CurrentSeat, other);
  }
  // After the lead the seat to move is whoever follows.
  const GameState led = FirstHand(1);
  GameState back;
  ReadText(back, StateFileText(led));
  EXPECT_TRUE(back.HandInProgress);
  EXPECT_EQ(back.CurrentSeat, led.CurrentSeat);
}

TEST(HandLogOnLoad, IsEmptyWhenNoMatchIsInProgress) {
  GameState s = sample::RichState(10, 4);
  s.MatchInProgress = false;
  s.HandInProgress = false;
  GameState back;
  const std::string text = StateFileText(s);
  ASSERT_NE(text.find("Mano 3"), std::string::npos);
  EXPECT_EQ(ReadText(back, text).ErrorNumber, 0);
  EXPECT_EQ(back.HandNumber, 5);
  for (int h = 1; h <= kHandLogSize; ++h) {
    EXPECT_TRUE(back.HandLog[h].Text.empty());
    EXPECT_EQ(back.HandLog[h].PairUnits[1], 0);
    EXPECT_EQ(back.HandLog[h].SeatTens[4], 0);
  }
}

}  // namespace
}  // namespace tarvelis
