// A finished match reaches the history once wherever the program stops; a
// full disk never records a match that the settings file keeps in play, and
// the exit says truly whether the match goes on.
#include <gtest/gtest.h>

#include <algorithm>

#include "storage/history_file.h"
#include "storage/settings_file.h"
#include "storage/state_file.h"
#include "support/file_size_limit.h"
#include "support/sample_game.h"
#include "support/temp_folder.h"

namespace tarvelis {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

const DateTime kWhen{2026, 12, 6, 21, 5};

GameState Ended(GameState s) {
  s.MatchInProgress = s.HandInProgress = false;
  s.MoveNumber = 0;
  return s;
}

TEST(KeepMatchInHistory, OnceWhereverTheProgramStops) {
  GameState s = sample::RichState(20, 3);
  s.SeatName[2] = "\"Pepe\"";  // the settings file can only hold 'Pepe'
  std::string fields = HistoryRecord(s, kWhen).substr(0, kHistoryFieldsSize);
  std::replace(fields.begin(), fields.end(), '"', '\'');
  // Not stopped; stopped with the match over and its record pending, before
  // the append and after it.
  for (int stop : {0, 1, 2}) {
    TempFolder folder;
    if (stop == 0) {
      ASSERT_TRUE(KeepMatchInHistory(s, folder.path(), kWhen));
    } else {
      WriteBytes(folder / kSettingsFileName, StateFileText(Ended(s), fields));
    }
    if (stop == 2) WriteBytes(folder / kHistoryFileName, fields + "\r\n");
    for (int start = 0; start < 2; ++start) {
      GameState back;
      EXPECT_EQ(LoadSettings(back, folder.path()).ErrorNumber, 0);
      EXPECT_FALSE(back.MatchInProgress);
    }
    const std::vector<HistoryMatch> history = ReadHistory(folder.path());
    ASSERT_EQ(history.size(), 1u) << stop;
    EXPECT_EQ(history[0].Text, fields);
  }
}

// The settings file no longer fits while the 63-byte record still would.
TEST(KeepMatchInHistory, AFullDiskRecordsNothingAndTheExitSaysWhatGoesOn) {
  TempFolder folder;
  const GameState s = sample::RichState(20, 3);
  EXPECT_NE(SaveFailedMessage(s, folder.path()).find("no se podrá continuar"), std::string::npos);
  ASSERT_TRUE(SaveSettings(s, folder.path()));
  const std::string before = ReadBytes(folder / kSettingsFileName);
  {
    testing::FileSizeLimit full(StateFileText(Ended(s)).size() / 2);
    EXPECT_FALSE(KeepMatchInHistory(s, folder.path(), kWhen));
  }
  EXPECT_TRUE(ReadHistory(folder.path()).empty());
  EXPECT_EQ(ReadBytes(folder / kSettingsFileName), before);
  EXPECT_NE(SaveFailedMessage(s, folder.path()).find("desde la última jugada"), std::string::npos);
}

// Old files read as before, a line after the state that is no record is left
// alone, and an editor's byte order mark is not part of seat 1's name.
TEST(StateFileText, ThePendingRecordLineIsOptional) {
  const GameState s = sample::RichState(20, 3);
  TempFolder folder;
  for (const std::string tail : {"", "\"no es un registro\"\r\n"}) {
    WriteBytes(folder / kSettingsFileName, "\xEF\xBB\xBF" + StateFileText(s) + tail);
    GameState back;
    const ReadOutcome outcome = LoadStateFile(back, folder / kSettingsFileName);
    EXPECT_EQ(outcome.ErrorNumber, 0);
    EXPECT_TRUE(outcome.PendingRecord.empty() && back.MatchInProgress);
    EXPECT_EQ(back.SeatName[1], s.SeatName[1]);
  }
}

}  // namespace
}  // namespace tarvelis
