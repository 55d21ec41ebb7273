// A match left between two hands: the hand just finished is kept in the file.
#include <gtest/gtest.h>

#include "state_text.h"
#include "storage/state_file.h"
#include "support/sample_game.h"

namespace tarvelis {
namespace {

using testing::CrLfLines;
using testing::FieldCount;
using testing::ReadText;

// After hand `finished` was scored and before the next deal.
GameState BetweenHands(int finished) {
  GameState s = sample::RichState(30, finished);
  s.HandInProgress = false;
  s.HandNumber = static_cast<i16>(finished);
  sample::FillLog(s, finished);
  return s;
}

int LogLines(const std::string& text) {
  // The log follows the settings line and the match line, 13 fields each.
  const std::vector<std::string> lines = CrLfLines(text);
  int n = 0;
  while (2 + n < static_cast<int>(lines.size()) && FieldCount(lines[2 + n]) == 13) ++n;
  return n;
}

TEST(BetweenHands, EveryFinishedHandIsWrittenAndReadBack) {
  for (int finished : {1, 4, kHandLogSize}) {
    SCOPED_TRACE(finished);
    const GameState left = BetweenHands(finished);
    const std::string text = StateFileText(left);
    EXPECT_EQ(LogLines(text), finished) << "the hand just finished is in the log";
    GameState back;
    const ReadOutcome outcome = ReadText(back, text);
    ASSERT_EQ(outcome.ErrorNumber, 0);
    ASSERT_FALSE(outcome.MatchDropped);
    EXPECT_TRUE(back.MatchInProgress);
    EXPECT_FALSE(back.HandInProgress);
    EXPECT_EQ(back.HandNumber, finished);
    for (int h = 1; h <= finished; ++h) {
      ASSERT_EQ(back.HandLog[h].Text, left.HandLog[h].Text) << h;
      ASSERT_EQ(back.HandLog[h].PairTens, left.HandLog[h].PairTens) << h;
      ASSERT_EQ(back.HandLog[h].SeatUnits, left.HandLog[h].SeatUnits) << h;
    }
    EXPECT_EQ(StateFileText(back), text) << "saved again unchanged";
  }
  // In the middle of a hand the log holds the hands before it.
  const GameState playing = sample::RichState(30, 5);
  ASSERT_TRUE(playing.HandInProgress);
  EXPECT_EQ(LogLines(StateFileText(playing)), playing.HandNumber - 1);
}

}  // namespace
}  // namespace tarvelis
