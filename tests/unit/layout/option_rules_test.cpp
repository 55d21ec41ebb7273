#include "layout/option_rules.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
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
  void SeatTilesChanged(int seat) override { tilesRedrawn.push_back(seat); }
  void ScoreboardChanged() override { ++scoreboard; }
  void DirectionChanged() override { ++direction; }

  std::vector<OptionMessage> shown;
  std::vector<int> advanced;
  std::vector<int> tilesRedrawn;
  int scoreboard = 0;
  int direction = 0;

 private:
  std::deque<bool> answers_;
};

GameState Defaults() {
  GameState s;
  ApplyDefaults(s);
  return s;
}

struct ClickCase {
  const char* name;
  std::function<void(GameState&)> before;
  int index;
  std::deque<bool> answers;
  std::function<void(const GameState&)> after;
  std::vector<std::string> titles;  // the messages shown, in order
};

void PairsAt(GameState& s, int hand, bool inProgress) {
  s.MatchInProgress = true;
  s.HandNumber = static_cast<i16>(hand);
  s.HandInProgress = inProgress;
}

const std::vector<ClickCase>& Cases() {
  static const std::vector<ClickCase> cases = {
      {"hidden over manual, accepted: the seat turns automatic",
       [](GameState& s) { s.SeatTilesShown[4] = kTilesVisible, s.SeatControl[4] = kManual; },
       24,
       {true},
       [](const GameState& s) {
         EXPECT_EQ(s.SeatTilesShown[4], kTilesHidden);
         EXPECT_EQ(s.SeatControl[4], kAutomatic);
       },
       {"Selecciones incompatibles"}},
      {"hidden over manual, cancelled: nothing changes",
       [](GameState& s) { s.SeatTilesShown[4] = kTilesVisible, s.SeatControl[4] = kManual; },
       24,
       {false},
       [](const GameState& s) {
         EXPECT_EQ(s.SeatTilesShown[4], kTilesVisible);
         EXPECT_EQ(s.SeatControl[4], kManual);
       },
       {"Selecciones incompatibles"}},
      {"manual over hidden, accepted: the tiles turn visible",
       [](GameState& s) { s.SeatTilesShown[2] = kTilesHidden, s.SeatControl[2] = kAutomatic; },
       26,
       {true},
       [](const GameState& s) {
         EXPECT_EQ(s.SeatTilesShown[2], kTilesVisible);
         EXPECT_EQ(s.SeatControl[2], kManual);
       },
       {"Selecciones incompatibles"}},
      {"manual over hidden, cancelled: back to automatic",
       [](GameState& s) { s.SeatTilesShown[2] = kTilesHidden, s.SeatControl[2] = kAutomatic; },
       26,
       {false},
       [](const GameState& s) {
         EXPECT_EQ(s.SeatTilesShown[2], kTilesHidden);
         EXPECT_EQ(s.SeatControl[2], kAutomatic);
       },
       {"Selecciones incompatibles"}},
      {"manual with visible tiles asks nothing",
       [](GameState& s) { s.SeatTilesShown[1] = 2; },
       25,
       {},
       [](const GameState& s) { EXPECT_EQ(s.SeatControl[1], kManual); },
       {}},
      {"direction before the first move",
       [](GameState& s) { PairsAt(s, 1, true), s.MoveNumber = 1; },
       3,
       {},
       [](const GameState& s) {
         EXPECT_EQ(s.RuleDirection, kReverse);
         EXPECT_EQ(s.DirectionStep, -1);
       },
       {}},
      {"direction after the first move is refused",
       [](GameState& s) { PairsAt(s, 1, true), s.MoveNumber = 2; },
       3,
       {},
       [](const GameState& s) {
         EXPECT_EQ(s.RuleDirection, kDirect);
         EXPECT_EQ(s.DirectionStep, 1);
       },
       {"Selección improcedente"}},
      {"direction between hands, the last hand's moves still counted",
       [](GameState& s) { PairsAt(s, 3, false), s.MoveNumber = 20; },
       3,
       {},
       [](const GameState& s) { EXPECT_EQ(s.RuleDirection, kReverse); },
       {}},
      {"scoring during the first hand",
       [](GameState& s) { PairsAt(s, 1, true); },
       9,
       {},
       [](const GameState& s) { EXPECT_EQ(s.RuleScoring, kScoreUnits); },
       {}},
      {"scoring once the first hand is scored is refused",
       [](GameState& s) { PairsAt(s, 1, false); },
       9,
       {},
       [](const GameState& s) { EXPECT_EQ(s.RuleScoring, kScoreTens); },
       {"Selección improcedente"}},
      {"scoring with no match",
       [](GameState& s) { s.HandNumber = 7; },
       9,
       {},
       [](const GameState& s) { EXPECT_EQ(s.RuleScoring, kScoreUnits); },
       {}},
      {"counted pips mid-match warns and changes",
       [](GameState& s) { PairsAt(s, 2, true); },
       10,
       {},
       [](const GameState& s) { EXPECT_EQ(s.RuleCountedPips, kCountLosers); },
       {"Selector 'Puntos que se anotan'"}},
      {"scoring pair in individual mode warns and changes",
       [](GameState& s) { s.RuleMode = kModeIndividual; },
       11,
       {},
       [](const GameState& s) { EXPECT_EQ(s.RuleScoringPair, kScoringLosers); },
       {"Selección intrascendente"}},
      {"scoring pair in the first hand is silent",
       [](GameState& s) { PairsAt(s, 1, true); },
       11,
       {},
       [](const GameState& s) { EXPECT_EQ(s.RuleScoringPair, kScoringLosers); },
       {}},
      {"tie lead without a repeated hand warns and changes",
       [](GameState& s) { s.RuleTieWinner = kTieLeaders; },
       13,
       {},
       [](const GameState& s) { EXPECT_EQ(s.RuleTieLead, kTieRotateLead); },
       {"Selección intrascendente"}},
      {"mode mid-match warns; losing pair becomes 1, winners relabelled and kept",
       [](GameState& s) { PairsAt(s, 2, true), s.RuleNextLead = kNextLeadLoser; },
       15,
       {},
       [](const GameState& s) {
         EXPECT_EQ(s.RuleMode, kModeIndividual);
         EXPECT_EQ(s.RuleNextLead, kNextLeadRotate);
       },
       {"Selector 'Modo de juego'"}},
      {"mode keeps a winner lead and a leaders' tie",
       [](GameState& s) { s.RuleNextLead = kNextLeadWinner, s.RuleTieWinner = kTieLeaders; },
       15,
       {},
       [](const GameState& s) {
         EXPECT_EQ(s.RuleNextLead, kNextLeadWinner);
         EXPECT_EQ(s.RuleTieWinner, kTieLeaders);
       },
       {}},
      {"mode drops the non-leaders' tie",
       [](GameState& s) { s.RuleTieWinner = kTieNonLeaders; },
       15,
       {},
       [](const GameState& s) { EXPECT_EQ(s.RuleTieWinner, kTieRepeat); },
       {}},
  };
  return cases;
}

