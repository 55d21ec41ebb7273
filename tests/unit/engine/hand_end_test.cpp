#include "engine/hand_end.h"

#include <gtest/gtest.h>

#include "engine/deal.h"
#include "engine/hand_messages.h"
#include "support/engine_fixture.h"

namespace tarvelis {
namespace {

using testing::Holds;
using testing::Table;

constexpr const char* kHint = "\r\n(Pulse el botón Cancelar si desea retroceder)";

// Pips per slot after DealInOrder:
//   seat 1: 0 1 2 2 3 4 3    seat 2: 4 5 6 4 5 6 7
//   seat 3: 8 5 6 7 8 9 10   seat 4: 6 7 8 9 10 11 12
void HandJustEnded(Table& t, int mover, int leader) {
  t.s.MatchInProgress = true;
  t.s.HandInProgress = true;
  t.s.HandNumber = 1;
  t.s.MoveNumber = 20;
  t.s.CurrentSeat = static_cast<i16>(mover);
  t.s.LeadSeat = static_cast<i16>(leader);
  testing::DealInOrder(t.s);
}

// Every message shown, as "title|text", and what the hand end led to.
struct Scored {
  HandEndOutcome Outcome;
  std::vector<std::string> Shown;
};

// What each seat still holds, by slot.
using Slots = std::initializer_list<int>;
void Left(Table& t, Slots s1, Slots s2, Slots s3, Slots s4) {
  Holds(t.s, 1, s1);
  Holds(t.s, 2, s2);
  Holds(t.s, 3, s3);
  Holds(t.s, 4, s4);
}

Scored End(Table& t) {
  Scored r;
  t.port.OnEvent = [&t, &r](const std::string& e) {
    if (e.rfind("message ", 0) == 0) r.Shown.push_back(t.port.LastTitle + "|" + t.port.LastText);
  };
  r.Outcome = EndHand(t.ctx);
  return r;
}

// Seats 2 and 4 go out; 25 pips are left, 13 of them in the losers' hands.
TEST(Domino, PointsByTheCountedPipsAndTheScoring) {
  struct Case {
    i16 counted, scoring, target;
    const char* points;
    int total;
  };
  for (const Case c : {Case{kCountAll, kScoreTens, 30, "Puntos :  25       Decenas :  3", 3},
                       Case{kCountLosers, kScoreUnits, 100, "Puntos :  13", 13}}) {
    Table t;
    HandJustEnded(t, 2, 3);
    t.s.RuleCountedPips = c.counted;
    t.s.RuleScoring = c.scoring;
    t.s.MatchTarget = c.target;
    Left(t, {2, 6}, {}, {1}, {7});
    const Scored r = End(t);
    EXPECT_EQ(r.Outcome, HandEndOutcome::kNextHand);
    ASSERT_EQ(r.Shown.size(), 1u);
    EXPECT_EQ(r.Shown[0], std::string("Final de este juego|") + c.points +
                              "\r\nHabeis ganado el juego Jugador2 y Jugador4" + kHint);
    EXPECT_TRUE(t.Heard(14));
    EXPECT_FALSE(t.Heard(17));
    EXPECT_EQ(t.EventsStarting("closed domino").size(), 1u);
    EXPECT_FALSE(t.s.HandInProgress);
    EXPECT_EQ(t.s.HandWinner, 1);
    EXPECT_EQ(t.s.HandLog[1].Text, "Jugador3");
    EXPECT_EQ(t.s.PairTotal[1], c.total);
  }
}

// Pairs blocked, seat 1 having led, hand 3: seats 2 and 4 hold 10 pips or,
// in a tie, 12 like the others. A pair that loses the block it closed sounds
// 17; a repeated tie scores nothing, keeps the hand's number for the replay
// and leaves the lead one seat back (a real seat: the state may be saved as
// it waits) so that the rotation brings the same seat or the next.
TEST(Blocked, PairsWinByTheirPipsAndTiesGoByTheRule) {
  const std::string leaders = "EMPATE -> Gana la pareja que salió.";
  const std::string repeat = "EMPATE -> Se repite el juego y ";
  struct Case {
    int mover;
    i16 tieRule, tieLead;
    std::string verdict, won;
    int winner, leadAfter;
  };
  // clang-format off
  const Case cases[] = {
      {1, kTieRepeat, kTieSameLead, "", "", 1, 1},  // not a tie: seat 1 moved and lost
      {2, kTieRepeat, kTieSameLead, "", "", 1, 1},
      {3, kTieNonLeaders, kTieSameLead, "EMPATE -> Gana la pareja que no salió.",
       "Habeis ganado el juego Jugador2 y Jugador4", 1, 1},
      {3, kTieLeaders, kTieSameLead, leaders, "Han ganado el juego Jugador1 y Jugador3", 2, 1},
      {3, kTieRepeat, kTieSameLead, repeat + "sale el mismo jugador.", "", 0, 4},
      {3, kTieRepeat, kTieRotateLead, repeat + "se corre el turno de salida.", "", 0, 1},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.verdict);
    Table t;
    HandJustEnded(t, c.mover, 1);
    t.s.HandNumber = 3;
    t.s.RuleTieWinner = c.tieRule;
    t.s.RuleTieLead = c.tieLead;
    const bool tie = !c.verdict.empty();
    Left(t, {6}, {tie ? 6 : 1}, {1}, {1});
    const Scored r = End(t);
    ASSERT_EQ(r.Shown.size(), c.winner == 0 ? 1u : 2u);
    EXPECT_EQ(r.Shown[0], "C i e r r e|Jugador2 y Jugador4 :  " + std::string(tie ? "12" : "10") +
                              "\r\nJugador1 y Jugador3 :  12" + (tie ? "\r\n" : "") + c.verdict +
                              kHint);
    if (!c.won.empty()) {
      EXPECT_EQ(r.Shown[1],
                "Final de este juego|Puntos :  24       Decenas :  3\r\n" + c.won + kHint);
    }
    EXPECT_EQ(r.Outcome, HandEndOutcome::kNextHand);
    EXPECT_EQ(t.s.HandWinner, c.winner);
    EXPECT_EQ(t.Heard(17), c.mover == 1) << "only the pair that closed and lost";
    EXPECT_EQ(t.s.HandNumber, c.winner == 0 ? 2 : 3);
    EXPECT_EQ(t.s.HandLog[3].PairUnits[1] + t.s.HandLog[3].PairUnits[2],
              c.winner == 0 ? 0 : 24 - 2 * !tie);
    EXPECT_EQ(t.s.LeadSeat, c.leadAfter);
  }
}

// Individual mode, seats 2 and 3 holding the fewest pips (5 each).
TEST(Blocked, AnIndividualTieGoesToTheLeaderOrIsRepeated) {
  const std::string cierre =
      "C i e r r e|Jugador1 :   7\r\nJugador2 :   5\r\nJugador3 :   5\r\nJugador4 :   6\r\n";
  const std::string repeat = "EMPATE -> Se repite el juego y sale el mismo jugador.";
  const std::string led = "EMPATE -> Gana el jugador que salió.";
  struct Case {
    i16 rule;
    int leader;
    std::string tie, won;
  };
  const Case cases[] = {
      {kTieRepeat, 2, repeat, ""},
      {kTieNonLeaders, 2, repeat, ""},  // not offered in individual play
      {kTieLeaders, 4, led, "Jugador4, has ganado el juego. "},
      {kTieLeaders, 1, led, "Ha ganado el juego Jugador1"},
  };
  for (const Case& c : cases) {
    Table t;
    HandJustEnded(t, 1, c.leader);
    t.s.RuleMode = kModeIndividual;
    t.s.RuleTieWinner = c.rule;
    Left(t, {6, 7}, {2}, {2}, {1});
    const Scored r = End(t);
    const bool won = !c.won.empty();
    ASSERT_EQ(r.Shown.size(), won ? 2u : 1u);
    EXPECT_EQ(r.Shown[0], cierre + c.tie + kHint);
    EXPECT_EQ(t.s.HandWinner, won ? c.leader : 0);
    if (won) {
      EXPECT_EQ(r.Shown[1],
                "Final de este juego|Puntos :  23       Decenas :  3\r\n" + c.won + kHint);
      EXPECT_EQ(t.s.SeatTotal[c.leader], 3);
    }
  }
}

TEST(MatchEnd, PairsReachingTheTargetEndTheMatchAndAskForTheHistory) {
  // Seats 2 and 4 go out with 25 points; scored to the losers, those points
  // take the other pair to the target, and seats 2 and 4 still win.
  for (auto [losers, keep] : {std::pair{false, true}, {false, false}, {true, true}}) {
    Table t;
    HandJustEnded(t, 2, 3);
    t.s.MatchTarget = 3;
    t.s.RuleScoringPair = losers ? kScoringLosers : kScoringWinners;
    Left(t, {2, 6}, {}, {1}, {7});
    t.port.Answers = {true, keep};
    const Scored r = End(t);
    EXPECT_EQ(r.Outcome, HandEndOutcome::kMatchOver);
    EXPECT_EQ(t.s.PairTotal[losers ? 2 : 1], 3);
    ASSERT_EQ(r.Shown.size(), 3u);
    EXPECT_EQ(r.Shown[1], "Final de Partida|Habeis ganado la partida \r\nJugador2 y Jugador4");
    EXPECT_EQ(r.Shown[2], "Histórico de partidas jugadas|¿Se actualiza el Histórico de partidas?");
    EXPECT_EQ(t.EventsStarting("history").size(), keep ? 1u : 0u);
    EXPECT_EQ(t.EventsStarting("sound 14").size(), 2u) << "the domino and the match";
    EXPECT_FALSE(t.s.MatchInProgress);
    EXPECT_EQ(t.s.MoveNumber, 0);
  }
}

TEST(HandLogRoom, MergingTheOldestHandsKeepsEveryTotal) {
  GameState s;
  s.RuleScoring = kScoreUnits;
  s.HandNumber = kHandLogSize;
  for (int h = 1; h <= kHandLogSize; ++h) {
    s.HandLog[h].PairUnits[h % 2 + 1] = static_cast<i16>(h % 7);
    s.HandLog[h].SeatUnits[h % 4 + 1] = 1;
  }
  s.HandLog[kHandLogSize].Text = "last";
  RecomputeTotals(s);
  const auto pairs = s.PairTotal;
  const auto seats = s.SeatTotal;
  MakeRoomInHandLog(s, kHandLogSize + 1);
  EXPECT_EQ(s.HandNumber, kHandLogSize - 1);
  EXPECT_EQ(s.HandLog[kHandLogSize - 1].Text, "last");
  EXPECT_TRUE(s.HandLog[kHandLogSize].Text.empty());
  RecomputeTotals(s);
  EXPECT_EQ(s.PairTotal, pairs);
  EXPECT_EQ(s.SeatTotal, seats);
  // Room already there: nothing moves.
  MakeRoomInHandLog(s, kHandLogSize);
  EXPECT_EQ(s.HandNumber, kHandLogSize - 1);
}

}  // namespace
}  // namespace tarvelis
