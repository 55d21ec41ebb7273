#include "storage/history_file.h"

#include <gtest/gtest.h>

#include "history_records.h"
#include "support/temp_folder.h"

namespace tarvelis {
namespace {

using testing::Record;

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

TEST(HistoryRecord, ControlCharactersInANameNeverBreakTheLine) {
  GameState s = Finished(kModePairs);
  s.HandWinner = 1;
  s.SeatName[2] = "Be\r\nrta";
  s.SeatName[4] = "  Luis";
  const std::string r = HistoryRecord(s, DateTime{2026, 12, 6, 9, 5});
  ASSERT_EQ(r.size(), 63u);
  EXPECT_EQ(r.find('\n'), 62u);
  EXPECT_EQ(r.substr(21, 9), "Luis     ") << "spaces around a name waste no place";
  const std::vector<HistoryMatch> back = ParseHistory(r);
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0].Names[0], "Berta") << "control characters are dropped";
}

TEST(HistoryFile, RecordsWrittenAreReadBack) {
  testing::TempFolder folder;
  EXPECT_TRUE(ReadHistory(folder.path()).empty()) << "no file yet: an empty history";
  GameState pairs = Finished(kModePairs);
  pairs.HandWinner = 1;
  pairs.PairTotal = {0, 6, 2};
  GameState individual = Finished(kModeIndividual);
  individual.HandWinner = 4;
  individual.SeatTotal = {0, 3, 1, 0, 5};
  ASSERT_TRUE(AppendHistory(pairs, folder.path(), DateTime{2026, 12, 6, 9, 5}));
  ASSERT_TRUE(AppendHistory(individual, folder.path(), DateTime{2026, 12, 7, 18, 30}));
  EXPECT_EQ(testing::ReadBytes(folder / kHistoryFileName).size(), 2u * kHistoryRecordSize);

  const std::vector<HistoryMatch> m = ReadHistory(folder.path());
  ASSERT_EQ(m.size(), 2u);
  EXPECT_TRUE(m[0].Pairs);
  EXPECT_EQ(m[0].Names, (std::array<std::string, 4>{"Bernardo", "Dolores I", "Ana", "Cándida"}));
  EXPECT_EQ(m[0].Points[0], 6);
  EXPECT_EQ(m[0].Points[1], 2);
  EXPECT_EQ(m[0].Date(), "06-12-2026");
  EXPECT_EQ(m[0].Time(), "09:05");
  EXPECT_FALSE(m[1].Pairs);
  EXPECT_EQ(m[1].Names, (std::array<std::string, 4>{"Dolores I", "Ana", "Bernardo", "Cándida"}));
  EXPECT_EQ(m[1].Points, (std::array<int, 4>{5, 3, 1, 0}));
  EXPECT_FALSE(AppendHistory(pairs, folder / "missing", DateTime{}));
  // Only a plain file is read: a folder in its place is an empty history.
  testing::TempFolder other;
  std::filesystem::create_directory(other / kHistoryFileName);
  EXPECT_TRUE(ReadHistory(other.path()).empty());
}

// Damage costs only the record it hit: every record kept is one whole line.
TEST(ParseHistory, LineEndsAndDamage) {
  const std::string a =
      Record("202601010900", {"Ana", "Bea", "Carlos", "Dani"}, {5, 3, 0, 0}, true);
  const std::string b = Record("202601020900", {"Eva", "Fran", "Gil", "Hugo"}, {7, 1, 2, 3}, false);
  const std::string c =
      Record("202601030900", {"Ines", "Juan", "Kike", "Lola"}, {9, 4, 0, 0}, true);
  const std::string aLf = a.substr(0, 61) + "\n";
  const std::string keyA = "202601010900", keyB = "202601020900", keyC = "202601030900";
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::string> keys;  // the dates and times read, in order
  };
  const std::vector<Case> cases = {
      {"empty", "", {}},
      {"CR LF", a + b + c, {keyA, keyB, keyC}},
      {"LF alone", aLf + b.substr(0, 61) + "\n", {keyA, keyB}},
      {"LF alone between CR LF", b + aLf + c, {keyB, keyA, keyC}},
      {"no line end at the end", a + b.substr(0, 61), {keyA, keyB}},
      {"a cut tail", a + b + c.substr(0, 30), {keyA, keyB}},
      {"a cut tail of 61 with a bad end", a + b.substr(0, 61) + "xx", {keyA}},
      // A write that failed half way, then a whole record after it.
      {"a piece glued to a record", a + b.substr(0, 30) + c, {keyA, keyC}},
      {"a piece on a line of its own", a + b.substr(0, 30) + "\r\n" + c, {keyA, keyC}},
      {"a line of rubbish", a + "rubbish\r\n" + c, {keyA, keyC}},
      {"a record without digits", a + "x" + b.substr(1) + c, {keyA, keyC}},
      {"a line end inside a record", a + b.substr(0, 20) + "\n" + b.substr(21) + c, {keyA, keyC}},
  };
  for (const Case& t : cases) {
    std::vector<std::string> keys;
    for (const HistoryMatch& m : ParseHistory(t.bytes)) {
      keys.push_back(m.Text.substr(0, 12));
      EXPECT_EQ(m.Text.size(), static_cast<std::size_t>(kHistoryFieldsSize)) << t.what;
    }
    EXPECT_EQ(keys, t.keys) << t.what;
  }
}

TEST(ParseHistory, NamesAreTrimmedAndPointsReadLeniently) {
  const std::string r =
      Record("202601010900", {"      Ana", "  Bea", "Carlos", ""}, {5, 3, 0, 0}, true)
          .substr(0, 48) +
      "5  12x 7 -3 P\r\n";
  const std::vector<HistoryMatch> m = ParseHistory(r);
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].Names, (std::array<std::string, 4>{"Ana", "Bea", "Carlos", ""}));
  EXPECT_EQ(m[0].Points, (std::array<int, 4>{5, 12, 7, 0}));
}

TEST(NewestFirst, OrdersByTheRecordsTextWhateverTheFileOrder) {
  const std::string early = Record("202512312359", {"A", "B", "C", "D"}, {1, 0, 0, 0}, true);
  const std::string late = Record("202601010000", {"A", "B", "C", "D"}, {2, 0, 0, 0}, true);
  const std::string same = Record("202601010000", {"A", "B", "C", "D"}, {3, 0, 0, 0}, true);
  const std::vector<HistoryMatch> m = NewestFirst(ParseHistory(early + same + late));
  ASSERT_EQ(m.size(), 3u);
  EXPECT_EQ(m[0].Points[0], 3);
  EXPECT_EQ(m[1].Points[0], 2);
  EXPECT_EQ(m[2].Points[0], 1);
}

}  // namespace
}  // namespace tarvelis