TEST(OptionRules, ClickRulesRefuseForceAndWarn) {
  for (const ClickCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    GameState s = Defaults();
    c.before(s);
    OptionLabels labels = BuildOptionLabels(s);
    Script script(c.answers);
    ClickSelector(s, labels, c.index, script);
    c.after(s);
    std::vector<std::string> titles;
    for (const OptionMessage& m : script.shown) titles.push_back(m.Title);
    EXPECT_EQ(titles, c.titles);
  }
}

TEST(OptionRules, MessagesCarryTheirButtonsPicturesAndExactTexts) {
  GameState s = Defaults();
  s.SeatControl[3] = kManual;
  s.SeatTilesShown[3] = kTilesVisible;
  OptionLabels labels = BuildOptionLabels(s);
  Script ask({false});
  ClickSelector(s, labels, 23, ask);
  ASSERT_EQ(ask.shown.size(), 1u);
  EXPECT_EQ(ask.shown[0].Buttons, 2);
  EXPECT_EQ(ask.shown[0].Picture, 5);
  EXPECT_EQ(ask.shown[0].Text,
            "Si elige 'Ocultas' en 'Fichas del jugador' no podrá seguir con el  'Tipo de juego'  "
            "de este jugador seleccionado a 'Manual'. Si pulsa el botón Aceptar se actualizará el "
            " 'Tipo de juego' a 'Automático'. Si  pulsa  el  botón  Cancelar  no  se  modificará "
            "ningún valor.");

  PairsAt(s, 1, true);
  s.MoveNumber = 5;
  Script refuse;
  ClickSelector(s, labels, 3, refuse);
  ASSERT_EQ(refuse.shown.size(), 1u);
  EXPECT_EQ(refuse.shown[0].Buttons, 1);
  EXPECT_EQ(refuse.shown[0].Picture, 3);
  EXPECT_EQ(refuse.shown[0].Text,
            "No  se  puede  cambiar  el  Sentido  del  juego  durante  el desarrollo de un "
            "juego. Cuando finalice el juego actual podrá realizar dicho cambio.");
  EXPECT_TRUE(refuse.advanced.empty()) << "a refused click does not animate";

  s.HandNumber = 3;
  Script warn;
  ClickSelector(s, labels, 15, warn);
  ASSERT_EQ(warn.shown.size(), 1u);
  EXPECT_EQ(warn.shown[0].Picture, 4);
  EXPECT_EQ(warn.shown[0].Text,
            "Si modifica el valor de este selector cuando hay una partida en juego,  se "
            "recomienda comenzar una nueva partida para que este cambio se aplique de forma "
            "homogénea en todos los juegos de la misma.");
  EXPECT_EQ(warn.scoreboard, 1);
  EXPECT_EQ(warn.advanced, (std::vector<int>{15, 12, 14})) << "both revalidated, in order";
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

TEST(OptionRules, EveryLabelIsTwentyTwoCharactersAndFiveIsNeverFilled) {
  const OptionLabels labels = BuildOptionLabels(Defaults());
  int filled = 0;
  for (int index = 0; index < kSelectorSlots; ++index) {
    for (int v = 0; v < kValueSlots; ++v) {
      const std::string& l = labels.Label[index][v];
      int chars = 0;
      for (char c : l) chars += (c & 0xC0) != 0x80;
      EXPECT_EQ(chars, kLabelLength) << index << "/" << v;
      if (v == 0 || v == 5 || !IsSelector(index)) {
        EXPECT_TRUE(IsBlankLabel(l));
      }
      filled += !IsBlankLabel(l);
    }
  }
  EXPECT_EQ(filled, 15 * 2 + 8 * 2 + 1 + 2);  // 12 has three values, 14 four
  EXPECT_EQ(TrimmedLabel(LabelOf(labels, 28, 1)), "Automático");
  EXPECT_STREQ(SelectorTitle(15), " Modo de juego  ");
  EXPECT_STREQ(SelectorTitle(22), " Fichas del jugador  ");
}

TEST(OptionRules, ValuesLeftFromTheOtherModeGoBackToOne) {
  GameState s = Defaults();
  s.RuleMode = kModeIndividual;
  s.RuleTieWinner = kTieNonLeaders;
  s.RuleNextLead = kNextLeadWinner;
  s.RuleDirection = kReverse;
  NormaliseToLabels(s, BuildOptionLabels(s));
  EXPECT_EQ(s.RuleTieWinner, kTieRepeat);
  EXPECT_EQ(s.RuleNextLead, kNextLeadWinner);
  EXPECT_EQ(s.DirectionStep, -1);
}

TEST(OptionRules, SlidersAndMatchPointsStayInRange) {
  const struct {
    int value, dx, expected;
  } drags[] = {{50, 10, 60}, {95, 30, 100}, {5, -40, 0}, {0, -1, 0}, {100, 1, 100}, {30, -30, 0}};
  for (const auto& d : drags) EXPECT_EQ(DragSliderValue(d.value, d.dx), d.expected) << d.value;

  const struct {
    i16 value;
    int step;
    i16 expected;
  } steps[] = {{5, 1, 6}, {1, -1, 1}, {2, -1, 1}, {998, 1, 999}, {999, 1, 999}, {0, -1, 1}};
  for (const auto& t : steps) EXPECT_EQ(StepMatchTarget(t.value, t.step), t.expected) << t.value;
}

TEST(OptionRules, SeatNamesLeftEmptyGetTheirDefault) {
  EXPECT_EQ(FinalSeatName("", 3), "Jugador3");
  EXPECT_EQ(FinalSeatName("   ", 1), "Jugador1");
  EXPECT_EQ(FinalSeatName("Ana Mª ", 2), "Ana Mª");
}

}  // namespace
}  // namespace tarvelis
