#include "layout/option_rules.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace tarvelis {
namespace {

// Answers the rules' questions from a script and records what they showed.
class Script : public OptionEvents {
 public:
  explicit Script(std::deque<bool> answers = {}) : answers_(std::move(answers)) {}
  bool Show(const OptionMessage& m) override {
    shown.push_back(m);
    if (m.Buttons != 2 || answers_.empty()) return true;
    const bool a = answers_.front();
    answers_.pop_front();
    return a;
  }
  void Advanced(int index) override { advanced.push_back(index); }
  void ScoreboardChanged() override { ++scoreboard; }

  std::vector<OptionMessage> shown;
  std::vector<int> advanced;
  int scoreboard = 0;

 private:
  std::deque<bool> answers_;
};

GameState Defaults() {
  GameState s;
  ApplyDefaults(s);
  return s;
}

void PairsAt(GameState& s, int hand, bool inProgress) {
  s.MatchInProgress = true;
  s.HandNumber = static_cast<i16>(hand);
  s.HandInProgress = inProgress;
}

// Selector values as (index, value); kStep stands for the direction's step.
using Values = std::vector<std::pair<int, int>>;
constexpr int kStep = -1;

struct ClickCase {
  const char* name;
  Values set;               // before the click
  int hand = 0, moves = 0;  // a match at hand `hand` (none when 0), `moves` moves in
  bool handInProgress = false;
  int index = 0;             // the selector clicked
  std::deque<bool> answers;  // to the questions asked
  Values expected;
  std::vector<std::string> titles = {};  // the messages shown, in order
};

TEST(OptionRules, ClickRulesRefuseForceAndWarn) {
  const std::string clash = "Selecciones incompatibles", refused = "Selección improcedente",
                    pointless = "Selección intrascendente";
  // clang-format off
  const ClickCase cases[] = {
      {"hidden over manual, accepted: the seat turns automatic", {{24, kTilesVisible}, {28, kManual}}, 0, 0, false, 24, {true}, {{24, kTilesHidden}, {28, kAutomatic}}, {clash}},
      {"hidden over manual, cancelled: nothing changes", {{24, kTilesVisible}, {28, kManual}}, 0, 0, false, 24, {false}, {{24, kTilesVisible}, {28, kManual}}, {clash}},
      {"manual over hidden, accepted: the tiles turn visible", {{22, kTilesHidden}, {26, kAutomatic}}, 0, 0, false, 26, {true}, {{22, kTilesVisible}, {26, kManual}}, {clash}},
      {"manual over hidden, cancelled: back to automatic", {{22, kTilesHidden}, {26, kAutomatic}}, 0, 0, false, 26, {false}, {{22, kTilesHidden}, {26, kAutomatic}}, {clash}},
      {"manual with visible tiles asks nothing", {{21, kTilesVisible}}, 0, 0, false, 25, {}, {{25, kManual}}},
      {"direction before the first move", {}, 1, 1, true, 3, {}, {{3, kReverse}, {kStep, -1}}},
      {"direction after the first move is refused", {}, 1, 2, true, 3, {}, {{3, kDirect}, {kStep, 1}}, {refused}},
      {"direction between hands, the last hand's moves still counted", {}, 3, 20, false, 3, {}, {{3, kReverse}, {kStep, -1}}},
      {"scoring during the first hand", {}, 1, 0, true, 9, {}, {{9, kScoreUnits}}},
      {"scoring once the first hand is scored is refused", {}, 1, 0, false, 9, {}, {{9, kScoreTens}}, {refused}},
      {"scoring pair in individual mode warns and changes mid-match", {{15, kModeIndividual}}, 3, 0, true, 11, {}, {{11, kScoringLosers}}, {pointless}},
      {"tie lead without a repeated hand warns and changes mid-match", {{12, kTieLeaders}}, 3, 0, true, 13, {}, {{13, kTieRotateLead}}, {pointless}},
      {"mode mid-match, agreed: changes; losing pair becomes 1", {{14, kNextLeadLoser}}, 2, 0, true, 15, {true}, {{15, kModeIndividual}, {14, kNextLeadRotate}}, {"Selector 'Modo de juego'"}},
      {"mode keeps a winner lead and a leaders' tie", {{14, kNextLeadWinner}, {12, kTieLeaders}}, 0, 0, false, 15, {}, {{14, kNextLeadWinner}, {12, kTieLeaders}}},
      {"mode drops the non-leaders' tie", {{12, kTieNonLeaders}}, 0, 0, false, 15, {}, {{12, kTieRepeat}}},
  };
  // clang-format on
  for (const ClickCase& c : cases) {
    SCOPED_TRACE(c.name);
    GameState s = Defaults();
    for (auto [index, value] : c.set) SelectorValue(s, index) = static_cast<i16>(value);
    if (c.hand > 0) PairsAt(s, c.hand, c.handInProgress);
    if (c.moves > 0) s.MoveNumber = static_cast<i16>(c.moves);
    OptionLabels labels = BuildOptionLabels(s);
    Script script(c.answers);
    ClickSelector(s, labels, c.index, script);
    for (auto [index, value] : c.expected) {
      EXPECT_EQ(index == kStep ? s.DirectionStep : SelectorValue(s, index), value) << index;
    }
    std::vector<std::string> titles;
    for (const OptionMessage& m : script.shown) titles.push_back(m.Title);
    EXPECT_EQ(titles, c.titles);
  }
  // With no match, a hand number left from the last one does not refuse.
  GameState s = Defaults();
  s.HandNumber = 7;
  OptionLabels labels = BuildOptionLabels(s);
  Script script;
  ClickSelector(s, labels, kSelScoring, script);
  EXPECT_EQ(s.RuleScoring, kScoreUnits);
  EXPECT_TRUE(script.shown.empty());
}

// A question has two buttons and a refusal one; a refused click does not
// animate the selector; a change of mode mid-match redraws the scoreboard and
// revalidates the two selectors that depend on the mode, in order.
TEST(OptionRules, WhatAClickShowsAnimatesAndRedraws) {
  GameState s = Defaults();
  s.SeatControl[3] = kManual;
  s.SeatTilesShown[3] = kTilesVisible;
  OptionLabels labels = BuildOptionLabels(s);
  Script ask({false});
  ClickSelector(s, labels, 23, ask);
  ASSERT_EQ(ask.shown.size(), 1u);
  EXPECT_EQ(ask.shown[0].Buttons, 2);
  PairsAt(s, 1, true);
  s.MoveNumber = 5;
  Script refuse;
  ClickSelector(s, labels, 3, refuse);
  ASSERT_EQ(refuse.shown.size(), 1u);
  EXPECT_EQ(refuse.shown[0].Buttons, 1);
  EXPECT_TRUE(refuse.advanced.empty());
  s.HandNumber = 3;
  Script warn;
  ClickSelector(s, labels, 15, warn);
  EXPECT_EQ(warn.scoreboard, 1);
  EXPECT_EQ(warn.advanced, (std::vector<int>{15, 12, 14}));
}

// The moments a setting can be changed at, in the columns of the table below.
struct Moment {
  int hand = 0;  // no match when 0
  bool inHand = false;
  int moves = 1;
  i16 mode = kModePairs;
  i16 tieWinner = kTieRepeat;
};
const Moment kMoments[] = {
    {},                                           // no match
    {1, true, 1},                                 // the first hand dealt
    {1, true, 6},                                 // the first hand under way
    {1, false, 28},                               // the first hand scored
    {2, true, 6},                                 // the second hand under way
    {3, false, 28},                               // between later hands
    {2, true, 6, kModeIndividual},                // individual, second hand
    {2, true, 6, kModePairs, kTieLeaders},        // a tie is not repeated
    {2, false, 28, kModeIndividual, kTieLeaders}  // both, between hands
};

// What every selector and the target meet at each moment, one letter per
// moment: F changes freely, W changes after the advice to start a new match,
// N changes after a note that it does not count now, A asks (and, refused,
// changes nothing), R is refused. Target rows: 0 a step down to a total
// reached, -1 a step up.
struct RuleRow {
  int index;
  const char* outcomes;
};
const RuleRow kRuleRows[] = {
    {kSelPause, "FFFFFFFFF"},
    {kSelPlayedTiles, "FFFFFFFFF"},
    {kSelDirection, "FFRFRFRRF"},
    {kSelSound, "FFFFFFFFF"},
    {kSelMoveList, "FFFFFFFFF"},
    {kSelFiveDoubles, "FFFFFFFFF"},
    {kSelDealing, "FFFFFFFFF"},
    {kSelFirstLead, "FFFFFFFFF"},
    {kSelScoring, "FFFRRRRRR"},
    {kSelCountedPips, "FFFFWWNWN"},
    {kSelScoringPair, "FFFFWWNWN"},
    {kSelTieWinner, "FFFFFFFFF"},
    {kSelTieLead, "FFFFFFFNN"},
    {kSelNextLead, "FFFFFFFFF"},
    {kSelMode, "FAAFAWAAW"},
    {0, "FFFAAAAAA"},
    {-1, "FFFFFFFFF"},
};

TEST(OptionRules, EverySettingAsksWarnsOrChangesAsItsRowSays) {
  for (const RuleRow& row : kRuleRows) {
    for (std::size_t m = 0; m < std::size(kMoments); ++m) {
      const char expected = row.outcomes[m];
      SCOPED_TRACE(testing::Message() << "setting " << row.index << " moment " << m);
      const Moment& at = kMoments[m];
      GameState s = Defaults();
      s.RuleMode = at.mode;
      s.RuleTieWinner = at.tieWinner;
      if (at.hand > 0) PairsAt(s, at.hand, at.inHand);
      s.MoveNumber = static_cast<i16>(at.moves);
      // Totals already reached in every match but before the first hand's end.
      s.MatchTarget = 5;
      if (at.hand > 1 || !at.inHand) {
        s.PairTotal = {0, 4, 1};
        s.SeatTotal = {0, 1, 4, 0, 2};
      }
      if (row.index <= 0) s.MatchTarget = row.index == 0 ? 5 : 4;
      OptionLabels labels = BuildOptionLabels(s);
      Script script({false});
      const i16 before = row.index > 0 ? SelectorValue(s, row.index) : s.MatchTarget;
      bool changed = false;
      if (row.index > 0) {
        ClickSelector(s, labels, row.index, script);
        changed = SelectorValue(s, row.index) != before;
      } else {
        changed = PressMatchTarget(s, row.index == 0 ? -1 : 1, script) != TargetPress::Refused;
      }
      EXPECT_EQ(changed, expected != 'A' && expected != 'R');
      EXPECT_EQ(s.MatchInProgress, at.hand > 0);
      ASSERT_EQ(script.shown.size(), expected == 'F' ? 0U : 1U);
      if (expected == 'F') continue;
      const OptionMessage& shown = script.shown[0];
      EXPECT_EQ(shown.Buttons, expected == 'A' ? kButtonsQuestion : kButtonsNotice);
      const std::string selector =
          SelectorMessageTitle(row.index > 0 ? SelectorTitle(row.index) : kTargetTitle);
      switch (expected) {
        case 'W':
          EXPECT_EQ(shown.Title, selector);
          EXPECT_EQ(shown.Text, kMidMatchWarning);
          EXPECT_EQ(shown.Picture, 4);
          break;
        case 'N':
          EXPECT_EQ(shown.Title, "Selección intrascendente");
          EXPECT_EQ(shown.Picture, 3);
          break;
        case 'R':
          EXPECT_EQ(shown.Title, "Selección improcedente");
          EXPECT_EQ(shown.Picture, 3);
          break;
        default:
          EXPECT_EQ(shown.Title, selector);
          break;
      }
    }
  }
}

// Agreeing to a question leaves the match; the setting then changes.
TEST(OptionRules, AnAgreedQuestionLeavesTheMatch) {
  for (const int index : {static_cast<int>(kSelMode), 0}) {
    SCOPED_TRACE(index);
    GameState s = Defaults();
    PairsAt(s, 3, true);
    s.PairTotal = {0, 4, 4};
    OptionLabels labels = BuildOptionLabels(s);
    Script script({true});
    if (index > 0) {
      ClickSelector(s, labels, index, script);
      EXPECT_EQ(s.RuleMode, kModeIndividual);
    } else {
      EXPECT_EQ(PressMatchTarget(s, -1, script), TargetPress::Agreed);
    }
    EXPECT_FALSE(s.MatchInProgress);
    EXPECT_FALSE(s.HandInProgress);
  }
}

TEST(OptionRules, IndividualModeCyclesSkipTheMissingValues) {
  GameState s = Defaults();
  s.RuleMode = kModeIndividual;
  OptionLabels labels = BuildOptionLabels(s);
  Script script;
  const struct {
    int index;
    std::vector<i16> cycle;
  } cycles[] = {{14, {2, 3, 1}}, {12, {2, 1}}, {1, {2, 1}}, {25, {2, 1}}};
  for (const auto& c : cycles) {
    SCOPED_TRACE(c.index);
    for (i16 expected : c.cycle) {
      AdvanceSelector(s, labels, c.index, script);
      EXPECT_EQ(SelectorValue(s, c.index), expected);
    }
  }
  EXPECT_EQ(TrimmedLabel(LabelOf(labels, 14, 3)), "Jugador ganador");
  EXPECT_EQ(TrimmedLabel(LabelOf(labels, 12, 2)), "El jugador que salió");
}

}  // namespace
}  // namespace tarvelis
