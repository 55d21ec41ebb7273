// The order of a decision: pass, a single candidate, the weighed choice with
// its pause, the tutor's suggestion at full strength.
#include "player/computer_player.h"

#include <gtest/gtest.h>

#include <tuple>

#include "engine/headless_port.h"
#include "table_builder.h"

namespace tarvelis {
namespace {

using test::TableBuilder;

class PauseCounter : public HeadlessPort {
 public:
  void ThinkingPause(int) override { ++Pauses; }
  int Pauses = 0;
};

TEST(EligeJugada, OnlyAChoiceToWeighHasItsPause) {
  struct Case {
    const char* Hand;
    const char* Played;
    int End1, End2;
    int PipA, End;
    const char* Why;
    bool Weighed = false;
  };
  const Case cases[] = {
      {"1-0 1-1 2-0 2-1 2-2 3-0 3-1", "", 6, 5, kNoPip, kPassEnd, "nothing fits: a pass"},
      {"6-1 1-1 2-0 2-1 2-2 3-0 3-1", "", 4, 6, 6, 2, "a single candidate"},
      // The last tile fits both ends: the first listing, pip A meeting end 2.
      {"2-5 1-1 2-0 2-1 2-2 3-0 3-1", "1-1 2-0 2-1 2-2 3-0 3-1", 5, 2, 2, 2, "the last tile"},
      // Two or more are weighed, after one pause.
      {"4-4 4-1 1-0 1-2 3-0 5-0 6-0", "", 4, 4, 4, 2, "two candidates", true},
  };
  for (const Case& c : cases) {
    TableBuilder t;
    t.Give(1, c.Hand).Deal().Played(c.Played).Ends(c.End1, c.End2);
    PauseCounter port;
    const ChosenMove m = EligeJugada(t.s, &port);
    EXPECT_EQ(m.End, c.End) << c.Why;
    if (c.End != kPassEnd) {
      EXPECT_EQ(m.PipA, c.PipA) << c.Why;
    }
    EXPECT_EQ(m.Evaluated, c.Weighed) << c.Why;
    EXPECT_EQ(port.Pauses, c.Weighed ? 1 : 0) << c.Why;
  }
}

// Below level 41 seat 1 lays the double four; from 41 on it keeps the last two
// fours and plays 3-1.
TableBuilder LevelSensitive(int level) {
  TableBuilder t;
  t.Give(1, "4-4 4-6 3-1 1-0 1-2 2-0 5-0").Give(2, "4-0 4-1 4-2").Give(4, "4-3 4-5").Deal();
  t.Played("4-0 4-1 4-2 4-3 4-5").Ends(4, 3).Level(1, level);
  t.s.SeatControl[1] = kManual;
  t.s.SeatTilesShown[1] = kTilesVisible;
  return t;
}

TEST(Suggestion, IsWorkedOutAtFullStrengthAndLeavesTheLevel) {
  TableBuilder t = LevelSensitive(30);
  ASSERT_EQ(EligeJugada(t.s, nullptr).PipB, 4);  // the seat's own choice at 3.0
  const Suggestion hint = Suggest(t.s);
  EXPECT_FALSE(hint.Pass);
  EXPECT_EQ(hint.Slot, 3);
  EXPECT_EQ(hint.End, 2);
  EXPECT_FALSE(hint.ShowsArrow);
  EXPECT_EQ(LastEvaluation().Level, 100);
  EXPECT_EQ(t.s.SeatLevel[1], 30);
  t.s.SeatControl[1] = kAutomatic;
  EXPECT_EQ(Suggest(t.s).Slot, 1) << "an automatic seat is suggested its own move";
}

TEST(Suggestion, ShowsTheArrowForATileThatFitsBothEnds) {
  TableBuilder t;
  t.Give(1, "2-5 1-1 6-0 6-6 3-0 3-1 1-0").Deal().Ends(5, 2);
  t.s.SeatControl[1] = kManual;
  Suggestion hint = Suggest(t.s);
  ASSERT_FALSE(hint.Pass);
  EXPECT_EQ(hint.Slot, 1);
  EXPECT_TRUE(hint.ShowsArrow);
  t.Ends(6, 3);
  hint = Suggest(t.s);
  ASSERT_FALSE(hint.Pass);
  EXPECT_FALSE(hint.ShowsArrow);
  t.Ends(4, 4);
  EXPECT_TRUE(Suggest(t.s).Pass);
}

TEST(Lead, AnAutomaticSeatPausesBeforeItsLeadButNotBeforeTheForcedDoubleSix) {
  TableBuilder t;
  t.Give(1, "6-6 1-0 2-0 3-0 3-1 3-2 5-4").Deal().Move(1);
  PauseCounter port;
  EligeJugada(t.s, &port);
  EXPECT_EQ(port.Pauses, 1);
  t.s.HandNumber = 1;
  t.s.RuleFirstLead = kFirstLeadSixDouble;
  t.s.RuleNextLead = kNextLeadRotate;
  ChosenMove m = EligeJugada(t.s, &port);
  EXPECT_EQ(std::tie(m.PipA, m.PipB, m.End), std::make_tuple(6, 6, 1));
  EXPECT_EQ(port.Pauses, 1);
  // Choosing the leader by hand lifts the obligation: the chosen tile is
  // led as it lies, unevaluated.
  t.s.RuleNextLead = kNextLeadChoose;
  m = EligeJugada(t.s, &port);
  EXPECT_EQ(std::tie(m.PipA, m.PipB, m.End), std::make_tuple(3, 0, 1));
  EXPECT_FALSE(m.Evaluated);
}

}  // namespace
}  // namespace tarvelis
