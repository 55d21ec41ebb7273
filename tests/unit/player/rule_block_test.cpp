// Each rule of the block on a position where it alone decides the move: with
// the rule switched on the seat picks one tile, with the rule's amounts taken
// away (and at the level just below its gate) it picks another.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "player/computer_player.h"
#include "table_builder.h"

namespace tarvelis {
namespace {

using test::TableBuilder;

Evaluation EvaluateAt(GameState s, int level) {
  s.SeatLevel[s.CurrentSeat] = static_cast<i16>(level);
  return EvaluateMove(s, s.CurrentSeat, ListCandidates(s, s.CurrentSeat));
}

std::string Name(const Candidate& c) {
  return std::to_string(c.Matching) + "-" + std::to_string(c.Other);
}

std::string Chosen(const Evaluation& e) {
  return Name(e.Candidates[e.Chosen].Move);
}

// What the seat would pick if the rule's amounts were taken away.
std::string ChosenWithout(const Evaluation& e, int rule) {
  int best = -1, bestScore = 0;
  for (int i = 0; i < e.Count; ++i) {
    const Breakdown& b = e.Candidates[i];
    const int score = b.Score - b.Columns[kColFirstRule + rule - 1];
    if (best < 0 || score > bestScore) best = i, bestScore = score;
  }
  return Name(e.Candidates[best].Move);
}

// The rule decides at `level`: `with` is chosen, and without the rule's amounts
// `without` would be. For a gated rule `level` is the first level the gate
// lets through, and one level below the rule is silent and `without` wins.
void ExpectDecides(const GameState& s, int rule, int level, const std::string& with,
                   const std::string& without, bool gated = true) {
  const Evaluation on = EvaluateAt(s, level);
  EXPECT_EQ(Chosen(on), with) << ExplainEvaluation(on);
  EXPECT_EQ(ChosenWithout(on, rule), without) << ExplainEvaluation(on);
  if (!gated) return;
  const Evaluation off = EvaluateAt(s, level - 1);
  for (int i = 0; i < off.Count; ++i) {
    EXPECT_EQ(off.Candidates[i].Columns[kColFirstRule + rule - 1], 0) << ExplainEvaluation(off);
  }
  EXPECT_EQ(Chosen(off), without) << ExplainEvaluation(off);
}

// Seat 1 holds the double four and no other four; five fours are down.
TableBuilder LastFourIsTheDouble(int tilt) {
  TableBuilder t;
  t.Give(1, "4-4 3-1 1-0 1-2 2-0 5-0 6-0").Give(2, "4-0 4-1 4-2").Give(4, "4-3 4-5").Deal();
  t.Played("4-0 4-1 4-2 4-3 4-5").Ends(4, 3).Mark(1, 1, tilt);
  return t;
}

TableBuilder CoversALonelyFive() {
  TableBuilder t;
  t.Give(1, "5-2 3-1 3-0 2-0 2-6 1-6 4-4").Deal().Ends(5, 3);
  return t;
}

// Seat 3 led the double five, seat 4 answered 5-2; seat 1 plays third.
TableBuilder ThirdMoveAfterADoubleLead() {
  TableBuilder t;
  t.Give(1, "2-2 5-1 1-0 1-3 3-0 6-0 6-4").Give(3, "5-5").Give(4, "5-2").Deal();
  t.Played("5-5 5-2").Lead(3, 5, 5).Move(3).Ends(5, 2).Mark(3, 2, 3);
  return t;
}

// Every five is down but 5-6, which seat 1 holds: laying it on the six closes
// the fives. Sides hold 68 and 55 pips; after the move 57 against 55.
TableBuilder ClosingTheFives() {
  TableBuilder t;
  t.Give(1, "5-6 4-0 0-0 1-0 1-1 2-0 3-0").Give(2, "5-5 5-0 5-1").Give(4, "5-2 5-3 5-4").Deal();
  t.Played("5-5 5-0 5-1 5-2 5-3 5-4").Ends(6, 4);
  return t;
}

// All threes but 3-6 (seat 1's) and possibly the double are down.
TableBuilder CoveringTheLastThree(bool doubleDown, int doubleSeat) {
  TableBuilder t;
  t.Give(1, "3-6 2-0 0-0 1-0 1-1 4-4 4-0").Give(2, "3-0 3-1 3-2").Give(4, "3-4 3-5");
  t.Give(doubleSeat, "3-3").Deal().Played("3-0 3-1 3-2 3-4 3-5").Ends(3, 2).Mark(1, 6, 10);
  if (doubleDown) t.Played("3-3");
  return t;
}

// Ends 2 and 5. Every five is down but 5-3, held by seat 2; opening the three
// lets 5-3 join the ends and close the fives.
TableBuilder FivesAlmostOut(bool partnerLight) {
  TableBuilder t;
  t.Give(1, "2-3 2-6 0-0 1-0 1-1 3-0 4-0").Give(2, "5-5 5-0 5-1 5-3 2-0 2-1 2-2");
  if (partnerLight) {
    t.Give(3, "3-1 3-3 4-1 4-2 5-2 5-4 6-5").Give(4, "6-6 6-4 6-3 6-1 6-0 4-4 4-3");
    t.Mark(3, 6, 3);
  } else {
    t.Give(3, "6-6 6-4 6-3 6-1 6-0 4-4 4-3").Give(4, "3-1 3-3 4-1 4-2 5-2 5-4 6-5");
  }
  t.Deal().Played("5-5 5-0 5-1 5-2 5-4 6-5").Ends(2, 5);
  return t;
}

struct Gate {
  int Rule, Level;
  const char* With;
  const char* Without;
  bool Gated;
  std::function<void(TableBuilder&)> Position;
};

TEST(RuleBlock, EachRuleDecidesFromItsGateOnAndIsSilentBelow) {
  const Gate gates[] = {
      // 1: a double is preferred.
      {1, 0, "4-4", "4-1", false,
       [](TableBuilder& t) { t.Give(1, "4-4 4-1 1-0 1-2 3-0 5-0 6-0").Deal().Ends(4, 4); }},
      // 2: a double with three of its suit down, from level 41.
      {2, 41, "4-4", "4-1", true,
       [](TableBuilder& t) {
         t.Give(1, "4-4 4-1 1-0 1-2 3-0 5-0 6-0").Give(2, "4-2 4-3").Give(4, "4-5").Deal();
         t.Played("4-2 4-3 4-5").Ends(4, 4).Mark(1, 1, 3);
       }},
      // 3: the last double of an almost spent suit, above 40.
      {3, 41, "4-4", "3-1", true, [](TableBuilder& t) { t = LastFourIsTheDouble(2); }},
      // 4: never open a suit no longer held.
      {4, 0, "5-2", "5-3", false,
       [](TableBuilder& t) {
         t.Give(1, "5-3 5-2 2-0 2-1 0-1 6-6 6-4").Deal().Ends(5, 5).Mark(1, 3, 2);
       }},
      // 5: never cover the last of a suit.
      {5, 0, "3-1", "5-2", false, [](TableBuilder& t) { t = CoversALonelyFive(); }},
      // 7: no double on a double lead, from level 61.
      {7, 61, "5-1", "2-2", true, [](TableBuilder& t) { t = ThirdMoveAfterADoubleLead(); }},
      // 8: keep the lead's pips, from level 81. Seat 3 led 6-3, seat 4 covered
      // the three with 3-2; opening the four would leave 4-3 on the lead's three.
      {8, 81, "2-5", "2-4", true,
       [](TableBuilder& t) {
         t.Give(1, "2-4 2-5 4-3 1-0 1-1 3-0 5-1").Give(3, "6-3").Give(4, "3-2").Deal();
         t.Played("6-3 3-2").Lead(3, 6, 3).Move(3).Ends(2, 6).Mark(3, 4, 1);
       }},
      // 9: the leader returns to its lead pip, from level 61.
      {9, 61, "2-5", "5-2", true,
       [](TableBuilder& t) {
         t.Give(1, "5-3 5-2 6-2 1-0 1-1 0-0 4-1").Give(2, "3-6").Give(3, "6-4").Give(4, "4-2");
         t.Deal().Played("5-3 3-6 6-4 4-2").Lead(1, 5, 3).Move(5).Ends(2, 5);
       }},
      // 10: both ends to a strong suit.
      {10, 0, "6-3", "3-1", false,
       [](TableBuilder& t) {
         t.Give(1, "6-3 3-1 1-0 1-5 5-0 5-5 0-0").Give(2, "3-0 3-2").Give(4, "3-4").Deal();
         t.Played("3-0 3-2 3-4").Ends(3, 6);
       }},
      // 11: the same double counts again, above 60.
      {11, 61, "4-4", "3-1", true, [](TableBuilder& t) { t = LastFourIsTheDouble(16); }},
      // 12: a double with four of its suit down and two held, above 80.
      {12, 81, "4-4", "3-1", true,
       [](TableBuilder& t) {
         t.Give(1, "4-4 4-6 3-1 1-0 1-2 2-0 5-0").Give(2, "4-0 4-1").Give(4, "4-2 4-3").Deal();
         t.Played("4-0 4-1 4-2 4-3").Ends(4, 3).Mark(1, 1, 10);
       }},
      // 13: the same with three held, above 70.
      {13, 71, "4-4", "3-1", true,
       [](TableBuilder& t) {
         t.Give(1, "4-4 4-6 4-5 3-1 1-0 1-2 2-0").Give(2, "4-0 4-1").Give(4, "4-2 4-3").Deal();
         t.Played("4-0 4-1 4-2 4-3").Ends(4, 3).Mark(1, 1, 5);
       }},
      // 14: keep the last two of a suit, from level 41.
      {14, 41, "3-1", "4-4", true,
       [](TableBuilder& t) {
         t.Give(1, "4-4 4-6 3-1 1-0 1-2 2-0 5-0").Give(2, "4-0 4-1 4-2").Give(4, "4-3 4-5").Deal();
         t.Played("4-0 4-1 4-2 4-3 4-5").Ends(4, 3);
       }},
      // 15: never open the next seat's last tile, above 95.
      {15, 96, "3-2", "3-5", true,
       [](TableBuilder& t) {
         t.Give(1, "3-5 3-2 2-0 2-1 0-1 0-0 4-4").Give(2, "5-1 6-6 6-4 6-3 6-2 6-1 6-0");
         t.Deal().Played("6-6 6-4 6-3 6-2 6-1 6-0").Ends(3, 3).Mark(1, 5, 5);
       }},
      // 16: close when the block favours us within the margin: two pips
      // behind is favourable for a margin of 3 (levels up to 97).
      {16, 97, "6-5", "4-0", false, [](TableBuilder& t) { t = ClosingTheFives(); }},
      // 17: never lay the last of a suit, from level 51.
      {17, 51, "2-0", "3-6", true, [](TableBuilder& t) { t = CoveringTheLastThree(true, 2); }},
      // 18: set up a domino with our own double: seat 1 holds 5-5 and 2-5
      // with the other five fives down; ends 2 and 5.
      {18, 0, "2-5", "5-5", false,
       [](TableBuilder& t) {
         t.Give(1, "5-5 2-5 5-0 5-1 1-1 0-0 1-0").Give(3, "6-6 6-4 6-3 6-2 4-4 4-3 3-3");
         t.Give(2, "2-0 2-1 2-2 4-1 4-2 5-3 5-4").Give(4, "3-0 3-1 3-2 4-0 6-0 6-1 6-5").Deal();
         t.Played("5-0 5-1 1-1 0-0 1-0 4-1 4-2 5-3 5-4 6-0 6-1 6-5").Ends(2, 5);
       }},
      // 19: feed the partner's last tile (4-1), above 95: the next seat holds
      // 4-4 and 6-1, each a bridge from the opened suit to it.
      {19, 96, "3-4", "3-6", true,
       [](TableBuilder& t) {
         t.Give(1, "3-4 3-6 0-0 1-0 2-0 2-2 5-5").Give(3, "4-1 4-0 4-2 4-5 4-6 5-0 5-1");
         t.Give(2, "4-4 6-1").Deal().Played("4-0 4-2 4-5 4-6 5-0 5-1").Ends(3, 3);
       }},
      // 20: look ahead to a block on the other end, from level 81. Heavy
      // side: 77 against 30 once 2-3 and 5-3 are laid; light side: 39 to 68.
      {20, 81, "2-6", "2-3", true, [](TableBuilder& t) { t = FivesAlmostOut(false); }},
      {20, 81, "2-3", "2-6", true, [](TableBuilder& t) { t = FivesAlmostOut(true); }},
      // 21: look ahead to a block on the opened suit, from level 81. Ends 4 and
      // 2; five fours are down, 4-2 is with seat 2. Laying the double four
      // leaves 4-2 to close the fours. Side 1 ends with 45 - 8 = 37 pips, side
      // 2 with 33 - 6 = 27: lost with the margin of 6 of level 81. The double
      // leaves seat 1's hand once; taking it off twice would call it won.
      {21, 81, "2-5", "4-4", true,
       [](TableBuilder& t) {
         t.Give(1, "4-4 2-5 1-0 0-0 3-3 6-0 5-1").Give(2, "4-2 4-0 4-1 1-1 2-0 6-6 6-1");
         t.Give(3, "4-3 4-5 4-6 3-0 2-1 2-2 3-1").Deal();
         t.Played("4-0 4-1 4-3 4-5 4-6 6-6 6-1 3-0 6-5 6-3 6-2 3-2").Ends(4, 2).Mark(3, 5, 25);
       }},
  };
  for (const Gate& g : gates) {
    SCOPED_TRACE(::testing::Message() << "rule " << g.Rule << " " << g.With);
    TableBuilder t;
    g.Position(t);
    ExpectDecides(t.s, g.Rule, g.Level, g.With, g.Without, g.Gated);
  }
}

}  // namespace
}  // namespace tarvelis
