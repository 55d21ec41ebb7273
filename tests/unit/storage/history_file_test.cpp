#include "storage/history_file.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace tarvelis {
namespace {

GameState Finished(int mode) {
  GameState s;
  ApplyDefaults(s);
  s.RuleMode = static_cast<i16>(mode);
  s.SeatName = {"", "Ana", "Bernardo", "Cándida", "Dolores Ibáñez"};
  return s;
}

TEST(HistoryRecord, PairsPutTheWinningPairFirst) {
  GameState s = Finished(kModePairs);
  s.HandWinner = 2;
  s.PairTotal = {0, 3, 5};
  const std::string r = HistoryRecord(s, DateTime{2026, 12, 6, 9, 5});
  ASSERT_EQ(r.size(), 63u);
  EXPECT_EQ(r.substr(0, 12), "202612060905");
  EXPECT_EQ(r.substr(12, 9), "Ana      ");
  EXPECT_EQ(r.substr(21, 9), "C\xE1ndida  ");  // one byte for the accented letter
  EXPECT_EQ(r.substr(30, 9), "Bernardo ");
  EXPECT_EQ(r.substr(39, 9), "Dolores I");  // cut at nine
  EXPECT_EQ(r.substr(48, 6), "  5  3");
  EXPECT_EQ(r.substr(60, 3), "P\r\n");
}

TEST(HistoryRecord, IndividualListsTheOthersByPoints) {
  GameState s = Finished(kModeIndividual);
  s.HandWinner = 3;
  s.SeatTotal = {0, 2, 4, 12, 4};
  const std::string r = HistoryRecord(s, DateTime{2026, 1, 2, 23, 59});
  ASSERT_EQ(r.size(), 63u);
  EXPECT_EQ(r.substr(12, 9), "C\xE1ndida  ");
  EXPECT_EQ(r.substr(21, 9), "Bernardo ");  // 4 points, the lower seat of the tie first
  EXPECT_EQ(r.substr(30, 9), "Dolores I");
  EXPECT_EQ(r.substr(39, 9), "Ana      ");
  EXPECT_EQ(r.substr(48, 12), " 12  4  4  2");
  EXPECT_NE(r[60], 'P');
}

TEST(HistoryFile, RecordsAreAppended) {
  testing::TempFolder folder;
  GameState s = Finished(kModePairs);
  s.HandWinner = 1;
  ASSERT_TRUE(AppendHistory(s, folder.path(), DateTime{2026, 12, 6, 9, 5}));
  ASSERT_TRUE(AppendHistory(s, folder.path(), DateTime{2026, 12, 6, 9, 6}));
  const std::string text = testing::ReadBytes(folder / kHistoryFileName);
  EXPECT_EQ(text.size(), 2u * kHistoryRecordSize);
  EXPECT_EQ(text.substr(kHistoryRecordSize, 12), "202612060906");
  EXPECT_FALSE(AppendHistory(s, folder / "missing", DateTime{}));
}

}  // namespace
}  // namespace tarvelis
