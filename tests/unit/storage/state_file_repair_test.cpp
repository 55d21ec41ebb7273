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
      {"tiles shown", 0, 13, "3", [](auto& s) { return s.SeatTilesShown[2]; }, 1},
      {"control", 0, 18, "0", [](auto& s) { return s.SeatControl[3]; }, 1},
      {"tie winner", 0, 26, "4", [](auto& s) { return s.RuleTieWinner; }, 1},
      {"next lead", 0, 28, "5", [](auto& s) { return s.RuleNextLead; }, 1},
      {"move list", 0, 29, "3", [](auto& s) { return s.RuleMoveList; }, 2},
      {"mode", 0, 30, "0", [](auto& s) { return s.RuleMode; }, 1},
      {"target", 1, 0, "0", [](auto& s) { return s.MatchTarget; }, 7},
      // Totals stop at 999, so a higher target would never be reached.
      {"target beyond the totals", 1, 0, "1000", [](auto& s) { return s.MatchTarget; }, 999},
      {"speed", 1, 1, "101", [](auto& s) { return s.GameSpeed; }, 50},
      // The stored step of play wins over the direction unless it is no step.
      {"stored step", 1, 10, "-1", [](auto& s) { return s.DirectionStep; }, -1},
      {"no step", 1, 10, "0", [](auto& s) { return s.DirectionStep; }, 1},
      // Beyond 16 bits: treated as missing, so the default again and no error.
      {"huge level", 0, 5, "70000", [](auto& s) { return s.SeatLevel[2]; }, 50},
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

TEST(SettingsRepair, NamesComeBackWithEachWordCapitalised) {
  GameState s = NewFileState();
  s.SeatName[3] = "ñoño  gÜEMES";
  GameState back;
  ReadText(back, StateFileText(s));
  EXPECT_EQ(back.SeatName[3], "Ñoño  Güemes");
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
  // Unless the first lead was drawn, the players chose the leader, or this
  // is not the first hand.
  const std::pair<std::function<void(GameState&)>, int> variants[] = {
      {[](GameState&) {}, holder},
      {[](GameState& s) { s.RuleFirstLead = kFirstLeadDraw; }, other},
      {[](GameState& s) { s.RuleNextLead = kNextLeadChoose; }, other},
      {[](GameState& s) { s.HandNumber = 2; }, other},
  };
  for (const auto& [vary, toMove] : variants) {
    GameState s = base;
    vary(s);
    GameState back;
    EXPECT_FALSE(ReadText(back, StateFileText(s)).MatchDropped);
    EXPECT_EQ(back.CurrentSeat, toMove);
  }
  // After the lead the seat to move is whoever follows.
  const GameState led = FirstHand(1);
  GameState back;
  ReadText(back, StateFileText(led));
  EXPECT_TRUE(back.HandInProgress);
  EXPECT_EQ(back.CurrentSeat, led.CurrentSeat);
}

}  // namespace
}  // namespace tarvelis
