// A finished match reaches the history exactly once, wherever the program
// stops between ending it and writing its record, and a full disk never
// leaves the history and the settings file saying different things.
#include <gtest/gtest.h>

#include <string>

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
  s.MatchInProgress = false;
  s.HandInProgress = false;
  s.MoveNumber = 0;
  return s;
}

TEST(KeepMatchInHistory, TheRecordIsWrittenOnceWhereverTheProgramStops) {
  const GameState s = sample::RichState(20, 3);
  const std::string fields = HistoryRecord(s, kWhen).substr(0, kHistoryFieldsSize);
  // Stopped after the settings file said the match was over with its record
  // pending: before the append, and after it.
  for (bool appended : {false, true}) {
    TempFolder folder;
    WriteBytes(folder / kSettingsFileName, StateFileText(Ended(s), fields));
    if (appended) WriteBytes(folder / kHistoryFileName, HistoryRecord(s, kWhen));
    for (int start = 0; start < 2; ++start) {
      GameState back;
      EXPECT_EQ(LoadSettings(back, folder.path()).ErrorNumber, 0);
      EXPECT_FALSE(back.MatchInProgress);
    }
    ASSERT_EQ(ReadHistory(folder.path()).size(), 1u) << appended;
    EXPECT_EQ(ReadHistory(folder.path())[0].Text, fields);
    GameState again;
    EXPECT_TRUE(LoadStateFile(again, folder / kSettingsFileName).PendingRecord.empty());
  }
  // Not stopped at all.
  TempFolder folder;
  ASSERT_TRUE(KeepMatchInHistory(s, folder.path(), kWhen));
  GameState back;
  EXPECT_EQ(LoadSettings(back, folder.path()).ErrorNumber, 0);
  EXPECT_FALSE(back.MatchInProgress);
  EXPECT_EQ(ReadHistory(folder.path()).size(), 1u);
}

// A settings file that will not fit while the 63-byte record still would: the
// match is not recorded, and the file still holds it, so the next start ends
// it again rather than recording it a second time.
TEST(KeepMatchInHistory, AFullDiskRecordsNothingAndKeepsTheMatch) {
  TempFolder folder;
  const GameState s = sample::RichState(20, 3);
  ASSERT_TRUE(SaveSettings(s, folder.path()));
  const std::string before = ReadBytes(folder / kSettingsFileName);
  {
    testing::FileSizeLimit full(StateFileText(Ended(s)).size() / 2);
    EXPECT_FALSE(KeepMatchInHistory(s, folder.path(), kWhen));
  }
  EXPECT_TRUE(ReadHistory(folder.path()).empty());
  EXPECT_EQ(ReadBytes(folder / kSettingsFileName), before);
}

// The exit tells the truth about a failed save: an earlier save of the match
// is what the next start continues.
TEST(SaveFailedMessage, SaysWhetherTheNextStartFindsTheMatch) {
  TempFolder folder;
  const GameState s = sample::RichState(20, 3);
  EXPECT_NE(SaveFailedMessage(s, folder.path()).find("no se podrá continuar"), std::string::npos);
  ASSERT_TRUE(SaveSettings(s, folder.path()));
  EXPECT_NE(SaveFailedMessage(s, folder.path()).find("desde la última jugada"), std::string::npos);
}

// Old files read as before; a line after the state that is no record is left
// alone; an editor's byte order mark is not part of seat 1's name.
TEST(StateFileText, ThePendingRecordLineIsOptional) {
  const GameState s = sample::RichState(20, 3);
  TempFolder folder;
  for (const std::string& tail : {std::string(), std::string("\"no es un registro\"\r\n")}) {
    WriteBytes(folder / kSettingsFileName, "\xEF\xBB\xBF" + StateFileText(s) + tail);
    GameState back;
    const ReadOutcome outcome = LoadStateFile(back, folder / kSettingsFileName);
    EXPECT_EQ(outcome.ErrorNumber, 0);
    EXPECT_TRUE(outcome.PendingRecord.empty());
    EXPECT_TRUE(back.MatchInProgress);
    EXPECT_EQ(back.SeatName[1], s.SeatName[1]);
  }
}

}  // namespace
}  // namespace tarvelis
