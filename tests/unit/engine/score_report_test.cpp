#include "engine/score_report.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tarvelis {
namespace {

GameState Match(i16 mode, i16 scoring) {
  GameState s;
  ApplyDefaults(s);
  s.RuleMode = mode;
  s.RuleScoring = scoring;
  s.MatchTarget = 30;
  s.MatchInProgress = true;
  return s;
}

// Hand `hand` won by `seat` with `points` pips, logged as the hand end does.
void Won(GameState& s, int hand, int seat, int points) {
  HandLogEntry& e = s.HandLog[hand];
  e.Text = s.SeatName[seat];
  const i16 tens = static_cast<i16>(points == 0 ? 0 : (points - 1) / 10 + 1);
  if (s.RuleMode == kModePairs) {
    e.PairUnits[PairOfSeat(seat)] = static_cast<i16>(points);
    e.PairTens[PairOfSeat(seat)] = tens;
  } else {
    e.SeatUnits[seat] = static_cast<i16>(points);
    e.SeatTens[seat] = tens;
  }
  s.HandNumber = static_cast<i16>(std::max<int>(s.HandNumber, hand));
}

std::string PaddedLeader(std::string name) {
  name.resize(std::max<size_t>(name.size(), 11), ' ');
  return name;
}

std::vector<ReportItem> RowAt(const ScoreReport& r, int y) {
  std::vector<ReportItem> row;
  for (const ReportItem& i : r.items) {
    if (i.y == y) row.push_back(i);
  }
  return row;
}

std::vector<std::string> HandNumbers(const ScoreReport& r) {
  std::vector<std::string> numbers;
  for (const ReportItem& i : r.items) {
    if (i.x == kReportNumberX && i.y >= kReportFirstRowY) numbers.push_back(i.text);
  }
  return numbers;
}

// Twenty-five hands: only the last twenty are listed, numbered as the report
// writes them, and a replayed tie (no points) leaves no row.
TEST(ScoreReport, ListsTheLastTwentyHandsWithPoints) {
  for (const i16 mode : {kModeIndividual, kModePairs}) {
    GameState s = Match(mode, kScoreUnits);
    for (int hand = 1; hand <= 25; ++hand) Won(s, hand, hand % 4 + 1, hand == 12 ? 0 : 7);
    s.HandLog[12].Text = s.SeatName[1];  // the tie that was played again
    const ScoreReport r = BuildScoreReport(s);
    std::vector<std::string> expected;
    for (int hand = 6; hand <= 25; ++hand) {
      if (hand != 12) expected.push_back((hand < 10 ? "  " : " ") + std::to_string(hand));
    }
    EXPECT_EQ(HandNumbers(r), expected);
    EXPECT_EQ(RowAt(r, kReportFirstRowY)[1].text, PaddedLeader(s.SeatName[6 % 4 + 1]));
  }
}

// Long names are cut so that every column keeps its place, and two names
// alike at the cut still read apart, in the header and in the leader column.
TEST(ScoreReport, LongNamesKeepTheColumnsAndReadApart) {
  GameState s = Match(kModeIndividual, kScoreTens);
  s.SeatName[1] = "Maximiliano José";
  s.SeatName[2] = " Íñigo ";
  s.SeatName[3] = "Maximiliano Juan";
  EXPECT_EQ(BuildScoreReport(s).items[2].text,
            "Mano   Sale    Maximil…é Íñigo     Maximil…n Jugador4  ");
  GameState p = Match(kModePairs, kScoreTens);
  p.SeatName[1] = "Jugadora Principal 1";
  p.SeatName[3] = "Jugadora Principal 3";
  Won(p, 1, 1, 22);
  Won(p, 2, 3, 5);
  const ScoreReport r = BuildScoreReport(p);
  EXPECT_EQ(RowAt(r, kReportFirstRowY)[1].text, "Jugador…1  ");
  EXPECT_EQ(RowAt(r, kReportFirstRowY + kReportRowStep)[1].text, "Jugador…3  ");
}

}  // namespace
}  // namespace tarvelis
