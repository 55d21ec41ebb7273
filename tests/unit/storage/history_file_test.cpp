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
  s.SeatName[1] = "  Ana";  // spaces around a name waste no place
  const std::string r = HistoryRecord(s, DateTime{2026, 12, 6, 9, 5});
  ASSERT_EQ(r.size(), 63u);
  // Names in nine bytes, one byte for an accented letter, cut at nine.
  EXPECT_EQ(r.substr(0, 54), "202612060905Ana      C\xE1ndida  Bernardo Dolores I  5  3");
  EXPECT_EQ(r.substr(60, 3), "P\r\n");
}

TEST(HistoryRecord, IndividualListsTheOthersByPoints) {
  GameState s = Finished(kModeIndividual);
  s.HandWinner = 3;
  s.SeatTotal = {0, 2, 4, 12, 4};
  const std::string r = HistoryRecord(s, DateTime{2026, 1, 2, 23, 59});
  ASSERT_EQ(r.size(), 63u);
  // At 4 points each, the lower seat of the tie first.
  EXPECT_EQ(r.substr(12), "C\xE1ndida  Bernardo Dolores IAna       12  4  4  2I\r\n");
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
      {"CR LF", a + b + c, {keyA, keyB, keyC}},
      {"LF alone between CR LF", b + aLf + c, {keyB, keyA, keyC}},
      {"CR alone between CR LF", b + a.substr(0, 61) + "\r" + c, {keyB, keyA, keyC}},
      {"CR alone after a piece", a + b.substr(0, 30) + "\r" + c, {keyA, keyC}},
      {"no line end at the end", a + b.substr(0, 61), {keyA, keyB}},
      {"a cut tail", a + b + c.substr(0, 30), {keyA, keyB}},
      // A write that failed half way, then a whole record after it.
      {"a piece glued to a record", a + b.substr(0, 30) + c, {keyA, keyC}},
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

TEST(NewestFirst, SameMinuteKeepsTheOrderOfRecording) {
  // File order: an older pair in one minute, then two in a later minute; the
  // names would sort them the other way round.
  const auto order = NewestFirst(testing::Matches({
      Record("202612060905", {"Zoe", "Bea", "C", "D"}, {5, 3, 0, 0}, true),
      Record("202612060905", {"Ana", "Bea", "C", "D"}, {5, 3, 0, 0}, true),
      Record("202612061000", {"Yago", "Bea", "C", "D"}, {5, 3, 0, 0}, true),
      Record("202612061000", {"Abel", "Bea", "C", "D"}, {5, 3, 0, 0}, true),
  }));
  std::string firsts;
  for (const HistoryMatch& m : order) firsts += m.Names[0] + " ";
  EXPECT_EQ(firsts, "Abel Yago Ana Zoe ");
}

TEST(NetworkHistory, NetworkedMatchesHaveTheirOwnFileAndTheOldOneStaysAsItWas) {
  testing::TempFolder folder;
  // An old history, with a damaged record, is read as it was before.
  const std::string old =
      std::string("202601020304Ana      Bea      Cris     Dani       5  3  0  0P\r\n") +
      "2026xx\r\n";
  testing::WriteBytes(folder.path() / kHistoryFileName, old);
  const std::vector<HistoryMatch> before = ReadHistory(folder.path());
  GameState s = Finished(kModePairs);
  s.HandWinner = 1;
  s.PairTotal = {0, 7, 2};
  ASSERT_TRUE(AppendNetworkHistory(s, folder.path(), DateTime{2026, 12, 7, 6, 30}));
  EXPECT_EQ(testing::ReadBytes(folder.path() / kHistoryFileName), old);
  EXPECT_EQ(testing::ReadBytes(folder.path() / kNetworkHistoryFileName),
            HistoryRecord(s, DateTime{2026, 12, 7, 6, 30}));
  const std::vector<HistoryMatch> all = ReadAllHistory(folder.path());
  ASSERT_EQ(all.size(), before.size() + 1);
  for (std::size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(all[i].Text, before[i].Text);
    EXPECT_FALSE(all[i].Networked);
  }
  EXPECT_TRUE(all.back().Networked);
  EXPECT_EQ(all.back().Names[0], "Bernardo");
  EXPECT_EQ(NewestFirst(all).front().Text, all.back().Text);
}

}  // namespace
}  // namespace tarvelis
