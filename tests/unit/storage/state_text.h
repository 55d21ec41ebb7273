// Reading a state from text, splitting a file into lines, and comparing every
// field the file carries.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "model/game_state.h"
#include "storage/state_file.h"

namespace tarvelis::testing {

inline ReadOutcome ReadText(GameState& s, const std::string& text) {
  std::istringstream in(text);
  return ReadState(s, in);
}

// Lines without their CR LF; a text whose last line has no line end keeps it.
inline std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

inline int FieldCount(const std::string& line) {
  int commas = 0;
  bool quoted = false;
  for (char c : line) {
    if (c == '"') quoted = !quoted;
    if (c == ',' && !quoted) ++commas;
  }
  return commas + 1;
}

inline void ExpectSameSettings(const GameState& a, const GameState& b) {
  EXPECT_EQ(a.SeatName, b.SeatName);
  EXPECT_EQ(a.SeatLevel, b.SeatLevel);
  EXPECT_EQ(a.SeatTilesShown, b.SeatTilesShown);
  EXPECT_EQ(a.SeatControl, b.SeatControl);
  using G = GameState;
  for (auto rule :
       {&G::RulePauseBetweenMoves, &G::RulePlayedTilesShown, &G::RuleDirection, &G::RuleSound,
        &G::RuleMoveList, &G::RuleDealing, &G::RuleFiveDoubles, &G::RuleFirstLead, &G::RuleNextLead,
        &G::RuleScoring, &G::RuleCountedPips, &G::RuleScoringPair, &G::RuleTieWinner,
        &G::RuleTieLead, &G::RuleMode, &G::MatchTarget, &G::GameSpeed}) {
    EXPECT_EQ(a.*rule, b.*rule);
  }
}

inline void ExpectSameCarriedFields(const GameState& a, const GameState& b) {
  ExpectSameSettings(a, b);
  EXPECT_EQ(a.MatchInProgress, b.MatchInProgress);
  EXPECT_EQ(a.HandInProgress, b.HandInProgress);
  EXPECT_EQ(a.HandNumber, b.HandNumber);
  EXPECT_EQ(a.MoveNumber, b.MoveNumber);
  EXPECT_EQ(a.CurrentSeat, b.CurrentSeat);
  EXPECT_EQ(a.LeadSeat, b.LeadSeat);
  EXPECT_EQ(a.HandWinner, b.HandWinner);
  EXPECT_EQ(a.NoticeShown, b.NoticeShown);
  EXPECT_EQ(a.DirectionStep, b.DirectionStep);
  for (int h = 1; h < a.HandNumber && h <= kHandLogSize; ++h) {
    EXPECT_EQ(a.HandLog[h].Text, b.HandLog[h].Text) << "hand " << h;
    EXPECT_EQ(a.HandLog[h].PairUnits, b.HandLog[h].PairUnits) << "hand " << h;
    EXPECT_EQ(a.HandLog[h].PairTens, b.HandLog[h].PairTens) << "hand " << h;
    EXPECT_EQ(a.HandLog[h].SeatUnits, b.HandLog[h].SeatUnits) << "hand " << h;
    EXPECT_EQ(a.HandLog[h].SeatTens, b.HandLog[h].SeatTens) << "hand " << h;
  }
  EXPECT_EQ(a.EndPips, b.EndPips);
  EXPECT_EQ(a.EndHeading, b.EndHeading);
  EXPECT_EQ(a.EndCount, b.EndCount);
  EXPECT_EQ(a.EndCol, b.EndCol);
  EXPECT_EQ(a.EndRow, b.EndRow);
  for (int seat = 1; seat <= kSeats; ++seat) {
    for (int k = 1; k <= kSlots; ++k) {
      EXPECT_EQ(a.Hand[seat][k].PipA, b.Hand[seat][k].PipA);
      EXPECT_EQ(a.Hand[seat][k].PipB, b.Hand[seat][k].PipB);
      EXPECT_EQ(a.Hand[seat][k].State, b.Hand[seat][k].State);
    }
  }
  EXPECT_EQ(a.SeatTileCount, b.SeatTileCount);
  EXPECT_EQ(a.SeatDoubles, b.SeatDoubles);
  EXPECT_EQ(a.SeatPipCount, b.SeatPipCount);
  EXPECT_EQ(a.SeatPipRank, b.SeatPipRank);
  EXPECT_EQ(a.SeatPipMark, b.SeatPipMark);
  EXPECT_EQ(a.DoubleHolder, b.DoubleHolder);
  for (int n = 1; n < a.MoveNumber; ++n) EXPECT_EQ(a.MoveRecord[n], b.MoveRecord[n]) << n;
}

}  // namespace tarvelis::testing
