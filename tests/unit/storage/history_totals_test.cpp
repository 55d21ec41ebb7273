#include "storage/history_totals.h"

#include <gtest/gtest.h>

#include "history_records.h"

namespace tarvelis {
namespace {

using testing::Matches;
using testing::Record;

// "section total name[ y partner]" for every entry that is not blank.
std::vector<std::string> Lines(const std::vector<TotalEntry>& totals, int section) {
  std::vector<std::string> out;
  for (const TotalEntry& e : totals) {
    if (e.Section != section) continue;
    // Appended piece by piece: GCC 12 at -O3 warns falsely about a literal
    // added in front of a string.
    std::string line = std::to_string(e.Total);
    line += ' ';
    line += e.Name;
    if (!e.Partner.empty()) line.append(" y ").append(e.Partner);
    out.push_back(line);
  }
  return out;
}

TEST(HistoryTotals, PairsCountForNamesAndPairsInEitherOrderAndAlignment) {
  const auto totals = ComputeTotals(Matches({
      Record("202601010900", {"Ana", "Bea", "Carlos", "Dani"}, {5, 3, 0, 0}, true),
      // The same pair written the other way round and right-aligned: names
      // are trimmed on the way in.
      Record("202601020900", {"      Bea", "   Ana", "Eva", "Fran"}, {6, 2, 0, 0}, true),
      Record("202601030900", {"Carlos", "Dani", "Bea", "Ana"}, {7, 4, 0, 0}, true),
  }));
  EXPECT_EQ(Lines(totals, 1), (std::vector<std::string>{"2 Bea", "2 Ana", "1 Dani", "1 Carlos"}));
  EXPECT_EQ(Lines(totals, 2), (std::vector<std::string>{"15 Bea", "15 Ana", "10 Dani", "10 Carlos",
                                                        "2 Fran", "2 Eva"}));
  // The pair shows its names as the latest record wrote them.
  EXPECT_EQ(Lines(totals, 3), (std::vector<std::string>{"2 Bea y Ana", "1 Carlos y Dani"}));
  EXPECT_EQ(Lines(totals, 4),
            (std::vector<std::string>{"15 Bea y Ana", "10 Carlos y Dani", "2 Eva y Fran"}));
}

TEST(HistoryTotals, AnIndividualMatchAddsOnlyToTheNames) {
  const auto totals = ComputeTotals(Matches({
      Record("202601010900", {"Ana", "Bea", "Carlos", "Dani"}, {9, 7, 4, 1}, false),
      Record("202601020900", {"Bea", "Ana", "Carlos", "Dani"}, {8, 8, 0, 0}, false),
  }));
  EXPECT_EQ(Lines(totals, 1), (std::vector<std::string>{"1 Bea", "1 Ana"}));
  EXPECT_EQ(Lines(totals, 2), (std::vector<std::string>{"17 Ana", "15 Bea", "4 Carlos", "1 Dani"}));
  EXPECT_TRUE(Lines(totals, 3).empty());
  EXPECT_TRUE(Lines(totals, 4).empty());
  EXPECT_EQ(totals.size(), 16u) << "two sections of one page each";
}

}  // namespace
}  // namespace tarvelis
