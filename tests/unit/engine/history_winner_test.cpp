// The history record puts first the winner that the final message of the
// match named, whatever the last hand left behind.
#include <gtest/gtest.h>

#include "engine/hand_end.h"
#include "engine/hand_messages.h"
#include "storage/history_file.h"
#include "storage/text_codec.h"

namespace tarvelis {
namespace {

TEST(HistoryWinner, TheRecordNamesWhomTheFinalMessageNamed) {
  struct Case {
    int mode, scoringPair, handWinner;
  };
  const Case cases[] = {
      {kModePairs, kScoringWinners, 1},      {kModePairs, kScoringWinners, 2},
      {kModePairs, kScoringLosers, 1},       {kModePairs, kScoringLosers, 2},
      {kModePairs, kScoringWinners, 0},  // a replayed tie: no winner of the last hand
      {kModePairs, kScoringLosers, 0},       {kModeIndividual, kScoringWinners, 3},
      {kModeIndividual, kScoringWinners, 0},
  };
  for (const Case& c : cases) {
    GameState s;
    ApplyDefaults(s);
    s.SeatName = {"", "Ana", "Bernardo", "Carmen", "Dolores"};
    s.RuleMode = static_cast<i16>(c.mode);
    s.RuleScoringPair = static_cast<i16>(c.scoringPair);
    s.HandWinner = static_cast<i16>(c.handWinner);
    s.PairTotal = {0, 2, 6};
    s.SeatTotal = {0, 1, 7, 2, 3};
    const std::string message = MatchResultText(s, MatchWinner(s));
    const std::vector<HistoryMatch> kept =
        ParseHistory(HistoryRecord(s, DateTime{2026, 1, 1, 0, 0}));
    ASSERT_EQ(kept.size(), 1u);
    const std::string& first = kept[0].Names[0];
    const std::string& loser = kept[0].Names[c.mode == kModePairs ? 2 : 1];
    EXPECT_NE(message.find(first), std::string::npos)
        << c.mode << "/" << c.scoringPair << "/" << c.handWinner << ": " << message;
    EXPECT_EQ(message.find(loser), std::string::npos)
        << c.mode << "/" << c.scoringPair << "/" << c.handWinner << ": " << message;
  }
}

}  // namespace
}  // namespace tarvelis
