// Damaged files: whatever the bytes, the read never crashes, keeps what it read
// before the damage, and never leaves a match that cannot be resumed safely.
#include <gtest/gtest.h>

#include <functional>
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
  for (int seat = 1; seat <= kSeats; ++seat) {
    EXPECT_TRUE(InRange(s.SeatLevel[seat], 0, 100));
    EXPECT_TRUE(InRange(s.SeatTilesShown[seat], 1, 2));
    EXPECT_TRUE(InRange(s.SeatControl[seat], 1, 2));
  }
  EXPECT_TRUE(InRange(s.RuleTieWinner, 1, 3));
  EXPECT_TRUE(InRange(s.RuleNextLead, 1, 4));
  EXPECT_TRUE(InRange(s.RuleMode, 1, 2));
  EXPECT_TRUE(InRange(s.RulePlayedTilesShown, 1, 2));
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
    int error;
  } cases[] = {
      {"empty", "", 62},
      {"blanks", "   ", 62},
      {"blank lines", "\r\n\r\n", 62},
      {"a line feed", "\n", 62},
      {"a word where a number is due", word, 13},
      {"a missing quote shifts the fields", quote, -1},
      {"an enormous move number is missing", enormous, 0},
  };
  for (const auto& c : cases) {
    GameState back;
    const ReadOutcome outcome = ReadText(back, c.bytes);
    EXPECT_TRUE(c.error < 0 ? outcome.ErrorNumber != 0 : outcome.ErrorNumber == c.error)
        << c.name << ": error " << outcome.ErrorNumber;
    EXPECT_FALSE(back.MatchInProgress) << c.name;
    ExpectSafeToUse(back, c.name);
    if (c.error == 0) {
      EXPECT_TRUE(outcome.MatchDropped);
      ExpectSameSettings(sample, back);
    }
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

TEST(DamagedFile, SeededRandomDamageNeverLeavesAnUnsafeState) {
  const std::string text = StateFileText(sample::RichState(30, 5));
  std::mt19937 rng(20240611);
  auto below = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
  };
  for (int round = 0; round < 400; ++round) {
    std::string damaged = text;
    switch (round % 5) {
      case 0:  // a few bytes overwritten
        for (int k = 0, n = 1 + static_cast<int>(below(8)); k < n; ++k) {
          damaged[below(damaged.size())] = static_cast<char>(below(256));
        }
        break;
      case 1:  // a stretch lost
        damaged.erase(below(damaged.size()), below(200));
        break;
      case 2:  // digits where they do not belong
        damaged.insert(below(damaged.size()), std::to_string(rng()));
        break;
      case 3:  // a line doubled
      {
        const std::size_t at = damaged.find("\r\n", below(damaged.size()));
        const std::size_t start = damaged.rfind("\r\n", at == std::string::npos ? 0 : at - 1);
        if (at != std::string::npos && start != std::string::npos) {
          damaged.insert(at, damaged.substr(start, at - start));
        }
      } break;
      default:  // nothing but noise
        damaged.resize(below(3000));
        for (char& c : damaged) c = static_cast<char>(below(256));
    }
    GameState back;
    ReadText(back, damaged);
    ExpectSafeToUse(back, "round " + std::to_string(round));
  }
}

struct Damage {
  const char* name;
  std::function<void(GameState&)> apply;
  const char* fault;  // a word of the fault expected
};

// The slot of the tile of record n in the hand of the seat that played it.
HandSlot& SlotOfMove(GameState& s, int n) {
  const MoveEntry& m = s.MoveRecord[n];
  for (int k = 1; k <= kSlots; ++k) {
    HandSlot& t = s.Hand[m[kFSeat]][k];
    if ((t.PipA == m[kFPipA] && t.PipB == m[kFPipB]) ||
        (t.PipA == m[kFPipB] && t.PipB == m[kFPipA])) {
      return t;
    }
  }
  throw std::logic_error("tile not found");
}

// The first move from `from` on that laid a tile, or that laid a non-double.
int TileMove(const GameState& s, int from, bool nonDouble = false) {
  for (int n = from;; ++n) {
    const MoveEntry& m = s.MoveRecord[n];
    if (m[kFEnd] != kPassEnd && (!nonDouble || m[kFPipA] != m[kFPipB])) return n;
  }
}

