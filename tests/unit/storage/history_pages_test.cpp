#include "storage/history_pages.h"

#include <gtest/gtest.h>

#include "history_records.h"

namespace tarvelis {
namespace {

using testing::Matches;
using testing::Record;

std::vector<PageLine> At(const std::vector<PageLine>& lines, int y) {
  std::vector<PageLine> out;
  for (const PageLine& l : lines) {
    if (l.Y == y) out.push_back(l);
  }
  return out;
}

// The texts of the line at `y`, joined by "|".
std::string Texts(const std::vector<PageLine>& lines, int y) {
  std::string out;
  for (const PageLine& l : At(lines, y)) out += (out.empty() ? "" : "|") + l.Text;
  return out;
}

TEST(MatchesPage, TwoLinesPerMatchInTheirColumns) {
  const auto matches = NewestFirst(Matches({
      Record("202612060905", {"Ana", "Bea", "Carlos", "Dani"}, {5, 3, 0, 0}, true),
      Record("202612071830", {"Eva", "Fran", "Gil", "Hugo"}, {12, 10, 8, 0}, false),
  }));
  const std::vector<PageLine> lines = MatchesPage(matches, 0);
  const int y = kMatchRowsTop, h = kFolderLineHeight, y2 = kMatchRowsTop + kMatchRowsStep;
  EXPECT_EQ(Texts(lines, 6), "Fecha / Hora|Ganadores / Perdedores|Puntos");
  EXPECT_EQ(
      At(lines, y + h),
      (std::vector<PageLine>{{35, y + h, TextAlign::Left, LineStyle::Entry, "18:30"},
                             {90, y + h, TextAlign::Left, LineStyle::Entry, "Fran, Gil y Hugo"},
                             {325, y + h, TextAlign::Centre, LineStyle::Entry, "10-8-0"}}));
  EXPECT_EQ(Texts(lines, y), "07-12-2026|Eva|12") << "the newest, individual, first";
  EXPECT_EQ(Texts(lines, y2), "06-12-2026|Ana y Bea|5");
  EXPECT_EQ(Texts(lines, y2 + h), "09:05|Carlos y Dani|3");
  EXPECT_EQ(At(lines, y2)[0].X, 22);
}

TEST(ListaTotales, TitleHeaderAndEntriesOfTheSection) {
  const auto totals = ComputeTotals(Matches({
      Record("202601010900", {"Ana", "Bea", "Carlos", "Dani"}, {5, 3, 0, 0}, true),
  }));
  ASSERT_EQ(totals.size(), 32u);
  const std::pair<int, const char*> pages[] = {
      {0, "Partidas ganadas por jugador|Jugador|Partidas|Bea|1|Ana|1"},
      {8, "Puntos obtenidos por jugador|Jugador|Puntos|Bea|5|Ana|5|Dani|3|Carlos|3"},
      {16, "Partidas ganadas por pareja|Pareja|Partidas|Ana y Bea|1"},
      {24, "Puntos obtenidos por pareja|Pareja|Puntos|Ana y Bea|5|Carlos y Dani|3"},
  };
  for (const auto& [first, texts] : pages) {
    const auto lines = ListaTotales(totals, first);
    std::string all;
    for (const PageLine& l : lines) all += (all.empty() ? "" : "|") + l.Text;
    EXPECT_EQ(all, texts);
    EXPECT_EQ(lines[0].Align, TextAlign::Centre);
  }
  EXPECT_TRUE(ListaTotales(totals, 32).empty());
  EXPECT_TRUE(ListaTotales({}, 0).empty());
}

}  // namespace
}  // namespace tarvelis
