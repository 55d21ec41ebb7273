// Damaged files: whatever the bytes, the read never crashes, keeps what it read
// before the damage, and never leaves a match that cannot be resumed safely.
#include <gtest/gtest.h>

#include <random>

#include "state_text.h"
#include "storage/state_file.h"
#include "support/sample_game.h"

namespace tarvelis {
namespace {

using testing::ExpectSameSettings;
using testing::ReadText;

bool InRange(int v, int low, int high) {
  return v >= low && v <= high;
}

// What every read guarantees, damaged file or not.
void ExpectSafeToUse(const GameState& s, const std::string& context) {
  SCOPED_TRACE(context);
  ASSERT_TRUE(InRange(s.MoveNumber, 0, kMaxMoveNumber));
  ASSERT_TRUE(InRange(s.HandNumber, 0, kMaxHandNumber));
  ASSERT_GE(s.MoveRecord.size(), static_cast<std::size_t>(s.MoveNumber) + 41);
  // The settings are repaired even when the read failed (each range is
  // tested with the repairs).
  for (int seat = 1; seat <= kSeats; ++seat) EXPECT_TRUE(InRange(s.SeatLevel[seat], 0, 100));
  EXPECT_TRUE(InRange(s.RuleTieWinner, 1, 3));
  EXPECT_TRUE(InRange(s.GameSpeed, 0, 100));
  EXPECT_GE(s.MatchTarget, 1);
  EXPECT_TRUE(s.DirectionStep == 1 || s.DirectionStep == -1);
  if (s.HandInProgress) {
    EXPECT_TRUE(s.MatchInProgress);
    GameState copy = s;
    EXPECT_EQ(ResumeFault(copy), "");
  }
  if (!s.MatchInProgress) {
    for (int h = 1; h <= kHandLogSize; ++h) ASSERT_TRUE(s.HandLog[h].Text.empty());
  }
}

TEST(DamagedFile, CutAnywhereKeepsTheSettingsReadAndDropsTheMatch) {
  const GameState original = sample::RichState(30, 5);
  const std::string text = StateFileText(original);
  const std::size_t lastField = text.rfind(',') + 1;
  const std::size_t settingsEnd = text.find("#TRUE#");  // target and speed come before it
  for (std::size_t cut = 0; cut < text.size(); ++cut) {
    GameState back;
    const ReadOutcome outcome = ReadText(back, text.substr(0, cut));
    ExpectSafeToUse(back, "cut at " + std::to_string(cut));
    if (cut < lastField) {
      ASSERT_TRUE(outcome.ErrorNumber == 62 || outcome.ErrorNumber == 13) << cut;
      ASSERT_FALSE(back.MatchInProgress) << cut;
      ASSERT_FALSE(back.HandInProgress) << cut;
    }
    if (cut >= settingsEnd) ExpectSameSettings(original, back);
  }
}

// Each damage has its error (-1: any), drops the match and keeps the settings
// read before it.
TEST(DamagedFile, EachDamageHasItsErrorAndDropsTheMatch) {
  const GameState sample = sample::RichState(10, 2);
  const std::string text = StateFileText(sample);
  std::string word = text;
  word.replace(word.find(",0,35,") + 1, 1, "cero");  // SeatLevel 1
  std::string quote = text;
  quote.erase(quote.find('"', 1), 1);  // the closing quote of the first name
  std::string enormous = text;
  enormous.replace(enormous.find(",11,", enormous.find("#TRUE#")), 4, ",99999999999999999999,");
  const struct {
    const char* name;
    std::string bytes;
    int error;  // -1: any
  } cases[] = {
      {"blank lines", " \r\n\n", 62},
      {"a word where a number is due", word, 13},
      {"a missing quote shifts the fields", quote, -1},
      {"an enormous move number is missing", enormous, 0},
  };
  for (const auto& c : cases) {
    GameState back;
    const ReadOutcome outcome = ReadText(back, c.bytes);
    EXPECT_TRUE(c.error < 0 ? outcome.ErrorNumber != 0 : outcome.ErrorNumber == c.error)
        << c.name << ": error " << outcome.ErrorNumber;
    ExpectSafeToUse(back, c.name);
    EXPECT_FALSE(back.MatchInProgress) << c.name;
    if (c.error == 0) ExpectSameSettings(sample, back);
  }
  GameState back;
  ReadText(back, word);
  EXPECT_EQ(back.SeatName[4], "Raúl  Güemes");             // read before the damage
  EXPECT_EQ(back.SeatLevel[1], GameState{}.SeatLevel[1]);  // never read: left as it was
}

TEST(DamagedFile, ImpossibleCountsStopTheReadWithoutAllocating) {
  const GameState s = sample::RichState(10, 2);
  const std::string line2 = "15,80,#TRUE#,#TRUE#,";
  for (const char* counts : {"502,11", "-1,11", "3,-3", "3,30000", "32767,32767"}) {
    std::string text = StateFileText(s);
    const std::size_t at = text.find(line2) + line2.size();
    text.replace(at, text.find(',', text.find(',', at) + 1) - at, counts);
    GameState back;
    const ReadOutcome outcome = ReadText(back, text);
    EXPECT_EQ(outcome.ErrorNumber, 9) << counts;
    EXPECT_TRUE(outcome.MatchDropped) << counts;
    EXPECT_LE(back.MoveRecord.size(), 41u) << counts;
    ExpectSafeToUse(back, counts);
  }
}

// Each fault the checker can name is guarded where the checker is tested, and
// a damaged match is dropped on the way in with the hostile files; what a
// player may do to a hand is no fault.
TEST(InconsistentHand, WhatAPlayerMayDoToAHandIsNoFault) {
  const GameState sound = sample::RichState(30, 5);
  // Seat 4's tiles reordered and turned round, played ones included.
  GameState arranged = sound;
  for (int slot = 1; slot <= kSlots; ++slot) {
    std::swap(arranged.Hand[4][slot].PipA, arranged.Hand[4][slot].PipB);
  }
  std::swap(arranged.Hand[4][1], arranged.Hand[4][kSlots]);
  GameState back;
  EXPECT_FALSE(ReadText(back, StateFileText(arranged)).MatchDropped);
  EXPECT_EQ(back.Hand[4][1].PipA, arranged.Hand[4][1].PipA);
  // Between two hands the leftovers of the last one are not judged.
  GameState between = sound;
  between.HandInProgress = false;
  between.Hand[1][1] = between.Hand[2][1];
  EXPECT_FALSE(ReadText(back, StateFileText(between)).MatchDropped);
  EXPECT_TRUE(back.MatchInProgress);
}

}  // namespace
}  // namespace tarvelis