TEST(InconsistentHand, IsNotResumed) {
  const Damage damages[] = {
      {"tile dealt twice", [](GameState& s) { s.Hand[1][1] = s.Hand[2][1]; }, "count"},
      {"pip beyond six", [](GameState& s) { s.Hand[2][3].PipA = 7; }, "holds no tile"},
      {"slot state 2", [](GameState& s) { SlotOfMove(s, 1).State = 2; }, "holds no tile"},
      {"count off", [](GameState& s) { ++s.SeatTileCount[3]; }, "count"},
      {"suit count off", [](GameState& s) { ++s.SeatPipCount[4][0]; }, "pip count"},
      {"rank twice", [](GameState& s) { s.SeatPipRank[1][2] = s.SeatPipRank[1][1]; }, "ranks"},
      {"rank beyond six", [](GameState& s) { s.SeatPipRank[3][7] = 9; }, "ranks"},
      {"wrong holder", [](GameState& s) { s.DoubleHolder[6] = s.DoubleHolder[6] % 4 + 1; },
       "holder"},
      {"last tile unrecorded",  // saved while the tile was being laid
       [](GameState& s) {
         while (s.MoveRecord[s.MoveNumber - 1][kFEnd] == kPassEnd) --s.MoveNumber;
         --s.MoveNumber;
       },
       "played state"},
      {"recorded tile held",
       [](GameState& s) {
         HandSlot& t = SlotOfMove(s, TileMove(s, 5));
         t.State = 0;
         ++s.SeatTileCount[s.MoveRecord[TileMove(s, 5)][kFSeat]];
       },
       "played state"},
      {"move by seat 7", [](GameState& s) { s.MoveRecord[4][kFSeat] = 7; }, "seat"},
      {"tile by the wrong seat",
       [](GameState& s) {
         i16& seat = s.MoveRecord[TileMove(s, 6)][kFSeat];
         seat = static_cast<i16>(seat % 4 + 1);
       },
       "out of turn"},
      {"end 3", [](GameState& s) { s.MoveRecord[TileMove(s, 3)][kFEnd] = 3; }, "not dealt"},
      {"lead passed", [](GameState& s) { s.MoveRecord[1][kFEnd] = kPassEnd; }, "lead"},
      {"tile turned round",
       [](GameState& s) {
         MoveEntry& m = s.MoveRecord[TileMove(s, 2, true)];
         std::swap(m[kFPipA], m[kFPipB]);
       },
       ""},
      {"ends before wrong", [](GameState& s) { s.MoveRecord[7][kFEnd1PipsBefore] = 8; }, "ends"},
      {"heading 0", [](GameState& s) { s.MoveRecord[TileMove(s, 2)][kFHeadingBefore] = 0; },
       "heading"},
      {"end pips off",
       [](GameState& s) { s.EndPips[1] = static_cast<i16>((s.EndPips[1] + 1) % 7); }, "end"},
      {"arm count off", [](GameState& s) { ++s.EndCount[2]; }, "end count"},
      {"seat to move 0", [](GameState& s) { s.CurrentSeat = 0; }, "seat"},
      {"leader 9", [](GameState& s) { s.LeadSeat = 9; }, "lead"},
      {"winner 9", [](GameState& s) { s.HandWinner = 9; }, "winner"},
      {"hand 0 in progress", [](GameState& s) { s.HandNumber = 0; }, "first deal"},
      {"hand 501 in progress", [](GameState& s) { s.HandNumber = 501; }, "hand number"},
      {"move 0 in progress", [](GameState& s) { s.MoveNumber = 0; }, "played state"},
      {"hand without a match", [](GameState& s) { s.MatchInProgress = false; }, "without"},
  };
  const GameState sound = sample::RichState(30, 5);
  GameState copy = sound;
  ASSERT_EQ(ResumeFault(copy), "");
  for (const Damage& d : damages) {
    GameState s = sound;
    d.apply(s);
    GameState probe = s;
    const std::string fault = ResumeFault(probe);
    EXPECT_NE(fault, "") << d.name;
    EXPECT_NE(fault.find(d.fault), std::string::npos) << d.name << ": " << fault;
    GameState back;
    const ReadOutcome outcome = ReadText(back, StateFileText(s));
    EXPECT_EQ(outcome.ErrorNumber, 0) << d.name;
    EXPECT_TRUE(outcome.MatchDropped) << d.name;
    EXPECT_FALSE(back.MatchInProgress) << d.name;
    EXPECT_FALSE(back.HandInProgress) << d.name;
    EXPECT_TRUE(back.HandLog[1].Text.empty()) << d.name;
    ExpectSameSettings(sound, back);
  }
}

TEST(InconsistentHand, DoesNotMatterBetweenHands) {
  // Between two hands nothing of the last hand is resumed: its leftovers are
  // not judged, and the match goes on with its log.
  GameState s = sample::RichState(30, 5);
  s.HandInProgress = false;
  s.Hand[1][1] = s.Hand[2][1];
  s.SeatTileCount[3] = 99;
  GameState back;
  const ReadOutcome outcome = ReadText(back, StateFileText(s));
  EXPECT_FALSE(outcome.MatchDropped);
  EXPECT_TRUE(back.MatchInProgress);
  EXPECT_EQ(back.HandLog[5].Text, s.HandLog[5].Text);
}

}  // namespace
}  // namespace tarvelis
